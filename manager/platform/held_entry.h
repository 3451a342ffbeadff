// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One entry of a folder held open, for removing or moving exactly the file that
// was checked: a rename of the folder, or of a folder above it, between the
// check and the act then changes nothing, and the entry's own name is never
// followed when it is a symbolic link. Failures leave errno set.
#pragma once

#include "platform/exclusive_open.h"

#include <string>

#include <sys/stat.h>

struct HeldEntry {
    UniqueFd folder; // the folder the path names, links above it followed as usual
    std::string name; // the last component, looked at only through folder
};

// Opens the folder of path and keeps its last component; false when that is
// not a plain name ("", ".", "..") or the folder cannot be opened.
bool holdEntry(const std::string &path, HeldEntry &entry);

// The entry itself, a link not followed.
bool statHeld(const HeldEntry &entry, struct stat &st);

// The same file: device, inode and kind agree.
bool sameIdentity(const struct stat &a, const struct stat &b);

// True when the entry, a link not followed, is still expected; else false with
// errno ESTALE when something else has its name now (ENOENT when nothing has).
bool stillHeld(const HeldEntry &entry, const struct stat &expected);

// Removes the entry only while it is still expected (stillHeld), looked at
// right before it goes.
bool removeHeldIf(const HeldEntry &entry, const struct stat &expected);
