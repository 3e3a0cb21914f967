// A two-keyword LIKE search over a generated volume of about 20,000 articles and 20 MB of
// text, beside a plain memmem scan of the same text, in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "store/Query.h"
#include "store/VolumeWriter.h"
#include "text/Cp932.h"

namespace {

struct Fixture {
    std::filesystem::path dir;
    std::vector<std::string> utf8Texts;  // what the SQLite file holds
    Fixture()
    {
        dir = std::filesystem::temp_directory_path() / "sorvane-bench-search";
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        const char* words[] = {"消費税", "課税資産", "の譲渡等", "仕入れに係る", "控除", "政令で定める", "事業者",
                               "基準期間", "課税売上高", "免除", "輸入", "保税地域", "引取り", "前条", "第三十条"};
        std::mt19937 rng(42);
        store::LawVolumeContent v;
        v.letter = 'E';
        std::size_t total = 0;
        for (int gyo = 1; gyo <= 20000; ++gyo) {
            std::string body = "消費税法\r\n第" + std::to_string(gyo) + "条\r\n";
            while (body.size() < 1000) {
                body += words[rng() % 15];
                if (rng() % 7 == 0)
                    body += "\r\n";
            }
            if (gyo % 97 == 0)
                body += "減価償却資産";
            total += body.size();
            utf8Texts.push_back(body);
            v.articles.push_back({gyo, 110, text::cp932("消法"), "", "", text::cp932(body)});
        }
        store::writeLawVolume(dir, v);
        (void)total;
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_TwoKeywordLikeSearch(benchmark::State& state)
{
    Fixture& f = fixture();
    std::size_t rows = 0;
    for (auto _ : state) {
        store::Query q("JyobunSQL0");
        q.SetSQL({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", text::cp932("WHERE ( Honbun LIKE '%減価%') "),
                  text::cp932("AND ( Honbun LIKE '%償却%') "), "ORDER BY Gyo "});
        q.Open();
        rows = static_cast<std::size_t>(q.RecordCount());
    }
    state.counters["rows"] = static_cast<double>(rows);
    (void)f;
}

void BM_PlainMemmemScan(benchmark::State& state)
{
    Fixture& f = fixture();
    std::size_t rows = 0, bytes = 0;
    for (const auto& t : f.utf8Texts)
        bytes += t.size();
    const std::string a = "減価", b = "償却";
    for (auto _ : state) {
        rows = 0;
        for (const auto& t : f.utf8Texts)
            if (memmem(t.data(), t.size(), a.data(), a.size()) && memmem(t.data(), t.size(), b.data(), b.size()))
                ++rows;
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

BENCHMARK(BM_TwoKeywordLikeSearch)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(BM_PlainMemmemScan)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
