// Laws in the standard law XML, written for these tests (tests/importer/xml): every element the
// reader handles laid out as the pages are, the three wrappers alike, the older form of the
// schema, revisions chosen by day, and bad input refused with a message and nothing written.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestVolume.h"
#include "tools/importer/Command.h"

using importertest::cp;
using importertest::TempDir;
using importertest::u8;

namespace {

namespace fs = std::filesystem;

const std::string kBulkName = "505AC0000000099_20240401_505AC0000000099.xml";

std::string testXml(const std::string& name)
{
    std::ifstream in(fs::path(SORVANE_SOURCE_DIR) / "tests" / "importer" / "xml" / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The <Law> element of a test file, without the XML declaration.
std::string lawElement(const std::string& name)
{
    std::string xml = testXml(name);
    return xml.substr(xml.find("<Law "));
}

void writeFile(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A manifest of (file, title, code, abbreviation) rows in dir.
fs::path writeManifest(const fs::path& dir, const std::vector<std::array<std::string, 4>>& rows)
{
    std::string tsv = "file\tlaw_title\tcategory_code\tabbreviation\n";
    for (const auto& r : rows)
        tsv += r[0] + "\t" + r[1] + "\t" + r[2] + "\t" + r[3] + "\n";
    writeFile(dir / "manifest.tsv", tsv);
    return dir / "manifest.tsv";
}

importertest::BuiltVolume build(const fs::path& manifest, const std::string& asOf = "2026-12-10")
{
    importertest::BuiltVolume v;
    v.imported = importer::importVolume(importer::readManifest(manifest), {}, {.asOf = *importer::parseIsoDate(asOf)});
    v.delivery = importer::buildDelivery(v.imported.volume, 1);
    return v;
}

// The test law, read from one file holding bytes.
importertest::BuiltVolume buildOne(const std::string& fileName, const std::string& bytes)
{
    TempDir dir;
    writeFile(dir.path() / fileName, bytes);
    return build(writeManifest(dir.path(), {{fileName, "見本法", "110", "見法"}}));
}

std::string honbun(const importertest::BuiltVolume& v, const std::string& bangou, int code = 110)
{
    return u8(v.article(code, bangou).honbun);
}

std::vector<std::string> bangous(const importertest::BuiltVolume& v)
{
    std::vector<std::string> out;
    for (const auto& a : v.delivery.content.articles)
        out.push_back(u8(a.bangou));
    return out;
}

std::vector<std::string> outline(const importertest::BuiltVolume& v)
{
    std::vector<std::string> out;
    for (const auto& n : v.delivery.content.outline)
        out.push_back(std::string(static_cast<std::size_t>(n.depth), '\t') + u8(n.caption));
    return out;
}

const importertest::BuiltVolume& bulk()
{
    static const importertest::BuiltVolume v = buildOne(kBulkName, testXml("mihon.xml"));
    return v;
}

}  // namespace

TEST(LawXml, everyArticleOfTheMainProvisionTheSupplementaryBlocksAndTheTablesIsARowInLawOrder)
{
    EXPECT_EQ(bangous(bulk()),
              (std::vector<std::string>{"１条", "２条", "３条", "３条の２", "４条", "５条", "６条", "附則１条",
                                        "附則（令和７年法律第１３号）", "別表第１", "別表第１の２", "別紙様式"}));
    const auto& s = bulk().imported.laws.at(0);
    EXPECT_EQ(s.articles, 7);
    EXPECT_EQ(s.deletedArticles, 3);
    EXPECT_EQ(s.supplementaryBlocks, 2);
    EXPECT_EQ(s.appendedRows, 3);
    EXPECT_EQ(s.revision, "2024-04-01 施行 505AC0000000099_20240401_505AC0000000099");
}

TEST(LawXml, paragraphsItemsSubItemsDefinitionsAndTablesAreLaidOutAsThePagesAre)
{
    EXPECT_EQ(honbun(bulk(), "２条"),
              "見本法\r\n第２条（定義）\r\n"
              "１　この法律において、次の各号に掲げる用語の意義は、当該各号に定めるところによる。ただし、前条の規定の"
              "適用については、政令で定める。\r\n"
              "　一　事業者　個人事業者及び法人をいう。\r\n"
              "　二　資産　次に掲げるものをいう。\r\n"
              "　　イ　土地\r\n"
              "　　　（１）　宅地\r\n"
              "　　　　（ｉ）　建物の敷地\r\n"
              "２　税率は、次の表のとおりとする。\r\n"
              "｜区分｜標準｜\r\n"
              "｜｜１００分の１０｜");
    EXPECT_EQ(bulk().article(110, "２条").title, cp("第２条（定義）"));
}

TEST(LawXml, rubyFiguresDeletedRunsQuotedTablesAppendedTablesAndFormsReadAsText)
{
    EXPECT_EQ(honbun(bulk(), "３条"), "見本法\r\n第３条\r\n　見本税の課税標準は、按分した金額とする。");
    EXPECT_EQ(honbun(bulk(), "３条の２"), "見本法\r\n第３条の２（計算）\r\n　前条の金額は、次の算式による。［図］");
    for (const char* n : {"４条", "５条", "６条"})
        EXPECT_EQ(honbun(bulk(), n), "見本法\r\n第" + std::string(n) + "\r\n　削除");
    EXPECT_EQ(honbun(bulk(), "附則１条"), "見本法\r\n附則第１条（施行期日）\r\n　この法律は、令和６年４月１日から施行する。");
    EXPECT_EQ(honbun(bulk(), "附則（令和７年法律第１３号）"),
              "見本法\r\n附則（令和７年法律第１３号）\r\n　第２条の改正規定は、「\r\n｜甲｜乙｜\r\n」の部分を除き、公布の日から施行する。");
    EXPECT_EQ(honbun(bulk(), "別表第１"), "見本法\r\n別表第１（第２条関係）\r\n｜名称｜根拠法｜\r\n｜見本公庫｜見本公庫法｜");
    EXPECT_EQ(honbun(bulk(), "別表第１の２"), "見本法\r\n別表第１の２（第３条関係）\r\n　一　米穀");
    EXPECT_EQ(honbun(bulk(), "別紙様式"), "見本法\r\n別紙様式\r\n別記様式第１　（第２条関係）\r\n　［図］");
}

TEST(LawXml, theOutlineHasTheLawWithItsVersionTheDivisionsTheSupplementaryBlocksAndTheTables)
{
    EXPECT_EQ(outline(bulk()),
              (std::vector<std::string>{"見本法（令和６年４月１日施行）", "\t第１編　総則", "\t\t第１章　通則",
                                        "\t\t\t第１条（趣旨）", "\t\t\t第２条（定義）", "\t\t第２章　課税標準",
                                        "\t\t\t第１節　通則", "\t\t\t\t第３条", "\t\t\t\t第３条の２（計算）", "\t\t\t\t第４条",
                                        "\t\t\t\t第５条", "\t\t\t\t第６条", "\t附則", "\t\t附則第１条（施行期日）",
                                        "\t\t附則（令和７年３月３１日法律第１３号）　抄", "\t\t\t附則（令和７年法律第１３号）",
                                        "\t別表", "\t\t別表第１（第２条関係）", "\t\t別表第１の２（第３条関係）", "\t別紙様式"}));
}

TEST(LawXml, referencesInsideTheLawAndTheCabinetOrderPhraseAreLinkedAsOnThePages)
{
    EXPECT_EQ(bulk().links(110, "２条"),
              (std::vector<std::pair<std::string, std::string>>{{"前条", "110 １条"}, {"政令で定める", "-1"}}));
    EXPECT_EQ(bulk().links(110, "３条の２"), (std::vector<std::pair<std::string, std::string>>{{"前条", "110 ３条"}}));
}

TEST(LawXml, theTwoApiAnswersGiveTheSameArticlesAsTheBulkFile)
{
    const std::string law = lawElement("mihon.xml");
    const std::string v1 = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<DataRoot>\n  <Result>\n    <Code>0</Code>\n"
                           "    <Message/>\n  </Result>\n  <ApplData>\n    <LawId>505AC0000000099</LawId>\n    <LawNum/>\n"
                           "    <LawFullText>" + law + "</LawFullText>\n  </ApplData>\n</DataRoot>\n";
    const std::string v2 = "<law_data_response><law_info><law_id>505AC0000000099</law_id><law_type>Act</law_type>"
                           "</law_info><revision_info><law_revision_id>505AC0000000099_20250401_507AC0000000013"
                           "</law_revision_id><law_title>見本法</law_title><amendment_enforcement_date>2025-04-01"
                           "</amendment_enforcement_date><current_revision_status>CurrentEnforced"
                           "</current_revision_status></revision_info><law_full_text>" + law +
                           "</law_full_text></law_data_response>";
    for (const auto& [name, bytes] : {std::pair{"answer1.xml", v1}, {"answer2.xml", v2}}) {
        importertest::BuiltVolume v = buildOne(name, bytes);
        ASSERT_EQ(v.delivery.content.articles.size(), bulk().delivery.content.articles.size()) << name;
        for (std::size_t i = 0; i < v.delivery.content.articles.size(); ++i)
            EXPECT_EQ(v.delivery.content.articles[i].honbun, bulk().delivery.content.articles[i].honbun) << name;
    }
    // The version 1 answer carries no day; the version 2 answer its own.
    EXPECT_EQ(buildOne("answer1.xml", v1).imported.laws[0].revision, "施行日の記載なし answer1");
    importertest::BuiltVolume second = buildOne("answer2.xml", v2);
    EXPECT_EQ(second.imported.laws[0].revision, "2025-04-01 施行 505AC0000000099_20250401_507AC0000000013");
    EXPECT_EQ(u8(second.delivery.content.outline[0].caption), "見本法（令和７年４月１日施行）");
}

TEST(LawXml, theOlderFormReadsDeletedArticlesAndLeavesHiddenElementsOut)
{
    TempDir dir;
    writeFile(dir.path() / "older.xml", testXml("older.xml"));
    importertest::BuiltVolume v = build(writeManifest(dir.path(), {{"older.xml", "見本旧法", "510", "民法"}}));
    EXPECT_EQ(honbun(v, "１条", 510), "見本旧法\r\n第１条（基本原則）\r\n　私権は、公共の福祉に適合しなければならない。");
    EXPECT_EQ(honbun(v, "２条", 510), "見本旧法\r\n第２条\r\n　削除");
    EXPECT_EQ(honbun(v, "附則（平成１１年法律第１５１号）１条", 510),
              "見本旧法\r\n附則（平成１１年法律第１５１号）第１条（施行期日）\r\n　この法律は、平成１２年４月１日から施行する。");
    EXPECT_EQ(v.imported.laws[0].deletedArticles, 1);
    EXPECT_EQ(v.imported.laws[0].problems, std::vector<std::string>{});
    EXPECT_EQ(u8(v.delivery.content.outline[0].caption), "見本旧法");
}

TEST(LawXml, aVolumeMayMixLawPagesAndXmlFiles)
{
    TempDir dir;
    writeFile(dir.path() / kBulkName, testXml("mihon.xml"));
    writeFile(dir.path() / "act.html", importertest::testPage("act.html"));
    importertest::BuiltVolume v = build(writeManifest(dir.path(), {{"act.html", "見本税法", "110", "見法"},
                                                                  {kBulkName, "見本法", "120", "見令"}}));
    ASSERT_EQ(v.imported.laws.size(), 2u);
    EXPECT_EQ(v.imported.laws[0].revision, "");
    EXPECT_EQ(v.imported.laws[1].articles, 7);
    EXPECT_EQ(honbun(v, "３条", 120), "見本法\r\n第３条\r\n　見本税の課税標準は、按分した金額とする。");
}

namespace {

// Three revisions of the test law side by side, each saying which it is in 第１条.
fs::path writeRevisions(const fs::path& dir)
{
    const std::string xml = testXml("mihon.xml");
    std::vector<std::array<std::string, 4>> rows;
    for (const char* day : {"20251001", "20261101", "20270101"}) {
        std::string text = xml;
        const std::string marker = "見本税の課税について定める。";
        text.replace(text.find(marker), marker.size(), std::string("見本税の課税について定める。版") + day);
        const std::string name = std::string("505AC0000000099_") + day + "_507AC0000000013.xml";
        writeFile(dir / name, text);
        rows.push_back({name, "見本法", "110", "見法"});
    }
    return writeManifest(dir, rows);
}

}  // namespace

TEST(LawXml, ofSeveralRevisionsTheOneInForceOnTheDayIsTakenAndNoneNotYetInForce)
{
    TempDir dir;
    const fs::path manifest = writeRevisions(dir.path());
    struct Case {
        const char* asOf;
        const char* taken;
    } cases[] = {{"2025-12-01", "20251001"}, {"2026-11-01", "20261101"}, {"2026-12-31", "20261101"}, {"2027-01-01", "20270101"}};
    for (const auto& c : cases) {
        importertest::BuiltVolume v = build(manifest, c.asOf);
        EXPECT_EQ(honbun(v, "１条"), std::string("見本法\r\n第１条（趣旨）\r\n　この法律は、見本税の課税について定める。版") + c.taken)
            << c.asOf;
        ASSERT_EQ(v.imported.laws.size(), 1u);
    }
    EXPECT_EQ(build(manifest, "2026-12-10").imported.laws[0].revision,
              "2026-11-01 施行 505AC0000000099_20261101_507AC0000000013");
}

namespace {

using importertest::CommandRun;

CommandRun run(const std::vector<std::string>& args)
{
    return importertest::runImporter(args);
}

}  // namespace

TEST(LawXml, theCommandTakesTheDayFromAsOfAndNamesTheRevisionItTook)
{
    TempDir dir;
    const fs::path manifest = writeRevisions(dir.path());
    CommandRun r = run({"build", manifest.string(), (dir.path() / "auth").string(), "E", (dir.path() / "out").string(),
                        "--as-of", "2026-12-10"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\n見本法: 2026-11-01 施行 505AC0000000099_20261101_507AC0000000013\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("20251001_507AC0000000013 を読んでいます"), std::string::npos);

    CommandRun early = run({"import", manifest.string(), (dir.path() / "early").string(), "E", "--as-of=2025-09-30"});
    EXPECT_EQ(early.status, 1);
    EXPECT_EQ(early.err, "importer: 見本法 には 2025-09-30 に施行されている版がありません (目録の版の施行日: 2025-10-01, "
                         "2026-11-01, 2027-01-01)\n");
    EXPECT_FALSE(fs::exists(dir.path() / "early"));

    CommandRun wrong = run({"import", manifest.string(), (dir.path() / "x").string(), "E", "--as-of", "2026/12/10"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err.substr(0, wrong.err.find('\n')), "importer: --as-of の日付は YYYY-MM-DD で書いてください: 2026/12/10");
}

TEST(LawXml, badInputIsRefusedWithAMessageNamingTheFileAndNothingIsWritten)
{
    const std::string law = lawElement("mihon.xml");
    const std::string emptyLaw = "<Law><LawNum>令和五年法律第九十九号</LawNum><LawBody><LawTitle>見本法</LawTitle>"
                                 "<MainProvision/></LawBody></Law>";
    struct Case {
        const char* name;
        std::string bytes;
        std::string message;  // after "importer: " and the file's path
    } cases[] = {
        {"broken.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Law>\n<LawBody>\n</Law>\n",
         " の 4 行目: XML として読めません (Opening and ending tag mismatch: LawBody line 3 and Law)"},
        {"html.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<html><body>見本</body></html>\n",
         ": 法令標準XML ではありません (最上位の要素が <html> で、法令 <Law> を含みません)"},
        {"empty.xml", emptyLaw, ": 法令に条文がありません (本則が空です)"},
        {"sjis.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Law>\n" + cp("<LawTitle>見本法</LawTitle>") + "</Law>\n",
         " の 3 行目: UTF-8 として読めない文字があります (法令標準XML は UTF-8 で書かれています)"},
        {"refused.xml",
         "<DataRoot><Result><Code>1</Code><Message>法令が見つかりません</Message></Result><ApplData/></DataRoot>",
         ": 法令APIの応答がエラーです (結果コード 1: 法令が見つかりません)"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        writeFile(dir.path() / c.name, c.bytes);
        const fs::path manifest = writeManifest(dir.path(), {{c.name, "見本法", "110", "見法"}});
        CommandRun r = run({"build", manifest.string(), (dir.path() / "auth").string(), "E", (dir.path() / "out").string(),
                            "--as-of", "2026-12-10"});
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_EQ(r.err, "importer: " + (dir.path() / c.name).string() + c.message + "\n") << c.name;
        EXPECT_FALSE(fs::exists(dir.path() / "auth")) << c.name;
        EXPECT_FALSE(fs::exists(dir.path() / "out")) << c.name;
    }
}

TEST(LawXml, elementsNestedBeyondTheLimitAreRefusedWithAMessageNotACrash)
{
    // 100,000 <Ruby> inside one another: the reader would recurse that deep.
    std::string deep = "<Ruby>";
    for (int i = 1; i < 100000; ++i)
        deep += "<Ruby>";
    deep += "見本";
    for (int i = 0; i < 100000; ++i)
        deep += "</Ruby>";
    const std::string bytes = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Law><LawNum>令和五年法律第九十九号</LawNum>"
                              "<LawBody><LawTitle>見本法</LawTitle><MainProvision><Article Num=\"1\"><ArticleTitle>第一条"
                              "</ArticleTitle><Paragraph Num=\"1\"><ParagraphSentence><Sentence>" +
                              deep + "</Sentence></ParagraphSentence></Paragraph></Article></MainProvision></LawBody></Law>\n";
    TempDir dir;
    writeFile(dir.path() / "deep.xml", bytes);
    const fs::path manifest = writeManifest(dir.path(), {{"deep.xml", "見本法", "110", "見法"}});
    CommandRun r = run({"build", manifest.string(), (dir.path() / "auth").string(), "E", (dir.path() / "out").string(),
                        "--as-of", "2026-12-10"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "importer: " + (dir.path() / "deep.xml").string() + ": XML の要素の入れ子が深すぎます (256 段まで)\n");
    EXPECT_FALSE(fs::exists(dir.path() / "auth"));
    EXPECT_FALSE(fs::exists(dir.path() / "out"));
}

TEST(LawXml, aLawListedBothWithAndWithoutADayIsRefused)
{
    TempDir dir;
    writeFile(dir.path() / kBulkName, testXml("mihon.xml"));
    writeFile(dir.path() / "mihon.xml", testXml("mihon.xml"));
    const fs::path manifest =
        writeManifest(dir.path(), {{kBulkName, "見本法", "110", "見法"}, {"mihon.xml", "見本法", "110", "見法"}});
    try {
        importer::importVolume(importer::readManifest(manifest), {}, {.asOf = 20261210});
        FAIL() << "no error";
    } catch (const importer::ImportError& e) {
        EXPECT_EQ(std::string(e.what()), "見本法 が施行日のある版 (" + (dir.path() / kBulkName).string() +
                                             ") と施行日のないファイル (" + (dir.path() / "mihon.xml").string() +
                                             ") で二度挙がっています。どちらかを目録から外してください");
    }
}
