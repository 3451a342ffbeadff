// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/held_entry.h"

#include "platform/paths.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool holdEntry(const std::string &path, HeldEntry &entry)
{
    std::string name = extractFileName(path);
    if (!isSafePlainName(name)) {
        errno = EINVAL;
        return false;
    }
    const std::string dir = extractFileDir(path);
    // O_PATH: a folder the user may make names in but not list is held too.
    entry.folder.reset(::open(dir.empty() ? "." : dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    entry.name = std::move(name);
    return entry.folder.isValid();
}

bool statHeld(const HeldEntry &entry, struct stat &st)
{
    return ::fstatat(entry.folder.get(), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

bool sameIdentity(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && (a.st_mode & S_IFMT) == (b.st_mode & S_IFMT);
}

bool stillHeld(const HeldEntry &entry, const struct stat &expected)
{
    struct stat now {};
    if (!statHeld(entry, now))
        return false;
    if (!sameIdentity(now, expected)) {
        errno = ESTALE;
        return false;
    }
    return true;
}

bool removeHeldIf(const HeldEntry &entry, const struct stat &expected)
{
    if (!stillHeld(entry, expected))
        return false;
    return ::unlinkat(entry.folder.get(), entry.name.c_str(), S_ISDIR(expected.st_mode) ? AT_REMOVEDIR : 0) == 0;
}
