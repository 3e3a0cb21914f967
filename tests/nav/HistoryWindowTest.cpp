// The history and the reset commands driven through the real main window offscreen: Back and
// Next with tab changes, the ring's wrap, Open all, Home, Clear, outline clicks, and carets.
#include <QComboBox>
#include <QLineEdit>

#include "app/ProgramFixture.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/RichTextView.h"
#include "nav/Navigation.h"
#include "store/DataSource.h"
#include "store/Table.h"
#include "text/QtText.h"

using namespace apptest;

namespace {

class HistoryWindow : public ProgramTest {
protected:
    // 消費税 with seven articles, the last three of them 消令 (120); 会社法民法; 法人目次.
    void SetUp() override
    {
        store::LawVolumeContent syohi = lawVolume('E', "消費税法", 1, 7);
        for (int i = 4; i < 7; ++i) {
            syohi.articles[static_cast<std::size_t>(i)].kubunNo = 120;
            syohi.articles[static_cast<std::size_t>(i)].kubun = cp932("消令");
        }
        store::writeLawVolume(dir.path(), syohi);
        store::writeLawVolume(dir.path(), lawVolume('G', "会社法", 101, 3, 410, "会社法"));
        writeBookVolume('B');
        start(flags({1, 0, 0, 1, 1, 1}, {0, 1, 1}));
        showWindow();
        window().activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
    }

    LawVolumeEntry& syohi() { return registry().law[1]; }
    store::Table& syohiMain() { return *registry().tables.law[1].mainTable; }
    store::DataSet* syohiShown() { return registry().tables.law[1].mainSource->dataSet(); }
    std::int64_t syohiGyo() { return syohiShown()->IntegerField("Gyo"); }
    const nav::HistoryRing& ring() { return registry().History; }

