// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Where each recording was left, so that playing it again resumes there.
// Kept in the state folder as one small file, replaced whole by a writer
// thread of its own: neither the window nor the sound waits for the disk.
#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// $XDG_STATE_HOME/tovixman, else ~/.local/state/tovixman; empty without a home.
QString positionStateFolder();

class PositionMemory {
public:
    // At most this many recordings are kept, the most recently heard.
    static constexpr std::size_t kLimit = 1000;

    // The one memory of that folder in this process, shared by every session.
    static std::shared_ptr<PositionMemory> of(const QString &folder);

    explicit PositionMemory(QString folder);
    // Waits for the last write.
    ~PositionMemory();
    PositionMemory(const PositionMemory &) = delete;
    PositionMemory &operator=(const PositionMemory &) = delete;

    // A PC file: its path, size and modification time.
    static QByteArray fileKey(const QString &path);
    // A player recording: its memory, name and size (its cached copy changes).
    static QByteArray recordingKey(int target, const std::string &name, std::int64_t size);

    // The position kept for key, 0 when none. Reads the file on first use.
    std::int64_t recall(const QByteArray &key);
    // Keeps ms for key (0 forgets it) and has the file rewritten.
    void remember(const QByteArray &key, std::int64_t ms);
    // Waits until what was remembered is on the disk.
    void flush();

private:
    void load();
    void writeLoop();
    bool writeFile(const std::vector<std::pair<QByteArray, std::int64_t>> &entries) const;

    QString m_folder;
    std::mutex m_mutex;
    bool m_loaded = false;
    bool m_dirty = false;
    bool m_writing = false;
    std::thread m_writer;
    std::vector<std::pair<QByteArray, std::int64_t>> m_entries; // oldest first
};
