// Reading and writing the saved position.
#include "authoring/PositionFile.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "store/Value.h"
#include "store/Volumes.h"
#include "text/Cp932.h"

namespace authoring {

void WriteSavedPosition(const std::filesystem::path& file, const SavedPosition& position)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << position.volume << "\r\n" << position.gyo << "\r\n";
    out.close();
    if (!out)
        throw std::runtime_error("位置を保存できません: " + file.string());
}

std::optional<SavedPosition> ReadSavedPosition(const std::filesystem::path& file, const store::VolumeFiles& files)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::vector<std::string> lines = text::splitLines(bytes);
    if (lines.size() < 2)
        return std::nullopt;
    const auto volume = store::Value::parseInteger(lines[0]);
    const auto gyo = store::Value::parseInteger(lines[1]);
    if (!volume || !gyo || *volume < 0 || *volume >= store::kLawVolumeCount || !files.lawPresent(static_cast<int>(*volume)))
        return std::nullopt;
    return SavedPosition{static_cast<int>(*volume), *gyo};
}

}  // namespace authoring
