// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Private-profile INI files: read and written key by key, everything else in
// the file left exactly as it was.
//
// Reading: a section starts with a line "[Name]"; a setting is a line
// "Key=Value". Names match without regard to ASCII letter case; the first
// matching section and the first matching key in it win. Blanks around names
// and values are dropped. Lines starting with ';' or '#' are comments.
// A missing file, section or key gives the caller's default; a key that is
// present with an empty value gives "" as a string.
//
// Integers: "0x"/"0X" followed by 1 or more hexadecimal digits is read as a
// 32-bit pattern (0xFFFFFFFF is -1); otherwise an optional '+' or '-' and
// decimal digits that fit in an int. Anything else, trailing junk included
// ("12px"), gives the default.
//
// Writing: the key's line is replaced by "Key=Value" with the names as given;
// a new key goes after the last non-blank line of its section; a new section
// goes at the end of the file. Integers are written in decimal. The file is
// replaced by a temporary file renamed over it, so a failed write leaves it
// untouched; the failure raises IniWriteError. A file that is not writable,
// or carries no write permission at all, is not replaced.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A write to the file failed; what() is "Unable to write to <path>".
class IniWriteError : public std::runtime_error {
public:
    explicit IniWriteError(const std::string &path);
    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

struct IniEntry {
    std::string section;
    std::string key;
    std::string value;
};

class IniFile {
public:
    explicit IniFile(std::string path);

    int readInteger(std::string_view section, std::string_view key, int def) const;
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view def) const;
    // Both throw IniWriteError when the file cannot be written.
    void writeInteger(std::string_view section, std::string_view key, int value);
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    // Sets every entry in one replacement of the file. An entry that no line
    // could hold is left out and the others are written; throws IniWriteError
    // when the file cannot be written.
    void writeEntries(const std::vector<IniEntry> &entries);

    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// The text rules above on a file's contents in memory.
namespace ini {
std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key);
std::optional<int> parseInteger(std::string_view value);
// The contents with the key set; nullopt when a name or the value holds a
// line break or a name is empty, which no line of the file could represent.
std::optional<std::string> setValue(std::string_view text, std::string_view section,
                                    std::string_view key, std::string_view value);
// True when a value reads back exactly as written: no line break, no blank
// at either end.
bool canHold(std::string_view value);
// The folder itself when the file can hold its path, else the nearest folder
// above it that it can ("" when there is none).
std::string holdableFolder(std::string path);
} // namespace ini
