// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/position_memory.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstdlib>
#include <map>

namespace {

const char kFileName[] = "positions";
constexpr qint64 kMaxFileBytes = 4 << 20;
constexpr qsizetype kMaxLineBytes = 8192;

std::mutex g_sharedMutex;
std::map<QString, std::weak_ptr<PositionMemory>> g_shared;

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
    QFile file(m_folder + QLatin1Char('/') + QLatin1String(kFileName));
    if (m_folder.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return;
    // "<ms> <key, percent-encoded>" a line, oldest first; what does not read so is passed over.
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(kMaxLineBytes).trimmed();
        const qsizetype space = line.indexOf(' ');
        bool ok = false;
        const qint64 ms = space > 0 ? line.left(space).toLongLong(&ok) : 0;
        if (!ok || ms <= 0)
            continue;
        const QByteArray key = QByteArray::fromPercentEncoding(line.mid(space + 1));
        std::erase_if(m_entries, [&](const auto &e) { return e.first == key; });
        m_entries.emplace_back(key, ms);
    }
    if (m_entries.size() > kLimit)
        m_entries.erase(m_entries.begin(), m_entries.end() - std::ptrdiff_t(kLimit));
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

// One replacement of the whole file, synced before it takes the old one's place.
bool PositionMemory::writeFile(const std::vector<std::pair<QByteArray, std::int64_t>> &entries) const
{
    if (!QDir().mkpath(m_folder))
        return false;
    QSaveFile file(m_folder + QLatin1Char('/') + QLatin1String(kFileName));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text;
    for (const auto &[key, ms] : entries)
        text += QByteArray::number(qint64(ms)) + ' ' + key.toPercentEncoding() + '\n';
    file.write(text);
    return file.commit();
}
