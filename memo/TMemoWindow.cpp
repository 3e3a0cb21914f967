// The memo window's layout, its create step (which article, how its text gets into the pane,
// the caption), the size question, the pane's links, and its commands on its own article:
// print, Word, copy, the selected-text search and the referring-articles search.
#include "memo/TMemoWindow.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "display/ButtonGlyphs.h"
#include "display/DisplayMessages.h"
#include "display/Fonts.h"
#include "display/Hints.h"
#include "display/RichTextView.h"
#include "display/ScopedFlag.h"
#include "display/TextLinks.h"
#include "memo/MemoMessages.h"
#include "nav/Navigation.h"
#include "output/Printing.h"
#include "output/WordExport.h"
#include "platform/Platform.h"
#include "search/KeywordSearch.h"
#include "search/ReferenceScope.h"
#include "search/ReferenceSearch.h"
#include "search/SearchMachinery.h"
#include "search/TSansyo.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace {

constexpr int kDesignWidth = 622;
constexpr int kDesignHeight = 290;
constexpr int kPanelHeight = 30;
const QString kPaneHint = QStringLiteral("範囲選択後、マウスを右クリックするとコピーできます");

// The six buttons of the bar: left edge, hint, and the palette side file whose number also
// names the main window's button with the same glyph (D3 is the third button, ホーム).
struct MemoButtonLayout {
    QToolButton* TMemoWindow::*button;
    const char* name;
    int left;
    const char* hint;
    int glyphFile;
};
const MemoButtonLayout kButtons[] = {
    {&TMemoWindow::HomeMove, "HomeMove", 3, "Sorvaneで同じ条文へ移動", 3},
    {&TMemoWindow::MemoPrint, "MemoPrint", 37, "印刷の実行", 4},
    {&TMemoWindow::MemoWord, "MemoWord", 65, "条文をWordへ貼付", 5},
    {&TMemoWindow::MemoKensaku, "MemoKensaku", 93, "選択文字で検索", 9},
    {&TMemoWindow::MemoKanren, "MemoKanren", 127, "この条文を参照している条文の検索", 10},
    {&TMemoWindow::MemoNet, "MemoNet", 155, "ホームページの表示", 12},
};

}  // namespace

