// The program's start-up, in-process and offscreen, in each volume folder given: from the start
// of the start-up sequence (the data modules open every present volume and render its first
// article) to the main window's first paint. Each folder runs in a process of its own, so that
// its peak resident memory is its own. Prints per folder the median milliseconds, the peak
// resident memory, and the ratio of each folder's start-up to the first folder's.
//
//   startup_bench FOLDER [FOLDER…] [--runs=N] [benchmark flags]
//
// A folder holds the product's volumes (E1.db … G6.dl_), e.g. from scripts/build-corpus-volumes.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>

#include "BenchOptions.h"
#include "ProgramInFolder.h"

namespace fs = std::filesystem;

namespace {

struct StartupFigures {
    double medianMs = 0;
    double peakMiB = 0;
};

// Runs in the child: the benchmark over one folder, then the figures on the pipe.
int measureFolder(const fs::path& folder, int runs, int argc, char** argv, int out)
{
    auto application = bench::offscreenApplication(argv[0]);
    std::vector<double> times;
    benchmark::RegisterBenchmark(("startup/" + folder.filename().string()).c_str(),
                                 [&](benchmark::State& state) {
                                     for (auto _ : state) {
                                         const auto start = std::chrono::steady_clock::now();
                                         bench::ProgramInFolder program(folder);
                                         const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
                                         times.push_back(took.count() * 1000.0);
                                         // Tearing the window down is no part of the start-up.
                                         state.SetIterationTime(took.count());
                                     }
                                     state.counters["peak_MiB"] = bench::residentMiB("VmHWM");
                                 })
        ->Iterations(runs)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    StartupFigures f{bench::median(times), bench::residentMiB("VmHWM")};
    return write(out, &f, sizeof f) == static_cast<ssize_t>(sizeof f) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string runsText = bench::optionValue(argc, argv, "--runs");
    const int runs = runsText.empty() ? 15 : std::max(1, std::stoi(runsText));
    const std::vector<fs::path> folders = bench::folderArguments(argc, argv);
    if (folders.empty()) {
        std::cerr << "usage: startup_bench FOLDER [FOLDER…] [--runs=N] [benchmark flags]\n";
        return 2;
    }
    std::vector<StartupFigures> figures;
    for (const fs::path& folder : folders) {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return 1;
        const pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            _exit(measureFolder(folder, runs, argc, argv, pipeEnds[1]));
        }
        close(pipeEnds[1]);
        StartupFigures f;
        const bool read_ = read(pipeEnds[0], &f, sizeof f) == static_cast<ssize_t>(sizeof f);
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (!read_ || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::cerr << "startup_bench: the start-up in " << folder << " failed\n";
            return 1;
        }
        figures.push_back(f);
    }
    std::printf("\n%-40s %12s %12s %10s\n", "folder", "start-up ms", "peak MiB", "ratio");
    for (std::size_t i = 0; i < folders.size(); ++i)
        std::printf("%-40s %12.1f %12.1f %10.2f\n", folders[i].string().c_str(), figures[i].medianMs, figures[i].peakMiB,
                    figures[i].medianMs / figures[0].medianMs);
    return 0;
}
