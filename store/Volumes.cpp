// File names of the present volumes.
#include "store/Volumes.h"

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
