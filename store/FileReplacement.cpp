// Files written beside the ones they replace, flushed, then renamed into place.
#include "store/FileReplacement.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "store/TableError.h"
#include "store/TableFile.h"

namespace store {

namespace fs = std::filesystem;

namespace {

const std::string kTemporaryMark = ".tmp-";

std::string label(const fs::path& p)
{
    return p.filename().string();
}

// A writer's temporary files are "<name>.tmp-<pid>" (and SQLite's "-journal" beside one);
// those of a process that is gone are leftovers of a killed writer.
void removeLeftovers(const fs::path& target)
{
    std::error_code ec;
    const std::string prefix = target.filename().string() + kTemporaryMark;
    for (fs::directory_iterator it(target.parent_path(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
        if (pid > 0 && pid != static_cast<long>(getpid()) && (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH))
            continue;  // another writer at work
        std::error_code ignored;
        fs::remove(it->path(), ignored);
    }
}

}  // namespace

void flushToDisk(const fs::path& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw TableError("ファイル " + label(path) + " が開けません: " + std::strerror(errno));
    const int rc = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (rc != 0)
        throw TableError("ファイル " + label(path) + " をディスクに書き出せません: " + std::strerror(error));
}

FileReplacement::~FileReplacement()
{
    if (m_committed)
        return;
    for (const auto& s : m_staged) {
        std::error_code ignored;
        fs::remove(s.temporary, ignored);
        fs::path journal = s.temporary;
        journal += "-journal";
        fs::remove(journal, ignored);
    }
}

fs::path FileReplacement::stage(const fs::path& target, bool tableFile)
{
    fs::create_directories(target.parent_path());
    removeLeftovers(target);
    fs::path temporary = target;
    temporary += kTemporaryMark + std::to_string(getpid());
    std::error_code ignored;
    fs::remove(temporary, ignored);
    m_staged.push_back({temporary, target, tableFile});
    return temporary;
}

void FileReplacement::commit(std::uint32_t stamp)
{
    std::vector<fs::path> folders;
    for (const auto& s : m_staged) {
        if (s.tableFile && stamp != 0)
            TableFile::writeDeliveryStamp(s.temporary, stamp);
        flushToDisk(s.temporary);
        if (std::find(folders.begin(), folders.end(), s.target.parent_path()) == folders.end())
            folders.push_back(s.target.parent_path());
    }
    for (const auto& folder : folders)
        flushToDisk(folder);
    // Past this point nothing is left to fail but the renames, which the file system does whole.
    for (const auto& s : m_staged) {
        std::error_code ec;
        fs::rename(s.temporary, s.target, ec);
        if (ec)
            throw TableError("ファイル " + label(s.target) + " を置き換えられません: " + ec.message());
    }
    m_committed = true;
    for (const auto& folder : folders)
        flushToDisk(folder);
}

}  // namespace store
