// The link editor: opening on the main window's article, creation over the authoring tables,
// showing with the caret carried over from the text view, the proposal, the code buttons,
// registration, deleting links and closing. Article authoring's handlers are in
// THyperLinkArticles.cpp; the controls are laid out in THyperLinkLayout.cpp.
#include "authoring/THyperLink.h"

#include <QAbstractTextDocumentLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextLayout>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "authoring/ArticleAuthoring.h"
#include "authoring/AuthoringDrive.h"
#include "authoring/AuthoringMessages.h"
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

// Screens lower than this have the article text scrolled by the opening, higher ones by the
// showing step.
constexpr int kScreenHeightForScrolling = 700;

// The visual lines of a text edit (wrapped lines count each), as an edit control numbers them.
struct VisualLine {
    qreal top = 0;
};

std::vector<VisualLine> visualLines(const QTextEdit* edit)
{
    std::vector<VisualLine> lines;
    const QTextDocument* document = edit->document();
    QAbstractTextDocumentLayout* layout = document->documentLayout();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QRectF box = layout->blockBoundingRect(block);
        const QTextLayout* textLayout = block.layout();
        const int count = textLayout ? textLayout->lineCount() : 0;
        if (count == 0)
            lines.push_back({box.top()});
        for (int i = 0; i < count; ++i)
            lines.push_back({box.top() + textLayout->lineAt(i).y()});
    }
    return lines;
}

int firstVisibleLine(const QTextEdit* edit)
{
    const auto lines = visualLines(edit);
    const int top = edit->verticalScrollBar()->value();
    int first = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].top <= top + 0.5)
            first = static_cast<int>(i);
    return first;
}

// Scrolls the text down by n visual lines (as far as it goes).
void scrollDownLines(QTextEdit* edit, int n)
{
    const auto lines = visualLines(edit);
    if (lines.empty() || n <= 0)
        return;
    const std::size_t target = std::min(lines.size() - 1, static_cast<std::size_t>(firstVisibleLine(edit) + n));
    edit->verticalScrollBar()->setValue(static_cast<int>(lines[target].top));
}

QString qs(const std::string& cp932Text)
{
    return text::toQString(cp932Text);
}

std::string cp(const QString& s)
{
    return text::fromQString(s);
}

bool isEnter(const QKeyEvent* event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Ends an input method's composition in a control without its text, so that nothing of a
// refused commit stays on show.
void endComposition(QWidget* control)
{
    QInputMethodEvent cleared;
    QCoreApplication::sendEvent(control, &cleared);
}

}  // namespace

// ---- the link list's model ------------------------------------------------------------------

LinkGridModel::LinkGridModel(store::Table& links, store::Table& master, QObject* parent)
    : DataSourceModel({{"ＫＥＹ", QStringLiteral("ＫＥＹ"), 50},
                       {"条件", QStringLiteral("条件"), 240},
                       {"リンク条文本文", QStringLiteral("リンク条文本文"), 120},
                       {"リンク条文番号", QStringLiteral("条文番号"), 60},
                       {"リンク条文区分２", QStringLiteral("条文区分"), 80}},
                      parent),
      m_links(links),
      m_master(master)
{
}

QVariant LinkGridModel::data(const QModelIndex& index, int role) const
{
    if (index.isValid() && index.column() == 0 && role == Qt::BackgroundRole)
        return QColor(192, 192, 192);
    if (index.isValid() && index.column() == 4 && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        // The category of the link's code, looked up in the master.
        const int codeField = m_links.FieldIndex("リンク条文番号");
        if (!m_links.Active() || codeField < 0 || !m_master.Active())
            return {};
        const store::Value code = m_links.ValueAt(index.row(), codeField);
        const int renban = m_master.FieldIndex("連番");
        const int kubun = m_master.FieldIndex("条文区分");
        if (code.isNull() || renban < 0 || kubun < 0)
            return {};
        for (const store::Row& row : m_master.AllRows())
            if (static_cast<std::size_t>(renban) < row.size() && store::Value::compare(row[renban], code) == 0)
                return qs(row[static_cast<std::size_t>(kubun)].asText());
        return {};
    }
    if (role == Qt::EditRole)
        return DataSourceModel::data(index, Qt::DisplayRole);
    return DataSourceModel::data(index, role);
}

Qt::ItemFlags LinkGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = DataSourceModel::flags(index);
    if (index.isValid() && index.column() >= 1 && index.column() <= 3)
        f |= Qt::ItemIsEditable;
    return f;
}

