// The main window's bindings: which control event starts which handler. Every command runs
// through runCommand, so an error no handler caught ends the command in the standard error box
// and the program goes on.
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include "app/TMain.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/PanelSplitter.h"
#include "display/RichTextView.h"
#include "platform/Platform.h"
#include "store/DataSource.h"

namespace {

// The character a key press types, as the key handlers see it; none for keys that type nothing
// (arrows, function keys, modifiers).
std::optional<QChar> typedCharacter(const QKeyEvent* event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return std::nullopt;
    return text.at(0);
}

}  // namespace

void TMain::watch(QObject* object, WatchedRole role, QWidget* sender)
{
    m_watched[object] = Watched{role, sender};
    object->installEventFilter(this);
}

void TMain::runUserCommand(const std::function<void()>& command)
{
    runCommand(m_platform, [&] {
        if (!BeforeCommand || BeforeCommand())
            command();
    });
}

void TMain::bindCommands()
{
    auto onClick = [this](QAbstractButton* button, void (TMain::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] { runUserCommand([this, handler] { (this->*handler)(); }); });
    };
    auto onTrigger = [this](QAction* action, void (TMain::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { runUserCommand([this, handler] { (this->*handler)(); }); });
    };

    onClick(BBtnBack, &TMain::BBtnBackClick);
    onClick(BBtnNext, &TMain::BBtnNextClick);
    onClick(BBtnHome, &TMain::BBtnHomeClick);
    onClick(BBtnPrint, &TMain::BBtnPrintClick);
    onClick(BBtnWord, &TMain::BBtnWordClick);
    onClick(BBtnOpenAll, &TMain::BBtnOpenAllClick);
    onClick(BBtnClear, &TMain::BBtnClearClick);
    onClick(BBtnJump, &TMain::BBtnJumpClick);
    onClick(BBtnKensaku, &TMain::BBtnKensakuClick);
    onClick(BBtnKanrenJyoubun, &TMain::BBtnKanrenJyoubunClick);
    onClick(BBtnMemo, &TMain::BBtnMemoClick);
    onClick(ColorSetButton, &TMain::ColorSetButtonClick);
    watch(BBtnNet, WatchedRole::NetButton, BBtnNet);

    onTrigger(PrintAction, &TMain::BBtnPrintClick);
    onTrigger(PrintAciton2, &TMain::BBtnPrintClick);
    onTrigger(PrintAction1, &TMain::BBtnPrintClick);
    onTrigger(WordAction2, &TMain::BBtnWordClick);
    onTrigger(WordAction1, &TMain::BBtnWordClick);
    onTrigger(SentakuAction2, &TMain::SentakuAction2Click);
    onTrigger(SansyoAction2, &TMain::BBtnKanrenJyoubunClick);
    onTrigger(SansyoAction, &TMain::BBtnKanrenJyoubunClick);
    onTrigger(MemoAction2, &TMain::BBtnMemoClick);
    onTrigger(MemoAction1, &TMain::BBtnMemoClick);
    onTrigger(CopyAction, &TMain::CopyActionClick);
    onTrigger(DBGridCopyAction, &TMain::DBGridCopyActionClick);
    onTrigger(AllSelectAction, &TMain::AllSelectActionClick);
    onTrigger(HyperLinkAction2, &TMain::HyperLinkAction2Click);
    onTrigger(HyperLinkAction, &TMain::HyperLinkAction2Click);
    onTrigger(ToolAction, &TMain::ToolActionClick);
    onTrigger(HTML1, &TMain::HTML1Click);
    onTrigger(About1, &TMain::About1Click);
    onTrigger(CloseAction, &TMain::CloseActionClick);

    connect(MainPageControl, &QTabWidget::currentChanged, this, [this](int) {
        QWidget* left = m_previousPage;
        m_previousPage = MainPageControl->currentWidget();
        if (m_pageChangeFromCode)
            return;
        // The page has already changed when Qt reports it; the history is told which tab was left.
        runCommand(m_platform, [this, left] { MainPageControlChanging(left); });
        runCommand(m_platform, [this] { MainPageControlChange(); });
    });

    auto bindTextView = [this](RichTextView* view) {
        for (QAction* a : EditPopMenu1->actions())
            view->addAction(a);
        connect(view, &QWidget::customContextMenuRequested, this,
                [this, view](const QPoint& pos) { EditPopMenu1->popup(view->viewport()->mapToGlobal(pos)); });
        watch(view->viewport(), WatchedRole::TextView, view);
    };
    auto bindGrid = [this](DataGrid* grid) {
        for (QAction* a : DBGridPopupMenu1->actions())
            grid->addAction(a);
        connect(grid, &QWidget::customContextMenuRequested, this,
                [this, grid](const QPoint& pos) { DBGridPopupMenu1->popup(grid->viewport()->mapToGlobal(pos)); });
        watch(grid, WatchedRole::ListGrid, grid);
    };
    auto bindCondition = [this](QWidget* control) {
        watch(control, WatchedRole::SearchCondition, control);
        if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
            watch(combo->lineEdit(), WatchedRole::SearchCondition, control);
    };

    for (int v = 0; v < store::kLawVolumeCount; ++v) {
        LawTabControls& c = m_lawTabs[static_cast<std::size_t>(v)];
        bindCondition(c.editKey1);
        bindCondition(c.editKey2);
        bindCondition(c.comboBox);
        watch(c.editBangou, WatchedRole::NumberEdit, c.editBangou);
        bindGrid(c.dbGrid);
        bindTextView(c.richEdit);
        for (QWidget* area : {static_cast<QWidget*>(c.dbGrid->viewport()), c.treeView->viewport(), c.panel4, c.panel5})
            watch(area, WatchedRole::MouseArrowArea, area);
        connect(c.comboBox, &QComboBox::activated, this, [this](int) { runUserCommand([this] { HComboBoxChange(); }); });
        connect(c.treeView, &OutlineTree::nodeClicked, this, [this] { runUserCommand([this] { HoujinTreeViewClick(); }); });
        connect(c.treeSplitter, &PanelSplitter::moved, this, [this] { runCommand(m_platform, [this] { HoujinSplitter2Moved(); }); });
        connect(c.dbGrid, &DataGrid::resized, this, [this, v] { FitLawListColumns(v); });
        RichTextView* view = c.richEdit;
        connect(view, &RichTextView::mouseMoved, this,
                [this, view](int byteIndex, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
                    runCommand(m_platform, [&] { HoujinRichEditMouseMove(view, byteIndex, buttons, modifiers); });
                });
        connect(view, &RichTextView::mouseDown, this,
                [this, view](int byteIndex, Qt::MouseButton button, Qt::MouseButtons buttons,
                             Qt::KeyboardModifiers modifiers, bool doubleClick) {
                    runUserCommand([&] { HoujinRichEditMouseDown(view, byteIndex, button, buttons, modifiers, doubleClick); });
                });
    }
    for (int b = 0; b < store::kBookVolumeCount; ++b) {
        BookTabControls& c = m_bookTabs[static_cast<std::size_t>(b)];
        bindCondition(c.editKey1);
        bindCondition(c.editKey2);
        bindCondition(c.comboBox);
        watch(c.editPage, WatchedRole::PageEdit, c.editPage);
        bindGrid(c.dbGrid);
        bindTextView(c.richEdit);
        connect(c.comboBox, &QComboBox::activated, this, [this](int) { runUserCommand([this] { HbComboBoxChange(); }); });
        connect(c.dbGrid, &QAbstractItemView::doubleClicked, this,
                [this](const QModelIndex&) { runUserCommand([this] { HbooksDBGridDblClick(); }); });
        connect(c.dbGrid, &DataGrid::resized, this, [this, b] { FitBookListColumns(b); });
    }
}

