// The tool palette driven offscreen over the authoring build: its strip of buttons, several
// palettes at once, PositionSave and ReturnPositon with "C4.dl_" (after searches, Home and a
// restart of the program), NextData, SpecialSearch and the HyperLink button.
#include <QPushButton>

#include <fstream>
#include <iterator>

#include "EditorFixture.h"
#include "authoring/TTool.h"
#include "display/DataGrid.h"
#include "store/DataSource.h"

using namespace authoringtest;

namespace {

class ToolPalette : public EditorTest {
protected:
    void SetUp() override
    {
        writeStandardVolume();
        start(kAuthoringTitle, true);
    }
    TTool* palette()
    {
        if (!window().Tool)
            window().ToolAction->trigger();
        return window().Tool;
    }
    std::int64_t currentGyo() { return registry().tables.law[1].subTable->IntegerField("Gyo"); }
    std::vector<std::int64_t> listedGyo()
    {
        std::vector<std::int64_t> out;
        store::DataSet* list = registry().tables.law[1].mainSource->dataSet();
        const int gyo = list->FieldIndex("Gyo");
        for (int r = 0; r < list->RecordCount(); ++r)
            out.push_back(list->ValueAt(r, gyo).asInteger());
        return out;
    }
    std::string positionFile() const
    {
        std::ifstream in(dir.path() / "C4.dl_", std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    void savePosition()
    {
        platform.queueAnswer(Answer::Yes);
        palette()->Button5->click();
    }
    void search(const char* keyword)
    {
        registry().law[1].EditKey1->setText(qs(keyword));
        registry().law[1].EditKey2->clear();
        window().BBtnKensaku->click();
    }
    void showBookTab() { window().SetActivePage(registry().book[0].TabSheet); }
};

}  // namespace

TEST_F(ToolPalette, isAStripOfFiveButtonsAndSeveralMayBeOpen)
{
    window().ToolAction->trigger();
    TTool* first = window().Tool;
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), qs("Tool"));
    EXPECT_EQ(first->size(), QSize(396, 19));
    EXPECT_TRUE(first->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(first->isModal());

    struct Expected {
        QPushButton* button;
        const char* caption;
        int left;
    };
    const std::vector<Expected> buttons{{first->Button1, "HyperLink", 0},
                                        {first->Button3, "SpecialSearch", 80},
                                        {first->Button5, "PositionSave", 160},
                                        {first->Button4, "ReturnPositon", 240},
                                        {first->Button2, "NextData", 320}};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].button->text(), qs(buttons[i].caption));
        EXPECT_EQ(buttons[i].button->geometry(), QRect(buttons[i].left, 0, 76, 19)) << buttons[i].caption;
        if (i + 1 < buttons.size()) {
            EXPECT_EQ(buttons[i].button->nextInFocusChain(), buttons[i + 1].button) << buttons[i].caption;
        }
    }

    window().ToolAction->trigger();
    TTool* second = window().Tool;
    EXPECT_NE(second, first);
    EXPECT_EQ(window().findChildren<TTool*>().size(), 2);
    QPointer<TTool> closing = first;
    first->close();
    flushDeletes();
    EXPECT_TRUE(closing.isNull());
    EXPECT_EQ(window().findChildren<TTool*>().size(), 1);
    EXPECT_EQ(window().Tool, second);
}

TEST_F(ToolPalette, positionSaveAsksAndKeepsOnlyTheLatestPosition)
{
    showArticle(20);
    platform.queueAnswer(Answer::No);
    palette()->Button5->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    const RecordedBox& box = platform.lastBox();
    EXPECT_EQ(u8(box.caption), "PositionSave Infomation");
    EXPECT_EQ(u8(box.text), "現在の情報を保存しますか");
    EXPECT_EQ(box.icon, MessageIcon::None);
    EXPECT_EQ(box.buttons, QuestionButtons::YesNo);
    EXPECT_FALSE(fs::exists(dir.path() / "C4.dl_"));

    savePosition();
    EXPECT_EQ(positionFile(), "1\r\n20\r\n");
    showArticle(40);
    savePosition();
    EXPECT_EQ(positionFile(), "1\r\n40\r\n");
}

