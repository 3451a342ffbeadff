// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Playing a player recording while its copy into the cache is still being
// made: it starts once the first seconds have arrived and the rest follows
// behind; a place not copied yet is waited for.
#include "listen/listen_session.h"

#include "queue/tsan_order.h"

#include <QTimer>

#include <algorithm>
#include <utility>

#include <sys/stat.h>

// Gone to again once arrived, so that a voice recording's decoder is primed
// with the frames before it rather than with what was missing.
bool ListenSession::seekArrived()
{
    const std::int64_t needed = std::min(m_seekPending + m_decoder.sampleRate() / 4, m_decoder.length());
    if (m_decoder.growing() && m_decoder.arrivedFrames() < needed)
        return false;
    m_decoder.seek(m_seekPending);
    m_seekPending = -1;
    return true;
}

void ListenSession::follow(const CachedRecording &recording, const QString &name, const QByteArray &key)
{
    orderedAfter(this);
    if (m_follow)
        emit copyProgress(m_follow->part, -1, false);
    const ListenCache cache(listenCacheFolder());
    m_follow = Followed{recording, QString::fromLocal8Bit(cache.partPathOf(recording)), name, key};
    m_copyPercent = -1;
    m_copyWaiting = false;
    m_copyTimer->start();
    watchCopy();
}

// How far the device has written the copy; once its first seconds are
// there, it plays.
void ListenSession::watchCopy()
{
    if (!m_follow) {
        m_copyTimer->stop();
        return;
    }
    Followed &f = *m_follow;
    struct stat st {};
    const QByteArray part = f.part.toLocal8Bit();
    const std::int64_t held = ::stat(part.constData(), &st) == 0 && S_ISREG(st.st_mode) ? st.st_size : -1;
    const std::int64_t size = std::max<std::int64_t>(f.recording.size, 1);
    const bool loaded = m_open && m_path == f.part;
    if (!loaded && f.play && held >= std::min(size, kStartBytes) && (f.tried < 0 || held >= f.tried + kStartBytes)) {
        f.tried = held;
        if (load(f.part, f.name, f.key, f.recording.size))
            play();
    }
    if (held < 0)
        return;
    const int percent = int(std::min<std::int64_t>(held * 100 / size, 100));
    const bool waiting = m_state == Playing && m_open && m_path == f.part && (m_seekPending >= 0 || m_decoder.waiting());
    if (percent != m_copyPercent || waiting != m_copyWaiting) {
        m_copyPercent = percent;
        m_copyWaiting = waiting;
        emit copyProgress(f.part, percent, waiting);
    }
}

// The copy followed is done: what plays from it goes on from the kept file;
// a failed one ends its playing. One done before it could start plays now.
void ListenSession::settleCopy(const QString &path, bool kept)
{
    const Followed f = *std::exchange(m_follow, std::nullopt);
    m_copyTimer->stop();
    m_copyPercent = -1;
    m_copyWaiting = false;
    emit copyProgress(f.part, -1, false);
    if (m_open && m_path == f.part) {
        if (kept) {
            m_decoder.settle(true);
            m_path = path;
            return;
        }
        rememberWhereLeft();
        stopSink();
        m_decoder.close();
        m_open = false;
        m_seekPending = -1;
        setState(Stopped);
        emit closed();
    } else if (kept && f.play && load(path, f.name, f.key, 0)) {
        play();
    }
}

void ListenSession::lookUp(const CachedRecording &recording)
{
    orderedAfter(this);
    const ListenCache cache(listenCacheFolder());
    const QString name = QString::fromLocal8Bit(recording.name);
    if (m_copies.holds(cache, recording)) {
        emit cacheChecked(name, QString::fromLocal8Bit(cache.pathOf(recording)), true, {});
    } else if (recording.size < 0 || std::uint64_t(recording.size) > kListenCacheLimit) {
        emit cacheChecked(name, {}, false, tr("it is larger than the listening cache (256 MiB)"));
    } else if (!cache.makeRoom(std::uint64_t(recording.size), m_copies.beingWritten())) {
        emit cacheChecked(name, {}, false,
                          tr("the listening cache %1 can not be written")
                              .arg(QString::fromLocal8Bit(cache.folder())));
    } else {
        // A part file this window is not writing is a leftover: played while
        // the new copy arrives, it would sound as what it held.
        if (!m_copies.beingWritten().count(cache.partPathOf(recording)))
            cache.discardParts({cache.partPathOf(recording)});
        m_copies.writing(cache, recording);
        emit cacheChecked(name, QString::fromLocal8Bit(cache.partPathOf(recording)), false, {});
    }
}

void ListenSession::keepCopy(const CachedRecording &recording, bool copied)
{
    orderedAfter(this);
    const ListenCache cache(listenCacheFolder());
    const bool kept = cache.keep(recording, copied);
    m_copies.written(cache, recording, kept);
    if (kept)
        cache.makeRoom(0, m_copies.beingWritten());
    const QString path = QString::fromLocal8Bit(cache.pathOf(recording));
    if (m_follow && m_follow->part == QString::fromLocal8Bit(cache.partPathOf(recording)))
        settleCopy(path, kept);
    emit copyKept(path, QString::fromLocal8Bit(recording.name), kept);
}

void ListenSession::forgetCopies(std::int32_t target)
{
    orderedAfter(this);
    m_copies.forget(target);
}
