// The main window's command map driven offscreen: the key-press rules of the condition edits,
// page edits and grids, the law-only commands' message on a book tab, the selection search, select
// all, the hint handler, the web button's menu position and the close command.
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTimer>

#include "ProgramFixture.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/RichTextView.h"
#include "store/Table.h"
#include "text/QtText.h"

using namespace apptest;

namespace {

class Commands : public ProgramTest {
protected:
    // 消費税 and 会社法民法 with the 法人目次 book volume, the window shown on 消費税.
    void SetUp() override
    {
        writeProductVolumes();
        writeBookVolume('B');
        start(flags({1, 0, 0, 1, 1, 1}, {0, 1, 1}));
        showWindow();
        window().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
    }
    LawVolumeEntry& syohi() { return registry().law[1]; }
    BookVolumeEntry& hbooks() { return registry().book[0]; }
    void selectInSyohiView(const char* utf8Text)
    {
        RichTextView* view = syohi().RichEdit;
        const int at = view->findText(cp932(utf8Text), 0, -1);
        ASSERT_GE(at, 0);
        view->select(at, static_cast<int>(cp932(utf8Text).size()));
    }
};

}  // namespace

TEST_F(Commands, enterInAKeyEditMovesTheFocusToSearchAndASecondEnterPressesIt)
{
    QSignalSpy pressed(window().BBtnKensaku, &QAbstractButton::clicked);
    syohi().EditKey1->setFocus();
    QTest::keyClicks(syohi().EditKey1, "abc");
    QTest::keyClick(syohi().EditKey1, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window().BBtnKensaku);
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_EQ(syohi().EditKey1->text(), "abc");
    QTest::keyClick(window().BBtnKensaku, Qt::Key_Return);
    EXPECT_EQ(pressed.count(), 1);

    // Key edit 2 and the range combo follow the same rule; the number edit moves to ジャンプ.
    QTest::keyClick(syohi().EditKey2, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window().BBtnKensaku);
    syohi().ComboBox->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window().BBtnKensaku);
    syohi().EditBangou->setFocus();
    typeText(syohi().EditBangou, QStringLiteral("３５条"));
    QTest::keyClick(syohi().EditBangou, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window().BBtnJump);
    EXPECT_EQ(syohi().EditBangou->text(), QStringLiteral("３５条"));
}

namespace {

// The dark pixels of a button's picture along the row and column three pixels inside its edge,
// where the focus frame runs.
int darkPixelsOnTheFocusFrame(QWidget* button)
{
    const QImage image = button->grab().toImage();
    const int inset = static_cast<int>(3 * image.devicePixelRatio());
    int dark = 0;
    for (int x = inset; x < image.width() - inset; ++x)
        dark += qGray(image.pixel(x, inset)) < 110;
    for (int y = inset; y < image.height() - inset; ++y)
        dark += qGray(image.pixel(inset, y)) < 110;
    return dark;
}

}  // namespace

// Enter in a key edit moves the focus to 検索, and the button shows it has it; the sign goes
// when the focus leaves.
TEST_F(Commands, theSearchButtonShowsTheFocusThatEnterGaveIt)
{
    syohi().EditKey1->setFocus();
    const QImage before = window().BBtnKensaku->grab().toImage();
    EXPECT_EQ(darkPixelsOnTheFocusFrame(window().BBtnKensaku), 0);
    QTest::keyClick(syohi().EditKey1, Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), window().BBtnKensaku);
    EXPECT_NE(window().BBtnKensaku->grab().toImage(), before);
    EXPECT_GT(darkPixelsOnTheFocusFrame(window().BBtnKensaku), 20);
    // The other buttons show no focus.
    EXPECT_EQ(darkPixelsOnTheFocusFrame(window().BBtnJump), 0);

    syohi().EditKey2->setFocus();
    EXPECT_EQ(darkPixelsOnTheFocusFrame(window().BBtnKensaku), 0);
    // The number edit's Enter marks ジャンプ the same way.
    syohi().EditBangou->setFocus();
    QTest::keyClick(syohi().EditBangou, Qt::Key_Return);
    EXPECT_GT(darkPixelsOnTheFocusFrame(window().BBtnJump), 20);
}

TEST_F(Commands, typingAConditionCollapsesTheArticleSelection)
{
    RichTextView* view = syohi().RichEdit;
    for (QWidget* condition : {static_cast<QWidget*>(syohi().EditKey1), static_cast<QWidget*>(syohi().EditKey2)}) {
        view->select(6, 8);
        ASSERT_EQ(view->selectionLength(), 8);
        condition->setFocus();
        QTest::keyClick(condition, Qt::Key_A);
        EXPECT_EQ(view->selectionLength(), 0) << condition->objectName().toStdString();
        EXPECT_EQ(view->caretPosition(), 6);
    }
    // A backwards selection collapses where it begins.
    view->select(14, -8);
    syohi().ComboBox->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_B);
    EXPECT_EQ(view->selectionLength(), 0);
    EXPECT_EQ(view->caretPosition(), 6);
    // The number edit leaves the selection alone.
    view->select(6, 8);
    QTest::keyClick(syohi().EditBangou, Qt::Key_1);
    EXPECT_EQ(view->selectionLength(), 8);
}

