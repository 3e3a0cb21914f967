// The answer tables an earlier run of the table engine may have left in the working directory.
#pragma once

#include <filesystem>
#include <string>

// "_QSQ" + n + ".DB" for n = 1 to 99 (decimal, no leading zeros).
std::string staleAnswerFileName(int n);

// Deletes _QSQ1.DB to _QSQ99.DB in dir. A file that is missing or cannot be deleted is skipped
// silently, and a directory of such a name is left alone.
void deleteStaleAnswerFiles(const std::filesystem::path& dir = ".");
