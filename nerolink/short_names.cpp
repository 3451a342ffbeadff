// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "short_names.h"

#include <cstring>

namespace nerolink {

namespace {

bool isShortChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || (c != '\0' && std::strchr("!#$%&'()-@^_`{}~", c) != nullptr);
}

bool isShortPart(const std::string &part, std::size_t maxLength)
{
    if (part.empty() || part.size() > maxLength)
        return false;
    for (char c : part) {
        if (!isShortChar(c))
            return false;
    }
    return true;
}

// The characters of part that may stand in a short name, upper-cased.
std::string shortChars(const std::string &part)
{
    std::string out;
    for (char c : part) {
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        if (isShortChar(upper))
            out += upper;
    }
    return out;
}

} // namespace

bool isShortName(const std::string &name)
{
    const auto dot = name.find('.');
    if (dot == std::string::npos)
        return isShortPart(name, 8);
    return isShortPart(name.substr(0, dot), 8) && isShortPart(name.substr(dot + 1), 3);
}

std::string makeShortName(const std::string &name,
                          const std::function<bool(const std::string &)> &taken)
{
    if (isShortName(name) && !taken(name))
        return name;

    // The extension is what follows the last dot, unless the name starts with it.
    const auto dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    std::string base = shortChars(hasExtension ? name.substr(0, dot) : name);
    const std::string extension = hasExtension ? shortChars(name.substr(dot + 1)).substr(0, 3) : "";
    const std::string suffix = extension.empty() ? "" : "." + extension;
    if (base.empty())
        base = "FILE";

    // A name that differs from a short name only in case keeps that name when free.
    std::string upper = name;
    for (char &c : upper)
        c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (isShortName(upper) && !taken(upper))
        return upper;
    for (unsigned n = 1;; ++n) {
        std::string tail = std::to_string(n);
        tail.insert(tail.begin(), '~');
        const std::string candidate = base.substr(0, 8 - tail.size()) + tail + suffix;
        if (!taken(candidate))
            return candidate;
    }
}

bool isUnsafeShortName(const char *name)
{
    return name == nullptr || *name == '\0' || std::strchr(name, '/') != nullptr
        || std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

} // namespace nerolink
