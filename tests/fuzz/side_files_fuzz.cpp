// Fuzz target: any bytes as the side files the program reads at start-up, the window state
// C3.dl_ and the tool palette's saved position C4.dl_, read by the real readers from a file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/WindowStateFile.h"
#include "authoring/PositionFile.h"
#include "store/VolumeWriter.h"
#include "store/Volumes.h"
#include "tests/fuzz/FuzzFiles.h"
#include "text/Cp932.h"

namespace {

store::VolumeFiles* volumes = nullptr;

void fail(const char* what)
{
    std::fprintf(stderr, "side_files_fuzz: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Law volume 1 is present, so that a saved position can name it.
    const std::filesystem::path folder = fuzz::scratchFolder() / "volumes";
    store::LawVolumeContent content;
    content.letter = store::kLawLetters[1];
    content.articles.push_back({1, 10, text::cp932("消法"), text::cp932("１条"), text::cp932("第１条（趣旨）"),
                                text::cp932("第１条　この法律は…")});
    content.outline.push_back({0, text::cp932("消費税法")});
    store::writeLawVolume(folder, content);
    volumes = new store::VolumeFiles(store::VolumeFiles::presentIn(folder));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const bool maximised = WindowStateMaximised(fuzz::writeScratch(kWindowStateFile, data, size));
    if (maximised != (bytes == "1" || bytes.rfind("1\r", 0) == 0 || bytes.rfind("1\n", 0) == 0))
        fail("the window state is not read from the first line alone");

    const auto position = authoring::ReadSavedPosition(fuzz::writeScratch(authoring::kPositionFile, data, size), *volumes);
    if (position && position->volume != 1)
        fail("a saved position names a volume that is not present");
    if (position) {
        // What was read writes back as a file that reads as the same position.
        const std::filesystem::path again = fuzz::scratchFolder() / "C4-again.dl_";
        authoring::WriteSavedPosition(again, *position);
        const auto reread = authoring::ReadSavedPosition(again, *volumes);
        if (!reread || reread->volume != position->volume || reread->gyo != position->gyo)
            fail("a saved position does not read back");
    }
    return 0;
}
