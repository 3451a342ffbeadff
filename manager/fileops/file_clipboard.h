// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Files on the desktop clipboard in the formats file managers exchange: a URI
// list, the GNOME marker ("copy" or "cut", then the URIs) and the KDE cut mark,
// so files cut or copied here paste in the desktop's file manager and back.
#pragma once

#include <QStringList>

class QMimeData;

inline constexpr char kUriListMimeType[] = "text/uri-list";
inline constexpr char kGnomeFilesMimeType[] = "x-special/gnome-copied-files";
inline constexpr char kKdeCutMimeType[] = "application/x-kde-cutselection";

struct ClipboardFiles {
    QStringList paths; // local files only, in order
    bool cut = false;
};

// New clipboard contents for paths; the caller owns it until it hands it over.
QMimeData *makeFileClipboard(const QStringList &paths, bool cut);
// The local files data carries, and whether they were cut; no paths when none.
ClipboardFiles readFileClipboard(const QMimeData *data);