TEST_F(Commands, searchTakesTheSelectedTextAsKeyword1)
{
    syohi().EditKey1->setText("x");
    syohi().EditKey2->setText("y");
    syohi().EditBangou->setText(QStringLiteral("３条"));
    selectInSyohiView("消費税");
    window().BBtnKensaku->click();
    EXPECT_EQ(syohi().EditKey1->text(), "消費税");
    EXPECT_EQ(syohi().EditKey2->text(), "");
    EXPECT_EQ(syohi().EditBangou->text(), "");
    EXPECT_EQ(window().CurrentVolume, 1);

    // Without a selection the edits stay as typed.
    syohi().RichEdit->select(0, 0);
    syohi().EditKey2->setText(QStringLiteral("本文"));
    window().BBtnKensaku->click();
    EXPECT_EQ(syohi().EditKey1->text(), "消費税");
    EXPECT_EQ(syohi().EditKey2->text(), QStringLiteral("本文"));
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(Commands, selectionSearchWithoutASelectionSaysWhereToSelect)
{
    syohi().EditKey1->setText("x");
    window().SentakuAction2->trigger();
    EXPECT_EQ(platform.boxTexts(), (std::vector<std::string>{cp932("条文本文でキーワードを選択して下さい。")}));
    EXPECT_EQ(syohi().EditKey1->text(), "x");

    window().SetActivePage(window().HbooksTab);
    window().SentakuAction2->trigger();
    EXPECT_EQ(platform.lastBox().text, cp932("目次ウインドウでキーワードを選択して下さい。"));
    EXPECT_EQ(window().CurrentVolume, 0);

    platform.clearBoxes();
    window().SetActivePage(window().SyohiTab);
    selectInSyohiView("本文");
    window().SentakuAction2->trigger();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(syohi().EditKey1->text(), "本文");
}

TEST_F(Commands, lawOnlyCommandsOnABookTabAskForAnArticle)
{
    window().SetActivePage(window().HbooksTab);
    struct Case {
        const char* what;
        std::function<void()> run;
    };
    TMain& w = window();
    const Case cases[] = {
        {"メ　モ", [&] { w.BBtnMemo->click(); }},
        {"参照条文", [&] { w.BBtnKanrenJyoubun->click(); }},
        {"Wordへ", [&] { w.BBtnWord->click(); }},
        {"メモ (text menu)", [&] { w.MemoAction2->trigger(); }},
        {"メモ (list menu)", [&] { w.MemoAction1->trigger(); }},
        {"参照検索 (text menu)", [&] { w.SansyoAction2->trigger(); }},
        {"参照検索 (list menu)", [&] { w.SansyoAction->trigger(); }},
        {"ワードへ (text menu)", [&] { w.WordAction2->trigger(); }},
        {"ワードへ (list menu)", [&] { w.WordAction1->trigger(); }},
    };
    for (const Case& c : cases) {
        platform.clearBoxes();
        c.run();
        EXPECT_EQ(platform.boxTexts(), (std::vector<std::string>{cp932("条文を選択して下さい")})) << c.what;
        EXPECT_EQ(w.CurrentVolume, -1) << c.what;
    }
    // Commands that serve books too stay silent on a book tab and resolve the book volume.
    platform.clearBoxes();
    w.BBtnPrint->click();
    EXPECT_EQ(w.CurrentVolume, 0);
    hbooks().EditPage->setText(QStringLiteral("12.5"));
    w.BBtnJump->click();
    w.BBtnClear->click();
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(Commands, lawOnlyCommandsOnALawTabResolveItsVolume)
{
    window().SetActivePage(window().GenTab);
    // The memo command asks for the window's size; cancelled, no window opens.
    platform.queueAnswer(Answer::Cancel);
    window().BBtnMemo->click();
    EXPECT_EQ(window().CurrentVolume, 2);
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].caption, "MemoWindow States");
    EXPECT_EQ(platform.boxes()[0].text, text::cp932("メモウインドウを画面一杯に大きくしますか。"));
    platform.clearBoxes();
    // The reference search asks for its scope first; cancelled, it shows nothing more.
    bool dialogShown = false;
    QTimer::singleShot(0, &window(), [&dialogShown] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            dialogShown = true;
            dialog->reject();
        }
    });
    window().BBtnKanrenJyoubun->click();
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(window().CurrentVolume, 2);
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(Commands, thePageEditTakesHalfWidthDigitsAndThePointOnly)
{
    window().SetActivePage(window().HbooksTab);
    QLineEdit* page = hbooks().EditPage;
    EXPECT_EQ(page->objectName(), "HbEditPage");
    page->setFocus();
    QTest::keyClicks(page, "12.5");
    EXPECT_EQ(page->text(), "12.5");
    EXPECT_TRUE(platform.boxes().empty());

    QTest::keyClick(page, Qt::Key_A);
    EXPECT_EQ(page->text(), "12.5");
    EXPECT_EQ(platform.boxTexts(), (std::vector<std::string>{cp932("半角数字と小数点しか入力出来ません")}));

    // A full-width digit is refused; Backspace and Escape pass.
    platform.clearBoxes();
    typeText(page, QStringLiteral("３"));
    EXPECT_EQ(page->text(), "12.5");
    EXPECT_EQ(platform.boxes().size(), 1u);
    platform.clearBoxes();
    QTest::keyClick(page, Qt::Key_Backspace);
    QTest::keyClick(page, Qt::Key_Escape);
    EXPECT_EQ(page->text(), "12.");
    EXPECT_TRUE(platform.boxes().empty());

    QTest::keyClick(page, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window().BBtnJump);
}

