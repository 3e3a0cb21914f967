// The program's start-up after the single-instance test: the answer files left by an earlier
// run are deleted, the start time is taken, every present volume gets its file names, the title
// is set, and the main window, the law data module and the book data module are created in this
// order. The product's entry and the tests both start the program through it.
#pragma once

#include <memory>
#include <string>

#include "store/Volumes.h"

class Platform;
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

private:
    // Declared first so that they go last: the window lets go of their data sources first.
    std::unique_ptr<store::THoujin> m_houjin;
    std::unique_ptr<store::THbooks> m_hbooks;
    std::unique_ptr<TMain> m_main;
};

// A later start of the program brings window back: restored when minimised, then to the front.
void RestoreOnLaterStart(SingleInstance& instance, TMain& window);
