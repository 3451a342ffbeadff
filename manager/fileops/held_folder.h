// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Steps below a folder held open: each names one entry of an open folder
// (openat, fstatat, unlinkat, renameat2), so no path is resolved again under a
// folder already checked, and no symbolic link is ever followed. Failures
// leave errno set.
#pragma once

#include "platform/exclusive_open.h"
#include "platform/pending_file.h"

#include <string>
#include <vector>

#include <sys/stat.h>

// The same entry: device and inode agree.
inline bool sameEntry(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The names in the open folder dirFd, "." and ".." left out.
bool namesAt(int dirFd, std::vector<std::string> &names);

// Opens the folder name in dirFd for reading; invalid when it is not a folder
// or is a symbolic link.
UniqueFd openFolderAt(int dirFd, const std::string &name);

// The entry name in dirFd itself, a link not followed.
bool statAt(int dirFd, const std::string &name, struct stat &st);

// Up to limit bytes of the regular file name in dirFd, owned by the effective
// user; false for anything else, a link included.
bool readOwnFileAt(int dirFd, const std::string &name, size_t limit, std::string &bytes);

// Writes a small file name in dirFd whole: under a passing name first, then
// renamed over name.
bool writeFileAt(int dirFd, const std::string &name, const std::string &bytes);

// Removes name in dirFd and everything in it. Folders we own without write
// permission are opened up first: they are copies we made, or entries the user
// asked to replace.
bool removeTreeAt(int dirFd, const std::string &name);
