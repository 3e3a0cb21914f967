// 追　加 in the link editor on a 4,000-row authoring copy, through the real window offscreen: a
// row added after the first article when every later row has to be renumbered (行 1, 2, 3 …,
// as volumes imported before 行 came in steps of 10 are numbered), and when the next row leaves
// room (行 in steps of 10, as the importer numbers them now). Each added row is the measured
// step; moving back to the first row is not.
//
//   add_article_bench [--rows=4000] [benchmark flags]
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "BenchOptions.h"
#include "app/BuildVariant.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "authoring/AuthoringDrive.h"
#include "authoring/THyperLink.h"
#include "platform/RecordingPlatform.h"
#include "store/Table.h"
#include "text/Cp932.h"
#include "tools/importer/AuthoringCopy.h"
#include "tools/importer/Delivery.h"

namespace fs = std::filesystem;

namespace {

int g_rows = 4000;

// A volume of rows articles of 消費税法 in a fresh folder, its C: drive mapped, the program
// started on it and the editor open on the first article.
class EditorOnVolume {
public:
    explicit EditorOnVolume(int step)
    {
        char pattern[] = "/tmp/add_article_bench.XXXXXX";
        m_folder = mkdtemp(pattern);
        const fs::path root = m_folder / "drive_c";
        importer::AuthoringVolume v;
        v.master = {{110, text::cp932("消法"), text::cp932("消費税法")}};
        for (int i = 1; i <= g_rows; ++i) {
            importer::AuthoringArticle a;
            a.key = i;
            a.code = 110;
            a.row = static_cast<double>(i) * step;
            a.kubun = text::cp932("消法");
            a.number = text::fromUtf8(std::to_string(i) + "条").text;
            a.caption = text::cp932("見出し");
            a.content = text::cp932("この法律は、消費税について定めるものとする。");
            v.articles.push_back(a);
        }
        importer::writeAuthoringVolume(root, 1, v);
        importer::deliverVolume(root, 1, m_folder);
        fs::create_directories(m_folder / "dosdevices");
        fs::create_directory_symlink(root, m_folder / "dosdevices" / "c:");
        m_mapping = std::make_unique<authoring::DriveMappingScope>(m_folder / "dosdevices");
        fs::current_path(m_folder);
        store::VolumeFiles files;
        files.LawVolumeAbsent = {1, 0, 1, 1, 1, 1};
        m_program = std::make_unique<RunningProgram>(files, m_platform, kAuthoringTitle);
        m_program->main().show();
        OpenLinkEditor(m_program->main(), 1);
        QApplication::processEvents();
        if (!editor())
            throw std::runtime_error("the link editor did not open");
    }
    ~EditorOnVolume()
    {
        delete m_program->main().HyperLink.data();
        m_program.reset();
        fs::current_path("/");
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
    THyperLink* editor() { return m_program->main().HyperLink; }

private:
    fs::path m_folder;
    RecordingPlatform m_platform;
    std::unique_ptr<authoring::DriveMappingScope> m_mapping;
    std::unique_ptr<RunningProgram> m_program;
};

void addAfterFirst(benchmark::State& state, int step)
{
    EditorOnVolume on(step);
    THyperLink* editor = on.editor();
    for (auto _ : state) {
        state.PauseTiming();
        editor->Table1.First();
        QApplication::processEvents();
        state.ResumeTiming();
        editor->Button4Click();
        QApplication::processEvents();
    }
    state.counters["rows"] = editor->Table1.RecordCount();
}

void BM_Add_everyLaterRowRenumbered(benchmark::State& state) { addAfterFirst(state, 1); }
void BM_Add_rowsInStepsOfTen(benchmark::State& state) { addAfterFirst(state, 10); }

BENCHMARK(BM_Add_everyLaterRowRenumbered)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Add_rowsInStepsOfTen)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv)
{
    if (const std::string rows = bench::optionValue(argc, argv, "--rows"); !rows.empty())
        g_rows = std::atoi(rows.c_str());
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
