// One move of a law volume's article list, as the user makes it with the down-arrow key in the
// list: the list's cursor moves, the article text follows, the outline follows, and the window
// paints. The program runs in-process and offscreen in the volume folder given; the list of
// volume E (消費税) is walked from top to bottom and round again. Prints the time per move.
//
//   list_move_bench FOLDER [--volume=V] [benchmark flags]
#include <benchmark/benchmark.h>

#include <QKeyEvent>

#include <cstdio>
#include <iostream>

#include "BenchOptions.h"
#include "ProgramInFolder.h"
#include "app/VolumeRegistry.h"
#include "display/DataGrid.h"
#include "store/DataSet.h"
#include "store/DataSource.h"

namespace fs = std::filesystem;

namespace {

void pressKey(QWidget* target, Qt::Key key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string volumeText = bench::optionValue(argc, argv, "--volume");
    const int v = volumeText.empty() ? 1 : std::stoi(volumeText);
    const std::vector<fs::path> folders = bench::folderArguments(argc, argv);
    if (folders.size() != 1) {
        std::cerr << "usage: list_move_bench FOLDER [--volume=V] [benchmark flags]\n";
        return 2;
    }
    auto application = bench::offscreenApplication(argv[0]);
    bench::ProgramInFolder program(folders.front());
    VolumeRegistry& registry = program.main().registry();
    if (!registry.files.lawPresent(v)) {
        std::cerr << "list_move_bench: volume " << v << " is not present\n";
        return 1;
    }
    LawVolumeEntry& entry = registry.law[static_cast<std::size_t>(v)];
    program.main().SetActivePage(entry.TabSheet);
    DataGrid* grid = entry.DBGrid;
    grid->setFocus();
    QApplication::processEvents();
    store::DataSet* list = registry.tables.law[static_cast<std::size_t>(v)].mainSource->dataSet();
    const int rows = list->RecordCount();

    benchmark::RegisterBenchmark("list_move/down_arrow", [&](benchmark::State& state) {
        for (auto _ : state) {
            if (list->RecNo() + 1 >= rows) {
                state.PauseTiming();
                list->First();
                QApplication::processEvents();
                state.ResumeTiming();
            }
            pressKey(grid, Qt::Key_Down);
            QApplication::processEvents();
        }
        state.counters["rows"] = rows;
    })->Unit(benchmark::kMillisecond)->UseRealTime();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
