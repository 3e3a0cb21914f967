// What the benchmarks of the whole program share: Qt offscreen, the program started in-process in
// a volume folder as the product starts it, and the process's resident memory.
#pragma once

#include <unistd.h>

#include <QApplication>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/BuildVariant.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "display/Fonts.h"
#include "platform/RecordingPlatform.h"
#include "store/Volumes.h"
#include "text/Cp932.h"

namespace bench {

// The folders among the arguments (those not starting with "-"), removed from them.
inline std::vector<std::filesystem::path> folderArguments(int& argc, char** argv)
{
    std::vector<std::filesystem::path> folders;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] != '-')
            folders.emplace_back(std::filesystem::absolute(argv[i]));
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    return folders;
}

// The Qt application of a benchmark, offscreen unless a platform is chosen, with the fonts the
// program registers.
inline std::unique_ptr<QApplication> offscreenApplication(char* program)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char* argv[] = {program, nullptr};
    auto application = std::make_unique<QApplication>(argc, argv);
    display::registerFontSubstitutions();
    return application;
}

// "VmHWM" (peak) or "VmRSS" (now) of this process, in MiB.
inline double residentMiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stod(line.substr(line.find(':') + 1)) / 1024.0;
    return 0.0;
}

// The program as the product starts it (the product's volumes, its title), with the volume
// folder as the working directory, shown and painted once. Messages go to the recording
// platform, so a bad folder cannot block the benchmark; they are printed.
class ProgramInFolder {
public:
    explicit ProgramInFolder(const std::filesystem::path& folder)
    {
        std::filesystem::current_path(folder);
        m_program = std::make_unique<RunningProgram>(store::VolumeFiles::productDefault(), m_platform, ApplicationTitle());
        m_program->main().show();
        QApplication::processEvents();
        for (const auto& box : m_platform.boxTexts())
            std::cerr << "message: " << text::toUtf8(box).text << "\n";
    }
    TMain& main() { return m_program->main(); }
    RecordingPlatform& platform() { return m_platform; }

private:
    RecordingPlatform m_platform;
    std::unique_ptr<RunningProgram> m_program;
};

inline double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace bench
