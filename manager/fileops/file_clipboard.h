// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Files on the desktop clipboard in the formats file managers exchange: a URI
// list, the GNOME marker ("copy" or "cut", then the URIs) and the KDE cut mark,
// so files cut or copied here paste in the desktop's file manager and back.
#pragma once

#include <QList>
#include <QStringList>

class QMimeData;
class QUrl;

inline constexpr char kUriListMimeType[] = "text/uri-list";
inline constexpr char kGnomeFilesMimeType[] = "x-special/gnome-copied-files";
inline constexpr char kKdeCutMimeType[] = "application/x-kde-cutselection";

struct ClipboardFiles {
    QStringList paths;   // absolute local paths only, in order
    QStringList refused; // file URIs that name no such path, as written
    bool cut = false;
};

// The absolute local paths urls name, in order. A file URI that names none
// (a relative path, a NUL that would cut the path short, another host, a query
// or fragment that would be dropped) is added to refused as written. Links of
// other schemes are not files and are passed over.
QStringList localFilePaths(const QList<QUrl> &urls, QStringList *refused);
// The one message that names the refused URIs.
QString refusedUrisMessage(const QStringList &refused);

// New clipboard contents for paths; the caller owns it until it hands it over.
QMimeData *makeFileClipboard(const QStringList &paths, bool cut);
// The local files data carries, and whether they were cut; no paths when none.
ClipboardFiles readFileClipboard(const QMimeData *data);
