// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "queue/job_kinds.h"

#include "device/nerolink.h"
#include "queue/copy_job.h"

#include <QCoreApplication>

#include <chrono>

int32_t jobKind(JobAction action, int32_t target)
{
    const int32_t card = target == mtCard ? 1 : 0;
    switch (action) {
    case JobAction::Download: return jkDownloadInternal + card;
    case JobAction::Upload: return jkUploadInternal + card;
    case JobAction::Remove: return jkRemoveInternal + card;
    case JobAction::Format: return jkFormatInternal + card;
    }
    return 0;
}

bool isDownloadKind(int32_t kind) { return kind == jkDownloadInternal || kind == jkDownloadCard; }
bool isUploadKind(int32_t kind) { return kind == jkUploadInternal || kind == jkUploadCard; }
bool isRemoveKind(int32_t kind) { return kind == jkRemoveInternal || kind == jkRemoveCard; }
bool isFormatKind(int32_t kind) { return kind == jkFormatInternal || kind == jkFormatCard; }
bool isListenKind(int32_t kind) { return kind == jkListenInternal || kind == jkListenCard; }

int32_t kindTarget(int32_t kind)
{
    if (isListenKind(kind))
        return kind == jkListenInternal ? mtInternal : mtCard;
    if (kind < jkDownloadInternal || kind > jkFormatCard)
        return 0;
    // Odd kinds work on the internal memory, even kinds on the card.
    return kind % 2 == 1 ? mtInternal : mtCard;
}

const char *kindStatusText(int32_t kind)
{
    if (isDownloadKind(kind))
        return QT_TRANSLATE_NOOP("Queue", "Downloading...");
    if (isUploadKind(kind))
        return QT_TRANSLATE_NOOP("Queue", "Uploading...");
    if (isRemoveKind(kind))
        return QT_TRANSLATE_NOOP("Queue", "Removing...");
    if (isFormatKind(kind))
        return QT_TRANSLATE_NOOP("Queue", "Formatting...");
    if (isListenKind(kind))
        return QT_TRANSLATE_NOOP("Queue", "Copying to listen...");
    return "";
}

QString kindStatusLabel(int32_t kind)
{
    const char *text = kindStatusText(kind);
    return *text ? QCoreApplication::translate("Queue", text) : QString();
}

int32_t runJobCall(int32_t kind, const char *pcPath, const char *playerName)
{
    const int32_t target = kindTarget(kind);
    if (isDownloadKind(kind))
        return dll_fn_download_file(pcPath, target);
    if (isUploadKind(kind) || isListenKind(kind))
        return dll_fn_upload_file(playerName, pcPath, target);
    if (isRemoveKind(kind))
        return dll_fn_delete_file(playerName, target);
    if (isFormatKind(kind))
        return dll_fn_format_device(target);
    return 1;
}

uint32_t tickCount()
{
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}
