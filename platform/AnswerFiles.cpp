// Start-up clean-up of the table engine's leftover answer tables.
#include "platform/AnswerFiles.h"

#include <system_error>

std::string staleAnswerFileName(int n) { return "_QSQ" + std::to_string(n) + ".DB"; }

void deleteStaleAnswerFiles(const std::filesystem::path& dir)
{
    for (int n = 1; n <= 99; ++n) {
        const std::filesystem::path file = dir / staleAnswerFileName(n);
        std::error_code ignored;
        if (std::filesystem::is_directory(std::filesystem::symlink_status(file, ignored)))
            continue;
        std::filesystem::remove(file, ignored);
    }
}
