// The pages written for the importer's tests (tests/importer/pages, UTF-8 on disk so they can be
// read and edited; the importer gets them in code page 932 as the government served its pages)
// and a temporary folder to import them into.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "store/VolumeWriter.h"
#include "tools/importer/Delivery.h"
#include "tools/importer/VolumeImport.h"

namespace importertest {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// A test page in code page 932.
std::string testPage(const std::string& name);

// Writes the three test pages (見本税法 110 見法, 見本税法施行令 120 見令, 見本商法 420 見商) and
// their manifest into dir; returns the manifest's path.
fs::path writeTestVolume(const fs::path& dir);

// Code page 932 of a UTF-8 literal.
std::string cp(const std::string& utf8);
// UTF-8 of code page 932 text, for readable failure messages and comparisons.
std::string u8(const std::string& cp932);

// The delivered content of the test volume (imported and delivered in memory, letter E).
struct BuiltVolume {
    importer::VolumeImport imported;
    importer::Delivery delivery;
    const store::LawArticleRecord& article(int code, const std::string& bangouUtf8) const;
    // The links of an article as (phrase, target's Bangou or the negative Zeimoku), in text
    // order, each phrase cut out of the rendered text (lines joined with CR LF) at Sel.
    std::vector<std::pair<std::string, std::string>> links(int code, const std::string& bangouUtf8) const;
};
const BuiltVolume& testVolume();

// The importer's command line run in process: its exit status and what it printed.
struct CommandRun {
    int status;
    std::string out, err;
};
CommandRun runImporter(const std::vector<std::string>& args);

}  // namespace importertest
