// Loading a long article document (hundreds of hanging-indent paragraphs with highlight
// colours, brackets and underlined links) into the rich-text view, and the byte-offset
// questions the display asks of it afterwards.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTextDocument>

#include <string>

#include "display/RichTextView.h"
#include "display/RtfReader.h"
#include "display/RtfWriter.h"
#include "text/Cp932.h"

namespace {

std::string run(const std::string& indent, int colour, const std::string& utf8)
{
    std::string out = "\\sl-264" + indent + "{\\cf" + std::to_string(colour) + (colour == 3 ? "\\ul" : "") + " ";
    for (char c : text::cp932(utf8)) {
        if (c == '\\' || c == '{' || c == '}')
            out += '\\';
        out += c;
    }
    return out + "}";
}

// paragraphs lines as the article renderer writes them, each with four runs of other colours.
std::string longArticle(int paragraphs)
{
    std::string rtf =
        "{\\rtf1\\ansi\r\n"
        "{\\fonttbl{\\f0\\fnil\\fcharset128\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\r\n\\red255\\green0\\blue0;\r\n\\red255\\green0\\blue255;\r\n"
        "\\red0\\green0\\blue255;\r\n\\red0\\green150\\blue0;}\r\n";
    const char* indents[] = {"\\li0\\fi0", "\\li480\\fi-480", "\\li600\\fi-600", "\\li960\\fi-960"};
    for (int i = 0; i < paragraphs; ++i) {
        const std::string indent = indents[i % 4];
        rtf += run(indent, 0, "　" + std::to_string(i % 10) + "　内国法人の各事業年度の所得の金額の計算上、");
        rtf += run(indent, 3, "法人税法第二十二条第三項");
        rtf += run(indent, 4, "（表示ソ十に規定する損金の額をいう。）");
        rtf += run(indent, 1, "法人税");
        rtf += run(indent, 0, "の額は、当該事業年度の損金の額に算入しない。ｶﾀｶﾅ");
        rtf += "\r\n\\par\r\n";
    }
    return rtf + "\\par}";
}

void BM_ReadRtf(benchmark::State& state)
{
    const std::string rtf = longArticle(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QTextDocument document;
        benchmark::DoNotOptimize(display::readRtf(rtf, document).accepted);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(rtf.size()));
}
BENCHMARK(BM_ReadRtf)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

// What the user waits for: load, lay out and paint the first screen.
void BM_LoadIntoView(benchmark::State& state)
{
    const std::string rtf = longArticle(static_cast<int>(state.range(0)));
    RichTextView view;
    view.resize(800, 600);
    view.show();
    for (auto _ : state) {
        view.loadRtf(rtf);
        benchmark::DoNotOptimize(view.grab());
        benchmark::DoNotOptimize(view.textLength());
    }
}
BENCHMARK(BM_LoadIntoView)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_SaveRtf(benchmark::State& state)
{
    RichTextView view;
    view.loadRtf(longArticle(static_cast<int>(state.range(0))));
    for (auto _ : state)
        benchmark::DoNotOptimize(view.saveRtf());
}
BENCHMARK(BM_SaveRtf)->Arg(300)->Unit(benchmark::kMillisecond);

// Hovering: the character under the mouse, asked on every move.
void BM_CharIndexFromPoint(benchmark::State& state)
{
    RichTextView view;
    view.resize(800, 600);
    view.show();
    view.loadRtf(longArticle(300));
    view.setCaretPosition(view.textLength() / 2);
    int x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(view.charIndexFromPoint(QPoint(x % 780, (x * 7) % 580)));
        ++x;
    }
}
BENCHMARK(BM_CharIndexFromPoint)->Unit(benchmark::kMicrosecond);

void BM_FindTextNearTheEnd(benchmark::State& state)
{
    RichTextView view;
    view.loadRtf(longArticle(300));
    const std::string needle = text::cp932("ｶﾀｶﾅ") + "\r\n" + text::cp932("　");
    const int from = view.textLength() - 400;
    for (auto _ : state)
        benchmark::DoNotOptimize(view.findText(needle, from, -1));
}
BENCHMARK(BM_FindTextNearTheEnd)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