TEST_F(ToolPalette, returnPositionSearchesTheListAsItStandsAndTheTabChangesAnyway)
{
    showArticle(20);
    savePosition();
    search("義務");
    ASSERT_EQ(listedGyo(), (std::vector<std::int64_t>{30}));
    showBookTab();
    platform.clearBoxes();

    palette()->Button4->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"保存データに移動できません"}));
    EXPECT_EQ(window().ActivePage(), registry().law[1].TabSheet);
    EXPECT_EQ(window().CurrentVolume, 1);
    EXPECT_EQ(currentGyo(), 30);

    // after Home the whole list is back and the same file finds the article
    window().BBtnHome->click();
    platform.clearBoxes();
    palette()->Button4->click();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(currentGyo(), 20);
    EXPECT_EQ(window().focusWidget(), registry().law[1].RichEdit);

    // the view left is in the history: Back returns to it
    window().BBtnBack->click();
    EXPECT_EQ(currentGyo(), 10);
}

TEST_F(ToolPalette, theSavedPositionOutlivesTheProgram)
{
    showArticle(40);
    savePosition();
    program.reset();
    start(kAuthoringTitle, true);
    ASSERT_EQ(currentGyo(), 10);
    platform.clearBoxes();
    palette()->Button4->click();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(currentGyo(), 40);
}

TEST_F(ToolPalette, aPositionFileThatNamesNoPresentVolumeIsIgnored)
{
    for (const char* content : {"7\r\n10\r\n", "0\r\n10\r\n", "1\r\n", "x\r\n20\r\n", "1\r\nabc\r\n", ""}) {
        dir.writeFile("C4.dl_", content);
        showBookTab();
        platform.clearBoxes();
        palette()->Button4->click();
        EXPECT_TRUE(platform.boxes().empty()) << content;
        EXPECT_EQ(window().ActivePage(), registry().book[0].TabSheet) << content;
    }
    fs::remove(dir.path() / "C4.dl_");
    palette()->Button4->click();
    EXPECT_EQ(window().ActivePage(), registry().book[0].TabSheet);
}

TEST_F(ToolPalette, nextDataStepsThroughTheListAndStopsAtItsEnd)
{
    showArticle(40);
    palette()->Button2->click();
    EXPECT_EQ(currentGyo(), 50);
    EXPECT_EQ(window().focusWidget(), registry().law[1].RichEdit);
    const std::string shown = registry().law[1].ArticleRtf;
    palette()->Button2->click();
    EXPECT_EQ(currentGyo(), 50);
    EXPECT_EQ(registry().law[1].ArticleRtf, shown);
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(ToolPalette, specialSearchListsTheMarkedArticles)
{
    palette()->Button3->click();
    EXPECT_EQ(messages(), (std::vector<std::string>{"該当の条文はありません"}));

    auto articleRows = standardArticles();
    articleRows[2].content = "＊事業者は、第５条の規定により消費税を納める義務がある。";
    articleRows[4].content = "法第３条に規定する事業者とは、次に掲げる者をいう。＊";
    if (window().Tool)
        delete window().Tool.data();
    program.reset();
    writeVolume(authoringVolume(articleRows));
    start(kAuthoringTitle, true);
    platform.clearBoxes();
    palette()->Button3->click();
    EXPECT_TRUE(platform.boxes().empty()) << messages().front();
    EXPECT_EQ(listedGyo(), (std::vector<std::int64_t>{30, 50}));
    const LawVolumeEntry& e = registry().law[1];
    EXPECT_EQ(e.EditKey1->text(), qs("－"));
    EXPECT_EQ(e.EditKey2->text(), qs("条"));
    EXPECT_EQ(u8(e.HighlightWord1), "－");
    EXPECT_EQ(u8(e.HighlightWord2), "条");
    EXPECT_EQ(window().focusWidget(), e.RichEdit);
}

TEST_F(ToolPalette, hyperLinkOpensTheEditorOnTheViewsSelection)
{
    showArticle(20);
    selectInView("第３条");
    palette()->Button1->click();
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->Edit4->text(), qs("第３条"));
    EXPECT_EQ(editor()->PageControl1->currentWidget(), editor()->TabSheet3);
}

TEST_F(ToolPalette, onABookTabTheButtonsDoNothing)
{
    showArticle(20);
    palette();
    showBookTab();
    for (QPushButton* b : {palette()->Button1, palette()->Button2, palette()->Button3, palette()->Button5})
        b->click();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_EQ(editor(), nullptr);
    EXPECT_FALSE(fs::exists(dir.path() / "C4.dl_"));
    EXPECT_EQ(currentGyo(), 20);
    EXPECT_EQ(window().CurrentVolume, -1);
}
