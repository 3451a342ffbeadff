// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "explorer/folder_reader.h"

#include "queue/tsan_order.h"

#include <QCollator>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeDatabase>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <limits>
#include <mutex>
#include <vector>

#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The first batch fills a screen at once; later ones come seldom enough that the
// views' relayout after each stays a small share of the window's time.
constexpr size_t kFirstBatch = 256;
constexpr size_t kBatch = 8192;
constexpr qint64 kBatchIntervalMs = 150;
// Change events are gathered this long, so a burst of them is reported together.
constexpr int kSettleMs = 50;
// How long going away waits for a reader busy with the file system.
constexpr int kStuckReaderMs = 1000;

qint64 modifiedMs(const struct stat &st)
{
    return qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

// Follows links as the user sees them; a dangling link is shown as itself.
bool statAt(int dirFd, const char *name, struct stat &st)
{
    return ::fstatat(dirFd, name, &st, 0) == 0 || ::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0;
}

// Holds the reader's lock. Qt may call into us on a thread where ThreadSanitizer
// does not see locks taken, so the order is also stated to it.
class QueueLock {
public:
    explicit QueueLock(std::mutex &lock) : m_lock(lock)
    {
        m_lock.lock();
        orderedAfter(&m_lock);
    }
    ~QueueLock()
    {
        orderedBefore(&m_lock);
        m_lock.unlock();
    }
    QueueLock(const QueueLock &) = delete;
    QueueLock &operator=(const QueueLock &) = delete;

private:
    std::mutex &m_lock;
};

} // namespace

bool readRawEntry(const QString &folder, const QByteArray &raw, const QCollator &collator,
                  bool withType, FileEntry &entry)
{
    struct stat st {};
    const QByteArray path = QFile::encodeName(folder) + '/' + raw;
    if (raw.isEmpty() || !statAt(AT_FDCWD, path.constData(), st))
        return false;
    const QString name = QFile::decodeName(raw);
    entry.name = name;
    entry.raw = raw;
    entry.key = nameKey(collator, name);
    entry.dir = S_ISDIR(st.st_mode);
    entry.size = entry.dir ? 0 : st.st_size;
    entry.modified = modifiedMs(st);
    if (!entry.dir && withType)
        entry.mimeName = QMimeDatabase().mimeTypeForFile(name, QMimeDatabase::MatchExtension).name();
    return true;
}

bool renameRawInFolder(const QString &folder, const QByteArray &from, const QString &to)
{
    if (from.isEmpty() || to.isEmpty() || to == QLatin1String(".") || to == QLatin1String("..")
        || to.contains(QLatin1Char('/')) || to.contains(QChar(0)))
        return false;
    const QByteArray source = QFile::encodeName(folder) + '/' + from;
    const QByteArray target = QFile::encodeName(folder + QLatin1Char('/') + to);
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without the no-replace flag: look first.
    struct stat st {};
    return ::lstat(target.constData(), &st) != 0 && ::rename(source.constData(), target.constData()) == 0;
}

FolderReader::FolderReader(bool foldersOnly) : m_foldersOnly(foldersOnly)
{
    connect(this, &FolderReader::requested, this, &FolderReader::handleRequests, Qt::QueuedConnection);
}

FolderReader::~FolderReader()
{
    orderedAfter(this);
    const QueueLock lock(m_lock);
    m_requests.clear();
    m_results.clear();
    if (m_inotify >= 0)
        ::close(m_inotify);
}

void FolderReader::list(quint64 ticket, const QString &folder)
{
    {
        const QueueLock lock(m_lock);
        m_requests.push_back({ticket, folder});
    }
    emit requested();
}

void FolderReader::unwatch(const QString &folder)
{
    {
        const QueueLock lock(m_lock);
        m_requests.push_back({0, folder});
    }
    emit requested();
}

std::vector<FolderResult> FolderReader::takeResults()
{
    const QueueLock lock(m_lock);
    return std::exchange(m_results, {});
}

