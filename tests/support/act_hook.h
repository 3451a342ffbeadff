// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Stands in front of the C library's unlink, unlinkat, rename, renameat and
// renameat2 for the whole test program, so a test can change the disk in the
// very moment between a program's last look at an entry and its removal or
// move: as another user in a shared folder, or a file manager, might.
#pragma once

#include <functional>
#include <string>

namespace ActHook {

// The first removal or rename of an entry called name first renames folder
// to moved and puts a new folder in its place holding a file of that name
// with "another user's file" in it, then goes ahead as the program asked.
void swapFolderBefore(const std::string &name, const std::string &folder, const std::string &moved);
// The first removal or rename of an entry called name first runs action.
void runBefore(const std::string &name, std::function<void()> action);
void clear();

} // namespace ActHook
