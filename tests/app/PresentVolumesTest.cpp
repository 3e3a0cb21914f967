// The volumes the program shows are those whose files are in its working directory: the tabs in
// their designed order, the first present law tab active. Over the current law of
// ../shared/corpus-xml (skipped when absent): volumes A, E and G imported from the standard law
// XML, opened by the real window, 法人税法 第２２条 as the reader sees it.
#include <QTest>
#include <filesystem>

#include "ProgramFixture.h"
#include "display/OutlineTree.h"
#include "display/RichTextView.h"
#include "store/Table.h"
#include "tools/importer/Delivery.h"
#include "tools/importer/VolumeImport.h"

using namespace apptest;
namespace fs = std::filesystem;

namespace {

QStringList visibleTabs(TMain& w)
{
    QStringList captions;
    for (int i = 0; i < w.MainPageControl->count(); ++i)
        if (w.MainPageControl->isTabVisible(i))
            captions << w.MainPageControl->tabText(i);
    return captions;
}

QString activeTab(TMain& w)
{
    return w.MainPageControl->tabText(w.MainPageControl->currentIndex());
}

}  // namespace

using PresentVolumes = ProgramTest;

TEST_F(PresentVolumes, eachVolumeWhoseFilesAreThereIsATabInTheDesignedOrder)
{
    store::writeLawVolume(dir.path(), lawVolume('G', "会社法", 101, 3, 410, "会社法"));
    store::writeLawVolume(dir.path(), lawVolume('A', "法人税法", 1, 3, 10, "法法"));
    writeBookVolume('F');
    // K lacks its outline file, H its link table: neither is a volume.
    store::writeLawVolume(dir.path(), lawVolume('K', "国税通則法", 1, 2, 160, "国通"));
    fs::remove(dir.path() / "K6.dl_");
    store::writeLawVolume(dir.path(), lawVolume('H', "所得税法", 1, 2, 210, "所法"));
    fs::remove(dir.path() / "H4.db");

    const store::VolumeFiles files = store::VolumeFiles::presentIn(dir.path());
    EXPECT_EQ(files.LawVolumeAbsent, (std::array<int, 6>{0, 1, 0, 1, 1, 1}));
    EXPECT_EQ(files.BookVolumeAbsent, (std::array<int, 3>{1, 0, 1}));
    start(files);
    showWindow();
    EXPECT_EQ(visibleTabs(window()), (QStringList{"法人税", "消費目次", "会社法民法"}));
    EXPECT_EQ(activeTab(window()), "法人税");
    EXPECT_EQ(registry().law[0].RichEdit->plainText(), cp932("第１条　法人税法の本文１\r\n２　前項の規定は適用しない。\r\n"));
}

TEST_F(PresentVolumes, theConsumptionAndCompanyFilesAloneGiveTheBuildsDefault)
{
    writeProductVolumes();
    const store::VolumeFiles files = store::VolumeFiles::presentIn(dir.path());
    const store::VolumeFiles product = store::VolumeFiles::productDefault();
    EXPECT_EQ(files.LawVolumeAbsent, product.LawVolumeAbsent);
    EXPECT_EQ(files.BookVolumeAbsent, product.BookVolumeAbsent);
    EXPECT_EQ(files.LawFileNames, product.LawFileNames);
    start(files);
    showWindow();
    EXPECT_EQ(visibleTabs(window()), (QStringList{"消費税", "会社法民法"}));
    EXPECT_EQ(activeTab(window()), "消費税");
}

TEST_F(PresentVolumes, anEmptyFolderFallsBackToTheBuildsDefaultSoTheMissingFilesAreNamed)
{
    const store::VolumeFiles files = store::VolumeFiles::presentIn(dir.path());
    EXPECT_EQ(files.LawVolumeAbsent, store::VolumeFiles::productDefault().LawVolumeAbsent);
    EXPECT_EQ(files.LawFileNames[1][1], "E1.db");
}

namespace {

const fs::path kCurrentLaw = fs::path(SORVANE_CORPUS_DIR).parent_path() / "corpus-xml";

// The corpus's rows of one folder, as scripts/build-current-volumes takes them.
std::vector<importer::ManifestEntry> currentLawsOf(const std::string& folder)
{
    std::vector<importer::ManifestEntry> out;
    for (auto& e : importer::readManifest(kCurrentLaw / "MANIFEST.tsv"))
        if (e.page.parent_path().filename() == folder)
            out.push_back(e);
    return out;
}

}  // namespace

TEST_F(PresentVolumes, theCurrentLawVolumesOpenWithTheirThreeTabsAndShowTheCorporationTaxActsArticle22)
{
    if (!fs::exists(kCurrentLaw / "MANIFEST.tsv"))
        GTEST_SKIP() << "no current law at " << kCurrentLaw;
    const importer::CivilDate asOf = *importer::parseIsoDate("2026-12-10");
    for (auto [folder, volume] : {std::pair{"hojin", 0}, {"shohi", 1}, {"kaisha", 2}}) {
        auto imported = importer::importVolume(currentLawsOf(folder), {}, {.asOf = asOf});
        importer::writeAuthoringVolume(dir.path() / "authoring", volume, imported.volume);
        importer::deliverVolume(dir.path() / "authoring", volume, dir.path());
    }
    start(store::VolumeFiles::presentIn(dir.path()));
    showWindow();
    EXPECT_EQ(visibleTabs(window()), (QStringList{"法人税", "消費税", "会社法民法"}));
    EXPECT_EQ(activeTab(window()), "法人税");

    LawVolumeEntry& e = registry().law[0];
    // The outline names the version of each law.
    EXPECT_EQ(e.TreeView->topLevelItem(0)->text(0), "法人税法（令和８年１０月１日施行）");
    store::Table& list = *registry().tables.law[0].mainTable;
    ASSERT_TRUE(list.Locate("Bangou", {store::Value(cp932("２２条"))}));
    EXPECT_EQ(list.IntegerField("KubunNo"), 10);
    QTest::qWait(50);
    const std::string shown = e.RichEdit->plainText();
    EXPECT_EQ(shown.substr(0, shown.find(cp932("２　"))),
              cp932("法人税法\r\n第２２条\r\n１　内国法人の各事業年度の所得の金額は、当該事業年度の益金の額から当該事業年度の損金の額を"
                    "控除した金額とする。\r\n"));
    EXPECT_NE(shown.find(cp932("\r\n　一　当該事業年度の収益に係る売上原価、")), std::string::npos);
    const QByteArray shot = qgetenv("SORVANE_CURRENT_LAW_SCREENSHOT");
    if (!shot.isEmpty())
        window().grab().save(QString::fromLocal8Bit(shot), "PNG");
}
