// A re-import keeps what editors did in the authoring copy: the links they registered and the
// article texts they edited go into the new copy on the same article; what cannot be placed is
// reported beside the copy and in the summary.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

#include "TestVolume.h"
#include "store/TableFile.h"
#include "tools/importer/AuthoringCopy.h"

namespace {

namespace fs = std::filesystem;
using importertest::cp;
using importertest::TempDir;
using importertest::u8;

std::string bytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

fs::path tableFile(const fs::path& root, const char* name)
{
    return importer::jyobunDirectory(root, 1) / fs::path(reinterpret_cast<const char8_t*>(name));
}

const importer::AuthoringArticle& articleOf(const importer::AuthoringVolume& v, int code, const std::string& numberUtf8)
{
    for (const auto& a : v.articles)
        if (a.code == code && a.number == cp(numberUtf8))
            return a;
    throw std::runtime_error("no article " + numberUtf8);
}

// What the link editor stores for a registered link: ＫＥＹ, リンク条文番号, 条件 and
// リンク条文本文, nothing else.
void registerLink(const fs::path& root, int key, int targetCode, const std::string& phraseUtf8,
                  const std::string& targetUtf8)
{
    auto table = store::TableFile::open(tableFile(root, importer::kLinkTableFile), false);
    store::Row row(table->fields().size());
    auto set = [&](const std::string& field, store::Value v) {
        for (std::size_t i = 0; i < table->fields().size(); ++i)
            if (table->fields()[i].name == field)
                row[i] = std::move(v);
    };
    set("ＫＥＹ", key);
    set("リンク条文番号", targetCode);
    set("条件", cp(phraseUtf8));
    set("リンク条文本文", cp(targetUtf8));
    table->insert(row);
}

// What the authoring window does to an article text: rewrites 条文内容 of the row.
void editText(const fs::path& root, int key, const std::string& contentUtf8)
{
    auto table = store::TableFile::open(tableFile(root, importer::kArticleTableFile), false);
    auto all = table->readAll();
    std::size_t keyField = 0, contentField = 0;
    for (std::size_t i = 0; i < all.fields.size(); ++i) {
        if (all.fields[i].name == "ＫＥＹ")
            keyField = i;
        if (all.fields[i].name == "条文内容")
            contentField = i;
    }
    for (std::size_t r = 0; r < all.rows.size(); ++r)
        if (all.rows[r][keyField].asInteger() == key) {
            store::Row row = all.rows[r];
            row[contentField] = cp(contentUtf8);
            table->update(all.rowIds[r], row);
        }
}

void replaceInPage(const fs::path& page, const std::string& fromUtf8, const std::string& toUtf8)
{
    std::string bytes = bytesOf(page);
    const auto at = bytes.find(cp(fromUtf8));
    ASSERT_NE(at, std::string::npos) << fromUtf8;
    bytes.replace(at, cp(fromUtf8).size(), cp(toUtf8));
    std::ofstream(page, std::ios::binary | std::ios::trunc) << bytes;
}

TEST(EditorsWork, aReImportKeepsRegisteredLinksAndEditedTextsAndReportsWhatItCannotPlace)
{
    TempDir dir;
    const fs::path manifest = importertest::writeTestVolume(dir.path() / "pages");
    const fs::path root = dir.path() / "auth";
    ASSERT_EQ(importertest::runImporter({"import", manifest.string(), root.string(), "E"}).status, 0);
    const auto first = importer::readAuthoringVolume(root, 1);
    const int article1 = articleOf(first, 110, "１条").key;
    const int article5 = articleOf(first, 110, "５条").key;
    const int order1 = articleOf(first, 120, "１条").key;

    // The editors' work: three links and one text.
    registerLink(root, article1, 110, "見本税", "３条");          // stays
    registerLink(root, article1, 110, "税額の求め方", "５条");    // its phrase leaves the page
    registerLink(root, order1, 120, "見本", "９９条");            // its target never existed
    // 第五条 as imported links 「次条」 and 「第７条」; the edited text keeps only 「次条」.
    const std::string edited = "　見本税の課税標準は、次条に定める額とする。（編集部注：改正予定）";
    editText(root, article5, edited);

    // Newer pages: 第一条 reworded, an article added before 第五条 (every key after it moves).
    const fs::path act = dir.path() / "pages" / "act.html";
    replaceInPage(act, "税額の求め方", "税額の計算の方法");
    replaceInPage(act, "<P>\n<DIV class=\"arttitle\"><A NAME=\"1000000000000000000000000000000000000000000000000500000000000000000000000000000\">",
                  "<P>\n<DIV class=\"item\"><B>第四条の二</B>\n<A NAME=\"1000000000000000000000000000000000000000000000000400200000001000000000000000000\"></A>\n"
                  "　見本税は、別に定める。\n</DIV>\n\n<P>\n<DIV class=\"arttitle\"><A NAME=\"1000000000000000000000000000000000000000000000000500000000000000000000000000000\">");

    importertest::CommandRun r = importertest::runImporter({"import", manifest.string(), root.string(), "E"});
    ASSERT_EQ(r.status, 0) << r.err;
    const fs::path report = importer::carryReportPath(root, 1);
    EXPECT_NE(r.out.find("編集者の作業: リンク 1 件, 本文 1 件を引き継ぎました。置けなかったもの 3 件 (報告: " + report.string() + ")\n"),
              std::string::npos)
        << r.out;
    const std::string notPlacedPhrase = "リンク 見本税法 １条 「税額の求め方」 → 110 ５条: 新しい本文にその語句がありません";
    const std::string notPlacedTarget = "リンク 見本税法施行令 １条 「見本」 → 120 ９９条: リンク先の条文が新しい取り込みにありません";
    const std::string notPlacedImported = "リンク 見本税法 ５条 「第７条」: 取り込んだリンクの語句が編集した本文にありません";
    EXPECT_NE(r.err.find("警告: 引き継げません: " + notPlacedImported + "\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("警告: 引き継げません: " + notPlacedPhrase + "\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("警告: 引き継げません: " + notPlacedTarget + "\n"), std::string::npos) << r.err;
    EXPECT_EQ(bytesOf(report), "編集者の作業の引き継ぎ\n"
                               "引き継いだリンク: 1 件 (新しい取り込みに同じリンクがあったもの 0 件)\n"
                               "引き継いだ本文: 1 件\n"
                               "置けなかったもの: 3 件\n"
                               "  " + notPlacedImported + "\n"
                               "  " + notPlacedPhrase + "\n"
                               "  " + notPlacedTarget + "\n");

    const auto second = importer::readAuthoringVolume(root, 1);
    const auto& newArticle1 = articleOf(second, 110, "１条");
    const auto& newArticle5 = articleOf(second, 110, "５条");
    EXPECT_NE(newArticle5.key, article5);  // the added article moved it
    EXPECT_EQ(u8(newArticle5.content), edited);
    // the import's link on 「次条」 placed again in the edited text
    std::vector<std::string> imported5;
    for (const auto& l : second.links)
        if (l.key == newArticle5.key && l.occurrence)
            imported5.push_back(u8(l.condition) + " " + std::to_string(*l.occurrence) + " → " + u8(l.targetNumber));
    EXPECT_EQ(imported5, (std::vector<std::string>{"次条 1 → ６条"}));
    std::vector<std::string> registered;
    for (const auto& l : second.links)
        if (!l.occurrence)
            registered.push_back(std::to_string(l.key) + " " + u8(l.condition) + " → " + std::to_string(l.targetCode) + " " +
                                 u8(l.targetNumber));
    EXPECT_EQ(registered, (std::vector<std::string>{std::to_string(newArticle1.key) + " 見本税 → 110 ３条"}));

    // The edited text is kept again by the next re-import (it still differs from the page), and
    // the carried link is not doubled; the delivery reads the copy.
    r = importertest::runImporter({"import", manifest.string(), root.string(), "E"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto third = importer::readAuthoringVolume(root, 1);
    EXPECT_EQ(u8(articleOf(third, 110, "５条").content), edited);
    EXPECT_EQ(std::count_if(third.links.begin(), third.links.end(), [](const auto& l) { return !l.occurrence; }), 1);
    EXPECT_EQ(importertest::runImporter({"deliver", root.string(), "E", (dir.path() / "out").string()}).status, 0);
}

// Sets one field of every row of the article table that `which` picks.
void setArticleField(const fs::path& root, const std::string& field, const store::Value& value,
                     const std::function<bool(const store::Row&, const store::TableContents&)>& which)
{
    auto table = store::TableFile::open(tableFile(root, importer::kArticleTableFile), false);
    auto all = table->readAll();
    std::size_t at = 0;
    while (all.fields[at].name != field)
        ++at;
    std::vector<std::pair<std::int64_t, store::Row>> rows;
    for (std::size_t r = 0; r < all.rows.size(); ++r)
        if (which(all.rows[r], all)) {
            store::Row row = all.rows[r];
            row[at] = value;
            rows.emplace_back(all.rowIds[r], row);
        }
    table->updateRows(rows);
}

TEST(EditorsWork, anArticleAnEditorAddedAndACopyWithoutImportMarksAreReported)
{
    TempDir dir;
    const fs::path manifest = importertest::writeTestVolume(dir.path() / "pages");
    const fs::path root = dir.path() / "auth";
    ASSERT_EQ(importertest::runImporter({"import", manifest.string(), root.string(), "E"}).status, 0);

    // An article the editor added (追加 leaves no import mark) that the pages do not have.
    {
        auto table = store::TableFile::open(tableFile(root, importer::kArticleTableFile), false);
        store::Row row(table->fields().size());
        row[0] = 9000;               // ＫＥＹ
        row[1] = 110;                // 条文連番
        row[2] = 9000.0;             // 行
        row[4] = cp("９９条");       // 条文本文
        row[7] = cp("　編集部で加えた条。");  // 条文内容
        table->insert(row);
    }
    importertest::CommandRun r = importertest::runImporter({"import", manifest.string(), root.string(), "E"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("警告: 引き継げません: 本文 見本税法 ９９条: 編集した本文を置けません (新しい取り込みにその条文がありません)\n"),
              std::string::npos)
        << r.err;

    // A copy written before import marks existed: an article whose text differs from the pages
    // may be an edit or an amendment; the pages' text is taken and the article listed.
    const int article5 = articleOf(importer::readAuthoringVolume(root, 1), 110, "５条").key;
    setArticleField(root, "check2", store::Value(), [](const store::Row&, const store::TableContents&) { return true; });
    editText(root, article5, "　古い本文。");
    r = importertest::runImporter({"import", manifest.string(), root.string(), "E"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string toCheck =
        "本文 見本税法 ５条: 前の作業用データに取り込みの印がないため、編集された本文か改正かわかりません。新しいページの本文にしました";
    EXPECT_NE(r.err.find("警告: " + toCheck + "\n"), std::string::npos) << r.err;
    const std::string report = bytesOf(importer::carryReportPath(root, 1));
    EXPECT_NE(report.find("確かめてほしい本文: 1 件\n  " + toCheck + "\n"), std::string::npos) << report;
    EXPECT_NE(u8(articleOf(importer::readAuthoringVolume(root, 1), 110, "５条").content), "　古い本文。");
}

TEST(EditorsWork, anUnreadablePreviousCopyStopsTheReImportInsteadOfLosingItsLinks)
{
    TempDir dir;
    const fs::path manifest = importertest::writeTestVolume(dir.path() / "pages");
    const fs::path root = dir.path() / "auth";
    ASSERT_EQ(importertest::runImporter({"import", manifest.string(), root.string(), "E"}).status, 0);
    const fs::path links = tableFile(root, importer::kLinkTableFile);
    std::ofstream(links, std::ios::binary | std::ios::trunc) << "not a table";
    importertest::CommandRun r = importertest::runImporter({"import", manifest.string(), root.string(), "E"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("importer: 前の作業用データ " + importer::jyobunDirectory(root, 1).string() +
                              " が読めないので、編集者の作業を引き継げません (",
                          0),
              0u)
        << r.err;
    EXPECT_EQ(bytesOf(links), "not a table");
}

}  // namespace
