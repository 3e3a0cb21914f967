// The main window's life cycle (create, show, resize, close), the volume registry it builds, the
// layout rules of lists and panels, and the command handlers with their bindings.
#include "app/TMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "app/BuildVariant.h"
#include "app/ExternalLinks.h"
#include "app/KeywordColouring.h"
#include "app/MainMessages.h"
#include "app/WindowStateFile.h"
#include "authoring/ReferenceResolver.h"
#include "authoring/THyperLink.h"
#include "authoring/TTool.h"
#include "display/ArticleDisplay.h"
#include "display/DataGrid.h"
#include "display/Fonts.h"
#include "display/OutlineTree.h"
#include "display/PanelSplitter.h"
#include "display/RichTextView.h"
#include "display/ScopedFlag.h"
#include "display/TextLinks.h"
#include "memo/TMemoWindow.h"
#include "nav/Navigation.h"
#include "output/OutputMessages.h"
#include "output/Printing.h"
#include "output/WordExport.h"
#include "platform/Platform.h"
#include "search/ArticleNumberJump.h"
#include "search/BookSearch.h"
#include "search/KeywordSearch.h"
#include "search/ReferenceSearch.h"
#include "search/SearchMachinery.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/IndexCharacters.h"
#include "store/RangePresets.h"
#include "store/SideFile.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace {

constexpr int kLawListHeight = 172;
constexpr int kBookDetailHeight = 97;
constexpr int kOutlineWidth = 235;

}  // namespace

std::string FormatElapsedSeconds(std::int64_t milliseconds)
{
    const bool negative = milliseconds < 0;
    const std::uint64_t ms = negative ? static_cast<std::uint64_t>(-(milliseconds + 1)) + 1
                                      : static_cast<std::uint64_t>(milliseconds);
    std::string out = (negative ? "-" : "") + std::to_string(ms / 1000);
    if (std::uint64_t fraction = ms % 1000) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 3 - digits.size(), '0');
        digits.erase(digits.find_last_not_of('0') + 1);
        out += "." + digits;
    }
    return out;
}

std::string ElapsedTimeText(std::string_view prefixUtf8, std::int64_t milliseconds)
{
    return std::string(prefixUtf8) + FormatElapsedSeconds(milliseconds) + " 秒";
}

TMain::TMain(const store::VolumeFiles& files, Platform& platform, std::int64_t startTick, QWidget* parent)
    : QMainWindow(parent), m_platform(platform)
{
    setObjectName(QStringLiteral("Main"));
    display::registerFontSubstitutions();
    QFont formFont(QStringLiteral("ＭＳ Ｐゴシック"));
    formFont.setPixelSize(12);
    setFont(formFont);
    m_registry.files = files;
    m_registry.StartTick = startTick;

    buildMenus();
    buildButtonBar();
    buildPageControl();
    buildStatusBar();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(ButtonPanel);
    column->addWidget(MainPageControl, 1);
    setCentralWidget(client);
    bindCommands();

    // The client area (below the menu bar) is 618 by 489 at design, centred on the screen.
    resize(618, 489 + menuBar()->sizeHint().height());
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    m_previousPage = MainPageControl->currentWidget();

    FormCreate();
}

TMain::~TMain()
{
    // The grids stop following the data sources, which the data modules may free after us.
    for (auto& c : m_lawTabs)
        c.dbGrid->setDataSource(nullptr);
    for (auto& c : m_bookTabs)
        c.dbGrid->setDataSource(nullptr);
}

// ---- life cycle -------------------------------------------------------------------------------

void TMain::FormCreate()
{
    // The hint handler is event(): every status tip of a control the mouse enters lands in
    // status panel 0.
    if (m_platform.displayColourCount() >= 0)
        loadPaletteGlyphs();
    BuildVolumeRegistry();
    readWindowState();
    setWindowTitle(text::toQString(m_platform.applicationTitle()));
    applyBuildVariantMarkers();
}

void TMain::loadPaletteGlyphs()
{
    // D1 … D12 replace the glyphs of the first twelve buttons, in button order; a missing or
    // unreadable file keeps the built-in glyph.
    for (int i = 0; i < 12; ++i) {
        QPixmap glyph;
        if (glyph.load(QStringLiteral("D%1.dl_").arg(i + 1), "BMP"))
            m_buttons[static_cast<std::size_t>(i)]->setIcon(QIcon(glyph));
    }
}

