// The program's start-up and the main window's create, show, resize and close steps, driven
// through the real window offscreen on real volume files.
#include <QAction>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabBar>
#include <filesystem>
#include <fstream>

#include "ProgramFixture.h"
#include "authoring/ReferenceResolver.h"
#include "display/ArticleRenderer.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/RichTextView.h"
#include "store/Table.h"

using namespace apptest;
namespace fs = std::filesystem;

namespace {

QStringList visibleTabCaptions(TMain& w)
{
    QStringList captions;
    for (int i = 0; i < w.MainPageControl->count(); ++i)
        if (w.MainPageControl->isTabVisible(i))
            captions << w.MainPageControl->tabText(i);
    return captions;
}

}  // namespace

using StartUp = ProgramTest;

TEST_F(StartUp, deletesTheStaleAnswerFilesOneToNinetyNineOnly)
{
    writeProductVolumes();
    for (const char* name : {"_QSQ1.DB", "_QSQ50.DB", "_QSQ99.DB", "_QSQ100.DB", "_QSQ0.DB"})
        dir.writeFile(name, "stale");
    start(store::VolumeFiles::productDefault());
    EXPECT_FALSE(fs::exists("_QSQ1.DB"));
    EXPECT_FALSE(fs::exists("_QSQ50.DB"));
    EXPECT_FALSE(fs::exists("_QSQ99.DB"));
    EXPECT_TRUE(fs::exists("_QSQ100.DB"));
    EXPECT_TRUE(fs::exists("_QSQ0.DB"));
}

TEST_F(StartUp, productFlagsShowTheConsumptionAndCompanyTabsWithFocusInKeyEdit1)
{
    writeProductVolumes();
    start(flags({1, 0, 0, 1, 1, 1}));
    showWindow();
    EXPECT_EQ(visibleTabCaptions(window()), (QStringList{"消費税", "会社法民法"}));
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(window().focusWidget(), registry().law[1].EditKey1);
    EXPECT_EQ(registry().law[1].EditKey1->objectName(), "SEditKey1");
}

TEST_F(StartUp, theFirstPresentLawTabIsActivatedWhateverTheBooks)
{
    store::writeLawVolume(dir.path(), lawVolume('I', "相続税法", 1, 2, 310, "相法"));
    writeBookVolume('B');
    start(flags({1, 1, 1, 1, 0, 1}, {0, 1, 1}));
    showWindow();
    EXPECT_EQ(visibleTabCaptions(window()), (QStringList{"法人目次", "相続税"}));
    EXPECT_EQ(window().ActivePage(), window().ZokuTab);
    EXPECT_EQ(window().focusWidget(), registry().law[4].EditKey1);
}

TEST_F(StartUp, theRegistryHoldsPresentVolumesAndTheSharedValues)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    VolumeRegistry& r = registry();
    // Every tab sheet is registered; the controls of absent volumes are not.
    EXPECT_EQ(r.law[0].TabSheet, window().HoujinTab);
    EXPECT_EQ(r.book[2].TabSheet, window().TbooksTab);
    EXPECT_EQ(r.law[0].EditKey1, nullptr);
    EXPECT_EQ(r.book[0].DBGrid, nullptr);
    EXPECT_EQ(r.law[2].RichEdit->objectName(), "GenRichEdit");
    EXPECT_EQ(r.law[2].Panel2->objectName(), "GenPanel2");
    EXPECT_EQ(r.law[1].ComboBox->objectName(), "SComboBox");
    EXPECT_EQ(r.LawIndexOfTab(window().SyohiTab), 1);
    EXPECT_EQ(r.LawIndexOfTab(window().HoujinTab), -1);
    EXPECT_EQ(r.BookIndexOfTab(window().HbooksTab), -1);
    EXPECT_EQ(r.tables.law[1].subTable->TableName(), "E2.db");
    EXPECT_EQ(r.tables.law[0].subTable, nullptr);

    EXPECT_EQ(r.IndexCharacters[0], cp932("慶"));
    EXPECT_EQ(r.IndexCharacters[28], cp932("償"));
    EXPECT_EQ(r.IndexCharacters[50], cp932("金"));
    EXPECT_EQ(r.LastLinkCode, "10");
    EXPECT_EQ(r.AmendmentStamp, 230302);
    EXPECT_EQ(r.LinkEditorOpen, 0);
    EXPECT_EQ(r.LawQueryPosition, -1);
    EXPECT_EQ(r.BookQueryPosition, -1);
    EXPECT_TRUE(r.SqlClauseList.empty());
    EXPECT_TRUE(r.MemoRtf.empty());
    EXPECT_EQ(r.LinkToMemoMode + r.RenderSuspended, 0);
    EXPECT_EQ(r.files.LawFileNames[6][2], "G6.dl_");
    EXPECT_EQ(r.files.LawFileNames[1][0], "");
}

