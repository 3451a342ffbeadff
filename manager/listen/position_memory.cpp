// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/position_memory.h"

#include "fileops/held_folder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kFileName[] = "positions";
// A thousand recordings under ordinary paths take some 100 KiB.
constexpr std::size_t kMaxFileBytes = 4 << 20;

std::mutex g_sharedMutex;
std::map<QString, std::weak_ptr<PositionMemory>> g_shared;

// The state folder, held without following a link, and only when it is the
// user's own and no one else may write in it; made first when create is set.
UniqueFd holdStateFolder(const QString &folder, bool create)
{
    const QByteArray path = QFile::encodeName(folder);
    if (folder.isEmpty())
        return UniqueFd();
    if (create) {
        QDir().mkpath(QFileInfo(folder).path());
        ::mkdir(path.constData(), 0700);
    }
    UniqueFd held(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!held || ::fstat(held.get(), &st) != 0 || st.st_uid != ::geteuid())
        return UniqueFd();
    // Our own folder (an older one may have been made under a umask of 002):
    // others lose the write permission they should never have had.
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0 && ::fchmod(held.get(), st.st_mode & 0755) != 0)
        return UniqueFd();
    return held;
}

// Another window of the user's saving into the same folder is let finish
// first, so that neither takes the other's passing file; one that does not
// finish within seconds (or someone else holding the folder) is not waited for.
class SaveTurn {
public:
    explicit SaveTurn(int folder) : m_folder(folder)
    {
        for (int tries = 0; tries < 100; ++tries) {
            if (::flock(m_folder, LOCK_EX | LOCK_NB) == 0) {
                m_held = true;
                return;
            }
            if (errno != EWOULDBLOCK && errno != EINTR)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    ~SaveTurn()
    {
        if (m_held)
            ::flock(m_folder, LOCK_UN);
    }
    SaveTurn(const SaveTurn &) = delete;
    SaveTurn &operator=(const SaveTurn &) = delete;

private:
    int m_folder;
    bool m_held = false;
};

// Absent, or the user's entry (a plain file when plain is set).
bool absentOrOwn(int folder, const std::string &name, bool plain)
{
    struct stat st {};
    if (!statAt(folder, name, st))
        return errno == ENOENT;
    return st.st_uid == ::geteuid() && (!plain || S_ISREG(st.st_mode));
}

// A passing file left by a crash is a plain file of the user's and may go;
// the file it replaces is the user's too. Anything else is not ours to remove.
bool mayReplace(int folder)
{
    return absentOrOwn(folder, std::string(kFileName) + ".new", true) && absentOrOwn(folder, kFileName, false);
}

} // namespace

QString positionStateFolder()
{
    const QString xdg = qEnvironmentVariable("XDG_STATE_HOME");
    if (xdg.startsWith(QLatin1Char('/')))
        return xdg + QStringLiteral("/tovixman");
    const QString home = qEnvironmentVariable("HOME");
    if (home.startsWith(QLatin1Char('/')))
        return home + QStringLiteral("/.local/state/tovixman");
    return {};
}

std::shared_ptr<PositionMemory> PositionMemory::of(const QString &folder)
{
    const std::lock_guard<std::mutex> lock(g_sharedMutex);
    std::shared_ptr<PositionMemory> memory = g_shared[folder].lock();
    if (!memory) {
        memory = std::make_shared<PositionMemory>(folder);
        g_shared[folder] = memory;
    }
    return memory;
}

PositionMemory::PositionMemory(QString folder) : m_folder(std::move(folder)) {}

PositionMemory::~PositionMemory()
{
    flush();
}

QByteArray PositionMemory::fileKey(const QString &path)
{
    const QFileInfo info(path);
    return "file " + QString::number(info.size()).toLatin1() + ' '
           + QString::number(info.lastModified().toMSecsSinceEpoch()).toLatin1() + ' ' + path.toUtf8();
}

QByteArray PositionMemory::recordingKey(int target, const std::string &name, std::int64_t size)
{
    return "player " + QByteArray::number(target) + ' ' + QByteArray::number(qint64(size)) + ' '
           + QByteArray::fromStdString(name);
}

void PositionMemory::load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    // Only a plain file of the user's, never waited on (a named pipe) nor
    // followed (a link), and small; else the memory starts empty.
    const UniqueFd folder = holdStateFolder(m_folder, false);
    std::string bytes;
    if (!folder || !readOwnFileAt(folder.get(), kFileName, kMaxFileBytes, bytes))
        return;
    // "<ms> <key, percent-encoded>" a line, oldest first; what does not read so
    // is passed over. The newest line of a key counts, read in one pass.
    const QList<QByteArray> lines = QByteArray::fromStdString(bytes).split('\n');
    QSet<QByteArray> seen;
    for (auto raw = lines.crbegin(); raw != lines.crend() && m_entries.size() < kLimit; ++raw) {
        const QByteArray line = raw->trimmed();
        const qsizetype space = line.indexOf(' ');
        bool ok = false;
        const qint64 ms = space > 0 ? line.left(space).toLongLong(&ok) : 0;
        QByteArray key = ok && ms > 0 ? QByteArray::fromPercentEncoding(line.mid(space + 1)) : QByteArray();
        if (ok && ms > 0 && !seen.contains(key)) {
            seen.insert(key);
            m_entries.emplace_back(std::move(key), ms);
        }
    }
    std::reverse(m_entries.begin(), m_entries.end());
}

