// The link editor window: creation over the authoring tables, showing with the caret carried over
// from the text view, the proposal, the code buttons, registration, deleting links and closing.
// Article authoring's handlers are in THyperLinkArticles.cpp, the controls are laid out in
// THyperLinkLayout.cpp and bound in THyperLinkBindings.cpp; OpenLinkEditor.cpp opens the window.
#include "authoring/THyperLink.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "authoring/ArticleAuthoring.h"
#include "authoring/AuthoringDrive.h"
#include "authoring/AuthoringMessages.h"
#include "authoring/EditorScrolling.h"
#include "authoring/LinkRegistration.h"
#include "authoring/ReferenceResolver.h"
#include "display/DataGrid.h"
#include "display/RichTextView.h"
#include "platform/Platform.h"
#include "store/TableError.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace {

using namespace authoringmessages;

}  // namespace

// ---- creation ----------------------------------------------------------------------------------

THyperLink::THyperLink(MainWindowInterface& main)
    : QWidget(main.MainWidget(), Qt::Window | Qt::WindowStaysOnTopHint),
      m_main(main),
      m_registry(main.registry()),
      m_platform(main.platformOfWindow())
{
    buildWindow();
    DataSource1.setDataSet(&Table1);
    DataSource2.setDataSet(&Table2);
    DBGrid1->setDataSource(&DataSource1);
    DBGrid2->setDataSource(&DataSource2);
    bindCommands();
}

void THyperLink::FormCreate(int volumeIndex)
{
    m_registry.LinkEditorArticleMissing = 0;
    VolumeIndex = volumeIndex;
    const LawVolumeEntry& volume = m_registry.law[static_cast<std::size_t>(volumeIndex)];
    store::Table* sub = m_registry.tables.law[static_cast<std::size_t>(volumeIndex)].subTable;
    if (sub && sub->Active() && !sub->IsEmpty()) {
        BrowseRow = sub->IntegerField("Gyo");
        CurrentCode = sub->IntegerField("KubunNo");
    }

    openTables();
    if (m_registry.LinkEditorArticleMissing)
        return;

    Button48->setText(QString::number(m_registry.AmendmentStamp));
    CheckBox1->setChecked(m_registry.AutoStampSetting != 0);
    setWindowState(windowState() | Qt::WindowMaximized);

    if (!Table1.Locate("ＫＥＹ", {store::Value(static_cast<std::int64_t>(ArticleKey))})) {
        m_registry.LinkEditorArticleMissing = 1;
        return;
    }
    checkArticleIdentity();
    if (!AnotherArticle.empty())
        return;

    if (const QComboBox* range = volume.ComboBox) {
        const QString shown = ComboBox1->currentText();
        for (int i = 0; i < range->count(); ++i)
            ComboBox1->addItem(range->itemText(i));
        ComboBox1->setMaxVisibleItems(range->maxVisibleItems());
        ComboBox1->setCurrentIndex(-1);
        ComboBox1->setEditText(shown);
    }
    m_registry.LinkEditorOpen = 1;

    if (volume.RichEdit)
        Phrase = volume.RichEdit->selectedText();
    if (!Phrase.empty())
        fillProposal();
}

THyperLink::~THyperLink()
{
    // An editor freed without being closed (the program ending with it open) still keeps what
    // was typed into the row.
    if (!m_closed)
        runCommand(m_platform, [this] {
            if (Table1.Active())
                Table1.CheckBrowseMode();
        });
    // The grids let go of the data sources before the members go.
    DBGrid1->setDataSource(nullptr);
    DBGrid2->setDataSource(nullptr);
    Table1.AfterScroll = nullptr;
}