    void moveSyohiTo(int gyo) { ASSERT_TRUE(syohiMain().Locate("Gyo", {store::Value(std::int64_t{gyo})})); }
    // A tab change made by the user, as a click on the tab would make it.
    void userSelectsTab(QWidget* tab) { window().MainPageControl->setCurrentWidget(tab); }
    void userSelectsRange(QComboBox* combo, const char* utf8Label)
    {
        const int index = combo->findText(QString::fromUtf8(utf8Label));
        ASSERT_GE(index, 0);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
};

}  // namespace

TEST_F(HistoryWindow, backRightAfterStartUpChangesNothingAndNextDoesNothing)
{
    moveSyohiTo(3);
    syohi().RichEdit->setCaretPosition(6);
    window().BBtnBack->click();
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(syohiShown(), &syohiMain());
    EXPECT_EQ(syohiGyo(), 3);
    EXPECT_EQ(syohi().RichEdit->caretPosition(), 6);
    EXPECT_EQ(ring().HistoryCursor(), 0);

    window().BBtnNext->click();
    EXPECT_EQ(syohiGyo(), 3);
    EXPECT_EQ(ring().HistoryCursor(), 0);
    EXPECT_EQ(ring().HistoryHead(), 0);
}

TEST_F(HistoryWindow, anotherTabThenBackReturnsToTheFirstTabWithItsRowCaretAndConditions)
{
    moveSyohiTo(3);
    syohi().RichEdit->setCaretPosition(8);
    syohi().EditBangou->setText(QStringLiteral("３条"));
    syohi().HighlightWord1 = cp932("本文");
    userSelectsTab(window().GenTab);
    // The user moves on in the volume that was left.
    moveSyohiTo(5);
    syohi().EditBangou->setText(QStringLiteral("５条"));

    window().BBtnBack->click();
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(syohiGyo(), 3);
    EXPECT_EQ(syohi().RichEdit->caretPosition(), 8);
    EXPECT_EQ(syohi().EditBangou->text(), QStringLiteral("３条"));
    // The coloured words come back into the key edits.
    EXPECT_EQ(syohi().EditKey1->text(), QStringLiteral("本文"));
    EXPECT_TRUE(syohi().RichEdit->isVisible());
    EXPECT_TRUE(syohi().RichEdit->hasFocus());

    // Next returns to the view Back left: 会社法民法's tab.
    window().BBtnNext->click();
    EXPECT_EQ(window().ActivePage(), window().GenTab);
}

TEST_F(HistoryWindow, nextIsPossibleUntilTheNewestRecordAndNotAfterANewRecord)
{
    moveSyohiTo(2);
    userSelectsTab(window().GenTab);   // records 消費税 at Gyo 2
    userSelectsTab(window().SyohiTab); // records 会社法民法
    moveSyohiTo(4);
    ASSERT_EQ(ring().HistoryNewest(), 2);

    window().BBtnBack->click();
    EXPECT_EQ(window().ActivePage(), window().GenTab);
    window().BBtnBack->click();
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(syohiGyo(), 2);
    window().BBtnNext->click();
    EXPECT_EQ(window().ActivePage(), window().GenTab);
    window().BBtnNext->click();
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(syohiGyo(), 4);
    EXPECT_EQ(ring().HistoryCursor(), ring().HistoryNewest());
    const int head = ring().HistoryHead();
    window().BBtnNext->click();
    EXPECT_EQ(ring().HistoryHead(), head);
    EXPECT_EQ(syohiGyo(), 4);

    // After Back and a new record there is nothing ahead any more.
    window().BBtnBack->click();
    window().BBtnOpenAll->click();
    const int cursor = ring().HistoryCursor();
    window().BBtnNext->click();
    EXPECT_EQ(ring().HistoryCursor(), cursor);
}

TEST_F(HistoryWindow, afterOneHundredAndOneRecordsBackGoesFromSlotZeroToSlotHundred)
{
    for (int k = 0; k < 101; ++k) {
        moveSyohiTo(k % 7 + 1);
        window().BBtnOpenAll->click();
    }
    ASSERT_EQ(ring().HistoryHead(), 0);
    ASSERT_EQ(ring().HistoryWrapped(), 1);
    ASSERT_EQ(ring().HistoryCursor(), 0);
    moveSyohiTo(7);

    window().BBtnBack->click();
    EXPECT_EQ(ring().HistoryCursor(), 100);
    EXPECT_EQ(syohiGyo(), 100 % 7 + 1);
    window().BBtnBack->click();
    EXPECT_EQ(ring().HistoryCursor(), 99);
    EXPECT_EQ(syohiGyo(), 99 % 7 + 1);
}

TEST_F(HistoryWindow, openAllOnANarrowedListKeepsTheArticleAndTheColouredWords)
{
    userSelectsRange(syohi().ComboBox, "消令");
    ASSERT_EQ(syohiShown()->RecordCount(), 3);
    moveSyohiTo(6);
    syohi().HighlightWord1 = cp932("本文");
    syohi().EditKey1->setText(QStringLiteral("本文"));

    window().BBtnOpenAll->click();
    EXPECT_EQ(syohiShown(), &syohiMain());
    EXPECT_FALSE(syohiMain().Filtered());
    EXPECT_EQ(syohiMain().RecordCount(), 7);
    EXPECT_EQ(syohiGyo(), 6);
    EXPECT_EQ(syohi().ComboBox->currentIndex(), 0);
    EXPECT_EQ(syohi().HighlightWord1, cp932("本文"));
    EXPECT_EQ(syohi().EditKey1->text(), QStringLiteral("本文"));
    EXPECT_EQ(ring().HistoryHead(), 1);

    // Back brings the narrowed list back with its row; the range combo shows its item again
    // without the range being applied anew.
    window().BBtnBack->click();
    EXPECT_TRUE(syohiMain().Filtered());
    EXPECT_EQ(syohiMain().RecordCount(), 3);
    EXPECT_EQ(syohiGyo(), 6);
    EXPECT_EQ(syohi().ComboBox->currentText(), QStringLiteral("消令"));
}

TEST_F(HistoryWindow, homeClearsConditionsRangeAndWordsShowsTheFirstRowAndCollapsesTheOutline)
{
    userSelectsRange(syohi().ComboBox, "消令");
    moveSyohiTo(7);
    syohi().EditKey1->setText(QStringLiteral("本文"));
    syohi().EditKey2->setText(QStringLiteral("規定"));
    syohi().EditBangou->setText(QStringLiteral("７条"));
    syohi().HighlightWord1 = cp932("本文");
    syohi().HighlightWord2 = cp932("規定");
    syohi().Panel2->setFixedHeight(90);
    syohi().TreeView->expandAll();

    window().BBtnHome->click();
    EXPECT_TRUE(syohi().EditKey1->text().isEmpty());
    EXPECT_TRUE(syohi().EditKey2->text().isEmpty());
    EXPECT_TRUE(syohi().EditBangou->text().isEmpty());
    EXPECT_EQ(syohi().ComboBox->currentIndex(), 0);
    EXPECT_EQ(syohi().ComboBox->currentText(), QStringLiteral("全範囲"));
    EXPECT_TRUE(syohi().HighlightWord1.empty());
    EXPECT_TRUE(syohi().HighlightWord2.empty());
    EXPECT_EQ(syohiShown(), &syohiMain());
    EXPECT_FALSE(syohiMain().Filtered());
    EXPECT_EQ(syohiMain().RecNo(), 0);
    EXPECT_EQ(syohiGyo(), 1);
    EXPECT_EQ(syohi().Panel2->height(), 172);
    EXPECT_FALSE(syohi().TreeView->nodeAt(0)->isExpanded());
    EXPECT_TRUE(syohi().EditKey1->hasFocus());
    EXPECT_EQ(ring().HistoryHead(), 1);
    // The article shows without coloured words.
    EXPECT_EQ(syohi().RichEdit->plainText().substr(0, cp932("第１条").size()), cp932("第１条"));
}

TEST_F(HistoryWindow, clearEmptiesTheConditionsLeavesListAndArticleAndRecordsNothing)
{
    userSelectsRange(syohi().ComboBox, "消令");
    moveSyohiTo(6);
    syohi().EditKey1->setText(QStringLiteral("本文"));
    syohi().EditBangou->setText(QStringLiteral("６条"));
    syohi().HighlightWord1 = cp932("本文");

    window().BBtnClear->click();
    EXPECT_TRUE(syohi().EditKey1->text().isEmpty());
    EXPECT_TRUE(syohi().EditBangou->text().isEmpty());
    EXPECT_EQ(syohi().ComboBox->currentIndex(), 0);
    // The range combo went back to 全範囲 without applying it: the list stays narrowed.
    EXPECT_TRUE(syohiMain().Filtered());
    EXPECT_EQ(syohiGyo(), 6);
    EXPECT_EQ(syohi().HighlightWord1, cp932("本文"));
    EXPECT_EQ(ring().HistoryHead(), 0);
}

TEST_F(HistoryWindow, restoringACaretNearTheEndOfAShortArticlePutsItThere)
{
    moveSyohiTo(2);
    RichTextView* view = syohi().RichEdit;
    const int nearEnd = view->textLength() - 2;
    ASSERT_GT(nearEnd, 0);
    ASSERT_LT(view->textLength(), 350);
    view->setCaretPosition(nearEnd);
    userSelectsTab(window().GenTab);
    moveSyohiTo(4);
    view->setCaretPosition(0);

    window().BBtnBack->click();
    EXPECT_EQ(syohiGyo(), 2);
    EXPECT_EQ(view->caretPosition(), nearEnd);
}

TEST_F(HistoryWindow, outlineClicksRecordOnceAfterAnEntryAndNotAtAllRightAfterStartUp)
{
    RecordHistoryForOutlineClick(window(), 1);
    EXPECT_EQ(ring().HistoryHead(), 0);

    userSelectsTab(window().GenTab);   // an entry saved for 消費税
    userSelectsTab(window().SyohiTab); // and one for 会社法民法
    ASSERT_EQ(ring().HistoryHead(), 2);
    RecordHistoryForOutlineClick(window(), 1);
    EXPECT_EQ(ring().HistoryHead(), 3);
    RecordHistoryForOutlineClick(window(), 1);
    RecordHistoryForOutlineClick(window(), 1);
    EXPECT_EQ(ring().HistoryHead(), 3);
    EXPECT_EQ(syohi().TreeClickRecords, 0);
}

TEST_F(HistoryWindow, aBookTabIsRecordedAndRestoredWithItsEntryAndPageEdit)
{
    BookVolumeEntry& hbooks = registry().book[0];
    store::Table& bookMain = *registry().tables.book[0].mainTable;
    userSelectsTab(window().HbooksTab);
    ASSERT_TRUE(bookMain.Locate("BookSeq", {store::Value(std::int64_t{11})}));
    hbooks.EditPage->setText(QStringLiteral("30"));
    userSelectsTab(window().SyohiTab);
    hbooks.EditPage->clear();
    ASSERT_TRUE(bookMain.Locate("BookSeq", {store::Value(std::int64_t{12})}));

    window().BBtnBack->click();
    EXPECT_EQ(window().ActivePage(), window().HbooksTab);
    EXPECT_EQ(bookMain.IntegerField("BookSeq"), 11);
    EXPECT_EQ(hbooks.EditPage->text(), QStringLiteral("30"));
}

// A search result's pooled query serves other searches once the list no longer shows it. Back
// to the entry of that result lists its own rows again: the statement runs anew, and the entry
// keeps them on a later return too.
TEST_F(HistoryWindow, backToAnOldSearchResultListsItsOwnRowsAfterThePoolHasRotated)
{
    auto titles = [](DataGrid* grid) {
        QStringList shown;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            shown << grid->model()->index(row, 1).data().toString();
        return shown;
    };
    auto search = [this](LawVolumeEntry& e, const QString& word) {
        e.EditKey1->setText(word);
        e.EditKey2->clear();
        window().BBtnKensaku->click();
    };
    search(syohi(), QStringLiteral("本文２"));
    ASSERT_EQ(titles(syohi().DBGrid), QStringList{"第２条（趣旨）"});
    window().BBtnHome->click();
    ASSERT_EQ(syohiShown(), &syohiMain());

    // Sixteen searches in 会社法民法 take every pooled query in turn.
    userSelectsTab(window().GenTab);
    for (int i = 0; i < 16; ++i)
        search(registry().law[2], i % 2 ? QStringLiteral("会社法の本文１") : QStringLiteral("本文"));

    bool back = false;
    for (int step = 0; step < 40 && !back; ++step) {
        window().BBtnBack->click();
        back = window().ActivePage() == window().SyohiTab && syohiShown() != &syohiMain();
    }
    ASSERT_TRUE(back);
    EXPECT_EQ(titles(syohi().DBGrid), QStringList{"第２条（趣旨）"});
    EXPECT_EQ(syohiGyo(), 2);
    EXPECT_EQ(syohi().RichEdit->plainText().substr(0, 6), cp932("第２条"));
    EXPECT_EQ(syohi().EditKey1->text(), QStringLiteral("本文２"));
    // The 会社法民法 list shows 会社法民法's own rows.
    DataGrid* genGrid = registry().law[2].DBGrid;
    ASSERT_GT(genGrid->model()->rowCount(), 0);
    for (int row = 0; row < genGrid->model()->rowCount(); ++row)
        EXPECT_EQ(genGrid->model()->index(row, 0).data().toString(), QStringLiteral("会社法"));

    window().BBtnNext->click();
    window().BBtnBack->click();
    EXPECT_EQ(window().ActivePage(), window().SyohiTab);
    EXPECT_EQ(titles(syohi().DBGrid), QStringList{"第２条（趣旨）"});
}
