// The memo window driven through the real main window offscreen: the size question and its
// three answers, what the window copies, its layout, any number of windows each freed on close,
// and the links of its pane.
#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>

#include "display/DisplayFlowFixture.h"
#include "memo/TMemoWindow.h"

using namespace displaytest;

namespace {

class MemoWindow : public DisplayFlowTest {
protected:
    void SetUp() override
    {
        DisplayFlowTest::SetUp();
        store::writeBookVolume(dir.path(), smallBookVolume());
        start({0, 1, 1});
        registry().LatestMemoWindow = nullptr;
    }
    RichTextView* view() { return law(1).RichEdit; }
    // The memo command answered as given; the window it opened, if any.
    TMemoWindow* memoCommand(Answer answer)
    {
        platform.queueAnswer(answer);
        window().BBtnMemo->click();
        return registry().LatestMemoWindow.data();
    }
};

}  // namespace

TEST_F(MemoWindow, theMemoCommandAsksForTheSizeAndEachAnswerDecidesIt)
{
    struct Case {
        Answer answer;
        bool opens;
        Qt::WindowState state;
    };
    const Case cases[] = {
        {Answer::Yes, true, Qt::WindowMaximized},
        {Answer::No, true, Qt::WindowMinimized},
        {Answer::Cancel, false, Qt::WindowNoState},
    };
    for (const Case& c : cases) {
        registry().LatestMemoWindow = nullptr;
        platform.clearBoxes();
        TMemoWindow* memo = memoCommand(c.answer);
        ASSERT_EQ(platform.boxes().size(), 1u);
        const RecordedBox& box = platform.lastBox();
        EXPECT_EQ(box.kind, BoxKind::Question);
        EXPECT_EQ(box.caption, "MemoWindow States");
        EXPECT_EQ(text::toUtf8(box.text).text, "メモウインドウを画面一杯に大きくしますか。");
        EXPECT_EQ(box.buttons, QuestionButtons::YesNoCancel);
        EXPECT_EQ(box.icon, MessageIcon::Question);
        EXPECT_EQ(memo != nullptr, c.opens);
        if (memo) {
            EXPECT_TRUE(memo->isVisible());
            EXPECT_EQ(memo->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), Qt::WindowStates(c.state));
        }
    }
}

TEST_F(MemoWindow, theMemoCommandCopiesTheArticleShownWithItsColouredWords)
{
    law(1).HighlightWord1 = cp932("本文");
    moveTo(1, 3);
    TMemoWindow* memo = memoCommand(Answer::Yes);
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->VolumeIndex, 1);
    EXPECT_EQ(memo->ArticleGyo, 3);
    EXPECT_EQ(memo->CopiedRtf, law(1).ArticleRtf);
    EXPECT_EQ(memo->MemoRichEdit->plainText(), view()->plainText());
    EXPECT_EQ(runsInColour(memo->MemoRichEdit, QColor(255, 0, 0)), std::vector<QString>{QStringLiteral("本文")});
    EXPECT_EQ(memo->windowTitle(), QStringLiteral("消法 第３条（趣旨）"));
    EXPECT_EQ(memo->MemoRichEdit->caretPosition(), 0);
    EXPECT_TRUE(memo->MemoRichEdit->isVisible());

    // The window keeps its article when the main window moves on.
    moveTo(1, 4);
    EXPECT_EQ(firstLine(memo->MemoRichEdit), firstLineOfArticle(3));
    EXPECT_EQ(memo->ArticleGyo, 3);
}

TEST_F(MemoWindow, theMemoCommandOnABookTabAsksForAnArticle)
{
    window().SetActivePage(window().HbooksTab);
    window().BBtnMemo->click();
    EXPECT_EQ(messages(), std::vector<std::string>{"条文を選択して下さい"});
    EXPECT_TRUE(registry().LatestMemoWindow.isNull());
}

