// Pages to authoring copy to browsing volume, and the browser's own data module opening it.
#include <gtest/gtest.h>

#include "TestVolume.h"
#include "store/Houjin.h"
#include "store/Query.h"
#include "store/TableFile.h"
#include "tools/importer/AuthoringCopy.h"

using importertest::cp;
using importertest::TempDir;
using importertest::u8;

namespace {

namespace fs = std::filesystem;

class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& dir) : m_previous(fs::current_path()) { fs::current_path(dir); }
    ~WorkingDirectory() { fs::current_path(m_previous); }

private:
    fs::path m_previous;
};

TEST(RoundTrip, browserOpensTheDeliveredVolumeAndFindsArticlesLinksAndReferences)
{
    TempDir dir;
    fs::path root = dir.path() / "authoring";
    fs::path target = dir.path() / "data";
    auto imported = importer::importVolume(importer::readManifest(importertest::writeTestVolume(dir.path() / "pages")));
    importer::writeAuthoringVolume(root, 1, imported.volume);
    auto delivery = importer::deliverVolume(root, 1, target);
    EXPECT_TRUE(delivery.problems.empty());

    for (const char* f : {"E1.db", "E2.db", "E3.db", "E4.db", "E5.db", "E6.dl_"})
        EXPECT_TRUE(fs::exists(target / f)) << f;

    WorkingDirectory cwd(target);
    store::VolumeFiles files;
    files.LawVolumeAbsent[1] = 0;
    files.assignFileNames();
    store::TableRegistry registry;
    store::THoujin houjin;
    std::vector<std::string> errors;
    int rendered = 0;
    houjin.onOpenError = [&](const std::string& m) { errors.push_back(m); };
    houjin.onArticleScroll = [&](int v) { rendered += v == 1; };
    houjin.HoujinCreate(registry, files);
    ASSERT_TRUE(errors.empty()) << errors.front();
    EXPECT_GE(rendered, 1);

    store::Table& main = *registry.law[1].mainTable;
    EXPECT_EQ(main.RecordCount(), 32);
    ASSERT_TRUE(main.Locate("KubunNo;Bangou", {110, cp("８条")}));
    EXPECT_EQ(u8(main.TextField("Title")), "第８条（仕入れに係る見本税額の控除）");
    EXPECT_EQ(u8(main.TextField("Kubun")), "見法");
    // the sub table follows the list onto the article
    store::Table& sub = *registry.law[1].subTable;
    const int eighth = importertest::testVolume().article(110, "８条").gyo;
    EXPECT_EQ(sub.IntegerField("Gyo"), eighth);
    EXPECT_EQ(u8(sub.MemoLines("Honbun")[1]), "第８条（仕入れに係る見本税額の控除）");

    // a link row for each byte of 別表第１ in 第８条, to 別表第１ of this volume
    std::string honbun = sub.TextField("Honbun");
    int sel = static_cast<int>(honbun.find(cp("別表第１")));
    store::Table& links = *registry.law[1].linkTable;
    for (int k = 0; k < 8; ++k) {
        ASSERT_TRUE(links.Locate("Gyo;Sel", {eighth, sel + k})) << k;
        EXPECT_EQ(links.IntegerField("GoGyo"), importertest::testVolume().article(110, "別表第１").gyo);
        EXPECT_EQ(links.IntegerField("Zeimoku"), 1);
    }
    EXPECT_FALSE(links.Locate("Gyo;Sel", {eighth, sel + 8}));
    ASSERT_TRUE(links.Locate("Gyo;Sel", {eighth, static_cast<int>(honbun.find(cp("政令で定める")))}));
    EXPECT_EQ(links.IntegerField("Zeimoku"), -1);

    // the reference search's statement for 第８条 and scope 政令
    store::Query q("JyobunSQL0");
    q.SetSQL({"SELECT DISTINCT Gyo,KubunNo ", "FROM E3.db ", "WHERE ( MainGyo = " + std::to_string(eighth) + " ) ",
              "AND ( KubunNo = 120 ) "});
    q.Open();
    std::vector<std::int64_t> citing;
    for (q.First(); !q.Eof(); q.Next())
        citing.push_back(q.IntegerField("Gyo"));
    std::sort(citing.begin(), citing.end());
    EXPECT_EQ(citing, (std::vector<std::int64_t>{importertest::testVolume().article(120, "２条").gyo,
                                                 importertest::testVolume().article(120, "附則").gyo}));

    // the CD table maps every delivered Gyo to the article's ＫＥＹ
    auto cd = store::TableFile::open(importer::cdDirectory(root, 1) / "条文本文.db", true)->readAll();
    ASSERT_EQ(cd.rows.size(), 32u);
    EXPECT_EQ(cd.fields[2].name, "行");
    EXPECT_EQ(cd.rows[8][0].asInteger(), 9);
    EXPECT_EQ(cd.rows[8][2].asFloat(), static_cast<double>(eighth));
}

