// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Copies or moves files and folders into a folder, free of widgets and meant to
// run off the window's thread. An operation is whole or not at all: each item is
// copied in full in a hidden work folder before it takes its own name, an item
// it replaces is kept aside there until every item is in, and a cancel or a
// failure puts back everything it had done. What a copy cut short left there
// is put back by the next copy into the folder. A move within one file system renames; across
// file systems it copies, syncs, and only then removes each source that is
// still what was copied.
#pragma once

#include "fileops/file_operation.h"
#include "fileops/tree_copy.h"
#include "fileops/work_folder.h"

#include <QCoreApplication>

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/types.h>

struct CopyContext;

class FileCopier {
    Q_DECLARE_TR_FUNCTIONS(FileCopier)

public:
    // Asked on the copier's thread for each name already taken in the folder.
    std::function<ClashChoice(const ClashQuestion &)> askClash;

    // From any thread: the operation stops at its next step and is undone.
    void cancel() { m_cancel.store(true); }
    bool isCancelled() const { return m_cancel.load(); }
    // Before the next operation, after a cancel.
    void resetCancel() { m_cancel.store(false); }
    // From any thread.
    TransferProgress progress() const;

    FileOperationResult run(const FileOperation &operation);

private:
    enum class Step { Placed, Skipped, Stop };
    struct Placed {
        std::string name;        // in the folder
        std::string backup;      // what it replaced, kept aside at this path until the end
        int item = 0;            // the work folder's item that keeps it aside
        std::string movedFrom;   // renamed here from this path
        std::string removeAfter; // copied here from this path, to remove once all is in
        struct stat placedAs {}; // what went in under name
        CopiedEntry copied;      // what was read from removeAfter
        CopiedEntry made;        // a folder copied in: what it held as placed
    };
    struct Run {
        const FileOperation *operation = nullptr;
        std::string folder;
        // The folder as opened at the start, reached by this path whatever
        // becomes of its name meanwhile; folder where /proc is missing.
        std::string base;
        UniqueFd folderFd;
        std::string folderReal;
        dev_t device = 0;
        ino_t inode = 0;
        std::vector<Placed> placed;
        QString error;
        std::optional<WorkFolder> work;
        int items = 0; // entries made in work so far
        RestoreReport restored; // by the sweep, and what an undo could not put back
        std::vector<std::string> leftBehind; // sources of a move that changed while it ran
        std::vector<std::string> keptOnUndo; // copied folders that gained entries
    };

    bool open(Run &run);
    Step placeOne(Run &run, const std::string &source);
    bool chooseName(Run &run, const std::string &source, bool isDir, bool sameFolder,
                    std::string &name, bool &replace, Step &step);
    Step renameInto(Run &run, const std::string &source, Placed &placed, bool &crossDevice);
    Step copyInto(Run &run, const std::string &source, Placed &placed, bool replace);
    bool replaceWith(Run &run, const std::string &from, const std::string &target, Placed &placed);
    void notePlaced(Run &run, Placed &placed);
    void undo(Run &run);
    void finish(Run &run);
    static void report(const Run &run, FileOperationResult &result);
    Step failed(Run &run, const std::string &path, const QString &reason);
    CopyContext context();
    void countBytes(const Run &run);

    std::atomic<bool> m_cancel{false};
    std::atomic<qint64> m_done{0};
    std::atomic<qint64> m_total{0};
    mutable std::mutex m_lock; // guards m_current
    QString m_current;
};
