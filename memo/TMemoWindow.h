// The memo window `MemoWindow`: a floating, stay-on-top window holding a read-only copy of one
// law article, fixed when it opens, so that the article stays in view while the main window
// moves on. Any number can be open; each is freed when closed.
#pragma once

#include <QPointer>
#include <QWidget>
#include <string>

class QAction;
class QMenu;
class QToolButton;
class RichTextView;
class MainWindowInterface;

class TMemoWindow : public QWidget {
    Q_OBJECT

public:
    // The create step runs here: the article is the main window's current one, or, while a link
    // is followed into a memo window, the target of the link row LinkSourceVolume's link table
    // stands on, rendered in MemoRtf. The window is freed when it closes, or with the main window.
    explicit TMemoWindow(MainWindowInterface& main);
    ~TMemoWindow() override;

    // The law volume (0 to 5) and Gyo of the article shown, and its RTF document as it was when
    // the window opened.
    int VolumeIndex = 0;
    int ArticleGyo = 0;
    std::string CopiedRtf;

    QWidget* MemoPanel = nullptr;
    QToolButton* HomeMove = nullptr;
    QToolButton* MemoPrint = nullptr;
    QToolButton* MemoWord = nullptr;
    QToolButton* MemoKensaku = nullptr;
    QToolButton* MemoKanren = nullptr;
    QToolButton* MemoNet = nullptr;
    RichTextView* MemoRichEdit = nullptr;

    QMenu* MemoPopMenu1 = nullptr;
    QAction* MemoSentakuAction = nullptr;
    QAction* MemoCopyAction = nullptr;
    QAction* MemoAllSelectAction = nullptr;
    QAction* MemoPrintAction = nullptr;
    QAction* MemoWordAction = nullptr;
    QAction* MemoSansyo = nullptr;

    // Handlers.
    void FormCreate();
    void HomeMoveClick();
    void MemoPrintClick();
    void MemoWordClick();
    void MemoKensakuClick();
    void MemoKanrenClick();
    void MemoCopyActionClick();
    void MemoAllSelectActionClick();
    void MemoNetMouseDown(const QPoint& clickPos);
    void MemoRichEditMouseDown(int byteIndex, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                               bool doubleClick);
    void MemoRichEditMouseMove(int byteIndex);

    // Where the web menu pops up for a mouse-down at clickPos on MemoNet.
    QPoint NetMenuPosition(const QPoint& clickPos) const;

    // The articles of this window's volume that refer to its article, listed in the main window
    // on the volume's tab. presetScope is 0 from the button and the menu (the user chooses the
    // scope), a link's negative Zeimoku (-1 政令, -2 省令) from a link in the pane. The dialog's
    // "現在の条文" stays on "何もしない": the article is already in this window.
    void ReferringArticlesSearch(int presetScope);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildPanel();
    void buildPane();
    void buildMenu();
    void bindCommands();
    void loadPaletteGlyphs();
    // Fills the pane from the text view of VolumeIndex, as its saved rich text.
    void transferFromVolumeView();

    MainWindowInterface& m_main;
};

// Opens a memo window. While a link is followed into a memo window (LinkToMemoMode), it opens in
// the normal state without a question and shows the link's target; otherwise the main window's
// current article of the active law tab, maximised or minimised as the user answers
// "メモウインドウを画面一杯に大きくしますか。" (Cancel: no window). v is the caller's volume; the window
// takes its article as said. Returns the window, nullptr when none was opened.
TMemoWindow* ShowMemoWindow(MainWindowInterface& main, int v);
