// Reading and writing the saved position.
#include "authoring/PositionFile.h"

#include <stdexcept>
#include <string>

#include "store/SideFile.h"
#include "store/Value.h"
#include "store/Volumes.h"
#include "text/Cp932.h"

namespace authoring {

void WriteSavedPosition(const std::filesystem::path& file, const SavedPosition& position)
{
    const std::string problem =
        store::WriteSideFile(file, std::to_string(position.volume) + "\r\n" + std::to_string(position.gyo) + "\r\n");
    if (!problem.empty())
        throw std::runtime_error("位置を保存できません: " + problem);
}

std::optional<SavedPosition> ReadSavedPosition(const std::filesystem::path& file, const store::VolumeFiles& files)
{
    // Two short lines are all there is to read; a file that cannot be read is no saved position.
    const store::SideFileRead read = store::ReadSideFile(file, 256, false);
    if (!read.bytes)
        return std::nullopt;
    const std::vector<std::string> lines = text::splitLines(*read.bytes);
    if (lines.size() < 2)
        return std::nullopt;
    const auto volume = store::Value::parseInteger(lines[0]);
    const auto gyo = store::Value::parseInteger(lines[1]);
    if (!volume || !gyo || *volume < 0 || *volume >= store::kLawVolumeCount || !files.lawPresent(static_cast<int>(*volume)))
        return std::nullopt;
    return SavedPosition{static_cast<int>(*volume), *gyo};
}

}  // namespace authoring
