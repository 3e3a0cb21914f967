// The article display driven through the real main window offscreen: the list, the outline and
// the text in step, outline clicks, and the links of an article followed with the mouse into a
// memo window, into another volume, into the reference search, to a missing article and to an
// absent volume; the hand cursor over link text.
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>
#include <map>

#include "DisplayFlowFixture.h"
#include "display/ArticleDisplay.h"
#include "display/TextLinks.h"
#include "memo/TMemoWindow.h"
#include "search/ReferenceSearch.h"
#include "search/SearchStatements.h"
#include "search/TSansyo.h"
#include "store/Houjin.h"
#include "store/Query.h"

using namespace displaytest;

namespace {

// Depths of the test volume's outline in node order: the law, then three chapters of twelve.
std::vector<int> fixtureOutlineLevels()
{
    std::vector<int> levels{0};
    for (int c = 0; c < 3; ++c) {
        levels.push_back(1);
        levels.insert(levels.end(), 12, 2);
    }
    return levels;
}

}  // namespace

TEST(OutlineTopNode, keepsUpToEightNodesOfTheSameOrAShallowerLevelAbove)
{
    const std::vector<int> outline = fixtureOutlineLevels();
    // Deeper outlines: nodes deeper than the level counted are passed without counting.
    const std::vector<int> deep{0, 1, 2, 2, 2, 3, 4, 4, 3, 2};
    const std::vector<int> wide{0, 1, 1, 1, 1, 1, 1, 1, 1, 2, 3, 3, 2};
    struct Case {
        const std::vector<int>* levels;
        int id;
        int top;
    };
    const Case cases[] = {
        {&outline, 0, 0},    // the first node
        {&outline, 1, 0},    // a chapter right below the law
        {&outline, 6, 0},    // four articles, the chapter, then the law: the walk ends at the top
        {&outline, 21, 1},   // six articles, chapter 2, chapter 1 (the articles of chapter 1 passed)
        {&outline, 26, 18},  // eight articles of its own chapter
        {&outline, 39, 31},  // the last node
        {&outline, 27, 0},   // a chapter: the chapters before it and the law, articles passed
        {&deep, 9, 0},
        {&deep, 8, 0},
        {&wide, 12, 2},      // 11 and 10 passed, 9 counted, then seven chapters at the lower level
        {&wide, 11, 3},      // 10 counted, 9 and 8 lower the level, the walk counts on up to eight
    };
    for (const Case& c : cases) {
        const std::vector<int>& levels = *c.levels;
        EXPECT_EQ(display::outlineTopNode(c.id, [&levels](int p) { return levels.at(static_cast<std::size_t>(p)); }), c.top)
            << "node " << c.id;
    }
}

TEST(LinkPressKind, onlyTheExactLeftOrRightButtonWithoutModifiersIsSpecial)
{
    using display::LinkPress;
    struct Case {
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
        bool doubleClick;
        LinkPress expected;
    };
    const Case cases[] = {
        {Qt::LeftButton, Qt::NoModifier, false, LinkPress::MemoWindow},
        {Qt::RightButton, Qt::NoModifier, false, LinkPress::ContextMenu},
        {Qt::LeftButton, Qt::ControlModifier, false, LinkPress::MainWindow},
        {Qt::LeftButton, Qt::ShiftModifier, false, LinkPress::MainWindow},
        {Qt::LeftButton, Qt::AltModifier, false, LinkPress::MainWindow},
        {Qt::LeftButton, Qt::NoModifier, true, LinkPress::MainWindow},
        {Qt::MiddleButton, Qt::NoModifier, false, LinkPress::MainWindow},
        {Qt::RightButton, Qt::ControlModifier, false, LinkPress::MainWindow},
        {Qt::LeftButton | Qt::RightButton, Qt::NoModifier, false, LinkPress::MainWindow},
        // The keypad flag is no key of the shift state.
        {Qt::LeftButton, Qt::KeypadModifier, false, LinkPress::MemoWindow},
    };
    for (const Case& c : cases)
        EXPECT_EQ(display::classifyLinkPress(c.buttons, c.modifiers, c.doubleClick), c.expected)
            << c.buttons.toInt() << " " << c.modifiers.toInt() << " " << c.doubleClick;
}

