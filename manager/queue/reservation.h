// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Space reserved on a player memory by queued jobs: the bytes of the
// downloads still queued for it, less the bytes of the removals still queued
// for it, and, while a format of it is queued, minus its whole used space.
// The reservation is a signed 32-bit number, but every sum here is taken in
// 64 bits: what would not fit is refused, or clamped to the side that
// promises less free space, never wrapped.
#pragma once

#include "device/nerolink.h"
#include "queue/copy_job.h"

#include <cstdint>
#include <span>

// The largest file a job can carry: its Size is a signed 32-bit count.
inline constexpr int64_t kMaxJobBytes = INT32_MAX;

enum class SpaceVerdict {
    Fits,
    TooLarge,  // 2 GiB or more: the file cannot be represented in a job
    NotEnough, // free bytes less the reservation are fewer than the file's length
    QueueFull, // it fits, but the reservation would pass the 32-bit range
};

// The space test of a download of length bytes (length >= 0).
SpaceVerdict testDownloadSpace(uint32_t freeBytes, int32_t reserved, int64_t length);

// value brought into the 32-bit range.
int32_t clampReservation(int64_t value);

// The change a job makes to its memory's reservation when it is queued:
// + Size for a download, - Size for a removal, 0 for the others (a format
// sets the reservation instead, see formatReservation).
int64_t queuedDelta(const TCopyJob &job);

// reserved after the job has completed or been cancelled (a download gives
// its bytes back, a removal takes its credit back; other kinds leave it).
int32_t settledReservation(int32_t reserved, const TCopyJob &job);

// The bytes of credit a removal of size bytes may take: size itself, or 0
// when size does not fit a job or would carry the reservation out of range.
// The removal still runs; downloads behind it just do not count on its space.
int32_t removalCredit(int32_t reserved, int64_t size);

// The reservation while a format of the memory is queued: minus its used bytes.
int32_t formatReservation(const TMemoryInfo &info);

// The reservation of the memory target recomputed from the jobs of the queue,
// head first. When headRunning, jobs[0] has started: a running format has
// already cleared the reservation, so it counts nothing.
int32_t recomputeReservation(std::span<const TCopyJob *const> jobs, bool headRunning,
                             int32_t target, const TMemoryInfo &info);
