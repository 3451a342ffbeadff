// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The file that keeps one memory's short names in arrival order: one line per
// file, "SHORTNAME<TAB>file name".
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace nerolink {

using NameIndex = std::vector<std::pair<std::string, std::string>>; // short name, file name

NameIndex loadNameIndex(const std::string &path);
bool saveNameIndex(const std::string &path, const NameIndex &index);

} // namespace nerolink