void FolderReader::post(FolderResult result)
{
    bool first = false;
    {
        const QueueLock lock(m_lock);
        first = m_results.empty();
        m_results.push_back(std::move(result));
    }
    if (first)
        emit resultsReady();
}

void FolderReader::handleRequests()
{
    for (;;) {
        Request request;
        {
            const QueueLock lock(m_lock);
            if (m_requests.empty())
                return;
            request = std::move(m_requests.front());
            m_requests.pop_front();
        }
        if (request.ticket == 0)
            stopWatching(request.folder);
        else
            read(request.ticket, request.folder);
    }
}

void FolderReader::read(quint64 ticket, const QString &folder)
{
    if (cancelled(ticket))
        return;
    if (!m_collator) {
        m_collator = std::make_unique<QCollator>();
        m_collator->setCaseSensitivity(Qt::CaseInsensitive);
        m_collator->setNumericMode(true);
    }
    watch(folder);
    const QMimeDatabase mimes;
    FileEntries batch;
    const auto send = [&](bool complete) {
        std::sort(batch.begin(), batch.end(), nameOrderLess);
        post({FolderResult::Listed, ticket, folder, std::exchange(batch, {}), {}, complete});
    };
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) {
        send(true);
        return;
    }
    const int dirFd = ::dirfd(dir);
    QElapsedTimer sinceBatch;
    sinceBatch.start();
    bool firstSent = false;
    while (const dirent *d = ::readdir(dir)) {
        if (cancelled(ticket))
            break;
        const char *raw = d->d_name;
        if (raw[0] == '.' && (raw[1] == 0 || (raw[1] == '.' && raw[2] == 0)))
            continue;
        FileEntry entry;
        struct stat st {};
        if (m_foldersOnly && d->d_type == DT_DIR) {
            entry.dir = true;
        } else if (m_foldersOnly && d->d_type != DT_LNK && d->d_type != DT_UNKNOWN) {
            continue;
        } else if (!statAt(dirFd, raw, st)) {
            continue;
        } else {
            entry.dir = S_ISDIR(st.st_mode);
            if (m_foldersOnly && !entry.dir)
                continue;
            entry.size = entry.dir ? 0 : st.st_size;
            entry.modified = modifiedMs(st);
        }
        entry.raw = QByteArray(raw);
        entry.name = QFile::decodeName(entry.raw);
        entry.key = nameKey(*m_collator, entry.name);
        if (!entry.dir && !m_foldersOnly)
            entry.mimeName = mimes.mimeTypeForFile(entry.name, QMimeDatabase::MatchExtension).name();
        batch.push_back(std::move(entry));
        if (firstSent ? sinceBatch.elapsed() >= kBatchIntervalMs || batch.size() >= kBatch
                      : batch.size() >= kFirstBatch) {
            send(false);
            firstSent = true;
            sinceBatch.restart();
        }
    }
    ::closedir(dir);
    if (!cancelled(ticket))
        send(true);
}

bool FolderReader::makeEntry(const QString &folder, const QByteArray &raw, FileEntry &entry) const
{
    return readRawEntry(folder, raw, *m_collator, !m_foldersOnly, entry);
}

// Without inotify (or past the user's watch limit) the folder is still listed,
// only not kept up to date.
void FolderReader::watch(const QString &folder)
{
    if (m_watchOf.contains(folder))
        return;
    if (m_inotify < 0) {
        m_inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_inotify < 0)
            return;
        m_notifier = new QSocketNotifier(m_inotify, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &FolderReader::readEvents);
        m_settle = new QTimer(this);
        m_settle->setSingleShot(true);
        m_settle->setInterval(kSettleMs);
        connect(m_settle, &QTimer::timeout, this, &FolderReader::reportChanges);
    }
    uint32_t mask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF
                    | IN_MOVE_SELF | IN_ONLYDIR;
    if (!m_foldersOnly)
        mask |= IN_CLOSE_WRITE | IN_ATTRIB;
    const int wd = ::inotify_add_watch(m_inotify, QFile::encodeName(folder).constData(), mask);
    if (wd < 0)
        return;
    m_folderOf.insert(wd, folder);
    m_watchOf.insert(folder, wd);
}

