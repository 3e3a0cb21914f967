// The smaller parts of the main window's life: the splash leaving when the main window takes
// over, an open failure shown while the window still opens, the splitters, the wheel.
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QWindow>
#include <QScrollBar>
#include <QWheelEvent>
#include <fstream>

#include "ProgramFixture.h"
#include "app/TSplash.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/PanelSplitter.h"
#include "display/RichTextView.h"
#include "text/Cp932.h"

using namespace apptest;

TEST(Splash, isA380By260PictureThatLeavesWhenAnotherWindowIsActivated)
{
    QPointer<TSplash> splash = new TSplash;
    splash->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(splash));
    EXPECT_EQ(splash->size(), QSize(380, 260));
    EXPECT_EQ(splash->SplashImage1->pixmap().size(), QSize(380, 260));
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);

    QWidget mainWindow;
    mainWindow.resize(200, 100);
    mainWindow.show();
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    mainWindow.setFocus();
    // Closed and freed.
    EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }));
}

// The splash is on the screen with its picture painted before start-up blocks: what the screen
// holds for it, with no event processed after, is the picture, not an empty box.
TEST(Splash, isPaintedOnTheScreenBeforeStartUpBlocks)
{
    QPointer<TSplash> splash = TSplash::showBeforeStartUp(5000);
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->windowHandle()->isExposed());
    const QImage shown = splash->screen()->grabWindow(splash->winId()).toImage();
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), TSplash::picture().toImage().convertToFormat(QImage::Format_RGB32));
    splash->close();
}

using WindowParts = ProgramTest;

TEST_F(WindowParts, anOpenFailureIsShownAndTheWindowStillOpens)
{
    writeProductVolumes();
    std::filesystem::remove("E4.db");
    start(store::VolumeFiles::productDefault());
    showWindow();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.lastBox().kind, BoxKind::Error);
    EXPECT_EQ(platform.lastBox().text, text::cp932("テーブル E4.db が開けません: ファイルがありません"));
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(registry().law[1].DBGrid->model()->rowCount(), 4);
    EXPECT_EQ(registry().law[1].RichEdit->plainText(), "");
}

TEST_F(WindowParts, theListSplitterResizesTheListPanelDownToFiftyPixels)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    auto* splitter = window().findChild<PanelSplitter*>("SyohiSplitter");
    QWidget* listPanel = registry().law[1].Panel2;
    ASSERT_EQ(listPanel->height(), 172);
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(10, 2));
    QTest::mouseMove(splitter, QPoint(10, 42));
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(10, 42));
    QTest::qWait(0);
    EXPECT_EQ(listPanel->height(), 212);
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(10, 2));
    QTest::mouseMove(splitter, QPoint(10, -400));
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(10, -400));
    QTest::qWait(0);
    EXPECT_EQ(listPanel->height(), 50);
}

namespace {

// Drags a splitter by delta pixels (down or right) with the left button, as a mouse would.
void drag(PanelSplitter* splitter, QPoint delta)
{
    const QPoint from(1, 1);
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(splitter, from + delta);
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, from + delta);
    QTest::qWait(0);
}

}  // namespace

// Each splitter stops where the panes beyond it can give no more without the window growing:
// the window keeps its size, the neighbour keeps at least its minimum, a further drag moves
// nothing, and the panel is not snapped back.
TEST_F(WindowParts, aSplitterStopsAtTheNeighboursMinimumAndNeverResizesTheWindow)
{
    writeProductVolumes();
    writeBookVolume('F');
    start(flags({1, 0, 0, 1, 1, 1}, {1, 0, 1}));
    showWindow();
    window().resize(800, 560);
    QTest::qWait(0);
    const QSize windowSize = window().size();
    struct Case {
        const char* splitter;
        QWidget* panel;
        QWidget* neighbour;
        QPoint past;
        bool vertical;
    };
    const Case cases[] = {
        {"SyohiSplitter", registry().law[1].Panel2, window().findChild<QWidget*>("SyohiPanel3"), QPoint(0, 2000), true},
        {"SyohiSplitter2", registry().law[1].TreeView, registry().law[1].DBGrid, QPoint(2000, 0), false},
        {"SbooksSplitter", registry().book[1].Panel3, window().findChild<QWidget*>("SbooksPanel2"), QPoint(0, -2000), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.splitter);
        if (!c.panel->isVisible()) {
            window().SetActivePage(window().SbooksTab);
            QTest::qWait(0);
        }
        auto size = [&c](QWidget* w) { return c.vertical ? w->height() : w->width(); };
        const int before = size(c.panel);
        auto* splitter = window().findChild<PanelSplitter*>(c.splitter);
        drag(splitter, c.past);
        EXPECT_EQ(window().size(), windowSize);
        const int stopped = size(c.panel);
        EXPECT_GT(stopped, before + 40);
        const QSize neighbourMinimum = c.neighbour->minimumSizeHint();
        EXPECT_GE(size(c.neighbour), c.vertical ? neighbourMinimum.height() : neighbourMinimum.width());
        drag(splitter, c.past);
        EXPECT_EQ(size(c.panel), stopped);
        EXPECT_EQ(window().size(), windowSize);
    }
}

TEST_F(WindowParts, aSplitterDraggedInAMaximisedWindowLeavesItMaximised)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    window().showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    QTest::qWait(0);
    const QSize windowSize = window().size();
    drag(window().findChild<PanelSplitter*>("SyohiSplitter"), QPoint(0, 5000));
    EXPECT_EQ(window().size(), windowSize);
    EXPECT_TRUE(window().windowState() & Qt::WindowMaximized);
    EXPECT_GT(registry().law[1].Panel2->height(), 172);
    window().close();
    std::ifstream state("C3.dl_", std::ios::binary);
    std::string firstLine;
    std::getline(state, firstLine);
    EXPECT_EQ(firstLine, "1\r");
}

TEST_F(WindowParts, movingTheTreeSplitterRefitsTheListColumns)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    window().resize(900, 600);
    QTest::qWait(0);
    auto* splitter = window().findChild<PanelSplitter*>("SyohiSplitter2");
    OutlineTree* tree = registry().law[1].TreeView;
    DataGrid* grid = registry().law[1].DBGrid;
    QTest::mousePress(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(1, 10));
    QTest::mouseMove(splitter, QPoint(-99, 10));
    QTest::mouseRelease(splitter, Qt::LeftButton, Qt::NoModifier, QPoint(-99, 10));
    QTest::qWait(0);
    EXPECT_EQ(tree->width(), 135);
    EXPECT_EQ(grid->columnWidth(1), grid->viewport()->width() - 62);
    // Loading the outline again (Home does) puts the tree back to its width.
    window().LoadOutline(1);
    QTest::qWait(0);
    EXPECT_EQ(tree->width(), 235);
}

TEST_F(WindowParts, theWheelStillScrollsTheTextView)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    RichTextView* view = registry().law[1].RichEdit;
    std::string lines;
    for (int i = 0; i < 200; ++i)
        lines += cp932("行") + std::to_string(i) + "\r\n";
    view->loadPlainText(lines);
    QTest::qWait(0);
    ASSERT_EQ(view->verticalScrollBar()->value(), 0);
    const QPoint at(20, 20);
    QWheelEvent wheel(at, view->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_GT(view->verticalScrollBar()->value(), 0);
    EXPECT_EQ(window().CurrentVolume, 1);
}
