// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/file_clipboard.h"

#include <QDir>
#include <QMimeData>
#include <QUrl>

namespace {

QStringList localPaths(const QList<QUrl> &urls)
{
    QStringList paths;
    for (const QUrl &url : urls)
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths << QDir::cleanPath(url.toLocalFile());
    return paths;
}

} // namespace

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
    files.paths = localPaths(data->hasUrls() ? data->urls() : gnomeUrls);
    return files;
}
