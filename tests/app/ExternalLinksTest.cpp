// The four commands of the main window that do not belong to a volume's data, driven through the
// real window: the Color button's keyword colouring, the web menu's items and what each hands to
// the shell, the help file, the About box's exact text, and the help pages that ship.
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTextCursor>

#include "ProgramFixture.h"
#include "display/DataGrid.h"
#include "display/RichTextView.h"
#include "store/DataSet.h"
#include "store/Table.h"
#include "text/QtText.h"

using namespace apptest;

namespace {

// 消費税 with article numbers of the forms the colouring normalises.
store::LawVolumeContent colouringVolume()
{
    store::LawVolumeContent v = lawVolume('E', "消費税法", 1, 2);
    v.articles[0].honbun = cp932("第１条　第３５－２条の規定により、３５－２号の様式による。") + "\r\n" +
                           cp932("２　第２－１項の場合は、この限りでない。") + "\r\n";
    v.links.clear();
    return v;
}

class Colouring : public ProgramTest {
protected:
    // A build whose title carries a marker that shows the Color button.
    void SetUp() override
    {
        store::writeLawVolume(dir.path(), colouringVolume());
        writeBookVolume('B');
        start(flags({1, 0, 1, 1, 1, 1}, {0, 1, 1}), "Sorvane 36 Lite Plus");
        showWindow();
    }
    LawVolumeEntry& syohi() { return registry().law[1]; }
    // The colour the view shows the bytes [at, at + length) in.
    QColor colourInView(const std::string& cp932Word, int occurrence = 0)
    {
        RichTextView* view = syohi().RichEdit;
        int at = -1;
        for (int i = 0; i <= occurrence; ++i)
            at = view->findText(cp932Word, at + 1, -1);
        EXPECT_GE(at, 0);
        view->select(at, static_cast<int>(cp932Word.size()));
        const QColor colour = view->textCursor().charFormat().foreground().color();
        view->select(0, 0);
        return colour;
    }
    int occurrences(const std::string& haystack, const std::string& needle)
    {
        int n = 0;
        for (std::size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
            ++n;
        return n;
    }
};

}  // namespace

TEST_F(Colouring, ColorButton_normalisesTheKeyEditsAndColoursBothWordsWithoutASearch)
{
    ASSERT_TRUE(window().ColorSetButton->isVisible());
    store::DataSet* listed = syohi().DBGrid->dataSet();
    const int historyNewest = registry().History.HistoryNewest();
    const int historyCursor = registry().History.HistoryCursor();

    typeText(syohi().EditKey1, QStringLiteral("35-2"));
    typeText(syohi().EditKey2, QStringLiteral("2ー1"));
    window().ColorSetButton->click();

    EXPECT_EQ(syohi().EditKey1->text(), QStringLiteral("３５－２"));
    EXPECT_EQ(syohi().EditKey2->text(), QStringLiteral("２－１"));
    EXPECT_EQ(syohi().HighlightWord1, cp932("３５－２"));
    EXPECT_EQ(syohi().HighlightWord2, cp932("２－１"));
    // Word 1 red, word 2 magenta, at every occurrence.
    EXPECT_EQ(occurrences(syohi().ArticleRtf, "{\\cf1 " + cp932("３５－２") + "}"), 2);
    EXPECT_EQ(occurrences(syohi().ArticleRtf, "{\\cf2 " + cp932("２－１") + "}"), 1);
    EXPECT_EQ(colourInView(cp932("３５－２"), 0), QColor(255, 0, 0));
    EXPECT_EQ(colourInView(cp932("３５－２"), 1), QColor(255, 0, 0));
    EXPECT_EQ(colourInView(cp932("２－１")), QColor(255, 0, 255));

    // No search, no history: the list still shows the main table on the same row.
    EXPECT_EQ(syohi().DBGrid->dataSet(), listed);
    EXPECT_EQ(registry().tables.law[1].mainTable->IntegerField("Gyo"), 1);
    EXPECT_EQ(registry().History.HistoryNewest(), historyNewest);
    EXPECT_EQ(registry().History.HistoryCursor(), historyCursor);
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(Colouring, ColorButton_doesNothingWithBothEditsEmptyOrOnABookTab)
{
    syohi().HighlightWord1 = cp932("規定");
    const std::string rtf = syohi().ArticleRtf;
    window().ColorSetButton->click();
    EXPECT_EQ(syohi().HighlightWord1, cp932("規定"));
    EXPECT_EQ(syohi().ArticleRtf, rtf);

    typeText(syohi().EditKey1, QStringLiteral("35-2"));
    window().SetActivePage(window().HbooksTab);
    typeText(registry().book[0].EditKey1, QStringLiteral("35-2"));
    window().ColorSetButton->click();
    EXPECT_EQ(syohi().EditKey1->text(), QStringLiteral("35-2"));
    EXPECT_EQ(registry().book[0].EditKey1->text(), QStringLiteral("35-2"));
    EXPECT_EQ(syohi().ArticleRtf, rtf);
    EXPECT_TRUE(platform.boxes().empty());
}

namespace {

class ExternalLinks : public ProgramTest {
protected:
    void SetUp() override
    {
        writeProductVolumes();
        start(flags({1, 0, 0, 1, 1, 1}));
        showWindow();
    }
};

}  // namespace

TEST_F(ExternalLinks, WebMenu_holdsItsItemsInOrderAndEachOpensItsAddress)
{
    struct Item {
        const char* name;
        const char* caption;  // "-" for a separator
        const char* target;   // what the shell is handed
    };
    const Item expected[] = {
        {"HTML2", "HTMLヘルプ SorvaneHelp.html(&H)", "SorvaneHelp.html"},
        {"SorvaneHomePage", "Sorvane ｻﾎﾟｰﾄﾎｰﾑﾍﾟｰｼﾞ https://www.sorvane.example/support/(&S)",
         "https://www.sorvane.example/support/"},
        {"N1", "-", nullptr},
        {"HoureiDataBase", "e-Gov法令検索 https://laws.e-gov.go.jp/(&L)", "https://laws.e-gov.go.jp/"},
        {"KokuzeiTutatu", "国税庁 通達ﾎｰﾑﾍﾟｰｼﾞ https://www.nta.go.jp/law/tsutatsu/menu.htm(&T)",
         "https://www.nta.go.jp/law/tsutatsu/menu.htm"},
        {"TaxAnswer", "国税庁 ﾀｯｸｽｱﾝｻｰ https://www.nta.go.jp/taxes/shiraberu/taxanswer/index2.htm(&F)",
         "https://www.nta.go.jp/taxes/shiraberu/taxanswer/index2.htm"},
        {"N11", "-", nullptr},
        {"KokuzeiHp", "国税庁 https://www.nta.go.jp/(&G)", "https://www.nta.go.jp/"},
        {"KokuzeiRosen", "国税庁 路線価図 https://www.rosenka.nta.go.jp/(&R)", "https://www.rosenka.nta.go.jp/"},
        {"HuhukuSaiketu", "国税不服審判所 裁決事例 https://www.kfs.go.jp/service/index.html(&K)",
         "https://www.kfs.go.jp/service/index.html"},
        {"N12", "-", nullptr},
        {"QyxKawase", "QYX 外国為替レート・金利・株価　月末推移表 https://www.stat-search.boj.or.jp/(&D)",
         "https://www.stat-search.boj.or.jp/"},
    };
    const QList<QAction*> actions = window().NetPopupMenu1->actions();
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(std::size(expected)));
    std::vector<std::string> expectedTargets;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        QAction* a = actions[static_cast<qsizetype>(i)];
        EXPECT_EQ(a->objectName().toStdString(), expected[i].name);
        if (!expected[i].target) {
            EXPECT_TRUE(a->isSeparator()) << expected[i].name;
            continue;
        }
        EXPECT_EQ(a->text().toStdString(), expected[i].caption);
        a->trigger();
        expectedTargets.push_back(cp932(expected[i].target));
    }
    EXPECT_EQ(platform.shellTargets(), expectedTargets);
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(ExternalLinks, WebButton_opensTheWebMenuOnAMouseDown)
{
    QTest::mousePress(window().BBtnNet, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_TRUE(window().NetPopupMenu1->isVisible());
    window().NetPopupMenu1->hide();
    EXPECT_TRUE(platform.shellTargets().empty());
}

TEST_F(ExternalLinks, HelpMenu_opensTheHelpFileAndSaysNothingWhenItIsMissing)
{
    platform.setShellOpenResult(false);
    window().HTML1->trigger();
    EXPECT_EQ(platform.shellTargets(), (std::vector<std::string>{"SorvaneHelp.html"}));
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_TRUE(window().isVisible());
}

TEST_F(ExternalLinks, About_showsTheVersionMakerAndDataCurrencyLines)
{
    window().About1->trigger();
    ASSERT_EQ(platform.boxes().size(), 1u);
    const RecordedBox& box = platform.lastBox();
    EXPECT_EQ(box.kind, BoxKind::Inform);
    EXPECT_EQ(box.caption, cp932("Sorvane バージョン情報"));
    EXPECT_EQ(box.icon, MessageIcon::Information);
    EXPECT_EQ(box.text, cp932("Sorvane 36 Lite Ver 1.0\r"
                              "開発・販売　Sorvane 開発チーム\r"
                              "税法条文データベース　Sorvane シリーズ\r"
                              "お問い合わせ　Sorvane サポート窓口\r"
                              "ホームページ　https://www.sorvane.example/\r"
                              "サポート　https://www.sorvane.example/support/\r"
                              "電子メール　support@sorvane.example\r"
                              "受付時間　平日 9:00～17:00（祝日・年末年始を除く）\r"
                              "\r"
                              "収録条文　令和5年6月1日現在\r"
                              "\r"
                              "適用事業年度開始日\r"
                              "　令和5年4月1日～令和6年3月31日\r"
                              "適用事業年度終了日\r"
                              "　令和6年3月31日～令和7年3月30日\r"));
    // Lines end with a carriage return alone.
    EXPECT_EQ(box.text.find('\n'), std::string::npos);
}

TEST(HelpPages, TheHelpPagesDescribeEveryCommandAndTheReferenceDialog)
{
    // The words a user looks for in the help: every button's caption, the menus, the dialogs.
    const char* const words[] = {"戻る", "進む", "ホーム", "印刷", "Wordへ", "全て開く", "クリア", "ジャンプ",
                                 "検索", "参照条文", "メ　モ", "Web", "キーワード1", "キーワード２", "条 文 番 号",
                                 "範        囲", "選択文字検索", "コピー", "すべて選択", "メモウインドウ",
                                 "バージョン情報", "Temp"};
    QFile help(QStringLiteral(SORVANE_SOURCE_DIR "/app/help/SorvaneHelp.html"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QString page = QString::fromUtf8(help.readAll());
    for (const char* word : words)
        EXPECT_TRUE(page.contains(QString::fromUtf8(word))) << word;
    EXPECT_TRUE(page.contains(QStringLiteral("jyokan1.html")));

    QFile reference(QStringLiteral(SORVANE_SOURCE_DIR "/app/help/jyokan1.html"));
    ASSERT_TRUE(reference.open(QIODevice::ReadOnly));
    const QString referencePage = QString::fromUtf8(reference.readAll());
    for (const char* word : {"参照条文検索", "政令", "省令", "下位", "全範囲", "メモウインドウへ貼付", "何もしない",
                             "最小サイズ", "通常サイズ"})
        EXPECT_TRUE(referencePage.contains(QString::fromUtf8(word))) << word;
}
