// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/file_clipboard.h"

#include "platform/name_list.h"

#include <QCoreApplication>
#include <QDir>
#include <QMimeData>
#include <QSysInfo>
#include <QUrl>

#include <optional>

namespace {

bool isThisHost(const QString &host)
{
    return host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0
           || host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

// The path url names when it is a whole absolute path on this computer.
std::optional<QString> absoluteLocalPath(const QUrl &url)
{
    if (!url.isValid() || !isThisHost(url.host()) || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    const QString path = url.path(QUrl::FullyDecoded);
    if (!path.startsWith(QLatin1Char('/')) || path.contains(QChar(0)))
        return std::nullopt;
    return QDir::cleanPath(path);
}

} // namespace

QStringList localFilePaths(const QList<QUrl> &urls, QStringList *refused)
{
    QStringList paths;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            continue;
        if (const std::optional<QString> path = absoluteLocalPath(url))
            paths << *path;
        else if (refused)
            *refused << url.toString();
    }
    return paths;
}

QString refusedUrisMessage(const QStringList &refused)
{
    return QCoreApplication::translate("FileClipboard",
                                       "These were left out, as they do not name a file on this computer by its "
                                       "full path:\n")
           + listedNames(refused);
}

QMimeData *makeFileClipboard(const QStringList &paths, bool cut)
{
    QList<QUrl> urls;
    QByteArray gnome = cut ? "cut" : "copy";
    QStringList text;
    for (const QString &path : paths) {
        const QUrl url = QUrl::fromLocalFile(path);
        urls << url;
        gnome += '\n' + url.toEncoded();
        text << QDir::toNativeSeparators(path);
    }
    auto *data = new QMimeData;
    data->setUrls(urls);
    data->setData(QLatin1String(kGnomeFilesMimeType), gnome);
    if (cut)
        data->setData(QLatin1String(kKdeCutMimeType), "1");
    // Pasted into a terminal or an editor, the files read as their paths.
    data->setText(text.join(QLatin1Char('\n')));
    return data;
}

ClipboardFiles readFileClipboard(const QMimeData *data)
{
    ClipboardFiles files;
    if (!data)
        return files;
    QList<QUrl> gnomeUrls;
    const QByteArray gnome = data->data(QLatin1String(kGnomeFilesMimeType));
    const bool hasGnome = !gnome.isEmpty();
    bool gnomeCut = false;
    if (hasGnome) {
        QList<QByteArray> lines = gnome.split('\n');
        gnomeCut = lines.takeFirst().trimmed() == "cut";
        for (const QByteArray &line : lines)
            if (!line.trimmed().isEmpty())
                gnomeUrls << QUrl::fromEncoded(line.trimmed());
    }
    const bool hasKde = data->hasFormat(QLatin1String(kKdeCutMimeType));
    const bool kdeCut = hasKde && data->data(QLatin1String(kKdeCutMimeType)).startsWith('1');
    // A cut moves the files away, so every mark present must say so.
    files.cut = (hasGnome || hasKde) && (!hasGnome || gnomeCut) && (!hasKde || kdeCut);
    files.paths = localFilePaths(data->hasUrls() ? data->urls() : gnomeUrls, &files.refused);
    return files;
}
