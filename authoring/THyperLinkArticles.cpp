// Article authoring in the link editor: the row being edited and its fields, the amendment
// stamp, adding, deleting and clearing rows, the pastes, the category filter, the jumps, and the
// searches for phrases and paragraphs in the article text.
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextCursor>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "authoring/ArticleAuthoring.h"
#include "authoring/AuthoringMessages.h"
#include "authoring/THyperLink.h"
#include "display/DataGrid.h"
#include "display/RichTextView.h"
#include "display/ScopedFlag.h"
#include "platform/Platform.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace {

using namespace authoringmessages;

// Text with CR LF line ends as a text control takes it.
QString controlText(const std::string& cp932Text)
{
    QString s = text::toQString(cp932Text);
    s.remove(QLatin1Char('\r'));
    return s;
}

// The fields that take half-width digits only.
bool isNumericField(const char* field)
{
    const std::string_view f(field);
    return f == "ＫＥＹ" || f == "行" || f == "改正" || f == "番号のみ";
}

bool isIntegerField(const char* field)
{
    const std::string_view f(field);
    return f == "ＫＥＹ" || f == "条文連番" || f == "改正" || f == "番号のみ";
}

}  // namespace

// ---- the row being edited ----------------------------------------------------------------------

void THyperLink::Table1AfterScroll()
{
    if (Table1.Active() && !Table1.IsEmpty() && Table1.GetState() == store::Table::State::Browse)
        Table1.Edit();
    showRow();
}

store::Value THyperLink::rowValue(const char* fieldUtf8) const
{
    if (!Table1.Active() || Table1.IsEmpty())
        return {};
    return Table1.FieldValueForEdit(fieldUtf8);
}

std::string THyperLink::rowText(const char* fieldUtf8) const
{
    return rowValue(fieldUtf8).asText();
}

void THyperLink::showRow()
{
    ScopedFlag showing(m_showingRow);
    struct Shown {
        QLineEdit* edit;
        const char* field;
    };
    for (const Shown& s : {Shown{KeyField, "ＫＥＹ"}, Shown{GyoField, "行"}, Shown{RenbanField, "条文連番"},
                           Shown{KubunField, "条文区分"}, Shown{KaiseiField, "改正"}, Shown{BangouNomiField, "番号のみ"},
                           Shown{HyodaiField, "表題"}, Shown{BangouField, "条文本文"}})
        s.edit->setText(text::toQString(rowText(s.field)));
    DBRichEdit1->loadPlainText(rowText("条文内容"));
}

void THyperLink::setRowField(const char* fieldUtf8, store::Value value)
{
    if (!Table1.Active() || Table1.IsEmpty())
        return;
    if (Table1.GetState() == store::Table::State::Browse)
        Table1.Edit();
    Table1.SetFieldValue(fieldUtf8, std::move(value));
    ScopedFlag showing(m_showingRow);
    const std::string shown = rowText(fieldUtf8);
    const std::string_view f(fieldUtf8);
    if (f == "条文内容")
        DBRichEdit1->loadPlainText(shown);
    for (auto [edit, name] : {std::pair{KeyField, "ＫＥＹ"}, std::pair{GyoField, "行"}, std::pair{RenbanField, "条文連番"},
                              std::pair{KubunField, "条文区分"}, std::pair{KaiseiField, "改正"},
                              std::pair{BangouNomiField, "番号のみ"}, std::pair{HyodaiField, "表題"},
                              std::pair{BangouField, "条文本文"}})
        if (f == name)
            edit->setText(text::toQString(shown));
}

void THyperLink::fieldEdited(const char* fieldUtf8, QLineEdit* edit)
{
    if (m_showingRow || !Table1.Active() || Table1.IsEmpty())
        return;
    const std::string typed = text::fromQString(edit->text());
    if (isNumericField(fieldUtf8) && !authoring::OnlyHalfWidthDigits(typed)) {
        // Text that came past the key rule by the field's own means (its menu's paste): the
        // field shows the row's value again.
        edit->setText(text::toQString(rowText(fieldUtf8)));
        showMessage(kDigitsOnly);
        return;
    }
    store::Value value;
    if (std::string_view(fieldUtf8) == "行") {
        // A whole number of the article order; a text that is none is not written.
        if (!typed.empty()) {
            const auto n = store::Value::parseInteger(typed);
            if (!n)
                return;
            value = store::Value(static_cast<double>(*n));
        }
    } else if (isIntegerField(fieldUtf8)) {
        if (!typed.empty()) {
            const auto n = store::Value::parseInteger(typed);
            if (!n)
                return;
            value = store::Value(*n);
        }
    } else {
        value = store::Value(typed);
    }
    if (Table1.GetState() == store::Table::State::Browse)
        Table1.Edit();
    Table1.SetFieldValue(fieldUtf8, std::move(value));
}

