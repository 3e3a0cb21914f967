// The main window `Main`: the button bar, the page control with one tab per volume, the status
// bar, the main menu and the popup menus, its create/show/resize/close steps, and every command
// handler. A handler resolves the current volume from the active tab, checks its one
// precondition and calls one operation; the display follows the tables by itself.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "store/Volumes.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class Platform;
class PanelSplitter;
class THyperLink;
class TTool;

// A command button of the button bar: glyph above caption; Enter on the focused button clicks
// it, as Space does.
class CommandButton : public QToolButton {
    Q_OBJECT

public:
    explicit CommandButton(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The page control's tab bar: every tab 68 pixels wide.
class FixedWidthTabBar : public QTabBar {
    Q_OBJECT

public:
    explicit FixedWidthTabBar(QWidget* parent = nullptr) : QTabBar(parent) {}

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }
};

class PageControl : public QTabWidget {
    Q_OBJECT

public:
    explicit PageControl(QWidget* parent = nullptr);
};

class TMain : public QMainWindow, public MainWindowInterface {
    Q_OBJECT

public:
    // files: the availability flags (file names are assigned from them); startTick: the tick
    // count recorded when the program started. The window's create step runs here.
    TMain(const store::VolumeFiles& files, Platform& platform, std::int64_t startTick, QWidget* parent = nullptr);
    ~TMain() override;

    VolumeRegistry& registry() override { return m_registry; }
    const VolumeRegistry& registry() const { return m_registry; }
    Platform& platformOfWindow() override { return m_platform; }
    QWidget* MainWidget() override { return this; }

    QWidget* ActivePage() const override;
    void SetActivePage(QWidget* tabSheet) override;

    // Window life cycle.
    void FormCreate();
    void FormShow();
    void FormResize();
    void FormClose();

    // The registry's control entries and shared values; once, from the create step.
    void BuildVolumeRegistry();
    // Binds every present volume's list grid to the main data source its data module
    // registered; called once the data modules exist.
    void BindListGrids();
    void LoadOutline(int lawIndex) override;
    void FitListColumns() override;
    void FitLawListColumns(int lawIndex) override;
    void FitBookListColumns(int bookIndex) override;
    void ResetLawListHeight(int lawIndex) override;
    void ResetBookDetailHeight(int bookIndex) override;

    QString StatusPanelText(int panel) const override;
    void SetStatusPanelText(int panel, const QString& text) override;
    // Only the status bar is painted: the rest of the window has not changed, and painting all
    // of it took half the time of a short search.
    void RepaintStatusPanels() override;

    QMenu* NetPopupMenu() const override { return NetPopupMenu1; }
    THyperLink* LinkEditor() const override;
    void SetLinkEditor(THyperLink* editor) override;

    // Where the web menu pops up for a mouse-down at clickPos (relative to BBtnNet).
    QPoint NetMenuPosition(const QPoint& clickPos) const;

    // Command handlers.
    void BBtnBackClick();
    void BBtnNextClick();
    void BBtnHomeClick();
    void BBtnOpenAllClick();
    void BBtnClearClick();
    void BBtnPrintClick();
    void BBtnWordClick();
    void BBtnJumpClick();
    void BBtnKensakuClick();
    void SentakuAction2Click();
    void BBtnKanrenJyoubunClick();
    void BBtnMemoClick();
    void CopyActionClick();
    void DBGridCopyActionClick();
    void AllSelectActionClick();
    void HComboBoxChange();
    void HbComboBoxChange();
    // The key handlers take the typed character; setting it to 0 discards the key.
    void HComboBoxKeyPress(QWidget* sender, QChar& key);
    void HEditBangouKeyPress(QWidget* sender, QChar& key);
    void HbEditPageKeyPress(QWidget* sender, QChar& key);
    void HoujinDBGridKeyPress(QWidget* sender, QChar& key);
    void HoujinDBGridMouseMove();
    void HoujinRichEditMouseMove(QWidget* sender, int byteIndex, Qt::MouseButtons buttons,
                                 Qt::KeyboardModifiers modifiers);
    void HoujinRichEditMouseDown(QWidget* sender, int byteIndex, Qt::MouseButton button,
                                 Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, bool doubleClick);
    void HoujinTreeViewClick();
    void HbooksDBGridDblClick();
    void HoujinSplitter2Moved();
    void MainPageControlChanging(QWidget* leavingTab);
    void MainPageControlChange();
    void FormMouseWheel();
    void HyperLinkAction2Click();
    void ToolActionClick();
    void ColorSetButtonClick();
    void BBtnNetMouseDown(const QPoint& clickPos);
    void HTML1Click();
    void About1Click();
    void CloseActionClick();

    // The button bar.
    QWidget* ButtonPanel = nullptr;
    CommandButton* BBtnBack = nullptr;
    CommandButton* BBtnNext = nullptr;
    CommandButton* BBtnHome = nullptr;
    CommandButton* BBtnPrint = nullptr;
    CommandButton* BBtnWord = nullptr;
    CommandButton* BBtnOpenAll = nullptr;
    CommandButton* BBtnClear = nullptr;
    CommandButton* BBtnJump = nullptr;
    CommandButton* BBtnKensaku = nullptr;
    CommandButton* BBtnKanrenJyoubun = nullptr;
    CommandButton* BBtnMemo = nullptr;
    CommandButton* BBtnNet = nullptr;
    CommandButton* ColorSetButton = nullptr;

