// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "player_state.h"

#include "device/records.h"

#include <cstdio>

const char *cardStateText(uint32_t status)
{
    if (cardUsable(status))
        return "memory card exists";
    if (status & psNoCard)
        return "no memory card";
    if (status & psWrongCard)
        return "wrong memory card";
    return "currupted memory card";
}

const char *writeProtectionText(uint32_t status)
{
    return (status & psWriteProtected) ? "write protected" : "writable";
}

int usedPercent(const TMemoryInfo &info)
{
    if (info.FileCount == 0)
        return 0;
    if (info.TotalBytes == 0)
        return 100;
    // Exact integer arithmetic, so a true half is never mistaken for a near half.
    // A record claiming more free bytes than capacity counts as empty.
    const uint64_t total = info.TotalBytes;
    const uint64_t used = info.FreeBytes >= info.TotalBytes ? 0 : total - info.FreeBytes;
    const uint64_t scaled = used * 100;
    uint64_t percent = scaled / total;
    const uint64_t twiceRest = (scaled % total) * 2;
    if (twiceRest > total || (twiceRest == total && percent % 2 == 1))
        ++percent;
    return int(percent);
}

std::string usageLabel(UsageMemory memory, const TMemoryInfo &info)
{
    const char *format = memory == UsageMemory::Internal
                             ? "Internal (%u Kb [%d%%] Free) - %u File(s)"
                             : "External (%u kb [%d%%] Free) - %u File(s)";
    char text[96];
    std::snprintf(text, sizeof text, format, unsigned(info.FreeBytes / 1000),
                  100 - usedPercent(info), unsigned(info.FileCount));
    return text;
}

std::string sizeText(uint32_t size)
{
    return std::to_string(size);
}

namespace {

std::string filesText(uint32_t count)
{
    return std::to_string(count) + (count == 1 ? " file" : " files");
}

} // namespace

std::string hiddenFilesStatus(uint32_t internalHidden, uint32_t cardHidden)
{
    if (internalHidden == 0 && cardHidden == 0)
        return {};
    std::string text;
    if (internalHidden > 0)
        text = filesText(internalHidden) + " on Internal Memory";
    if (cardHidden > 0)
        text += (text.empty() ? filesText(cardHidden) : " and " + std::to_string(cardHidden))
            + " on Memory Card";
    const bool one = internalHidden + cardHidden == 1;
    return text + (one ? " is" : " are") + " not listed: the player lists "
        + std::to_string(kMaxPlayerFiles) + " files per memory at most.";
}

std::string formatErasesText(const std::string &memory, const TMemoryInfo &info)
{
    const uint32_t hidden = unlistedFileCount(info);
    if (hidden == 0)
        return {};
    return memory + " holds " + filesText(info.FileCount + hidden) + "; " + std::to_string(hidden)
        + (hidden == 1 ? " of them is" : " of them are") + " not listed and will be erased too.";
}
