// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "platform/pending_file.h"

#include "platform/exclusive_open.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int nameAttempts = 8;

bool sameInode(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
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

constexpr std::string_view randomAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string randomSuffix()
{
    unsigned char bytes[pendingNameRandomLength] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        const unsigned long mix = static_cast<unsigned long>(::getpid()) * 2654435761ul
            ^ static_cast<unsigned long>(std::rand());
        std::memcpy(bytes, &mix, sizeof bytes < sizeof mix ? sizeof bytes : sizeof mix);
    }
    std::string suffix;
    for (unsigned char byte : bytes)
        suffix += randomAlphabet[byte % randomAlphabet.size()];
    return suffix;
}

// A hidden named file in the folder open as dirFd, locked and still under its name.
int createNamed(int dirFd, const std::string &prefix, std::string &name)
{
    for (int attempt = 0; attempt < nameAttempts; ++attempt) {
        name = prefix + randomSuffix();
        const int fd = ::openat(dirFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return -1;
        // A sweep elsewhere may have taken the name before the lock was ours.
        struct stat opened {}, named {};
        if (lockExclusive(fd) && ::fstat(fd, &opened) == 0
            && ::fstatat(dirFd, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0
            && sameInode(opened, named)) {
            ::fchmod(fd, 0666 & ~currentUmask());
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

} // namespace

bool renameNoReplaceAt(int fromFd, const std::string &from, int toFd, const std::string &to)
{
    if (::renameat2(fromFd, from.c_str(), toFd, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without the flag: a hard link fails when the name exists.
    if (::linkat(fromFd, from.c_str(), toFd, to.c_str(), 0) == 0) {
        ::unlinkat(fromFd, from.c_str(), 0);
        return true;
    }
    struct stat st;
    if (errno == EEXIST || ::fstatat(toFd, to.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::renameat(fromFd, from.c_str(), toFd, to.c_str()) == 0;
}

bool isPendingFileName(std::string_view name, std::string_view prefix)
{
    if (name.size() != prefix.size() + pendingNameRandomLength || !name.starts_with(prefix))
        return false;
    name.remove_prefix(prefix.size());
    return name.find_first_not_of(randomAlphabet) == std::string_view::npos;
}

PendingFile::PendingFile(const std::string &folder, std::string hiddenPrefix,
                         std::string stagingFolder)
    : m_folder(folder.empty() ? "." : folder), m_prefix(std::move(hiddenPrefix)),
      m_staging(std::move(stagingFolder))
{
    // The folder is held from here on: whatever is renamed above it meanwhile,
    // the file is published where it was made.
    // O_PATH: a folder one may write in but not list still takes files.
    m_dirFd = ::open(m_folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (m_dirFd < 0)
        return;
    m_fd = ::openat(m_dirFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    if (m_fd >= 0) {
        lockExclusive(m_fd); // a file no one else can reach yet: never refused
        return;
    }
    // EISDIR: a kernel without O_TMPFILE; EOPNOTSUPP: a file system without it.
    if (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)
        m_fd = createNamed(m_dirFd, m_prefix, m_name);
}

PendingFile::~PendingFile()
{
    close();
}

// A path in the folder this file was made in is reached through the held
// folder; any other as it resolves now.
PendingFile::Target PendingFile::targetOf(const std::string &path) const
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    if (folder == m_folder && slash + 1 < path.size())
        return {m_dirFd, slash == std::string::npos ? path : path.substr(slash + 1)};
    return {AT_FDCWD, path};
}

bool PendingFile::linkAs(const Target &target) const
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_fd);
    if (::linkat(AT_FDCWD, self.c_str(), target.dirFd, target.name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != ENOENT)
        return false;
    // Without /proc the same by descriptor, which needs CAP_DAC_READ_SEARCH.
    return ::linkat(m_fd, "", target.dirFd, target.name.c_str(), AT_EMPTY_PATH) == 0;
}

// A link cannot replace a name, so the file takes a hidden name for the
// moment it takes to rename it over path.
bool PendingFile::replaceThroughTransientName(const Target &target)
{
    for (const bool staging : {true, false}) {
        const std::string &folder = staging ? m_staging : m_folder;
        for (int attempt = 0; !folder.empty() && attempt < nameAttempts; ++attempt) {
            const Target transient = staging ? Target{AT_FDCWD, folder + "/" + m_prefix + randomSuffix()}
                                             : Target{m_dirFd, m_prefix + randomSuffix()};
            if (!linkAs(transient)) {
                if (errno == EEXIST)
                    continue;
                break; // EXDEV for a staging folder elsewhere: try the next folder
            }
            if (::renameat(transient.dirFd, transient.name.c_str(), target.dirFd, target.name.c_str()) == 0)
                return true;
            const int error = errno;
            ::unlinkat(transient.dirFd, transient.name.c_str(), 0);
            errno = error;
            return false;
        }
    }
    return false;
}

bool PendingFile::publish(const std::string &path, bool replace)
{
    if (m_fd < 0 || m_published) {
        errno = EBADF;
        return false;
    }
    if (::fsync(m_fd) != 0)
        return false;
    const Target target = targetOf(path);
    if (!m_name.empty())
        m_published = replace
            ? ::renameat(m_dirFd, m_name.c_str(), target.dirFd, target.name.c_str()) == 0
            : renameNoReplaceAt(m_dirFd, m_name, target.dirFd, target.name);
    else if (linkAs(target))
        m_published = true;
    else if (errno == EEXIST && replace)
        m_published = replaceThroughTransientName(target);
    return m_published;
}

bool PendingFile::close()
{
    if (m_dirFd >= 0 && m_fd < 0) {
        ::close(m_dirFd);
        m_dirFd = -1;
    }
    if (m_fd < 0)
        return true;
    // Removed while still locked, so no sweep meets it half gone.
    if (!m_published && !m_name.empty())
        ::unlinkat(m_dirFd, m_name.c_str(), 0);
    const bool closed = ::close(m_fd) == 0;
    m_fd = -1;
    ::close(m_dirFd);
    m_dirFd = -1;
    return closed;
}

// File systems without RENAME_NOREPLACE: a hard link fails when the name exists.
bool renameNoReplace(const std::string &from, const std::string &to)
{
    return renameNoReplaceAt(AT_FDCWD, from, AT_FDCWD, to);
}

bool removeIfAbandoned(int dirFd, const char *name, const std::string &prefix)
{
    struct stat named {};
    if (!isPendingFileName(name, prefix) || ::fstatat(dirFd, name, &named, AT_SYMLINK_NOFOLLOW) != 0
        || !S_ISREG(named.st_mode) || named.st_uid != ::geteuid())
        return false;
    const int fd = ::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat opened {}, still {};
    bool removed = false;
    // The lock is free only once its writer has closed the file or died; the
    // name must still be the file that was checked and locked.
    if (::fstat(fd, &opened) == 0 && sameInode(opened, named) && lockExclusive(fd)
        && ::fstatat(dirFd, name, &still, AT_SYMLINK_NOFOLLOW) == 0 && sameInode(opened, still))
        removed = ::unlinkat(dirFd, name, 0) == 0;
    ::close(fd);
    return removed;
}

void sweepAbandoned(const std::string &folder, const std::string &prefix)
{
    DIR *dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir))
        removeIfAbandoned(::dirfd(dir), entry->d_name, prefix);
    ::closedir(dir);
}