TEST_F(Commands, enterOrSpaceInAGridMovesToTheNextRow)
{
    DataGrid* grid = syohi().DBGrid;
    store::Table* mainTable = registry().tables.law[1].mainTable;
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(mainTable->RecNo(), 1);
    QTest::keyClick(grid, Qt::Key_Space);
    EXPECT_EQ(mainTable->RecNo(), 2);
    EXPECT_EQ(grid->currentIndex().row(), 2);
    EXPECT_EQ(syohi().RichEdit->plainText(), cp932("第３条　消費税法の本文３\r\n２　前項の規定は適用しない。\r\n"));
    QTest::keyClick(grid, Qt::Key_Return);
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(mainTable->RecNo(), 3);
    EXPECT_TRUE(mainTable->Eof());

    // The book grid too.
    window().SetActivePage(window().HbooksTab);
    hbooks().DBGrid->setFocus();
    QTest::keyClick(hbooks().DBGrid, Qt::Key_Space);
    EXPECT_EQ(registry().tables.book[0].mainTable->RecNo(), 1);
}

TEST_F(Commands, selectAllSelectsTheWholeArticle)
{
    window().AllSelectAction->trigger();
    RichTextView* view = syohi().RichEdit;
    EXPECT_EQ(view->selectionStart(), 0);
    EXPECT_EQ(view->selectionLength(), view->textLength());
    EXPECT_EQ(view->selectedText(), view->plainText());
}

TEST_F(Commands, theHintOfTheControlUnderTheMouseIsInStatusPanel0)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(window().BBtnKensaku, &enter);
    EXPECT_EQ(window().StatusPanelText(0), "検索実行（選択文字があるときは、選択文字検索）");
    QApplication::sendEvent(syohi().EditBangou, &enter);
    EXPECT_EQ(window().StatusPanelText(0), "入力例　「３５条」　（「第」は付けないで下さい）");
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(syohi().EditBangou, &leave);
    EXPECT_EQ(window().StatusPanelText(0), "");
}

TEST_F(Commands, theListsAndOutlineSetTheArrowCursorBack)
{
    platform.setScreenCursor(CursorShape::Hand);
    QTest::mouseMove(syohi().DBGrid->viewport(), QPoint(20, 10));
    EXPECT_EQ(platform.screenCursor(), CursorShape::Arrow);
    platform.setScreenCursor(CursorShape::Hand);
    QTest::mouseMove(syohi().TreeView->viewport(), QPoint(20, 10));
    EXPECT_EQ(platform.screenCursor(), CursorShape::Arrow);
}

TEST_F(Commands, theWebMenuPopsUpTwoHundredPixelsRightOfTheClickTakenInClientCoordinates)
{
    EXPECT_EQ(window().NetMenuPosition(QPoint(5, 7)), window().centralWidget()->mapToGlobal(QPoint(205, 7)));
}

TEST_F(Commands, rightClickingATextViewOpensTheTextMenu)
{
    RichTextView* view = syohi().RichEdit;
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(10, 10), view->viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(view->viewport(), &menuEvent);
    EXPECT_TRUE(window().EditPopMenu1->isVisible());
    window().EditPopMenu1->close();
}

TEST_F(Commands, theCloseCommandClosesTheWindowAndWritesItsState)
{
    QSignalSpy closed(&window(), &TMain::closed);
    window().CloseAction->trigger();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(std::filesystem::exists("C3.dl_"));
}