void THyperLink::openTables()
{
    const int v = VolumeIndex;
    const std::string& drive = m_registry.AuthoringDrive;
    const std::filesystem::path jyobun = authoring::ResolveWindowsPath(drive + authoring::JyobunDirectory(v));
    Table1.SetDatabaseName(jyobun);
    Table1.SetTableName(authoring::kArticleTableFile);
    Table1.SetReadOnly(false);
    Table1.SetRequiredFields({"ＫＥＹ", "条文連番", "行", "条文区分", "条文本文", "表題", "条文内容", "改正", "番号のみ"});
    Table2.SetDatabaseName(jyobun);
    Table2.SetTableName(authoring::kLinkTableFile);
    Table2.SetReadOnly(false);
    Table2.SetRequiredFields({"ＫＥＹ", "リンク条文番号", "条件", "リンク条文本文"});
    Table3.SetDatabaseName(authoring::ResolveWindowsPath(drive + authoring::MasterDirectory()));
    Table3.SetTableName(authoring::kMasterTableFile);
    Table3.SetRequiredFields({"連番", "条文区分", "正式名"});
    Table4.SetDatabaseName(authoring::ResolveWindowsPath(drive + authoring::CdDirectory(v)));
    Table4.SetTableName(authoring::kArticleTableFile);
    Table4.SetRequiredFields({"ＫＥＹ", "行"});

    // A table that cannot be opened is named by the path the editor read it at: the article
    // tables of Jyobun and Cd12 share one file name.
    auto open = [&](store::Table& table, const std::string& windowsDirectory) {
        try {
            table.Open();
        } catch (const store::TableError& e) {
            throw store::TableError(windowsDirectory + "\\" + table.TableName() + ": " + e.what());
        }
    };
    Table4.SetIndexFieldNames("行");
    open(Table4, drive + authoring::CdDirectory(v));
    if (!Table4.Locate("行", {store::Value(static_cast<double>(BrowseRow))})) {
        m_registry.LinkEditorArticleMissing = 1;
        return;
    }
    ArticleKey = Table4.IntegerField("ＫＥＹ");

    open(Table3, drive + authoring::MasterDirectory());
    Table1.AfterScroll = [this](store::DataSet&) { Table1AfterScroll(); };
    Table1.SetIndexFieldNames("ＫＥＹ");
    open(Table1, drive + authoring::JyobunDirectory(v));
    Table1.Last();
    LastKey = Table1.IsEmpty() ? 0 : Table1.IntegerField("ＫＥＹ");
    Table1.SetIndexFieldNames("行");

    Table2.SetIndexFieldNames("ＫＥＹ;リンク条文番号;条件");
    Table2.SetMasterFields("ＫＥＹ");
    Table2.SetMasterSource(&DataSource1);
    open(Table2, drive + authoring::JyobunDirectory(v));
}

void THyperLink::checkArticleIdentity()
{
    const store::Table* main = m_registry.tables.law[static_cast<std::size_t>(VolumeIndex)].mainTable;
    if (!main || !main->Active())
        return;
    const int gyo = main->FieldIndex("Gyo"), kubun = main->FieldIndex("Kubun"), bangou = main->FieldIndex("Bangou");
    if (gyo < 0 || bangou < 0)
        return;
    const store::Row* shown = nullptr;
    for (const store::Row& row : main->AllRows())
        if (static_cast<std::size_t>(gyo) < row.size() && !row[gyo].isNull() && row[gyo].asInteger() == BrowseRow)
            shown = &row;
    if (!shown)
        return;
    const std::string no = text::cp932("ノ"), nou = text::cp932("の");
    const std::string shownNumber = text::replaceAll((*shown)[static_cast<std::size_t>(bangou)].asText(), no, nou);
    const std::string rowNumber = text::replaceAll(Table1.FieldValue("条文本文").asText(), no, nou);
    const bool sameCode = Table1.FieldValue("条文連番").isNull() || Table1.FieldValue("条文連番").asInteger() == CurrentCode;
    if (sameCode && shownNumber == rowNumber)
        return;
    auto label = [](std::string kubunText, const std::string& number) {
        return number.empty() ? kubunText : kubunText + " " + number;
    };
    const std::string shownKubun = kubun >= 0 ? (*shown)[static_cast<std::size_t>(kubun)].asText() : std::string();
    AnotherArticle = text::cp932(authoringmessages::kAnotherArticleStart) +
                     label(shownKubun, (*shown)[static_cast<std::size_t>(bangou)].asText()) +
                     text::cp932(authoringmessages::kAnotherArticleRow) + std::to_string(ArticleKey) + text::cp932("「") +
                     label(Table1.FieldValue("条文区分").asText(), Table1.FieldValue("条文本文").asText()) +
                     text::cp932(authoringmessages::kAnotherArticleEnd);
}

std::optional<std::string> THyperLink::CategoryName(const std::string& code) const
{
    const auto number = store::Value::parseInteger(code);
    const int renban = Table3.FieldIndex("連番");
    const int kubun = Table3.FieldIndex("条文区分");
    if (!number || !Table3.Active() || renban < 0 || kubun < 0)
        return std::nullopt;
    for (const store::Row& row : Table3.AllRows())
        if (static_cast<std::size_t>(renban) < row.size() && !row[renban].isNull() && row[renban].asInteger() == *number)
            return row[static_cast<std::size_t>(kubun)].asText();
    return std::nullopt;
}