TEST(RoundTrip, authoringCopyLiesWhereTheLinkEditorLooksAndSurvivesAnotherVolume)
{
    TempDir dir;
    fs::path root = dir.path();
    auto imported = importer::importVolume(importer::readManifest(importertest::writeTestVolume(dir.path() / "pages")));
    importer::writeAuthoringVolume(root, 1, imported.volume);
    for (const char* f : {"YpSyohi/Jyobun/Data/条文本文.db", "YpSyohi/Jyobun/Data/リンク条文.DB", "YpSyohi/Jyobun/Data/目次.db",
                          "YpSyohi/Cd12/Data/条文本文.db", "YpSyohi/Main/Data/マスタ条文.DB"})
        EXPECT_TRUE(fs::exists(root / fs::path(reinterpret_cast<const char8_t*>(f)))) << f;
    auto articleFields = store::TableFile::open(root / "YpSyohi/Jyobun/Data" / fs::path(u8"条文本文.db"), true)->fields();
    std::vector<std::string> names;
    for (const auto& f : articleFields)
        names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"ＫＥＹ", "条文連番", "行", "条文区分", "条文本文", "項号等", "表題", "条文内容", "改正",
                                               "番号のみ", "check", "check2"}));

    // volume 2 under the same root: the shared master keeps volume 1's codes
    importer::AuthoringVolume other;
    other.master.push_back({510, cp("見民"), cp("見本民法")});
    importer::writeAuthoringVolume(root, 2, other);
    auto v1 = importer::readAuthoringVolume(root, 1);
    std::vector<int> codes;
    for (const auto& m : v1.master)
        codes.push_back(m.code);
    EXPECT_EQ(codes, (std::vector<int>{110, 120, 420, 510}));
    EXPECT_EQ(v1.articles.size(), 32u);
    EXPECT_EQ(v1.links.size(), imported.volume.links.size());
    EXPECT_EQ(v1.outline.size(), imported.volume.outline.size());
    EXPECT_TRUE(fs::exists(root / "YpGen/Jyobun/Data" / fs::path(u8"条文本文.db")));
}

}  // namespace

namespace {

TEST(RoundTrip, volumeZeroCarriesTheIndexFlagOfEveryCharacterItsTextHolds)
{
    importertest::TempDir dir;
    fs::path root = dir.path() / "authoring";
    auto imported = importer::importVolume(importer::readManifest(importertest::writeTestVolume(dir.path() / "pages")));
    importer::writeAuthoringVolume(root, 0, imported.volume);
    importer::deliverVolume(root, 0, dir.path() / "data");
    EXPECT_TRUE(fs::exists(root / "YpHoujin" / "Jyobun" / "Data" / fs::path(u8"条文本文.db")));
    auto texts = store::TableFile::open(dir.path() / "data" / "A2.db", true)->readAll();
    ASSERT_EQ(texts.fields.size(), 3u + 51u);
    EXPECT_EQ(texts.fields[3].name, "KEY0");
    EXPECT_EQ(texts.fields[53].name, "KEY50");
    // 第８条 holds 事 (index 49) but not 慶 (index 0)
    const auto& eighth = texts.rows[8];
    EXPECT_EQ(eighth[0].asInteger(), importertest::testVolume().article(110, "８条").gyo);
    EXPECT_EQ(eighth[3 + 49].asInteger(), 1);
    EXPECT_EQ(eighth[3 + 0].asInteger(), 0);
    auto links = store::TableFile::open(dir.path() / "data" / "A4.db", true)->readAll();
    for (const auto& r : links.rows)
        EXPECT_TRUE(r[3].asInteger() == 0 || r[3].asInteger() < 0);
}

}  // namespace