TMemoWindow::TMemoWindow(MainWindowInterface& main) : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint), m_main(main)
{
    setObjectName(QStringLiteral("MemoWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    display::registerFontSubstitutions();
    QFont formFont(QStringLiteral("ＭＳ Ｐゴシック"));
    formFont.setPixelSize(12);
    setFont(formFont);
    resize(kDesignWidth, kDesignHeight);

    buildPanel();
    buildPane();
    buildMenu();
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(MemoPanel);
    column->addWidget(MemoRichEdit, 1);
    bindCommands();
    // The window shows tables of the main window's volumes: it goes when the main window goes.
    connect(m_main.MainWidget(), &QObject::destroyed, this, [this] { delete this; });

    FormCreate();
}

TMemoWindow::~TMemoWindow() = default;

void TMemoWindow::buildPanel()
{
    MemoPanel = new QWidget(this);
    MemoPanel->setObjectName(QStringLiteral("MemoPanel"));
    MemoPanel->setFixedHeight(kPanelHeight);
    for (const MemoButtonLayout& layout : kButtons) {
        auto* button = new QToolButton(MemoPanel);
        button->setObjectName(QString::fromLatin1(layout.name));
        button->setGeometry(layout.left, 2, 28, 26);
        button->setIconSize(QSize(24, 24));
        button->setIcon(QIcon(BuiltInButtonGlyph(layout.glyphFile - 1)));
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        setHint(button, QString::fromUtf8(layout.hint));
        this->*layout.button = button;
    }
}

void TMemoWindow::buildPane()
{
    MemoRichEdit = new RichTextView(this);
    MemoRichEdit->setPlatform(m_main.platformOfWindow());
    MemoRichEdit->setObjectName(QStringLiteral("MemoRichEdit"));
    QFont paneFont(display::articleFontFamily());
    paneFont.setPixelSize(16);
    MemoRichEdit->setFont(paneFont);
    QPalette p = MemoRichEdit->palette();
    p.setColor(QPalette::Text, Qt::black);
    MemoRichEdit->setPalette(p);
    MemoRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoRichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoRichEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
    MemoRichEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    setHint(MemoRichEdit, kPaneHint);
}

void TMemoWindow::buildMenu()
{
    struct Item {
        QAction* TMemoWindow::*action;
        const char* name;
        const char* caption;
        const char* hint;
        const char* shortcut;
    };
    const Item items[] = {
        {&TMemoWindow::MemoSentakuAction, "MemoSentakuAction", "選択文字検索(&K)", "選択文字で検索", "Ctrl+K"},
        {nullptr, "N1", "", "", ""},
        {&TMemoWindow::MemoCopyAction, "MemoCopyAction", "コピー(&C)", "選択範囲のコピー", "Ctrl+C"},
        {&TMemoWindow::MemoAllSelectAction, "MemoAllSelectAction", "すべて選択(&A)", "本文をすべて選択", "Ctrl+A"},
        {nullptr, "N2", "", "", ""},
        {&TMemoWindow::MemoPrintAction, "MemoPrintAction", "印刷(&P)", "印刷の実行", "Ctrl+P"},
        {&TMemoWindow::MemoWordAction, "MemoWordAction", "ワードへ(&W)", "Wordへ条文を貼付", "Ctrl+W"},
        {&TMemoWindow::MemoSansyo, "MemoSansyo", "参照条文(&S)", "", "Ctrl+S"},
    };
    MemoPopMenu1 = new QMenu(this);
    MemoPopMenu1->setObjectName(QStringLiteral("MemoPopMenu1"));
    for (const Item& item : items) {
        if (!item.action) {
            MemoPopMenu1->addSeparator()->setObjectName(QString::fromLatin1(item.name));
            continue;
        }
        QAction* a = MemoPopMenu1->addAction(QString::fromUtf8(item.caption));
        a->setObjectName(QString::fromLatin1(item.name));
        a->setStatusTip(QString::fromUtf8(item.hint));
        a->setToolTip(QString::fromUtf8(item.hint));
        a->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
        // The shortcuts act anywhere in this window, and only there.
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
        this->*item.action = a;
    }
}

void TMemoWindow::bindCommands()
{
    auto onClick = [this](QToolButton* button, void (TMemoWindow::*handler)()) {
        connect(button, &QToolButton::clicked, this, [this, handler] { runCommand(m_main.platformOfWindow(), [this, handler] { (this->*handler)(); }); });
    };
    auto onTrigger = [this](QAction* action, void (TMemoWindow::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { runCommand(m_main.platformOfWindow(), [this, handler] { (this->*handler)(); }); });
    };
    onClick(HomeMove, &TMemoWindow::HomeMoveClick);
    onClick(MemoPrint, &TMemoWindow::MemoPrintClick);
    onClick(MemoWord, &TMemoWindow::MemoWordClick);
    onClick(MemoKensaku, &TMemoWindow::MemoKensakuClick);
    onClick(MemoKanren, &TMemoWindow::MemoKanrenClick);
    onTrigger(MemoSentakuAction, &TMemoWindow::MemoKensakuClick);
    onTrigger(MemoCopyAction, &TMemoWindow::MemoCopyActionClick);
    onTrigger(MemoAllSelectAction, &TMemoWindow::MemoAllSelectActionClick);
    onTrigger(MemoPrintAction, &TMemoWindow::MemoPrintClick);
    onTrigger(MemoWordAction, &TMemoWindow::MemoWordClick);
    onTrigger(MemoSansyo, &TMemoWindow::MemoKanrenClick);
    MemoNet->installEventFilter(this);
    connect(MemoRichEdit, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { MemoPopMenu1->popup(MemoRichEdit->viewport()->mapToGlobal(pos)); });
    connect(MemoRichEdit, &RichTextView::mouseDown, this,
            [this](int byteIndex, Qt::MouseButton, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                   bool doubleClick) {
                runCommand(m_main.platformOfWindow(), [&] { MemoRichEditMouseDown(byteIndex, buttons, modifiers, doubleClick); });
            });
    connect(MemoRichEdit, &RichTextView::mouseMoved, this,
            [this](int byteIndex, Qt::MouseButtons, Qt::KeyboardModifiers) {
                runCommand(m_main.platformOfWindow(), [&] { MemoRichEditMouseMove(byteIndex); });
            });
}

void TMemoWindow::loadPaletteGlyphs()
{
    // A missing or unreadable side file keeps the built-in glyph.
    for (const MemoButtonLayout& layout : kButtons) {
        QPixmap glyph;
        if (glyph.load(QStringLiteral("D%1.dl_").arg(layout.glyphFile), "BMP"))
            (this->*layout.button)->setIcon(QIcon(glyph));
    }
}

void TMemoWindow::FormCreate()
{
    if (m_main.platformOfWindow().displayColourCount() >= 0)
        loadPaletteGlyphs();

    VolumeRegistry& r = m_main.registry();
    const bool fromLink = r.LinkToMemoMode != 0;
    if (fromLink) {
        // The caller left the link table on the clicked link's row.
        store::Table* links = r.files.lawPresent(r.LinkSourceVolume) ? r.tables.law[VolumeSlot(r.LinkSourceVolume)].linkTable : nullptr;
        if (links && links->Active() && !links->IsEmpty()) {
            ArticleGyo = static_cast<int>(links->IntegerField("GoGyo"));
            VolumeIndex = static_cast<int>(links->IntegerField("Zeimoku"));
        }
        CopiedRtf = r.MemoRtf;
    } else {
        VolumeIndex = r.LawIndexOfTab(m_main.ActivePage());
        if (r.files.lawPresent(VolumeIndex)) {
            const store::DataSet* shown = r.tables.law[VolumeSlot(VolumeIndex)].mainSource->dataSet();
            if (shown && shown->Active() && !shown->IsEmpty())
                ArticleGyo = static_cast<int>(shown->IntegerField("Gyo"));
            CopiedRtf = r.law[VolumeSlot(VolumeIndex)].ArticleRtf;
        }
    }
    const bool present = r.files.lawPresent(VolumeIndex);

    MemoRichEdit->hide();
    // A refused document shows as its own text in the pane. The main window's view holds the
    // same article only in the normal case; after a link it shows another one.
    if (!MemoRichEdit->loadRtf(CopiedRtf) && !fromLink && present)
        transferFromVolumeView();
    if (!fromLink && present) {
        RichTextView* view = r.law[VolumeSlot(VolumeIndex)].RichEdit;
        if (MemoRichEdit->plainText() != view->plainText())
            transferFromVolumeView();
        // The last resort carries the text without its colours; the user's clipboard is left alone.
        if (MemoRichEdit->plainText() != view->plainText())
            MemoRichEdit->loadPlainText(view->plainText());
    }

    if (present) {
        store::Table* second = r.tables.law[VolumeSlot(VolumeIndex)].mainTable2;
        if (second && second->Active()) {
            if (!second->Locate("Gyo", {store::Value(ArticleGyo)}))
                m_main.platformOfWindow().showMessage(text::cp932(displaymessages::kNoTargetArticle));
            setWindowTitle(text::toQString(second->TextField("Kubun") + " " + second->TextField("Title")));
        }
    }
    MemoRichEdit->setCaretPosition(0);
    MemoRichEdit->show();
}

void TMemoWindow::transferFromVolumeView()
{
    RichTextView* view = m_main.registry().law[VolumeSlot(VolumeIndex)].RichEdit;
    MemoRichEdit->setWritable(true);
    MemoRichEdit->clear();
    MemoRichEdit->loadRtf(view->saveRtf());
    MemoRichEdit->setWritable(false);
}

void TMemoWindow::HomeMoveClick()
{
    if (!m_main.registry().files.lawPresent(VolumeIndex))
        return;
    MoveMainWindowToArticle(m_main, VolumeIndex, ArticleGyo);
    showMinimized();
    MemoRichEdit->setFocus();
}

void TMemoWindow::MemoPrintClick()
{
    // The window's own copy, whatever the main window shows by now; the pane stands in when the
    // copy does not load.
    PrintRichText(m_main.platformOfWindow(), CopiedRtf, *MemoRichEdit);
}

void TMemoWindow::MemoWordClick()
{
    CopyWholeText(m_main.platformOfWindow(), *MemoRichEdit);
    ExportToWord(m_main.platformOfWindow(), m_main.registry().WordApplication1, *MemoRichEdit);
}

void TMemoWindow::MemoCopyActionClick()
{
    CopySelection(m_main.platformOfWindow(), *MemoRichEdit);
}

void TMemoWindow::MemoAllSelectActionClick()
{
    MemoRichEdit->selectAll();
}

void TMemoWindow::MemoKensakuClick()
{
    VolumeRegistry& r = m_main.registry();
    const std::string selected = MemoRichEdit->selectedText();
    if (selected.empty()) {
        m_main.platformOfWindow().showMessage(text::cp932(memomessages::kSelectKeywordInArticle));
        return;
    }
    if (!r.files.lawPresent(VolumeIndex))
        return;
    LawVolumeEntry& e = r.law[VolumeSlot(VolumeIndex)];
    m_main.SetActivePage(e.TabSheet);
    ClearLawConditions(m_main, VolumeIndex);
    e.EditKey1->setText(text::toQString(selected));
    // A search that found nothing leaves the window as it was, for another selection.
    if (!KeywordSearch(m_main, VolumeIndex))
        return;
    MemoRichEdit->setFocus();
    showMinimized();
    MemoRichEdit->setFocus();
}

void TMemoWindow::MemoKanrenClick()
{
    ReferringArticlesSearch(0);
}

void TMemoWindow::ReferringArticlesSearch(int presetScope)
{
    VolumeRegistry& r = m_main.registry();
    const int v = VolumeIndex;
    if (!r.files.lawPresent(v))
        return;
    r.Sansyo.PresetScope = presetScope;
    // Looked up without moving the list, which may show anything by now. An article the volume
    // no longer has is searched as the main window searches an empty list's: code 0, no number.
    store::Table* second = r.tables.law[VolumeSlot(v)].mainTable2;
    const bool found = second && second->Active() && second->Locate("Gyo", {store::Value(ArticleGyo)});
    r.Sansyo.ReferredCode = found ? static_cast<int>(second->IntegerField("KubunNo")) : 0;
    const std::string bangou = found ? second->TextField("Bangou") : std::string();
    r.Sansyo.SearchScope = r.Sansyo.CurrentArticleOption = r.Sansyo.MemoSizeOption = -1;
    {
        TSansyo dialog(m_main.platformOfWindow(), r.Sansyo, this);
        dialog.SansyoRadioGroup2->setItemIndex(1);
        dialog.SansyoRadioGroup2->setEnabled(false);
        dialog.exec();
    }
    if (r.Sansyo.SearchScope == -1)
        return;

    store::Query& q = TakeLawQuery(m_main, v);
    StartSearchTimer(m_main);
    const std::string searchText = search::ReferenceSearchText(r.Sansyo.ReferredCode, bangou);
    const std::string phrase = search::ScopePhrase(r.Sansyo.SearchScope, v);
    if (!OpenReferringArticles(m_main, v, ArticleGyo, q))
        return;

    RecordHistory(m_main);
    m_main.SetActivePage(r.law[VolumeSlot(v)].TabSheet);
    ListReferringArticles(m_main, v, q, searchText, phrase);
    StopSearchTimer(m_main);
    MemoRichEdit->setFocus();
    if (r.Sansyo.MemoSizeOption == 0)
        showMinimized();
    else if (r.Sansyo.MemoSizeOption == 1)
        showNormal();
}

QPoint TMemoWindow::NetMenuPosition(const QPoint& clickPos) const
{
    // The press is taken as if in the window's client coordinates, then moved 100 pixels right.
    return mapToGlobal(clickPos) + QPoint(100, 0);
}

void TMemoWindow::MemoNetMouseDown(const QPoint& clickPos)
{
    if (m_main.NetPopupMenu() && !m_main.NetPopupMenu()->isEmpty())
        m_main.NetPopupMenu()->popup(NetMenuPosition(clickPos));
}

void TMemoWindow::MemoRichEditMouseDown(int byteIndex, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                                        bool doubleClick)
{
    VolumeRegistry& r = m_main.registry();
    // Both flags are clear from here, and on every way out.
    ScopedFlag linkToMemo(r.LinkToMemoMode, 0);
    ScopedFlag renderSuspended(r.RenderSuspended, 0);

    const display::LinkPress press = display::classifyLinkPress(buttons, modifiers, doubleClick);
    if (press == display::LinkPress::ContextMenu)
        return;
    if (press == display::LinkPress::MemoWindow)
        r.LinkToMemoMode = 1;
    if (!r.files.lawPresent(VolumeIndex))
        return;
    store::Table* links = r.tables.law[VolumeSlot(VolumeIndex)].linkTable;
    if (!links || !display::locateLinkRow(*links, ArticleGyo, byteIndex))
        return;
    const std::int64_t target = links->IntegerField("GoGyo");
    const int z = static_cast<int>(links->IntegerField("Zeimoku"));
    if (z < 0) {
        // The link asks for the articles that refer to this window's article, scope fixed by z.
        r.LinkToMemoMode = 0;
        r.RenderSuspended = 0;
        ReferringArticlesSearch(z);
        return;
    }
    // An absent volume (or a number outside the six) has nothing to show.
    if (!r.files.lawPresent(z))
        return;
    if (r.LinkToMemoMode != 0) {
        OpenLinkInMemoWindow(m_main, VolumeIndex, *MemoRichEdit, ArticleGyo, byteIndex, z, target);
        return;
    }
    MoveMainWindowToArticle(m_main, z, target);
    if (windowState() & Qt::WindowMaximized)
        showMinimized();
    else
        MemoRichEdit->setFocus();
}

void TMemoWindow::MemoRichEditMouseMove(int byteIndex)
{
    VolumeRegistry& r = m_main.registry();
    store::Table* links = r.files.lawPresent(VolumeIndex) ? r.tables.law[VolumeSlot(VolumeIndex)].linkTable : nullptr;
    const bool overLink = links && display::locateLinkRow(*links, ArticleGyo, byteIndex);
    m_main.platformOfWindow().setScreenCursor(overLink ? CursorShape::Hand : CursorShape::Arrow);
}

bool TMemoWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == MemoNet && event->type() == QEvent::MouseButtonPress) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        runCommand(m_main.platformOfWindow(), [&] { MemoNetMouseDown(at); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMemoWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    MemoRichEdit->viewport()->update();
}

TMemoWindow* ShowMemoWindow(MainWindowInterface& main, int)
{
    VolumeRegistry& r = main.registry();
    Qt::WindowState state = Qt::WindowNoState;
    if (r.LinkToMemoMode == 0) {
        // The window copies the active law tab's article; without one there is nothing to copy.
        if (r.LawIndexOfTab(main.ActivePage()) < 0)
            return nullptr;
        const Answer answer = main.platformOfWindow().ask(memomessages::kSizeQuestionCaption,
                                                          text::cp932(memomessages::kSizeQuestion),
                                                          QuestionButtons::YesNoCancel, MessageIcon::Question);
        if (answer == Answer::Cancel)
            return nullptr;
        state = answer == Answer::Yes ? Qt::WindowMaximized : Qt::WindowMinimized;
    }
    auto* window = new TMemoWindow(main);
    main.registry().LatestMemoWindow = window;
    window->setWindowState(state);
    window->show();
    return window;
}
