// Fuzz target for the RTF reader: any bytes must be read or refused without a fault, the byte
// map of what was read must agree with its text, and every accepted document must save as RTF
// that reads back to the very same text and, from then on, saves as the same bytes.
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "display/PlainTextMap.h"
#include "display/RtfReader.h"
#include "display/RtfWriter.h"
#include "display/TextSearch.h"

namespace {

void fail(const char* what)
{
    std::fprintf(stderr, "rtf_reader_fuzz: %s\n", what);
    std::abort();
}

QString blockTexts(const QTextDocument& document)
{
    QString all;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        all += block.text() + QChar(u'|');
    return all;
}

void checkMap(const QTextDocument& document, const display::PlainTextMap& map)
{
    if (map.lastPosition() != document.characterCount() - 1)
        fail("the map does not cover every cursor position");
    if (map.byteOfPosition(map.lastPosition()) != map.byteLength())
        fail("the last position is not the end of the text");
    int previous = 0;
    for (int p = 0; p <= map.lastPosition(); ++p) {
        int byte = map.byteOfPosition(p);
        if (byte < previous)
            fail("byte offsets go backwards");
        previous = byte;
        if (p < map.lastPosition() && document.characterAt(p).isLowSurrogate())
            continue;
        if (map.positionOfByte(byte) != p)
            fail("a position does not map back to itself");
        if (map.positionAtOrAfterByte(byte) != p)
            fail("rounding up misses the position");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "rtf_reader_fuzz";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    QTextDocument document;
    const display::RtfReadResult result = display::readRtf(input, document);
    if (!result.accepted && !document.isEmpty())
        fail("a refused document left text behind");

    const display::PlainTextMap map(document);
    checkMap(document, map);
    if (size > 0)
        display::findTextIgnoringCase(map.text(), input.substr(size / 2, 3), static_cast<int>(data[0]) - 8, -1);

    if (result.accepted) {
        const std::string saved = display::writeRtf(document);
        QTextDocument reread;
        if (!display::readRtf(saved, reread).accepted)
            fail("a saved document is refused");
        if (blockTexts(reread) != blockTexts(document))
            fail("a saved document reads back with other text");
        if (display::PlainTextMap(reread).text() != map.text())
            fail("a saved document reads back with other plain text");
        for (char c : saved)
            if (static_cast<unsigned char>(c) >= 0x80)
                fail("saved RTF is not plain ASCII");
        // Once saved and read, a document saves as the same bytes every time: no format drifts.
        const std::string savedAgain = display::writeRtf(reread);
        QTextDocument third;
        if (!display::readRtf(savedAgain, third).accepted || display::writeRtf(third) != savedAgain)
            fail("saving a read-back document changes it");
        // Lay out what is small enough, so that no format read can make the layout run away.
        if (size < 2048) {
            document.setTextWidth(400);
            (void)document.size();
        }
    }
    return 0;
}