std::optional<std::string> THyperLink::OfficialName(long long code) const
{
    const int renban = Table3.FieldIndex("連番");
    const int name = Table3.FieldIndex("正式名");
    if (!Table3.Active() || renban < 0 || name < 0)
        return std::nullopt;
    for (const store::Row& row : Table3.AllRows())
        if (static_cast<std::size_t>(renban) < row.size() && !row[renban].isNull() && row[renban].asInteger() == code)
            return row[static_cast<std::size_t>(name)].asText();
    return std::nullopt;
}

// ---- the proposal ------------------------------------------------------------------------------

void THyperLink::fillProposal()
{
    Edit3->setText(QString::number(rowValue("ＫＥＹ").asInteger()));
    Edit4->setText(text::toQString(Phrase));
    const std::string code = authoring::ResolveCategoryCode(Phrase, VolumeIndex, static_cast<int>(CurrentCode),
                                                                m_registry.LastLinkCode);
    Edit6->setText(text::toQString(code));
    Edit5->setText(text::toQString(authoring::ExtractArticleNumber(Phrase, code)));
    UpdateLinkLabel();
}

bool THyperLink::linkExists(const std::string& key, const std::string& code, const std::string& condition) const
{
    const auto keyNumber = store::Value::parseInteger(key);
    const auto codeNumber = store::Value::parseInteger(code);
    const int keyField = Table2.FieldIndex("ＫＥＹ");
    const int codeField = Table2.FieldIndex("リンク条文番号");
    const int conditionField = Table2.FieldIndex("条件");
    if (!keyNumber || !codeNumber || !Table2.Active() || keyField < 0 || codeField < 0 || conditionField < 0)
        return false;
    for (const store::Row& row : Table2.AllRows()) {
        auto at = [&](int f) { return static_cast<std::size_t>(f) < row.size() ? row[static_cast<std::size_t>(f)] : store::Value(); };
        if (!at(keyField).isNull() && at(keyField).asInteger() == *keyNumber && !at(codeField).isNull() &&
            at(codeField).asInteger() == *codeNumber && at(conditionField).asText() == condition)
            return true;
    }
    return false;
}

bool THyperLink::ProposalAlreadyRegistered() const
{
    return linkExists(text::fromQString(Edit3->text()), text::fromQString(Edit6->text()), text::fromQString(Edit4->text()));
}

bool THyperLink::ProposalPointsToItself() const
{
    return text::fromQString(Edit6->text()) == std::to_string(rowValue("条文連番").asInteger()) &&
           text::fromQString(Edit5->text()) == rowText("条文本文");
}

void THyperLink::UpdateLinkLabel()
{
    const std::string code = text::fromQString(Edit6->text());
    if (code.empty())
        return;
    const auto name = CategoryName(code);
    LinkLabel->setText(name ? text::toQString(*name) : QString::fromUtf8(kUnregistered));
}

void THyperLink::CodeButtonClick(QPushButton* button)
{
    Edit6->setText(button->text());
    UpdateLinkLabel();
}

void THyperLink::SameButtonClick()
{
    Edit6->setText(text::toQString(m_registry.LastLinkCode));
    UpdateLinkLabel();
}

void THyperLink::ConvertButtonClick()
{
    BrowseRow = static_cast<long long>(rowValue("行").asFloat());
    CurrentCode = rowValue("条文連番").asInteger();
    Phrase = DBRichEdit1->selectedText();
    if (Phrase.empty())
        return;
    fillProposal();
}

// ---- registration ------------------------------------------------------------------------------

bool THyperLink::registerLink()
{
    authoring::LinkFields fields{text::fromQString(Edit3->text()), text::fromQString(Edit4->text()),
                                 text::fromQString(Edit5->text()), text::fromQString(Edit6->text())};
    authoring::EditorRow row{rowValue("ＫＥＹ").asInteger(), rowValue("条文連番").asInteger(), rowText("条文本文")};
    const char* failure = authoring::CheckLinkRegistration(
        fields, row, [&] { return linkExists(fields.key, fields.code, fields.condition); });
    if (failure) {
        showMessage(failure);
        return false;
    }
    try {
        Table2.Append();
        Table2.SetFieldValue("ＫＥＹ", fields.key);
        Table2.SetFieldValue("リンク条文番号", fields.code);
        Table2.SetFieldValue("条件", fields.condition);
        Table2.SetFieldValue("リンク条文本文", fields.targetNumber);
        Table2.Post();
    } catch (...) {
        Table2.Cancel();
        throw;
    }
    Table2.Refresh();
    m_registry.LastLinkCode = fields.code;
    return true;
}

