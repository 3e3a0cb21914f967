// The authoring tables on disk, through the table engine's files.
#include "tools/importer/AuthoringCopy.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <stdexcept>

#include "store/FileReplacement.h"
#include "store/TableError.h"
#include "store/TableFile.h"

namespace importer {

namespace fs = std::filesystem;
using store::FieldDef;
using store::FieldType;
using store::Row;
using store::Value;

namespace {

const char* kVolumeDirectories[] = {"YpHoujin", "YpSyohi", "YpGen", "YpToku", "YpZoku", "YpMin"};

const char* volumeDirectory(int volume)
{
    if (volume < 0 || volume > 5)
        throw std::invalid_argument("法令の巻の番号が違います: " + std::to_string(volume));
    return kVolumeDirectories[volume];
}

fs::path u8path(const char* s)
{
    return fs::path(reinterpret_cast<const char8_t*>(s));
}

const std::vector<FieldDef>& articleFields()
{
    static const std::vector<FieldDef> fields{
        {"ＫＥＹ", FieldType::Integer}, {"条文連番", FieldType::Integer}, {"行", FieldType::Float},
        {"条文区分", FieldType::Text},  {"条文本文", FieldType::Text},    {"項号等", FieldType::Text},
        {"表題", FieldType::Text},      {"条文内容", FieldType::Memo},    {"改正", FieldType::Integer},
        {"番号のみ", FieldType::Integer}, {"check", FieldType::Float},    {"check2", FieldType::Text}};
    return fields;
}

const std::vector<FieldDef>& linkFields()
{
    static const std::vector<FieldDef> fields{
        {"ＫＥＹ", FieldType::Integer},      {"リンク条文番号", FieldType::Integer}, {"条件", FieldType::Text},
        {"行", FieldType::Float},            {"条文区分", FieldType::Text},         {"条文本文", FieldType::Text},
        {"リンク条文区分", FieldType::Text}, {"リンク条文本文", FieldType::Text},   {"GoGyo", FieldType::Float},
        {"Zeimoku", FieldType::Float},       {"check", FieldType::Float},           {"check2", FieldType::Text}};
    return fields;
}

const std::vector<FieldDef>& masterFields()
{
    static const std::vector<FieldDef> fields{
        {"連番", FieldType::Integer}, {"条文区分", FieldType::Text}, {"正式名", FieldType::Text}};
    return fields;
}

const std::vector<FieldDef>& outlineFields()
{
    static const std::vector<FieldDef> fields{
        {"順", FieldType::Integer}, {"深さ", FieldType::Integer}, {"見出し", FieldType::Text}, {"ＫＥＹ", FieldType::Integer}};
    return fields;
}

Row articleRow(const AuthoringArticle& a)
{
    return {a.key,     a.code,       a.row,       a.kubun,      a.number,
            a.kougou,  a.caption,    a.content,   a.amendment,  a.numberOnly,
            Value(),   a.fingerprint.empty() ? Value() : Value(a.fingerprint)};
}

// Field positions of a table as read, by name, so that a file with its fields in another order
// (or with more fields) still reads.
class FieldIndex {
public:
    FieldIndex(const store::TableContents& c, const fs::path& file) : m_file(file)
    {
        for (std::size_t i = 0; i < c.fields.size(); ++i)
            m_index[c.fields[i].name] = i;
    }
    std::size_t operator()(const std::string& name) const
    {
        auto it = m_index.find(name);
        if (it == m_index.end())
            throw store::TableError("テーブル " + m_file.filename().string() + " に項目 " + name + " がありません");
        return it->second;
    }
    std::optional<std::size_t> optional(const std::string& name) const
    {
        auto it = m_index.find(name);
        if (it == m_index.end())
            return std::nullopt;
        return it->second;
    }

private:
    fs::path m_file;
    std::map<std::string, std::size_t> m_index;
};

store::TableContents readTable(const fs::path& file, std::size_t* replaced = nullptr, std::uint32_t* stamp = nullptr)
{
    auto table = store::TableFile::open(file, true);
    store::TableContents c = table->readAll();
    if (replaced)
        *replaced += c.replacedCharacters;
    if (stamp)
        *stamp = table->deliveryStamp();
    return c;
}

// The volume's own tables are written together by one import and carry its stamp; tables of
// two imports side by side (an import killed between its renames, a file copied in by hand)
// are refused rather than delivered as a mix. The master is shared by all volumes and the CD
// table is rewritten by every delivery, so neither takes part.
void checkSameImport(const std::vector<std::pair<fs::path, std::uint32_t>>& stamps)
{
    const std::pair<fs::path, std::uint32_t>* first = nullptr;
    for (const auto& s : stamps) {
        if (s.second == 0)
            continue;
        if (!first)
            first = &s;
        else if (first->second != s.second)
            throw store::TableError("作業用データの " + first->first.filename().string() + " と " +
                                    s.first.filename().string() +
                                    " が別々の取り込みで書かれています。取り込みをやり直してください");
    }
}

std::optional<int> optionalInteger(const Value& v)
{
    if (v.isNull())
        return std::nullopt;
    if (v.isText() && v.asText().empty())
        return std::nullopt;
    return static_cast<int>(v.asInteger());
}

// The CD table staged into a replacement (the import's or the delivery's).
void stageCdTable(store::FileReplacement& files, const fs::path& root, int volume,
                  const std::vector<AuthoringArticle>& delivered)
{
    std::vector<Row> rows;
    rows.reserve(delivered.size());
    for (const auto& a : delivered)
        rows.push_back(articleRow(a));
    store::TableFile::create(files.stage(cdDirectory(root, volume) / u8path(kArticleTableFile)), "条文本文", articleFields(),
                             rows);
}

}  // namespace

fs::path jyobunDirectory(const fs::path& root, int volume)
{
    return root / volumeDirectory(volume) / "Jyobun" / "Data";
}

fs::path cdDirectory(const fs::path& root, int volume)
{
    return root / volumeDirectory(volume) / "Cd12" / "Data";
}

fs::path masterDirectory(const fs::path& root)
{
    return root / "YpSyohi" / "Main" / "Data";
}

fs::path carryReportPath(const fs::path& root, int volume)
{
    return jyobunDirectory(root, volume) / u8path(kCarryReportFile);
}

bool hasAuthoringCopy(const fs::path& root, int volume)
{
    const fs::path jyobun = jyobunDirectory(root, volume);
    std::error_code ec;
    return fs::exists(jyobun / u8path(kArticleTableFile), ec) || fs::exists(jyobun / u8path(kLinkTableFile), ec);
}

void writeAuthoringVolume(const fs::path& root, int volume, const AuthoringVolume& content, const std::string& carryReport)
{
    fs::path jyobun = jyobunDirectory(root, volume);
    fs::create_directories(jyobun);
    fs::create_directories(masterDirectory(root));
    // Every table is written beside the one it replaces and renamed in when all are on disk:
    // a killed import leaves the previous copy, with the editors' links, as it was.
    store::FileReplacement files;

    std::vector<Row> articles;
    articles.reserve(content.articles.size());
    for (const auto& a : content.articles)
        articles.push_back(articleRow(a));
    store::TableFile::create(files.stage(jyobun / u8path(kArticleTableFile)), "条文本文", articleFields(), articles);

    std::vector<Row> links;
    links.reserve(content.links.size());
    for (const auto& l : content.links)
        links.push_back({l.key, l.targetCode, l.condition, l.row, l.kubun, l.number, l.targetKubun, l.targetNumber,
                         Value(), l.zeimoku ? Value(static_cast<double>(*l.zeimoku)) : Value(),
                         l.occurrence ? Value(static_cast<double>(*l.occurrence)) : Value(), Value()});
    store::TableFile::create(files.stage(jyobun / u8path(kLinkTableFile)), "リンク条文", linkFields(), links);

    std::vector<Row> outline;
    int order = 0;
    for (const auto& o : content.outline)
        outline.push_back({++order, o.depth, o.caption, o.key});
    store::TableFile::create(files.stage(jyobun / u8path(kOutlineTableFile)), "目次", outlineFields(), outline);

    // The master is shared: other volumes' codes stay, this volume's codes are replaced.
    fs::path masterFile = masterDirectory(root) / u8path(kMasterTableFile);
    std::map<int, MasterEntry> master;
    if (fs::exists(masterFile)) {
        auto c = readTable(masterFile);
        FieldIndex f(c, masterFile);
        for (const auto& r : c.rows) {
            MasterEntry e{static_cast<int>(r[f("連番")].asInteger()), r[f("条文区分")].asText(), r[f("正式名")].asText()};
            master[e.code] = e;
        }
    }
    for (const auto& e : content.master)
        master[e.code] = e;
    std::vector<Row> masterRows;
    for (const auto& [code, e] : master)
        masterRows.push_back({e.code, e.kubun, e.officialName});
    store::TableFile::create(files.stage(masterFile), "マスタ条文", masterFields(), masterRows);

    stageCdTable(files, root, volume, content.articles);
    const fs::path reportFile = carryReportPath(root, volume);
    if (!carryReport.empty()) {
        std::ofstream report(files.stage(reportFile, false), std::ios::binary | std::ios::trunc);
        report << carryReport;
        report.close();
        if (!report)
            throw store::TableError("報告 " + reportFile.string() + " が書けません");
    }
    files.commit(store::TableFile::newDeliveryStamp());
    if (carryReport.empty()) {
        std::error_code ignored;
        fs::remove(reportFile, ignored);
    }
}

void writeCdTable(const fs::path& root, int volume, const std::vector<AuthoringArticle>& delivered, std::uint32_t stamp)
{
    store::FileReplacement files;
    stageCdTable(files, root, volume, delivered);
    files.commit(stamp);
}

AuthoringVolume readAuthoringVolume(const fs::path& root, int volume, bool sameImport)
{
    AuthoringVolume v;
    fs::path jyobun = jyobunDirectory(root, volume);
    // An import killed among its renames is finished first: its tables are all on disk.
    store::FileReplacement::finishInterrupted(jyobun);
    std::vector<std::pair<fs::path, std::uint32_t>> stamps;
    stamps.reserve(3);

    fs::path articleFile = jyobun / u8path(kArticleTableFile);
    {
        auto c = readTable(articleFile, &v.replacedCharacters, &stamps.emplace_back(articleFile, 0).second);
        FieldIndex f(c, articleFile);
        const std::size_t key = f("ＫＥＹ"), code = f("条文連番"), row = f("行"), kubun = f("条文区分"),
                          number = f("条文本文"), caption = f("表題"), content = f("条文内容");
        auto kougou = f.optional("項号等"), amendment = f.optional("改正"), numberOnly = f.optional("番号のみ"),
             fingerprint = f.optional("check2");
        for (const auto& r : c.rows) {
            AuthoringArticle a;
            a.key = static_cast<int>(r[key].asInteger());
            a.code = static_cast<int>(r[code].asInteger());
            a.row = r[row].asFloat();
            a.kubun = r[kubun].asText();
            a.number = r[number].asText();
            a.caption = r[caption].asText();
            a.content = r[content].asText();
            if (kougou)
                a.kougou = r[*kougou].asText();
            if (amendment)
                a.amendment = static_cast<int>(r[*amendment].asInteger());
            if (numberOnly)
                a.numberOnly = static_cast<int>(r[*numberOnly].asInteger());
            if (fingerprint && r[*fingerprint].isText())
                a.fingerprint = r[*fingerprint].asText();
            v.articles.push_back(std::move(a));
        }
        std::stable_sort(v.articles.begin(), v.articles.end(),
                         [](const AuthoringArticle& a, const AuthoringArticle& b) { return a.row < b.row; });
    }

    fs::path linkFile = jyobun / u8path(kLinkTableFile);
    {
        auto c = readTable(linkFile, &v.replacedCharacters, &stamps.emplace_back(linkFile, 0).second);
        FieldIndex f(c, linkFile);
        const std::size_t key = f("ＫＥＹ"), code = f("リンク条文番号"), condition = f("条件"),
                          targetNumber = f("リンク条文本文");
        auto zeimoku = f.optional("Zeimoku"), check = f.optional("check");
        for (const auto& r : c.rows) {
            AuthoringLink l;
            l.key = static_cast<int>(r[key].asInteger());
            l.targetCode = static_cast<int>(r[code].asInteger());
            l.condition = r[condition].asText();
            l.targetNumber = r[targetNumber].asText();
            if (zeimoku)
                l.zeimoku = optionalInteger(r[*zeimoku]);
            if (check)
                l.occurrence = optionalInteger(r[*check]);
            v.links.push_back(std::move(l));
        }
    }

    fs::path masterFile = masterDirectory(root) / u8path(kMasterTableFile);
    {
        auto c = readTable(masterFile, &v.replacedCharacters);
        FieldIndex f(c, masterFile);
        for (const auto& r : c.rows)
            v.master.push_back({static_cast<int>(r[f("連番")].asInteger()), r[f("条文区分")].asText(), r[f("正式名")].asText()});
    }

    fs::path outlineFile = jyobun / u8path(kOutlineTableFile);
    if (fs::exists(outlineFile)) {
        auto c = readTable(outlineFile, &v.replacedCharacters, &stamps.emplace_back(outlineFile, 0).second);
        FieldIndex f(c, outlineFile);
        std::vector<std::pair<long long, OutlineEntry>> nodes;
        for (const auto& r : c.rows)
            nodes.push_back({r[f("順")].asInteger(),
                             {static_cast<int>(r[f("深さ")].asInteger()), r[f("見出し")].asText(),
                              static_cast<int>(r[f("ＫＥＹ")].asInteger())}});
        std::stable_sort(nodes.begin(), nodes.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& n : nodes)
            v.outline.push_back(std::move(n.second));
    }
    if (sameImport)
        checkSameImport(stamps);
    return v;
}

}  // namespace importer
