// The rich-text view over QTextEdit: RTF in and out through the project's own reader and writer,
// and every position converted between the editor's cursor positions and byte offsets of the
// code page 932 plain text through one PlainTextMap, rebuilt whenever the content changes.
#include "display/RichTextView.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

#include "display/Fonts.h"
#include "display/RtfReader.h"
#include "display/RtfWriter.h"
#include "display/TextSearch.h"
#include "platform/Platform.h"
#include "text/QtText.h"

namespace {

// Code page 932 text with CR LF line ends as a QString with the "\n" line ends Qt's clipboard
// and documents use.
QString toQtLines(const std::string& cp932Text)
{
    QString s = text::toQString(cp932Text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QChar(u'\r'), QChar(u'\n'));
    return s;
}

}  // namespace

RichTextView::RichTextView(QWidget* parent) : QTextEdit(parent)
{
    display::registerFontSubstitutions();
    QFont font(display::articleFontFamily());
    font.setPointSize(12);
    setFont(font);
    setWritable(false);
    setUndoRedoEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setMouseTracking(true);
}

bool RichTextView::loadRtf(const std::string& rtf)
{
    // The article is read in with no page to lay it out on; given its page back, Qt lays out
    // at once only what the view shows, and the rest while the program is idle, where reading
    // into the laid-out document laid out the whole article before the first paint.
    const QSizeF page = document()->pageSize();
    document()->setPageSize(QSizeF(0, 0));
    const bool accepted = display::readRtf(rtf, *document()).accepted;
    document()->setPageSize(page);
    if (!accepted) {
        loadPlainText(rtf);
        return false;
    }
    setTextCursor(QTextCursor(document()));
    verticalScrollBar()->setValue(0);
    return true;
}

void RichTextView::loadPlainText(const std::string& cp932Text)
{
    // Through the document, so that no format of the text shown before carries over.
    document()->setPlainText(toQtLines(cp932Text));
    setTextCursor(QTextCursor(document()));
    verticalScrollBar()->setValue(0);
}

void RichTextView::setWritable(bool writable)
{
    setReadOnly(!writable);
    // Read-only, the caret still moves and selects with the keyboard, as in an edit control.
    if (!writable)
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

std::string RichTextView::saveRtf() const
{
    return display::writeRtf(*document());
}

std::string RichTextView::plainText() const
{
    return map().text();
}

int RichTextView::textLength() const
{
    return map().byteLength();
}

int RichTextView::caretPosition() const
{
    return map().byteOfPosition(textCursor().position());
}

void RichTextView::setCaretPosition(int byteOffset)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(map().positionOfByte(byteOffset));
    setTextCursor(cursor);
    ensureCursorVisible();
}

int RichTextView::selectionStart() const
{
    return map().byteOfPosition(textCursor().selectionStart());
}

int RichTextView::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return map().byteOfPosition(cursor.selectionEnd()) - map().byteOfPosition(cursor.selectionStart());
}

void RichTextView::select(int start, int length)
{
    const display::PlainTextMap& offsets = map();
    start = std::clamp(start, 0, offsets.byteLength());
    const long long endByte = std::clamp<long long>(static_cast<long long>(start) + length, 0, offsets.byteLength());
    const int end = static_cast<int>(endByte);
    QTextCursor cursor = textCursor();
    if (end >= start) {
        cursor.setPosition(offsets.positionOfByte(start));
        cursor.setPosition(offsets.positionAtOrAfterByte(end), QTextCursor::KeepAnchor);
    } else {
        // Backwards: the anchor's character stays whole, the caret goes to its character's start.
        cursor.setPosition(offsets.positionAtOrAfterByte(start));
        cursor.setPosition(offsets.positionOfByte(end), QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
    ensureCursorVisible();
}

std::string RichTextView::selectedText() const
{
    const int start = selectionStart();
    return map().text().substr(static_cast<std::size_t>(start), static_cast<std::size_t>(selectionLength()));
}

int RichTextView::charIndexFromPoint(const QPoint& viewportPoint) const
{
    const QPointF point(viewportPoint.x() + horizontalScrollBar()->value(),
                        viewportPoint.y() + verticalScrollBar()->value());
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    int position = std::max(0, layout->hitTest(point, Qt::FuzzyHit));
    // The nearest cursor position lies after a character whose right half was hit; the
    // character under the point is the one whose cell holds it.
    const QTextBlock block = document()->findBlock(position);
    if (block.isValid() && block.layout() && block.layout()->lineCount() > 0) {
        const QTextLayout* textLayout = block.layout();
        const QPointF local = point - layout->blockBoundingRect(block).topLeft();
        const int lineCount = textLayout->lineCount();
        for (int i = 0; i < lineCount; ++i) {
            const QTextLine line = textLayout->lineAt(i);
            if (local.y() >= line.y() + line.height() && i + 1 < lineCount)
                continue;
            int index = line.xToCursor(local.x(), QTextLine::CursorOnCharacter);
            // Beside a wrapped line: its last character, not the first one of the next line.
            const int lineEnd = line.textStart() + line.textLength();
            if (i + 1 < lineCount && index >= lineEnd && line.textLength() > 0)
                index = lineEnd - 1;
            position = block.position() + std::clamp(index, 0, block.length() - 1);
            break;
        }
    }
    return map().byteOfPosition(position);
}

int RichTextView::findText(const std::string& needle, int from, int to) const
{
    return display::findTextIgnoringCase(map().text(), needle, from, to);
}

void RichTextView::copy()
{
    if (selectionLength() > 0)
        putOnClipboard(selectedText());
}

void RichTextView::mousePressEvent(QMouseEvent* event)
{
    QTextEdit::mousePressEvent(event);
    emit mouseDown(charIndexFromPoint(event->position().toPoint()), event->button(), event->buttons(),
                   event->modifiers(), false);
}

void RichTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTextEdit::mouseDoubleClickEvent(event);
    emit mouseDown(charIndexFromPoint(event->position().toPoint()), event->button(), event->buttons(),
                   event->modifiers(), true);
}

void RichTextView::mouseMoveEvent(QMouseEvent* event)
{
    QTextEdit::mouseMoveEvent(event);
    emit mouseMoved(charIndexFromPoint(event->position().toPoint()), event->buttons(), event->modifiers());
}

void RichTextView::keyPressEvent(QKeyEvent* event)
{
    if (event == QKeySequence::Copy) {
        copy();
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

QMimeData* RichTextView::createMimeDataFromSelection() const
{
    // Copies and drags carry plain text only, never the rich text.
    auto* data = new QMimeData;
    data->setText(toQtLines(selectedText()));
    return data;
}

const display::PlainTextMap& RichTextView::map() const
{
    if (!m_map || m_mapDocument != document()) {
        if (m_mapDocument != document()) {
            QObject::disconnect(m_mapInvalidation);
            m_mapInvalidation = connect(document(), &QTextDocument::contentsChange, this, [this] { m_map.reset(); });
            m_mapDocument = document();
        }
        m_map.emplace(*document());
    }
    return *m_map;
}

void RichTextView::putOnClipboard(const std::string& cp932Text)
{
    if (m_platform)
        m_platform->setClipboardText(cp932Text);
}