TEST_F(StartUp, theWindowStateFileMaximisesOnlyOnAOneOnItsFirstLine)
{
    writeProductVolumes();
    struct Case {
        std::optional<std::string> content;
        bool maximised;
    };
    const Case cases[] = {
        {"1", true}, {"1\r\n", true}, {"1\r\n0\r\n", true}, {"1\n", true}, {"1 ", false},
        {" 1", false}, {"0", false}, {"", false}, {"11", false}, {std::nullopt, false},
    };
    for (const Case& c : cases) {
        std::filesystem::remove("C3.dl_");
        if (c.content)
            dir.writeFile("C3.dl_", *c.content);
        start(store::VolumeFiles::productDefault());
        EXPECT_EQ(bool(window().windowState() & Qt::WindowMaximized), c.maximised)
            << "C3.dl_ holding \"" << c.content.value_or("(no file)") << "\"";
        program.reset();
    }
}

TEST_F(StartUp, closingWritesTheWindowStateAsOneLine)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    window().showMaximized();
    window().close();
    EXPECT_EQ(testsupport::fileBytes("C3.dl_"), "1\r\n");

    program.reset();
    start(store::VolumeFiles::productDefault());
    EXPECT_TRUE(window().windowState() & Qt::WindowMaximized);
    showWindow();
    window().showNormal();
    window().close();
    EXPECT_EQ(testsupport::fileBytes("C3.dl_"), "0\r\n");

    // A window minimised from maximised writes "0".
    program.reset();
    dir.writeFile("C3.dl_", "1");
    start(store::VolumeFiles::productDefault());
    showWindow();
    window().setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    window().close();
    EXPECT_EQ(testsupport::fileBytes("C3.dl_"), "0\r\n");
}

TEST_F(StartUp, buildVariantMarkersOfTheTitle)
{
    writeProductVolumes();
    struct Case {
        const char* title;
        bool authoringItems;
        bool colourButton;
    };
    const Case cases[] = {
        {"Sorvane 36 Lite", false, false},
        {"Sorvane 36 Lite β", true, true},
        {"Sorvane 36 Lite Original", false, true},
        {"Sorvane 36 Lite Plus", false, true},
        // "β" is found as a whole character only, not inside another character's bytes.
        {"Sorvane 36 Lite ｂ", false, false},
    };
    for (const Case& c : cases) {
        start(store::VolumeFiles::productDefault(), c.title);
        TMain& w = window();
        EXPECT_EQ(w.windowTitle(), QString::fromUtf8(c.title));
        for (QAction* a : {w.HyperLinkAction, w.ToolAction, w.HyperLinkAction2}) {
            EXPECT_EQ(a->isVisible(), c.authoringItems) << c.title << " " << a->objectName().toStdString();
            EXPECT_EQ(a->isEnabled(), c.authoringItems) << c.title;
        }
        EXPECT_EQ(w.ColorSetButton->isVisibleTo(&w), c.colourButton) << c.title;
        EXPECT_EQ(w.ColorSetButton->isEnabled(), c.colourButton) << c.title;
        program.reset();
    }
}

TEST_F(StartUp, paletteDisplaysTakeTheButtonGlyphsFromTheGlyphFiles)
{
    writeProductVolumes();
    QImage red(24, 24, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    // D5 is missing: Wordへ keeps its own glyph.
    for (int i = 1; i <= 12; ++i) {
        if (i != 5) {
            ASSERT_TRUE(red.save(QString::fromStdString((dir.path() / ("D" + std::to_string(i) + ".dl_")).string()), "BMP"));
        }
    }
    auto glyphIsRed = [](QToolButton* b) {
        QImage image = b->icon().pixmap(24, 24).toImage();
        return image.pixelColor(12, 12) == QColor(255, 0, 0);
    };

    platform.setDisplayColourCount(256);
    start(store::VolumeFiles::productDefault());
    EXPECT_TRUE(glyphIsRed(window().BBtnBack));
    EXPECT_TRUE(glyphIsRed(window().BBtnNet));
    EXPECT_FALSE(glyphIsRed(window().BBtnWord));
    EXPECT_FALSE(glyphIsRed(window().ColorSetButton));
    program.reset();

    platform.setDisplayColourCount(-1);
    start(store::VolumeFiles::productDefault());
    EXPECT_FALSE(glyphIsRed(window().BBtnBack));
    EXPECT_FALSE(glyphIsRed(window().BBtnNet));
}

TEST_F(StartUp, theStartUpTimeIsShownInStatusPanel1)
{
    writeProductVolumes();
    struct Case {
        std::int64_t elapsedMs;
        const char* shown;
    };
    const Case cases[] = {{1500, "起動時間： 1.5 秒"}, {2000, "起動時間： 2 秒"}, {1234, "起動時間： 1.234 秒"},
                          {40, "起動時間： 0.04 秒"}};
    for (const Case& c : cases) {
        platform.setTickCount(900000);
        start(store::VolumeFiles::productDefault());
        platform.advanceTickCount(c.elapsedMs);
        showWindow();
        EXPECT_EQ(window().StatusPanelText(1), QString::fromUtf8(c.shown));
        closeWindow();
        program.reset();
    }
}

TEST(ElapsedSeconds, generalDecimalFormWithoutTrailingZeros)
{
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "0"}, {1, "0.001"}, {10, "0.01"}, {1500, "1.5"}, {2000, "2"}, {1230, "1.23"}, {61001, "61.001"}, {-250, "-0.25"},
    };
    for (const auto& [ms, text] : cases)
        EXPECT_EQ(FormatElapsedSeconds(ms), text) << ms;
}