TEST_F(MemoWindow, aWindowOpenedFromALinkHasTheDesignedLayout)
{
    press(view(), "第２条");
    ASSERT_FALSE(registry().LatestMemoWindow.isNull());
    TMemoWindow& memo = *registry().LatestMemoWindow;
    EXPECT_EQ(memo.objectName(), QStringLiteral("MemoWindow"));
    EXPECT_EQ(memo.size(), QSize(622, 290));
    EXPECT_TRUE(memo.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(memo.testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(memo.font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(memo.font().pixelSize(), 12);

    EXPECT_EQ(memo.MemoPanel->height(), 30);
    EXPECT_EQ(memo.MemoPanel->geometry().top(), 0);
    struct Button {
        QToolButton* button;
        const char* name;
        int left;
        const char* hint;
    };
    const Button buttons[] = {
        {memo.HomeMove, "HomeMove", 3, "Sorvaneで同じ条文へ移動"},
        {memo.MemoPrint, "MemoPrint", 37, "印刷の実行"},
        {memo.MemoWord, "MemoWord", 65, "条文をWordへ貼付"},
        {memo.MemoKensaku, "MemoKensaku", 93, "選択文字で検索"},
        {memo.MemoKanren, "MemoKanren", 127, "この条文を参照している条文の検索"},
        {memo.MemoNet, "MemoNet", 155, "ホームページの表示"},
    };
    for (const Button& b : buttons) {
        EXPECT_EQ(b.button->objectName(), QString::fromLatin1(b.name));
        EXPECT_EQ(b.button->geometry(), QRect(b.left, 2, 28, 26)) << b.name;
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint)) << b.name;
        EXPECT_TRUE(b.button->isEnabled()) << b.name;
        EXPECT_FALSE(b.button->icon().isNull()) << b.name;
    }

    RichTextView* pane = memo.MemoRichEdit;
    EXPECT_EQ(pane->geometry(), QRect(0, 30, 622, 260));
    EXPECT_TRUE(pane->isReadOnly());
    EXPECT_EQ(pane->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(pane->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(pane->font().family(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(pane->font().pixelSize(), 16);
    EXPECT_FALSE(pane->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(pane->toolTip(), QStringLiteral("範囲選択後、マウスを右クリックするとコピーできます"));

    struct Item {
        const char* caption;  // empty for a separator
        const char* hint;
        const char* shortcut;
    };
    const Item items[] = {
        {"選択文字検索(&K)", "選択文字で検索", "Ctrl+K"},
        {"", "", ""},
        {"コピー(&C)", "選択範囲のコピー", "Ctrl+C"},
        {"すべて選択(&A)", "本文をすべて選択", "Ctrl+A"},
        {"", "", ""},
        {"印刷(&P)", "印刷の実行", "Ctrl+P"},
        {"ワードへ(&W)", "Wordへ条文を貼付", "Ctrl+W"},
        {"参照条文(&S)", "", "Ctrl+S"},
    };
    const QList<QAction*> actions = memo.MemoPopMenu1->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(items)));
    for (qsizetype i = 0; i < actions.size(); ++i) {
        const Item& item = items[i];
        QAction* a = actions[i];
        if (!*item.caption) {
            EXPECT_TRUE(a->isSeparator()) << i;
            continue;
        }
        EXPECT_EQ(a->text(), QString::fromUtf8(item.caption)) << i;
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(item.hint)) << i;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(item.shortcut))) << i;
        EXPECT_TRUE(a->isEnabled()) << i;
    }
}

TEST_F(MemoWindow, selectAllFromTheMenuSelectsTheWholePane)
{
    TMemoWindow* memo = memoCommand(Answer::Yes);
    ASSERT_NE(memo, nullptr);
    memo->MemoAllSelectAction->trigger();
    EXPECT_EQ(memo->MemoRichEdit->selectionStart(), 0);
    EXPECT_EQ(memo->MemoRichEdit->selectionLength(), memo->MemoRichEdit->textLength());
    EXPECT_GT(memo->MemoRichEdit->textLength(), 0);
}

TEST_F(MemoWindow, anyNumberOfWindowsOpenAndEachIsFreedWhenClosed)
{
    QPointer<TMemoWindow> first = memoCommand(Answer::Yes);
    moveTo(1, 5);
    QPointer<TMemoWindow> second = memoCommand(Answer::No);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.data(), second.data());
    EXPECT_EQ(registry().LatestMemoWindow.data(), second.data());
    EXPECT_EQ(first->ArticleGyo, 1);
    EXPECT_EQ(second->ArticleGyo, 5);

    first->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(firstLine(second->MemoRichEdit), firstLineOfArticle(5));
    second->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(registry().LatestMemoWindow.isNull());

    // The windows still open go with the main window.
    QPointer<TMemoWindow> third = memoCommand(Answer::Yes);
    ASSERT_FALSE(third.isNull());
    window().close();
    program.reset();
    EXPECT_TRUE(third.isNull());
}

TEST_F(MemoWindow, aPlainLeftClickOnALinkInThePaneOpensASecondWindowAndLeavesTheFirst)
{
    TMemoWindow* first = memoCommand(Answer::Yes);
    ASSERT_NE(first, nullptr);
    const std::string firstText = first->MemoRichEdit->plainText();
    platform.clearBoxes();
    press(first->MemoRichEdit, "第２条");

    ASSERT_FALSE(registry().LatestMemoWindow.isNull());
    TMemoWindow* second = registry().LatestMemoWindow.data();
    EXPECT_NE(second, first);
    EXPECT_EQ(second->VolumeIndex, 1);
    EXPECT_EQ(second->ArticleGyo, 2);
    EXPECT_EQ(second->windowState(), Qt::WindowNoState);
    EXPECT_EQ(firstLine(second->MemoRichEdit), firstLineOfArticle(2));
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(first->MemoRichEdit->plainText(), firstText);
    EXPECT_EQ(first->MemoRichEdit->caretPosition(), offsetInLinkArticle("第２条") - 2);
    // The main window has not moved, and its list still drives its display.
    EXPECT_EQ(currentGyo(1), 1);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(1));
    moveTo(1, 6);
    EXPECT_EQ(firstLine(view()), firstLineOfArticle(6));
}

