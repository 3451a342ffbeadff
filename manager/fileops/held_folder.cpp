// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/held_folder.h"

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool isDots(const char *raw)
{
    return raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0));
}

} // namespace

bool namesAt(int dirFd, std::vector<std::string> &names)
{
    const int own = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR *dir = own >= 0 ? ::fdopendir(own) : nullptr;
    if (!dir) {
        if (own >= 0)
            ::close(own);
        return false;
    }
    errno = 0;
    while (const dirent *d = ::readdir(dir)) {
        if (!isDots(d->d_name))
            names.emplace_back(d->d_name);
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    errno = error;
    return error == 0;
}

UniqueFd openFolderAt(int dirFd, const std::string &name)
{
    return UniqueFd(::openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

bool statAt(int dirFd, const std::string &name, struct stat &st)
{
    return ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool readOwnFileAt(int dirFd, const std::string &name, size_t limit, std::string &bytes)
{
    const UniqueFd file(::openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (!file || ::fstat(file.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()
        || st.st_size < 0 || size_t(st.st_size) > limit)
        return false;
    bytes.resize(size_t(st.st_size));
    size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t got = ::read(file.get(), bytes.data() + at, bytes.size() - at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        at += size_t(got);
    }
    return true;
}

bool writeFileAt(int dirFd, const std::string &name, const std::string &bytes)
{
    const std::string passing = name + ".new";
    ::unlinkat(dirFd, passing.c_str(), 0);
    UniqueFd file(::openat(dirFd, passing.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file)
        return false;
    size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t put = ::write(file.get(), bytes.data() + at, bytes.size() - at);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            ::unlinkat(dirFd, passing.c_str(), 0);
            return false;
        }
        at += size_t(put);
    }
    // On the disk before it takes its name: after a power cut, a marker under
    // which something was kept aside is whole, so its folder is still swept.
    if (::fsync(file.get()) != 0 || !file.close()
        || ::renameat(dirFd, passing.c_str(), dirFd, name.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(dirFd, passing.c_str(), 0);
        errno = error;
        return false;
    }
    return true;
}

bool removeTreeAt(int dirFd, const std::string &name)
{
    struct stat st {};
    if (!statAt(dirFd, name, st))
        return errno == ENOENT;
    if (!S_ISDIR(st.st_mode))
        return ::unlinkat(dirFd, name.c_str(), 0) == 0 || errno == ENOENT;
    const UniqueFd folder = openFolderAt(dirFd, name);
    struct stat opened {};
    if (!folder || ::fstat(folder.get(), &opened) != 0)
        return false;
    if (!sameEntry(st, opened)) {
        errno = EAGAIN; // swapped while we looked
        return false;
    }
    if ((opened.st_mode & 0700) != 0700 && opened.st_uid == ::geteuid())
        ::fchmod(folder.get(), 0700);
    std::vector<std::string> names;
    if (!namesAt(folder.get(), names))
        return false;
    bool done = true;
    int error = 0;
    for (const std::string &entry : names) {
        if (!removeTreeAt(folder.get(), entry) && done) {
            done = false;
            error = errno;
        }
    }
    if (!done) {
        errno = error;
        return false;
    }
    return ::unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) == 0 || errno == ENOENT;
}
