// The physical layout of the browsing files. X4 holds one row per byte of link text, in
// ascending Sel within an article, which is the order the renderer reads them in.
#include "store/VolumeWriter.h"

#include <algorithm>
#include <fstream>
#include <map>

#include "store/FileReplacement.h"
#include "store/IndexCharacters.h"
#include "store/TableFile.h"
#include "text/Cp932.h"

namespace store {

namespace {

std::filesystem::path fileOf(const std::filesystem::path& dir, char letter, const char* suffix)
{
    return dir / (std::string(1, letter) + suffix);
}

std::string stemOf(char letter, char digit)
{
    return std::string(1, letter) + digit;
}

// A volume's files written under temporary names, one for each file however often it is asked.
struct StagedVolume {
    StagedVolume(const std::filesystem::path& dir, char letter) : dir(dir), letter(letter) {}
    std::filesystem::path operator()(const char* suffix)
    {
        auto [it, added] = temporaries.try_emplace(suffix);
        if (added)
            it->second = files.stage(fileOf(dir, letter, suffix));
        return it->second;
    }
    std::filesystem::path dir;
    char letter;
    FileReplacement files;
    std::map<std::string, std::filesystem::path> temporaries;
};

// The indexes the program's orders and look-ups read through (list order, master-detail,
// Locate, the look-up fields of answer sets, the reference search). A volume written without
// them still opens and reads, by scanning.
void indexBrowsingFiles(StagedVolume& staged, bool law)
{
    using Columns = std::vector<std::vector<std::string>>;
    const std::vector<std::pair<const char*, Columns>> files =
        law ? std::vector<std::pair<const char*, Columns>>{{"1.db", {{"Gyo"}, {"Bangou"}}},
                                                            {"2.db", {{"Gyo"}}},
                                                            {"3.db", {{"MainGyo"}}},
                                                            {"4.db", {{"Gyo"}, {"Gyo", "Sel"}}},
                                                            {"5.db", {{"Gyo"}, {"TreeID"}}}}
            : std::vector<std::pair<const char*, Columns>>{{"1.db", {{"BookSeq"}, {"BookPage"}}},
                                                            {"3.db", {{"BookNo", "BookRenban"}}},
                                                            {"4.db", {{"BookSeq"}}},
                                                            {"5.db", {{"BookSeq"}}}};
    for (const auto& [suffix, indexes] : files)
        TableFile::createIndexes(staged(suffix), indexes);
}

}  // namespace

std::string outlineFileText(const std::vector<OutlineNode>& outline)
{
    std::string out;
    for (const auto& node : outline) {
        out.append(static_cast<std::size_t>(std::max(0, node.depth)), '\t');
        out += node.caption;
        out += "\r\n";
    }
    return out;
}

void writeLawVolume(const std::filesystem::path& dir, const LawVolumeContent& content)
{
    writeLawVolume(dir, content, TableFile::newDeliveryStamp());
}

void writeLawVolume(const std::filesystem::path& dir, const LawVolumeContent& content, std::uint32_t stamp)
{
    std::filesystem::create_directories(dir);
    const char L = content.letter;
    StagedVolume staged(dir, L);
    using F = FieldType;

    std::vector<Row> index;
    for (const auto& a : content.articles)
        index.push_back({a.gyo, a.kubunNo, a.kubun, a.bangou, a.title});
    TableFile::create(staged("1.db"), stemOf(L, '1'),
                      {{"Gyo", F::Integer}, {"KubunNo", F::Integer}, {"Kubun", F::Text}, {"Bangou", F::Text}, {"Title", F::Text}},
                      index);

    std::vector<FieldDef> textFields{{"Gyo", F::Integer}, {"KubunNo", F::Integer}, {"Honbun", F::Memo}};
    const bool withFlags = L == 'A';
    if (withFlags)
        for (int n = 0; n < kIndexCharacterCount; ++n)
            textFields.push_back({indexFlagFieldName(n), F::Integer});
    std::vector<Row> texts;
    for (const auto& a : content.articles) {
        Row row{a.gyo, a.kubunNo, a.honbun};
        if (withFlags)
            for (const auto& c : IndexCharacters())
                row.emplace_back(text::contains(a.honbun, c) ? 1 : 0);
        texts.push_back(std::move(row));
    }
    TableFile::create(staged("2.db"), stemOf(L, '2'), textFields, texts);

    std::vector<Row> refs;
    for (const auto& r : content.references)
        refs.push_back({r.gyo, r.kubunNo, r.mainGyo});
    TableFile::create(staged("3.db"), stemOf(L, '3'),
                      {{"Gyo", F::Integer}, {"KubunNo", F::Integer}, {"MainGyo", F::Integer}}, refs);

    std::vector<LawLinkRecord> links = content.links;
    std::stable_sort(links.begin(), links.end(), [](const LawLinkRecord& a, const LawLinkRecord& b) {
        return a.gyo != b.gyo ? a.gyo < b.gyo : a.sel < b.sel;
    });
    std::vector<Row> linkRows;
    for (const auto& l : links)
        for (int k = 0; k < l.length; ++k)
            linkRows.push_back({l.gyo, l.sel + k, l.goGyo, l.zeimoku});
    TableFile::create(staged("4.db"), stemOf(L, '4'),
                      {{"Gyo", F::Integer}, {"Sel", F::Integer}, {"GoGyo", F::Integer}, {"Zeimoku", F::Integer}}, linkRows);

    std::vector<Row> tree;
    for (const auto& t : content.treePositions)
        tree.push_back({t.gyo, t.treeId});
    TableFile::create(staged("5.db"), stemOf(L, '5'), {{"Gyo", F::Integer}, {"TreeID", F::Integer}}, tree);

    indexBrowsingFiles(staged, true);

    {
        std::ofstream outline(staged.files.stage(fileOf(dir, L, "6.dl_"), false), std::ios::binary | std::ios::trunc);
        outline << outlineFileText(content.outline);
        outline.close();
        if (!outline)
            throw TableError("アウトライン " + std::string(1, L) + "6.dl_ が書けません");
    }
    staged.files.commit(stamp);
}

void writeBookVolume(const std::filesystem::path& dir, const BookVolumeContent& content)
{
    std::filesystem::create_directories(dir);
    const char L = content.letter;
    StagedVolume staged(dir, L);
    using F = FieldType;

    std::vector<Row> entries;
    for (const auto& e : content.entries)
        entries.push_back({e.bookSeq, e.bookNo, e.bookRenban, e.bookNameShort, e.gou, e.bookPage, e.mokuji});
    TableFile::create(staged("1.db"), stemOf(L, '1'),
                      {{"BookSeq", F::Integer}, {"BookNo", F::Integer}, {"BookRenban", F::Integer},
                       {"BookNameShort", F::Text}, {"Gou", F::Text}, {"BookPage", F::Float}, {"Mokuji", F::Text}},
                      entries);

    std::vector<Row> books;
    for (const auto& b : content.books)
        books.push_back({b.bookNo, b.bookRenban, b.bookNameLong, b.bookHan, b.bookSyupan});
    TableFile::create(staged("3.db"), stemOf(L, '3'),
                      {{"BookNo", F::Integer}, {"BookRenban", F::Integer}, {"BookNameLong", F::Text},
                       {"BookHan", F::Text}, {"BookSyupan", F::Text}},
                      books);

    std::vector<Row> jumps;
    for (const auto& j : content.jumps)
        jumps.push_back({j.bookSeq, j.gyo, j.zeimoku});
    TableFile::create(staged("4.db"), stemOf(L, '4'),
                      {{"BookSeq", F::Integer}, {"Gyo", F::Integer}, {"Zeimoku", F::Integer}}, jumps);

    std::vector<Row> urls;
    for (const auto& u : content.urls)
        urls.push_back({u.bookSeq, u.url});
    TableFile::create(staged("5.db"), stemOf(L, '5'), {{"BookSeq", F::Integer}, {"Url", F::Text}}, urls);
    indexBrowsingFiles(staged, false);
    staged.files.commit(TableFile::newDeliveryStamp());
}

}  // namespace store
