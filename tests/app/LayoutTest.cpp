// The main window's layout as the user sees it: the button bar, the tabs, the condition panel,
// the fonts (the IPA faces standing in for the designed ones), the menus and the status bar.
#include <QAction>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTabBar>

#include "ProgramFixture.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/RichTextView.h"

using namespace apptest;

using Layout = ProgramTest;

TEST_F(Layout, theButtonBarHoldsThirteenButtonsInOrder)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    struct Button {
        const char* name;
        int left;
        const char* caption;
        const char* hint;
        int captionPixels;
    };
    const Button buttons[] = {
        {"BBtnBack", 2, "戻る", "直前データの表示", 12},
        {"BBtnNext", 52, "進む", "直後データの表示", 12},
        {"BBtnHome", 102, "ホーム", "すべてクリア", 12},
        {"BBtnPrint", 157, "印刷", "印刷の実行", 12},
        {"BBtnWord", 207, "Wordへ", "Wordへ条文を貼付", 12},
        {"BBtnOpenAll", 257, "全て開く", "全ての項目を表示", 11},
        {"BBtnClear", 312, "クリア", "検索条件の消去", 12},
        {"BBtnJump", 362, "ジャンプ", "条文やﾍﾟｰｼﾞ番号で移動", 12},
        {"BBtnKensaku", 412, "検索", "検索実行（選択文字があるときは、選択文字検索）", 12},
        {"BBtnKanrenJyoubun", 467, "参照条文", "この条文を参照している条文の検索", 11},
        {"BBtnMemo", 517, "メ　モ", "最大画面のメモウインドウへ条文の貼付", 12},
        {"BBtnNet", 567, "Web", "ホームページの表示", 12},
        {"ColorSetButton", 622, "Color", "", 12},
    };
    QWidget* previous = nullptr;
    for (const Button& b : buttons) {
        auto* button = window().findChild<QToolButton*>(QString::fromLatin1(b.name));
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->geometry(), QRect(b.left, 0, 50, 50)) << b.name;
        EXPECT_EQ(button->text(), QString::fromUtf8(b.caption)) << b.name;
        EXPECT_EQ(button->toolTip(), QString::fromUtf8(b.hint)) << b.name;
        EXPECT_EQ(button->font().pixelSize(), b.captionPixels) << b.name;
        EXPECT_TRUE(button->font().bold()) << b.name;
        EXPECT_EQ(button->toolButtonStyle(), Qt::ToolButtonTextUnderIcon) << b.name;
        EXPECT_FALSE(button->icon().isNull()) << b.name;
        if (previous) {
            EXPECT_EQ(previous->nextInFocusChain(), button) << b.name;
        }
        previous = button;
    }
    EXPECT_EQ(window().ButtonPanel->height(), 50);
}

TEST_F(Layout, nineTabsInPageOrderSixtyEightPixelsEach)
{
    writeProductVolumes();
    start(flags({0, 0, 0, 0, 0, 0}, {0, 0, 0}));
    const std::pair<const char*, const char*> tabs[] = {
        {"HoujinTab", "法人税"}, {"HbooksTab", "法人目次"}, {"SyohiTab", "消費税"},  {"SbooksTab", "消費目次"},
        {"GenTab", "会社法民法"}, {"TokuTab", "所得税"},    {"ZokuTab", "相続税"},   {"TbooksTab", "資産目次"},
        {"MinTab", "国通徴印紙"},
    };
    PageControl* pages = window().MainPageControl;
    ASSERT_EQ(pages->count(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(pages->widget(i)->objectName(), tabs[i].first);
        EXPECT_EQ(pages->tabText(i), QString::fromUtf8(tabs[i].second));
        EXPECT_EQ(pages->tabBar()->tabRect(i).width(), 68) << tabs[i].first;
    }
    // The designed active tab.
    EXPECT_EQ(window().ActivePage(), window().MinTab);
}

TEST_F(Layout, theClientAreaIs618By489AtDesign)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    EXPECT_EQ(window().width(), 618);
    EXPECT_EQ(window().height() - window().menuBar()->height(), 489);
    EXPECT_EQ(window().StatusBar1->height(), 23);
    EXPECT_EQ(window().findChild<QLabel*>("StatusPanel0")->width(), 400);
}

