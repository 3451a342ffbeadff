// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "mount_table.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace nerolink {

namespace {

// mountinfo writes a blank, tab, line break and backslash as \040, \011, \012, \134.
std::string unescaped(const std::string &field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string::npos) {
                out += static_cast<char>(std::strtol(digits.c_str(), nullptr, 8));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

bool hasOption(const std::string &options, const std::string &option)
{
    std::istringstream in(options);
    for (std::string item; std::getline(in, item, ',');) {
        if (item == option)
            return true;
    }
    return false;
}

bool parseDevice(const std::string &text, unsigned &major, unsigned &minor)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 >= text.size()
        || text.find_first_not_of("0123456789:") != std::string::npos)
        return false;
    major = static_cast<unsigned>(std::strtoul(text.c_str(), nullptr, 10));
    minor = static_cast<unsigned>(std::strtoul(text.c_str() + colon + 1, nullptr, 10));
    return true;
}

// Whether prefix is path itself or one of the folders above it.
bool leads(const std::string &prefix, const std::string &path)
{
    if (prefix == "/")
        return !path.empty() && path[0] == '/';
    return path.compare(0, prefix.size(), prefix) == 0
        && (path.size() == prefix.size() || path[prefix.size()] == '/');
}

std::string parentOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == 0 || slash == std::string::npos ? "/" : path.substr(0, slash);
}

} // namespace

bool MountEntry::readOnly() const
{
    return hasOption(options, "ro") || hasOption(superOptions, "ro");
}

MountTable parseMountInfo(const std::string &text)
{
    MountTable table;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream in(line);
        const std::vector<std::string> fields{std::istream_iterator<std::string>(in), {}};
        // id parent major:minor root mount-point options [optional...] - type source super-options
        std::size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-")
            ++dash;
        MountEntry entry;
        if (dash + 2 >= fields.size() || !parseDevice(fields[2], entry.major, entry.minor))
            continue;
        entry.root = unescaped(fields[3]);
        entry.mountPoint = unescaped(fields[4]);
        entry.options = fields[5];
        entry.fsType = unescaped(fields[dash + 1]);
        entry.source = unescaped(fields[dash + 2]);
        entry.superOptions = dash + 3 < fields.size() ? fields[dash + 3] : "";
        if (!entry.mountPoint.empty() && entry.mountPoint[0] == '/')
            table.push_back(std::move(entry));
    }
    return table;
}

MountTable readMountTable()
{
    const char *injected = std::getenv("NEROLINK_MOUNTINFO");
    std::ifstream in(injected && *injected ? injected : "/proc/self/mountinfo");
    return parseMountInfo(std::string(std::istreambuf_iterator<char>(in), {}));
}

const MountEntry *mountHolding(const MountTable &table, const std::string &path)
{
    const MountEntry *best = nullptr;
    for (const MountEntry &entry : table) {
        if (leads(entry.mountPoint, path)
            && (!best || entry.mountPoint.size() >= best->mountPoint.size()))
            best = &entry;
    }
    return best;
}

bool isMountPoint(const MountTable &table, const std::string &path)
{
    if (table.empty()) {
        struct stat self, parent;
        return ::stat(path.c_str(), &self) == 0 && ::stat(parentOf(path).c_str(), &parent) == 0
            && (self.st_dev != parent.st_dev || self.st_ino == parent.st_ino);
    }
    const MountEntry *entry = mountHolding(table, path);
    return entry && entry->mountPoint == path;
}

} // namespace nerolink
