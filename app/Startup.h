// The program's start-up after the single-instance test: the answer files left by an earlier
// run are deleted, the start time is taken, every present volume gets its file names, the title
// is set, and the main window, the law data module and the book data module are created in this
// order. The product's entry and the tests both start the program through it.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "store/Volumes.h"

class Platform;
class QWidget;
class SingleInstance;
class TMain;

namespace store {
class THbooks;
class THoujin;
}  // namespace store

class RunningProgram {
public:
    // files: the availability flags (file names are assigned here); titleUtf8: the application
    // title. Files are resolved against the working directory.
    RunningProgram(store::VolumeFiles files, Platform& platform, const std::string& titleUtf8);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    TMain& main() { return *m_main; }
    store::THoujin& houjin() { return *m_houjin; }
    store::THbooks& hbooks() { return *m_hbooks; }

    // Whether the files of every open volume are still those it opened, as they were (identity,
    // size, time). A volume delivered under the running window is opened again whole, showing
    // its first article or entry, and the user is told; one that cannot be opened again (two
    // deliveries mixed, a file missing) is closed and the user told why. Returns false when a
    // volume changed: the command that asked must not go on with what it saw before.
    bool VolumesUnchanged();

private:
    using FileStates = std::vector<std::optional<store::FileState>>;
    // Tells the user about a volume whose files changed, and opens it again or closes it.
    void reopenLawVolume(int v, const std::vector<std::string>& changed);
    void reopenBookVolume(int b, const std::vector<std::string>& changed);
    std::string tabCaption(QWidget* tab) const;

    // Declared first so that they go last: the window lets go of their data sources first.
    std::unique_ptr<store::THoujin> m_houjin;
    std::unique_ptr<store::THbooks> m_hbooks;
    std::unique_ptr<TMain> m_main;
    Platform& m_platform;
    // The states of each volume's files when they were opened.
    std::array<FileStates, store::kLawVolumeCount> m_lawStates;
    std::array<FileStates, store::kBookVolumeCount> m_bookStates;
};

// A later start of the program brings window back: restored when minimised, then to the front.
void RestoreOnLaterStart(SingleInstance& instance, TMain& window);