void TMain::BuildVolumeRegistry()
{
    VolumeRegistry& r = m_registry;
    r.MemoRtf.clear();
    r.LinkToMemoMode = 0;
    r.LinkSourceVolume = 0;
    r.RenderSuspended = 0;
    r.History = nav::HistoryRing{};
    r.LawQueryPosition = -1;
    r.BookQueryPosition = -1;
    r.IndexCharacters = store::IndexCharacters();
    r.SqlClauseList.clear();
    r.LastLinkCode = authoring::kFirstLinkCode;
    r.AmendmentStamp = 230302;
    r.LinkEditorOpen = 0;
    r.LinkEditorArticleMissing = 0;
    r.AuthoringDrive.clear();
    r.AutoStampSetting = 0;

    for (int v = 0; v < store::kLawVolumeCount; ++v) {
        const LawTabControls& c = m_lawTabs[static_cast<std::size_t>(v)];
        LawVolumeEntry& e = r.law[static_cast<std::size_t>(v)];
        e = LawVolumeEntry{};
        e.TabSheet = c.tab;
        if (!r.files.lawPresent(v))
            continue;
        e.EditKey1 = c.editKey1;
        e.EditKey2 = c.editKey2;
        e.EditBangou = c.editBangou;
        e.ComboBox = c.comboBox;
        e.TreeView = c.treeView;
        e.DBGrid = c.dbGrid;
        e.RichEdit = c.richEdit;
        e.Panel2 = c.panel2;
    }
    for (int b = 0; b < store::kBookVolumeCount; ++b) {
        const BookTabControls& c = m_bookTabs[static_cast<std::size_t>(b)];
        BookVolumeEntry& e = r.book[static_cast<std::size_t>(b)];
        e = BookVolumeEntry{};
        e.TabSheet = c.tab;
        if (!r.files.bookPresent(b))
            continue;
        e.EditKey1 = c.editKey1;
        e.EditKey2 = c.editKey2;
        e.EditPage = c.editPage;
        e.ComboBox = c.comboBox;
        e.DBGrid = c.dbGrid;
        e.RichEdit = c.richEdit;
        e.Memo = c.memo;
        e.Panel3 = c.panel3;
    }
}

