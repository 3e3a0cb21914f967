// The RTF writer: a font and a colour table gathered from the document's formats, then one
// paragraph group of runs per block, every byte above 7F and every RTF special character
// escaped, so that the output is plain ASCII whatever the text holds.
#include "display/RtfWriter.h"

#include <QColor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>
#include <cstdio>
#include <vector>

#include "display/RtfUnits.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace display {

namespace {

class Writer {
public:
    explicit Writer(const QTextDocument& document) : m_document(document) {}

    std::string run();

private:
    void gatherTables();
    int fontIndex(const QString& family);
    int colourIndex(const QColor& colour);
    void writeParagraph(const QTextBlock& block);
    void writeRun(const QTextCharFormat& format, const QString& text);
    void writeText(const QString& text);
    void writeBytes(std::string_view bytes);
    void word(const char* name);
    void word(const char* name, long long value);

    const QTextDocument& m_document;
    std::string m_out;
    std::vector<QString> m_fonts;
    std::vector<QColor> m_colours;
};

QString familyOf(const QTextCharFormat& format)
{
    QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.front().isEmpty())
        return families.front();
    return {};
}

// A measure in twips: the number it was read with while the pixels still agree with it, else
// the pixels converted.
int twipsOf(const QTextBlockFormat& format, int twipsProperty, qreal pixels)
{
    if (format.hasProperty(twipsProperty)) {
        int twips = format.intProperty(twipsProperty);
        if (std::abs(twipsToPixels(twips) - pixels) < 0.01)
            return twips;
    }
    return pixelsToTwips(pixels);
}

std::string Writer::run()
{
    gatherTables();
    m_out = "{\\rtf1\\ansi\\ansicpg932\\deff0\\uc2\r\n{\\fonttbl";
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        m_out += "{";
        word("f", static_cast<long long>(i));
        word("fnil");
        word("fcharset", 128);
        m_out += " ";
        writeText(m_fonts[i]);
        m_out += ";}";
    }
    // Index 0 is the view's own colour; the document's colours follow.
    m_out += "}\r\n{\\colortbl;";
    for (const QColor& colour : m_colours) {
        word("red", colour.red());
        word("green", colour.green());
        word("blue", colour.blue());
        m_out += ";";
    }
    m_out += "}\r\n";
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next())
        writeParagraph(block);
    m_out += "}";
    return std::move(m_out);
}

void Writer::gatherTables()
{
    QString defaultFamily = m_document.defaultFont().family();
    fontIndex(defaultFamily.isEmpty() ? QStringLiteral("ＭＳ 明朝") : defaultFamily);
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextCharFormat format = it.fragment().charFormat();
            QString family = familyOf(format);
            if (!family.isEmpty())
                fontIndex(family);
            if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
                colourIndex(format.foreground().color());
            if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
                colourIndex(format.background().color());
        }
    }
}

int Writer::fontIndex(const QString& family)
{
    for (std::size_t i = 0; i < m_fonts.size(); ++i)
        if (m_fonts[i] == family)
            return static_cast<int>(i);
    m_fonts.push_back(family);
    return static_cast<int>(m_fonts.size() - 1);
}

int Writer::colourIndex(const QColor& colour)
{
    QRgb rgb = colour.rgb();
    for (std::size_t i = 0; i < m_colours.size(); ++i)
        if (m_colours[i].rgb() == rgb)
            return static_cast<int>(i + 1);
    m_colours.push_back(QColor(rgb));
    return static_cast<int>(m_colours.size());
}

