// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One queued player operation and the kinds of operation.
#pragma once

#include <cstdint>

enum TJobKind : int32_t {
    jkDownloadInternal = 1,
    jkDownloadCard = 2,
    jkUploadInternal = 3,
    jkUploadCard = 4,
    jkRemoveInternal = 5,
    jkRemoveCard = 6,
    jkFormatInternal = 7,
    jkFormatCard = 8,
    // A player file copied into the listening cache, then played.
    jkListenInternal = 11,
    jkListenCard = 12,
};

constexpr int kPcPathSize = 260;    // at most 259 characters of text
constexpr int kPlayerNameSize = 16; // at most 15 characters of text

struct TCopyJob {
    uint32_t Id = 0;
    char PcPath[kPcPathSize] = {};
    char PlayerName[kPlayerNameSize] = {};
    int32_t Kind = 0;
    int32_t Size = 0;
};