namespace {

class ArticleDisplayFlow : public DisplayFlowTest {
protected:
    void SetUp() override
    {
        DisplayFlowTest::SetUp();
        start();
    }
    OutlineTree* tree() { return law(1).TreeView; }
    RichTextView* view() { return law(1).RichEdit; }
    // A click on an outline node, scrolled into view first as the user would scroll.
    void clickNode(int position)
    {
        QTreeWidgetItem* item = tree()->nodeAt(position);
        ASSERT_NE(item, nullptr);
        tree()->scrollToItem(item);
        QTest::mouseClick(tree()->viewport(), Qt::LeftButton, Qt::NoModifier, tree()->visualItemRect(item).center());
    }
    int topNode() { return tree()->positionOf(tree()->itemAt(QPoint(2, 2))); }
    void pressDown() { QTest::keyClick(law(1).DBGrid, Qt::Key_Down); }
};

}  // namespace

TEST_F(ArticleDisplayFlow, movingThroughTheListRendersEachArticleAndSelectsItsNode)
{
    // A short outline, so that it can always scroll the chosen top node to its top.
    law(1).Panel2->setFixedHeight(100);
    QApplication::processEvents();
    ASSERT_EQ(currentGyo(1), 1);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(1));
    law(1).DBGrid->setFocus();
    int expectedNode = outlineNodeOf(1);
    for (int gyo = 2; gyo <= 30; ++gyo) {
        pressDown();
        ASSERT_EQ(currentGyo(1), gyo);
        EXPECT_EQ(firstLine(view()), firstLineOfArticle(gyo)) << gyo;
        // 25 names a node the outline does not have and 26 has no node: the selection stays.
        if (gyo != 25 && gyo != 26)
            expectedNode = outlineNodeOf(gyo);
        EXPECT_EQ(tree()->selectedPosition(), expectedNode) << gyo;
        // Node 6: the walk up reaches the law. Node 21: six articles, chapter 2 and chapter 1.
        // Node 22: seven articles and chapter 2. Node 26: eight articles of its own chapter.
        const std::map<int, int> topNodeAt{{5, 0}, {19, 1}, {20, 14}, {24, 18}};
        if (auto it = topNodeAt.find(gyo); it != topNodeAt.end()) {
            EXPECT_EQ(topNode(), it->second) << gyo;
        }
    }
    EXPECT_EQ(law(1).TreeSyncBusy, 0);
}

TEST_F(ArticleDisplayFlow, anArticleWhoseOutlinePositionIsMissingStillRenders)
{
    moveTo(1, 7);
    ASSERT_EQ(tree()->selectedPosition(), outlineNodeOf(7));
    moveTo(1, 25);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(25));
    EXPECT_EQ(tree()->selectedPosition(), outlineNodeOf(7));
    EXPECT_EQ(law(1).TreeSyncBusy, 0);
}

TEST_F(ArticleDisplayFlow, outlineClickOnTheLastArticleShowsItAsTheListsCurrentRow)
{
    clickNode(outlineNodeOf(kLastGyo));
    EXPECT_EQ(currentGyo(1), kLastGyo);
    EXPECT_EQ(lawMain(1).RecNo(), lawMain(1).RecordCount() - 1);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(kLastGyo));
    EXPECT_EQ(law(1).DBGrid->currentIndex().row(), lawMain(1).RecordCount() - 1);
    EXPECT_EQ(tree()->selectedPosition(), outlineNodeOf(kLastGyo));
    EXPECT_EQ(law(1).TreeSyncBusy, 0);
}

TEST_F(ArticleDisplayFlow, outlineClickInTheMiddleBringsTheRowsBelowTheArticleIntoView)
{
    clickNode(outlineNodeOf(15));
    ASSERT_EQ(currentGyo(1), 15);
    DataGrid* grid = law(1).DBGrid;
    const int row = lawMain(1).RecNo();
    const int lastVisible = grid->rowAt(grid->viewport()->height() - 2);
    const int firstVisible = grid->rowAt(1);
    ASSERT_GE(lastVisible, 0);
    EXPECT_LE(firstVisible, row);
    // Six rows below the article, or as many as the grid's height leaves under it.
    EXPECT_GE(lastVisible, std::min(row + display::kListRowsBelow, firstVisible + (lastVisible - firstVisible)));
    EXPECT_GT(lastVisible, row);
}

TEST_F(ArticleDisplayFlow, outlineClickOnAHeadingOpensTheArticleOfTheNodeAfterIt)
{
    clickNode(kChapter2Node);
    EXPECT_EQ(currentGyo(1), 13);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(13));
    // The heading stays selected: the outline does not follow the list it moved.
    EXPECT_EQ(tree()->selectedPosition(), kChapter2Node);
}

