// Choosing the folder the program runs in, at start-up.
#include "app/VolumeFolder.h"

#include <iostream>
#include <system_error>

#include "store/UserDataFolder.h"

std::filesystem::path InstalledSamplesFolder(const std::filesystem::path& programFolder)
{
    return programFolder.parent_path() / "share" / "sorvane36lite" / "samples";
}

std::filesystem::path EnterVolumeFolder(const std::filesystem::path& installedSamples)
{
    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (store::HoldsVolume(here))
        return here;
    const std::filesystem::path data = store::UserDataFolder();
    if (data.empty())
        return here;
    try {
        store::FillFromSamples(data, installedSamples);
        std::filesystem::current_path(data);
        return data;
    } catch (const std::filesystem::filesystem_error& e) {
        std::cerr << "sorvane: データフォルダ " << data.string() << " が用意できないので、起動したフォルダ "
                  << here.string() << " で動きます: " << e.what() << "\n";
        return here;
    }
}