void Writer::writeParagraph(const QTextBlock& block)
{
    QTextBlockFormat format = block.blockFormat();
    word("pard");
    word("li", twipsOf(format, kLeftIndentTwips, format.leftMargin()));
    word("fi", twipsOf(format, kFirstIndentTwips, format.textIndent()));
    if (format.rightMargin() != 0)
        word("ri", twipsOf(format, kRightIndentTwips, format.rightMargin()));
    if (format.topMargin() != 0)
        word("sb", twipsOf(format, kSpaceBeforeTwips, format.topMargin()));
    if (format.bottomMargin() != 0)
        word("sa", twipsOf(format, kSpaceAfterTwips, format.bottomMargin()));
    switch (format.lineHeightType()) {
    case QTextBlockFormat::FixedHeight:
        word("sl", -twipsOf(format, kLineSpacingTwips, format.lineHeight()));
        break;
    case QTextBlockFormat::MinimumHeight:
        word("sl", twipsOf(format, kLineSpacingTwips, format.lineHeight()));
        break;
    case QTextBlockFormat::ProportionalHeight: {
        long spacing = std::lround(format.lineHeight() * 240.0 / 100.0);
        if (format.hasProperty(kLineSpacingTwips) &&
            std::abs(format.intProperty(kLineSpacingTwips) * 100.0 / 240.0 - format.lineHeight()) < 0.01)
            spacing = format.intProperty(kLineSpacingTwips);
        word("sl", spacing);
        word("slmult", 1);
        break;
    }
    default:
        break;
    }
    Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        word("qc");
    else if (alignment & Qt::AlignRight)
        word("qr");
    else if (alignment & Qt::AlignJustify)
        word("qj");
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        QTextFragment fragment = it.fragment();
        writeRun(fragment.charFormat(), fragment.text());
    }
    m_out += "\\par\r\n";
}

void Writer::writeRun(const QTextCharFormat& format, const QString& text)
{
    m_out += "{";
    const std::size_t start = m_out.size();
    QString family = familyOf(format);
    if (!family.isEmpty())
        word("f", fontIndex(family));
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        word("fs", std::lround(format.fontPointSize() * 2));
    if (format.fontWeight() >= QFont::Bold)
        word("b");
    if (format.fontItalic())
        word("i");
    if (format.fontUnderline())
        word("ul");
    if (format.fontStrikeOut())
        word("strike");
    if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        word("super");
    else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript)
        word("sub");
    if (format.hasProperty(QTextFormat::ForegroundBrush) && format.foreground().style() != Qt::NoBrush)
        word("cf", colourIndex(format.foreground().color()));
    if (format.hasProperty(QTextFormat::BackgroundBrush) && format.background().style() != Qt::NoBrush)
        word("highlight", colourIndex(format.background().color()));
    if (m_out.size() > start)
        m_out += " ";  // ends the last control word; a run without one needs none
    writeText(text);
    m_out += "}";
}

void Writer::writeText(const QString& text)
{
    // Most text converts whole; a stretch that does not come back unchanged is written a
    // character at a time, with \u for what code page 932 cannot hold (¥ and ‾ included,
    // which it would turn into \ and ~).
    std::size_t replaced = 0;
    std::string bytes = text::fromQString(text, &replaced);
    bool special = false;
    for (QChar c : text)
        if (c == u'\t' || c == QChar::LineSeparator || c.unicode() < 0x20)
            special = true;
    if (replaced == 0 && !special && text::toQString(bytes) == text) {
        writeBytes(bytes);
        return;
    }
    for (qsizetype i = 0; i < text.size();) {
        qsizetype n = (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1;
        QString character = text.mid(i, n);
        i += n;
        if (character == u"\t") {
            m_out += "\\tab ";
            continue;
        }
        if (character == QString(QChar::LineSeparator)) {
            m_out += "\\line ";
            continue;
        }
        std::size_t bad = 0;
        std::string one = text::fromQString(character, &bad);
        if (bad == 0 && character.front().unicode() >= 0x20 && text::toQString(one) == character) {
            writeBytes(one);
            continue;
        }
        for (QChar unit : character) {
            word("u", static_cast<short>(unit.unicode()));
            m_out += "\\'81\\'ac";
        }
    }
}

void Writer::writeBytes(std::string_view bytes)
{
    // Both bytes of a double-byte character as \'hh, so that a reader that does not know code
    // page 932 never takes a second byte for a backslash or a brace.
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = text::charLength(bytes, i);
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (n == 1 && (c == '\\' || c == '{' || c == '}')) {
            m_out += '\\';
            m_out += bytes[i];
        } else if (n == 2 || c >= 0x80 || c < 0x20) {
            for (std::size_t k = 0; k < n; ++k) {
                char escape[5];
                std::snprintf(escape, sizeof escape, "\\'%02x", static_cast<unsigned char>(bytes[i + k]));
                m_out += escape;
            }
        } else {
            m_out += bytes[i];
        }
        i += n;
    }
}

void Writer::word(const char* name)
{
    m_out += '\\';
    m_out += name;
}

void Writer::word(const char* name, long long value)
{
    m_out += '\\';
    m_out += name;
    m_out += std::to_string(value);
}

}  // namespace

std::string writeRtf(const QTextDocument& document)
{
    return Writer(document).run();
}

}  // namespace display
