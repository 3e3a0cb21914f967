// The reference search through the real main window and its real modal dialog: the dialog's
// states for each code and preset, its buttons, the statement, the listed and coloured
// referring articles, and the runs that end early.
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "SearchWindowFixture.h"
#include "display/RichTextView.h"
#include "memo/TMemoWindow.h"
#include "search/ReferenceSearch.h"

using namespace searchtest;

namespace {

const QColor kRed(255, 0, 0);
const QColor kMagenta(255, 0, 255);

class ReferenceSearchWindow : public SearchWindow {
protected:
    // 法人税, 消費税 and 会社法民法, with 法人目次; the window on 消費税.
    void SetUp() override
    {
        startOn(flags({0, 0, 0, 1, 1, 1}, {0, 1, 1}));
        registry().Sansyo.PresetScope = 0;
        userSelectsTab(law(1).TabSheet);
    }

    // What the dialog showed when it came up.
    struct Seen {
        bool shown = false;
        QString caption;
        bool groupEnabled = false;
        std::array<bool, 4> enabled{};
        int selected = -1;
        bool okHasFocus = false;
    };
    Seen seen;

    // Answers the dialog: scope (0 政令 … 3 全範囲, or -1 to keep what it offers), the two option
    // groups, then 検　索 (or キャンセル).
    void answer(int scope, int currentArticle = 1, int memoSize = 0, bool ok = true)
    {
        answerSansyo(&window(), [this, scope, currentArticle, memoSize, ok](TSansyo& d) {
            seen.shown = true;
            seen.caption = d.windowTitle();
            seen.groupEnabled = d.SansyoGroupBox1->isEnabled();
            QRadioButton* buttons[] = {d.SansyoRadioButtonSeirei, d.SansyoRadioButtonKisoku, d.SansyoRadioButtonKai,
                                       d.SansyoRadioButtonAll};
            for (int i = 0; i < 4; ++i) {
                seen.enabled[static_cast<std::size_t>(i)] = buttons[i]->isEnabled();
                if (buttons[i]->isChecked())
                    seen.selected = i;
            }
            seen.okHasFocus = d.focusWidget() == d.SansyoOkButton;
            if (scope >= 0)
                buttons[scope]->setChecked(true);
            d.SansyoRadioGroup2->setItemIndex(currentArticle);
            d.SansyoRadioGroup3->setItemIndex(memoSize);
            (ok ? d.SansyoOkButton : d.SansyoCancelButton)->click();
        });
    }
};

}  // namespace

TEST_F(ReferenceSearchWindow, dialogLayoutAndDefaults)
{
    registry().Sansyo.PresetScope = 0;
    registry().Sansyo.ReferredCode = 110;
    TSansyo dialog(platform, registry().Sansyo, &window());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("参照条文検索"));
    EXPECT_GE(dialog.width(), 312);
    EXPECT_GE(dialog.height(), 232);
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("政令（施行令）や財務省令（施行規則）で定める条文の表示"));
    EXPECT_EQ(dialog.SansyoGroupBox1->title(), QStringLiteral("検索範囲"));
    EXPECT_EQ(dialog.SansyoRadioButtonSeirei->text(), QStringLiteral("政令"));
    EXPECT_EQ(dialog.SansyoRadioButtonKisoku->text(), QStringLiteral("省令"));
    EXPECT_EQ(dialog.SansyoRadioButtonKai->text(), QStringLiteral("下位"));
    EXPECT_EQ(dialog.SansyoRadioButtonAll->text(), QStringLiteral("全範囲"));
    EXPECT_EQ(dialog.SansyoRadioGroup2->title(), QStringLiteral("現在の条文"));
    EXPECT_EQ(dialog.SansyoRadioGroup2->item(0)->text(), QStringLiteral("メモウインドウへ貼付"));
    EXPECT_EQ(dialog.SansyoRadioGroup2->item(1)->text(), QStringLiteral("何もしない"));
    EXPECT_EQ(dialog.SansyoRadioGroup2->itemIndex(), 0);
    EXPECT_EQ(dialog.SansyoRadioGroup3->title(), QStringLiteral("メモウインドウの大きさ"));
    EXPECT_EQ(dialog.SansyoRadioGroup3->item(0)->text(), QStringLiteral("最小サイズ"));
    EXPECT_EQ(dialog.SansyoRadioGroup3->item(1)->text(), QStringLiteral("通常サイズ"));
    EXPECT_EQ(dialog.SansyoRadioGroup3->itemIndex(), 0);
    EXPECT_EQ(dialog.SansyoOkButton->text(), QStringLiteral("検　索"));
    EXPECT_EQ(dialog.SansyoCancelButton->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(dialog.SansyoHelpButton->text(), QStringLiteral("ヘルプ"));
    EXPECT_TRUE(dialog.SansyoRadioButtonKai->isChecked());
}

