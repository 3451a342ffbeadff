// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/drop_choice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

bool deviceOf(const QString &path, dev_t &device)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    device = st.st_dev;
    return true;
}

bool holds(const QString &source, const QString &folder)
{
    return folder == source || folder.startsWith(source.endsWith(QLatin1Char('/')) ? source : source + QLatin1Char('/'));
}

} // namespace

bool onSameFileSystem(const QString &path, const QString &folder)
{
    dev_t a = 0;
    dev_t b = 0;
    return deviceOf(path, a) && deviceOf(folder, b) && a == b;
}

Qt::DropAction chooseDropAction(const QStringList &sources, const QString &folder,
                                Qt::KeyboardModifiers modifiers, Qt::DropActions possible)
{
    if (sources.isEmpty() || folder.isEmpty())
        return Qt::IgnoreAction;
    const QString into = QDir::cleanPath(folder);
    bool allHere = true;
    bool allSameFileSystem = true;
    for (const QString &source : sources) {
        const QString path = QDir::cleanPath(source);
        if (holds(path, into))
            return Qt::IgnoreAction;
        allHere &= QFileInfo(path).path() == into;
        allSameFileSystem &= onSameFileSystem(path, into);
    }
    Qt::DropAction action = allSameFileSystem ? Qt::MoveAction : Qt::CopyAction;
    if (modifiers & Qt::ControlModifier)
        action = Qt::CopyAction;
    else if (modifiers & Qt::ShiftModifier)
        action = Qt::MoveAction;
    if (!(possible & action)) {
        const Qt::DropAction other = action == Qt::MoveAction ? Qt::CopyAction : Qt::MoveAction;
        if (!(possible & other) || modifiers & (Qt::ControlModifier | Qt::ShiftModifier))
            return Qt::IgnoreAction;
        action = other;
    }
    if (action == Qt::MoveAction && allHere)
        return Qt::IgnoreAction;
    return action;
}
