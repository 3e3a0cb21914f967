// The smaller parts of the main window's life: the splash leaving when the main window takes
// over, an open failure shown while the window still opens, the splitters, the wheel.
#include <QLabel>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

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
    EXPECT_EQ(grid->columnWidth(1), grid->width() - 62 - 35);
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