TEST_F(ArticleDisplayFlow, outlineClickOnTheArticleShownChangesNothingAndRecordsNothing)
{
    // After a recorded view, the next outline click that moves records one entry.
    window().MainPageControl->setCurrentWidget(window().GenTab);
    window().MainPageControl->setCurrentWidget(window().SyohiTab);
    moveTo(1, 4);
    const int head = registry().History.HistoryHead();
    view()->setCaretPosition(6);
    clickNode(outlineNodeOf(4));
    EXPECT_EQ(registry().History.HistoryHead(), head);
    EXPECT_EQ(view()->caretPosition(), 6);
    clickNode(outlineNodeOf(9));
    EXPECT_EQ(currentGyo(1), 9);
    EXPECT_EQ(registry().History.HistoryHead(), head + 1);
    window().BBtnBack->click();
    EXPECT_EQ(currentGyo(1), 4);
}

TEST_F(ArticleDisplayFlow, outlineClickDuringASearchResultDropsTheResultAndKeepsTheWords)
{
    store::Query& result = *registry().tables.lawQueryPool[0];
    store::pointLawQueryLookups(result, &lawMain(1));
    result.SetSQL(search::BuildKeywordStatement(1, "E2.db", cp932("本文３"), "", cp932("全範囲")).lines);
    result.Open();
    ASSERT_EQ(result.RecordCount(), 10);  // 3 and 30 to 38
    law(1).HighlightWord1 = cp932("本文");
    law(1).ComboBox->setCurrentIndex(3);
    registry().tables.law[1].mainSource->setDataSet(&result);
    ASSERT_EQ(currentGyo(1), 3);
    ASSERT_EQ(runsInColour(view(), QColor(255, 0, 0)), std::vector<QString>{QStringLiteral("本文")});

    clickNode(outlineNodeOf(20));
    EXPECT_EQ(lawShown(1), &lawMain(1));
    EXPECT_EQ(lawMain(1).RecordCount(), kLastGyo);
    EXPECT_EQ(currentGyo(1), 20);
    EXPECT_EQ(law(1).ComboBox->currentIndex(), 0);
    EXPECT_EQ(law(1).HighlightWord1, cp932("本文"));
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(20));
    EXPECT_EQ(runsInColour(view(), QColor(255, 0, 0)), std::vector<QString>{QStringLiteral("本文")});
    EXPECT_EQ(law(1).DBGrid->model()->rowCount(), kLastGyo);
}

TEST_F(ArticleDisplayFlow, plainLeftClickOnALinkOpensAMemoWindowWithTheTarget)
{
    law(1).HighlightWord1 = cp932("前項");  // the memo window of a link shows no coloured word
    registry().LatestMemoWindow = nullptr;
    press(view(), "第２条");

    ASSERT_FALSE(registry().LatestMemoWindow.isNull());
    TMemoWindow& memo = *registry().LatestMemoWindow;
    EXPECT_EQ(memo.VolumeIndex, 1);
    EXPECT_EQ(memo.ArticleGyo, 2);
    EXPECT_EQ(firstLine(memo.MemoRichEdit), firstLineOfArticle(2));
    EXPECT_TRUE(runsInColour(memo.MemoRichEdit, QColor(255, 0, 0)).empty());
    EXPECT_EQ(memo.windowState(), Qt::WindowNoState);
    EXPECT_TRUE(memo.isVisible());
    EXPECT_EQ(memo.windowTitle(), QStringLiteral("消法 第２条（趣旨）"));
    EXPECT_TRUE(platform.boxes().empty());

    // The main window stays on the article, its caret before the character ahead of the link.
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(currentGyo(1), 1);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(1));
    EXPECT_EQ(view()->caretPosition(), offsetInLinkArticle("第２条") - 2);
    EXPECT_EQ(registry().LinkToMemoMode, 0);
    EXPECT_EQ(registry().RenderSuspended, 0);

    // The sub table follows the list again.
    EXPECT_EQ(lawSub(1).MasterSource(), registry().tables.law[1].mainSource);
    law(1).DBGrid->setFocus();
    QTest::keyClick(law(1).DBGrid, Qt::Key_Down);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(2));
    EXPECT_EQ(tree()->selectedPosition(), outlineNodeOf(2));
}

