// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "queue/import_arrival.h"

#include "fileops/unique_name.h"
#include "platform/exclusive_open.h"
#include "platform/held_entry.h"
#include "platform/paths.h"
#include "queue/import_memory.h"

#include <QCryptographicHash>
#include <QFile>

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kChunk = 64 * 1024;

// Reads up to count bytes; fewer only at the end of the file, -1 on failure.
ssize_t readSome(int fd, char *to, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        const ssize_t got = ::read(fd, to + done, count - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        done += std::size_t(got);
    }
    return ssize_t(done);
}

// SHA-256 of the open file's bytes in hex; empty when it can not be read.
std::string digestOf(int fd)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::array<char, kChunk> buffer;
    for (;;) {
        const ssize_t got = readSome(fd, buffer.data(), buffer.size());
        if (got < 0)
            return {};
        hash.addData(QByteArrayView(buffer.data(), got));
        if (std::size_t(got) < buffer.size())
            return hash.result().toHex().toStdString();
    }
}

// Only what this import made goes: path's name, in its held folder, must
// still be the file open as fd.
void removeIfStill(int fd, const std::string &path)
{
    HeldEntry entry;
    struct stat made {};
    if (::fstat(fd, &made) == 0 && holdEntry(path, entry))
        removeHeldIf(entry, made);
}

bool sameBytes(int a, int b)
{
    struct stat sa {}, sb {};
    if (::fstat(a, &sa) != 0 || ::fstat(b, &sb) != 0 || !S_ISREG(sa.st_mode) || !S_ISREG(sb.st_mode)
        || sa.st_size != sb.st_size)
        return false;
    std::array<char, kChunk> left, right;
    for (;;) {
        const ssize_t got = readSome(a, left.data(), left.size());
        if (got < 0 || readSome(b, right.data(), right.size()) != got
            || std::memcmp(left.data(), right.data(), std::size_t(got)) != 0)
            return false;
        if (got == 0)
            return true;
    }
}

// Only a file of this user that no one else may write can stand for the
// recording: another's could be emptied or changed once the new one is gone.
// A group may write it only when it is this user's own group.
bool ownedAndGuarded(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (st.st_mode & S_IWOTH) == 0
        && ((st.st_mode & S_IWGRP) == 0 || st.st_gid == ::getegid());
}

// The new wave file holds exactly what the older one does: the same
// recording, so the new one goes again. Sizes that differ settle it at once.
// The new one is the very file the conversion wrote (written), read and
// removed through its held folder; while it cannot go, it stays the arrival.
bool sameAsOlder(const std::string &newWave, const struct stat &written, const std::string &olderWave)
{
    HeldEntry entry;
    if (!holdEntry(newWave, entry))
        return false;
    // Whatever has a name now is opened without waiting: a FIFO or a device
    // put there is no file this import wrote.
    constexpr int kLook = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
    UniqueFd made(::openat(entry.folder.get(), entry.name.c_str(), kLook));
    UniqueFd older(::open(olderWave.c_str(), kLook));
    struct stat opened {};
    if (!made || !older || ::fstat(made.get(), &opened) != 0 || !sameIdentity(opened, written)
        || !ownedAndGuarded(older.get()) || !sameBytes(made.get(), older.get()))
        return false;
    return removeHeldIf(entry, written);
}

// "NAME (2).wav" and on, as the PC pane names a copy.
std::string freeWavePath(const std::string &wavePath)
{
    const std::string folder = extractFileDir(wavePath);
    const QString name = freeName(QFile::decodeName(QByteArray::fromStdString(folder)),
                                  QFile::decodeName(QByteArray::fromStdString(extractFileName(wavePath))),
                                  true);
    return joinPath(folder, QFile::encodeName(name).toStdString());
}

ImportedRecording recordOf(const ImportTicket &ticket, const std::string &digest, const std::string &wave)
{
    return {ticket.memory, ticket.playerName, ticket.size, digest, extractFileName(wave), false};
}

} // namespace

ConvertOutcome arriveImported(const ImportTicket &ticket, ImportMemory &memory, VoiceConversionUi &ui,
                              ImportArrival &arrival)
{
    std::string digest;
    {
        UniqueFd voice = openExclusiveRead(ticket.voicePath, false);
        if (!voice) {
            ui.showMessage(VoiceMessages::cannotOpenVoice);
            return ConvertOutcome::Failed;
        }
        digest = digestOf(voice.get());
        if (digest.empty()) {
            ui.showMessage(VoiceMessages::cannotReadVoice);
            return ConvertOutcome::Failed;
        }
        if (memory.knows(ticket.memory, ticket.playerName, digest)) {
            removeIfStill(voice.get(), ticket.voicePath);
            memory.remember(recordOf(ticket, digest, {}));
            arrival.kind = ImportArrival::AlreadyThere;
            return ConvertOutcome::Converted;
        }
    }
    const std::string wave = waveFilePath(ticket.voicePath);
    struct stat older {};
    const bool taken = ::lstat(wave.c_str(), &older) == 0;
    ConvertOptions options;
    options.refuseLink = true;
    options.wavePath = taken ? freeWavePath(wave) : wave;
    struct stat written {};
    options.written = &written;
    const ConvertOutcome outcome = convertVoiceFile(ticket.voicePath, ui, options);
    if (outcome != ConvertOutcome::Converted)
        return outcome;
    arrival.kind = ImportArrival::Arrived;
    arrival.wavePath = options.wavePath;
    if (taken && S_ISREG(older.st_mode) && sameAsOlder(options.wavePath, written, wave)) {
        arrival.kind = ImportArrival::AlreadyThere;
        arrival.wavePath = wave;
    }
    memory.remember(recordOf(ticket, digest, arrival.wavePath));
    return outcome;
}
