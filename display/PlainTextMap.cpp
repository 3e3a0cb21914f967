// Building the byte map: each paragraph is converted to code page 932 in one go and then walked
// character by character against its UTF-16 text, so that the map and the text can never
// disagree about how many bytes a character takes.
#include "display/PlainTextMap.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

#include "text/Cp932.h"
#include "text/QtText.h"

namespace display {

namespace {

// Appends the code page 932 form of a stretch of one paragraph (no line breaks in it) to out and
// the byte offset of each of its UTF-16 units to byteAt.
void appendStretch(const QString& stretch, std::string& out, std::vector<int>& byteAt)
{
    const std::size_t base = out.size();
    std::string bytes = text::fromQString(stretch);
    // One code page 932 character for every code point (〓 for what it cannot hold).
    std::vector<std::size_t> lengths;
    lengths.reserve(static_cast<std::size_t>(stretch.size()));
    std::size_t at = 0;
    bool agrees = true;
    for (qsizetype i = 0; i < stretch.size(); ++i) {
        if (stretch[i].isLowSurrogate() && i > 0 && stretch[i - 1].isHighSurrogate()) {
            lengths.push_back(0);
            continue;
        }
        std::size_t n = text::charLength(bytes, at);
        if (n == 0) {
            agrees = false;
            break;
        }
        lengths.push_back(n);
        at += n;
    }
    if (!agrees || at != bytes.size()) {
        // Unreachable with iconv's one-to-one mapping; convert one character at a time instead.
        bytes.clear();
        lengths.clear();
        for (qsizetype i = 0; i < stretch.size(); ++i) {
            qsizetype n = (stretch[i].isHighSurrogate() && i + 1 < stretch.size() && stretch[i + 1].isLowSurrogate()) ? 2 : 1;
            std::string one = text::fromQString(stretch.mid(i, n));
            bytes += one;
            lengths.push_back(one.size());
            if (n == 2)
                lengths.push_back(0);
            i += n - 1;
        }
    }
    // The low half of a pair has length 0, so it takes the offset of the position after it.
    std::size_t offset = base;
    for (std::size_t n : lengths) {
        byteAt.push_back(static_cast<int>(offset));
        offset += n;
    }
    out += bytes;
}

}  // namespace

PlainTextMap::PlainTextMap(const QTextDocument& document)
{
    m_byteAt.clear();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString blockText = block.text();
        qsizetype start = 0;
        for (;;) {
            qsizetype lineBreak = blockText.indexOf(QChar::LineSeparator, start);
            appendStretch(blockText.mid(start, lineBreak < 0 ? -1 : lineBreak - start), m_text, m_byteAt);
            if (lineBreak < 0)
                break;
            // A \line break is one cursor position and two bytes, like a paragraph end.
            m_byteAt.push_back(static_cast<int>(m_text.size()));
            m_text += "\r\n";
            start = lineBreak + 1;
        }
        // The paragraph end: the position after the last character.
        m_byteAt.push_back(static_cast<int>(m_text.size()));
        if (block.next().isValid())
            m_text += "\r\n";
    }
    if (m_byteAt.empty())
        m_byteAt.push_back(0);
}

int PlainTextMap::byteOfPosition(int position) const
{
    if (position <= 0)
        return 0;
    if (position >= static_cast<int>(m_byteAt.size()))
        return byteLength();
    return m_byteAt[static_cast<std::size_t>(position)];
}

int PlainTextMap::positionOfByte(int byteOffset) const
{
    if (byteOffset <= 0)
        return 0;
    if (byteOffset >= byteLength())
        return lastPosition();
    auto after = std::upper_bound(m_byteAt.begin(), m_byteAt.end(), byteOffset);
    return static_cast<int>(after - m_byteAt.begin()) - 1;
}

int PlainTextMap::positionAtOrAfterByte(int byteOffset) const
{
    if (byteOffset <= 0)
        return 0;
    if (byteOffset >= byteLength())
        return lastPosition();
    auto at = std::lower_bound(m_byteAt.begin(), m_byteAt.end(), byteOffset);
    std::size_t position = static_cast<std::size_t>(at - m_byteAt.begin());
    // Past the low half of a surrogate pair, which shares its offset with the next position.
    while (position + 1 < m_byteAt.size() && m_byteAt[position + 1] == m_byteAt[position])
        ++position;
    return static_cast<int>(position);
}

}  // namespace display
