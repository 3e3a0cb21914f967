// Rendering time of a long article: a few hundred numbered lines with nested brackets,
// quotations, links and both highlight words, as a long article of a law volume has.
#include <benchmark/benchmark.h>

#include <string>

#include "display/ArticleRenderer.h"
#include "text/Cp932.h"

namespace {

// Each line holds one link over its "第n条第m項" reference; the line shapes cycle through the
// indent classes the content uses most.
display::ArticleRenderInput longArticle(int lineCount)
{
    static const char* const kLineHeads[] = {"１　", "　一　", "　　イ　", "　（１）", "（注）１　", "　なお、", "２　"};
    display::ArticleRenderInput input;
    input.kubunNo = 10;
    input.highlightWord1 = text::cp932("資産");
    input.highlightWord2 = text::cp932("譲渡");
    std::string articleText = text::cp932("第二十二条　各事業年度の所得の金額の計算");
    for (int line = 1; line < lineCount; ++line) {
        articleText += "\r\n";
        std::string head = text::cp932(kLineHeads[line % 7]) +
                           text::cp932("内国法人の各事業年度の所得の金額の計算上（「資産の譲渡」（同法第二条に規定する"
                                       "ものをいう。）を含む。）、");
        const std::string reference =
            text::cp932("第" + std::to_string(line % 90 + 1) + "条第" + std::to_string(line % 5 + 1) + "項");
        const int sel = static_cast<int>(articleText.size() + head.size());
        articleText += head + text::ToFullWidthDigits(reference);
        for (int byte = 0; byte < static_cast<int>(text::ToFullWidthDigits(reference).size()); ++byte)
            input.links.push_back({sel + byte, line, 0});
        articleText += text::cp932("の規定により益金の額に算入すべき金額は、別表の｜区分に応じ定める。");
    }
    input.honbun = articleText;
    return input;
}

void BM_RenderArticle(benchmark::State& state)
{
    const display::ArticleRenderInput input = longArticle(static_cast<int>(state.range(0)));
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string document = display::RenderArticle(input);
        bytes = document.size();
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.honbun.size()));
    state.counters["document_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderArticle)->Arg(20)->Arg(300)->Arg(1000);

void BM_RenderArticle_linkToMemo(benchmark::State& state)
{
    display::ArticleRenderInput input = longArticle(static_cast<int>(state.range(0)));
    input.highlightWord1.clear();
    input.highlightWord2.clear();
    for (auto _ : state)
        benchmark::DoNotOptimize(display::RenderArticle(input));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.honbun.size()));
}
BENCHMARK(BM_RenderArticle_linkToMemo)->Arg(300);

}  // namespace

BENCHMARK_MAIN();
