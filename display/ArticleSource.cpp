// Reading an article's render input from the law tables, and opening one law volume's folder.
#include "display/ArticleSource.h"

#include <cctype>

#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"
#include "store/TableError.h"

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
    if (!linkTable.Active())
        return rows;
    const auto field = [&](const char* name) {
        const int index = linkTable.FieldIndex(name);
        if (index < 0)
            throw store::TableError("項目 " + std::string(name) + " が " + linkTable.name() + " にありません");
        return static_cast<std::size_t>(index);
    };
    const std::size_t sel = field("Sel"), goGyo = field("GoGyo"), zeimoku = field("Zeimoku");
    for (const store::Row& r : linkTable.RowsWith("Gyo", {store::Value(static_cast<std::int64_t>(gyo))}))
        rows.push_back({static_cast<int>(r[sel].asInteger()), static_cast<int>(r[goGyo].asInteger()),
                        static_cast<int>(r[zeimoku].asInteger())});
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
