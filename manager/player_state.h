// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The player pane's display rules, free of widgets: card state, write
// protection, the used share of a memory and the usage label. The texts
// come in the user's language; the two state texts in English, for playerStateText.
#pragma once

#include "device/nerolink.h"

#include <QString>

#include <cstdint>
#include <string>

// Bits that make the memory card unusable: no card, corrupted card, wrong card.
constexpr uint32_t kCardUnusableMask = psNoCard | psCorruptedCard | psWrongCard;

inline bool cardUsable(uint32_t status)
{
    return (status & kCardUnusableMask) == 0;
}

// Status bar panel 1 for a status.
const char *cardStateText(uint32_t status);
// Status bar panel 2 for a status.
const char *writeProtectionText(uint32_t status);
// A text of the two above in the user's language.
QString playerStateText(const char *text);

// Percentage of the memory in use: 0 without files, 100 without capacity,
// else the used share rounded to the nearest integer, halves to even.
int usedPercent(const TMemoryInfo &info);

enum class UsageMemory { Internal, Card };
// "Internal (%d Kb [%d%%] Free) - %d File(s)" or the card's "External (... kb ...)".
std::string usageLabel(UsageMemory memory, const TMemoryInfo &info);

// The Size column: plain unsigned decimal bytes.
std::string sizeText(uint32_t size);

// The number of entries of a record that may be read.
inline uint32_t readableFileCount(const TMemoryInfo &info)
{
    return info.FileCount < kMaxPlayerFiles ? info.FileCount : uint32_t(kMaxPlayerFiles);
}

// Status bar panel 3 when a refresh could not list every file of a memory
// (counts of files beyond the lists); "" when both are 0.
std::string hiddenFilesStatus(uint32_t internalHidden, uint32_t cardHidden);

// The line a format question adds for a memory whose list hides files; ""
// when it hides none. memory is "Internal Memory" or "Memory Card".
std::string formatErasesText(const std::string &memory, const TMemoryInfo &info);
