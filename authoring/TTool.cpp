// The tool palette's window and its five commands.
#include "authoring/TTool.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "authoring/AuthoringMessages.h"
#include "authoring/PositionFile.h"
#include "authoring/THyperLink.h"
#include "display/RichTextView.h"
#include "nav/Navigation.h"
#include "platform/Platform.h"
#include "search/KeywordSearch.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/Table.h"
#include "text/Cp932.h"

namespace {

using namespace authoringmessages;

constexpr int kButtonWidth = 76;
constexpr int kButtonHeight = 19;

}  // namespace

TTool::TTool(MainWindowInterface& main)
    : QWidget(main.MainWidget(), Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      m_main(main)
{
    setObjectName(QStringLiteral("Tool"));
    setWindowTitle(QStringLiteral("Tool"));
    setAttribute(Qt::WA_DeleteOnClose);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(396, 19);

    // Made in tab order.
    struct ButtonLayout {
        QPushButton** button;
        const char* name;
        const char* caption;
        int left;
        void (TTool::*handler)();
    };
    const ButtonLayout buttons[] = {{&Button1, "Button1", "HyperLink", 0, &TTool::Button1Click},
                                  {&Button3, "Button3", "SpecialSearch", 80, &TTool::Button3Click},
                                  {&Button5, "Button5", "PositionSave", 160, &TTool::Button5Click},
                                  {&Button4, "Button4", "ReturnPositon", 240, &TTool::Button4Click},
                                  {&Button2, "Button2", "NextData", 320, &TTool::Button2Click}};
    for (const ButtonLayout& s : buttons) {
        auto* b = new QPushButton(QString::fromLatin1(s.caption), this);
        b->setObjectName(QString::fromLatin1(s.name));
        b->setGeometry(s.left, 0, kButtonWidth, kButtonHeight);
        b->setAutoDefault(false);
        auto handler = s.handler;
        connect(b, &QPushButton::clicked, this, [this, handler] { runCommand(m_main.platformOfWindow(), [this, handler] { (this->*handler)(); }); });
        *s.button = b;
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

bool TTool::resolveLawVolume()
{
    m_main.CurrentVolume = m_main.registry().LawIndexOfTab(m_main.ActivePage());
    return m_main.CurrentVolume >= 0;
}

void TTool::focusTextView(int v)
{
    if (RichTextView* view = m_main.registry().law[static_cast<std::size_t>(v)].RichEdit)
        view->setFocus(Qt::OtherFocusReason);
}

void TTool::Button1Click()
{
    if (!resolveLawVolume())
        return;
    // The view takes the focus first, so that its selection is the one the editor proposes for.
    focusTextView(m_main.CurrentVolume);
    OpenLinkEditor(m_main, m_main.CurrentVolume);
}

void TTool::Button2Click()
{
    if (!resolveLawVolume())
        return;
    const int v = m_main.CurrentVolume;
    if (store::DataSet* list = m_main.registry().tables.law[static_cast<std::size_t>(v)].mainSource->dataSet())
        if (list->Active())
            list->Next();
    focusTextView(v);
}

void TTool::Button3Click()
{
    if (!resolveLawVolume())
        return;
    const int v = m_main.CurrentVolume;
    LawVolumeEntry& e = m_main.registry().law[static_cast<std::size_t>(v)];
    e.EditKey1->setText(QStringLiteral("＊－"));
    e.EditKey2->setText(QStringLiteral("＊条"));
    e.HighlightWord1 = text::cp932("－");
    e.HighlightWord2 = text::cp932("条");
    KeywordSearch(m_main, v);
    focusTextView(v);
}

void TTool::Button5Click()
{
    if (!resolveLawVolume())
        return;
    const int v = m_main.CurrentVolume;
    Platform& platform = m_main.platformOfWindow();
    if (platform.ask(kSavePositionCaption, text::cp932(kSavePositionQuestion), QuestionButtons::YesNo, MessageIcon::None) !=
        Answer::Yes)
        return;
    const store::Table* article = m_main.registry().tables.law[static_cast<std::size_t>(v)].subTable;
    const std::int64_t gyo = article && article->Active() ? article->IntegerField("Gyo") : 0;
    authoring::WriteSavedPosition(authoring::kPositionFile, {v, gyo});
}

void TTool::Button4Click()
{
    const auto saved = authoring::ReadSavedPosition(authoring::kPositionFile, m_main.registry().files);
    if (!saved)
        return;
    RecordHistory(m_main);
    m_main.CurrentVolume = saved->volume;
    const std::size_t v = static_cast<std::size_t>(saved->volume);
    m_main.SetActivePage(m_main.registry().law[v].TabSheet);
    // The list as it stands: a search that left the article out leaves it out.
    store::DataSet* list = m_main.registry().tables.law[v].mainSource->dataSet();
    if (!list || !list->Active() || !list->Locate("Gyo", {store::Value(saved->gyo)}))
        m_main.platformOfWindow().showMessage(text::cp932(kCannotReturn));
    focusTextView(saved->volume);
}
