// The link editor's layout: the article header panel, the three tabs (条文一覧, リンク一覧,
// リンク登録) and the article text field below them, with every control named as the system
// names it.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "authoring/LinkGridModel.h"
#include "authoring/THyperLink.h"
#include "display/DataGrid.h"
#include "display/Fonts.h"
#include "display/RichTextView.h"

namespace {

const QString kPGothic = QStringLiteral("ＭＳ Ｐゴシック");
const QString kMincho = QStringLiteral("ＭＳ 明朝");

QFont face(const QString& family, int pixels)
{
    QFont f(family);
    f.setPixelSize(pixels);
    return f;
}

// The captions of the code buttons, in their order (840 is there twice).
const int kCodeButtonCaptions[] = {10,  20,  30,  40,  50,  70,  80,  110, 120, 130, 140, 160, 170, 180, 190, 210, 220,
                                   230, 240, 260, 270, 280, 290, 310, 320, 330, 340, 350, 360, 370, 380, 390, 410, 420,
                                   430, 440, 450, 460, 470, 480, 490, 510, 610, 620, 630, 710, 720, 730, 740, 750, 810,
                                   820, 830, 840, 840, 860, 870, 873, 880, 883, 910, 920, 930, 940, 950, 960};

// The phrase combo's first entries.
const char* const kPhraseEntries[] = {"平成２４年３月３１日", "第条", "第項", "第号", "第条第項", "法第条第項",
                                      "第項第号", "第条第項第号", "法第条第項第号", "同条第項", "同項第号",
                                      "前条第項", "前項第号", "（以下この条項号", "１００分の", "すべて", "補てん"};

void makeGrey(QLineEdit* edit)
{
    edit->setReadOnly(true);
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, QColor(192, 192, 192));
    edit->setPalette(p);
}

QLineEdit* labelledField(QGridLayout* grid, int column, const QString& title, const char* objectName, int width)
{
    auto* label = new QLabel(title);
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(objectName));
    edit->setMinimumWidth(width);
    label->setBuddy(edit);
    grid->addWidget(label, 0, column);
    grid->addWidget(edit, 1, column);
    return edit;
}

// A push button that may narrow to its caption: the style's usual width of a push button would
// make the header bar alone wider than a 1,280-pixel screen. With room it takes that width.
EnterButton* button(const QString& caption, const char* objectName, QWidget* parent = nullptr)
{
    auto* b = new EnterButton(caption, parent);
    b->setObjectName(QString::fromLatin1(objectName));
    b->setAutoDefault(false);
    // Measured in the window's face, which the button takes once it is laid out there.
    b->setMinimumWidth(std::max(24, QFontMetrics(face(kPGothic, 12)).horizontalAdvance(caption) + 12));
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return b;
}

}  // namespace

EnterButton::EnterButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void EnterButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        event->accept();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void THyperLink::buildWindow()
{
    setObjectName(QStringLiteral("HyperLink"));
    setWindowTitle(QStringLiteral("HyperLink"));
    setFont(face(kPGothic, 12));
    resize(800, 546);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    HeaderPanel = buildHeader();
    column->addWidget(HeaderPanel);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = buildArticleListTab();
    TabSheet2 = buildLinkListTab();
    TabSheet3 = buildRegistrationTab();
    PageControl1->addTab(TabSheet1, QStringLiteral("条文一覧"));
    PageControl1->addTab(TabSheet2, QStringLiteral("リンク一覧"));
    PageControl1->addTab(TabSheet3, QStringLiteral("リンク登録"));
    column->addWidget(PageControl1);

    buildArticleText();
    column->addWidget(DBRichEdit1, 1);
}