bool LinkGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() < 1 || index.column() > 3)
        return false;
    const std::string& field = columns()[static_cast<std::size_t>(index.column())].fieldName;
    const bool stored = runCommand([&] {
        m_links.MoveTo(index.row());
        m_links.Edit();
        m_links.SetFieldValue(field, cp(value.toString()));
        m_links.Post();
    });
    if (!stored)
        m_links.Cancel();
    return stored;
}

void THyperLink::focusNextControl(QWidget* from)
{
    for (QWidget* w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->window() == from->window() &&
            w->isVisibleTo(from->window()) && !w->focusProxy()) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

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
        runCommand([this] {
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

    Table4.SetIndexFieldNames("行");
    Table4.Open();
    if (!Table4.Locate("行", {store::Value(static_cast<double>(BrowseRow))})) {
        m_registry.LinkEditorArticleMissing = 1;
        return;
    }
    ArticleKey = Table4.IntegerField("ＫＥＹ");

    Table3.Open();
    Table1.AfterScroll = [this](store::DataSet&) { Table1AfterScroll(); };
    Table1.SetIndexFieldNames("ＫＥＹ");
    Table1.Open();
    Table1.Last();
    LastKey = Table1.IsEmpty() ? 0 : Table1.IntegerField("ＫＥＹ");
    Table1.SetIndexFieldNames("行");

    Table2.SetIndexFieldNames("ＫＥＹ;リンク条文番号;条件");
    Table2.SetMasterFields("ＫＥＹ");
    Table2.SetMasterSource(&DataSource1);
    Table2.Open();
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
    Edit4->setText(qs(Phrase));
    const std::string code = authoring::ResolveCategoryCode(Phrase, VolumeIndex, static_cast<int>(CurrentCode));
    Edit6->setText(qs(code));
    Edit5->setText(qs(authoring::ExtractArticleNumber(Phrase, code)));
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
    return linkExists(cp(Edit3->text()), cp(Edit6->text()), cp(Edit4->text()));
}

bool THyperLink::ProposalPointsToItself() const
{
    return cp(Edit6->text()) == std::to_string(rowValue("条文連番").asInteger()) &&
           cp(Edit5->text()) == rowText("条文本文");
}

void THyperLink::UpdateLinkLabel()
{
    const std::string code = cp(Edit6->text());
    if (code.empty())
        return;
    const auto name = CategoryName(code);
    LinkLabel->setText(name ? qs(*name) : QString::fromUtf8(kUnregistered));
}

void THyperLink::CodeButtonClick(QPushButton* button)
{
    Edit6->setText(button->text());
    UpdateLinkLabel();
}

void THyperLink::SameButtonClick()
{
    Edit6->setText(qs(authoring::LastLinkCode));
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
    authoring::LinkFields fields{cp(Edit3->text()), cp(Edit4->text()), cp(Edit5->text()), cp(Edit6->text())};
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
    authoring::LastLinkCode = fields.code;
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
        showMessageText(text::cp932(kRegisteredOpen) + cp(Edit4->text()) + text::cp932(kRegisteredClose));
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
        runCommand([this] { FormShow(); });
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
    if (m_platform.screenHeight() > kScreenHeightForScrolling && view) {
        int n = firstVisibleLine(view) - 3;
        if (!text::contains(DBRichEdit1->plainText(), text::cp932("｜")))
            n += DBRichEdit1->caretPosition() / 500;
        if (n > 0)
            scrollDownLines(DBRichEdit1, n);
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
    runCommand([this] { CloseEditor(); });
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

// ---- bindings ------------------------------------------------------------------------------------

void THyperLink::watch(QObject* object, Role role)
{
    m_watched.emplace_back(object, role);
    object->installEventFilter(this);
}

void THyperLink::bindCommands()
{
    auto onClick = [this](QAbstractButton* b, void (THyperLink::*handler)()) {
        connect(b, &QAbstractButton::clicked, this, [this, handler] { runCommand([this, handler] { (this->*handler)(); }); });
    };
    auto onTrigger = [this](QAction* a, std::function<void()> handler) {
        connect(a, &QAction::triggered, this, [handler] { runCommand(handler); });
    };
    auto move = [this](void (store::DataSet::*step)()) {
        return [this, step] {
            runCommand([this, step] {
                if (Table1.Active())
                    (Table1.*step)();
            });
        };
    };

    for (EnterButton* b : CodeButtons)
        connect(b, &QAbstractButton::clicked, this, [this, b] { runCommand([this, b] { CodeButtonClick(b); }); });
    onClick(SameButton, &THyperLink::SameButtonClick);
    onClick(ConvertButton, &THyperLink::ConvertButtonClick);
    onClick(RegisterButton, &THyperLink::RegisterButtonClick);
    onClick(Register2Button, &THyperLink::Register2ButtonClick);
    onClick(LinkDeleteButton, &THyperLink::LinkDeleteButtonClick);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(Button5), static_cast<QAbstractButton*>(LinkCloseButton),
                               static_cast<QAbstractButton*>(RegisterCloseButton)})
        connect(b, &QAbstractButton::clicked, this, [this] { close(); });
    connect(NavFirst, &QAbstractButton::clicked, this, move(&store::DataSet::First));
    connect(NavPrior, &QAbstractButton::clicked, this, move(&store::DataSet::Prior));
    connect(NavNext, &QAbstractButton::clicked, this, move(&store::DataSet::Next));
    connect(NavLast, &QAbstractButton::clicked, this, move(&store::DataSet::Last));
    connect(RegisterPrior, &QAbstractButton::clicked, this, move(&store::DataSet::Prior));
    connect(RegisterNext, &QAbstractButton::clicked, this, move(&store::DataSet::Next));
    onClick(NavCancel, &THyperLink::NavCancelClick);

    onClick(Button6, &THyperLink::Button6Click);
    onClick(Button3, &THyperLink::Button3Click);
    onClick(Button4, &THyperLink::Button4Click);
    onClick(Button7, &THyperLink::Button7Click);
    onClick(Button48, &THyperLink::Button48Click);
    onClick(Button90, &THyperLink::Button90Click);
    onClick(Button92, &THyperLink::Button92Click);
    onClick(Button91, &THyperLink::Button92Click);
    connect(Button63, &QAbstractButton::clicked, this, [this] { runCommand([this] { FindInArticleText(true); }); });
    connect(Button64, &QAbstractButton::clicked, this, [this] { runCommand([this] { FindInArticleText(false); }); });
    onClick(Button88, &THyperLink::Button88Click);
    onClick(Button57, &THyperLink::Button57Click);
    for (EnterButton* b : ParagraphButtons)
        connect(b, &QAbstractButton::clicked, this, [this, b] { runCommand([this, b] { JumpToParagraph(cp(b->text())); }); });
    onClick(Button72, &THyperLink::Button72Click);
    onClick(Button73, &THyperLink::Button73Click);
    connect(ComboBox1, &QComboBox::activated, this, [this](int) { runCommand([this] { ComboBox1Change(); }); });
    connect(PageControl1, &QTabWidget::currentChanged, this, [this](int) { FitGridColumns(); });
    // A tab's grid takes its size when the tab is laid out, which may follow the change.
    connect(DBGrid1, &DataGrid::resized, this, [this] { FitGridColumns(); });
    connect(DBGrid2, &DataGrid::resized, this, [this] { FitGridColumns(); });

    onTrigger(Cut1, [this] {
        if (DBRichEdit1->selectionLength() == 0)
            return;
        m_platform.setClipboardText(DBRichEdit1->selectedText());
        DBRichEdit1->textCursor().removeSelectedText();
    });
    onTrigger(Copy1, [this] {
        if (DBRichEdit1->selectionLength() > 0)
            m_platform.setClipboardText(DBRichEdit1->selectedText());
    });
    onTrigger(Paste2, [this] { Button92Click(); });
    onTrigger(SelectAll1, [this] { DBRichEdit1->selectAll(); });
    onTrigger(K1, [this] { SearchSelection(true); });
    onTrigger(L1, [this] { SearchSelection(false); });
    onTrigger(J1, [this] { CopySelectionToCombo(); });
    connect(DBRichEdit1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { RichEditPopup->popup(DBRichEdit1->viewport()->mapToGlobal(pos)); });

    // The row's fields write into the row being edited.
    struct Bound {
        QLineEdit* edit;
        const char* field;
    };
    for (const Bound& b : {Bound{GyoField, "行"}, Bound{RenbanField, "条文連番"}, Bound{KaiseiField, "改正"},
                           Bound{BangouNomiField, "番号のみ"}, Bound{HyodaiField, "表題"}, Bound{BangouField, "条文本文"}}) {
        QLineEdit* edit = b.edit;
        const char* field = b.field;
        connect(edit, &QLineEdit::textEdited, this, [this, edit, field] { runCommand([&] { fieldEdited(field, edit); }); });
    }
    connect(DBRichEdit1, &QTextEdit::textChanged, this, [this] { runCommand([this] { articleTextEdited(); }); });
    // A refused drop is reported once the drag has ended.
    connect(DBRichEdit1, &ArticleTextField::insertionRefused, this,
            [this] { runCommand([this] { showMessage(kArticleTextTooLong); }); }, Qt::QueuedConnection);

    for (QLineEdit* numeric : {KeyField, GyoField, KaiseiField, BangouNomiField})
        watch(numeric, Role::NumericField);
    watch(RenbanField, Role::CodeOfRow);
    for (QWidget* w : std::initializer_list<QWidget*>{HyodaiField, KubunField, Edit3, Edit4, Edit5})
        watch(w, Role::NextOnEnter);
    watch(BangouField, Role::BangouField);
    watch(Edit1, Role::KeyJump);
    watch(Edit2, Role::GyoJump);
    watch(Edit6, Role::CodeField);
    watch(DBRichEdit1, Role::ArticleText);
    watch(ComboBox2->lineEdit(), Role::PhraseCombo);
    watch(Edit8, Role::ParagraphField);
}

bool THyperLink::eventFilter(QObject* watched, QEvent* event)
{
    auto it = std::find_if(m_watched.begin(), m_watched.end(), [&](const auto& w) { return w.first == watched; });
    if (it == m_watched.end())
        return QWidget::eventFilter(watched, event);
    const Role role = it->second;
    auto* widget = static_cast<QWidget*>(watched);

    if (role == Role::ArticleText) {
        if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (event->type() == QEvent::ShortcutOverride) {
                // The editing keys are this window's own, not the text control's.
                for (auto sequence : {QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste, QKeySequence::SelectAll})
                    if (key->matches(sequence)) {
                        event->accept();
                        return true;
                    }
                if ((key->modifiers() & Qt::ControlModifier) &&
                    (key->key() == Qt::Key_K || key->key() == Qt::Key_L || key->key() == Qt::Key_J)) {
                    event->accept();
                    return true;
                }
                return false;
            }
            bool swallowed = false;
            runCommand([&] { swallowed = articleTextKey(key); });
            return swallowed;
        }
        if (event->type() == QEvent::InputMethod) {
            const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
            if (committed.isEmpty())
                return false;
            bool refused = false;
            runCommand([&] {
                refused = !DBRichEdit1->takes(cp(committed));
                if (refused) {
                    endComposition(widget);
                    showMessage(kArticleTextTooLong);
                } else {
                    autoStamp();
                }
            });
            return refused;
        }
        return false;
    }

    if (role == Role::NumericField) {
        // Text reaches these fields by other ways than a key too; the digits rule holds for each.
        if (event->type() == QEvent::InputMethod) {
            const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
            if (authoring::OnlyHalfWidthDigits(cp(committed)))
                return false;
            endComposition(widget);
            runCommand([this] { showMessage(kDigitsOnly); });
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->mimeData() || authoring::OnlyHalfWidthDigits(cp(drop->mimeData()->text())))
                return false;
            drop->ignore();
            // The box waits for the drag to have ended.
            QMetaObject::invokeMethod(this, [this] { runCommand([this] { showMessage(kDigitsOnly); }); }, Qt::QueuedConnection);
            return true;
        }
    }

    if (event->type() == QEvent::MouseButtonRelease && (role == Role::CodeOfRow || role == Role::KeyJump || role == Role::GyoJump)) {
        static_cast<QLineEdit*>(widget)->selectAll();
        return false;
    }
    if (event->type() == QEvent::FocusOut) {
        // Leaving the window (for another window or a message box) is no leaving of the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        if (role == Role::CodeOfRow)
            runCommand([this] { CheckCategoryCode(false); });
        else if (role == Role::CodeField)
            runCommand([this] { UpdateLinkLabel(); });
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = isEnter(key);

    switch (role) {
    case Role::NumericField: {
        if (key->matches(QKeySequence::Paste)) {
            runCommand([&] { pasteIntoNumericField(static_cast<QLineEdit*>(widget)); });
            return true;
        }
        if (enter) {
            runCommand([&] {
                if (widget != BangouNomiField) {
                    const std::int64_t stamp = rowValue("改正").asInteger();
                    if (stamp > 0) {
                        m_registry.AmendmentStamp = static_cast<int>(stamp);
                        Button48->setText(QString::number(stamp));
                    }
                }
                focusNextControl(widget);
            });
            return true;
        }
        const QString typed = key->text();
        if (typed.isEmpty() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        const QChar c = typed.at(0);
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QChar(8) || c == QChar(27) || c == QChar(127))
            return false;
        runCommand([this] { showMessage(kDigitsOnly); });
        return true;
    }
    case Role::CodeOfRow:
        if (enter) {
            runCommand([this] { CheckCategoryCode(true); });
            return true;
        }
        return false;
    case Role::NextOnEnter:
        if (enter) {
            focusNextControl(widget);
            return true;
        }
        return false;
    case Role::BangouField:
        if (enter) {
            ComboBox2->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return false;
    case Role::KeyJump:
    case Role::GyoJump:
        if (enter) {
            runCommand([&] { role == Role::KeyJump ? KeyJump() : GyoJump(); });
            return true;
        }
        return false;
    case Role::CodeField:
        if (enter) {
            runCommand([&] {
                UpdateLinkLabel();
                focusNextControl(widget);
            });
            return true;
        }
        return false;
    case Role::PhraseCombo:
        if (enter) {
            Button64->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return false;
    case Role::ParagraphField:
        if (enter) {
            Button72->setFocus(Qt::OtherFocusReason);
            return true;
        }
        return false;
    case Role::ArticleText:
        return false;
    }
    return false;
}

void THyperLink::pasteIntoNumericField(QLineEdit* field)
{
    if (!m_platform.clipboardHasText())
        return;
    const std::string pasted = m_platform.clipboardText();
    if (pasted.empty())
        return;
    if (!authoring::OnlyHalfWidthDigits(pasted)) {
        showMessage(kDigitsOnly);
        return;
    }
    if (!field->isReadOnly())
        field->insert(qs(pasted));
}

// ---- opening ---------------------------------------------------------------------------------------

void OpenLinkEditor(MainWindowInterface& main, int v)
{
    VolumeRegistry& registry = main.registry();
    Platform& platform = main.platformOfWindow();
    auto message = [&](const char* utf8) { platform.showMessage(text::cp932(utf8)); };
    auto articleTableExists = [v](const std::string& drive) {
        std::error_code ec;
        return std::filesystem::exists(authoring::ResolveWindowsPath(drive + authoring::JyobunDirectory(v) + "\\" +
                                                                     authoring::kArticleTableFile),
                                       ec);
    };

    registry.AuthoringDrive = authoring::kFirstDrive;
    if (!articleTableExists(registry.AuthoringDrive)) {
        registry.AuthoringDrive = authoring::kSecondDrive;
        if (!articleTableExists(registry.AuthoringDrive)) {
            message(kNoArticleData);
            return;
        }
    }

    if (registry.LinkEditorOpen) {
        message(kAlreadyOpen);
        if (THyperLink* open = main.LinkEditor()) {
            open->showMaximized();
            open->raise();
            open->activateWindow();
            return;
        }
        // The editor the flag speaks of is gone: a new one is made.
        registry.LinkEditorOpen = 0;
    }

    auto* editor = new THyperLink(main);
    try {
        editor->FormCreate(v);
    } catch (const std::exception&) {
        delete editor;
        registry.LinkEditorOpen = 0;
        message(kOpenFailed);
        return;
    }
    auto release = [&](const char* utf8) {
        message(utf8);
        delete editor;
        registry.LinkEditorOpen = 0;
    };
    if (registry.LinkEditorArticleMissing) {
        release(kArticleDeleted);
        return;
    }
    if (!editor->Phrase.empty()) {
        if (editor->ProposalAlreadyRegistered()) {
            release(kAlreadyRegistered);
            return;
        }
        if (editor->ProposalPointsToItself()) {
            release(kSameAsArticle);
            return;
        }
    }
    main.SetLinkEditor(editor);
    editor->showMaximized();
    editor->raise();
    editor->activateWindow();
    editor->repaint();
    if (platform.screenHeight() < kScreenHeightForScrolling && firstVisibleLine(editor->DBRichEdit1) > 5)
        scrollDownLines(editor->DBRichEdit1, 5);
}