    PageControl* MainPageControl = nullptr;
    QWidget* HoujinTab = nullptr;
    QWidget* HbooksTab = nullptr;
    QWidget* SyohiTab = nullptr;
    QWidget* SbooksTab = nullptr;
    QWidget* GenTab = nullptr;
    QWidget* TokuTab = nullptr;
    QWidget* ZokuTab = nullptr;
    QWidget* TbooksTab = nullptr;
    QWidget* MinTab = nullptr;

    QStatusBar* StatusBar1 = nullptr;

    // The main menu.
    QMenu* File1 = nullptr;
    QAction* PrintAction = nullptr;
    QAction* CloseAction = nullptr;
    QMenu* Help1 = nullptr;
    QAction* HTML1 = nullptr;
    QAction* About1 = nullptr;

    // The text-view popup, shared by all text views.
    QMenu* EditPopMenu1 = nullptr;
    QAction* HyperLinkAction2 = nullptr;
    QAction* SentakuAction2 = nullptr;
    QAction* CopyAction = nullptr;
    QAction* AllSelectAction = nullptr;
    QAction* PrintAciton2 = nullptr;
    QAction* WordAction2 = nullptr;
    QAction* SansyoAction2 = nullptr;
    QAction* MemoAction2 = nullptr;

    // The list popup, shared by all list grids.
    QMenu* DBGridPopupMenu1 = nullptr;
    QAction* HyperLinkAction = nullptr;
    QAction* ToolAction = nullptr;
    QAction* DBGridCopyAction = nullptr;
    QAction* PrintAction1 = nullptr;
    QAction* WordAction1 = nullptr;
    QAction* SansyoAction = nullptr;
    QAction* MemoAction1 = nullptr;

    // The web menu of BBtnNet; its items are the external links'.
    QMenu* NetPopupMenu1 = nullptr;

    // Asked before each command the user gives (buttons, menu items, range choices, outline,
    // link and list clicks); false stops the command. The program notices through it the volumes
    // delivered under the running window.
    std::function<bool()> BeforeCommand;

    // The authoring windows: the link editor while one is open, the latest tool palette.
    QPointer<THyperLink> HyperLink;
    QPointer<TTool> Tool;

signals:
    // The window was closed (its close step has run); the program ends.
    void closed();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // Every control of one volume tab, present or not (the registry holds only present ones).
    struct LawTabControls {
        QWidget* tab = nullptr;
        QLineEdit* editKey1 = nullptr;
        QLineEdit* editKey2 = nullptr;
        QLineEdit* editBangou = nullptr;
        QComboBox* comboBox = nullptr;
        OutlineTree* treeView = nullptr;
        DataGrid* dbGrid = nullptr;
        RichTextView* richEdit = nullptr;
        QWidget* panel2 = nullptr;
        QWidget* panel4 = nullptr;
        QWidget* panel5 = nullptr;
        PanelSplitter* treeSplitter = nullptr;
        PanelSplitter* listSplitter = nullptr;
    };
    struct BookTabControls {
        QWidget* tab = nullptr;
        QLineEdit* editKey1 = nullptr;
        QLineEdit* editKey2 = nullptr;
        QLineEdit* editPage = nullptr;
        QComboBox* comboBox = nullptr;
        DataGrid* dbGrid = nullptr;
        RichTextView* richEdit = nullptr;
        QPlainTextEdit* memo = nullptr;
        QWidget* panel3 = nullptr;
        PanelSplitter* detailSplitter = nullptr;
    };

    // Layout.
    void buildMenus();
    void buildButtonBar();
    void buildPageControl();
    QWidget* buildLawTab(int v);
    QWidget* buildBookTab(int b);
    void buildStatusBar();
    void bindGrids();
    void bindCommands();
    void loadPaletteGlyphs();
    void readWindowState();
    void applyBuildVariantMarkers();

    // The current-volume convention: CurrentVolume := law index of the active tab, else (for a
    // command that serves books too) its book index. Returns which kind was found.
    enum class VolumeKind { None, Law, Book };
    VolumeKind ResolveCurrentVolume(bool servesBooks);
    // A law-only command: shows "条文を選択して下さい" when the active tab is not a present law tab.
    bool ResolveLawVolumeOrComplain();
    RichTextView* currentTextView();
    // Moves key edit 1 the selected text of the current volume's view, as Search does.
    void takeSelectionAsKeyword(VolumeKind kind);
    // KeywordSearch or BookSearch of CurrentVolume.
    void searchCurrentVolume(VolumeKind kind);

    void showMessage(const char* utf8Message);
    // A command the user gave: BeforeCommand first, then the command, through runCommand.
    void runUserCommand(const std::function<void()>& command);

    // What the window's event filter does with a watched control's events.
    enum class WatchedRole { SearchCondition, NumberEdit, PageEdit, ListGrid, MouseArrowArea, TextView, NetButton };
    void watch(QObject* object, WatchedRole role, QWidget* sender);
    struct Watched {
        WatchedRole role;
        QWidget* sender;  // the control the handler is told about
    };
    std::unordered_map<QObject*, Watched> m_watched;

    VolumeRegistry m_registry;
    Platform& m_platform;
    std::array<LawTabControls, store::kLawVolumeCount> m_lawTabs;
    std::array<BookTabControls, store::kBookVolumeCount> m_bookTabs;
    std::array<CommandButton*, 13> m_buttons{};
    std::array<QLabel*, 2> m_statusPanels{};
    QWidget* m_previousPage = nullptr;
    bool m_pageChangeFromCode = false;
    bool m_shown = false;
};
