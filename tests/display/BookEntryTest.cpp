// The book entry display driven through the real main window offscreen: the two lines of each
// entry as the 法人目次 tab shows them, and the search words coloured in them.
#include "DisplayFlowFixture.h"
#include "display/BookEntryDisplay.h"

using namespace displaytest;

namespace {

store::BookVolumeContent hbooksVolume()
{
    store::BookVolumeContent b;
    b.letter = 'B';
    b.entries = {
        {10, 1, 1, cp932("基通"), "1", 12.5, cp932("　問１　寄附金の範囲")},
        {11, 1, 1, cp932("基通"), "2", 13, cp932("　　問２　二つの空白")},
        {12, 20, 2, cp932("税通"), "3", 30, cp932("消費税と消費の税額、ABC取引")},
        {13, 20, 3, cp932("税通"), "4", 31, cp932("問４　名前のない号")},
        {14, 30, 1, cp932("空欄"), "5", 40, cp932("問５　版も出版社もない")},
    };
    b.books = {{1, 1, cp932("法人税基本通達逐条解説"), cp932("十訂版"), cp932("税務研究会")},
               {20, 2, cp932("週刊税務通信"), cp932("第３０００号"), cp932("税務研究会")},
               {30, 1, cp932("空欄の書籍"), "", ""}};
    return b;
}

class BookEntry : public DisplayFlowTest {
protected:
    void SetUp() override
    {
        DisplayFlowTest::SetUp();
        store::writeBookVolume(dir.path(), hbooksVolume());
        start({0, 1, 1});
        window().SetActivePage(window().HbooksTab);
    }
    BookVolumeEntry& hbooks() { return registry().book[0]; }
    RichTextView* view() { return hbooks().RichEdit; }
    store::Table& bookMain() { return *registry().tables.book[0].mainTable; }
    void moveToEntry(int bookSeq) { ASSERT_TRUE(bookMain().Locate("BookSeq", {store::Value(std::int64_t{bookSeq})})); }
    std::vector<std::string> shownLines()
    {
        std::vector<std::string> lines;
        const std::string all = text::toUtf8(view()->plainText()).text;
        std::size_t start = 0;
        while (true) {
            const std::size_t end = all.find("\r\n", start);
            lines.push_back(all.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos)
                break;
            start = end + 2;
        }
        return lines;
    }
    static const QColor& red() { return display::kBookWord1Colour; }
    static const QColor& magenta() { return display::kBookWord2Colour; }
};

}  // namespace

TEST_F(BookEntry, everyEntryShowsItsBookAndItsHeadingOnTwoLines)
{
    struct Case {
        int bookSeq;
        const char* line1;
        const char* line2;
    };
    const Case cases[] = {
        // One leading ideographic space goes, and only one.
        {10, "法人税基本通達逐条解説　十訂版　税務研究会", "問１　寄附金の範囲"},
        {11, "法人税基本通達逐条解説　十訂版　税務研究会", "　問２　二つの空白"},
        {12, "週刊税務通信　第３０００号　税務研究会", "消費税と消費の税額、ABC取引"},
        // No name-table row for the entry's book: its short name, never another book's.
        {13, "税通　　", "問４　名前のない号"},
        // Empty edition and publisher: the two ideographic spaces stay.
        {14, "空欄の書籍　　", "問５　版も出版社もない"},
    };
    for (const Case& c : cases) {
        moveToEntry(c.bookSeq);
        EXPECT_EQ(shownLines(), (std::vector<std::string>{c.line1, c.line2})) << c.bookSeq;
        EXPECT_EQ(view()->document()->blockCount(), 2) << c.bookSeq;
    }
    // Back to a named book after the unnamed one.
    moveToEntry(10);
    EXPECT_EQ(shownLines().front(), "法人税基本通達逐条解説　十訂版　税務研究会");
}

TEST_F(BookEntry, theFirstEntryShowsWhenTheTablesOpen)
{
    EXPECT_EQ(shownLines(), (std::vector<std::string>{"法人税基本通達逐条解説　十訂版　税務研究会", "問１　寄附金の範囲"}));
}

TEST_F(BookEntry, wordTwoIsMagentaAndWordOneRedWhereTheyOverlap)
{
    hbooks().HighlightWord1 = cp932("消費");
    hbooks().HighlightWord2 = cp932("消費税");
    platform.clearBoxes();
    moveToEntry(12);
    EXPECT_EQ(runsInColour(view(), red()), (std::vector<QString>{QStringLiteral("消費"), QStringLiteral("消費")}));
    EXPECT_EQ(runsInColour(view(), magenta()), std::vector<QString>{QStringLiteral("税")});
    EXPECT_EQ(view()->caretPosition(), 0);
    EXPECT_EQ(view()->selectionLength(), 0);
    // The hourglass while each word is coloured, the default cursor after.
    EXPECT_EQ(platform.cursorChanges(), (std::vector<CursorShape>{CursorShape::Hourglass, CursorShape::Arrow,
                                                                  CursorShape::Hourglass, CursorShape::Arrow}));
}

TEST_F(BookEntry, wordsAreColouredWithoutRegardToLetterCase)
{
    hbooks().HighlightWord1 = "abc";
    moveToEntry(12);
    EXPECT_EQ(runsInColour(view(), red()), std::vector<QString>{QStringLiteral("ABC")});
    EXPECT_TRUE(runsInColour(view(), magenta()).empty());

    // Only word 2: every match in magenta, in both lines.
    hbooks().HighlightWord1.clear();
    hbooks().HighlightWord2 = cp932("税");
    moveToEntry(12);
    EXPECT_EQ(runsInColour(view(), magenta()),
              std::vector<QString>(4, QStringLiteral("税")));
}

TEST_F(BookEntry, afterTheBookHomeTheEntriesShowNoColour)
{
    hbooks().HighlightWord1 = cp932("消費");
    moveToEntry(12);
    ASSERT_FALSE(runsInColour(view(), red()).empty());
    window().BBtnHome->click();
    EXPECT_TRUE(hbooks().HighlightWord1.empty());
    moveToEntry(12);
    EXPECT_TRUE(runsInColour(view(), red()).empty());
    EXPECT_TRUE(runsInColour(view(), magenta()).empty());
    EXPECT_EQ(shownLines().back(), "消費税と消費の税額、ABC取引");
}