QWidget* THyperLink::buildHeader()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("HeaderPanel"));
    auto* rows = new QVBoxLayout(panel);
    rows->setContentsMargins(2, 2, 2, 2);
    rows->setSpacing(2);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    Button6 = button(QStringLiteral("Clear"), "Button6");
    Button3 = button(QStringLiteral("削　除"), "Button3");
    NavFirst = button(QStringLiteral("|◀"), "NavFirst");
    NavPrior = button(QStringLiteral("◀"), "NavPrior");
    NavNext = button(QStringLiteral("▶"), "NavNext");
    NavLast = button(QStringLiteral("▶|"), "NavLast");
    NavCancel = button(QStringLiteral("✕"), "NavCancel");
    Button4 = button(QStringLiteral("追　加"), "Button4");
    Button7 = button(QStringLiteral("SpecialPaste"), "Button7");
    Button48 = button(QString(), "Button48");
    Button90 = button(QStringLiteral("番号のみ"), "Button90");
    Button5 = button(QStringLiteral("閉じる"), "Button5");
    Button92 = button(QStringLiteral("Paste"), "Button92");
    for (QWidget* w : std::initializer_list<QWidget*>{Button6, Button3, NavFirst, NavPrior, NavNext, NavLast, NavCancel,
                                                      Button4, Button7, Button48, Button90, Button5, Button92})
        bar->addWidget(w);
    bar->addWidget(new QLabel(QStringLiteral("KeyJump")));
    Edit1 = new QLineEdit;
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(60);
    bar->addWidget(Edit1);
    bar->addWidget(new QLabel(QStringLiteral("GyoJump")));
    Edit2 = new QLineEdit;
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setFixedWidth(60);
    bar->addWidget(Edit2);
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setMaxVisibleItems(12);
    ComboBox1->setEditText(QStringLiteral("全範囲"));
    ComboBox1->setMinimumWidth(120);
    bar->addWidget(ComboBox1);
    CheckBox1 = new QCheckBox(QStringLiteral("自動入力"));
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    bar->addWidget(CheckBox1);
    bar->addStretch(1);
    rows->addLayout(bar);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(2);
    fields->setVerticalSpacing(0);
    KeyField = labelledField(fields, 0, QStringLiteral("ＫＥＹ"), "KeyField", 50);
    GyoField = labelledField(fields, 1, QStringLiteral("行"), "GyoField", 60);
    RenbanField = labelledField(fields, 2, QStringLiteral("条文連番"), "RenbanField", 50);
    KubunField = labelledField(fields, 3, QStringLiteral("条文区分"), "KubunField", 70);
    KaiseiField = labelledField(fields, 4, QStringLiteral("改正"), "KaiseiField", 60);
    BangouNomiField = labelledField(fields, 5, QStringLiteral("番号のみ"), "BangouNomiField", 40);
    HyodaiField = labelledField(fields, 6, QStringLiteral("表題"), "HyodaiField", 200);
    BangouField = labelledField(fields, 7, QStringLiteral("条文番号"), "BangouField", 120);
    fields->setColumnStretch(6, 1);
    makeGrey(KeyField);
    makeGrey(KubunField);
    rows->addLayout(fields);
    return panel;
}

QWidget* THyperLink::buildArticleListTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet1"));
    auto* column = new QVBoxLayout(tab);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);

    DBGrid1 = new DataGrid(m_platform, tab);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setColumns({{"ＫＥＹ", QStringLiteral("ＫＥＹ"), 50},
                         {"行", QStringLiteral("行"), 60},
                         {"条文連番", QStringLiteral("条文連番"), 60},
                         {"条文区分", QStringLiteral("条文区分"), 80},
                         {"改正", QStringLiteral("改正"), 60},
                         {"番号のみ", QStringLiteral("番号のみ"), 60},
                         {"条文本文", QStringLiteral("条文番号"), 120},
                         {"表題", QStringLiteral("表題"), 200}},
                        face(kPGothic, 12), QColor());
    column->addWidget(DBGrid1, 1);

    auto* bar = new QHBoxLayout;
    bar->setSpacing(2);
    Button63 = button(QStringLiteral("全対象検索"), "Button63");
    Button64 = button(QStringLiteral("後半検索"), "Button64");
    Button88 = button(QStringLiteral("CS"), "Button88");
    Button57 = button(QStringLiteral("C"), "Button57");
    ComboBox2 = new QComboBox;
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setEditable(true);
    ComboBox2->setInsertPolicy(QComboBox::NoInsert);
    ComboBox2->setMinimumWidth(160);
    for (const char* entry : kPhraseEntries)
        ComboBox2->addItem(QString::fromUtf8(entry));
    ComboBox2->setMaxVisibleItems(17);
    ComboBox2->setEditText(QString());
    Button91 = button(QStringLiteral("P"), "Button91");
    for (QWidget* w : std::initializer_list<QWidget*>{Button63, Button64, Button88, Button57, ComboBox2, Button91})
        bar->addWidget(w);
    static const char* const kParagraphCaptions[] = {"１", "２", "３", "４", "５", "６", "７", "８", "９", "１０"};
    for (const char* caption : kParagraphCaptions) {
        EnterButton* b = button(QString::fromUtf8(caption), "ParagraphButton");
        b->setFixedWidth(28);
        ParagraphButtons.push_back(b);
        bar->addWidget(b);
    }
    Button72 = button(QStringLiteral("Jump"), "Button72");
    Edit8 = new QLineEdit;
    Edit8->setObjectName(QStringLiteral("Edit8"));
    Edit8->setFixedWidth(40);
    Button73 = button(QStringLiteral("Clear"), "Button73");
    bar->addWidget(Button72);
    bar->addWidget(Edit8);
    bar->addWidget(Button73);
    bar->addStretch(1);
    column->addLayout(bar);
    return tab;
}

