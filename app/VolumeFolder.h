// The folder the program runs in. Started where no volume is (from a desktop menu, in the home
// folder), an installed program moves to the user's data folder, which it fills with the
// installed sample volumes on its first start; the side files and exported documents then live
// there too. Started in a folder that holds volumes, it stays there.
#pragma once

#include <filesystem>

// The sample volumes and help pages an installation carries, beside the program's bin folder:
// <prefix>/share/sorvane36lite/samples.
std::filesystem::path InstalledSamplesFolder(const std::filesystem::path& programFolder);

// Makes the working directory the folder the volumes are read from (see above) and returns it.
// When the data folder cannot be made or filled, the program stays where it was started and
// says why on the standard error.
std::filesystem::path EnterVolumeFolder(const std::filesystem::path& installedSamples);