// The explanation shows whole, up to its last word "表示", in the desktop's face and in a
// larger one: the dialog widens with the line rather than cutting it.
TEST_F(ReferenceSearchWindow, theExplanationShowsWholeInAnyFace)
{
    const QFont before = QApplication::font();
    for (int pixels : {0, 16, 18}) {
        if (pixels) {
            QFont larger = before;
            larger.setPixelSize(pixels);
            QApplication::setFont(larger);
        }
        // Without a parent the dialog takes the application's face.
        TSansyo dialog(platform, registry().Sansyo, pixels ? nullptr : &window());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        const QLabel* label = dialog.Label1;
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_LE(needed, label->contentsRect().width()) << pixels;
        EXPECT_LE(label->geometry().right(), dialog.rect().right()) << pixels;
        EXPECT_LE(dialog.SansyoGroupBox1->geometry().right(), dialog.rect().right()) << pixels;
        EXPECT_LE(label->geometry().bottom(), dialog.SansyoGroupBox1->geometry().top()) << pixels;
        // The buttons stay in the dialog and apart.
        EXPECT_TRUE(dialog.rect().contains(dialog.SansyoHelpButton->geometry())) << pixels;
        dialog.close();
    }
    QApplication::setFont(before);
}

TEST_F(ReferenceSearchWindow, dialogStateForEachCodeAndPreset)
{
    struct Case {
        int presetScope;
        int referredCode;
        bool groupEnabled;
        bool seireiEnabled, kisokuEnabled;
        int selected;
    };
    const Case cases[] = {
        {0, 40, true, false, false, 3},  {0, 10, true, true, true, 2},   {0, 410, true, true, true, 2},
        {0, 860, true, true, true, 2},   {0, 20, true, false, true, 2},  {0, 70, true, false, true, 2},
        {0, 440, true, false, true, 3},  {-1, 40, false, false, false, 0}, {-2, 10, false, false, false, 1},
        {-2, 140, false, false, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.presetScope) + " " + std::to_string(c.referredCode));
        registry().Sansyo.PresetScope = c.presetScope;
        registry().Sansyo.ReferredCode = c.referredCode;
        TSansyo dialog(platform, registry().Sansyo, &window());
        EXPECT_EQ(dialog.SansyoGroupBox1->isEnabled(), c.groupEnabled);
        EXPECT_EQ(dialog.SansyoRadioButtonSeirei->isEnabled(), c.seireiEnabled);
        EXPECT_EQ(dialog.SansyoRadioButtonKisoku->isEnabled(), c.kisokuEnabled);
        // A fixed scope leaves no button to choose.
        EXPECT_EQ(dialog.SansyoRadioButtonKai->isEnabled(), c.groupEnabled);
        EXPECT_EQ(dialog.SansyoRadioButtonAll->isEnabled(), c.groupEnabled);
        QRadioButton* buttons[] = {dialog.SansyoRadioButtonSeirei, dialog.SansyoRadioButtonKisoku,
                                   dialog.SansyoRadioButtonKai, dialog.SansyoRadioButtonAll};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(buttons[i]->isChecked(), i == c.selected) << i;
    }
}

