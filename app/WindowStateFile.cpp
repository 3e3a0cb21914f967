// Reading the window-state side file.
#include "app/WindowStateFile.h"

#include <fstream>
#include <iterator>
#include <string>

bool WindowStateMaximised(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes.substr(0, bytes.find_first_of("\r\n")) == "1";
}
