// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "platform/exclusive_open.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

UniqueFd::~UniqueFd()
{
    reset();
}

UniqueFd &UniqueFd::operator=(UniqueFd &&other) noexcept
{
    if (this != &other)
        reset(other.release());
    return *this;
}

int UniqueFd::release() noexcept
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void UniqueFd::reset(int fd) noexcept
{
    if (m_fd >= 0) {
        const int savedErrno = errno;
        ::close(m_fd);
        errno = savedErrno;
    }
    m_fd = fd;
}

bool UniqueFd::close() noexcept
{
    if (m_fd < 0)
        return true;
    // Linux releases the descriptor even when close fails; never retry.
    return ::close(release()) == 0;
}

bool lockExclusive(int fd)
{
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

UniqueFd openExclusiveRead(const std::string &path, bool followLink)
{
    return openExclusiveReadAt(AT_FDCWD, path, followLink);
}

UniqueFd openExclusiveReadAt(int dirFd, const std::string &name, bool followLink)
{
    // O_NONBLOCK keeps a FIFO of that name from stalling the open; it is
    // refused below anyway, and regular files ignore the flag.
    UniqueFd file(::openat(dirFd, name.c_str(),
                           O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (followLink ? 0 : O_NOFOLLOW)));
    if (!file)
        return {};
    struct stat st {};
    if (::fstat(file.get(), &st) != 0)
        return {};
    if (!S_ISREG(st.st_mode)) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return {};
    }
    const int flags = ::fcntl(file.get(), F_GETFL);
    if (flags < 0 || ::fcntl(file.get(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return {};
    if (!lockExclusive(file.get()))
        return {};
    return file;
}

UniqueFd createExclusiveReadWrite(const std::string &path)
{
    // Truncate only once the lock is ours, so a file in use elsewhere keeps its data.
    UniqueFd file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666));
    if (!file || !lockExclusive(file.get()))
        return {};
    if (::ftruncate(file.get(), 0) != 0)
        return {};
    return file;
}

std::int64_t fileLength(const UniqueFd &file)
{
    struct stat st {};
    if (!file || ::fstat(file.get(), &st) != 0)
        return -1;
    return static_cast<std::int64_t>(st.st_size);
}