TEST_F(ReferenceSearchWindow, dialogButtonsSetTheOutputsOrLeaveThemCancelled)
{
    struct Case {
        QRadioButton* TSansyo::*scope;
        int expectedScope;
    };
    const Case cases[] = {{&TSansyo::SansyoRadioButtonSeirei, 0}, {&TSansyo::SansyoRadioButtonKisoku, 1},
                          {&TSansyo::SansyoRadioButtonKai, 2}, {&TSansyo::SansyoRadioButtonAll, 3}};
    registry().Sansyo.PresetScope = 0;
    registry().Sansyo.ReferredCode = 10;
    for (const Case& c : cases) {
        registry().Sansyo.SearchScope = registry().Sansyo.CurrentArticleOption = registry().Sansyo.MemoSizeOption = -1;
        TSansyo dialog(platform, registry().Sansyo, &window());
        (dialog.*c.scope)->setChecked(true);
        dialog.SansyoRadioGroup2->setItemIndex(1);
        dialog.SansyoRadioGroup3->setItemIndex(1);
        dialog.SansyoOkButton->click();
        EXPECT_EQ(registry().Sansyo.SearchScope, c.expectedScope);
        EXPECT_EQ(registry().Sansyo.CurrentArticleOption, 1);
        EXPECT_EQ(registry().Sansyo.MemoSizeOption, 1);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    registry().Sansyo.SearchScope = registry().Sansyo.CurrentArticleOption = registry().Sansyo.MemoSizeOption = -1;
    TSansyo dialog(platform, registry().Sansyo, &window());
    dialog.SansyoCancelButton->click();
    EXPECT_EQ(registry().Sansyo.SearchScope, -1);
    EXPECT_EQ(registry().Sansyo.CurrentArticleOption, -1);
    EXPECT_EQ(registry().Sansyo.MemoSizeOption, -1);
}

TEST_F(ReferenceSearchWindow, helpOpensItsPageAndTheDialogStaysOpen)
{
    moveTo(1, 1234);
    bool stillOpen = false;
    answerSansyo(&window(), [&stillOpen](TSansyo& d) {
        d.SansyoHelpButton->click();
        stillOpen = d.isVisible();
        d.SansyoCancelButton->click();
    });
    window().BBtnKanrenJyoubun->click();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(platform.shellTargets(), std::vector<std::string>{"jyokan1.html"});
}

TEST_F(ReferenceSearchWindow, ordersReferringToAnActArticleAreListedWithItsNumberAndThePhraseColoured)
{
    // A narrowed list: the search puts the range back on 全範囲 without applying it.
    userSelectsRange(law(1).ComboBox, "消法");
    moveTo(1, 1234);
    platform.setStepPerRead(250);
    answer(0);
    window().BBtnKanrenJyoubun->click();

    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, QStringLiteral("参照条文検索"));
    EXPECT_TRUE(seen.okHasFocus);
    EXPECT_EQ(seen.selected, 2);
    EXPECT_EQ(lastLawStatement(), (std::vector<std::string>{"SELECT DISTINCT Gyo,KubunNo ", "FROM E3.db ",
                                                            "WHERE ( MainGyo = 1234 ) ", "AND ( KubunNo = 120 ) "}));
    std::vector<std::int64_t> listed = listedGyo(1);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::int64_t>{2000, 2001}));
    EXPECT_EQ(law(1).HighlightWord1, cp932("第３０条"));
    EXPECT_EQ(law(1).HighlightWord2, cp932("政令で定める"));
    EXPECT_EQ(runsInColour(law(1).RichEdit, kRed), std::vector<QString>{QStringLiteral("第３０条")});
    EXPECT_EQ(runsInColour(law(1).RichEdit, kMagenta), std::vector<QString>{QStringLiteral("政令で定める")});
    EXPECT_EQ(law(1).EditKey1->text(), QStringLiteral("第３０条"));
    EXPECT_EQ(law(1).EditKey2->text(), QStringLiteral("政令で定める"));
    EXPECT_TRUE(law(1).EditBangou->text().isEmpty());
    EXPECT_EQ(law(1).ComboBox->currentIndex(), 0);
    EXPECT_FALSE(lawMain(1).Filtered());
    EXPECT_FALSE(lawShown(1)->Filtered());
    EXPECT_EQ(window().StatusPanelText(0), QStringLiteral("検索終了"));
    EXPECT_EQ(window().StatusPanelText(1), QStringLiteral("検索時間： 0.25 秒"));
    EXPECT_TRUE(platform.boxes().empty());

    // Back returns to the narrowed list on the act's article.
    window().BBtnBack->click();
    EXPECT_EQ(lawShown(1), &lawMain(1));
    EXPECT_TRUE(lawMain(1).Filtered());
    EXPECT_EQ(currentGyo(1), 1234);
}