void TMain::BindListGrids()
{
    for (int v = 0; v < store::kLawVolumeCount; ++v)
        if (m_registry.files.lawPresent(v))
            m_registry.law[static_cast<std::size_t>(v)].DBGrid->setDataSource(
                m_registry.tables.law[static_cast<std::size_t>(v)].mainSource);
    for (int b = 0; b < store::kBookVolumeCount; ++b)
        if (m_registry.files.bookPresent(b))
            m_registry.book[static_cast<std::size_t>(b)].DBGrid->setDataSource(
                m_registry.tables.book[static_cast<std::size_t>(b)].mainSource);
    FitListColumns();
}

bool TMain::eventFilter(QObject* watched, QEvent* event)
{
    auto it = m_watched.find(watched);
    if (it == m_watched.end())
        return QMainWindow::eventFilter(watched, event);
    const Watched w = it->second;

    if (event->type() == QEvent::KeyPress) {
        std::optional<QChar> typed = typedCharacter(static_cast<QKeyEvent*>(event));
        if (!typed)
            return false;
        QChar key = *typed;
        void (TMain::*handler)(QWidget*, QChar&) = nullptr;
        switch (w.role) {
        case WatchedRole::SearchCondition: handler = &TMain::HComboBoxKeyPress; break;
        case WatchedRole::NumberEdit: handler = &TMain::HEditBangouKeyPress; break;
        case WatchedRole::PageEdit: handler = &TMain::HbEditPageKeyPress; break;
        case WatchedRole::ListGrid: handler = &TMain::HoujinDBGridKeyPress; break;
        default: return false;
        }
        runCommand(m_platform, [&] { (this->*handler)(w.sender, key); });
        // The grid's own Enter and Space would only move its selection about.
        if (w.role == WatchedRole::ListGrid && (*typed == QChar(13) || *typed == QChar(' ')))
            return true;
        return key.isNull();
    }
    if (event->type() == QEvent::InputMethod && w.role == WatchedRole::SearchCondition) {
        const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
        if (!committed.isEmpty()) {
            QChar key = committed.at(0);
            runCommand(m_platform, [&] { HComboBoxKeyPress(w.sender, key); });
        }
        return false;
    }
    if (event->type() == QEvent::MouseMove && w.role == WatchedRole::MouseArrowArea) {
        runCommand(m_platform, [this] { HoujinDBGridMouseMove(); });
        return false;
    }
    if (event->type() == QEvent::Wheel && w.role == WatchedRole::TextView) {
        runCommand(m_platform, [this] { FormMouseWheel(); });
        // Not handled: the view under the mouse still scrolls.
        return false;
    }
    if (event->type() == QEvent::MouseButtonPress && w.role == WatchedRole::NetButton) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        runCommand(m_platform, [&] { BBtnNetMouseDown(at); });
        return true;
    }
    return false;
}
