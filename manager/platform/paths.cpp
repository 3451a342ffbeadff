// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/paths.h"

namespace {

// Index where the file name starts: just past the last separator.
std::size_t fileNameStart(std::string_view path)
{
    const std::size_t sep = path.rfind(pathSeparator);
    return sep == std::string_view::npos ? 0 : sep + 1;
}

// Index of the extension's '.' within path, or npos.
std::size_t extensionDot(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < fileNameStart(path))
        return std::string_view::npos;
    return dot;
}

} // namespace

std::string extractFileName(std::string_view path)
{
    return std::string(path.substr(fileNameStart(path)));
}

std::string extractFileDir(std::string_view path)
{
    const std::size_t start = fileNameStart(path);
    if (start == 0)
        return {};
    return start == 1 ? std::string(1, pathSeparator) : std::string(path.substr(0, start - 1));
}

std::string extractFileExt(std::string_view path)
{
    const std::size_t dot = extensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string changeFileExt(std::string_view path, std::string_view ext)
{
    std::string result(path.substr(0, extensionDot(path)));
    result += ext;
    return result;
}

std::string joinPath(std::string_view dir, std::string_view name)
{
    if (dir.empty())
        return std::string(name);
    std::string result(dir);
    const bool dirEnds = result.back() == pathSeparator;
    const bool nameStarts = !name.empty() && name.front() == pathSeparator;
    if (dirEnds && nameStarts)
        name.remove_prefix(1);
    else if (!dirEnds && !nameStarts)
        result += pathSeparator;
    result += name;
    return result;
}

bool isSafePlainName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find(pathSeparator) == std::string_view::npos
        && name.find('\0') == std::string_view::npos;
}
