// Reading an article's render input from the law tables, and opening one law volume's folder.
#include "display/ArticleSource.h"

#include <cctype>

#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"

namespace display {

ArticleRenderInput ReadArticleRenderInput(store::DataSet& subTableOnArticle, store::Table& linkTable, int gyo)
{
    ArticleRenderInput input;
    if (subTableOnArticle.Active() && !subTableOnArticle.IsEmpty()) {
        input.honbun = subTableOnArticle.TextField("Honbun");
        input.kubunNo = static_cast<int>(subTableOnArticle.IntegerField("KubunNo"));
    }
    input.links = linkRowsOfArticle(linkTable, gyo);
    return input;
}

std::vector<ArticleLinkRow> linkRowsOfArticle(store::DataSet& linkTable, long long gyo)
{
    std::vector<ArticleLinkRow> rows;
    if (!linkTable.Active() || !linkTable.Locate("Gyo", {store::Value(static_cast<std::int64_t>(gyo))}))
        return rows;
    while (!linkTable.Eof() && linkTable.IntegerField("Gyo") == gyo) {
        rows.push_back({static_cast<int>(linkTable.IntegerField("Sel")), static_cast<int>(linkTable.IntegerField("GoGyo")),
                        static_cast<int>(linkTable.IntegerField("Zeimoku"))});
        linkTable.Next();
    }
    return rows;
}

int LawVolumeOfLetter(char letter)
{
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (int v = 0; v < store::kLawVolumeCount; ++v)
        if (store::kLawLetters[static_cast<std::size_t>(v)] == upper)
            return v;
    return -1;
}

LawVolumeFolder::LawVolumeFolder(const std::filesystem::path& folder, int lawVolume)
    : m_houjin(std::make_unique<store::THoujin>()), m_volume(lawVolume)
{
    if (lawVolume < 0 || lawVolume >= store::kLawVolumeCount)
        throw store::TableError("法令の巻 " + std::to_string(lawVolume) + " はありません");
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        throw store::TableError("フォルダ " + folder.string() + " がありません");
    std::filesystem::current_path(folder);

    m_files.LawVolumeAbsent.fill(1);
    m_files.BookVolumeAbsent.fill(1);
    m_files.LawVolumeAbsent[static_cast<std::size_t>(lawVolume)] = 0;
    m_files.assignFileNames();

    // The module reports an open failure instead of throwing, so that start-up goes on; here the
    // volume is all there is, so the first failure ends the opening.
    std::string failure;
    m_houjin->onOpenError = [&failure](const std::string& message) { failure = message; };
    m_houjin->HoujinCreate(m_registry, m_files);
    m_houjin->onOpenError = nullptr;
    if (!failure.empty())
        throw store::TableError(failure);
    store::pointLawQueryLookups(searchQuery(), &mainTable());
}

LawVolumeFolder::~LawVolumeFolder() = default;

const std::string& LawVolumeFolder::fileName(int role) const
{
    return m_files.LawFileNames.at(static_cast<std::size_t>(role))[static_cast<std::size_t>(m_volume)];
}

store::Table& LawVolumeFolder::mainTable() const
{
    return *m_registry.law[static_cast<std::size_t>(m_volume)].mainTable;
}

store::Table& LawVolumeFolder::subTable() const
{
    return *m_registry.law[static_cast<std::size_t>(m_volume)].subTable;
}

store::Table& LawVolumeFolder::linkTable() const
{
    return *m_registry.law[static_cast<std::size_t>(m_volume)].linkTable;
}

store::DataSource& LawVolumeFolder::mainSource() const
{
    return *m_registry.law[static_cast<std::size_t>(m_volume)].mainSource;
}

store::Query& LawVolumeFolder::searchQuery() const
{
    return *m_registry.lawQueryPool[0];
}

bool LawVolumeFolder::showArticle(int gyo)
{
    return mainTable().Locate("Gyo", {store::Value(gyo)});
}

}  // namespace display
