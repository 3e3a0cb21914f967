// Side files are opened without blocking and checked to be regular files before any read.
#include "store/SideFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace store {

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

std::string label(const std::filesystem::path& file)
{
    return file.filename().string();
}

}  // namespace

SideFileRead ReadSideFile(const std::filesystem::path& file, std::size_t limit, bool wholeNeeded)
{
    SideFileRead result;
    // Non-blocking: opening a FIFO must not wait for a writer that never comes.
    Descriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        if (errno != ENOENT && errno != ENOTDIR)
            result.problem = label(file) + " が開けません: " + std::strerror(errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        result.problem = label(file) + " が読めません: " + std::strerror(errno);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.problem = label(file) + " はファイルではありません (" +
                         (S_ISDIR(st.st_mode) ? "フォルダ" : S_ISFIFO(st.st_mode) ? "名前付きパイプ" : "特殊ファイル") +
                         ")。読まずに進めます";
        return result;
    }
    if (wholeNeeded && static_cast<std::uint64_t>(st.st_size) > limit) {
        result.problem = label(file) + " が大きすぎます (" + std::to_string(st.st_size) + " バイト、上限 " +
                         std::to_string(limit) + " バイト)。読まずに進めます";
        return result;
    }
    std::string bytes(std::min<std::uint64_t>(static_cast<std::uint64_t>(st.st_size), limit), '\0');
    std::size_t got = 0;
    // The size may change while reading: read until the end or the limit, whichever comes first.
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() >= limit)
                break;
            bytes.resize(std::min(limit, bytes.size() + 4096));
        }
        const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            result.problem = label(file) + " が読めません: " + std::strerror(errno);
            return result;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    if (wholeNeeded && got >= limit) {
        char extra = 0;
        if (::read(fd.get(), &extra, 1) > 0) {
            result.problem = label(file) + " が大きすぎます (上限 " + std::to_string(limit) + " バイト)。読まずに進めます";
            return result;
        }
    }
    result.bytes = std::move(bytes);
    return result;
}

std::string WriteSideFile(const std::filesystem::path& file, const std::string& bytes)
{
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return label(file) + " はファイルではないので書きません";
    // Not truncated on opening: what is there is checked again on the open file.
    Descriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666));
    if (fd.get() < 0)
        return label(file) + " が書けません: " + std::strerror(errno);
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return label(file) + " はファイルではないので書きません";
    if (::ftruncate(fd.get(), 0) != 0)
        return label(file) + " が書けません: " + std::strerror(errno);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return label(file) + " が書けません: " + std::strerror(errno);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

std::string firstLineOf(const std::string& bytes)
{
    return bytes.substr(0, bytes.find_first_of("\r\n"));
}

}  // namespace store
