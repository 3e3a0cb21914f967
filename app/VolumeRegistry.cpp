// Tab sheet to volume index, the first step of every command.
#include "app/VolumeRegistry.h"

int VolumeRegistry::LawIndexOfTab(const QWidget* tab) const
{
    if (!tab)
        return -1;
    for (int v = 0; v < store::kLawVolumeCount; ++v)
        if (law[static_cast<std::size_t>(v)].TabSheet == tab && files.lawPresent(v))
            return v;
    return -1;
}

int VolumeRegistry::BookIndexOfTab(const QWidget* tab) const
{
    if (!tab)
        return -1;
    for (int b = 0; b < store::kBookVolumeCount; ++b)
        if (book[static_cast<std::size_t>(b)].TabSheet == tab && files.bookPresent(b))
            return b;
    return -1;
}