void THyperLink::articleTextEdited()
{
    if (m_showingRow || !Table1.Active() || Table1.IsEmpty())
        return;
    if (Table1.GetState() == store::Table::State::Browse)
        Table1.Edit();
    Table1.SetFieldValue("条文内容", DBRichEdit1->plainText());
}

void THyperLink::StampAmendment()
{
    setRowField("改正", store::Value(m_registry.AmendmentStamp));
}

void THyperLink::autoStamp()
{
    if (CheckBox1->isChecked())
        StampAmendment();
}

bool THyperLink::articleTextKey(QKeyEvent* key)
{
    if (key->matches(QKeySequence::Cut)) {
        Cut1->trigger();
        return true;
    }
    if (key->matches(QKeySequence::Copy)) {
        Copy1->trigger();
        return true;
    }
    if (key->matches(QKeySequence::Paste)) {
        Button92Click();
        return true;
    }
    if (key->matches(QKeySequence::SelectAll)) {
        DBRichEdit1->selectAll();
        return true;
    }
    if (key->modifiers() & Qt::ControlModifier) {
        switch (key->key()) {
        case Qt::Key_K: SearchSelection(true); return true;
        case Qt::Key_L: SearchSelection(false); return true;
        case Qt::Key_J: CopySelectionToCombo(); return true;
        default: break;
        }
    }
    if (key->key() == Qt::Key_Delete) {
        autoStamp();
        return false;
    }
    const QString typed = key->text();
    if (typed.isEmpty())
        return false;
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter) {
        // A found phrase is not to be replaced by a line break.
        const std::string phrase = text::fromQString(ComboBox2->currentText());
        if (!phrase.empty() && DBRichEdit1->selectedText() == phrase)
            return true;
    }
    if (typed.at(0) == QChar(27))
        return false;
    // What the key puts into the text: a line break, or its printable characters (Backspace
    // puts nothing).
    QString inserted = enter ? QStringLiteral("\n") : QString();
    if (!enter)
        for (QChar c : typed)
            if (c.isPrint() || c == QLatin1Char('\t'))
                inserted += c;
    if (!inserted.isEmpty() && !DBRichEdit1->takes(text::fromQString(inserted))) {
        showMessage(kArticleTextTooLong);
        return true;
    }
    autoStamp();
    return false;
}

// ---- header commands ---------------------------------------------------------------------------

void THyperLink::Button6Click()
{
    if (m_platform.ask(m_platform.applicationTitle(), text::cp932(kClearQuestion), QuestionButtons::YesNo,
                       MessageIcon::Question) != Answer::Yes)
        return;
    setRowField("表題", store::Value(std::string()));
    setRowField("条文本文", store::Value(std::string()));
    setRowField("条文内容", store::Value(std::string()));
}

void THyperLink::Button3Click()
{
    if (m_platform.ask(kMainTableCaption, text::cp932(kDeleteQuestion), QuestionButtons::YesNo, MessageIcon::Question) !=
        Answer::Yes)
        return;
    if (!Table1.Active() || Table1.IsEmpty())
        return;
    Table1.Delete();
    if (!Table1.Bof())
        Table1.Prior();
}

void THyperLink::Button4Click()
{
    if (!Table1.Active())
        return;
    const std::int64_t code = rowValue("条文連番").asInteger();
    const std::string kubun = rowText("条文区分");
    Table1.CheckBrowseMode();

    std::vector<double> rows;
    const int gyoField = Table1.FieldIndex("行");
    for (int p = 0; p < Table1.RecordCount(); ++p)
        rows.push_back(Table1.ValueAt(p, gyoField).asFloat());
    authoring::RowInsertion plan;
    if (Table1.IsEmpty())
        plan.newRow = code == 510 ? 5 : 10;
    else
        plan = authoring::PlanRowInsertion(rows, Table1.RecNo(), static_cast<int>(code));

    // The rows making room are written together: one commit, and never half of them moved.
    if (!plan.renumbered.empty()) {
        std::vector<std::pair<int, store::Value>> changes;
        for (const auto& [position, newRow] : plan.renumbered)
            changes.emplace_back(position, store::Value(newRow));
        Table1.SetFieldOfRows("行", changes);
    }

    ++LastKey;
    Table1.Append();
    Table1.SetFieldValue("ＫＥＹ", store::Value(static_cast<std::int64_t>(LastKey)));
    Table1.SetFieldValue("行", store::Value(plan.newRow));
    Table1.SetFieldValue("条文連番", code ? store::Value(code) : store::Value());
    Table1.SetFieldValue("条文区分", store::Value(kubun));
    Table1.Post();

    PageControl1->setCurrentWidget(TabSheet1);
    Table1.Locate("ＫＥＹ", {store::Value(static_cast<std::int64_t>(LastKey))});
    HyodaiField->setFocus(Qt::OtherFocusReason);
    KaiseiField->setFocus(Qt::OtherFocusReason);
}

