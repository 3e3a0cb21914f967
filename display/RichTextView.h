// The read-only rich-text view of article text (the main window's text views, the memo pane,
// the print scratch control). It loads and saves RTF in code page 932 and answers every
// position — caret, selection, character under a point, found text — as a byte offset into its
// code page 932 plain text, in which each line end (CR LF) counts two.
#pragma once

#include <QTextEdit>

#include <optional>
#include <string>

#include "display/PlainTextMap.h"

class QMimeData;
class Platform;

class RichTextView : public QTextEdit {
    Q_OBJECT

public:
    explicit RichTextView(QWidget* parent = nullptr);

    // Replaces the content with the RTF document. A document the RTF reader refuses is shown as
    // its own text, as plain text, without a message; returns whether it was read as RTF.
    // The caret goes to the start.
    bool loadRtf(const std::string& rtf);

    // Replaces the content with code page 932 text; CR LF, a lone CR and a lone LF end lines.
    void loadPlainText(const std::string& cp932Text);

    // The read-only switch; the view starts read-only. Use it rather than setReadOnly, which
    // would leave the read-only view without keyboard selection.
    void setWritable(bool writable);

    // The content as RTF in code page 932.
    std::string saveRtf() const;

    // The content as code page 932 text, lines separated by CR LF (none after the last).
    std::string plainText() const;
    int textLength() const;

    int caretPosition() const;
    void setCaretPosition(int byteOffset);

    int selectionStart() const;
    int selectionLength() const;
    // Selects length bytes from start (a negative length selects backwards); an end inside a
    // character takes the whole character. Scrolls the caret into view.
    void select(int start, int length);
    std::string selectedText() const;

    // The byte offset of the character under a point of the viewport (the control's client
    // area); a point beside a line gives that line's nearest character or its end.
    int charIndexFromPoint(const QPoint& viewportPoint) const;

    // The byte offset of the first occurrence of needle lying within [from, to] (to < 0: the end),
    // letters compared without regard to case, anywhere in a word; -1 when there is none.
    int findText(const std::string& needle, int from, int to) const;

    // The platform whose clipboard copies write; the window that owns the view sets it. A view
    // without one (a scratch view, a benchmark's) copies nothing.
    void setPlatform(Platform& platform) { m_platform = &platform; }

    // Puts the selection's plain text on the clipboard; nothing when the selection is empty.
    void copy();

signals:
    // A mouse button went down; the caret has already moved to where it landed. byteIndex is the
    // character under the point; buttons holds every button down, the pressed one included.
    void mouseDown(int byteIndex, Qt::MouseButton button, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers, bool doubleClick);
    void mouseMoved(int byteIndex, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    const display::PlainTextMap& map() const;
    // The one place where the view writes the clipboard.
    void putOnClipboard(const std::string& cp932Text);
    Platform* m_platform = nullptr;

    // The byte map of the current document, dropped whenever its content changes.
    mutable std::optional<display::PlainTextMap> m_map;
    mutable const QTextDocument* m_mapDocument = nullptr;
    mutable QMetaObject::Connection m_mapInvalidation;
};
