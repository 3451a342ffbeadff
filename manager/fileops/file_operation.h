// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What a copy or move of files into a folder is asked to do, and what came of it.
#pragma once

#include <QString>
#include <QStringList>

struct FileOperation {
    enum Kind { Copy, Move } kind = Copy;
    QStringList sources; // absolute paths
    QString folder;      // where they go, under their own names
};

// The answer to a name that exists in the destination folder.
enum class ClashChoice { Replace, Skip, KeepBoth };

struct ClashQuestion {
    QString name;   // the name taken in folder
    QString folder;
    bool folderTaken = false; // the entry there is a folder
};

struct FileOperationResult {
    enum Outcome { Done, Cancelled, Failed } outcome = Done;
    QString error;      // names the file, when Failed
    QStringList placed; // the names the operation put into the folder
    bool dropped = false; // cancelled while it waited, before it began

    // What an earlier copy into the folder, cut short, had kept aside:
    QStringList putBack;   // back under their own names
    QStringList recovered; // back beside changed entries of their names, under these names
    QStringList stuck;     // could not come back; they stay in its hidden work folder
    // Sources of a move across file systems left where they were, as they
    // changed or gained entries while it ran.
    QStringList leftBehind;
    // Folders an undone operation had put in, kept as entries came into them since.
    QStringList keptOnUndo;
};

// The line for the status bar that names what the operation put back,
// recovered or left behind; empty when there is nothing to say.
QString copyNotice(const FileOperationResult &result);

struct TransferProgress {
    qint64 done = 0;  // bytes copied
    qint64 total = 0; // bytes to copy, once counted
    QString current;  // the file being copied
};