void TMain::readWindowState()
{
    if (WindowStateMaximised(kWindowStateFile))
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TMain::applyBuildVariantMarkers()
{
    ColorSetButton->setVisible(false);
    ColorSetButton->setEnabled(false);
    const std::string& title = m_platform.applicationTitle();
    auto enableColour = [this] {
        ColorSetButton->setEnabled(true);
        ColorSetButton->setVisible(true);
    };
    if (text::contains(title, text::cp932(kAuthoringMarker))) {
        for (QAction* a : {HyperLinkAction, ToolAction, HyperLinkAction2}) {
            a->setEnabled(true);
            a->setVisible(true);
        }
        enableColour();
    }
    if (text::contains(title, text::cp932(kColourMarker)))
        enableColour();
    if (text::contains(title, text::cp932(kOriginalMarker)))
        enableColour();
}

void TMain::FormShow()
{
    {
        // Hiding the designed active tab moves the page control elsewhere: that is no user's
        // tab change.
        ScopedFlag fromCode(m_pageChangeFromCode);
        for (int v = 0; v < store::kLawVolumeCount; ++v)
            MainPageControl->setTabVisible(MainPageControl->indexOf(m_lawTabs[static_cast<std::size_t>(v)].tab),
                                           m_registry.files.LawVolumeAbsent[static_cast<std::size_t>(v)] == 0);
        for (int b = 0; b < store::kBookVolumeCount; ++b)
            MainPageControl->setTabVisible(MainPageControl->indexOf(m_bookTabs[static_cast<std::size_t>(b)].tab),
                                           m_registry.files.BookVolumeAbsent[static_cast<std::size_t>(b)] == 0);
    }
    m_previousPage = MainPageControl->currentWidget();
    for (int v = 0; v < store::kLawVolumeCount; ++v) {
        const LawVolumeEntry& e = m_registry.law[static_cast<std::size_t>(v)];
        if (m_registry.files.lawPresent(v) && MainPageControl->isTabVisible(MainPageControl->indexOf(e.TabSheet))) {
            SetActivePage(e.TabSheet);
            e.EditKey1->setFocus();
            break;
        }
    }
    for (int v = 0; v < store::kLawVolumeCount; ++v)
        if (m_registry.files.lawPresent(v))
            LoadOutline(v);

    const std::int64_t elapsed = m_platform.tickCount() - m_registry.StartTick;
    SetStatusPanelText(1, QString::fromStdString(ElapsedTimeText(mainmessages::kStartupTimePrefix, elapsed)));
}

void TMain::LoadOutline(int v)
{
    if (!m_registry.files.lawPresent(v))
        return;
    LawVolumeEntry& e = m_registry.law[static_cast<std::size_t>(v)];
    e.TreeView->setFixedWidth(kOutlineWidth);
    FitListColumns();
    const std::string problem =
        e.TreeView->loadOutlineFile(std::filesystem::u8path(m_registry.files.LawFileNames[6][static_cast<std::size_t>(v)]));
    if (!problem.empty())
        m_platform.showError(errorTextOf(problem));
    e.TreeView->selectPosition(1);
    e.TreeView->selectPosition(0);
    e.TreeView->collapseEverything();
}

void TMain::FitListColumns()
{
    for (int v = 0; v < store::kLawVolumeCount; ++v)
        FitLawListColumns(v);
    for (int b = 0; b < store::kBookVolumeCount; ++b)
        FitBookListColumns(b);
}

void TMain::FitLawListColumns(int v)
{
    if (m_registry.files.lawPresent(v))
        m_registry.law[static_cast<std::size_t>(v)].DBGrid->fitLastColumn();
}

void TMain::FitBookListColumns(int b)
{
    if (m_registry.files.bookPresent(b))
        m_registry.book[static_cast<std::size_t>(b)].DBGrid->fitLastColumn();
}

void TMain::ResetLawListHeight(int v)
{
    if (m_registry.files.lawPresent(v))
        m_registry.law[static_cast<std::size_t>(v)].Panel2->setFixedHeight(kLawListHeight);
}

void TMain::ResetBookDetailHeight(int b)
{
    if (m_registry.files.bookPresent(b))
        m_registry.book[static_cast<std::size_t>(b)].Panel3->setFixedHeight(kBookDetailHeight);
}

void TMain::FormResize()
{
    FitListColumns();
    for (int v = 0; v < store::kLawVolumeCount; ++v)
        ResetLawListHeight(v);
    for (int b = 0; b < store::kBookVolumeCount; ++b)
        ResetBookDetailHeight(b);
    if (RichTextView* view = currentTextView())
        view->viewport()->update();
}

void TMain::FormClose()
{
    // A minimised window reports its maximised state underneath; it writes "0".
    const bool maximised = (windowState() & Qt::WindowMaximized) && !(windowState() & Qt::WindowMinimized);
    // The program is ending: a window state that cannot be written is only not kept.
    store::WriteSideFile(kWindowStateFile, maximised ? "1\r\n" : "0\r\n");
}

void TMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous() && !m_shown) {
        m_shown = true;
        runCommand(m_platform, [this] { FormShow(); });
    }
}

void TMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    runCommand(m_platform, [this] { FormResize(); });
}

void TMain::closeEvent(QCloseEvent* event)
{
    runCommand(m_platform, [this] { FormClose(); });
    event->accept();
    emit closed();
}

// ---- pages, status bar, hints -----------------------------------------------------------------

QWidget* TMain::ActivePage() const
{
    return MainPageControl->currentWidget();
}

void TMain::SetActivePage(QWidget* tabSheet)
{
    {
        ScopedFlag fromCode(m_pageChangeFromCode);
        MainPageControl->setCurrentWidget(tabSheet);
    }
    m_previousPage = MainPageControl->currentWidget();
}

THyperLink* TMain::LinkEditor() const
{
    return HyperLink;
}

void TMain::SetLinkEditor(THyperLink* editor)
{
    HyperLink = editor;
}

QString TMain::StatusPanelText(int panel) const
{
    return m_statusPanels.at(static_cast<std::size_t>(panel))->text();
}

void TMain::SetStatusPanelText(int panel, const QString& text)
{
    m_statusPanels.at(static_cast<std::size_t>(panel))->setText(text);
}

void TMain::RepaintStatusPanels()
{
    if (StatusBar1)
        StatusBar1->repaint();
}

