// The history ring's index arithmetic, driven as the window drives it: each view is a number
// saved into the slot the ring names, and a step restores the entry at the cursor.
#include <gtest/gtest.h>

#include "nav/HistoryRing.h"

using nav::HistoryRing;

namespace {

// A user moving between views; the view on screen is one number.
class Journey {
public:
    HistoryRing ring;
    int view = 0;
    std::vector<int> savedSlots;  // every slot written, in order

    HistoryRing::SaveView saver()
    {
        return [this](int slot) {
            savedSlots.push_back(slot);
            ring.entry(slot).RowKey = view;
        };
    }
    // A search, jump or link: the view before it is recorded, then the new view shows.
    void moveTo(int next)
    {
        ring.RecordHistory(saver());
        view = next;
    }
    bool back()
    {
        if (!ring.HistoryBack(saver()))
            return false;
        view = ring.current().RowKey;
        return true;
    }
    bool next()
    {
        if (!ring.HistoryNext(saver()))
            return false;
        view = ring.current().RowKey;
        return true;
    }
    std::vector<int> indices() const
    {
        return {ring.HistoryHead(), ring.HistoryCursor(), ring.HistoryNewest(), ring.HistoryWrapped()};
    }
};

TEST(HistoryRing, rightAfterStartUpBackMovesNothingAndNextDoesNothing)
{
    Journey j;
    j.view = 7;
    EXPECT_FALSE(j.back());
    EXPECT_EQ(j.view, 7);
    EXPECT_EQ(j.savedSlots, std::vector<int>{0});  // the view being left is still saved
    EXPECT_EQ(j.indices(), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_FALSE(j.next());
    EXPECT_EQ(j.savedSlots, std::vector<int>{0});
    EXPECT_EQ(j.indices(), (std::vector<int>{0, 0, 0, 0}));
}

TEST(HistoryRing, backAndNextRetraceASearchAndJournalEveryViewLeft)
{
    Journey j;
    j.view = 1;  // the whole list
    j.moveTo(2);  // a search result
    EXPECT_EQ(j.indices(), (std::vector<int>{1, 1, 1, 0}));
    EXPECT_EQ(j.savedSlots, std::vector<int>{0});

    EXPECT_TRUE(j.back());
    EXPECT_EQ(j.view, 1);
    EXPECT_EQ(j.indices(), (std::vector<int>{2, 0, 1, 0}));
    EXPECT_EQ(j.savedSlots, (std::vector<int>{0, 1}));

    j.view = 11;  // the user scrolled before going forward: that view is journalled too
    EXPECT_TRUE(j.next());
    EXPECT_EQ(j.view, 2);
    EXPECT_EQ(j.indices(), (std::vector<int>{3, 1, 1, 0}));
    EXPECT_EQ(j.savedSlots, (std::vector<int>{0, 1, 2, 0}));
    EXPECT_EQ(j.ring.entry(2).RowKey, 11);
    EXPECT_EQ(j.ring.entry(0).RowKey, 11);

    // Next stops at the newest record.
    EXPECT_FALSE(j.next());
    EXPECT_EQ(j.view, 2);
    EXPECT_EQ(j.indices(), (std::vector<int>{3, 1, 1, 0}));

    // Back twice goes back to the start and no further.
    EXPECT_TRUE(j.back());
    EXPECT_EQ(j.view, 11);
    EXPECT_FALSE(j.back());
    EXPECT_EQ(j.view, 11);
    EXPECT_EQ(j.ring.HistoryCursor(), 0);
}

TEST(HistoryRing, nextIsPossibleUntilTheLatestRecordAndNotAfterANewOne)
{
    Journey j;
    j.view = 1;
    j.moveTo(2);
    j.moveTo(3);
    j.moveTo(4);
    EXPECT_TRUE(j.back());
    EXPECT_EQ(j.view, 3);
    EXPECT_TRUE(j.back());
    EXPECT_EQ(j.view, 2);
    EXPECT_TRUE(j.next());
    EXPECT_EQ(j.view, 3);
    EXPECT_TRUE(j.next());
    EXPECT_EQ(j.view, 4);
    EXPECT_FALSE(j.next());

    EXPECT_TRUE(j.back());
    EXPECT_EQ(j.view, 3);
    j.moveTo(5);  // a new search from the earlier view
    EXPECT_FALSE(j.next());
    EXPECT_EQ(j.view, 5);
    // The way back now runs through the views left by Back and Next since the latest record.
    std::vector<int> wayBack;
    while (j.back())
        wayBack.push_back(j.view);
    EXPECT_EQ(wayBack, (std::vector<int>{3, 4, 3, 2, 3, 4, 3, 2, 1}));
}

TEST(HistoryRing, after101RecordsBackGoesFromSlotZeroToSlot100AndCirclesForGood)
{
    Journey j;
    for (int i = 0; i < 101; ++i)
        j.moveTo(i + 1);  // slot i holds view i
    EXPECT_EQ(j.indices(), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(j.view, 101);

    EXPECT_TRUE(j.back());
    EXPECT_EQ(j.ring.HistoryCursor(), 100);
    EXPECT_EQ(j.view, 100);
    EXPECT_EQ(j.ring.HistoryHead(), 1);

    // Back never refuses again: three hundred steps later it is still moving.
    for (int i = 0; i < 300; ++i)
        ASSERT_TRUE(j.back()) << i;
    EXPECT_EQ(j.ring.HistoryWrapped(), 1);
    EXPECT_EQ(j.ring.HistoryCursor(), (100 - 300 % 101 + 101) % 101);
}

TEST(HistoryRing, nextCrossesFromSlot100ToSlotZero)
{
    Journey j;
    for (int i = 0; i < 101; ++i)
        j.moveTo(i + 1);
    ASSERT_TRUE(j.back());
    EXPECT_EQ(j.ring.HistoryCursor(), 100);
    EXPECT_TRUE(j.next());
    EXPECT_EQ(j.ring.HistoryCursor(), 0);
    EXPECT_EQ(j.view, 101);  // the view left by the first Back, saved at slot 0
    EXPECT_FALSE(j.next());
}

TEST(HistoryRing, theHeadWrapsAfter101Advances)
{
    HistoryRing ring;
    for (int i = 0; i < 100; ++i)
        ring.AdvanceHead();
    EXPECT_EQ(ring.HistoryHead(), 100);
    EXPECT_EQ(ring.HistoryWrapped(), 0);
    ring.AdvanceHead();
    EXPECT_EQ(ring.HistoryHead(), 0);
    EXPECT_EQ(ring.HistoryWrapped(), 1);
    ring.AdvanceHead();
    EXPECT_EQ(ring.HistoryWrapped(), 1);
    EXPECT_THROW(ring.entry(101), std::out_of_range);
}

TEST(HistoryRing, caretScrollsUpTo350CharactersPastItsPosition)
{
    const std::tuple<int, int, int> cases[] = {
        {1000, 100, 450},  // long article: 350 past the caret
        {120, 100, 120},   // caret near the end of a short article: the end
        {450, 100, 450},
        {0, 0, 0},
    };
    for (const auto& [length, selStart, position] : cases)
        EXPECT_EQ(nav::CaretScrollPosition(length, selStart), position) << length << " " << selStart;
}

}  // namespace
