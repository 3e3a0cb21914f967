// The keyword search over whole volumes, each beside a plain memmem scan of the same volume's
// text (UTF-8, as X2.db stores it) in the same run: the sample volumes of the build, and the
// real 消費税 volume built from ../shared/corpus by the importer, or, without the importer, a
// generated volume of its size. Prints the medians and the ratio of search to scan per volume.
//
//   volume_search_bench [--importer=PATH] [--samples=DIR] [benchmark flags]
//
// PATH defaults to the importer beside this build (tools/importer), DIR to the build's samples.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BenchOptions.h"
#include "search/SearchStatements.h"
#include "store/Query.h"
#include "store/VolumeWriter.h"
#include "store/Volumes.h"
#include "text/Cp932.h"

namespace fs = std::filesystem;

namespace {

// A volume the searches run over, and the keywords a user of that volume would type.
struct BenchVolume {
    std::string label;  // in benchmark names
    fs::path folder;
    int lawVolume = 1;
    std::string keyword1, keyword2;  // UTF-8; keyword2 pairs with keyword1 in the two-keyword search
    std::vector<std::string> texts;  // Honbun of every row, UTF-8 as stored
    std::size_t textBytes = 0;
};

// Keywords per law volume: words every volume of that law holds, with the second narrowing
// the first.
struct VolumeKeywords {
    const char* keyword1;
    const char* keyword2;
};
const VolumeKeywords kKeywords[store::kLawVolumeCount] = {
    {"減価", "償却"}, {"仕入れ", "控除"}, {"株式", "取締役"}, {"所得", "控除"}, {"相続", "財産"}, {"納税", "申告"},
};

std::string tableNameOf(sqlite3* db)
{
    sqlite3_stmt* st = nullptr;
    std::string name;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type='table'", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW)
        name = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    return name;
}

// The article texts as the file holds them: the scan reads what the engine reads.
bool readTexts(BenchVolume& v)
{
    const fs::path file = v.folder / (std::string(1, store::kLawLetters[static_cast<std::size_t>(v.lawVolume)]) + "2.db");
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    std::string sql = "SELECT Honbun FROM \"" + tableNameOf(db) + "\"";
    sqlite3_stmt* st = nullptr;
    bool ok = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK;
    while (ok && sqlite3_step(st) == SQLITE_ROW) {
        const char* p = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        v.texts.emplace_back(p ? p : "", static_cast<std::size_t>(sqlite3_column_bytes(st, 0)));
        v.textBytes += v.texts.back().size();
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return ok && !v.texts.empty();
}

fs::path benchDirectory()
{
    static const fs::path dir = [] {
        fs::path d = fs::temp_directory_path() / ("sorvane-volume-search-" + std::to_string(getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

// Articles of law text made of the words of 消費税 law, about 6 MB of UTF-8 in all. The
// keywords of the searches occur as in the real volume: 仕入れ in about one article of eleven,
// 控除 in half of those.
void generateShohiVolume(const fs::path& target)
{
    const char* words[] = {"消費税", "課税資産", "の譲渡等", "に係る", "政令で定める", "事業者", "基準期間",
                           "課税売上高", "免除", "輸出", "保税地域", "引取り", "前条", "第三十条", "の規定により",
                           "当該", "をいう。", "、", "。", "税額", "金額", "場合には", "同項", "第一項", "次に掲げる"};
    std::mt19937 rng(7);
    store::LawVolumeContent v;
    v.letter = 'E';
    std::size_t total = 0;
    for (int gyo = 1; total < 6'000'000; ++gyo) {
        std::string body = "第" + std::to_string(gyo) + "条　";
        const std::size_t length = 300 + rng() % 2400;
        while (body.size() < length) {
            body += words[rng() % std::size(words)];
            if (rng() % 40 == 0)
                body += "\r\n";
        }
        if (rng() % 11 == 0) {
            body += "課税仕入れ";
            if (rng() % 2 == 0)
                body += "に係る税額を控除する。";
        }
        total += body.size();
        v.articles.push_back({gyo, gyo % 3 == 0 ? 120 : 110, text::cp932("消法"), text::ToFullWidthDigits(std::to_string(gyo)),
                              "", text::cp932(body)});
    }
    store::writeLawVolume(target, v);
}

std::vector<BenchVolume>& volumes()
{
    static std::vector<BenchVolume> all;
    return all;
}

void addVolume(const std::string& label, const fs::path& folder, int lawVolume)
{
    BenchVolume v;
    v.label = label;
    v.folder = folder;
    v.lawVolume = lawVolume;
    const VolumeKeywords& k = kKeywords[lawVolume];
    v.keyword1 = k.keyword1;
    v.keyword2 = k.keyword2;
    if (!readTexts(v)) {
        std::cerr << "skipped " << v.label << ": its text table cannot be read\n";
        return;
    }
    std::cerr << v.label << ": " << v.texts.size() << " rows, " << v.textBytes / 1000 << " kB of text ("
              << v.folder.string() << ")\n";
    volumes().push_back(std::move(v));
}

void findSampleVolumes(const fs::path& samples)
{
    if (!fs::is_directory(samples)) {
        std::cerr << "no sample volumes at " << samples.string() << "\n";
        return;
    }
    for (int v = 0; v < store::kLawVolumeCount; ++v) {
        const std::string letter(1, store::kLawLetters[static_cast<std::size_t>(v)]);
        if (fs::exists(samples / (letter + "1.db")) && fs::exists(samples / (letter + "2.db")))
            addVolume("samples-" + letter, samples, v);
    }
}

void findCorpusVolume(const fs::path& corpus, const fs::path& importer)
{
    if (!fs::is_directory(corpus / "shohi")) {
        std::cerr << "no corpus at " << corpus.string() << "\n";
        return;
    }
    const fs::path imported = benchDirectory() / "corpus-E";
    if (bench::importShohiVolume(importer, corpus, benchDirectory() / "import", imported)) {
        addVolume("corpus-E", imported, 1);
        return;
    }
    std::cerr << "a generated volume of the same size stands in for the 消費税 volume\n";
    const fs::path generated = benchDirectory() / "generated-E";
    generateShohiVolume(generated);
    addVolume("generated-E", generated, 1);
}

// The search as KeywordSearch runs it: statement built from the normalised keywords, query
// closed and opened again over the volume's text file.
void searchBenchmark(benchmark::State& state, const BenchVolume* v, bool twoKeywords)
{
    fs::current_path(v->folder);
    const std::string k1 = search::NormaliseKeywordText(text::cp932(v->keyword1));
    const std::string k2 = twoKeywords ? search::NormaliseKeywordText(text::cp932(v->keyword2)) : std::string();
    const std::string file = std::string(1, store::kLawLetters[static_cast<std::size_t>(v->lawVolume)]) + "2.db";
    store::Query query("JyobunSQL0");
    int rows = 0;
    for (auto _ : state) {
        query.Close();
        query.SetSQL(search::BuildKeywordStatement(v->lawVolume, file, k1, k2, text::cp932("全範囲")).lines);
        query.Open();
        rows = query.RecordCount();
    }
    state.counters["rows"] = rows;
    state.counters["MB"] = static_cast<double>(v->textBytes) / 1e6;
}

void scanBenchmark(benchmark::State& state, const BenchVolume* v, bool twoKeywords)
{
    const std::string& a = v->keyword1;
    const std::string& b = v->keyword2;
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        for (const auto& t : v->texts)
            if (memmem(t.data(), t.size(), a.data(), a.size()) &&
                (!twoKeywords || memmem(t.data(), t.size(), b.data(), b.size())))
                ++rows;
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
    state.counters["MB"] = static_cast<double>(v->textBytes) / 1e6;
}

// Keeps the medians of every benchmark and prints, per volume and search, search / scan, in
// wall-clock time and in the process's CPU time (which a loaded machine disturbs less).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs)
            if (r.aggregate_name == "median")  // both in the run's unit, µs
                m_medians[r.run_name.function_name] = {r.GetAdjustedRealTime(), r.GetAdjustedCPUTime()};
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nmedians in ms         %-6s %10s %10s %7s %10s %10s %7s\n", "words", "search", "scan", "ratio",
                    "search cpu", "scan cpu", "ratio");
        for (const auto& v : volumes())
            for (const char* kind : {"two", "one"}) {
                auto search = m_medians.find("search/" + std::string(kind) + "/" + v.label);
                auto scan = m_medians.find("scan/" + std::string(kind) + "/" + v.label);
                if (search == m_medians.end() || scan == m_medians.end())
                    continue;
                const auto [searchReal, searchCpu] = search->second;
                const auto [scanReal, scanCpu] = scan->second;
                std::printf("%-21s %-6s %10.3f %10.3f %7.2f %10.3f %10.3f %7.2f\n", v.label.c_str(), kind,
                            searchReal / 1000, scanReal / 1000, searchReal / scanReal, searchCpu / 1000, scanCpu / 1000,
                            searchCpu / scanCpu);
            }
    }

private:
    std::map<std::string, std::pair<double, double>> m_medians;
};

}  // namespace

int main(int argc, char** argv)
{
    const fs::path buildDir = bench::buildFolder();
    std::string importer = bench::optionValue(argc, argv, "--importer");
    std::string samples = bench::optionValue(argc, argv, "--samples");
    benchmark::Initialize(&argc, argv);

    findSampleVolumes(samples.empty() ? buildDir / "samples" : fs::path(samples));
    findCorpusVolume(SORVANE_CORPUS_DIR, importer.empty() ? buildDir / "tools" / "importer" : fs::path(importer));

    for (const auto& v : volumes()) {
        for (bool two : {true, false}) {
            const std::string kind = two ? "two" : "one";
            benchmark::RegisterBenchmark(("search/" + kind + "/" + v.label).c_str(), searchBenchmark, &v, two)
                ->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
            benchmark::RegisterBenchmark(("scan/" + kind + "/" + v.label).c_str(), scanBenchmark, &v, two)
                ->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
        }
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::error_code ec;
    fs::current_path(fs::temp_directory_path(), ec);
    fs::remove_all(benchDirectory(), ec);
    return 0;
}
