// The nine volumes: which are present, their file letters and file names, and the table
// entries of the volume registry that the data modules fill.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/FileState.h"

namespace store {

class DataSource;
class Query;
class Table;

inline constexpr int kLawVolumeCount = 6;
inline constexpr int kBookVolumeCount = 3;
inline constexpr int kLawQueryPoolSize = 15;
inline constexpr int kBookQueryPoolSize = 10;

// File letters: A E G H I K for law volumes 0-5, B F J for book volumes 0-2.
inline constexpr std::array<char, kLawVolumeCount> kLawLetters{'A', 'E', 'G', 'H', 'I', 'K'};
inline constexpr std::array<char, kBookVolumeCount> kBookLetters{'B', 'F', 'J'};

// The availability flags (1 = absent) and the file-name lists, fixed once at start-up.
struct VolumeFiles {
    std::array<int, kLawVolumeCount> LawVolumeAbsent{1, 1, 1, 1, 1, 1};
    std::array<int, kBookVolumeCount> BookVolumeAbsent{1, 1, 1};
    // LawFileNames[role][volume], roles 1-6 (index 0 unused); filled only for present volumes.
    std::array<std::array<std::string, kLawVolumeCount>, 7> LawFileNames;
    // BookFileNames[role][volume], roles 1-5.
    std::array<std::array<std::string, kBookVolumeCount>, 6> BookFileNames;

    bool lawPresent(int v) const { return v >= 0 && v < kLawVolumeCount && LawVolumeAbsent[v] != 1; }
    bool bookPresent(int b) const { return b >= 0 && b < kBookVolumeCount && BookVolumeAbsent[b] != 1; }

    // Fills the file names of every present volume from its letter.
    void assignFileNames();

    // The table files of a present volume, each once: roles 1 to 5 of a law volume, 1, 3, 4, 5
    // of a book volume; with the outline (role 6) too for lawFiles.
    std::vector<std::string> lawTableFiles(int v) const;
    std::vector<std::string> lawFiles(int v) const;
    std::vector<std::string> bookTableFiles(int b) const;

    // This build: law volumes 1 and 2 present, every other volume absent.
    static VolumeFiles productDefault();

    // Every volume whose files are in folder: a law volume needs X1, X2, X4, X5.db and X6.dl_,
    // a book volume X1, X3, X4, X5.db. When no volume's files are there the build's default
    // volumes are taken, so that opening them names the files that are missing.
    static VolumeFiles presentIn(const std::filesystem::path& folder);
};

// The states of files, in the order given; a missing file has none.
std::vector<std::optional<FileState>> statesOf(const std::vector<std::string>& files);

// Throws TableError naming the files when the given table files carry the stamps of two or more
// deliveries; an unstamped file (an older delivery) agrees with any. Missing files are left to
// the opening that follows, which names them.
void CheckOneDelivery(const std::vector<std::string>& tableFiles);

struct LawVolumeTables {
    Table* mainTable = nullptr;
    Table* mainTable2 = nullptr;
    Table* subTable = nullptr;
    Table* linkTable = nullptr;
    Table* treeTable = nullptr;
    DataSource* mainSource = nullptr;
};

struct BookVolumeTables {
    Table* mainTable = nullptr;
    Table* subTable = nullptr;
    Table* nameTable = nullptr;
    Table* jumpTable = nullptr;
    Table* urlTable = nullptr;
    DataSource* mainSource = nullptr;
};

// The table part of the volume registry. It owns nothing: the data modules own the tables.
struct TableRegistry {
    std::array<LawVolumeTables, kLawVolumeCount> law;
    std::array<BookVolumeTables, kBookVolumeCount> book;
    std::array<Query*, kLawQueryPoolSize> lawQueryPool{};
    std::array<Query*, kBookQueryPoolSize> bookQueryPool{};
};

}  // namespace store