TEST_F(ArticleDisplayFlow, aLinkIntoAnotherVolumeOpensItsArticleInTheMemoWindow)
{
    registry().LatestMemoWindow = nullptr;
    const std::string genShown = law(2).RichEdit->plainText();
    press(view(), "会社法第１条");
    ASSERT_FALSE(registry().LatestMemoWindow.isNull());
    EXPECT_EQ(registry().LatestMemoWindow->VolumeIndex, 2);
    EXPECT_EQ(registry().LatestMemoWindow->ArticleGyo, 101);
    EXPECT_EQ(firstLine(registry().LatestMemoWindow->MemoRichEdit), "第１条　会社の設立の通則");
    EXPECT_EQ(registry().LatestMemoWindow->windowTitle(), QStringLiteral("会社法 第１条（通則）"));
    // 会社法民法's own view and list are as they were.
    EXPECT_EQ(law(2).RichEdit->plainText(), genShown);
    EXPECT_EQ(lawSub(2).MasterSource(), registry().tables.law[2].mainSource);
    moveTo(2, 102);
    EXPECT_EQ(firstLine(law(2).RichEdit), "第２条　会社の定義");
}

TEST_F(ArticleDisplayFlow, ctrlLeftClickOnALinkMovesTheMainWindowAndRecordsTheArticleLeft)
{
    registry().LatestMemoWindow = nullptr;
    law(2).EditKey1->setText(QStringLiteral("株式"));
    law(2).HighlightWord1 = cp932("会社");
    const int head = registry().History.HistoryHead();
    press(view(), "会社法第１条", Qt::LeftButton, Qt::ControlModifier);

    EXPECT_TRUE(registry().LatestMemoWindow.isNull());
    EXPECT_EQ(window().ActivePage(), window().GenTab);
    EXPECT_EQ(currentGyo(2), 101);
    EXPECT_EQ(firstLine(law(2).RichEdit), "第１条　会社の設立の通則");
    EXPECT_TRUE(law(2).EditKey1->text().isEmpty());
    EXPECT_TRUE(law(2).HighlightWord1.empty());
    EXPECT_TRUE(runsInColour(law(2).RichEdit, QColor(255, 0, 0)).empty());
    EXPECT_EQ(registry().History.HistoryHead(), head + 1);
    EXPECT_TRUE(platform.boxes().empty());

    window().BBtnBack->click();
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(currentGyo(1), 1);
}

TEST_F(ArticleDisplayFlow, aDoubleClickOrShiftClickOnALinkMovesTheMainWindowToo)
{
    press(view(), "会社法第１条", Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(window().ActivePage(), window().GenTab);
    window().SetActivePage(window().SyohiTab);

    // A double click: press, release, the double-click press, release.
    registry().LatestMemoWindow = nullptr;
    const QPoint link = pointOfText(view(), "第２条");
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, link);
    QTest::mouseDClick(view()->viewport(), Qt::LeftButton, Qt::NoModifier, link);
    QTest::mouseRelease(view()->viewport(), Qt::LeftButton, Qt::NoModifier, link);
    // The first press opens the memo window, the double-click press moves the list.
    EXPECT_FALSE(registry().LatestMemoWindow.isNull());
    EXPECT_EQ(currentGyo(1), 2);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(2));
}

TEST_F(ArticleDisplayFlow, rightClickOnALinkOnlyOpensTheContextMenu)
{
    registry().LatestMemoWindow = nullptr;
    const int head = registry().History.HistoryHead();
    const QPoint link = pointOfText(view(), "会社法第１条");
    QTest::mousePress(view()->viewport(), Qt::RightButton, Qt::NoModifier, link);
    // The window system follows a right press with the context-menu request.
    QContextMenuEvent request(QContextMenuEvent::Mouse, link, view()->viewport()->mapToGlobal(link));
    QApplication::sendEvent(view()->viewport(), &request);
    QTest::mouseRelease(view()->viewport(), Qt::RightButton, Qt::NoModifier, link);

    EXPECT_TRUE(window().EditPopMenu1->isVisible());
    window().EditPopMenu1->hide();
    EXPECT_TRUE(registry().LatestMemoWindow.isNull());
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(currentGyo(1), 1);
    EXPECT_EQ(registry().History.HistoryHead(), head);
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(ArticleDisplayFlow, aLinkToTheReferenceSearchOpensItsDialogPresetToCabinetOrders)
{
    struct Seen {
        bool shown = false;
        bool cabinetOrders = false;
        bool groupEnabled = true;
    } seen;
    std::function<void(int)> watch = [&](int triesLeft) {
        QTimer::singleShot(5, &window(), [&, triesLeft] {
            auto* dialog = qobject_cast<TSansyo*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible()) {
                if (triesLeft > 0)
                    watch(triesLeft - 1);
                return;
            }
            seen.shown = true;
            seen.cabinetOrders = dialog->SansyoRadioButtonSeirei->isChecked();
            seen.groupEnabled = dialog->SansyoGroupBox1->isEnabled();
            dialog->reject();
        });
    };
    watch(400);
    registry().LatestMemoWindow = nullptr;
    press(view(), "政令");
    EXPECT_TRUE(seen.shown);
    EXPECT_TRUE(seen.cabinetOrders);
    EXPECT_FALSE(seen.groupEnabled);
    EXPECT_EQ(registry().Sansyo.PresetScope, -1);
    EXPECT_TRUE(registry().LatestMemoWindow.isNull());
    EXPECT_EQ(registry().LinkToMemoMode, 0);
    EXPECT_EQ(lawShown(1), &lawMain(1));
    EXPECT_EQ(lawSub(1).MasterSource(), registry().tables.law[1].mainSource);
}

