// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "queue/reservation.h"

#include "queue/job_kinds.h"

#include <algorithm>

SpaceVerdict testDownloadSpace(uint32_t freeBytes, int32_t reserved, int64_t length)
{
    if (length > kMaxJobBytes)
        return SpaceVerdict::TooLarge;
    if (int64_t(freeBytes) - reserved < length)
        return SpaceVerdict::NotEnough;
    if (int64_t(reserved) + length > INT32_MAX)
        return SpaceVerdict::QueueFull;
    return SpaceVerdict::Fits;
}

int32_t clampReservation(int64_t value)
{
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

int64_t queuedDelta(const TCopyJob &job)
{
    if (isDownloadKind(job.Kind))
        return job.Size;
    if (isRemoveKind(job.Kind))
        return -int64_t(job.Size);
    return 0;
}

int32_t settledReservation(int32_t reserved, const TCopyJob &job)
{
    return clampReservation(int64_t(reserved) - queuedDelta(job));
}

int32_t removalCredit(int32_t reserved, int64_t size)
{
    if (size <= 0 || size > kMaxJobBytes || int64_t(reserved) - size < INT32_MIN)
        return 0;
    return int32_t(size);
}

int32_t formatReservation(const TMemoryInfo &info)
{
    const int64_t used = std::max<int64_t>(0, int64_t(info.TotalBytes) - info.FreeBytes);
    return clampReservation(-used);
}

int32_t recomputeReservation(std::span<const TCopyJob *const> jobs, bool headRunning,
                             int32_t target, const TMemoryInfo &info)
{
    int64_t reserved = 0;
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const TCopyJob &job = *jobs[i];
        if (kindTarget(job.Kind) != target)
            continue;
        if (isFormatKind(job.Kind))
            reserved = (i == 0 && headRunning) ? 0 : formatReservation(info);
        else
            reserved += queuedDelta(job);
    }
    return clampReservation(reserved);
}
