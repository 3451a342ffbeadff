// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "queue/queue_lines.h"

#include "device/nerolink.h"
#include "queue/job_kinds.h"

QString queueLineText(int32_t kind, const QString &name)
{
    const bool card = kindTarget(kind) == mtCard;
    const QString memory = card ? QStringLiteral("Memory Card") : QStringLiteral("Internal Memory");
    const QString quoted = QLatin1Char('"') + name + QLatin1Char('"');
    if (isDownloadKind(kind))
        return QStringLiteral("Download ") + quoted + QStringLiteral(" to ") + memory;
    if (isUploadKind(kind))
        return QStringLiteral("Upload ") + quoted + QStringLiteral(" in ") + memory + QStringLiteral(" to PC");
    if (isRemoveKind(kind))
        return QStringLiteral("Remove ") + quoted + QStringLiteral(" in ") + memory;
    if (isFormatKind(kind))
        return QStringLiteral("Format ") + memory;
    return QString();
}

QString elapsedText(uint32_t milliseconds)
{
    const uint32_t seconds = milliseconds / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString failedCountText(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 operation failed.")
                      : QStringLiteral("%1 operations failed.").arg(count);
}

QString failedOperationsText(const QStringList &failed, const QString &lead)
{
    constexpr qsizetype kNamed = 10; // so the box always fits on the screen
    QString text = failed.size() == 1 ? QStringLiteral("This operation failed:")
                                      : QStringLiteral("These %1 operations failed:").arg(failed.size());
    text += QStringLiteral("\n\n") + failed.mid(0, kNamed).join(QLatin1Char('\n'));
    if (failed.size() > kNamed)
        text += QStringLiteral("\nand %1 more").arg(failed.size() - kNamed);
    return lead.isEmpty() ? text : lead + QStringLiteral("\n\n") + text;
}
