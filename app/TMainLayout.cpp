// The main window's layout: button bar, page control with the six law and three book tabs,
// status bar, main menu and popup menus, with every component named as the system names it.
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/ExternalLinks.h"
#include "app/TMain.h"
#include "display/ButtonGlyphs.h"
#include "display/DataGrid.h"
#include "display/Hints.h"
#include "display/Fonts.h"
#include "display/OutlineTree.h"
#include "display/PanelSplitter.h"
#include "display/RichTextView.h"
#include "store/RangePresets.h"
#include "text/QtText.h"

namespace {

const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
const QString kGothic = QStringLiteral("ＭＳ ゴシック");
const QString kMincho = QStringLiteral("ＭＳ 明朝");
const QColor kPurple(128, 0, 128);
const QColor kBlue(0, 0, 255);

QFont face(const QString& family, int pixels, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The tab sheets in page order, with the volume each shows: law index, or book index + 100.
struct TabLayout {
    const char* name;
    const char* caption;
    int volume;
};
const TabLayout kTabs[9] = {
    {"HoujinTab", "法人税", 0},      {"HbooksTab", "法人目次", 100}, {"SyohiTab", "消費税", 1},
    {"SbooksTab", "消費目次", 101},  {"GenTab", "会社法民法", 2},    {"TokuTab", "所得税", 3},
    {"ZokuTab", "相続税", 4},        {"TbooksTab", "資産目次", 102}, {"MinTab", "国通徴印紙", 5},
};

// Component name parts: the key-edit prefix and the tab word of each volume.
const char* const kLawPrefix[6] = {"H", "S", "G", "T", "Z", "M"};
const char* const kLawWord[6] = {"Houjin", "Syohi", "Gen", "Toku", "Zoku", "Min"};
const char* const kBookPrefix[3] = {"Hb", "Sb", "Tb"};
const char* const kBookWord[3] = {"Hbooks", "Sbooks", "Tbooks"};
// The range lists' drop-down row counts.

QString name(const char* a, const char* b)
{
    return QString::fromLatin1(a) + QString::fromLatin1(b);
}

QLabel* conditionLabel(QWidget* panel, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, panel);
    label->setFont(face(kPGothic, 12, true));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, kPurple);
    label->setPalette(p);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit* conditionEdit(QWidget* panel, const QString& objectName, int x, int y, bool inputMethod)
{
    auto* edit = new QLineEdit(panel);
    edit->setObjectName(objectName);
    edit->setFont(face(kGothic, 12));
    edit->setGeometry(x, y, 170, 20);
    edit->setAttribute(Qt::WA_InputMethodEnabled, inputMethod);
    return edit;
}

QComboBox* rangeCombo(QWidget* panel, const QString& objectName, int x, int y, const std::vector<std::string>& items,
                      int dropDownCount)
{
    auto* combo = new QComboBox(panel);
    combo->setObjectName(objectName);
    // The box takes typed text as well as a chosen item; the items are the range presets.
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setFont(face(kGothic, 13));
    combo->setGeometry(x, y, 170, 21);
    for (const std::string& item : items)
        combo->addItem(text::toQString(item));
    combo->setMaxVisibleItems(dropDownCount);
    combo->setEditText(QStringLiteral("全範囲"));
    combo->setAttribute(Qt::WA_InputMethodEnabled, false);
    combo->lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, false);
    setHint(combo, QStringLiteral("検索や表示の範囲の設定"));
    return combo;
}

// A white panel.
QWidget* whitePanel(QWidget* parent, const QString& objectName)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(objectName);
    panel->setAutoFillBackground(true);
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, Qt::white);
    panel->setPalette(p);
    return panel;
}

// The 14-pixel strip with two characters stacked ("一" "覧", "詳" "細").
QWidget* sideStrip(QWidget* parent, const QString& objectName, const QString& upper, const QString& lower)
{
    auto* strip = new QWidget(parent);
    strip->setObjectName(objectName);
    strip->setFixedWidth(14);
    auto* label = new QLabel(upper + QLatin1Char('\n') + lower, strip);
    label->setFont(face(kPGothic, 12, true));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(0, 4, 14, 32);
    strip->setMouseTracking(true);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return strip;
}