TEST_F(Layout, theLawConditionPanelAndItsInputs)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    QWidget* panel = window().findChild<QWidget*>("SyohiPanel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->height(), 48);
    QStringList labels;
    for (QLabel* l : panel->findChildren<QLabel*>()) {
        labels << l->text();
        EXPECT_TRUE(l->font().bold());
        EXPECT_EQ(l->palette().color(QPalette::WindowText), QColor(128, 0, 128));
    }
    EXPECT_EQ(labels, (QStringList{"キーワード1", "キーワード２", "条 文 番 号", "範        囲"}));
    const LawVolumeEntry& e = registry().law[1];
    EXPECT_EQ(e.EditKey1->geometry().topLeft(), QPoint(82, 4));
    EXPECT_EQ(e.EditKey2->geometry().topLeft(), QPoint(338, 4));
    EXPECT_EQ(e.EditBangou->geometry().topLeft(), QPoint(82, 25));
    EXPECT_EQ(e.ComboBox->geometry().topLeft(), QPoint(338, 24));
    for (QWidget* input : {static_cast<QWidget*>(e.EditKey1), static_cast<QWidget*>(e.EditKey2),
                           static_cast<QWidget*>(e.EditBangou), static_cast<QWidget*>(e.ComboBox)})
        EXPECT_EQ(input->width(), 170) << input->objectName().toStdString();
    EXPECT_EQ(QFontInfo(e.EditKey1->font()).family(), "IPAGothic");
    EXPECT_EQ(e.ComboBox->font().pixelSize(), 13);
    EXPECT_EQ(e.ComboBox->currentText(), "全範囲");
    EXPECT_EQ(e.ComboBox->toolTip(), "検索や表示の範囲の設定");
    EXPECT_EQ(e.ComboBox->maxVisibleItems(), 19);
    EXPECT_EQ(registry().law[2].ComboBox->maxVisibleItems(), 23);
    EXPECT_TRUE(e.EditKey1->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_TRUE(e.EditBangou->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_FALSE(e.ComboBox->testAttribute(Qt::WA_InputMethodEnabled));
    // The number edit is skipped by the Tab key.
    EXPECT_EQ(e.EditBangou->focusPolicy(), Qt::ClickFocus);
}

TEST_F(Layout, theListAndTextPanelsOfALawTab)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    const LawVolumeEntry& e = registry().law[1];
    EXPECT_EQ(e.Panel2->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(window().findChild<QWidget*>("SyohiPanel5")->width(), 14);
    EXPECT_EQ(window().findChild<QWidget*>("SyohiPanel4")->width(), 14);
    EXPECT_NE(window().findChild<QWidget*>("SyohiSplitter2"), nullptr);
    EXPECT_EQ(window().findChild<QWidget*>("Splitter2")->height(), 4);
    EXPECT_EQ(e.TreeView->indentation(), 16);
    EXPECT_EQ(QFontInfo(e.RichEdit->font()).family(), "IPAMincho");
    EXPECT_EQ(e.RichEdit->font().pixelSize(), 16);
    EXPECT_TRUE(e.RichEdit->isReadOnly());
    EXPECT_EQ(e.RichEdit->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(e.RichEdit->toolTip(), "範囲選択後、マウスを右クリックするとコピーできます");
    // Top to bottom: conditions, list, splitter, text.
    EXPECT_LT(window().findChild<QWidget*>("SyohiPanel1")->y(), e.Panel2->y());
    EXPECT_LT(e.Panel2->y(), window().findChild<QWidget*>("SyohiSplitter")->y());
    EXPECT_LT(window().findChild<QWidget*>("SyohiSplitter")->y(), window().findChild<QWidget*>("SyohiPanel3")->y());
    EXPECT_EQ(QFontInfo(window().font()).family(), "IPAPGothic");
}

TEST_F(Layout, theBookTabsPanels)
{
    writeProductVolumes();
    writeBookVolume('B');
    start(flags({1, 0, 0, 1, 1, 1}, {0, 1, 1}));
    showWindow();
    window().SetActivePage(window().HbooksTab);
    QTest::qWait(0);
    const BookVolumeEntry& e = registry().book[0];
    QStringList labels;
    for (QLabel* l : window().findChild<QWidget*>("HbooksPanel1")->findChildren<QLabel*>())
        labels << l->text();
    EXPECT_EQ(labels, (QStringList{"キーワード1", "キーワード２", "ﾍﾟｰｼﾞ 番 号", "範         囲"}));
    EXPECT_EQ(e.EditKey1->geometry().topLeft(), QPoint(82, 3));
    EXPECT_FALSE(e.EditPage->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(e.EditPage->focusPolicy(), Qt::ClickFocus);
    EXPECT_EQ(e.ComboBox->maxVisibleItems(), 16);
    EXPECT_EQ(e.DBGrid->toolTip(), "ダブルクリックで該当の通達・裁決へジャンプ");
    EXPECT_EQ(e.RichEdit->font().pixelSize(), 15);
    EXPECT_FALSE(e.Memo->isVisible());
    EXPECT_EQ(e.Memo->objectName(), "HbooksMemo");
    EXPECT_EQ(e.Memo->font().pixelSize(), 16);
    EXPECT_EQ(e.Panel3->height(), 97);
    EXPECT_LT(window().findChild<QWidget*>("Splitter1")->y(), e.Panel3->y());
}

TEST_F(Layout, thePopupMenusWithTheirShortcuts)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    struct Item {
        const char* name;
        const char* caption;  // "-" for a separator
        const char* shortcut;
        bool visible;
    };
    auto check = [](QMenu* menu, std::vector<Item> items) {
        QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(items.size())) << menu->objectName().toStdString();
        for (std::size_t i = 0; i < items.size(); ++i) {
            QAction* a = actions[static_cast<qsizetype>(i)];
            EXPECT_EQ(a->objectName(), items[i].name);
            if (std::string(items[i].caption) == "-") {
                EXPECT_TRUE(a->isSeparator()) << items[i].name;
                continue;
            }
            EXPECT_EQ(a->text(), QString::fromUtf8(items[i].caption)) << items[i].name;
            EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(items[i].shortcut))) << items[i].name;
            EXPECT_EQ(a->isVisible(), items[i].visible) << items[i].name;
        }
    };
    check(window().EditPopMenu1, {
        {"HyperLinkAction2", "HyperLink(&H)", "Ctrl+H", false},
        {"SentakuAction2", "選択文字検索(&K)", "Ctrl+K", true},
        {"N7", "-", "", true},
        {"CopyAction", "コピー(&C)", "Ctrl+C", true},
        {"AllSelectAction", "すべて選択(&A)", "Ctrl+A", true},
        {"N5", "-", "", true},
        {"PrintAciton2", "印刷(&P)", "Ctrl+P", true},
        {"WordAction2", "ワードへ(&W)", "Ctrl+W", true},
        {"N6", "-", "", true},
        {"SansyoAction2", "参照検索(&S)", "Ctrl+S", true},
        {"MemoAction2", "メ　モ(&M)", "Ctrl+M", true},
    });
    check(window().DBGridPopupMenu1, {
        {"HyperLinkAction", "HyperLink(&H)", "Ctrl+H", false},
        {"ToolAction", "Tool(&T)", "Ctrl+T", false},
        {"DBGridCopyAction", "コピー(&C)", "Ctrl+C", true},
        {"N8", "-", "", true},
        {"PrintAction1", "印刷(&P)", "Ctrl+P", true},
        {"WordAction1", "ワードへ(&W)", "Ctrl+W", true},
        {"N9", "-", "", true},
        {"SansyoAction", "参照検索(&S)", "Ctrl+S", true},
        {"MemoAction1", "メ　モ(&M)", "Ctrl+M", true},
    });
    EXPECT_EQ(window().SentakuAction2->statusTip(), "選択文字で検索");
    EXPECT_EQ(window().DBGridCopyAction->statusTip(), "選択されている内容のコピー");

    QList<QAction*> menus = window().menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "ファイル(&F)");
    EXPECT_EQ(menus[1]->text(), "ヘルプ(&H)");
    QStringList fileItems, helpItems;
    for (QAction* a : window().File1->actions())
        fileItems << (a->isSeparator() ? QStringLiteral("-") : a->text());
    for (QAction* a : window().Help1->actions())
        helpItems << a->text();
    EXPECT_EQ(fileItems, (QStringList{"印刷", "-", "終了"}));
    EXPECT_EQ(helpItems, (QStringList{"HTMLヘルプ", "バージョン情報"}));
    EXPECT_EQ(window().CloseAction->statusTip(), "Sorvaneを終了します");
}

TEST_F(Layout, theTextMenuShortcutsActWhereTheMenuBelongs)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    window().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window()));
    RichTextView* view = registry().law[1].RichEdit;
    view->setFocus();
    QTest::keyClick(view, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(platform.boxTexts(), (std::vector<std::string>{cp932("条文本文でキーワードを選択して下さい。")}));
    // In a key edit the same keys are the edit's own.
    platform.clearBoxes();
    registry().law[1].EditKey1->setFocus();
    QTest::keyClick(registry().law[1].EditKey1, Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(platform.boxes().empty());
}
