// The book volume's searches through the real main window: the contents search and its
// statements, the page jump from the series list and from a result, and the double click that
// goes from an entry to a law article or a document.
#include <QTest>

#include "SearchWindowFixture.h"
#include "display/DataGrid.h"

using namespace searchtest;

namespace {

class BookSearchWindow : public SearchWindow {
protected:
    // 消費税 and 法人目次; the window on 法人目次.
    void SetUp() override
    {
        startOn(flags({1, 0, 1, 1, 1, 1}, {0, 1, 1}));
        userSelectsTab(book(0).TabSheet);
    }

    void search(const char* utf8Key1, const char* utf8Key2 = "")
    {
        book(0).EditKey1->setText(QString::fromUtf8(utf8Key1));
        book(0).EditKey2->setText(QString::fromUtf8(utf8Key2));
        platform.clearBoxes();
        window().BBtnKensaku->click();
    }
    void jumpToPage(const char* page)
    {
        book(0).EditPage->setText(QString::fromLatin1(page));
        platform.clearBoxes();
        window().BBtnJump->click();
    }
    std::int64_t currentSeq() { return bookShown(0)->IntegerField("BookSeq"); }

    // A double click on the entry's row of the list, as the user makes it.
    void doubleClickEntry(int bookSeq)
    {
        ASSERT_TRUE(bookMain(0).Locate("BookSeq", {store::Value(std::int64_t{bookSeq})}));
        DataGrid* grid = book(0).DBGrid;
        const QModelIndex index = grid->model()->index(bookMain(0).RecNo(), 0);
        grid->scrollTo(index);
        platform.clearBoxes();
        // A press and release come before the double click, as they do under the user's hand.
        const QPoint centre = grid->visualRect(index).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }
};

}  // namespace

TEST_F(BookSearchWindow, statementsOfTheContentsSearchAndTheEntriesFound)
{
    struct Case {
        const char* range;
        const char* key1;
        const char* key2;
        std::vector<std::string> lines;
        const char* editAfter1;
        std::vector<std::int64_t> listed;
    };
    const std::vector<Case> cases = {
        {"税務通信", "リース", "",
         {"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM B1.db ", "WHERE ( Mokuji LIKE '%リ－ス%') ",
          "AND ( BookNo = 20 ) ", "ORDER BY BookSeq "},
         "リ－ス", {11}},
        {"全範囲", "2", "",
         {"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM B1.db ", "WHERE ( Mokuji LIKE '%２%') ",
          "ORDER BY BookSeq "},
         "２", {11, 15}},
        {"全範囲", "＊印", "項目",
         {"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM B1.db ", "WHERE ( Mokuji LIKE '%＊印%') ",
          "AND ( Mokuji LIKE '%項目%') ", "ORDER BY BookSeq "},
         "＊印", {14}},
        {"全範囲", "", "給与",
         {"SELECT DISTINCT BookSeq,BookNo,BookRenban ", "FROM B1.db ", "WHERE ( Mokuji LIKE '%給与%') ",
          "ORDER BY BookSeq "},
         "", {12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key1);
        selectRangeItem(book(0).ComboBox, c.range);
        search(c.key1, c.key2);
        EXPECT_TRUE(platform.boxes().empty());
        EXPECT_EQ(lastBookStatement(), c.lines);
        EXPECT_EQ(book(0).EditKey1->text(), QString::fromUtf8(c.editAfter1));
        EXPECT_EQ(listedBookSeq(0), c.listed);
        EXPECT_EQ(book(0).HighlightWord1, cp932(c.editAfter1));
        EXPECT_EQ(book(0).HighlightWord2, cp932(c.key2));
        EXPECT_EQ(book(0).ComboBox->currentText(), QString::fromUtf8(c.range));
        EXPECT_FALSE(bookMain(0).Filtered());
    }
    EXPECT_EQ(registry().History.HistoryHead(), 5);  // the tab change and four searches
}

TEST_F(BookSearchWindow, aResultRowShowsItsEntryThroughTheLookUps)
{
    search("役員");
    ASSERT_EQ(listedBookSeq(0), std::vector<std::int64_t>{12});
    EXPECT_EQ(bookShown(0)->TextField("Mokuji"), cp932("問３　役員給与"));
    EXPECT_EQ(bookShown(0)->TextField("BookNameShort"), cp932("税通"));
    EXPECT_EQ(bookShown(0)->FloatField("BookPage"), 31.0);
}

TEST_F(BookSearchWindow, noEntryAndNoKeywordShowTheirMessages)
{
    search("存在しない");
    EXPECT_EQ(messages(), std::vector<std::string>{"該当の文献目次はありません"});
    EXPECT_EQ(window().StatusPanelText(0), QStringLiteral("検索終了"));
    EXPECT_EQ(bookShown(0), &bookMain(0));
    search("");
    EXPECT_EQ(messages(), std::vector<std::string>{"キーワードが入力されていません"});
}

TEST_F(BookSearchWindow, pageJumpFindsTheFirstEntryOnThePageInTheSeries)
{
    struct Case {
        const char* range;
        const char* page;
        std::int64_t seq;  // 0: not found
    };
    const Case cases[] = {
        {"全範囲", "12", 10}, {"税務通信", "12", 11}, {"全範囲", "31", 12}, {"全範囲", "12.0", 10},
        {"裁決事例", "12", 0}, {"全範囲", "99", 0},
        // The key filter lets a lone point or several through: no page is named, nothing moves.
        {"全範囲", ".", 0},    {"全範囲", "1.2.3", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.range) + " " + c.page);
        userSelectsRange(book(0).ComboBox, c.range);
        bookMain(0).First();
        jumpToPage(c.page);
        if (c.seq == 0) {
            EXPECT_EQ(messages(), std::vector<std::string>{"該当の文献目次はありません"});
            EXPECT_EQ(bookMain(0).RecNo(), 0);
        } else {
            EXPECT_TRUE(messages().empty());
            EXPECT_EQ(currentSeq(), c.seq);
        }
    }
    jumpToPage("");
    EXPECT_EQ(messages(), std::vector<std::string>{"ページ番号を入力してください"});
}

