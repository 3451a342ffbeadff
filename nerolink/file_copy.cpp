#include "file_copy.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace nerolink {

namespace {

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Read from /proc rather than with umask(), which would race other threads.
mode_t currentUmask()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
    }
    return 022;
}

bool writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool copyAll(int from, int to)
{
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!writeAll(to, buffer, static_cast<std::size_t>(got)))
            return false;
    }
}

// A temporary file beside destination, removed again unless committed.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string &destination)
        : path_(folderOf(destination) + "/" + kTemporaryPrefix + "XXXXXX")
    {
        fd_ = ::mkstemp(path_.data());
        created_ = fd_ >= 0;
        if (created_)
            ::fchmod(fd_, 0666 & ~currentUmask());
    }
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (created_ && !committed_)
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    bool finish()
    {
        const bool synced = ::fsync(fd_) == 0;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        return synced && closed;
    }

    bool commit(const std::string &destination, bool replace)
    {
        if (replace)
            committed_ = ::rename(path_.c_str(), destination.c_str()) == 0;
        else
            committed_ = renameNoReplace(destination);
        return committed_;
    }

private:
    bool renameNoReplace(const std::string &destination)
    {
        if (::renameat2(AT_FDCWD, path_.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS)
            return false;
        // File systems without the flag: a hard link fails when the name exists.
        if (::link(path_.c_str(), destination.c_str()) == 0) {
            ::unlink(path_.c_str());
            return true;
        }
        struct stat st;
        if (errno == EEXIST || ::lstat(destination.c_str(), &st) == 0)
            return false;
        return ::rename(path_.c_str(), destination.c_str()) == 0;
    }

    std::string path_;
    int fd_ = -1;
    bool created_ = false;
    bool committed_ = false;
};

} // namespace

bool isTemporaryName(const std::string &name)
{
    return name.rfind(kTemporaryPrefix, 0) == 0;
}

bool writeFileAtomically(const std::string &path, const std::string &bytes)
{
    TemporaryFile temporary(path);
    return temporary.valid() && writeAll(temporary.fd(), bytes.data(), bytes.size())
        && temporary.finish() && temporary.commit(path, true);
}

bool copyFileAtomically(const std::string &source, const std::string &destination,
                        bool replace, int delayMs)
{
    const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(from, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        TemporaryFile temporary(destination);
        ok = temporary.valid() && copyAll(from, temporary.fd()) && temporary.finish();
        if (ok) {
            sleepMilliseconds(delayMs);
            ok = temporary.commit(destination, replace);
        }
    }
    ::close(from);
    return ok;
}

void sleepMilliseconds(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace nerolink
