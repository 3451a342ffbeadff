// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/unique_name.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

bool taken(const QString &folder, const QString &name)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(folder + QLatin1Char('/') + name).constData(), &st) == 0;
}

bool takenAt(int dirFd, const std::string &name)
{
    struct stat st {};
    return ::fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
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

std::string freeNameAt(int dirFd, const std::string &name, bool keepExtension, const std::string &mark)
{
    if (mark.empty() && !takenAt(dirFd, name))
        return name;
    const size_t found = keepExtension ? name.rfind('.') : std::string::npos;
    const size_t dot = found != std::string::npos && found > 0 ? found : name.size();
    const std::string stem = name.substr(0, dot);
    const std::string extension = name.substr(dot);
    for (int n = mark.empty() ? 2 : 1;; ++n) {
        const std::string number = n == 1 ? std::string() : std::to_string(n);
        const std::string inside = mark.empty() ? number : number.empty() ? mark : mark + ' ' + number;
        const std::string candidate = stem + " (" + inside + ')' + extension;
        if (!takenAt(dirFd, candidate))
            return candidate;
    }
}