TEST_F(MemoWindow, aCtrlClickOnALinkInAMaximisedPaneMovesTheMainWindowAndMinimisesIt)
{
    TMemoWindow* memo = memoCommand(Answer::Yes);
    ASSERT_NE(memo, nullptr);
    moveTo(1, 9);
    const int head = registry().History.HistoryHead();
    press(memo->MemoRichEdit, "会社法第１条", Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(window().ActivePage(), window().GenTab);
    EXPECT_EQ(currentGyo(2), 101);
    EXPECT_EQ(registry().History.HistoryHead(), head + 1);
    EXPECT_TRUE(memo->windowState().testFlag(Qt::WindowMinimized));
    EXPECT_EQ(registry().LatestMemoWindow.data(), memo);
}

TEST_F(MemoWindow, aRightClickOnALinkInThePaneFollowsNothing)
{
    TMemoWindow* memo = memoCommand(Answer::Yes);
    ASSERT_NE(memo, nullptr);
    QTest::mouseClick(memo->MemoRichEdit->viewport(), Qt::RightButton, Qt::NoModifier,
                      pointOfText(memo->MemoRichEdit, "会社法第１条"));
    EXPECT_EQ(registry().LatestMemoWindow.data(), memo);
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_TRUE(memo->windowState().testFlag(Qt::WindowMaximized));
}

TEST_F(MemoWindow, aLinkToAMissingArticleInThePaneShowsTheMessageAndTheListStillRenders)
{
    TMemoWindow* memo = memoCommand(Answer::Yes);
    ASSERT_NE(memo, nullptr);
    platform.clearBoxes();
    press(memo->MemoRichEdit, "第９９９条");
    EXPECT_EQ(messages(), std::vector<std::string>{"該当の条文はありません"});
    EXPECT_EQ(registry().LatestMemoWindow.data(), memo);
    for (int gyo : {2, 20}) {
        moveTo(1, gyo);
        EXPECT_EQ(firstLine(view()), firstLineOfArticle(gyo));
    }
}

TEST_F(MemoWindow, theHandOverLinkTextOfThePane)
{
    TMemoWindow* memo = memoCommand(Answer::Yes);
    ASSERT_NE(memo, nullptr);
    // The main window's list moves on: the pane's links are its own article's.
    moveTo(1, 7);
    QTest::mouseMove(memo->MemoRichEdit->viewport(), pointOfText(memo->MemoRichEdit, "第２条"));
    EXPECT_EQ(platform.screenCursor(), CursorShape::Hand);
    QTest::mouseMove(memo->MemoRichEdit->viewport(), pointOfText(memo->MemoRichEdit, "この法律"));
    EXPECT_EQ(platform.screenCursor(), CursorShape::Arrow);
}

TEST_F(MemoWindow, homeMoveTakesTheMainWindowToTheWindowsArticle)
{
    moveTo(1, 11);
    TMemoWindow* memo = memoCommand(Answer::Yes);
    ASSERT_NE(memo, nullptr);
    law(1).EditKey1->setText(QStringLiteral("消費"));
    window().SetActivePage(window().GenTab);
    const int head = registry().History.HistoryHead();
    memo->HomeMove->click();
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(currentGyo(1), 11);
    EXPECT_TRUE(law(1).EditKey1->text().isEmpty());
    EXPECT_EQ(registry().History.HistoryHead(), head + 1);
    EXPECT_TRUE(memo->windowState().testFlag(Qt::WindowMinimized));
}

TEST_F(MemoWindow, aPaletteDisplayTakesTheGlyphsFromTheSideFiles)
{
    QImage glyph(24, 24, QImage::Format_RGB32);
    glyph.fill(QColor(255, 0, 0));
    ASSERT_TRUE(glyph.save(QString::fromStdString((dir.path() / "D3.dl_").string()), "BMP"));
    platform.setDisplayColourCount(256);
    TMemoWindow* memo = memoCommand(Answer::Yes);
    ASSERT_NE(memo, nullptr);
    const QImage home = memo->HomeMove->icon().pixmap(24, 24).toImage();
    EXPECT_EQ(home.pixelColor(12, 12), QColor(255, 0, 0));
    // No D4.dl_: the built-in glyph stays.
    const QImage print = memo->MemoPrint->icon().pixmap(24, 24).toImage();
    EXPECT_NE(print.pixelColor(12, 12), QColor(255, 0, 0));
}