TEST_F(ArticleDisplayFlow, aLinkToAMissingArticleShowsTheMessageAndTheListStillRenders)
{
    registry().LatestMemoWindow = nullptr;
    press(view(), "第９９９条");
    EXPECT_EQ(messages(), std::vector<std::string>{"該当の条文はありません"});
    EXPECT_TRUE(registry().LatestMemoWindow.isNull());
    EXPECT_EQ(lawSub(1).MasterSource(), registry().tables.law[1].mainSource);
    EXPECT_EQ(registry().LinkToMemoMode, 0);
    EXPECT_EQ(registry().RenderSuspended, 0);
    for (int gyo : {2, 3, 14}) {
        moveTo(1, gyo);
        EXPECT_EQ(firstLine(view()), firstLineOfArticle(gyo));
        EXPECT_EQ(tree()->selectedPosition(), outlineNodeOf(gyo));
    }

    // Moving the main window there: the whole list from its first article.
    moveTo(1, 1);
    platform.clearBoxes();
    press(view(), "第９９９条", Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(messages(), std::vector<std::string>{"該当の条文はありません"});
    EXPECT_EQ(lawShown(1), &lawMain(1));
    EXPECT_EQ(lawMain(1).RecNo(), 0);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(1));
}

TEST_F(ArticleDisplayFlow, aLinkIntoAnAbsentVolumeDoesNothing)
{
    registry().LatestMemoWindow = nullptr;
    const int head = registry().History.HistoryHead();
    for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        press(view(), "法人税法第１条", Qt::LeftButton, modifiers);
        EXPECT_TRUE(registry().LatestMemoWindow.isNull());
        EXPECT_EQ(window().ActivePage(), window().SyohiTab);
        EXPECT_EQ(currentGyo(1), 1);
        EXPECT_EQ(registry().History.HistoryHead(), head);
        EXPECT_TRUE(platform.boxes().empty());
    }
}

TEST_F(ArticleDisplayFlow, aPressBesideTheLinksFollowsNothing)
{
    registry().LatestMemoWindow = nullptr;
    for (const char* words : {"この法律", "を準用する"}) {
        press(view(), words);
        press(view(), words, Qt::LeftButton, Qt::ControlModifier);
    }
    EXPECT_TRUE(registry().LatestMemoWindow.isNull());
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(currentGyo(1), 1);
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(ArticleDisplayFlow, theCursorIsAHandOverLinkTextAndTheArrowElsewhere)
{
    QTest::mouseMove(view()->viewport(), pointOfText(view(), "第２条"));
    EXPECT_EQ(platform.screenCursor(), CursorShape::Hand);
    QTest::mouseMove(view()->viewport(), pointOfText(view(), "この法律"));
    EXPECT_EQ(platform.screenCursor(), CursorShape::Arrow);
    QTest::mouseMove(view()->viewport(), pointOfText(view(), "会社法第１条"));
    EXPECT_EQ(platform.screenCursor(), CursorShape::Hand);
    // Onto the list, the outline or a strip: the default cursor again.
    for (QWidget* area : {static_cast<QWidget*>(law(1).DBGrid->viewport()), static_cast<QWidget*>(tree()->viewport())}) {
        QTest::mouseMove(view()->viewport(), pointOfText(view(), "第２条"));
        ASSERT_EQ(platform.screenCursor(), CursorShape::Hand);
        QTest::mouseMove(area, QPoint(10, 10));
        EXPECT_EQ(platform.screenCursor(), CursorShape::Arrow) << area->objectName().toStdString();
    }
}