TEST_F(BookSearchWindow, pageJumpFromAResultShowsTheWholeSeriesOnTheEntry)
{
    search("問");
    store::DataSet* result = bookShown(0);
    ASSERT_EQ(listedBookSeq(0).size(), 6u);
    selectRangeItem(book(0).ComboBox, "裁決事例");

    jumpToPage("12");
    EXPECT_EQ(messages(), std::vector<std::string>{"該当の文献目次はありません"});
    EXPECT_EQ(bookShown(0), result);
    EXPECT_EQ(bookMain(0).Filter(), "BookNo = 60");

    jumpToPage("41");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(bookShown(0), &bookMain(0));
    EXPECT_EQ(listedBookSeq(0), (std::vector<std::int64_t>{13, 14}));
    EXPECT_EQ(currentSeq(), 14);
}

TEST_F(BookSearchWindow, doubleClickOnAnEntryWithAJumpRowOpensTheArticleAndBackReturns)
{
    userSelectsTab(law(1).TabSheet);
    law(1).EditKey1->setText(QStringLiteral("消費税"));
    userSelectsRange(law(1).ComboBox, "消令");
    ASSERT_TRUE(lawMain(1).Filtered());
    userSelectsTab(book(0).TabSheet);
    const int head = registry().History.HistoryHead();

    doubleClickEntry(10);
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(window().ActivePage(), law(1).TabSheet);
    EXPECT_EQ(lawShown(1), &lawMain(1));
    EXPECT_FALSE(lawMain(1).Filtered());
    EXPECT_EQ(currentGyo(1), 1234);
    EXPECT_TRUE(law(1).EditKey1->text().isEmpty());
    EXPECT_EQ(law(1).ComboBox->currentIndex(), 0);
    EXPECT_EQ(registry().History.HistoryHead(), head + 1);

    window().BBtnBack->click();
    EXPECT_EQ(window().ActivePage(), book(0).TabSheet);
    EXPECT_EQ(currentSeq(), 10);
}

TEST_F(BookSearchWindow, doubleClickOpensAUrlRowOrDoesNothing)
{
    doubleClickEntry(11);
    EXPECT_EQ(platform.shellTargets(), std::vector<std::string>{"https://example.invalid/a.pdf"});
    EXPECT_EQ(window().ActivePage(), book(0).TabSheet);

    const int head = registry().History.HistoryHead();
    // 12 jumps into an absent volume (its URL row is not reached), 13 into no volume at all,
    // 14 has neither a jump nor a URL row.
    for (int seq : {12, 13, 14}) {
        SCOPED_TRACE(seq);
        doubleClickEntry(seq);
        EXPECT_TRUE(platform.boxes().empty());
        EXPECT_EQ(platform.shellTargets().size(), 1u);
        EXPECT_EQ(window().ActivePage(), book(0).TabSheet);
        EXPECT_EQ(registry().History.HistoryHead(), head);
    }
}

