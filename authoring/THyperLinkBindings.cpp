// The link editor's bindings: its buttons, menus and fields connected to their handlers, and the
// event filter that gives the watched controls' keys, focus changes and clicks their meaning.
#include "authoring/THyperLink.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>

#include "app/VolumeRegistry.h"
#include "authoring/ArticleAuthoring.h"
#include "authoring/AuthoringMessages.h"
#include "authoring/LinkRegistration.h"
#include "display/DataGrid.h"
#include "platform/Platform.h"
#include "store/DataSet.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace {

using namespace authoringmessages;

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

void THyperLink::watch(QObject* object, Role role)
{
    m_watched.emplace_back(object, role);
    object->installEventFilter(this);
}

void THyperLink::bindCommands()
{
    auto onClick = [this](QAbstractButton* b, void (THyperLink::*handler)()) {
        connect(b, &QAbstractButton::clicked, this, [this, handler] { runCommand(m_platform, [this, handler] { (this->*handler)(); }); });
    };
    auto onTrigger = [this](QAction* a, std::function<void()> handler) {
        connect(a, &QAction::triggered, this, [this, handler] { runCommand(m_platform, handler); });
    };
    auto move = [this](void (store::DataSet::*step)()) {
        return [this, step] {
            runCommand(m_platform, [this, step] {
                if (Table1.Active())
                    (Table1.*step)();
            });
        };
    };

    for (EnterButton* b : CodeButtons)
        connect(b, &QAbstractButton::clicked, this, [this, b] { runCommand(m_platform, [this, b] { CodeButtonClick(b); }); });
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
    connect(Button63, &QAbstractButton::clicked, this, [this] { runCommand(m_platform, [this] { FindInArticleText(true); }); });
    connect(Button64, &QAbstractButton::clicked, this, [this] { runCommand(m_platform, [this] { FindInArticleText(false); }); });
    onClick(Button88, &THyperLink::Button88Click);
    onClick(Button57, &THyperLink::Button57Click);
    for (EnterButton* b : ParagraphButtons)
        connect(b, &QAbstractButton::clicked, this, [this, b] { runCommand(m_platform, [this, b] { JumpToParagraph(text::fromQString(b->text())); }); });
    onClick(Button72, &THyperLink::Button72Click);
    onClick(Button73, &THyperLink::Button73Click);
    connect(ComboBox1, &QComboBox::activated, this, [this](int) { runCommand(m_platform, [this] { ComboBox1Change(); }); });
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
        connect(edit, &QLineEdit::textEdited, this, [this, edit, field] { runCommand(m_platform, [&] { fieldEdited(field, edit); }); });
    }
    connect(DBRichEdit1, &QTextEdit::textChanged, this, [this] { runCommand(m_platform, [this] { articleTextEdited(); }); });
    // A refused drop is reported once the drag has ended.
    connect(DBRichEdit1, &ArticleTextField::insertionRefused, this,
            [this] { runCommand(m_platform, [this] { showMessage(kArticleTextTooLong); }); }, Qt::QueuedConnection);

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
            runCommand(m_platform, [&] { swallowed = articleTextKey(key); });
            return swallowed;
        }
        if (event->type() == QEvent::InputMethod) {
            const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
            if (committed.isEmpty())
                return false;
            bool refused = false;
            runCommand(m_platform, [&] {
                refused = !DBRichEdit1->takes(text::fromQString(committed));
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
            if (authoring::OnlyHalfWidthDigits(text::fromQString(committed)))
                return false;
            endComposition(widget);
            runCommand(m_platform, [this] { showMessage(kDigitsOnly); });
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            if (!drop->mimeData() || authoring::OnlyHalfWidthDigits(text::fromQString(drop->mimeData()->text())))
                return false;
            drop->ignore();
            // The box waits for the drag to have ended.
            QMetaObject::invokeMethod(this, [this] { runCommand(m_platform, [this] { showMessage(kDigitsOnly); }); }, Qt::QueuedConnection);
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
            runCommand(m_platform, [this] { CheckCategoryCode(false); });
        else if (role == Role::CodeField)
            runCommand(m_platform, [this] { UpdateLinkLabel(); });
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = isEnter(key);

    switch (role) {
    case Role::NumericField: {
        if (key->matches(QKeySequence::Paste)) {
            runCommand(m_platform, [&] { pasteIntoNumericField(static_cast<QLineEdit*>(widget)); });
            return true;
        }
        if (enter) {
            runCommand(m_platform, [&] {
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
        runCommand(m_platform, [this] { showMessage(kDigitsOnly); });
        return true;
    }
    case Role::CodeOfRow:
        if (enter) {
            runCommand(m_platform, [this] { CheckCategoryCode(true); });
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
            runCommand(m_platform, [&] { role == Role::KeyJump ? KeyJump() : GyoJump(); });
            return true;
        }
        return false;
    case Role::CodeField:
        if (enter) {
            runCommand(m_platform, [&] {
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
        field->insert(text::toQString(pasted));
}
