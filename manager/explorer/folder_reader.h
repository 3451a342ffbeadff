// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Reads folders and watches them for changes on a thread of its own, so the
// window's thread never waits on the disk. A listing arrives in batches, the
// first one as soon as a screenful is read; a watched folder reports each
// entry that appears, changes or goes, by name, without being read again.
// Requests and results pass through queues under one lock; queued signals
// without arguments only say that there is something to take.
#pragma once

#include "explorer/file_entry.h"

#include <QFile>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

class QCollator;
class QSocketNotifier;
class QThread;
class QTimer;

struct FolderResult {
    enum Kind {
        Listed,  // entries of a listing; complete with its last batch
        Changed, // entries of a watched folder that appeared or changed, and names that went
        Gone,    // the watched folder itself was removed or moved away
        Lost,    // the system dropped change events: what is shown must be listed again
    } kind = Listed;
    quint64 ticket = 0;
    QString folder;
    FileEntries entries;
    QList<QByteArray> gone; // names' bytes, as FileEntry::raw
    bool complete = false;
};

class FolderReader : public QObject {
    Q_OBJECT
public:
    // With foldersOnly, files are neither listed nor reported.
    explicit FolderReader(bool foldersOnly);
    ~FolderReader() override;

    // These four may be called from any thread.
    // Listings with a ticket below this stop at their next entry.
    void cancelBelow(quint64 ticket) { m_cancelBelow.store(ticket); }
    // Watches folder, then lists it.
    void list(quint64 ticket, const QString &folder);
    // Stops watching folder and every folder below it.
    void unwatch(const QString &folder);
    std::vector<FolderResult> takeResults();

signals:
    void resultsReady();
    void requested(); // to the reader's own thread

private:
    struct Request {
        quint64 ticket = 0; // 0 to unwatch
        QString folder;
    };

    void handleRequests();
    void read(quint64 ticket, const QString &folder);
    void post(FolderResult result);
    bool cancelled(quint64 ticket) const { return ticket < m_cancelBelow.load(); }
    bool makeEntry(const QString &folder, const QByteArray &raw, FileEntry &entry) const;
    void watch(const QString &folder);
    void stopWatching(const QString &folder);
    void readEvents();
    void reportChanges();

    const bool m_foldersOnly;
    std::atomic<quint64> m_cancelBelow{0};
    std::mutex m_lock; // guards the two queues
    std::deque<Request> m_requests;
    std::vector<FolderResult> m_results;

    std::unique_ptr<QCollator> m_collator;
    int m_inotify = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_settle = nullptr;
    QHash<int, QString> m_folderOf; // watch descriptor -> folder
    QHash<QString, int> m_watchOf;
    QHash<QString, QSet<QByteArray>> m_pending; // folder -> names changed since the last report
};

// What a model does with the reader's results, on the model's thread.
class FolderResultSink {
public:
    virtual void takeListing(quint64 ticket, const QString &folder, FileEntries entries, bool complete) = 0;
    // gone holds the names' bytes, as FileEntry::raw.
    virtual void takeChanges(const QString &folder, FileEntries present, const QList<QByteArray> &gone) = 0;
    virtual void takeGone(const QString &folder) = 0;
    // Events were lost: what is shown must be listed again.
    virtual void takeLost() = 0;

protected:
    ~FolderResultSink() = default;
};

// A FolderReader on a thread of its own for the lifetime of this object; its
// results go to sink on context's thread.
class ReaderThread {
public:
    ReaderThread(bool foldersOnly, QObject *context, FolderResultSink *sink);
    ~ReaderThread();
    ReaderThread(const ReaderThread &) = delete;
    ReaderThread &operator=(const ReaderThread &) = delete;

    FolderReader *reader() const { return m_reader; }

private:
    QThread *m_thread;
    FolderReader *m_reader;
};

// Reads one entry of folder by its name's bytes (as FileEntry::raw): false when
// there is none. withType adds its MIME type by the name alone.
bool readRawEntry(const QString &folder, const QByteArray &raw, const QCollator &collator,
                  bool withType, FileEntry &entry);
inline bool readEntry(const QString &folder, const QString &name, const QCollator &collator,
                      bool withType, FileEntry &entry)
{
    return readRawEntry(folder, QFile::encodeName(name), collator, withType, entry);
}
// Renames the entry whose name has the bytes from to to within folder, never
// over an existing entry; to must be a plain name.
bool renameRawInFolder(const QString &folder, const QByteArray &from, const QString &to);
inline bool renameInFolder(const QString &folder, const QString &from, const QString &to)
{
    return renameRawInFolder(folder, QFile::encodeName(from), to);
}