void FolderReader::stopWatching(const QString &folder)
{
    const QString below = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (auto it = m_watchOf.begin(); it != m_watchOf.end();) {
        if (it.key() != folder && !it.key().startsWith(below)) {
            ++it;
            continue;
        }
        if (m_folderOf.value(it.value()) == it.key()) {
            ::inotify_rm_watch(m_inotify, it.value());
            m_folderOf.remove(it.value());
        }
        m_pending.remove(it.key());
        it = m_watchOf.erase(it);
    }
}

void FolderReader::readEvents()
{
    alignas(inotify_event) char buffer[16384];
    ssize_t got;
    while ((got = ::read(m_inotify, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at < got;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            at += ssize_t(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                m_pending.clear();
                post({FolderResult::Lost, 0, {}, {}, {}, false});
                continue;
            }
            const auto found = m_folderOf.constFind(event->wd);
            if (found == m_folderOf.cend())
                continue;
            const QString folder = *found;
            if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
                // A folder moved away keeps its watch, and so do those below it.
                stopWatching(folder);
                post({FolderResult::Gone, 0, folder, {}, {}, false});
                continue;
            }
            if (event->mask & IN_IGNORED) {
                m_folderOf.remove(event->wd);
                m_watchOf.remove(folder);
                m_pending.remove(folder);
                continue;
            }
            if (event->len == 0 || (m_foldersOnly && !(event->mask & IN_ISDIR)))
                continue;
            m_pending[folder].insert(QByteArray(event->name));
            if (!m_settle->isActive())
                m_settle->start();
        }
    }
}

void FolderReader::reportChanges()
{
    const QHash<QString, QSet<QByteArray>> pending = std::exchange(m_pending, {});
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        FileEntries present;
        QList<QByteArray> gone;
        for (const QByteArray &name : it.value()) {
            FileEntry entry;
            if (makeEntry(it.key(), name, entry) && (entry.dir || !m_foldersOnly))
                present.push_back(std::move(entry));
            else
                gone << name;
        }
        std::sort(present.begin(), present.end(), nameOrderLess);
        post({FolderResult::Changed, 0, it.key(), std::move(present), gone, false});
    }
}

#include "moc_folder_reader.cpp"

ReaderThread::ReaderThread(bool foldersOnly, QObject *context, FolderResultSink *sink)
    : m_thread(new QThread), m_reader(new FolderReader(foldersOnly))
{
    QObject::connect(m_reader, &FolderReader::resultsReady, context, [reader = m_reader, sink] {
        for (FolderResult &result : reader->takeResults()) {
            switch (result.kind) {
            case FolderResult::Listed:
                sink->takeListing(result.ticket, result.folder, std::move(result.entries), result.complete);
                break;
            case FolderResult::Changed:
                sink->takeChanges(result.folder, std::move(result.entries), result.gone);
                break;
            case FolderResult::Gone: sink->takeGone(result.folder); break;
            case FolderResult::Lost: sink->takeLost(); break;
            }
        }
    });
    m_reader->moveToThread(m_thread);
    QObject::connect(m_thread, &QThread::finished, m_reader, &QObject::deleteLater);
    m_thread->setObjectName(QStringLiteral("FolderReader"));
    m_thread->start();
}

// A listing under way stops at its next entry; the reader is deleted on its own
// thread as that thread ends. A call into a folder that does not answer (a
// network share gone away) may never return: the thread is then left to end
// when it does, so neither the window nor the exit waits on it.
ReaderThread::~ReaderThread()
{
    m_reader->cancelBelow(std::numeric_limits<quint64>::max());
    orderedBefore(m_reader);
    m_thread->quit();
    if (m_thread->wait(QDeadlineTimer(kStuckReaderMs))) {
        delete m_thread;
        return;
    }
    static std::mutex lock;
    static std::vector<QThread *> leftRunning; // still reachable, never deleted while running
    const std::lock_guard guard(lock);
    leftRunning.push_back(m_thread);
}
