// The article-number jump through the real main window: the number edit rewritten, the article
// found under the list's range or, from a search result, under the jump range, its messages,
// and the history entry every click records.
#include "SearchWindowFixture.h"

using namespace searchtest;

namespace {

class ArticleNumberJumpWindow : public SearchWindow {
protected:
    // Every law volume but 所得税.
    void SetUp() override { startOn(flags({0, 0, 0, 1, 0, 0})); }

    void jump(int v, const char* utf8Typed)
    {
        law(v).EditBangou->setText(QString::fromUtf8(utf8Typed));
        platform.clearBoxes();
        window().BBtnJump->click();
    }
};

}  // namespace

TEST_F(ArticleNumberJumpWindow, typedNumbersAreRewrittenAndJumpToTheirArticle)
{
    struct Case {
        int volume;
        const char* range;  // chosen by the user, so the list is narrowed to it
        const char* typed;
        const char* shown;  // the number edit afterwards
        std::int64_t gyo;   // 0: not found
    };
    const Case cases[] = {
        {0, "全範囲", "35", "３５条", 5},
        {0, "全範囲", "第35条", "３５条", 5},
        {0, "全範囲", "第３５条", "３５条", 5},
        {0, "全範囲", "35の2", "３５条の２", 7},
        {0, "全範囲", "35ノ2", "３５条の２", 7},
        {0, "全範囲", "35ﾉ2", "３５条の２", 7},
        {0, "全範囲", "35の2の3", "３５条の２の３", 8},
        {0, "全範囲", "2-1", "２－１", 9},
        {0, "全範囲", "2ー1", "２－１", 9},
        {0, "全範囲", "附則3", "附則３条", 10},
        {0, "全範囲", "附則第3条", "附則第３条", 11},
        {0, "全範囲", "別表第一", "別表第一", 12},
        {0, "全範囲", "付表第1", "付表１", 13},
        {0, "法令", "35", "３５条", 6},
        {0, "法法", "48", "４８条", 0},
        {0, "全範囲", "99", "９９条", 0},
        {2, "旧商法", "204の2", "２０４条ノ２", 102},
        {4, "財基通", "12", "１２", 202},
        {4, "全範囲", "12", "１２条", 201},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " in " + c.range);
        userSelectsTab(law(c.volume).TabSheet);
        userSelectsRange(law(c.volume).ComboBox, c.range);
        lawMain(c.volume).First();
        jump(c.volume, c.typed);
        EXPECT_EQ(law(c.volume).EditBangou->text(), QString::fromUtf8(c.shown));
        if (c.gyo == 0) {
            EXPECT_EQ(messages(), std::vector<std::string>{"該当の条文はありません"});
            EXPECT_EQ(lawMain(c.volume).RecNo(), 0);
        } else {
            EXPECT_TRUE(messages().empty());
            EXPECT_EQ(currentGyo(c.volume), c.gyo);
        }
    }
}

TEST_F(ArticleNumberJumpWindow, theSameNumberInTwoCategoriesFindsTheFirstOrTheChosenOne)
{
    jump(0, "35");
    EXPECT_EQ(currentGyo(0), 5);
    userSelectsRange(law(0).ComboBox, "法令");
    jump(0, "35");
    EXPECT_EQ(currentGyo(0), 6);
    // The shown article is the order's.
    EXPECT_NE(law(0).RichEdit->plainText().find(cp932("政令で定める割合")), std::string::npos);
}

TEST_F(ArticleNumberJumpWindow, fromAResultTheJumpLooksOnlyAmongTheJumpRangeOfThePreset)
{
    userSelectsTab(law(5).TabSheet);
    selectRangeItem(law(5).ComboBox, "国通関係");
    typeKeywords(5, "国税");
    window().BBtnKensaku->click();
    store::DataSet* result = lawShown(5);
    ASSERT_EQ(listedGyo(5), (std::vector<std::int64_t>{301, 302}));

    // ３条 is a circular's (190): outside 160 to 189, so not found, and the result stays.
    jump(5, "3");
    EXPECT_EQ(messages(), std::vector<std::string>{"該当の条文はありません"});
    EXPECT_EQ(lawShown(5), result);
    EXPECT_EQ(lawMain(5).Filter(), "(KubunNo >= 160) and (KubunNo < 190)");
    EXPECT_TRUE(lawMain(5).Filtered());

    jump(5, "2");
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(lawShown(5), &lawMain(5));
    EXPECT_EQ(currentGyo(5), 301);
    EXPECT_EQ(listedGyo(5), (std::vector<std::int64_t>{301}));
    // The keywords and coloured words stay.
    EXPECT_EQ(law(5).EditKey1->text(), QStringLiteral("国税"));
    EXPECT_EQ(law(5).HighlightWord1, cp932("国税"));

    // Shown under the list range, the main table takes the circular in.
    userSelectsRange(law(5).ComboBox, "国通関係");
    jump(5, "3");
    EXPECT_EQ(currentGyo(5), 302);
}

TEST_F(ArticleNumberJumpWindow, anEmptyNumberAsksForOneAndStillRecordsTheClick)
{
    const int head = registry().History.HistoryHead();
    jump(0, "");
    EXPECT_EQ(messages(), std::vector<std::string>{"条文番号を入力してください"});
    EXPECT_EQ(registry().History.HistoryHead(), head + 1);
}

TEST_F(ArticleNumberJumpWindow, backReturnsToTheArticleBeforeTheJump)
{
    moveTo(0, 2);
    jump(0, "35の2");
    ASSERT_EQ(currentGyo(0), 7);
    window().BBtnBack->click();
    EXPECT_EQ(currentGyo(0), 2);
    // The entry was taken as the button was pressed, with the number as typed.
    EXPECT_EQ(law(0).EditBangou->text(), QStringLiteral("35の2"));
    window().BBtnNext->click();
    EXPECT_EQ(currentGyo(0), 7);
    EXPECT_EQ(law(0).EditBangou->text(), QStringLiteral("３５条の２"));
}
