// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/ini.h"

#include "platform/paths.h"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view trimmed(std::string_view s)
{
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

enum class LineKind { Other, Section, Key };

// One line of the file: [begin, contentEnd) is its text, [contentEnd, end) its line break.
struct Line {
    size_t begin = 0;
    size_t contentEnd = 0;
    size_t end = 0;
    LineKind kind = LineKind::Other;
    std::string_view name; // section or key name, trimmed
    std::string_view value;
};

Line classify(std::string_view text, size_t begin)
{
    Line line;
    line.begin = begin;
    const size_t nl = text.find('\n', begin);
    line.end = nl == std::string_view::npos ? text.size() : nl + 1;
    line.contentEnd = nl == std::string_view::npos ? text.size() : nl;
    if (line.contentEnd > begin && text[line.contentEnd - 1] == '\r')
        --line.contentEnd;

    std::string_view content = text.substr(begin, line.contentEnd - begin);
    if (begin == 0 && content.substr(0, 3) == "\xEF\xBB\xBF")
        content.remove_prefix(3);
    const std::string_view t = trimmed(content);
    if (t.empty() || t.front() == ';' || t.front() == '#')
        return line;
    if (t.front() == '[') {
        const auto close = t.find(']');
        if (close != std::string_view::npos) {
            line.kind = LineKind::Section;
            line.name = trimmed(t.substr(1, close - 1));
        }
        return line;
    }
    const auto eq = t.find('=');
    if (eq != std::string_view::npos) {
        line.kind = LineKind::Key;
        line.name = trimmed(t.substr(0, eq));
        line.value = trimmed(t.substr(eq + 1));
    }
    return line;
}

// Where a key stands in the text, or where it would go.
struct Place {
    bool sectionFound = false;
    bool keyFound = false;
    Line keyLine;
    Line lastFilled; // last non-blank line of the section, its header at least
};

Place locate(std::string_view text, std::string_view section, std::string_view key)
{
    section = trimmed(section);
    key = trimmed(key);
    Place place;
    bool inSection = false;
    for (size_t pos = 0; pos < text.size();) {
        const Line line = classify(text, pos);
        pos = line.end;
        if (line.kind == LineKind::Section) {
            if (inSection)
                break;
            inSection = sameName(line.name, section);
            if (inSection) {
                place.sectionFound = true;
                place.lastFilled = line;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (!trimmed(text.substr(line.begin, line.contentEnd - line.begin)).empty())
            place.lastFilled = line;
        if (line.kind == LineKind::Key && sameName(line.name, key)) {
            place.keyFound = true;
            place.keyLine = line;
            break;
        }
    }
    return place;
}

bool validName(std::string_view name, bool isKey)
{
    const std::string_view t = trimmed(name);
    if (t.empty() || name.find_first_of("\r\n") != std::string_view::npos)
        return false;
    if (isKey)
        return t.find('=') == std::string_view::npos && t.front() != '[' && t.front() != ';'
            && t.front() != '#';
    return t.find(']') == std::string_view::npos;
}

std::string_view lineBreakOf(std::string_view text)
{
    const auto nl = text.find('\n');
    return nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r' ? "\r\n" : "\n";
}

// The whole file; nullopt when it exists but cannot be read. A missing file is empty.
std::optional<std::string> readFile(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
    std::string data;
    char buf[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        data.append(buf, size_t(n));
    }
    ::close(fd);
    return data;
}

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data.remove_prefix(size_t(n));
    }
    return true;
}

// A new file beside target, created exclusively with the usual permissions.
std::pair<int, std::string> createTemp(const std::string &target)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::mt19937 rng{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = target + ".~";
        for (int i = 0; i < 6; ++i)
            name += letters[rng() % (sizeof letters - 1)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return {fd, name};
        if (errno != EEXIST)
            break;
    }
    return {-1, {}};
}

// Replaces the file at target by data; false when any step fails, the old file intact.
bool replaceFile(const std::string &target, std::string_view data, const struct stat *old)
{
    auto [fd, temp] = createTemp(target);
    if (fd < 0)
        return false;
    if (old) {
        // Best effort: only root may keep another user's ownership.
        [[maybe_unused]] const int owned = ::fchown(fd, old->st_uid, old->st_gid);
        (void)::fchmod(fd, old->st_mode & 07777);
    }
    const bool ok = writeAll(fd, data) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

// The rename below would replace a file the user made read-only. Its
// permission bits count even for a user (root) whom the system lets write it.
bool isWritable(const std::string &path, const struct stat &st)
{
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 && ::access(path.c_str(), W_OK) == 0;
}

// A link's own file is rewritten, the link kept.
std::string resolvedTarget(const std::string &path)
{
    char *real = ::realpath(path.c_str(), nullptr);
    if (!real)
        return path;
    std::string result(real);
    ::free(real);
    return result;
}

} // namespace

namespace ini {

std::optional<std::string> findValue(std::string_view text, std::string_view section,
                                     std::string_view key)
{
    const Place place = locate(text, section, key);
    if (!place.keyFound)
        return std::nullopt;
    return std::string(place.keyLine.value);
}

std::optional<int> parseInteger(std::string_view value)
{
    const std::string_view t = trimmed(value);
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        uint64_t n = 0;
        for (const char c : t.substr(2)) {
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return std::nullopt;
            n = n * 16 + uint64_t(digit);
            if (n > UINT32_MAX)
                return std::nullopt;
        }
        return int(int32_t(uint32_t(n)));
    }
    std::string_view digits = t;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
        digits.remove_prefix(1);
    if (digits.empty())
        return std::nullopt;
    int64_t n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
        if (n > int64_t(INT_MAX) + 1)
            return std::nullopt;
    }
    n = negative ? -n : n;
    if (n > INT_MAX)
        return std::nullopt;
    return int(n);
}