// The last column ends at the grid's right edge: beside the vertical scroll bar when the rows
// need one, at the frame when they do not, and no horizontal scroll bar either way.
TEST_F(StartUp, theLastListColumnFillsTheGrid)
{
    store::writeLawVolume(dir.path(), lawVolume('E', "消費税法", 1, 40));
    store::writeLawVolume(dir.path(), lawVolume('G', "会社法", 101, 2, 410, "会社法"));
    writeBookVolume('B');
    start(flags({1, 0, 0, 1, 1, 1}, {0, 1, 1}));
    showWindow();
    DataGrid* grid = registry().law[1].DBGrid;
    // Widen the window until the 消費税 grid is 800 pixels wide.
    window().resize(window().width() + 800 - grid->width(), window().height());
    QTest::qWait(0);
    ASSERT_EQ(grid->width(), 800);
    auto rightEdgeOfLastColumn = [](DataGrid* g, int last) {
        return g->columnViewportPosition(last) + g->columnWidth(last);
    };
    ASSERT_TRUE(grid->verticalScrollBar()->isVisible());
    EXPECT_EQ(grid->columnWidth(0), 62);
    EXPECT_EQ(rightEdgeOfLastColumn(grid, 1), grid->viewport()->width());
    EXPECT_EQ(grid->viewport()->width(), grid->verticalScrollBar()->mapTo(grid, QPoint(0, 0)).x() - grid->frameWidth());
    EXPECT_FALSE(grid->horizontalScrollBar()->isVisible());

    // Two rows need no scroll bar: the column reaches the frame.
    window().SetActivePage(window().GenTab);
    QTest::qWait(0);
    DataGrid* shortGrid = registry().law[2].DBGrid;
    ASSERT_FALSE(shortGrid->verticalScrollBar()->isVisible());
    EXPECT_EQ(rightEdgeOfLastColumn(shortGrid, 1), shortGrid->width() - 2 * shortGrid->frameWidth());

    // A search that leaves two rows takes the scroll bar away: the column follows.
    window().SetActivePage(window().SyohiTab);
    registry().tables.law[1].mainTable->SetFilter("Gyo < 3");
    registry().tables.law[1].mainTable->SetFiltered(true);
    QTest::qWait(0);
    ASSERT_FALSE(grid->verticalScrollBar()->isVisible());
    EXPECT_EQ(rightEdgeOfLastColumn(grid, 1), grid->width() - 2 * grid->frameWidth());

    window().SetActivePage(window().HbooksTab);
    QTest::qWait(0);
    DataGrid* bookGrid = registry().book[0].DBGrid;
    EXPECT_EQ(rightEdgeOfLastColumn(bookGrid, 3), bookGrid->viewport()->width());
    EXPECT_EQ(bookGrid->columnWidth(3), bookGrid->viewport()->width() - 126 - 41 - 62);
}

TEST_F(StartUp, everyResizeResetsTheListAndDetailPanelHeights)
{
    writeProductVolumes();
    writeBookVolume('B');
    start(flags({1, 0, 0, 1, 1, 1}, {0, 1, 1}));
    showWindow();
    QWidget* listPanel = registry().law[1].Panel2;
    EXPECT_EQ(listPanel->height(), 172);
    listPanel->setFixedHeight(230);
    registry().book[0].Panel3->setFixedHeight(60);
    window().resize(window().width() + 20, window().height() + 30);
    QTest::qWait(0);
    EXPECT_EQ(listPanel->height(), 172);
    EXPECT_EQ(registry().book[0].Panel3->maximumHeight(), 97);
    window().SetActivePage(window().HbooksTab);
    QTest::qWait(0);
    EXPECT_EQ(registry().book[0].Panel3->height(), 97);
}

