// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The names a FAT drive can hold, and its case-insensitive comparison, so the
// player behaves like the drive it stands for even on an ordinary folder.
#pragma once

#include <string>

namespace nerolink {

// Valid UTF-8 of at most 255 UTF-16 code units, without " * / : < > ? \ |
// or control characters, and not ending in a dot or a blank.
bool isFatName(const std::string &name);

// The name as FAT compares it: letters of any case are one. Names that are
// not valid UTF-8 are compared as they are.
std::u32string fatComparisonKey(const std::string &name);

} // namespace nerolink
