// A two-keyword search as the user sees it: from the search button's handler to the status
// bar's "検索終了" (the hourglass, the statement, the list bound to the result, the first
// article rendered, the window painted), beside the table engine alone running the same
// statement. The program runs in-process and offscreen in the volume folder given. Prints the
// medians and their ratio. (volume_search_bench compares the engine with a plain memmem scan.)
//
//   window_search_bench FOLDER [--volume=V] [--key1=WORD] [--key2=WORD] [benchmark flags]
#include <benchmark/benchmark.h>

#include <QLineEdit>

#include <chrono>
#include <cstdio>
#include <iostream>

#include "BenchOptions.h"
#include "ProgramInFolder.h"
#include "app/VolumeRegistry.h"
#include "search/SearchStatements.h"
#include "store/Query.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    const std::string volumeText = bench::optionValue(argc, argv, "--volume");
    std::string key1 = bench::optionValue(argc, argv, "--key1");
    std::string key2 = bench::optionValue(argc, argv, "--key2");
    if (key1.empty() && key2.empty()) {
        key1 = "仕入れ";
        key2 = "控除";
    }
    const int v = volumeText.empty() ? 1 : std::stoi(volumeText);
    const std::vector<fs::path> folders = bench::folderArguments(argc, argv);
    if (folders.size() != 1) {
        std::cerr << "usage: window_search_bench FOLDER [--volume=V] [--key1=WORD] [--key2=WORD] [benchmark flags]\n";
        return 2;
    }
    auto application = bench::offscreenApplication(argv[0]);
    bench::ProgramInFolder program(folders.front());
    TMain& window = program.main();
    VolumeRegistry& registry = window.registry();
    if (!registry.files.lawPresent(v)) {
        std::cerr << "window_search_bench: volume " << v << " is not present\n";
        return 1;
    }
    LawVolumeEntry& entry = registry.law[static_cast<std::size_t>(v)];
    window.SetActivePage(entry.TabSheet);
    QApplication::processEvents();

    std::vector<double> handler, engine;
    benchmark::RegisterBenchmark("search/handler_to_status_bar", [&](benchmark::State& state) {
        for (auto _ : state) {
            state.PauseTiming();
            entry.EditKey1->setText(QString::fromStdString(key1));
            entry.EditKey2->setText(QString::fromStdString(key2));
            state.ResumeTiming();
            const auto start = std::chrono::steady_clock::now();
            window.BBtnKensaku->click();
            QApplication::processEvents();
            handler.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            if (window.StatusPanelText(0) != QStringLiteral("検索終了")) {
                state.SkipWithError("the status bar does not read 検索終了");
                break;
            }
        }
    })->Unit(benchmark::kMillisecond)->UseRealTime();

    const std::vector<std::string> lines =
        search::BuildKeywordStatement(v, registry.files.LawFileNames[2][static_cast<std::size_t>(v)],
                                      search::NormaliseKeywordText(text::cp932(key1)),
                                      search::NormaliseKeywordText(text::cp932(key2)), std::string())
            .lines;
    benchmark::RegisterBenchmark("search/engine_alone", [&](benchmark::State& state) {
        store::Query q("BenchQuery");
        int rows = 0;
        for (auto _ : state) {
            const auto start = std::chrono::steady_clock::now();
            q.SetSQL(lines);
            q.Open();
            rows = q.RecordCount();
            q.Close();
            engine.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        state.counters["rows"] = rows;
    })->Unit(benchmark::kMillisecond)->UseRealTime();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double h = bench::median(handler), e = bench::median(engine);
    std::printf("\nmedian: handler to 検索終了 %.2f ms, engine alone %.2f ms, ratio %.2f\n", h, e, e > 0 ? h / e : 0.0);
    return 0;
}
