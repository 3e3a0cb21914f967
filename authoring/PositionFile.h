// The tool palette's saved position "C4.dl_" in the working directory: two lines, each ended by
// CR LF, the law volume index and the Gyo of the article that was current in it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace store {
struct VolumeFiles;
}

namespace authoring {

inline constexpr char kPositionFile[] = "C4.dl_";

struct SavedPosition {
    int volume = 0;
    std::int64_t gyo = 0;
};

// Writes the file whole, replacing an earlier one; throws std::runtime_error when it cannot.
void WriteSavedPosition(const std::filesystem::path& file, const SavedPosition& position);

// The saved position; none when the file is missing, or when its first line is not the index
// of a present law volume or its second line is no whole number, which is taken as no file at all.
std::optional<SavedPosition> ReadSavedPosition(const std::filesystem::path& file, const store::VolumeFiles& files);

}  // namespace authoring
