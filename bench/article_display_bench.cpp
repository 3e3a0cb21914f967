// What the display does when the list moves to an article: the renderer builds the RTF document
// and the text view loads it. Measured on the longest article of the build's sample volumes (a
// generated long article when there are none) and on the longest article of the real 消費税
// volume, built from ../shared/corpus by the importer when both are there. Prints the medians.
//
//   article_display_bench [--importer=PATH] [--samples=DIR] [benchmark flags]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "display/ArticleDisplay.h"
#include "display/ArticleRenderer.h"
#include "display/Fonts.h"
#include "display/RichTextView.h"
#include "store/Table.h"
#include "store/Volumes.h"
#include "text/Cp932.h"

namespace fs = std::filesystem;

namespace {

struct BenchArticle {
    std::string label;
    display::ArticleRenderInput input;
    std::size_t lines = 0;
};

std::vector<BenchArticle>& articles()
{
    static std::vector<BenchArticle> all;
    return all;
}

fs::path benchDirectory()
{
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("sorvane-article-display-" + std::to_string(getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

std::size_t lineCount(const std::string& honbun)
{
    const std::string t = display::ArticleTextOf(honbun);
    std::size_t n = 0;
    for (std::size_t at = t.find("\r\n"); at != std::string::npos; at = t.find("\r\n", at + 2))
        ++n;
    return n;
}

// The longest Honbun of a law volume in folder, with its category code and link rows; false when
// the volume's text table cannot be opened.
bool longestArticleOf(const fs::path& folder, char letter, BenchArticle& out)
{
    try {
        store::Table texts("SubTable");
        texts.SetDatabaseName(folder);
        texts.SetTableName(std::string(1, letter) + "2.db");
        texts.Open();
        std::int64_t gyo = -1;
        std::size_t longest = 0;
        for (texts.First(); !texts.Eof(); texts.Next()) {
            const std::string honbun = texts.TextField("Honbun");
            if (honbun.size() > longest) {
                longest = honbun.size();
                gyo = texts.IntegerField("Gyo");
                out.input.honbun = honbun;
                out.input.kubunNo = static_cast<int>(texts.IntegerField("KubunNo"));
            }
        }
        if (gyo < 0)
            return false;
        store::Table links("LinkTable");
        links.SetDatabaseName(folder);
        links.SetTableName(std::string(1, letter) + "4.db");
        links.SetIndexFieldNames("Gyo");
        links.Open();
        out.input.links = display::linkRowsOfArticle(links, gyo);
        out.lines = lineCount(out.input.honbun);
        return true;
    } catch (const std::exception& e) {
        std::cerr << "skipped " << folder.string() << " " << letter << ": " << e.what() << "\n";
        return false;
    }
}

// An article of 400 numbered lines with brackets, quotes and a link in every line, about as long
// as the longest articles of the real volumes.
BenchArticle generatedArticle()
{
    BenchArticle a;
    a.label = "generated";
    a.input.kubunNo = 110;
    std::string honbun = text::cp932("第三十条　事業者が、国内において行う課税仕入れ（特定課税仕入れに該当するものを除く。）");
    honbun += "\r\n";
    for (int i = 2; i <= 400; ++i) {
        std::string line = text::ToFullWidthDigits(std::to_string(i)) +
                           text::cp932("　前項の規定は、「課税資産の譲渡等」（第二条第一項第九号に規定する課税資産の譲渡等をいう。以下同じ。）に係る"
                                       "消費税額の控除について、政令で定めるところにより適用する。");
        const int sel = static_cast<int>(display::ArticleTextOf(honbun).size() + text::find(line, text::cp932("第二条")));
        for (int k = 0; k < 6; ++k)
            a.input.links.push_back({sel + k, 2, 1});
        honbun += line + "\r\n";
    }
    a.input.honbun = honbun;
    a.input.highlightWord1 = text::cp932("消費税");
    a.input.highlightWord2 = text::cp932("控除");
    a.lines = lineCount(honbun);
    return a;
}

void findSampleArticle(const fs::path& samples)
{
    BenchArticle longest;
    for (char letter : store::kLawLetters) {
        if (!fs::exists(samples / (std::string(1, letter) + "2.db")))
            continue;
        BenchArticle a;
        if (longestArticleOf(samples, letter, a) && a.input.honbun.size() > longest.input.honbun.size()) {
            longest = std::move(a);
            longest.label = std::string("samples-") + letter;
        }
    }
    if (longest.input.honbun.empty()) {
        std::cerr << "no sample volumes at " << samples.string() << ": a generated long article stands in\n";
        articles().push_back(generatedArticle());
        return;
    }
    articles().push_back(std::move(longest));
}

// The 消費税 pages of the corpus through "importer build MANIFEST ROOT E TARGET".
void findCorpusArticle(const fs::path& corpus, const fs::path& importer)
{
    const fs::path target = benchDirectory() / "corpus-E";
    if (!bench::importShohiVolume(importer, corpus, benchDirectory() / "import", target))
        return;
    BenchArticle a;
    if (longestArticleOf(target, 'E', a)) {
        a.label = "corpus-E";
        articles().push_back(std::move(a));
    }
}

void renderAndLoad(benchmark::State& state, const BenchArticle* a)
{
    RichTextView view;
    view.resize(600, 400);
    for (auto _ : state) {
        const std::string document = display::RenderArticle(a->input);
        view.loadRtf(document);
        benchmark::DoNotOptimize(view.document());
    }
    state.counters["bytes"] = static_cast<double>(a->input.honbun.size());
    state.counters["lines"] = static_cast<double>(a->lines);
    state.counters["links"] = static_cast<double>(a->input.links.size());
}

void renderOnly(benchmark::State& state, const BenchArticle* a)
{
    for (auto _ : state) {
        std::string document = display::RenderArticle(a->input);
        benchmark::DoNotOptimize(document);
    }
}

void loadOnly(benchmark::State& state, const BenchArticle* a)
{
    RichTextView view;
    view.resize(600, 400);
    const std::string document = display::RenderArticle(a->input);
    for (auto _ : state) {
        view.loadRtf(document);
        benchmark::DoNotOptimize(view.document());
    }
}

// Keeps the medians, wall clock and the process's CPU time (which a loaded machine disturbs
// less), and prints them per article.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (r.aggregate_name == "median")
                m_medians[r.run_name.function_name] = {r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nmedians in ms  %-12s %8s %8s %8s %10s %8s %8s %7s %6s %6s\n", "article", "render", "load", "both",
                    "render cpu", "load cpu", "both cpu", "kB", "lines", "links");
        for (const auto& a : articles()) {
            auto median = [&](const std::string& kind) {
                auto it = m_medians.find(kind + "/" + a.label);
                return it == m_medians.end() ? std::pair<double, double>{-1000, -1000} : it->second;
            };
            const auto [render, renderCpu] = median("render");
            const auto [load, loadCpu] = median("load");
            const auto [both, bothCpu] = median("render+load");
            std::printf("               %-12s %8.3f %8.3f %8.3f %10.3f %8.3f %8.3f %7.1f %6zu %6zu\n", a.label.c_str(),
                        render / 1000, load / 1000, both / 1000, renderCpu / 1000, loadCpu / 1000, bothCpu / 1000,
                        static_cast<double>(a.input.honbun.size()) / 1000, a.lines, a.input.links.size());
        }
    }

private:
    std::map<std::string, std::pair<double, double>> m_medians;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    display::registerFontSubstitutions();

    const fs::path buildDir = bench::buildFolder();
    const std::string importer = bench::optionValue(argc, argv, "--importer");
    const std::string samples = bench::optionValue(argc, argv, "--samples");
    benchmark::Initialize(&argc, argv);

    findSampleArticle(samples.empty() ? buildDir / "samples" : fs::path(samples));
    findCorpusArticle(SORVANE_CORPUS_DIR, importer.empty() ? buildDir / "tools" / "importer" : fs::path(importer));

    for (const auto& a : articles()) {
        benchmark::RegisterBenchmark(("render+load/" + a.label).c_str(), renderAndLoad, &a)
            ->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("render/" + a.label).c_str(), renderOnly, &a)
            ->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
        benchmark::RegisterBenchmark(("load/" + a.label).c_str(), loadOnly, &a)
            ->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
    }
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove_all(benchDirectory(), ec);
    return 0;
}
