// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "queue/queue_lines.h"

#include "device/nerolink.h"
#include "queue/job_kinds.h"

#include <QCoreApplication>

QString queueLineText(int32_t kind, const QString &name)
{
    // Whole lines, so that each language words the memory as its sentence needs.
    const bool card = kindTarget(kind) == mtCard;
    if (isDownloadKind(kind)) {
        return (card ? QCoreApplication::translate("Queue", "Download \"%1\" to Memory Card")
                     : QCoreApplication::translate("Queue", "Download \"%1\" to Internal Memory"))
            .arg(name);
    }
    if (isUploadKind(kind)) {
        return (card ? QCoreApplication::translate("Queue", "Upload \"%1\" in Memory Card to PC")
                     : QCoreApplication::translate("Queue", "Upload \"%1\" in Internal Memory to PC"))
            .arg(name);
    }
    if (isRemoveKind(kind)) {
        return (card ? QCoreApplication::translate("Queue", "Remove \"%1\" in Memory Card")
                     : QCoreApplication::translate("Queue", "Remove \"%1\" in Internal Memory"))
            .arg(name);
    }
    if (isFormatKind(kind)) {
        return card ? QCoreApplication::translate("Queue", "Format Memory Card")
                    : QCoreApplication::translate("Queue", "Format Internal Memory");
    }
    return QString();
}

QString elapsedText(uint32_t milliseconds)
{
    const uint32_t seconds = milliseconds / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString failedCountText(qsizetype count)
{
    const int n = int(count);
    return count == 1 ? QCoreApplication::translate("Queue", "%n operation failed.", nullptr, n)
                      : QCoreApplication::translate("Queue", "%n operations failed.", nullptr, n);
}

QString failedOperationsText(const QStringList &failed, const QString &lead)
{
    constexpr qsizetype kNamed = 10; // so the box always fits on the screen
    const int count = int(failed.size());
    QString text = count == 1 ? QCoreApplication::translate("Queue", "This operation failed:")
                              : QCoreApplication::translate("Queue", "These %n operations failed:", nullptr, count);
    text += QStringLiteral("\n\n") + failed.mid(0, kNamed).join(QLatin1Char('\n'));
    if (failed.size() > kNamed)
        text += QLatin1Char('\n') + QCoreApplication::translate("Queue", "and %n more", nullptr, count - int(kNamed));
    return lead.isEmpty() ? text : lead + QStringLiteral("\n\n") + text;
}
