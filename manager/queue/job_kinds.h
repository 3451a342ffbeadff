// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What each job kind does: the memory it works on, the one device call it
// makes, and the status text shown while it runs.
#pragma once

#include <QString>

#include <cstdint>

enum class JobAction { Download, Upload, Remove, Format };

// The kind of an action on a memory (mtInternal or mtCard).
int32_t jobKind(JobAction action, int32_t target);

bool isDownloadKind(int32_t kind);
bool isUploadKind(int32_t kind);
bool isRemoveKind(int32_t kind);
bool isFormatKind(int32_t kind);
bool isListenKind(int32_t kind);

// mtInternal or mtCard; 0 for a kind outside 1 to 8 and the two listening kinds.
int32_t kindTarget(int32_t kind);

// "Downloading...", "Uploading...", "Removing..." or "Formatting..." in English;
// empty for a kind outside 1 to 8.
const char *kindStatusText(int32_t kind);
// The same text in the user's language, for the status bar.
QString kindStatusLabel(int32_t kind);

// Makes the kind's one device call. A kind outside 1 to 8 makes no call and
// gives 1. The texts must be NUL-terminated.
int32_t runJobCall(int32_t kind, const char *pcPath, const char *playerName);

// Milliseconds of a steady clock, wrapping at 32 bits: a job's Id.
uint32_t tickCount();
