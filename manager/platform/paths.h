// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Path rules of the program. This is the one place that knows the separator,
// so every rule about file names and extensions agrees with every other.
#pragma once

#include <string>
#include <string_view>

inline constexpr char pathSeparator = '/';

// The part after the last separator (the whole path when there is none).
std::string extractFileName(std::string_view path);

// The folder part: everything before the last separator ("/" for a file at
// the root, empty when there is no separator).
std::string extractFileDir(std::string_view path);

// The extension of the file name, its '.' included: from the last '.' after
// the last separator. Empty when the file name has no '.'.
std::string extractFileExt(std::string_view path);

// The path with the file name's extension replaced by ext ('.' included);
// ext is appended when the file name has none. Folder names are left alone.
std::string changeFileExt(std::string_view path, std::string_view ext);

// dir + separator + name, never doubling the separator between them.
// An empty dir gives name unchanged.
std::string joinPath(std::string_view dir, std::string_view name);

// True when name can be used as one plain entry of a folder: not empty,
// not "." or "..", and free of separators and NUL characters.
bool isSafePlainName(std::string_view name);
