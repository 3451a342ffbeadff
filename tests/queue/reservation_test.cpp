// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The space test and the reservations, with the 2 GiB and 32-bit edges.
#include "queue/reservation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

constexpr int64_t k2GiB = int64_t(1) << 31;

TCopyJob job(int32_t kind, int32_t size = 0)
{
    TCopyJob j;
    j.Kind = kind;
    j.Size = size;
    return j;
}

TMemoryInfo memory(uint32_t total, uint32_t free)
{
    TMemoryInfo info;
    std::memset(&info, 0, sizeof info);
    info.TotalBytes = total;
    info.FreeBytes = free;
    return info;
}

TEST(SpaceTest, FreeLessReservedAgainstTheLength)
{
    EXPECT_EQ(testDownloadSpace(1000, 0, 1000), SpaceVerdict::Fits);
    EXPECT_EQ(testDownloadSpace(1000, 0, 1001), SpaceVerdict::NotEnough);
    EXPECT_EQ(testDownloadSpace(1000, 400, 600), SpaceVerdict::Fits);
    EXPECT_EQ(testDownloadSpace(1000, 400, 601), SpaceVerdict::NotEnough);
    EXPECT_EQ(testDownloadSpace(1000, -500, 1500), SpaceVerdict::Fits)
        << "a queued removal's bytes count at once";
    EXPECT_EQ(testDownloadSpace(0, 0, 0), SpaceVerdict::Fits) << "0 bytes fit with nothing free";
    EXPECT_EQ(testDownloadSpace(0, 1, 0), SpaceVerdict::NotEnough);
}

TEST(SpaceTest, LargeFreeSpaceIsNotReadAsNegative)
{
    // 3.5 GiB free would be negative as a signed 32-bit number.
    const uint32_t free = 0xE0000000u;
    EXPECT_EQ(testDownloadSpace(free, 0, 1000), SpaceVerdict::Fits);
    EXPECT_EQ(testDownloadSpace(free, 0, k2GiB - 1), SpaceVerdict::Fits);
}

TEST(SpaceTest, FilesOf2GiBOrMoreCannotBeQueued)
{
    EXPECT_EQ(testDownloadSpace(0xFFFFFFFFu, 0, k2GiB), SpaceVerdict::TooLarge);
    EXPECT_EQ(testDownloadSpace(0xFFFFFFFFu, 0, 5 * k2GiB), SpaceVerdict::TooLarge)
        << "a length whose low 32 bits are small must not pass";
    EXPECT_EQ(testDownloadSpace(0, 0, k2GiB + 10), SpaceVerdict::TooLarge);
}

TEST(SpaceTest, AReservationThatWouldPassTheRangeIsRefused)
{
    const uint32_t free = 0xF0000000u;
    EXPECT_EQ(testDownloadSpace(free, INT32_MAX - 10, 10), SpaceVerdict::Fits);
    EXPECT_EQ(testDownloadSpace(free, INT32_MAX - 10, 11), SpaceVerdict::QueueFull);
    EXPECT_EQ(testDownloadSpace(free, 0x60000000, 0x30000000), SpaceVerdict::QueueFull);
}

TEST(Reservation, QueueAndSettleAreOpposite)
{
    const TCopyJob download = job(jkDownloadCard, 700);
    const TCopyJob removal = job(jkRemoveInternal, 300);
    EXPECT_EQ(queuedDelta(download), 700);
    EXPECT_EQ(queuedDelta(removal), -300);
    EXPECT_EQ(settledReservation(1000, download), 300);
    EXPECT_EQ(settledReservation(-300, removal), 0);
    for (int32_t kind : {int32_t(jkUploadInternal), int32_t(jkUploadCard), int32_t(jkFormatInternal), int32_t(jkFormatCard), 0, 9}) {
        EXPECT_EQ(queuedDelta(job(kind, 500)), 0) << kind;
        EXPECT_EQ(settledReservation(123, job(kind, 500)), 123) << kind;
    }
}

TEST(Reservation, SettlingNeverWraps)
{
    EXPECT_EQ(settledReservation(INT32_MIN + 5, job(jkDownloadInternal, 100)), INT32_MIN);
    EXPECT_EQ(settledReservation(INT32_MAX - 5, job(jkRemoveInternal, 100)), INT32_MAX);
    EXPECT_EQ(clampReservation(int64_t(1) << 40), INT32_MAX);
    EXPECT_EQ(clampReservation(-(int64_t(1) << 40)), INT32_MIN);
}

TEST(Reservation, RemovalCreditOnlyWhatFits)
{
    EXPECT_EQ(removalCredit(0, 5000), 5000);
    EXPECT_EQ(removalCredit(0, 0), 0);
    EXPECT_EQ(removalCredit(0, k2GiB - 1), INT32_MAX);
    EXPECT_EQ(removalCredit(0, k2GiB), 0) << "a file of 2 GiB or more earns no credit";
    EXPECT_EQ(removalCredit(0, 0xFFFFFFFFll), 0);
    EXPECT_EQ(removalCredit(INT32_MIN + 100, 100), 100);
    EXPECT_EQ(removalCredit(INT32_MIN + 100, 101), 0) << "credit would pass the range";
}

TEST(Reservation, FormatCountsMinusTheUsedBytes)
{
    EXPECT_EQ(formatReservation(memory(1000, 250)), -750);
    EXPECT_EQ(formatReservation(memory(1000, 1000)), 0);
    EXPECT_EQ(formatReservation(memory(1000, 4000)), 0) << "more free than capacity is no use";
    EXPECT_EQ(formatReservation(memory(0xFFFFFFFFu, 0x10u)), INT32_MIN)
        << "more than 2 GiB used is clamped, promising less space, not wrapped to positive";
}

TEST(Reservation, RecomputedFromTheQueue)
{
    const TMemoryInfo internal = memory(10000, 4000); // 6000 used
    const TCopyJob format = job(jkFormatInternal);
    const TCopyJob down1 = job(jkDownloadInternal, 700);
    const TCopyJob down2 = job(jkDownloadCard, 900);
    const TCopyJob rem = job(jkRemoveInternal, 200);
    const TCopyJob up = job(jkUploadInternal, 12345);

    const std::vector<const TCopyJob *> behindFormat = {&format, &down1, &down2, &rem, &up};
    EXPECT_EQ(recomputeReservation(behindFormat, false, mtInternal, internal), -6000 + 700 - 200);
    EXPECT_EQ(recomputeReservation(behindFormat, false, mtCard, internal), 900);
    EXPECT_EQ(recomputeReservation(behindFormat, true, mtInternal, internal), 700 - 200)
        << "a running format has cleared the reservation";

    const std::vector<const TCopyJob *> withoutFormat = {&down1, &down2, &rem, &up};
    EXPECT_EQ(recomputeReservation(withoutFormat, false, mtInternal, internal), 500);
    EXPECT_EQ(recomputeReservation(withoutFormat, true, mtInternal, internal), 500)
        << "a running download still holds its bytes";
    EXPECT_EQ(recomputeReservation({}, false, mtInternal, internal), 0);
}

} // namespace