TEST_F(StartUp, theOutlineIsLoadedCollapsedWithTheFirstNodeSelected)
{
    store::LawVolumeContent e = lawVolume('E', "消費税法", 1);
    e.outline = {{0, cp932("消費税法")}, {1, cp932("第一章　総則")}, {2, cp932("第１条")}, {2, cp932("第２条")},
                 {0, cp932("消費税法施行令")}, {1, cp932("第１条")}};
    store::writeLawVolume(dir.path(), e);
    store::writeLawVolume(dir.path(), lawVolume('G', "会社法", 101, 3, 410, "会社法"));
    start(store::VolumeFiles::productDefault());
    showWindow();
    OutlineTree* tree = registry().law[1].TreeView;
    EXPECT_EQ(tree->objectName(), "SyohiTreeView");
    ASSERT_EQ(tree->nodeCount(), 6);
    EXPECT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->nodeAt(3)->text(0), "第２条");
    EXPECT_EQ(tree->nodeAt(3)->parent(), tree->nodeAt(1));
    EXPECT_EQ(tree->levelAt(3), 2);
    EXPECT_EQ(tree->selectedPosition(), 0);
    for (int p = 0; p < tree->nodeCount(); ++p)
        EXPECT_FALSE(tree->nodeAt(p)->isExpanded()) << p;
    EXPECT_EQ(tree->width(), 235);
}

TEST_F(StartUp, aMissingOrMalformedOutlineLeavesAnEmptyTree)
{
    writeProductVolumes();
    fs::remove("E6.dl_");
    dir.writeFile("G6.dl_", cp932("会社法\r\n\t\t第１条\r\n"));
    start(store::VolumeFiles::productDefault());
    showWindow();
    EXPECT_EQ(registry().law[1].TreeView->nodeCount(), 0);
    EXPECT_EQ(registry().law[2].TreeView->nodeCount(), 0);
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_FALSE(window().StatusPanelText(1).isEmpty());
}

TEST(Outline, parsesDepthFromLeadingTabsAndBlanks)
{
    struct Case {
        std::string bytes;
        std::optional<std::vector<std::pair<int, std::string>>> nodes;
    };
    const Case cases[] = {
        {"A\r\n\tB\r\n\t\tC\r\nD\r\n", {{{0, "A"}, {1, "B"}, {2, "C"}, {0, "D"}}}},
        {"A\n B\n \tC\r  D\n", {{{0, "A"}, {1, "B"}, {2, "C"}, {2, "D"}}}},
        // Empty lines hold no node; a last line without a line end is still a node.
        {"A\r\n\r\n\tB", {{{0, "A"}, {1, "B"}}}},
        {"", {{}}},
        {"\tA\r\n", std::nullopt},
        {"A\r\n\t\tB\r\n", std::nullopt},
        {"A\r\n\tB\r\n\t\tC\r\n\t\t\t\tD\r\n", std::nullopt},
    };
    for (const Case& c : cases) {
        auto parsed = ParseOutline(c.bytes);
        ASSERT_EQ(parsed.has_value(), c.nodes.has_value()) << c.bytes;
        if (!parsed)
            continue;
        std::vector<std::pair<int, std::string>> got;
        for (const auto& n : *parsed)
            got.emplace_back(n.depth, n.caption);
        EXPECT_EQ(got, *c.nodes) << c.bytes;
    }
}

TEST_F(StartUp, openingTheTablesShowsEachVolumesFirstArticle)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    const LawVolumeEntry& e = registry().law[1];
    EXPECT_EQ(e.RichEdit->plainText(), cp932("第１条　消費税法の本文１\r\n２　前項の規定は適用しない。\r\n"));
    // The first article's link (bytes 4-7) is drawn in the document kept for printing.
    display::ArticleRenderInput input;
    input.honbun = cp932("第１条　消費税法の本文１\r\n２　前項の規定は適用しない。\r\n");
    input.kubunNo = 110;
    for (int sel = 4; sel < 8; ++sel)
        input.links.push_back({sel, 2, 1});
    EXPECT_EQ(e.ArticleRtf, display::RenderArticle(input));
    EXPECT_EQ(registry().law[2].RichEdit->plainText(), cp932("第１条　会社法の本文１\r\n２　前項の規定は適用しない。\r\n"));
}
