// File names of the present volumes.
#include "store/Volumes.h"

#include <map>

#include "store/TableError.h"
#include "store/TableFile.h"

namespace store {

void VolumeFiles::assignFileNames()
{
    static const char* lawSuffix[7] = {"", "1.db", "2.db", "3.db", "4.db", "5.db", "6.dl_"};
    static const char* bookSuffix[6] = {"", "1.db", "1.db", "3.db", "4.db", "5.db"};
    for (int v = 0; v < kLawVolumeCount; ++v)
        for (int role = 1; role <= 6; ++role)
            LawFileNames[role][v] = lawPresent(v) ? std::string(1, kLawLetters[v]) + lawSuffix[role] : std::string();
    for (int b = 0; b < kBookVolumeCount; ++b)
        for (int role = 1; role <= 5; ++role)
            BookFileNames[role][b] = bookPresent(b) ? std::string(1, kBookLetters[b]) + bookSuffix[role] : std::string();
}

std::vector<std::string> VolumeFiles::lawTableFiles(int v) const
{
    if (!lawPresent(v))
        return {};
    std::vector<std::string> files;
    for (int role = 1; role <= 5; ++role)
        files.push_back(LawFileNames[role][v]);
    return files;
}

std::vector<std::string> VolumeFiles::lawFiles(int v) const
{
    std::vector<std::string> files = lawTableFiles(v);
    if (lawPresent(v))
        files.push_back(LawFileNames[6][v]);
    return files;
}

std::vector<std::string> VolumeFiles::bookTableFiles(int b) const
{
    if (!bookPresent(b))
        return {};
    // Roles 1 and 2 share X1.db.
    return {BookFileNames[1][b], BookFileNames[3][b], BookFileNames[4][b], BookFileNames[5][b]};
}

std::vector<std::optional<FileState>> statesOf(const std::vector<std::string>& files)
{
    std::vector<std::optional<FileState>> states;
    for (const auto& f : files)
        states.push_back(stateOf(std::filesystem::u8path(f)));
    return states;
}

void CheckOneDelivery(const std::vector<std::string>& tableFiles)
{
    std::map<std::uint32_t, std::vector<std::string>> byStamp;
    for (const auto& name : tableFiles) {
        const std::filesystem::path file = std::filesystem::u8path(name);
        std::error_code ec;
        if (!std::filesystem::is_regular_file(file, ec))
            continue;
        if (const std::uint32_t stamp = TableFile::open(file, TableAccess::Browse)->deliveryStamp())
            byStamp[stamp].push_back(name);
    }
    if (byStamp.size() < 2)
        return;
    std::string groups;
    for (const auto& [stamp, names] : byStamp) {
        std::string group;
        for (const auto& n : names)
            group += (group.empty() ? "" : ", ") + n;
        groups += (groups.empty() ? "" : " と ") + group;
    }
    throw TableError("テーブル " + groups + " は別々の配信のものです。二つの配信が混ざった巻は開きません: 配信し直してください");
}

VolumeFiles VolumeFiles::productDefault()
{
    VolumeFiles f;
    f.LawVolumeAbsent.fill(1);
    f.BookVolumeAbsent.fill(1);
    f.LawVolumeAbsent[1] = 0;
    f.LawVolumeAbsent[2] = 0;
    f.assignFileNames();
    return f;
}

VolumeFiles VolumeFiles::presentIn(const std::filesystem::path& folder)
{
    auto allThere = [&](char letter, std::initializer_list<const char*> suffixes) {
        for (const char* suffix : suffixes) {
            std::error_code ec;
            if (!std::filesystem::is_regular_file(folder / (std::string(1, letter) + suffix), ec))
                return false;
        }
        return true;
    };
    VolumeFiles f;
    bool any = false;
    for (int v = 0; v < kLawVolumeCount; ++v) {
        const bool present = allThere(kLawLetters[v], {"1.db", "2.db", "4.db", "5.db", "6.dl_"});
        f.LawVolumeAbsent[v] = present ? 0 : 1;
        any = any || present;
    }
    for (int b = 0; b < kBookVolumeCount; ++b) {
        const bool present = allThere(kBookLetters[b], {"1.db", "3.db", "4.db", "5.db"});
        f.BookVolumeAbsent[b] = present ? 0 : 1;
        any = any || present;
    }
    if (!any)
        return productDefault();
    f.assignFileNames();
    return f;
}

}  // namespace store