bool TMain::event(QEvent* event)
{
    // The application's hint: the status tip of whatever the mouse is over.
    if (event->type() == QEvent::StatusTip) {
        SetStatusPanelText(0, static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

QPoint TMain::NetMenuPosition(const QPoint& clickPos) const
{
    // The click's coordinates are taken as if relative to the window's client area, then moved
    // 200 pixels to the right.
    return centralWidget()->mapToGlobal(clickPos) + QPoint(200, 0);
}

void TMain::wheelEvent(QWheelEvent* event)
{
    runCommand(m_platform, [this] { FormMouseWheel(); });
    QMainWindow::wheelEvent(event);
}

// ---- volume resolution ------------------------------------------------------------------------

TMain::VolumeKind TMain::ResolveCurrentVolume(bool servesBooks)
{
    CurrentVolume = -1;
    CurrentVolume = m_registry.LawIndexOfTab(ActivePage());
    if (CurrentVolume >= 0)
        return VolumeKind::Law;
    if (servesBooks) {
        CurrentVolume = m_registry.BookIndexOfTab(ActivePage());
        if (CurrentVolume >= 0)
            return VolumeKind::Book;
    }
    return VolumeKind::None;
}

bool TMain::ResolveLawVolumeOrComplain()
{
    if (ResolveCurrentVolume(false) == VolumeKind::Law)
        return true;
    showMessage(mainmessages::kSelectArticle);
    return false;
}

RichTextView* TMain::currentTextView()
{
    const int law = m_registry.LawIndexOfTab(ActivePage());
    if (law >= 0)
        return m_registry.law[static_cast<std::size_t>(law)].RichEdit;
    const int book = m_registry.BookIndexOfTab(ActivePage());
    if (book >= 0)
        return m_registry.book[static_cast<std::size_t>(book)].RichEdit;
    return nullptr;
}

void TMain::showMessage(const char* utf8Message)
{
    m_platform.showMessage(text::cp932(utf8Message));
}

void TMain::takeSelectionAsKeyword(VolumeKind kind)
{
    const std::size_t v = static_cast<std::size_t>(CurrentVolume);
    RichTextView* view = kind == VolumeKind::Law ? m_registry.law[v].RichEdit : m_registry.book[v].RichEdit;
    const std::string selected = view->selectedText();
    if (selected.empty())
        return;
    if (kind == VolumeKind::Law) {
        m_registry.law[v].EditBangou->clear();
        m_registry.law[v].EditKey1->setText(text::toQString(selected));
        m_registry.law[v].EditKey2->clear();
    } else {
        m_registry.book[v].EditPage->clear();
        m_registry.book[v].EditKey1->setText(text::toQString(selected));
        m_registry.book[v].EditKey2->clear();
    }
}

void TMain::searchCurrentVolume(VolumeKind kind)
{
    if (kind == VolumeKind::Law)
        KeywordSearch(*this, CurrentVolume);
    else if (kind == VolumeKind::Book)
        BookSearch(*this, CurrentVolume);
}

// ---- command handlers -------------------------------------------------------------------------

void TMain::BBtnBackClick()
{
    ResolveCurrentVolume(true);
    HistoryBack(*this);
}

void TMain::BBtnNextClick()
{
    ResolveCurrentVolume(true);
    HistoryNext(*this);
}

void TMain::BBtnHomeClick()
{
    if (ResolveCurrentVolume(true) != VolumeKind::None)
        Home(*this);
}

void TMain::BBtnOpenAllClick()
{
    if (ResolveCurrentVolume(true) != VolumeKind::None)
        OpenAll(*this);
}

void TMain::BBtnClearClick()
{
    if (ResolveCurrentVolume(true) != VolumeKind::None)
        Clear(*this);
}

void TMain::BBtnPrintClick()
{
    const VolumeKind kind = ResolveCurrentVolume(true);
    if (kind == VolumeKind::Law) {
        LawVolumeEntry& law = m_registry.law[static_cast<std::size_t>(CurrentVolume)];
        PrintRichText(m_platform, law.ArticleRtf, *law.RichEdit);
    } else if (kind == VolumeKind::Book) {
        PrintBookEntry(m_platform, *this, m_registry.book[static_cast<std::size_t>(CurrentVolume)]);
    }
}

void TMain::BBtnWordClick()
{
    if (!ResolveLawVolumeOrComplain())
        return;
    CopyWholeText(m_platform, *m_registry.law[static_cast<std::size_t>(CurrentVolume)].RichEdit);
    if (m_platform.clipboardText().empty()) {
        showMessage(outputmessages::kSelectArticleText);
        return;
    }
    ExportToWord(m_platform, m_registry.WordApplication1, *m_registry.law[static_cast<std::size_t>(CurrentVolume)].RichEdit);
}

void TMain::BBtnJumpClick()
{
    // Back returns to the position before the click, whatever the jump then makes of it.
    RecordHistory(*this);
    const VolumeKind kind = ResolveCurrentVolume(true);
    if (kind == VolumeKind::Law)
        ArticleNumberJump(*this, CurrentVolume);
    else if (kind == VolumeKind::Book)
        PageJump(*this, CurrentVolume);
}

void TMain::BBtnKensakuClick()
{
    const VolumeKind kind = ResolveCurrentVolume(true);
    if (kind == VolumeKind::None)
        return;
    takeSelectionAsKeyword(kind);
    searchCurrentVolume(kind);
}

void TMain::SentakuAction2Click()
{
    const VolumeKind kind = ResolveCurrentVolume(true);
    if (kind == VolumeKind::None)
        return;
    const std::size_t v = static_cast<std::size_t>(CurrentVolume);
    RichTextView* view = kind == VolumeKind::Law ? m_registry.law[v].RichEdit : m_registry.book[v].RichEdit;
    if (view->selectionLength() == 0) {
        showMessage(kind == VolumeKind::Law ? mainmessages::kSelectKeywordInArticle
                                            : mainmessages::kSelectKeywordInContents);
        return;
    }
    takeSelectionAsKeyword(kind);
    searchCurrentVolume(kind);
}

void TMain::BBtnKanrenJyoubunClick()
{
    if (!ResolveLawVolumeOrComplain())
        return;
    m_registry.Sansyo.PresetScope = 0;
    ReferenceSearch(*this, CurrentVolume);
}

void TMain::BBtnMemoClick()
{
    if (!ResolveLawVolumeOrComplain())
        return;
    ShowMemoWindow(*this, CurrentVolume);
}

void TMain::CopyActionClick()
{
    if (ResolveCurrentVolume(true) != VolumeKind::None)
        CopySelection(m_platform, *currentTextView());
}

void TMain::DBGridCopyActionClick()
{
    if (ResolveCurrentVolume(true) != VolumeKind::None)
        CopyWholeText(m_platform, *currentTextView());
}

void TMain::AllSelectActionClick()
{
    if (ResolveCurrentVolume(true) == VolumeKind::None)
        return;
    currentTextView()->selectAll();
}

void TMain::HComboBoxChange()
{
    if (ResolveCurrentVolume(false) != VolumeKind::Law)
        return;
    const std::size_t v = static_cast<std::size_t>(CurrentVolume);
    if (store::DataSet* shown = m_registry.tables.law[v].mainSource->dataSet())
        store::ApplyListRange(CurrentVolume, SelectedRangeText(m_registry.law[v].ComboBox), *shown);
}

void TMain::HbComboBoxChange()
{
    CurrentVolume = -1;
    CurrentVolume = m_registry.BookIndexOfTab(ActivePage());
    if (CurrentVolume < 0)
        return;
    const std::size_t b = static_cast<std::size_t>(CurrentVolume);
    if (store::DataSet* shown = m_registry.tables.book[b].mainSource->dataSet())
        store::ApplyBookListRange(CurrentVolume, SelectedRangeText(m_registry.book[b].ComboBox), *shown);
}

void TMain::HComboBoxKeyPress(QWidget*, QChar& key)
{
    // Typing a condition means the typed words, not the selection, are to be searched.
    const int law = m_registry.LawIndexOfTab(ActivePage());
    if (law >= 0) {
        RichTextView* view = m_registry.law[static_cast<std::size_t>(law)].RichEdit;
        if (view->selectionLength() > 0)
            view->select(view->selectionStart(), 0);
    }
    const int book = m_registry.BookIndexOfTab(ActivePage());
    if (book >= 0) {
        RichTextView* view = m_registry.book[static_cast<std::size_t>(book)].RichEdit;
        if (view->selectionLength() > 0)
            view->select(view->selectionStart(), 0);
    }
    if (key == QChar(13))
        BBtnKensaku->setFocus(Qt::OtherFocusReason);
}

void TMain::HEditBangouKeyPress(QWidget*, QChar& key)
{
    if (key == QChar(13))
        BBtnJump->setFocus(Qt::OtherFocusReason);
}

void TMain::HbEditPageKeyPress(QWidget*, QChar& key)
{
    if (key == QChar(13)) {
        BBtnJump->setFocus(Qt::OtherFocusReason);
        return;
    }
    static const QString accepted = QStringLiteral("0123456789.");
    if (accepted.contains(key) || key == QChar(8) || key == QChar(27))
        return;
    showMessage(mainmessages::kPageDigitsOnly);
    key = QChar(0);
}

void TMain::HoujinDBGridKeyPress(QWidget* sender, QChar& key)
{
    if (key != QChar(13) && key != QChar(' '))
        return;
    if (auto* grid = qobject_cast<DataGrid*>(sender))
        if (store::DataSet* dataSet = grid->dataSet())
            dataSet->Next();
}

void TMain::HoujinDBGridMouseMove()
{
    m_platform.setScreenCursor(CursorShape::Arrow);
}

void TMain::HoujinRichEditMouseMove(QWidget*, int byteIndex, Qt::MouseButtons, Qt::KeyboardModifiers)
{
    if (ResolveCurrentVolume(false) != VolumeKind::Law)
        return;
    HoverTextLink(*this, CurrentVolume, byteIndex);
}

void TMain::HoujinRichEditMouseDown(QWidget*, int byteIndex, Qt::MouseButton, Qt::MouseButtons buttons,
                                    Qt::KeyboardModifiers modifiers, bool doubleClick)
{
    ResolveCurrentVolume(false);
    // Both flags are clear from here, and on every way out, an error included.
    ScopedFlag renderSuspended(m_registry.RenderSuspended, 0);
    ScopedFlag linkToMemo(m_registry.LinkToMemoMode, 0);

    const display::LinkPress press = display::classifyLinkPress(buttons, modifiers, doubleClick);
    if (press == display::LinkPress::ContextMenu)
        return;
    if (press == display::LinkPress::MemoWindow)
        m_registry.LinkToMemoMode = 1;
    if (CurrentVolume >= 0)
        FollowTextLink(*this, CurrentVolume, byteIndex);
}

void TMain::HoujinTreeViewClick()
{
    if (ResolveCurrentVolume(false) != VolumeKind::Law)
        return;
    if (m_registry.law[static_cast<std::size_t>(CurrentVolume)].TreeSyncBusy != 0)
        return;
    OpenArticleFromOutline(*this, CurrentVolume);
}

void TMain::HbooksDBGridDblClick()
{
    CurrentVolume = -1;
    CurrentVolume = m_registry.BookIndexOfTab(ActivePage());
    if (CurrentVolume >= 0)
        OpenBookEntryTarget(*this, CurrentVolume);
}

void TMain::HoujinSplitter2Moved()
{
    FitListColumns();
}

void TMain::MainPageControlChanging(QWidget* leavingTab)
{
    CurrentVolume = -1;
    CurrentVolume = m_registry.LawIndexOfTab(leavingTab);
    if (CurrentVolume < 0)
        CurrentVolume = m_registry.BookIndexOfTab(leavingTab);
    RecordHistoryOfTab(*this, leavingTab);
}

void TMain::MainPageControlChange()
{
    FitListColumns();
}

void TMain::FormMouseWheel()
{
    if (ResolveCurrentVolume(true) == VolumeKind::None)
        return;
    // Scrolling by nothing makes the view repaint what the wheel scroll may leave behind.
    currentTextView()->viewport()->update();
}

void TMain::HyperLinkAction2Click()
{
    if (ResolveCurrentVolume(false) == VolumeKind::Law)
        OpenLinkEditor(*this, CurrentVolume);
}

void TMain::ToolActionClick()
{
    ResolveCurrentVolume(false);
    // Every use makes a new palette; the window keeps only the latest.
    auto* palette = new TTool(*this);
    Tool = palette;
    palette->show();
}

void TMain::ColorSetButtonClick()
{
    if (ResolveCurrentVolume(false) == VolumeKind::Law)
        ColorKeywords(m_registry, CurrentVolume);
}

void TMain::BBtnNetMouseDown(const QPoint& clickPos)
{
    if (!NetPopupMenu1->isEmpty())
        NetPopupMenu1->popup(NetMenuPosition(clickPos));
}

void TMain::HTML1Click()
{
    OpenHelp(m_platform);
}

void TMain::About1Click()
{
    ShowAbout(m_platform);
}

void TMain::CloseActionClick()
{
    close();
}
