// The look-up a mouse move over an article makes: Locate on "Gyo;Sel" in a law volume's link
// table, as the program opens it (ordered by Gyo), beside the same look-up in the same table
// opened without an order, where every row has to be compared. Run over the link table of a
// volume folder (scripts/build-corpus-volumes builds the real 消費税 volume E; the default is the
// build's sample volumes). Each look-up is a miss in the last article, the common case of a
// mouse over plain text, followed by a hit on that article's last link byte.
//
//   link_lookup_bench [--volumes=DIR] [--letter=E] [benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <algorithm>

#include "BenchOptions.h"
#include "store/Table.h"

namespace fs = std::filesystem;

namespace {

struct LinkTableBench {
    fs::path folder;  // defaults to the build's samples
    char letter = 'E';
};
LinkTableBench g_bench;

void openLinkTable(store::Table& table, bool ordered)
{
    table.SetTableName(std::string(1, g_bench.letter) + "4.db");
    if (ordered)
        table.SetIndexFieldNames("Gyo");
    table.Open();
}

void lookUps(benchmark::State& state, bool ordered)
{
    store::Table table("HLinkTable");
    openLinkTable(table, ordered);
    table.Last();
    const std::int64_t gyo = table.IntegerField("Gyo");
    std::int64_t lastSel = 0;
    for (table.First(); !table.Eof(); table.Next())
        if (table.IntegerField("Gyo") == gyo)
            lastSel = std::max(lastSel, table.IntegerField("Sel"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(table.Locate("Gyo;Sel", {store::Value(gyo), store::Value(std::int64_t{-1})}));
        benchmark::DoNotOptimize(table.Locate("Gyo;Sel", {store::Value(gyo), store::Value(lastSel)}));
    }
    state.counters["rows"] = table.RecordCount();
}

void BM_HoverLookUp_orderedByGyo(benchmark::State& state) { lookUps(state, true); }
void BM_HoverLookUp_unordered(benchmark::State& state) { lookUps(state, false); }

}  // namespace

int main(int argc, char** argv)
{
    const std::string volumes = bench::optionValue(argc, argv, "--volumes");
    const std::string letter = bench::optionValue(argc, argv, "--letter");
    g_bench.folder = volumes.empty() ? bench::buildFolder() / "samples" : fs::path(volumes);
    if (!letter.empty())
        g_bench.letter = letter[0];
    std::error_code ec;
    fs::current_path(g_bench.folder, ec);
    if (ec) {
        std::cerr << "link_lookup_bench: no folder " << g_bench.folder << "\n";
        return 2;
    }
    benchmark::RegisterBenchmark("HoverLookUp/orderedByGyo", BM_HoverLookUp_orderedByGyo)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("HoverLookUp/unordered", BM_HoverLookUp_unordered)->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