TEST_F(ReferenceSearchWindow, fromAResultTheNumberComesFromTheMainTableAndTheOrdinanceIsSearched)
{
    moveTo(1, 1234);
    answer(0);
    window().BBtnKanrenJyoubun->click();
    ASSERT_TRUE(lawShown(1)->Locate("Gyo", {store::Value(std::int64_t{2000})}));

    answer(1);
    window().BBtnKanrenJyoubun->click();
    EXPECT_EQ(seen.selected, 2);
    EXPECT_FALSE(seen.enabled[0]);
    EXPECT_TRUE(seen.enabled[1]);
    EXPECT_EQ(lastLawStatement().back(), "AND ( KubunNo = 130 ) ");
    EXPECT_EQ(listedGyo(1), std::vector<std::int64_t>{2500});
    EXPECT_EQ(law(1).HighlightWord1, cp932("第４６条"));
    EXPECT_EQ(law(1).HighlightWord2, cp932("財務省令で定める"));
    EXPECT_EQ(runsInColour(law(1).RichEdit, kMagenta), std::vector<QString>{QStringLiteral("財務省令で定める")});
}

TEST_F(ReferenceSearchWindow, aCircularOffersOnlyTheWholeRangeAndMarksOnlyItsNumber)
{
    moveTo(1, 3000);
    answer(-1);
    window().BBtnKanrenJyoubun->click();
    EXPECT_FALSE(seen.enabled[0]);
    EXPECT_FALSE(seen.enabled[1]);
    EXPECT_EQ(seen.selected, 3);
    EXPECT_EQ(lastLawStatement(), (std::vector<std::string>{"SELECT DISTINCT Gyo,KubunNo ", "FROM E3.db ",
                                                            "WHERE ( MainGyo = 3000 ) "}));
    EXPECT_EQ(listedGyo(1), std::vector<std::int64_t>{3001});
    EXPECT_EQ(law(1).HighlightWord1, cp932("１１－１－１"));
    EXPECT_TRUE(law(1).HighlightWord2.empty());
    EXPECT_TRUE(law(1).EditKey2->text().isEmpty());
    EXPECT_EQ(runsInColour(law(1).RichEdit, kRed), std::vector<QString>{QStringLiteral("１１－１－１")});
    EXPECT_TRUE(runsInColour(law(1).RichEdit, kMagenta).empty());
}

TEST_F(ReferenceSearchWindow, companyActOrdinancesAreEveryCodeAfter459WithTheJusticeMinistryPhrase)
{
    userSelectsTab(law(2).TabSheet);
    moveTo(2, 101);
    answer(1);
    window().BBtnKanrenJyoubun->click();
    EXPECT_EQ(lastLawStatement().back(), "AND ( KubunNo > 459 )");
    EXPECT_EQ(listedGyo(2), std::vector<std::int64_t>{103});
    EXPECT_EQ(law(2).HighlightWord2, cp932("法務省令で定める"));
}

TEST_F(ReferenceSearchWindow, aFixedOrdinanceScopeForACodeWithoutOrdinanceListsTheLowerCategories)
{
    // A link carrying -2 on a circular: there is no ordinance of its own to name, so the search
    // takes every lower category rather than a statement the engine would refuse.
    moveTo(1, 3000);
    registry().Sansyo.PresetScope = -2;
    answer(-1);
    runCommand(platform, [this] { ReferenceSearch(window(), 1); });
    EXPECT_FALSE(seen.groupEnabled);
    EXPECT_EQ(seen.selected, 1);
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(lastLawStatement().back(), "AND ( KubunNo > 140 ) ");
    EXPECT_EQ(listedGyo(1), std::vector<std::int64_t>{3001});
    EXPECT_EQ(law(1).HighlightWord2, cp932("財務省令で定める"));
}

