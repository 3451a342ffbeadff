// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The three kinds of file a PlaybackDecoder reads. Each owns its file.
#pragma once

#include "listen/playback_decoder.h"

#include <memory>
#include <string>

#include <sys/stat.h>

class PlaybackDecoder::Source {
public:
    virtual ~Source();
    virtual std::size_t read(std::int16_t *out, std::size_t maxFrames) = 0;
    virtual void seek(std::int64_t frame) = 0;
    // Frames that can be read now; all of them once the file is whole.
    virtual std::int64_t arrivedFrames() const { return length; }
    // The file stops growing: it has all its bytes when whole, else it ends
    // at what arrived.
    virtual void settle(bool whole) { (void)whole; expected = 0; }

    int rate = 0;
    int channels = 1;
    std::int64_t length = 0;
    std::int64_t position = 0;
    std::int64_t lost = 0;
    bool cutShort = false;
    // Bytes the file will hold while it is still being written, else 0.
    std::int64_t expected = 0;
    // The last read stopped where the bytes still being written begin.
    bool waiting = false;
};

// What the file holds now.
inline std::int64_t heldBytes(int fd)
{
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? std::int64_t(st.st_size) : 0;
}

// Each gives nullptr and sets error when the file (an open descriptor, which
// the source then owns either way) is not of its kind. A file still being
// written is opened with the bytes it will hold (expected); its length
// counts them, and a read that reaches what has not arrived waits (returns
// 0 with waiting set) rather than ending.
std::unique_ptr<PlaybackDecoder::Source> openVoiceSource(int fd, std::string &error, std::int64_t expected = 0);
std::unique_ptr<PlaybackDecoder::Source> openWaveSource(int fd, std::string &error, std::int64_t expected = 0);
std::unique_ptr<PlaybackDecoder::Source> openMpegSource(int fd, std::string &error, std::int64_t expected = 0);
