// Files written beside the ones they replace, flushed, then renamed into place.
#include "store/FileReplacement.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
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

// The record of a set about to be renamed: "<temporary>\t<target>" lines, then kRecordEnd.
const std::string kRecordName = "replacing";
const std::string kRecordEnd = "end";

// Whether the writer that named a temporary file "<prefix><pid>" is gone (killed) or is this
// process (an earlier attempt of its own), rather than another writer at work.
bool writerIsGone(const std::string& name, const std::string& prefix)
{
    const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
    return !(pid > 0 && pid != static_cast<long>(getpid()) && (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH));
}

// The files in `folder` named "<prefix><pid>..." whose writer is gone.
std::vector<fs::path> leftoversIn(const fs::path& folder, const std::string& prefix)
{
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.compare(0, prefix.size(), prefix) == 0 && writerIsGone(name, prefix))
            found.push_back(it->path());
    }
    return found;
}

// A writer's temporary files are "<name>.tmp-<pid>" (and SQLite's "-journal" beside one);
// those of a process that is gone are leftovers of a killed writer.
void removeLeftovers(const fs::path& target)
{
    for (const auto& leftover : leftoversIn(target.parent_path(), target.filename().string() + kTemporaryMark)) {
        std::error_code ignored;
        fs::remove(leftover, ignored);
    }
}

struct Record {
    std::vector<std::pair<fs::path, fs::path>> renames;  // temporary, target
    bool whole = false;
};

Record readRecord(const fs::path& file)
{
    Record record;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (line == kRecordEnd) {
            record.whole = true;
            break;
        }
        const auto tab = line.find('\t');
        if (tab == std::string::npos)
            break;
        record.renames.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return record;
}

std::vector<fs::path> foldersOf(const std::vector<std::pair<fs::path, fs::path>>& renames)
{
    std::vector<fs::path> folders;
    for (const auto& r : renames)
        if (std::find(folders.begin(), folders.end(), r.second.parent_path()) == folders.end())
            folders.push_back(r.second.parent_path());
    return folders;
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
    finishInterrupted(target.parent_path());
    removeLeftovers(target);
    fs::path temporary = fs::absolute(target);
    temporary += kTemporaryMark + std::to_string(getpid());
    std::error_code ignored;
    fs::remove(temporary, ignored);
    m_staged.push_back({temporary, fs::absolute(target), tableFile});
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
    // The record goes into every folder of the set, so that a writer coming to any of them
    // finishes the set; it is whole only once it is in all of them.
    const std::string recordName = kRecordName + kTemporaryMark + std::to_string(getpid());
    std::string record;
    for (const auto& s : m_staged)
        record += s.temporary.string() + "\t" + s.target.string() + "\n";
    record += kRecordEnd + "\n";
    for (const auto& folder : folders) {
        std::ofstream out(folder / recordName, std::ios::binary | std::ios::trunc);
        out << record;
        out.close();
        if (!out)
            throw TableError("ファイル " + recordName + " が " + folder.string() + " に書けません");
        flushToDisk(folder / recordName);
    }
    for (const auto& folder : folders)
        flushToDisk(folder);
    // Past this point nothing is left to fail but the renames, which the file system does whole,
    // and a writer killed among them is finished from the record.
    m_committed = true;
    for (const auto& s : m_staged) {
        std::error_code ec;
        fs::rename(s.temporary, s.target, ec);
        if (ec)
            throw TableError("ファイル " + label(s.target) + " を置き換えられません: " + ec.message());
    }
    for (const auto& folder : folders)
        flushToDisk(folder);
    for (const auto& folder : folders) {
        std::error_code ignored;
        fs::remove(folder / recordName, ignored);
    }
}

int FileReplacement::finishInterrupted(const fs::path& folder)
{
    int finished = 0;
    for (const auto& file : leftoversIn(folder, kRecordName + kTemporaryMark)) {
        const Record record = readRecord(file);
        const std::vector<fs::path> folders = foldersOf(record.renames);
        bool whole = record.whole;
        for (const auto& f : folders)
            whole = whole && readRecord(f / file.filename()).whole;
        if (whole) {
            for (const auto& [temporary, target] : record.renames) {
                std::error_code ec;
                if (fs::exists(temporary, ec))
                    fs::rename(temporary, target, ec);
                if (ec)
                    throw TableError("中断された書き込みを " + label(target) + " に仕上げられません: " + ec.message());
            }
            for (const auto& f : folders)
                flushToDisk(f);
            ++finished;
        }
        std::error_code ignored;
        fs::remove(file, ignored);
        for (const auto& f : folders)
            fs::remove(f / file.filename(), ignored);
    }
    return finished;
}

}  // namespace store
