// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The player pane's display rules: card state texts, write protection and usage.
#include "player_state.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TMemoryInfo memoryOf(uint32_t files, uint32_t total, uint32_t free)
{
    TMemoryInfo info;
    std::memset(&info, 0, sizeof info);
    info.FileCount = files;
    info.TotalBytes = total;
    info.FreeBytes = free;
    return info;
}

TEST(PlayerStateRules, CardTextsFollowThePriorityOfTheBits)
{
    EXPECT_STREQ(cardStateText(0), "memory card exists");
    EXPECT_STREQ(cardStateText(psWriteProtected | 1 | 32), "memory card exists");
    EXPECT_STREQ(cardStateText(psNoCard), "no memory card");
    EXPECT_STREQ(cardStateText(psNoCard | psWrongCard), "no memory card");
    EXPECT_STREQ(cardStateText(psWrongCard | psCorruptedCard), "wrong memory card");
    EXPECT_STREQ(cardStateText(psCorruptedCard), "currupted memory card");
    EXPECT_FALSE(cardUsable(0xFFFF));
    EXPECT_TRUE(cardUsable(psWriteProtected | 0x100));
    EXPECT_STREQ(writeProtectionText(psWriteProtected), "write protected");
    EXPECT_STREQ(writeProtectionText(psNoCard), "writable");
}

TEST(PlayerStateRules, UsedPercentEdges)
{
    EXPECT_EQ(usedPercent(memoryOf(0, 1000, 10)), 0) << "no files counts as empty";
    EXPECT_EQ(usedPercent(memoryOf(3, 0, 0)), 100) << "no capacity counts as full";
    EXPECT_EQ(usedPercent(memoryOf(1, 1000000, 875000)), 12) << "12.5 rounds to even";
    EXPECT_EQ(usedPercent(memoryOf(1, 1000000, 865000)), 14) << "13.5 rounds to even";
    EXPECT_EQ(usedPercent(memoryOf(1, 1000, 874)), 13);
    EXPECT_EQ(usedPercent(memoryOf(1, 200, 1)), 100) << "99.5 rounds to even";
    EXPECT_EQ(usedPercent(memoryOf(1, 200, 199)), 0) << "0.5 rounds to even";
    EXPECT_EQ(usedPercent(memoryOf(1, 0xFFFFFFFFu, 0)), 100) << "no overflow at full range";
    EXPECT_EQ(usedPercent(memoryOf(1, 0xFFFFFFFFu, 0xFFFFFFFFu / 2)), 50);
    EXPECT_EQ(usedPercent(memoryOf(1, 100, 500)), 0) << "more free than capacity is empty";
}

TEST(PlayerStateRules, UsageLabelsKeepTheirOwnSpelling)
{
    EXPECT_EQ(usageLabel(UsageMemory::Internal, memoryOf(1, 1000000, 875000)),
              "Internal (875 Kb [88%] Free) - 1 File(s)");
    EXPECT_EQ(usageLabel(UsageMemory::Card, memoryOf(2, 1000000, 999)),
              "External (0 kb [0%] Free) - 2 File(s)");
    EXPECT_EQ(usageLabel(UsageMemory::Internal, memoryOf(0, 1000, 10)),
              "Internal (0 Kb [100%] Free) - 0 File(s)");
    EXPECT_EQ(usageLabel(UsageMemory::Card, memoryOf(255, 0xFFFFFFFFu, 0xFFFFFFFFu)),
              "External (4294967 kb [100%] Free) - 255 File(s)");
}

TEST(PlayerStateRules, SizesAreUnsignedAndUngrouped)
{
    EXPECT_EQ(sizeText(0), "0");
    EXPECT_EQ(sizeText(1234567), "1234567");
    EXPECT_EQ(sizeText(2147483648u), "2147483648");
    EXPECT_EQ(sizeText(4294967295u), "4294967295");
}

TEST(PlayerStateRules, NoMoreEntriesAreReadThanTheRecordHolds)
{
    EXPECT_EQ(readableFileCount(memoryOf(7, 0, 0)), 7u);
    EXPECT_EQ(readableFileCount(memoryOf(255, 0, 0)), 255u);
    EXPECT_EQ(readableFileCount(memoryOf(0xFFFFFFFFu, 0, 0)), 255u);
}

} // namespace
