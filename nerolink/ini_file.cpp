// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "ini_file.h"

#include "file_copy.h"

#include <fstream>
#include <strings.h>

namespace nerolink {

namespace {

std::string trimmed(const std::string &text)
{
    const auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos)
        return {};
    const auto end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

bool sameName(const std::string &a, const std::string &b)
{
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

// The section name of a "[name]" line, or false for any other line.
bool sectionOf(const std::string &line, std::string &name)
{
    const std::string text = trimmed(line);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']')
        return false;
    name = trimmed(text.substr(1, text.size() - 2));
    return true;
}

bool keyOf(const std::string &line, std::string &key, std::string &value)
{
    const std::string text = trimmed(line);
    if (text.empty() || text[0] == ';' || text[0] == '#')
        return false;
    const auto equals = text.find('=');
    if (equals == std::string::npos)
        return false;
    key = trimmed(text.substr(0, equals));
    value = trimmed(text.substr(equals + 1));
    return true;
}

} // namespace

bool IniFile::load(const std::string &path)
{
    lines_.clear();
    std::ifstream in(path);
    if (!in)
        return false;
    for (std::string line; std::getline(in, line);)
        lines_.push_back(line);
    return true;
}

long IniFile::find(const std::string &section, const std::string &key) const
{
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string name, value;
        if (sectionOf(lines_[i], name))
            inSection = sameName(name, section);
        else if (inSection && keyOf(lines_[i], name, value) && sameName(name, key))
            return static_cast<long>(i);
    }
    return -1;
}

bool IniFile::has(const std::string &section, const std::string &key) const
{
    return find(section, key) >= 0;
}

std::string IniFile::value(const std::string &section, const std::string &key,
                           const std::string &fallback) const
{
    const long at = find(section, key);
    if (at < 0)
        return fallback;
    std::string name, value;
    keyOf(lines_[at], name, value);
    return value;
}

void IniFile::setValue(const std::string &section, const std::string &key, const std::string &value)
{
    const std::string line = key + "=" + value;
    const long at = find(section, key);
    if (at >= 0) {
        lines_[at] = line;
        return;
    }
    // Append to the end of the section's last key line, or add the section.
    long sectionEnd = -1;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string name;
        if (sectionOf(lines_[i], name)) {
            inSection = sameName(name, section);
            if (inSection)
                sectionEnd = static_cast<long>(i);
        } else if (inSection && !trimmed(lines_[i]).empty()) {
            sectionEnd = static_cast<long>(i);
        }
    }
    if (sectionEnd >= 0) {
        lines_.insert(lines_.begin() + sectionEnd + 1, line);
        return;
    }
    if (!lines_.empty() && !trimmed(lines_.back()).empty())
        lines_.emplace_back();
    lines_.push_back("[" + section + "]");
    lines_.push_back(line);
}

bool IniFile::save(const std::string &path) const
{
    std::string text;
    for (const auto &line : lines_)
        text += line + "\n";
    return writeFileAtomically(path, text);
}

} // namespace nerolink
