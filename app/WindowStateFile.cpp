// Reading the window-state side file.
#include "app/WindowStateFile.h"

#include "store/SideFile.h"

bool WindowStateMaximised(const std::filesystem::path& file)
{
    // Only the first line counts, so only its start is read; a window state that cannot be read
    // (a folder, a FIFO, a read error) leaves the designed size.
    const store::SideFileRead read = store::ReadSideFile(file, 64, false);
    return read.bytes && store::firstLineOf(*read.bytes) == "1";
}
