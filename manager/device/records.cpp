// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "device/records.h"

#include <cstring>

std::string fieldText(const char *field, std::size_t size)
{
    const void *nul = std::memchr(field, '\0', size);
    const std::size_t length = nul ? static_cast<const char *>(nul) - field : size;
    return std::string(field, length);
}

std::string displayName(const TFileEntry &entry)
{
    return entry.HasLongName != 0 ? fieldText(entry.LongName) : fieldText(entry.ShortName);
}

namespace {

bool isBlankOrControl(unsigned char c)
{
    return c <= ' ' || c == 0x7f;
}

} // namespace

std::string versionText(const TPlayerVersion &version)
{
    const std::string text = fieldText(version.VersionText);
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlankOrControl(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && isBlankOrControl(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

void setFieldText(char *field, std::size_t size, const std::string &text)
{
    std::size_t length = text.size() < size ? text.size() : size;
    // Step back over continuation bytes so a cut never lands inside a character.
    if (length < text.size()) {
        while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), length);
}

namespace {

constexpr uint32_t kMostFilesHeld = 65535;

} // namespace

void setHeldFileCount(TMemoryInfo &info, uint64_t count)
{
    info.Reserved = static_cast<uint32_t>(count < kMostFilesHeld ? count : kMostFilesHeld);
}

uint32_t unlistedFileCount(const TMemoryInfo &info)
{
    if (info.FileCount != uint32_t(kMaxPlayerFiles) || info.Reserved <= info.FileCount
        || info.Reserved > kMostFilesHeld)
        return 0;
    return info.Reserved - info.FileCount;
}
