// Import plus delivery of the real corpus, one volume per run: the pages of shohi/ (volume E)
// and kaisha/ (volume G) to an authoring copy and the browsing files in a temporary folder,
// as `importer build` does. Reports the peak resident memory of the process alongside.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>
#include <random>

#include "tools/importer/Delivery.h"
#include "tools/importer/VolumeImport.h"

namespace {

namespace fs = std::filesystem;

std::vector<importer::ManifestEntry> lawsOf(const std::string& folder)
{
    std::vector<importer::ManifestEntry> out;
    for (auto& e : importer::readManifest(fs::path(SORVANE_CORPUS_DIR) / "MANIFEST.tsv"))
        if (e.page.parent_path().filename() == folder)
            out.push_back(e);
    return out;
}

void ImportAndDeliver(benchmark::State& state, const std::string& folder, int volume)
{
    if (!fs::exists(fs::path(SORVANE_CORPUS_DIR) / "MANIFEST.tsv")) {
        state.SkipWithError("no corpus beside the checkout");
        return;
    }
    auto laws = lawsOf(folder);
    std::random_device rd;
    fs::path dir = fs::temp_directory_path() / ("sorvane-import-bench-" + std::to_string(rd()));
    std::size_t articles = 0, links = 0;
    for (auto _ : state) {
        auto imported = importer::importVolume(laws);
        importer::writeAuthoringVolume(dir / "authoring", volume, imported.volume);
        auto delivered = importer::deliverVolume(dir / "authoring", volume, dir / "out");
        articles = delivered.content.articles.size();
        links = delivered.content.links.size();
        benchmark::DoNotOptimize(delivered);
    }
    fs::remove_all(dir);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["articles"] = static_cast<double>(articles);
    state.counters["links"] = static_cast<double>(links);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

BENCHMARK_CAPTURE(ImportAndDeliver, shohi, std::string("shohi"), 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(ImportAndDeliver, kaisha, std::string("kaisha"), 2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
