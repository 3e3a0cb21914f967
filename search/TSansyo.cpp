// The reference search dialog's layout, create step and buttons.
#include "search/TSansyo.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <algorithm>

#include "platform/Platform.h"
#include "search/ReferenceScope.h"
#include "search/ReferenceSearch.h"

namespace {

// The help page of the dialog, beside the data files.
constexpr char kHelpPage[] = "jyokan1.html";

}  // namespace

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent)
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 4, 12, 4);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items.at(i), this);
        grid->addWidget(button, i / columns, i % columns);
        m_items.push_back(button);
    }
}

int RadioGroup::itemIndex() const
{
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

void RadioGroup::setItemIndex(int index)
{
    if (index >= 0 && index < static_cast<int>(m_items.size()))
        m_items[static_cast<std::size_t>(index)]->setChecked(true);
}

TSansyo::TSansyo(Platform& platform, search::ReferenceDialogValues& values, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      m_platform(platform),
      m_values(values)
{
    setObjectName(QStringLiteral("Sansyo"));
    setWindowTitle(QStringLiteral("参照条文検索"));
    Label1 = new QLabel(QStringLiteral("政令（施行令）や財務省令（施行規則）で定める条文の表示"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    // The explanation is one line, whole in the face the desktop gives it: where that face is
    // wider than the designed 296 pixels, the dialog and its groups widen with it.
    const int extra = std::max(0, Label1->fontMetrics().horizontalAdvance(Label1->text()) + 2 - 296);
    const int inner = 296 + extra;
    const int lineHeight = std::max(18, Label1->fontMetrics().height());
    // A taller face moves what lies below the line down by as much.
    const int lower = lineHeight - 18;
    setFixedSize(312 + extra, 232 + lower);
    Label1->setGeometry(8, 8, inner, lineHeight);

    SansyoGroupBox1 = new QGroupBox(QStringLiteral("検索範囲"), this);
    SansyoGroupBox1->setObjectName(QStringLiteral("SansyoGroupBox1"));
    SansyoGroupBox1->setGeometry(8, 30 + lower, inner, 48);
    auto scopeButton = [this](const char* name, const QString& caption, int left) {
        auto* button = new QRadioButton(caption, SansyoGroupBox1);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, 20, 68, 20);
        return button;
    };
    SansyoRadioButtonSeirei = scopeButton("SansyoRadioButtonSeirei", QStringLiteral("政令"), 12);
    SansyoRadioButtonKisoku = scopeButton("SansyoRadioButtonKisoku", QStringLiteral("省令"), 82);
    SansyoRadioButtonKai = scopeButton("SansyoRadioButtonKai", QStringLiteral("下位"), 152);
    SansyoRadioButtonAll = scopeButton("SansyoRadioButtonAll", QStringLiteral("全範囲"), 222);
    SansyoRadioButtonKai->setChecked(true);

    SansyoRadioGroup2 = new RadioGroup(QStringLiteral("現在の条文"),
                                       {QStringLiteral("メモウインドウへ貼付"), QStringLiteral("何もしない")}, 2, this);
    SansyoRadioGroup2->setObjectName(QStringLiteral("SansyoRadioGroup2"));
    SansyoRadioGroup2->setGeometry(8, 84 + lower, inner, 46);
    SansyoRadioGroup2->setItemIndex(0);

    SansyoRadioGroup3 = new RadioGroup(QStringLiteral("メモウインドウの大きさ"),
                                       {QStringLiteral("最小サイズ"), QStringLiteral("通常サイズ")}, 2, this);
    SansyoRadioGroup3->setObjectName(QStringLiteral("SansyoRadioGroup3"));
    SansyoRadioGroup3->setGeometry(8, 136 + lower, inner, 46);
    SansyoRadioGroup3->setItemIndex(0);

    auto button = [this, extra, lower](const char* name, const QString& caption, int left) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(left + extra / 2, 194 + lower, 84, 28);
        b->setAutoDefault(false);
        return b;
    };
    SansyoOkButton = button("SansyoOkButton", QStringLiteral("検　索"), 18);
    SansyoCancelButton = button("SansyoCancelButton", QStringLiteral("キャンセル"), 114);
    SansyoHelpButton = button("SansyoHelpButton", QStringLiteral("ヘルプ"), 210);
    SansyoOkButton->setDefault(true);
    connect(SansyoOkButton, &QPushButton::clicked, this, [this] { runCommand(m_platform, [this] { SansyoOkButtonClick(); }); });
    connect(SansyoCancelButton, &QPushButton::clicked, this,
            [this] { runCommand(m_platform, [this] { SansyoCancelButtonClick(); }); });
    connect(SansyoHelpButton, &QPushButton::clicked, this, [this] { runCommand(m_platform, [this] { SansyoHelpButtonClick(); }); });

    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    FormCreate();
}

void TSansyo::FormCreate()
{
    const search::SansyoScopeState state = search::SansyoScopeStateFor(m_values.PresetScope, m_values.ReferredCode);
    QRadioButton* const buttons[] = {SansyoRadioButtonSeirei, SansyoRadioButtonKisoku, SansyoRadioButtonKai,
                                     SansyoRadioButtonAll};
    for (int scope = 0; scope < 4; ++scope)
        buttons[scope]->setEnabled(state.enabled[static_cast<std::size_t>(scope)]);
    buttons[state.selected]->setChecked(true);
    SansyoGroupBox1->setEnabled(state.groupEnabled);
}

void TSansyo::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    SansyoOkButton->setFocus(Qt::OtherFocusReason);
}

void TSansyo::SansyoOkButtonClick()
{
    if (SansyoRadioButtonAll->isChecked())
        m_values.SearchScope = search::kScopeAll;
    else if (SansyoRadioButtonKai->isChecked())
        m_values.SearchScope = search::kScopeKai;
    else if (SansyoRadioButtonKisoku->isChecked())
        m_values.SearchScope = search::kScopeKisoku;
    else
        m_values.SearchScope = search::kScopeSeirei;
    m_values.CurrentArticleOption = SansyoRadioGroup2->itemIndex();
    m_values.MemoSizeOption = SansyoRadioGroup3->itemIndex();
    accept();
}

void TSansyo::SansyoCancelButtonClick()
{
    reject();
}

void TSansyo::SansyoHelpButtonClick()
{
    m_platform.shellOpen(kHelpPage);
}
