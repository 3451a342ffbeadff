// Reads folders and watches them for changes on a thread of its own, so the
// window's thread never waits on the disk. A listing arrives in batches, the
// first one as soon as a screenful is read; a watched folder reports each
// entry that appears, changes or goes, by name, without being read again.
// Requests are queued calls of the slots; results come back as queued signals.
#pragma once

#include "explorer/file_entry.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <memory>

class QCollator;
class QSocketNotifier;
class QThread;
class QTimer;

class FolderReader : public QObject {
    Q_OBJECT
public:
    // With foldersOnly, files are neither listed nor reported.
    explicit FolderReader(bool foldersOnly);
    ~FolderReader() override;

    // Listings with a ticket below this stop at their next entry. Any thread.
    void cancelBelow(quint64 ticket) { m_cancelBelow.store(ticket); }

    // The keys under which results and requests are handed between the threads.
    const void *resultKey() const { return this; }
    const void *requestKey() const { return &m_cancelBelow; }

public slots:
    // Watches folder, then lists it.
    void list(quint64 ticket, const QString &folder);
    // Stops watching folder and every folder below it.
    void unwatch(const QString &folder);

signals:
    void read(quint64 ticket, const QString &folder, const FileEntries &entries, bool complete);
    // Entries of a watched folder that appeared or changed, and names that went.
    void changed(const QString &folder, const FileEntries &present, const QStringList &gone);
    // A watched folder itself was removed or moved away.
    void folderGone(const QString &folder);
    // The system dropped change events: what is shown must be listed again.
    void eventsLost();

private:
    bool cancelled(quint64 ticket) const { return ticket < m_cancelBelow.load(); }
    bool makeEntry(const QString &folder, const QString &name, FileEntry &entry) const;
    void watch(const QString &folder);
    void readEvents();
    void reportChanges();

    const bool m_foldersOnly;
    std::atomic<quint64> m_cancelBelow{0};
    std::unique_ptr<QCollator> m_collator;
    int m_inotify = -1;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_settle = nullptr;
    QHash<int, QString> m_folderOf; // watch descriptor -> folder
    QHash<QString, int> m_watchOf;
    QHash<QString, QSet<QString>> m_pending; // folder -> names changed since the last report
};

// A FolderReader on a thread of its own for the lifetime of this object; its
// requests are queued to that thread.
class ReaderThread {
public:
    explicit ReaderThread(bool foldersOnly);
    ~ReaderThread();
    ReaderThread(const ReaderThread &) = delete;
    ReaderThread &operator=(const ReaderThread &) = delete;

    // For connecting to its signals and for cancelBelow.
    FolderReader *reader() const { return m_reader; }
    void list(quint64 ticket, const QString &folder);
    void unwatch(const QString &folder);

private:
    QThread *m_thread;
    FolderReader *m_reader;
};

// Reads one entry of folder by name: false when there is none. withType adds
// its MIME type by the name alone.
bool readEntry(const QString &folder, const QString &name, const QCollator &collator,
               bool withType, FileEntry &entry);
// Renames from to to within folder, never over an existing entry; to must be a
// plain name.
bool renameInFolder(const QString &folder, const QString &from, const QString &to);