std::int64_t PositionMemory::recall(const QByteArray &key)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    load();
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const auto &e) { return e.first == key; });
    return found == m_entries.end() ? 0 : found->second;
}

void PositionMemory::remember(const QByteArray &key, std::int64_t ms)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    load();
    const auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const auto &e) { return e.first == key; });
    if (found == m_entries.end() && ms <= 0)
        return;
    if (found != m_entries.end())
        m_entries.erase(found);
    if (ms > 0)
        m_entries.emplace_back(key, ms);
    if (m_entries.size() > kLimit)
        m_entries.erase(m_entries.begin());
    m_dirty = true;
    if (m_writing || m_folder.isEmpty())
        return;
    m_writing = true;
    if (m_writer.joinable())
        m_writer.join(); // it has said it is done: only its return is left
    m_writer = std::thread(&PositionMemory::writeLoop, this);
}

void PositionMemory::flush()
{
    std::thread writer;
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        writer = std::move(m_writer);
    }
    if (writer.joinable())
        writer.join();
}

// Writes until nothing more was remembered meanwhile.
void PositionMemory::writeLoop()
{
    for (;;) {
        std::vector<std::pair<QByteArray, std::int64_t>> entries;
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_dirty) {
                m_writing = false;
                return;
            }
            m_dirty = false;
            entries = m_entries;
        }
        writeFile(entries);
    }
}

// One replacement of the whole file, synced before it takes the old one's
// place; a link at its name is replaced, never written through.
bool PositionMemory::writeFile(const std::vector<std::pair<QByteArray, std::int64_t>> &entries) const
{
    const UniqueFd folder = holdStateFolder(m_folder, true);
    if (!folder)
        return false;
    // The newest lines that a new start will read back, oldest first.
    std::vector<QByteArray> lines;
    std::size_t bytes = 0;
    for (auto e = entries.crbegin(); e != entries.crend(); ++e) {
        QByteArray line = QByteArray::number(qint64(e->second)) + ' ' + e->first.toPercentEncoding() + '\n';
        if (bytes + std::size_t(line.size()) > kMaxFileBytes)
            continue;
        bytes += std::size_t(line.size());
        lines.push_back(std::move(line));
    }
    QByteArray text;
    text.reserve(qsizetype(bytes));
    for (auto line = lines.crbegin(); line != lines.crend(); ++line)
        text += *line;
    const SaveTurn turn(folder.get());
    if (!mayReplace(folder.get()))
        return false;
    return writeFileAt(folder.get(), kFileName, text.toStdString());
}
