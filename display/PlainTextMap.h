// The text of a rich-text document as the system measures it: code page 932 bytes, its
// paragraphs (and \line breaks) separated by CR LF, and the map between those byte offsets and
// the document's cursor positions. Carets, selections, link rows and character-from-point
// answers are all byte offsets into this text.
#pragma once

#include <string>
#include <vector>

class QTextDocument;

namespace display {

class PlainTextMap {
public:
    PlainTextMap() = default;
    explicit PlainTextMap(const QTextDocument& document);

    // The code page 932 text; no CR LF after the last paragraph.
    const std::string& text() const { return m_text; }
    int byteLength() const { return static_cast<int>(m_text.size()); }

    // The byte offset at which the character at a cursor position begins; a position past the
    // end gives the text's length.
    int byteOfPosition(int position) const;

    // The cursor position of the character that holds the byte (a line end's LF gives the
    // line end). Offsets past the end give the end of the text, negative ones its start.
    int positionOfByte(int byteOffset) const;

    // The first cursor position at or after the byte offset: a selection's end that falls inside
    // a character takes the whole character.
    int positionAtOrAfterByte(int byteOffset) const;

    // The highest cursor position of the document (the end of its last paragraph).
    int lastPosition() const { return static_cast<int>(m_byteAt.size()) - 1; }

private:
    std::string m_text;
    // The byte offset of every cursor position, non-decreasing; the second half of a surrogate
    // pair shares the offset of the position after it, which is where a cursor may stand.
    std::vector<int> m_byteAt{0};
};

}  // namespace display
