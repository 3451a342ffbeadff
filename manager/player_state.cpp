// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "player_state.h"

#include "device/records.h"

#include <QCoreApplication>

#include <algorithm>
#include <climits>

namespace {

const char kContext[] = "PlayerState";

// Qt's plural forms count in int; a record claiming more files than that is corrupt anyway.
int pluralCount(uint32_t count)
{
    return int(std::min<uint32_t>(count, INT_MAX));
}

QString translated(const char *text, uint32_t count)
{
    return QCoreApplication::translate(kContext, text, nullptr, pluralCount(count));
}

} // namespace

const char *cardStateText(uint32_t status)
{
    if (cardUsable(status))
        return QT_TRANSLATE_NOOP("PlayerState", "memory card exists");
    if (status & psNoCard)
        return QT_TRANSLATE_NOOP("PlayerState", "no memory card");
    if (status & psWrongCard)
        return QT_TRANSLATE_NOOP("PlayerState", "wrong memory card");
    return QT_TRANSLATE_NOOP("PlayerState", "currupted memory card");
}

const char *writeProtectionText(uint32_t status)
{
    return (status & psWriteProtected) ? QT_TRANSLATE_NOOP("PlayerState", "write protected")
                                       : QT_TRANSLATE_NOOP("PlayerState", "writable");
}

QString playerStateText(const char *text)
{
    return QCoreApplication::translate(kContext, text);
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
                             ? QT_TRANSLATE_N_NOOP("PlayerState", "Internal (%1 Kb [%2%] Free) - %n File(s)")
                             : QT_TRANSLATE_N_NOOP("PlayerState", "External (%1 kb [%2%] Free) - %n File(s)");
    return translated(format, info.FileCount)
        .arg(QString::number(info.FreeBytes / 1000), QString::number(100 - usedPercent(info)))
        .toStdString();
}

std::string sizeText(uint32_t size)
{
    return std::to_string(size);
}

std::string hiddenFilesStatus(uint32_t internalHidden, uint32_t cardHidden)
{
    if (internalHidden > 0 && cardHidden > 0) {
        const char *text =
            internalHidden == 1
                ? QT_TRANSLATE_N_NOOP("PlayerState", "%n file on Internal Memory and %1 on Memory Card are not "
                                                     "listed: the player lists %2 files per memory at most.")
                : QT_TRANSLATE_N_NOOP("PlayerState", "%n files on Internal Memory and %1 on Memory Card are not "
                                                     "listed: the player lists %2 files per memory at most.");
        return translated(text, internalHidden)
            .arg(QString::number(cardHidden), QString::number(kMaxPlayerFiles))
            .toStdString();
    }
    const char *text = nullptr;
    if (internalHidden > 0) {
        text = internalHidden == 1
                   ? QT_TRANSLATE_N_NOOP("PlayerState", "%n file on Internal Memory is not listed: the player "
                                                        "lists %1 files per memory at most.")
                   : QT_TRANSLATE_N_NOOP("PlayerState", "%n files on Internal Memory are not listed: the player "
                                                        "lists %1 files per memory at most.");
    } else if (cardHidden > 0) {
        text = cardHidden == 1
                   ? QT_TRANSLATE_N_NOOP("PlayerState", "%n file on Memory Card is not listed: the player lists "
                                                        "%1 files per memory at most.")
                   : QT_TRANSLATE_N_NOOP("PlayerState", "%n files on Memory Card are not listed: the player lists "
                                                        "%1 files per memory at most.");
    } else {
        return {};
    }
    return translated(text, internalHidden + cardHidden).arg(kMaxPlayerFiles).toStdString();
}

// A memory hides files only when its list is full, so it always holds more than one.
std::string formatErasesText(const std::string &memory, const TMemoryInfo &info)
{
    const uint32_t hidden = unlistedFileCount(info);
    if (hidden == 0)
        return {};
    const char *text =
        hidden == 1 ? QT_TRANSLATE_N_NOOP("PlayerState",
                                          "%1 holds %2 files; %n of them is not listed and will be erased too.")
                    : QT_TRANSLATE_N_NOOP("PlayerState",
                                          "%1 holds %2 files; %n of them are not listed and will be erased too.");
    return translated(text, hidden)
        .arg(QString::fromStdString(memory), QString::number(info.FileCount + hidden))
        .toStdString();
}