TEST_F(BookSearchWindow, doubleClickOnAnEntryWhoseArticleIsMissingSaysSo)
{
    doubleClickEntry(15);
    EXPECT_EQ(messages(), std::vector<std::string>{"該当の条文はありません"});
    EXPECT_EQ(window().ActivePage(), law(1).TabSheet);
}

TEST_F(BookSearchWindow, openAllOnAResultKeepsTheEntryAndHomeShowsTheWholeVolumeFromItsStart)
{
    selectRangeItem(book(0).ComboBox, "裁決事例");
    search("問");
    ASSERT_EQ(listedBookSeq(0), (std::vector<std::int64_t>{13, 14}));
    ASSERT_TRUE(bookShown(0)->Locate("BookSeq", {store::Value(std::int64_t{14})}));

    window().BBtnOpenAll->click();
    EXPECT_EQ(bookShown(0), &bookMain(0));
    EXPECT_EQ(listedBookSeq(0).size(), 6u);
    EXPECT_EQ(currentSeq(), 14);
    EXPECT_EQ(book(0).ComboBox->currentIndex(), 0);
    EXPECT_EQ(book(0).HighlightWord1, cp932("問"));
    EXPECT_EQ(book(0).EditKey1->text(), QStringLiteral("問"));

    book(0).EditPage->setText(QStringLiteral("41"));
    book(0).Panel3->setFixedHeight(60);
    window().BBtnHome->click();
    EXPECT_EQ(currentSeq(), 10);
    EXPECT_EQ(bookMain(0).RecNo(), 0);
    EXPECT_TRUE(book(0).EditKey1->text().isEmpty());
    EXPECT_TRUE(book(0).EditPage->text().isEmpty());
    EXPECT_TRUE(book(0).HighlightWord1.empty());
    EXPECT_EQ(book(0).Panel3->height(), 97);

    // Back twice: before Home, then the result before Open all.
    window().BBtnBack->click();
    EXPECT_EQ(currentSeq(), 14);
    EXPECT_EQ(book(0).EditPage->text(), QStringLiteral("41"));
    window().BBtnBack->click();
    EXPECT_NE(bookShown(0), &bookMain(0));
    EXPECT_EQ(currentSeq(), 14);
    EXPECT_EQ(book(0).ComboBox->currentText(), QStringLiteral("裁決事例"));
}

TEST_F(BookSearchWindow, rangeCombosHoldTheirPresetsAndOnlyTheUsersChoiceNarrowsTheList)
{
    QComboBox* lawCombo = law(1).ComboBox;
    EXPECT_EQ(lawCombo->count(), 19);
    EXPECT_EQ(lawCombo->maxVisibleItems(), 19);
    EXPECT_EQ(lawCombo->itemText(0), QStringLiteral("全範囲"));
    EXPECT_EQ(lawCombo->itemText(5), QStringLiteral("消法"));
    EXPECT_EQ(lawCombo->itemText(18), QStringLiteral("震災通"));
    EXPECT_EQ(lawCombo->currentText(), QStringLiteral("全範囲"));
    QComboBox* bookCombo = book(0).ComboBox;
    EXPECT_EQ(bookCombo->count(), 16);
    EXPECT_EQ(bookCombo->maxVisibleItems(), 16);
    EXPECT_EQ(bookCombo->itemText(4), QStringLiteral("税務通信"));

    userSelectsRange(bookCombo, "税務通信");
    EXPECT_EQ(listedBookSeq(0), (std::vector<std::int64_t>{11, 12}));
    // An item chosen from code does not narrow anything.
    bookCombo->setCurrentIndex(bookCombo->findText(QStringLiteral("裁決事例")));
    EXPECT_EQ(listedBookSeq(0), (std::vector<std::int64_t>{11, 12}));
    userSelectsRange(bookCombo, "全範囲");
    EXPECT_EQ(listedBookSeq(0).size(), 6u);
}