std::optional<std::string> setValue(std::string_view text, std::string_view section,
                                    std::string_view key, std::string_view value)
{
    if (!validName(section, false) || !validName(key, true)
        || value.find_first_of("\r\n") != std::string_view::npos)
        return std::nullopt;
    const std::string_view br = lineBreakOf(text);
    const std::string entry = std::string(key) + "=" + std::string(value);
    const Place place = locate(text, section, key);
    std::string out(text);
    if (place.keyFound) {
        out.replace(place.keyLine.begin, place.keyLine.contentEnd - place.keyLine.begin, entry);
    } else if (place.sectionFound) {
        const Line &last = place.lastFilled;
        const bool broken = last.end > last.begin && text[last.end - 1] == '\n';
        out.insert(last.end, broken ? entry + std::string(br) : std::string(br) + entry);
    } else {
        if (!out.empty() && out.back() != '\n')
            out += br;
        out.append("[").append(section).append("]").append(br).append(entry).append(br);
    }
    return out;
}

bool canHold(std::string_view value)
{
    return value.find_first_of("\r\n") == std::string_view::npos && trimmed(value) == value;
}

std::string holdableFolder(std::string path)
{
    while (!canHold(path)) {
        std::string parent = extractFileDir(path);
        if (parent.size() >= path.size())
            return {};
        path = std::move(parent);
    }
    return path;
}

} // namespace ini

IniWriteError::IniWriteError(const std::string &path)
    : std::runtime_error("Unable to write to " + path), m_path(path)
{
}

IniFile::IniFile(std::string path) : m_path(std::move(path)) {}

int IniFile::readInteger(std::string_view section, std::string_view key, int def) const
{
    const auto text = readFile(m_path);
    const auto value = text ? ini::findValue(*text, section, key) : std::nullopt;
    return value ? ini::parseInteger(*value).value_or(def) : def;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view def) const
{
    const auto text = readFile(m_path);
    const auto value = text ? ini::findValue(*text, section, key) : std::nullopt;
    return value ? *value : std::string(def);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, int value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    if (!ini::setValue({}, section, key, value))
        throw IniWriteError(m_path);
    writeEntries({{std::string(section), std::string(key), std::string(value)}});
}

void IniFile::writeEntries(const std::vector<IniEntry> &entries)
{
    const std::string target = resolvedTarget(m_path);
    struct stat st;
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || !isWritable(target, st)))
        throw IniWriteError(m_path);
    auto text = readFile(target);
    if (!text)
        throw IniWriteError(m_path);
    for (const IniEntry &entry : entries)
        if (auto updated = ini::setValue(*text, entry.section, entry.key, entry.value))
            text = std::move(updated);
    if (!replaceFile(target, *text, exists ? &st : nullptr))
        throw IniWriteError(m_path);
}
