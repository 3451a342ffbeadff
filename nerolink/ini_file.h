// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// A small INI document for player.ini: key lookup by section, edits that keep
// every other line (comments, unknown keys) as it was.
#pragma once

#include <string>
#include <vector>

namespace nerolink {

class IniFile {
public:
    bool load(const std::string &path);
    void clear() { lines_.clear(); }

    // Section and key names compare without regard to ASCII case.
    bool has(const std::string &section, const std::string &key) const;
    std::string value(const std::string &section, const std::string &key,
                      const std::string &fallback = {}) const;
    void setValue(const std::string &section, const std::string &key, const std::string &value);

    // Writes to a temporary file beside the target and renames it into place,
    // so a reader never sees half a file.
    bool save(const std::string &path) const;

private:
    long find(const std::string &section, const std::string &key) const;

    std::vector<std::string> lines_;
};

} // namespace nerolink