RichTextView* textView(Platform& platform, QWidget* parent, const QString& objectName, int pixels)
{
    auto* view = new RichTextView(parent);
    view->setPlatform(platform);
    view->setObjectName(objectName);
    view->setFont(face(display::articleFontFamily(), pixels));
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view->setAttribute(Qt::WA_InputMethodEnabled, false);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    return view;
}

}  // namespace

CommandButton::CommandButton(QWidget* parent) : QToolButton(parent)
{
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(24, 24));
    setFocusPolicy(Qt::StrongFocus);
    setAutoRaise(false);
}

void CommandButton::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() == Qt::NoModifier) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

void CommandButton::paintEvent(QPaintEvent* event)
{
    QToolButton::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QPen pen(palette().color(QPalette::ButtonText), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(3, 3, -4, -4));
}

void CommandButton::focusInEvent(QFocusEvent* event)
{
    QToolButton::focusInEvent(event);
    update();
}

void CommandButton::focusOutEvent(QFocusEvent* event)
{
    QToolButton::focusOutEvent(event);
    update();
}

QSize FixedWidthTabBar::tabSizeHint(int index) const
{
    QSize size = QTabBar::tabSizeHint(index);
    return QSize(68, size.height());
}

namespace {

// The tabs are narrow: a caption of five characters must fit in 68 pixels, so the tab's own
// padding is kept small.
class NarrowTabStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 4;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

PageControl::PageControl(QWidget* parent) : QTabWidget(parent)
{
    auto* bar = new FixedWidthTabBar(this);
    auto* style = new NarrowTabStyle;
    style->setParent(bar);
    bar->setStyle(style);
    setTabBar(bar);
    setUsesScrollButtons(true);
    setElideMode(Qt::ElideNone);
}

void TMain::buildMenus()
{
    File1 = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    File1->setObjectName(QStringLiteral("File1"));
    PrintAction = File1->addAction(QStringLiteral("印刷"));
    PrintAction->setObjectName(QStringLiteral("PrintAction"));
    PrintAction->setStatusTip(QStringLiteral("印刷の実行"));
    File1->addSeparator();
    CloseAction = File1->addAction(QStringLiteral("終了"));
    CloseAction->setObjectName(QStringLiteral("CloseAction"));
    CloseAction->setStatusTip(QStringLiteral("Sorvaneを終了します"));

    Help1 = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    Help1->setObjectName(QStringLiteral("Help1"));
    HTML1 = Help1->addAction(QStringLiteral("HTMLヘルプ"));
    HTML1->setObjectName(QStringLiteral("HTML1"));
    About1 = Help1->addAction(QStringLiteral("バージョン情報"));
    About1->setObjectName(QStringLiteral("About1"));

    struct Item {
        QAction** action;
        const char* name;
        const char* caption;
        const char* hint;
        const char* shortcut;
    };
    auto fill = [this](QMenu* menu, std::initializer_list<Item> items) {
        for (const Item& item : items) {
            if (!item.action) {
                menu->addSeparator()->setObjectName(QString::fromLatin1(item.name));
                continue;
            }
            QAction* a = menu->addAction(QString::fromUtf8(item.caption));
            a->setObjectName(QString::fromLatin1(item.name));
            a->setStatusTip(QString::fromUtf8(item.hint));
            a->setToolTip(QString::fromUtf8(item.hint));
            a->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            // Shortcuts act while the menu's owner has the focus.
            a->setShortcutContext(Qt::WidgetShortcut);
            *item.action = a;
        }
        connect(menu, &QMenu::hovered, this, [this](QAction* a) { SetStatusPanelText(0, a->statusTip()); });
    };

    EditPopMenu1 = new QMenu(this);
    EditPopMenu1->setObjectName(QStringLiteral("EditPopMenu1"));
    fill(EditPopMenu1, {
        {&HyperLinkAction2, "HyperLinkAction2", "HyperLink(&H)", "ﾊｲﾊﾟｰﾘﾝｸﾒﾆｭｰの呼び出し", "Ctrl+H"},
        {&SentakuAction2, "SentakuAction2", "選択文字検索(&K)", "選択文字で検索", "Ctrl+K"},
        {nullptr, "N7", "", "", ""},
        {&CopyAction, "CopyAction", "コピー(&C)", "選択範囲のコピー", "Ctrl+C"},
        {&AllSelectAction, "AllSelectAction", "すべて選択(&A)", "本文をすべて選択", "Ctrl+A"},
        {nullptr, "N5", "", "", ""},
        {&PrintAciton2, "PrintAciton2", "印刷(&P)", "印刷の実行", "Ctrl+P"},
        {&WordAction2, "WordAction2", "ワードへ(&W)", "Wordへ条文を貼付", "Ctrl+W"},
        {nullptr, "N6", "", "", ""},
        {&SansyoAction2, "SansyoAction2", "参照検索(&S)", "この条文を参照している条文の検索", "Ctrl+S"},
        {&MemoAction2, "MemoAction2", "メ　モ(&M)", "メモウインドウへ条文の貼付", "Ctrl+M"},
    });

    DBGridPopupMenu1 = new QMenu(this);
    DBGridPopupMenu1->setObjectName(QStringLiteral("DBGridPopupMenu1"));
    fill(DBGridPopupMenu1, {
        {&HyperLinkAction, "HyperLinkAction", "HyperLink(&H)", "ﾊｲﾊﾟｰﾘﾝｸﾒﾆｭｰの呼び出し", "Ctrl+H"},
        {&ToolAction, "ToolAction", "Tool(&T)", "", "Ctrl+T"},
        {&DBGridCopyAction, "DBGridCopyAction", "コピー(&C)", "選択されている内容のコピー", "Ctrl+C"},
        {nullptr, "N8", "", "", ""},
        {&PrintAction1, "PrintAction1", "印刷(&P)", "印刷の実行", "Ctrl+P"},
        {&WordAction1, "WordAction1", "ワードへ(&W)", "Wordへ条文を貼付", "Ctrl+W"},
        {nullptr, "N9", "", "", ""},
        {&SansyoAction, "SansyoAction", "参照検索(&S)", "この条文を参照している条文の検索", "Ctrl+S"},
        {&MemoAction1, "MemoAction1", "メ　モ(&M)", "メモウインドウへ条文の貼付", "Ctrl+M"},
    });

    // The authoring items exist in every build; only a build-variant marker shows them.
    for (QAction* a : {HyperLinkAction2, HyperLinkAction, ToolAction}) {
        a->setVisible(false);
        a->setEnabled(false);
    }

    NetPopupMenu1 = new QMenu(this);
    NetPopupMenu1->setObjectName(QStringLiteral("NetPopupMenu1"));
    FillNetPopupMenu(*this);
    connect(NetPopupMenu1, &QMenu::hovered, this, [this](QAction* a) { SetStatusPanelText(0, a->statusTip()); });
    connect(File1, &QMenu::hovered, this, [this](QAction* a) { SetStatusPanelText(0, a->statusTip()); });
    connect(Help1, &QMenu::hovered, this, [this](QAction* a) { SetStatusPanelText(0, a->statusTip()); });
}

void TMain::buildButtonBar()
{
    ButtonPanel = new QWidget;
    ButtonPanel->setObjectName(QStringLiteral("ButtonPanel"));
    ButtonPanel->setFixedHeight(50);
    struct ButtonLayout {
        CommandButton** button;
        const char* name;
        int left;
        const char* caption;
        const char* hint;
        int captionPixels;
    };
    const ButtonLayout layouts[kCommandButtonCount] = {
        {&BBtnBack, "BBtnBack", 2, "戻る", "直前データの表示", 12},
        {&BBtnNext, "BBtnNext", 52, "進む", "直後データの表示", 12},
        {&BBtnHome, "BBtnHome", 102, "ホーム", "すべてクリア", 12},
        {&BBtnPrint, "BBtnPrint", 157, "印刷", "印刷の実行", 12},
        {&BBtnWord, "BBtnWord", 207, "Wordへ", "Wordへ条文を貼付", 12},
        {&BBtnOpenAll, "BBtnOpenAll", 257, "全て開く", "全ての項目を表示", 11},
        {&BBtnClear, "BBtnClear", 312, "クリア", "検索条件の消去", 12},
        {&BBtnJump, "BBtnJump", 362, "ジャンプ", "条文やﾍﾟｰｼﾞ番号で移動", 12},
        {&BBtnKensaku, "BBtnKensaku", 412, "検索", "検索実行（選択文字があるときは、選択文字検索）", 12},
        {&BBtnKanrenJyoubun, "BBtnKanrenJyoubun", 467, "参照条文", "この条文を参照している条文の検索", 11},
        {&BBtnMemo, "BBtnMemo", 517, "メ　モ", "最大画面のメモウインドウへ条文の貼付", 12},
        {&BBtnNet, "BBtnNet", 567, "Web", "ホームページの表示", 12},
        {&ColorSetButton, "ColorSetButton", 622, "Color", "", 12},
    };
    CommandButton* previous = nullptr;
    for (int i = 0; i < kCommandButtonCount; ++i) {
        const ButtonLayout& s = layouts[i];
        auto* b = new CommandButton(ButtonPanel);
        b->setObjectName(QString::fromLatin1(s.name));
        b->setText(QString::fromUtf8(s.caption));
        if (*s.hint)
            setHint(b, QString::fromUtf8(s.hint));
        b->setFont(face(kPGothic, s.captionPixels, true));
        QPalette p = b->palette();
        p.setColor(QPalette::ButtonText, Qt::black);
        b->setPalette(p);
        b->setIcon(QIcon(BuiltInButtonGlyph(i)));
        b->setGeometry(s.left, 0, 50, 50);
        if (previous)
            setTabOrder(previous, b);
        previous = b;
        *s.button = b;
        m_buttons[static_cast<std::size_t>(i)] = b;
    }
    // Hidden and disabled until a build-variant marker enables it.
    ColorSetButton->setVisible(false);
    ColorSetButton->setEnabled(false);
}

QWidget* TMain::buildLawTab(int v)
{
    LawTabControls& c = m_lawTabs[static_cast<std::size_t>(v)];
    const char* p = kLawPrefix[v];
    const char* w = kLawWord[v];
    auto* tab = new QWidget;
    c.tab = tab;
    auto* column = new QVBoxLayout(tab);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* panel1 = new QWidget(tab);
    panel1->setObjectName(name(w, "Panel1"));
    panel1->setFixedHeight(48);
    conditionLabel(panel1, QStringLiteral("キーワード1"), 5, 8);
    c.editKey1 = conditionEdit(panel1, name(p, "EditKey1"), 82, 4, true);
    conditionLabel(panel1, QStringLiteral("キーワード２"), 261, 8);
    c.editKey2 = conditionEdit(panel1, name(p, "EditKey2"), 338, 4, true);
    conditionLabel(panel1, QStringLiteral("条 文 番 号"), 5, 29);
    c.editBangou = conditionEdit(panel1, name(p, "EditBangou"), 82, 25, true);
    c.editBangou->setFocusPolicy(Qt::ClickFocus);
    setHint(c.editBangou, QStringLiteral("入力例　「３５条」　（「第」は付けないで下さい）"));
    conditionLabel(panel1, QStringLiteral("範        囲"), 261, 29);
    c.comboBox = rangeCombo(panel1, name(p, "ComboBox"), 338, 24, store::LawRangeItems(v),
                            store::LawRangeDropDownCount(v));
    column->addWidget(panel1);

    c.panel2 = whitePanel(tab, name(w, "Panel2"));
    c.panel2->setFixedHeight(180);
    auto* listRow = new QHBoxLayout(c.panel2);
    listRow->setContentsMargins(0, 0, 0, 0);
    listRow->setSpacing(0);
    c.panel5 = sideStrip(c.panel2, name(w, "Panel5"), QStringLiteral("一"), QStringLiteral("覧"));
    listRow->addWidget(c.panel5);
    c.treeView = new OutlineTree(c.panel2);
    c.treeView->setObjectName(name(w, "TreeView"));
    c.treeView->setFixedWidth(235);
    c.treeView->setFont(face(kPGothic, 12));
    c.treeView->viewport()->setMouseTracking(true);
    listRow->addWidget(c.treeView);
    c.treeSplitter = new PanelSplitter(c.treeView, PanelSplitter::PanelSide::Left, 3, 0, c.panel2);
    c.treeSplitter->setObjectName(name(w, "Splitter2"));
    listRow->addWidget(c.treeSplitter);
    c.dbGrid = new DataGrid(m_platform, c.panel2);
    c.dbGrid->setObjectName(name(w, "DBGrid"));
    c.dbGrid->horizontalHeader()->setFont(face(kPGothic, 15, true));
    c.dbGrid->setColumns({{"Kubun", QStringLiteral("区分"), 62},
                          {"Title", QStringLiteral("条文番号＆表題"), v == 0 ? 144 : 298}},
                         face(kPGothic, 16, true), kBlue);
    c.dbGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    c.dbGrid->viewport()->setMouseTracking(true);
    listRow->addWidget(c.dbGrid, 1);
    column->addWidget(c.panel2);

    c.listSplitter = new PanelSplitter(c.panel2, PanelSplitter::PanelSide::Above, 4, 50, tab);
    c.listSplitter->setObjectName(v == 0 ? QStringLiteral("Splitter2") : name(w, "Splitter"));
    column->addWidget(c.listSplitter);

    QWidget* panel3 = whitePanel(tab, name(w, "Panel3"));
    auto* textRow = new QHBoxLayout(panel3);
    textRow->setContentsMargins(0, 0, 0, 0);
    textRow->setSpacing(0);
    c.panel4 = sideStrip(panel3, name(w, "Panel4"), QStringLiteral("詳"), QStringLiteral("細"));
    textRow->addWidget(c.panel4);
    c.richEdit = textView(m_platform, panel3, name(w, "RichEdit"), 16);
    setHint(c.richEdit, QStringLiteral("範囲選択後、マウスを右クリックするとコピーできます"));
    textRow->addWidget(c.richEdit, 1);
    column->addWidget(panel3, 1);
    return tab;
}

QWidget* TMain::buildBookTab(int b)
{
    BookTabControls& c = m_bookTabs[static_cast<std::size_t>(b)];
    const char* p = kBookPrefix[b];
    const char* w = kBookWord[b];
    auto* tab = new QWidget;
    c.tab = tab;
    auto* column = new QVBoxLayout(tab);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* panel1 = new QWidget(tab);
    panel1->setObjectName(name(w, "Panel1"));
    panel1->setFixedHeight(48);
    conditionLabel(panel1, QStringLiteral("キーワード1"), 5, 8);
    c.editKey1 = conditionEdit(panel1, name(p, "EditKey1"), 82, 3, true);
    conditionLabel(panel1, QStringLiteral("キーワード２"), 261, 8);
    c.editKey2 = conditionEdit(panel1, name(p, "EditKey2"), 338, 4, true);
    conditionLabel(panel1, QStringLiteral("ﾍﾟｰｼﾞ 番 号"), 5, 29);
    c.editPage = conditionEdit(panel1, name(p, "EditPage"), 82, 25, false);
    c.editPage->setFocusPolicy(Qt::ClickFocus);
    conditionLabel(panel1, QStringLiteral("範         囲"), 261, 29);
    c.comboBox = rangeCombo(panel1, name(p, "ComboBox"), 338, 24, store::BookRangeItems(b),
                            store::BookRangeDropDownCount(b));
    column->addWidget(panel1);

    QWidget* panel2 = whitePanel(tab, name(w, "Panel2"));
    auto* listRow = new QHBoxLayout(panel2);
    listRow->setContentsMargins(0, 0, 0, 0);
    listRow->setSpacing(0);
    listRow->addWidget(sideStrip(panel2, name(w, "Panel5"), QStringLiteral("一"), QStringLiteral("覧")));
    c.dbGrid = new DataGrid(m_platform, panel2);
    c.dbGrid->setObjectName(name(w, "DBGrid"));
    c.dbGrid->horizontalHeader()->setFont(face(kPGothic, 15, true));
    c.dbGrid->setColumns({{"BookNameShort", QStringLiteral("書籍略称"), 126},
                          {"Gou", QStringLiteral("号"), 41, Qt::AlignRight | Qt::AlignVCenter},
                          {"BookPage", QStringLiteral("ﾍﾟｰｼﾞ"), 62},
                          {"Mokuji", QStringLiteral("問題番号＆目次"), 300}},
                         face(kPGothic, 16, true), kBlue);
    c.dbGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    setHint(c.dbGrid, QStringLiteral("ダブルクリックで該当の通達・裁決へジャンプ"));
    listRow->addWidget(c.dbGrid, 1);
    column->addWidget(panel2, 1);

    c.panel3 = whitePanel(tab, name(w, "Panel3"));
    c.panel3->setFixedHeight(72);
    c.detailSplitter = new PanelSplitter(c.panel3, PanelSplitter::PanelSide::Below, 4, 38, tab);
    c.detailSplitter->setObjectName(b == 0 ? QStringLiteral("Splitter1") : name(w, "Splitter"));
    column->addWidget(c.detailSplitter);

    auto* detailRow = new QHBoxLayout(c.panel3);
    detailRow->setContentsMargins(0, 0, 0, 0);
    detailRow->setSpacing(0);
    detailRow->addWidget(sideStrip(c.panel3, name(w, "Panel4"), QStringLiteral("詳"), QStringLiteral("細")));
    // The print memo lies where the view is and shows only while an entry is printed.
    auto* place = new QGridLayout;
    place->setContentsMargins(0, 0, 0, 0);
    c.richEdit = textView(m_platform, c.panel3, name(w, "RichEdit"), 15);
    place->addWidget(c.richEdit, 0, 0);
    c.memo = new QPlainTextEdit(c.panel3);
    c.memo->setObjectName(name(w, "Memo"));
    c.memo->setFont(face(kMincho, 16));
    c.memo->hide();
    place->addWidget(c.memo, 0, 0);
    detailRow->addLayout(place, 1);
    column->addWidget(c.panel3);
    return tab;
}

void TMain::buildPageControl()
{
    MainPageControl = new PageControl;
    MainPageControl->setObjectName(QStringLiteral("MainPageControl"));
    QWidget** sheets[9] = {&HoujinTab, &HbooksTab, &SyohiTab, &SbooksTab, &GenTab,
                           &TokuTab,   &ZokuTab,   &TbooksTab, &MinTab};
    for (int i = 0; i < 9; ++i) {
        const TabLayout& t = kTabs[i];
        QWidget* sheet = t.volume < 100 ? buildLawTab(t.volume) : buildBookTab(t.volume - 100);
        sheet->setObjectName(QString::fromLatin1(t.name));
        MainPageControl->addTab(sheet, QString::fromUtf8(t.caption));
        *sheets[i] = sheet;
    }
    // The designed active tab.
    MainPageControl->setCurrentWidget(MinTab);
}

void TMain::buildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFixedHeight(23);
    StatusBar1->setSizeGripEnabled(true);
    for (int i = 0; i < 2; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFont(face(kPGothic, 12, true));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setContentsMargins(2, 0, 2, 0);
        m_statusPanels[static_cast<std::size_t>(i)] = panel;
    }
    m_statusPanels[0]->setFixedWidth(400);
    StatusBar1->addWidget(m_statusPanels[0]);
    // As the last panel, panel 1 stretches to the bar's right end.
    StatusBar1->addWidget(m_statusPanels[1], 1);
    setStatusBar(StatusBar1);
}
