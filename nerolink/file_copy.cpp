// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "file_copy.h"

#include "platform/pending_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
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

// A slow device's bytes come in small pieces, each when its time has come.
std::size_t chunkFor(uint64_t bytesPerSecond, std::size_t most)
{
    if (bytesPerSecond == 0)
        return most;
    return static_cast<std::size_t>(std::clamp<uint64_t>(bytesPerSecond / 50, 1, most));
}

// Sleeps until bytes would have arrived since start at bytesPerSecond.
void waitForArrival(std::chrono::steady_clock::time_point start, uint64_t bytes,
                    uint64_t bytesPerSecond)
{
    if (bytesPerSecond == 0)
        return;
    const uint64_t seconds = bytes / bytesPerSecond;
    const uint64_t nanoseconds = (bytes % bytesPerSecond) * 1000000000ull / bytesPerSecond;
    std::this_thread::sleep_until(start + std::chrono::seconds(seconds)
                                  + std::chrono::nanoseconds(nanoseconds));
}

// How often a paced copy asks whether its device is still connected.
constexpr std::chrono::milliseconds kConnectionCheckEvery{250};

// How many bytes to read next: a chunk, but no more than an expected size
// leaves, and then one, to find the end where it should be.
std::size_t nextRead(std::size_t chunk, uint64_t copied, const std::optional<uint64_t> &expected)
{
    if (!expected || *expected <= copied)
        return expected ? 1 : chunk;
    return static_cast<std::size_t>(std::min<uint64_t>(chunk, *expected - copied));
}

bool copyAll(int from, int to, const Pace &pace, const std::optional<uint64_t> &expected = {})
{
    char buffer[64 * 1024];
    const std::size_t chunk = chunkFor(pace.bytesPerSecond, sizeof buffer);
    const auto start = std::chrono::steady_clock::now();
    auto checked = start;
    uint64_t copied = 0;
    for (;;) {
        const ssize_t got = ::read(from, buffer, nextRead(chunk, copied, expected));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return !expected || copied == *expected;
        copied += static_cast<uint64_t>(got);
        if (expected && copied > *expected)
            return false; // the file grew since it was checked
        waitForArrival(start, copied, pace.bytesPerSecond);
        // A device unplugged mid-way sends nothing more.
        const auto now = std::chrono::steady_clock::now();
        if (pace.bytesPerSecond > 0 && pace.stillConnected && now - checked >= kConnectionCheckEvery) {
            if (!pace.stillConnected())
                return false;
            checked = now;
        }
        if (!writeAll(to, buffer, static_cast<std::size_t>(got)))
            return false;
    }
}

// Opens a regular file to read; a named pipe put in its place must not stall
// the copy in open(). -1 for anything else.
int openSource(const CopySource &source)
{
    const int from = ::open(source.path.c_str(),
                            O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (source.mayBeLink ? 0 : O_NOFOLLOW));
    struct stat st;
    if (from >= 0 && (::fstat(from, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(from);
        return -1;
    }
    return from;
}

// Whether name in the folder open as dirFd still is the file open as fd, not
// a file or link put in its place.
bool stillNamed(int dirFd, const std::string &name, int fd)
{
    struct stat mine, named;
    return ::fstat(fd, &mine) == 0 && ::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0
        && mine.st_dev == named.st_dev && mine.st_ino == named.st_ino;
}

std::string lastName(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool isTemporaryName(const std::string &name)
{
    return name.rfind(kTemporaryPrefix, 0) == 0;
}

void sweepTemporaries(const std::string &folder)
{
    sweepAbandoned(folder, kTemporaryPrefix);
}

bool writeFileAtomically(const std::string &path, const std::string &bytes)
{
    PendingFile file(folderOf(path), kTemporaryPrefix);
    return file.isValid() && writeAll(file.fd(), bytes.data(), bytes.size())
        && file.publish(path, true) && file.close();
}

bool copyFileAtomically(const CopySource &source, const std::string &destination,
                        bool replace, int delayMs, const Pace &pace,
                        const std::string &stagingFolder, const std::function<bool()> &stillThere)
{
    const int from = openSource(source);
    if (from < 0)
        return false;
    PendingFile file(folderOf(destination), kTemporaryPrefix, stagingFolder);
    bool ok = file.isValid() && copyAll(from, file.fd(), pace, source.size);
    if (ok) {
        sleepMilliseconds(delayMs);
        ok = (!stillThere || stillThere()) && file.publish(destination, replace) && file.close();
    }
    ::close(from);
    return ok;
}

bool copyFileInPlace(const CopySource &source, const std::string &destination, int delayMs,
                     const Pace &pace, const std::function<bool()> &stillThere)
{
    const int from = openSource(source);
    if (from < 0)
        return false;
    // Held, so whatever is renamed or linked above the folder meanwhile, the
    // part is only ever looked at and removed where it was made.
    const int dir = ::open(folderOf(destination).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const std::string name = lastName(destination);
    const int to = dir < 0 || name.empty() ? -1
        : ::openat(dir, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    bool ok = to >= 0 && copyAll(from, to, pace, source.size) && ::fdatasync(to) == 0;
    if (ok)
        sleepMilliseconds(delayMs);
    ok = ok && (!stillThere || stillThere()) && stillNamed(dir, name, to);
    if (to >= 0) {
        if (!ok && stillNamed(dir, name, to))
            ::unlinkat(dir, name.c_str(), 0);
        ok = ::close(to) == 0 && ok;
    }
    if (dir >= 0)
        ::close(dir);
    ::close(from);
    return ok;
}

void sleepMilliseconds(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace nerolink
