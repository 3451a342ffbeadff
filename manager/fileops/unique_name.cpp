// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/unique_name.h"

#include <QFile>

#include <sys/stat.h>

namespace {

bool taken(const QString &folder, const QString &name)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(folder + QLatin1Char('/') + name).constData(), &st) == 0;
}

} // namespace

QString freeName(const QString &folder, const QString &name, bool keepExtension)
{
    if (!taken(folder, name))
        return name;
    // A leading dot starts a hidden name, not an extension.
    const qsizetype dot = keepExtension ? name.lastIndexOf(QLatin1Char('.')) : -1;
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2;; ++n) {
        const QString candidate = QStringLiteral("%1 (%2)%3").arg(stem, QString::number(n), extension);
        if (!taken(folder, candidate))
            return candidate;
    }
}
