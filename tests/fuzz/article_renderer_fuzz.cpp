// Fuzz target: an article as its tables may hold it (any Honbun bytes, any category code, link
// rows anywhere, any highlight words) rendered as the text view asks for it; the RTF written
// must be read by the view's own RTF reader.
#include <QGuiApplication>
#include <QTextDocument>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "display/ArticleRenderer.h"
#include "display/RtfReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "article_renderer_fuzz";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    display::ArticleRenderInput input;
    input.kubunNo = in.ConsumeIntegralInRange(-1, 1200);
    const int rows = in.ConsumeIntegralInRange(0, 64);
    for (int i = 0; i < rows; ++i)
        input.links.push_back({in.ConsumeIntegralInRange(-4, 4096), in.ConsumeIntegral<int>(), in.ConsumeIntegralInRange(-3, 6)});
    input.highlightWord1 = in.ConsumeRandomLengthString(16);
    input.highlightWord2 = in.ConsumeRandomLengthString(16);
    input.honbun = in.ConsumeRemainingBytesAsString();

    const std::string rtf = display::RenderArticle(input);
    QTextDocument document;
    const display::RtfReadResult read = display::readRtf(rtf, document);
    if (!read.accepted) {
        std::fprintf(stderr, "article_renderer_fuzz: the view refuses a rendered article: %s\n", read.reason.c_str());
        std::abort();
    }
    return 0;
}