void THyperLink::RegisterButtonClick()
{
    if (registerLink())
        CloseEditor();
}

void THyperLink::Register2ButtonClick()
{
    if (registerLink())
        showMessageText(text::cp932(kRegisteredOpen) + text::fromQString(Edit4->text()) + text::cp932(kRegisteredClose));
}

void THyperLink::LinkDeleteButtonClick()
{
    if (m_platform.ask(kLinkTableCaption, text::cp932(kDeleteQuestion), QuestionButtons::YesNo, MessageIcon::Question) !=
        Answer::Yes)
        return;
    if (!Table2.Active() || Table2.IsEmpty())
        return;
    Table2.Delete();
    if (!Table2.Bof())
        Table2.Prior();
}

// ---- showing and closing -------------------------------------------------------------------------

void THyperLink::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        runCommand(m_platform, [this] { FormShow(); });
    }
}

void THyperLink::FormShow()
{
    PageControl1->setCurrentWidget(TabSheet1);
    Table1.Locate("ＫＥＹ", {store::Value(static_cast<std::int64_t>(ArticleKey))});

    // The caret goes where the text view's was, less the law's name and the title line the
    // article text does not hold.
    const LawVolumeEntry& volume = m_registry.law[static_cast<std::size_t>(VolumeIndex)];
    const RichTextView* view = volume.RichEdit;
    const int viewCaret = view ? view->selectionStart() : 0;
    const std::string viewText = view ? view->plainText() : std::string();
    const int caret = authoring::ArticleCaretFromViewCaret(viewCaret, rowText("表題"), rowText("条文本文"),
                                                           OfficialName(rowValue("条文連番").asInteger()), viewText);
    DBRichEdit1->setCaretPosition(caret);
    if (m_platform.screenHeight() > authoring::kScreenHeightForScrolling && view) {
        int n = authoring::FirstVisibleLine(view) - 3;
        if (!text::contains(DBRichEdit1->plainText(), text::cp932("｜")))
            n += DBRichEdit1->caretPosition() / 500;
        if (n > 0)
            authoring::ScrollDownLines(DBRichEdit1, n);
    }
    const int length = authoring::InitialSelectionLength(DBRichEdit1->caretPosition(), DBRichEdit1->textLength());
    if (length > 0)
        DBRichEdit1->select(DBRichEdit1->caretPosition(), length);

    // The focus goes last, so that the field the editor starts in keeps it.
    if (!Phrase.empty()) {
        PageControl1->setCurrentWidget(TabSheet3);
        Edit5->setFocus(Qt::OtherFocusReason);
    } else {
        Edit1->setFocus(Qt::OtherFocusReason);
    }
    FitGridColumns();
}

void THyperLink::closeEvent(QCloseEvent* event)
{
    runCommand(m_platform, [this] { CloseEditor(); });
    event->accept();
}

void THyperLink::CloseEditor()
{
    if (m_closed)
        return;
    m_closed = true;
    m_registry.AutoStampSetting = CheckBox1->isChecked() ? 1 : 0;
    hide();
    // Moving the cursor commits the row's pending edit; a table of one row posts it anyway.
    try {
        if (Table1.Active() && !Table1.IsEmpty()) {
            if (Table1.RecNo() == Table1.RecordCount() - 1)
                Table1.Prior();
            else
                Table1.Next();
            Table1.CheckBrowseMode();
        }
    } catch (...) {
        m_registry.LinkEditorOpen = 0;
        deleteLater();
        throw;
    }
    m_registry.LinkEditorOpen = 0;
    deleteLater();
}

void THyperLink::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FitGridColumns();
}

void THyperLink::FitGridColumns()
{
    auto widthOfOthers = [](DataGrid* grid, int except) {
        int sum = 0;
        for (int c = 0; c < grid->model()->columnCount(); ++c)
            if (c != except)
                sum += grid->columnWidth(c);
        return sum;
    };
    const int last = DBGrid1->model()->columnCount() - 1;
    DBGrid1->setColumnWidth(last, std::max(0, DBGrid1->width() - widthOfOthers(DBGrid1, last) - 41));
    DBGrid2->setColumnWidth(1, std::max(0, DBGrid2->width() - widthOfOthers(DBGrid2, 1) - 38));
}

// ---- messages ------------------------------------------------------------------------------------

void THyperLink::showMessage(const char* utf8Message)
{
    m_platform.showMessage(text::cp932(utf8Message));
}

void THyperLink::showMessageText(const std::string& cp932Text)
{
    m_platform.showMessage(cp932Text);
}
