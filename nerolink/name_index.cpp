// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "name_index.h"

#include "file_copy.h"

#include <fstream>

namespace nerolink {

NameIndex loadNameIndex(const std::string &path)
{
    NameIndex index;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        const auto tab = line.find('\t');
        if (tab != std::string::npos && tab > 0 && tab + 1 < line.size())
            index.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return index;
}

bool saveNameIndex(const std::string &path, const NameIndex &index)
{
    std::string text;
    for (const auto &[shortName, name] : index)
        text += shortName + "\t" + name + "\n";
    return writeFileAtomically(path, text);
}

} // namespace nerolink