QWidget* THyperLink::buildLinkListTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet2"));
    auto* row = new QHBoxLayout(tab);
    row->setContentsMargins(0, 0, 0, 0);
    DBGrid2 = new DataGrid(m_platform, tab);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    auto* model = new LinkGridModel(m_platform, Table2, Table3);
    model->setCellFont(face(kPGothic, 12));
    DBGrid2->setGridModel(model);
    DBGrid2->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    row->addWidget(DBGrid2, 1);
    auto* buttons = new QVBoxLayout;
    LinkDeleteButton = button(QStringLiteral("リンク削除"), "LinkDeleteButton");
    LinkCloseButton = button(QStringLiteral("閉じる"), "LinkCloseButton");
    buttons->addWidget(LinkDeleteButton);
    buttons->addWidget(LinkCloseButton);
    buttons->addStretch(1);
    row->addLayout(buttons);
    return tab;
}

QWidget* THyperLink::buildRegistrationTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("TabSheet3"));
    auto* row = new QHBoxLayout(tab);
    row->setContentsMargins(2, 2, 2, 2);

    auto* form = new QGridLayout;
    form->setVerticalSpacing(2);
    auto field = [&](int line, const QString& title, const char* objectName) {
        auto* edit = new QLineEdit;
        edit->setObjectName(QString::fromLatin1(objectName));
        auto* label = new QLabel(title);
        label->setBuddy(edit);
        form->addWidget(label, line, 0);
        form->addWidget(edit, line, 1);
        return edit;
    };
    Edit3 = field(0, QStringLiteral("ＫＥＹ"), "Edit3");
    makeGrey(Edit3);
    Edit4 = field(1, QStringLiteral("条件"), "Edit4");
    Edit5 = field(2, QStringLiteral("リンク条文本文"), "Edit5");
    Edit6 = field(3, QStringLiteral("リンク条文番号"), "Edit6");
    Edit4->setMinimumWidth(240);
    LinkLabel = new QLabel;
    LinkLabel->setObjectName(QStringLiteral("LinkLabel"));
    LinkLabel->setMinimumWidth(80);
    form->addWidget(LinkLabel, 3, 2);
    row->addLayout(form);

    auto* codes = new QGridLayout;
    codes->setSpacing(1);
    int n = 0;
    for (int caption : kCodeButtonCaptions) {
        EnterButton* b = button(QString::number(caption), "CodeButton");
        b->setFixedSize(34, 19);
        codes->addWidget(b, n / 13, n % 13);
        CodeButtons.push_back(b);
        ++n;
    }
    row->addLayout(codes);

    auto* commands = new QGridLayout;
    commands->setSpacing(2);
    SameButton = button(QStringLiteral("同"), "SameButton");
    ConvertButton = button(QStringLiteral("変　換"), "ConvertButton");
    RegisterButton = button(QStringLiteral("登　録"), "RegisterButton");
    Register2Button = button(QStringLiteral("登録２"), "Register2Button");
    RegisterCloseButton = button(QStringLiteral("閉じる"), "RegisterCloseButton");
    RegisterPrior = button(QStringLiteral("◀"), "RegisterPrior");
    RegisterNext = button(QStringLiteral("▶"), "RegisterNext");
    commands->addWidget(SameButton, 0, 0);
    commands->addWidget(ConvertButton, 0, 1);
    commands->addWidget(RegisterButton, 1, 0);
    commands->addWidget(Register2Button, 1, 1);
    commands->addWidget(RegisterCloseButton, 2, 0);
    commands->addWidget(RegisterPrior, 3, 0);
    commands->addWidget(RegisterNext, 3, 1);
    row->addLayout(commands);
    row->addStretch(1);
    return tab;
}

void THyperLink::buildArticleText()
{
    DBRichEdit1 = new ArticleTextField(this);
    DBRichEdit1->setPlatform(m_platform);
    DBRichEdit1->setObjectName(QStringLiteral("DBRichEdit1"));
    DBRichEdit1->setWritable(true);
    DBRichEdit1->setAcceptRichText(false);
    DBRichEdit1->setFont(face(kMincho, 16));
    DBRichEdit1->document()->setDefaultFont(face(kMincho, 16));
    DBRichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    DBRichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);

    RichEditPopup = new QMenu(this);
    RichEditPopup->setObjectName(QStringLiteral("RichEditPopup"));
    auto item = [this](const char* objectName, const char* caption, const char* shortcut) {
        QAction* a = RichEditPopup->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromLatin1(objectName));
        a->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
        // The keys themselves are read by the article text's key handler.
        a->setShortcutContext(Qt::WidgetShortcut);
        return a;
    };
    Cut1 = item("Cut1", "切り取り(&T)", "Ctrl+X");
    Copy1 = item("Copy1", "コピー(&C)", "Ctrl+C");
    Paste2 = item("Paste2", "貼り付け(&V)", "Ctrl+V");
    SelectAll1 = item("SelectAll1", "すべてを選択(&A)", "Ctrl+A");
    RichEditPopup->addSeparator();
    K1 = item("K1", "選択文字-全対象検索(&K)", "Ctrl+K");
    L1 = item("L1", "選択文字-後半検索(&L)", "Ctrl+L");
    J1 = item("J1", "選択文字-検索ボックスコピー(&J)", "Ctrl+J");
}
