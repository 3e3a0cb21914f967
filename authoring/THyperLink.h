// The link editor `HyperLink`: an authoring window over the authoring copy of one law volume, in
// which an editor registers reference links (a phrase of an article with the category code and
// article number it refers to) and maintains the copy's article rows. It stays on top of the
// main window without being modal; at most one exists at a time.
#pragma once

#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "authoring/ArticleTextField.h"
#include "store/DataSource.h"
#include "store/Table.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;
class DataGrid;
class MainWindowInterface;
class Platform;
struct VolumeRegistry;

// A push button that Enter presses too, as Space does, so that focus moved onto it by Enter
// makes the next Enter repeat the command.
class EnterButton : public QPushButton {
    Q_OBJECT

public:
    explicit EnterButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class THyperLink : public QWidget {
    Q_OBJECT

public:
    // The window and its controls; FormCreate opens it on the tables.
    explicit THyperLink(MainWindowInterface& main);
    ~THyperLink() override;

    // The creation steps for law volume volumeIndex of the main window. When the main window's
    // article has no row in the authoring copy the registry's LinkEditorArticleMissing is set
    // and the editor is to be released; when the row found is another article (the volume was
    // delivered again since the browser read it) AnotherArticle names both and the editor is
    // to be released too; a table that cannot be opened throws a TableError naming its path.
    void FormCreate(int volumeIndex);

    // The editor's state.
    int VolumeIndex = -1;
    long long BrowseRow = 0;    // Gyo of the article the editor was opened on (行 after 変換)
    long long CurrentCode = 0;  // its category code (条文連番 after 変換)
    long long ArticleKey = 0;   // its ＫＥＹ in the authoring copy
    long long LastKey = 0;      // the largest ＫＥＹ; each new row takes the next
    std::string Phrase;         // the proposal's phrase, code page 932
    std::string AnotherArticle;  // set by FormCreate: the mismatch found, code page 932

    // Table1 articles (in 行 order), Table2 the current article's links, Table3 the category
    // master, Table4 the CD table (Gyo to ＫＥＹ).
    store::Table Table1{"Table1"};
    store::Table Table2{"Table2"};
    store::Table Table3{"Table3"};
    store::Table Table4{"Table4"};
    store::DataSource DataSource1{"DataSource1"};
    store::DataSource DataSource2{"DataSource2"};

    // Opening's checks of a proposal: the link exists already; it points to its own article.
    bool ProposalAlreadyRegistered() const;
    bool ProposalPointsToItself() const;

    // The master's 条文区分 and 正式名 of a code (text as a field holds it); none when unknown.
    std::optional<std::string> CategoryName(const std::string& code) const;
    std::optional<std::string> OfficialName(long long code) const;

    // ---- handlers of the link editor ----
    void FormShow();
    void CodeButtonClick(QPushButton* button);
    void SameButtonClick();
    void ConvertButtonClick();
    void RegisterButtonClick();
    void Register2ButtonClick();
    void LinkDeleteButtonClick();
    void UpdateLinkLabel();
    void CloseEditor();

    // ---- handlers of article authoring ----
    void Button6Click();   // Clear
    void Button3Click();   // 削　除
    void Button4Click();   // 追　加
    void Button7Click();   // SpecialPaste
    void Button48Click();  // 改　正　日
    void Button90Click();  // 番号のみ
    void Button92Click();  // Paste
    void NavCancelClick();
    void ComboBox1Change();
    void KeyJump();
    void GyoJump();
    void CheckCategoryCode(bool fromEnter);
    void FindInArticleText(bool fromStart);
    void SearchSelection(bool fromStart);  // Ctrl+K, Ctrl+L
    void CopySelectionToCombo();           // Ctrl+J
    void Button88Click();                  // CS
    void Button57Click();                  // C
    void JumpToParagraph(const std::string& numberText);
    void Button72Click();                  // Jump
    void Button73Click();                  // Clear of the paragraph field
    void StampAmendment();
    void FitGridColumns();

    // The window.
    QWidget* HeaderPanel = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;  // 条文一覧
    QWidget* TabSheet2 = nullptr;  // リンク一覧
    QWidget* TabSheet3 = nullptr;  // リンク登録
    ArticleTextField* DBRichEdit1 = nullptr;

    // Header panel.
    EnterButton* Button6 = nullptr;
    EnterButton* Button3 = nullptr;
    EnterButton* NavFirst = nullptr;
    EnterButton* NavPrior = nullptr;
    EnterButton* NavNext = nullptr;
    EnterButton* NavLast = nullptr;
    EnterButton* NavCancel = nullptr;
    EnterButton* Button4 = nullptr;
    EnterButton* Button7 = nullptr;
    EnterButton* Button48 = nullptr;
    EnterButton* Button90 = nullptr;
    EnterButton* Button5 = nullptr;
    EnterButton* Button92 = nullptr;
    QLineEdit* Edit1 = nullptr;  // KeyJump
    QLineEdit* Edit2 = nullptr;  // GyoJump
    QComboBox* ComboBox1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* KeyField = nullptr;
    QLineEdit* GyoField = nullptr;
    QLineEdit* RenbanField = nullptr;
    QLineEdit* KubunField = nullptr;
    QLineEdit* KaiseiField = nullptr;
    QLineEdit* BangouNomiField = nullptr;
    QLineEdit* HyodaiField = nullptr;
    QLineEdit* BangouField = nullptr;  // 条文番号 (条文本文)

    // The article text's context menu.
    QMenu* RichEditPopup = nullptr;
    QAction* Cut1 = nullptr;
    QAction* Copy1 = nullptr;
    QAction* Paste2 = nullptr;
    QAction* SelectAll1 = nullptr;
    QAction* K1 = nullptr;
    QAction* L1 = nullptr;
    QAction* J1 = nullptr;

    // 条文一覧.
    DataGrid* DBGrid1 = nullptr;
    EnterButton* Button63 = nullptr;  // 全対象検索
    EnterButton* Button64 = nullptr;  // 後半検索
    EnterButton* Button88 = nullptr;  // CS
    EnterButton* Button57 = nullptr;  // C
    QComboBox* ComboBox2 = nullptr;
    EnterButton* Button91 = nullptr;  // P
    std::vector<EnterButton*> ParagraphButtons;  // "１" … "１０"
    EnterButton* Button72 = nullptr;  // Jump
    QLineEdit* Edit8 = nullptr;
    EnterButton* Button73 = nullptr;  // Clear

    // リンク一覧.
    DataGrid* DBGrid2 = nullptr;
    EnterButton* LinkDeleteButton = nullptr;
    EnterButton* LinkCloseButton = nullptr;

    // リンク登録.
    QLineEdit* Edit3 = nullptr;  // ＫＥＹ
    QLineEdit* Edit4 = nullptr;  // 条件
    QLineEdit* Edit5 = nullptr;  // リンク条文本文
    QLineEdit* Edit6 = nullptr;  // リンク条文番号
    QLabel* LinkLabel = nullptr;
    std::vector<EnterButton*> CodeButtons;
    EnterButton* SameButton = nullptr;       // 同
    EnterButton* ConvertButton = nullptr;    // 変　換
    EnterButton* RegisterButton = nullptr;   // 登　録
    EnterButton* Register2Button = nullptr;  // 登録２
    EnterButton* RegisterCloseButton = nullptr;
    EnterButton* RegisterPrior = nullptr;
    EnterButton* RegisterNext = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The browser's article and the authoring row found for it are the same article: the same
    // category code and number (the browser's number spells ノ as の). Sets AnotherArticle
    // when they differ.
    void checkArticleIdentity();
    void buildWindow();
    QWidget* buildHeader();
    QWidget* buildArticleListTab();
    QWidget* buildLinkListTab();
    QWidget* buildRegistrationTab();
    void buildArticleText();
    void bindCommands();
    void openTables();

    // Row editing: the row the cursor arrives on is put into edit mode and shown in the fields.
    void Table1AfterScroll();
    void showRow();
    void setRowField(const char* fieldUtf8, store::Value value);
    store::Value rowValue(const char* fieldUtf8) const;
    std::string rowText(const char* fieldUtf8) const;
    void fieldEdited(const char* fieldUtf8, QLineEdit* edit);
    void articleTextEdited();

    void fillProposal();
    bool registerLink();
    bool linkExists(const std::string& key, const std::string& code, const std::string& condition) const;
    // The stamp, when 自動入力 is on.
    void autoStamp();
    // Enter's move to the next control of the window's tab order that takes the focus.
    static void focusNextControl(QWidget* from);
    void appendToPhraseList(const QString& phrase);
    // Ctrl+V in the ＫＥＹ, 行, 改正 and 番号のみ fields: the clipboard's text when it is half-width
    // digits only.
    void pasteIntoNumericField(QLineEdit* field);
    void showMessage(const char* utf8Message);
    void showMessageText(const std::string& cp932Text);

    // What a watched control's key presses, focus changes and clicks mean.
    enum class Role { NumericField, CodeOfRow, NextOnEnter, BangouField, KeyJump, GyoJump,
                      CodeField, ArticleText, PhraseCombo, ParagraphField };
    void watch(QObject* object, Role role);
    bool articleTextKey(QKeyEvent* event);
    std::vector<std::pair<QObject*, Role>> m_watched;

    MainWindowInterface& m_main;
    VolumeRegistry& m_registry;
    Platform& m_platform;
    bool m_showingRow = false;  // set while the fields are filled from the row
    bool m_closed = false;
    bool m_shown = false;
    bool m_checkingCode = false;
};

// Opens the link editor on the current article of law volume v of the main window (the active
// tab's), with a proposal for the text view's selection when there is one.
void OpenLinkEditor(MainWindowInterface& main, int v);