void THyperLink::Button7Click()
{
    if (!Table1.Active() || Table1.IsEmpty())
        return;
    if (!rowText("条文本文").empty()) {
        showMessage(kClearOrAddFirst);
        return;
    }
    if (!m_platform.clipboardHasText())
        return;
    const std::string clipboard = m_platform.clipboardText() + "\r\n";
    const authoring::PastedArticle pasted = authoring::ParsePastedArticle(clipboard);
    // An article too long for the text field fills nothing: no half-filled row.
    if (pasted.content && !authoring::ArticleTextEditFits(DBRichEdit1->characterCount(), DBRichEdit1->characterCount(),
                                                          authoring::ArticleTextCharacters(*pasted.content))) {
        showMessage(kArticleTextTooLong);
        return;
    }
    m_platform.setClipboardText(clipboard);
    if (Table1.GetState() == store::Table::State::Browse)
        Table1.Edit();
    if (pasted.title)
        setRowField("表題", store::Value(*pasted.title));
    if (pasted.number)
        setRowField("条文本文", store::Value(*pasted.number));
    if (pasted.content)
        setRowField("条文内容", store::Value(*pasted.content));
    if (pasted.stamps)
        autoStamp();
}

void THyperLink::Button48Click()
{
    StampAmendment();
}

void THyperLink::Button90Click()
{
    setRowField("番号のみ", store::Value(1));
}