TEST_F(ReferenceSearchWindow, cancelledDialogChangesNothing)
{
    moveTo(1, 1234);
    const int head = registry().History.HistoryHead();
    const QString status = window().StatusPanelText(0);
    answer(0, 1, 0, false);
    window().BBtnKanrenJyoubun->click();
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(lawShown(1), &lawMain(1));
    EXPECT_EQ(currentGyo(1), 1234);
    EXPECT_EQ(registry().History.HistoryHead(), head);
    EXPECT_EQ(window().StatusPanelText(0), status);
    EXPECT_TRUE(platform.cursorChanges().empty());
    EXPECT_EQ(registry().LawQueryPosition, -1);
}

TEST_F(ReferenceSearchWindow, noReferringArticleInTheScopeShowsTheMessageAndTheSearchTime)
{
    moveTo(1, 10);
    answer(-1);
    window().BBtnKanrenJyoubun->click();
    EXPECT_EQ(seen.selected, 2);
    EXPECT_EQ(messages(), std::vector<std::string>{"この条文を参照している条文はありません"});
    EXPECT_EQ(window().StatusPanelText(0), QStringLiteral("検索終了"));
    EXPECT_EQ(lawShown(1), &lawMain(1));
    EXPECT_EQ(currentGyo(1), 10);
}

TEST_F(ReferenceSearchWindow, anEmptyListAfterTheDialogAsksForAnArticleWithoutATimer)
{
    userSelectsRange(law(1).ComboBox, "地方");
    ASSERT_TRUE(lawMain(1).IsEmpty());
    const QString status = window().StatusPanelText(0);
    answer(-1);
    window().BBtnKanrenJyoubun->click();
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.selected, 2);
    EXPECT_EQ(messages(), std::vector<std::string>{"条文を選択して下さい"});
    EXPECT_EQ(window().StatusPanelText(0), status);
    EXPECT_TRUE(platform.cursorChanges().empty());
}

TEST_F(ReferenceSearchWindow, onABookTabTheSearchAsksForAnArticleAndOpensNoDialog)
{
    userSelectsTab(book(0).TabSheet);
    answer(-1);
    window().SansyoAction->trigger();
    QTest::qWait(50);
    EXPECT_FALSE(seen.shown);
    EXPECT_EQ(messages(), std::vector<std::string>{"条文を選択して下さい"});
}

TEST_F(ReferenceSearchWindow, theReferredArticleGoesIntoAMemoWindowMinimisedOrWithTheFocus)
{
    moveTo(1, 1234);
    registry().LatestMemoWindow = nullptr;
    answer(0, 0, 0);
    window().BBtnKanrenJyoubun->click();
    ASSERT_FALSE(registry().LatestMemoWindow.isNull());
    TMemoWindow* minimised = registry().LatestMemoWindow;
    EXPECT_TRUE(minimised->isVisible());
    EXPECT_TRUE(minimised->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(minimised->VolumeIndex, 1);
    EXPECT_EQ(minimised->ArticleGyo, 1234);
    EXPECT_NE(minimised->MemoRichEdit->plainText().find(cp932("第３０条　事業者が")), std::string::npos);
    // The main window goes on to list the referring articles.
    EXPECT_EQ(listedGyo(1).size(), 2u);
    EXPECT_TRUE(platform.boxes().empty());

    window().BBtnBack->click();
    answer(0, 0, 1);
    window().BBtnKanrenJyoubun->click();
    ASSERT_FALSE(registry().LatestMemoWindow.isNull());
    TMemoWindow* normal = registry().LatestMemoWindow;
    EXPECT_NE(normal, minimised);
    EXPECT_FALSE(normal->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(normal->ArticleGyo, 1234);
    EXPECT_EQ(normal->focusWidget(), normal->MemoRichEdit);
}

TEST_F(ReferenceSearchWindow, nothingForTheCurrentArticleOpensNoMemoWindow)
{
    moveTo(1, 1234);
    registry().LatestMemoWindow = nullptr;
    answer(0, 1, 1);
    window().BBtnKanrenJyoubun->click();
    EXPECT_TRUE(registry().LatestMemoWindow.isNull());
    EXPECT_EQ(listedGyo(1).size(), 2u);
}
