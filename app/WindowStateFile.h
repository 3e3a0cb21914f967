// The main window's side file "C3.dl_" in the working directory: "1" on its first line opens
// the window maximised; anything else, or no readable file, leaves it at its designed size.
#pragma once

#include <filesystem>

inline constexpr char kWindowStateFile[] = "C3.dl_";

// Whether the window-state file asks for a maximised window.
bool WindowStateMaximised(const std::filesystem::path& file);