void THyperLink::Button92Click()
{
    if (!m_platform.clipboardHasText())
        return;
    const std::string normalised = authoring::NormalizePastedText(m_platform.clipboardText());
    if (!DBRichEdit1->takes(normalised)) {
        // Nothing is pasted and the clipboard keeps the text as it was.
        showMessage(kArticleTextTooLong);
        DBRichEdit1->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_platform.setClipboardText(normalised);
    QTextCursor cursor = DBRichEdit1->textCursor();
    cursor.insertText(controlText(normalised));
    DBRichEdit1->setTextCursor(cursor);
    autoStamp();
    DBRichEdit1->setFocus(Qt::OtherFocusReason);
}

void THyperLink::NavCancelClick()
{
    if (!Table1.Active() || Table1.IsEmpty())
        return;
    Table1.Cancel();
    Table1.Edit();
    showRow();
}

void THyperLink::ComboBox1Change()
{
    Table1.CheckBrowseMode();
    Table1.Close();
    const std::string chosen = text::fromQString(ComboBox1->currentText());
    std::optional<std::int64_t> code;
    const int renban = Table3.FieldIndex("連番");
    const int kubun = Table3.FieldIndex("条文区分");
    if (Table3.Active() && renban >= 0 && kubun >= 0)
        for (const store::Row& row : Table3.AllRows())
            if (static_cast<std::size_t>(kubun) < row.size() && !chosen.empty() &&
                row[static_cast<std::size_t>(kubun)].asText() == chosen && !row[static_cast<std::size_t>(renban)].isNull()) {
                code = row[static_cast<std::size_t>(renban)].asInteger();
                break;
            }
    if (code) {
        Table1.SetFilter(text::cp932("条文連番 = ") + std::to_string(*code));
        Table1.SetFiltered(true);
    } else {
        Table1.SetFiltered(false);
    }
    Table1.Open();
}

void THyperLink::KeyJump()
{
    const std::string typed = text::fromQString(Edit1->text());
    if (typed.empty() || !Table1.Active())
        return;
    Table1.Locate("ＫＥＹ", {store::Value(typed)});
}

void THyperLink::GyoJump()
{
    const auto row = store::Value::parseInteger(text::fromQString(Edit2->text()));
    if (!row || !Table1.Active())
        return;
    Table1.Locate("行", {store::Value(static_cast<double>(*row))});
}

void THyperLink::CheckCategoryCode(bool fromEnter)
{
    if (m_checkingCode || !Table1.Active() || Table1.IsEmpty())
        return;
    const std::string typed = text::fromQString(RenbanField->text());
    if (fromEnter && typed.empty())
        return;
    std::optional<std::string> name;
    {
        ScopedFlag checking(m_checkingCode);
        name = CategoryName(typed);
        if (name)
            setRowField("条文区分", store::Value(*name));
    }
    if (name) {
        if (fromEnter)
            focusNextControl(RenbanField);
        return;
    }
    ScopedFlag checking(m_checkingCode);
    setRowField("条文区分", store::Value(std::string()));
    showMessage(kUnknownCategory);
    RenbanField->setFocus(Qt::OtherFocusReason);
    if (fromEnter)
        RenbanField->selectAll();
}

// ---- finding in the article text ---------------------------------------------------------------

void THyperLink::appendToPhraseList(const QString& phrase)
{
    const int count = ComboBox2->count();
    if (count > 0 && ComboBox2->itemText(count - 1) == phrase)
        return;
    const QString shown = ComboBox2->currentText();
    ComboBox2->addItem(phrase);
    ComboBox2->setEditText(shown);
}

void THyperLink::FindInArticleText(bool fromStart)
{
    if (ComboBox2->currentText().isEmpty() || DBRichEdit1->textLength() == 0) {
        showMessage(kNotFound);
        DBRichEdit1->setFocus(Qt::OtherFocusReason);
        return;
    }
    const std::string phrase = authoring::NormalizePastedText(text::fromQString(ComboBox2->currentText()));
    ComboBox2->setEditText(text::toQString(phrase));
    const int length = static_cast<int>(phrase.size());
    int start = 0;
    if (fromStart)
        DBRichEdit1->setFocus(Qt::OtherFocusReason);
    else {
        start = DBRichEdit1->selectionStart() + DBRichEdit1->selectionLength();
        Button64->setFocus(Qt::OtherFocusReason);
    }

    const int found = DBRichEdit1->findText(phrase, start, -1);
    if (found > 0) {
        appendToPhraseList(text::toQString(phrase));
        DBRichEdit1->select(found, length);
        DBRichEdit1->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Nothing after the start, or only at the very start of the text.
    const bool selectionAtStart = DBRichEdit1->selectionStart() == 0;
    if (selectionAtStart && DBRichEdit1->selectedText() == phrase && !fromStart) {
        showMessage(kNotFound);
        appendToPhraseList(text::toQString(phrase));
        DBRichEdit1->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (selectionAtStart || fromStart) {
        DBRichEdit1->select(0, length);
        if (DBRichEdit1->selectedText() == phrase) {
            DBRichEdit1->setFocus(Qt::OtherFocusReason);
            return;
        }
        DBRichEdit1->select(0, 0);
    }
    showMessage(kNotFound);
    appendToPhraseList(text::toQString(phrase));
    DBRichEdit1->setFocus(Qt::OtherFocusReason);
}

void THyperLink::SearchSelection(bool fromStart)
{
    const std::string selected = DBRichEdit1->selectedText();
    if (selected.empty()) {
        showMessage(kNothingSelected);
        return;
    }
    ComboBox2->setEditText(text::toQString(selected));
    FindInArticleText(fromStart);
}

void THyperLink::CopySelectionToCombo()
{
    const std::string selected = DBRichEdit1->selectedText();
    if (selected.empty()) {
        showMessage(kNothingSelected);
        return;
    }
    ComboBox2->setEditText(text::toQString(selected));
}

void THyperLink::Button88Click()
{
    ComboBox2->setEditText(controlText(m_platform.clipboardText()));
    FindInArticleText(false);
}

void THyperLink::Button57Click()
{
    ComboBox2->setEditText(QString());
    ComboBox2->setFocus(Qt::OtherFocusReason);
}

void THyperLink::JumpToParagraph(const std::string& numberText)
{
    const std::string s = numberText + text::cp932("　");
    const std::string articleText = DBRichEdit1->plainText();
    if (articleText.empty()) {
        showMessage(kNotFound);
    } else if (s == text::cp932("１　")) {
        DBRichEdit1->setCaretPosition(0);
    } else {
        const std::size_t at = text::find(articleText, "\r\n" + s);
        if (at != std::string::npos && at > 0)
            DBRichEdit1->select(static_cast<int>(at) + 2, static_cast<int>(s.size()));
        else
            showMessage(kNotFound);
    }
    DBRichEdit1->setFocus(Qt::OtherFocusReason);
}

void THyperLink::Button72Click()
{
    if (!Edit8->text().isEmpty())
        JumpToParagraph(text::fromQString(Edit8->text()));
}

void THyperLink::Button73Click()
{
    Edit8->clear();
    Edit8->setFocus(Qt::OtherFocusReason);
}
