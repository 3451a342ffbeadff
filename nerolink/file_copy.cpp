// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "file_copy.h"

#include "platform/pending_file.h"

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

bool copyFileAtomically(const std::string &source, const std::string &destination,
                        bool replace, int delayMs, const std::string &stagingFolder,
                        const std::function<bool()> &stillThere)
{
    // A named pipe put in the source's place must not stall the copy in open().
    const int from = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (from < 0)
        return false;
    struct stat st;
    bool ok = ::fstat(from, &st) == 0 && S_ISREG(st.st_mode);
    if (ok) {
        PendingFile file(folderOf(destination), kTemporaryPrefix, stagingFolder);
        ok = file.isValid() && copyAll(from, file.fd());
        if (ok) {
            sleepMilliseconds(delayMs);
            ok = (!stillThere || stillThere()) && file.publish(destination, replace) && file.close();
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
