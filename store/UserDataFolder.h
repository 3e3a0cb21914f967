// Where an installed program keeps its volumes: the user's data folder
// ($XDG_DATA_HOME/sorvane36lite, by default ~/.local/share/sorvane36lite). The program moves
// there when its working directory holds no volume, and the importer writes there by default.
#pragma once

#include <filesystem>
#include <vector>

namespace store {

// $XDG_DATA_HOME/sorvane36lite when that variable holds an absolute path, else
// $HOME/.local/share/sorvane36lite; empty when neither variable helps.
std::filesystem::path UserDataFolder();

// Whether dir holds the first table file (X1.db) of any of the nine volumes.
bool HoldsVolume(const std::filesystem::path& dir);

// Makes dir (with its parents) and, when it holds no volume yet, copies into it every file of
// samples that it lacks; a folder that already holds a volume is left as it is, so the user's
// own volumes are never replaced and a second start copies nothing. Returns the names copied.
// Throws std::filesystem::filesystem_error when dir cannot be made or a copy fails.
std::vector<std::filesystem::path> FillFromSamples(const std::filesystem::path& dir, const std::filesystem::path& samples);

}  // namespace store
