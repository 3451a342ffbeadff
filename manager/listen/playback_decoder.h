// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Decoding for listening: voice recordings, PCM wave files and MP3 files to
// 16-bit PCM, with seeking. Each decoder has its own libmpg123 handle, so it
// never touches the decoder library's single state that conversions use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class PlaybackDecoder {
public:
    PlaybackDecoder();
    ~PlaybackDecoder();
    PlaybackDecoder(const PlaybackDecoder &) = delete;
    PlaybackDecoder &operator=(const PlaybackDecoder &) = delete;

    // False when the file cannot be played; error() then says why, in words
    // that follow the file's name in a message. A file still being written
    // is opened with the bytes it will hold (growingTo): it is as long as
    // they make, and reading waits where the bytes not yet written begin.
    bool open(const std::string &path, std::int64_t growingTo = 0);
    const std::string &error() const { return m_error; }
    // Lets go of the file.
    void close();

    int sampleRate() const;
    int channels() const;
    // In sample frames; a voice recording counts its whole frames up to its end.
    std::int64_t length() const;
    std::int64_t position() const;

    // Up to maxFrames interleaved frames; 0 at the end. A damaged stretch of
    // a voice recording is given as silence, an MP3 file's is skipped.
    std::size_t read(std::int16_t *out, std::size_t maxFrames);
    // Sample frames given as silence because they could not be decoded, each
    // counted once however often it is read.
    std::int64_t lostFrames() const;
    // True once the file was found to hold less than it did when opened: it
    // was cut short while being read, and read() then ended early.
    bool cutShort() const;
    // The file is still being written.
    bool growing() const;
    // The last read gave nothing because the bytes that follow have not
    // arrived yet: it is worth reading again later.
    bool waiting() const;
    // Sample frames that can be read now (the length once the file is whole).
    std::int64_t arrivedFrames() const;
    // The file stops growing: whole, it holds all its bytes; else it ends at
    // what arrived.
    void settle(bool whole);
    // Goes to the voice or MPEG frame that holds frame (clamped to the length).
    void seek(std::int64_t frame);

    class Source;

private:
    std::unique_ptr<Source> m_source;
    std::string m_error;
};

// True when the name ends in ".voc", ".wav" or ".mp3", in any letter case.
bool isListenableName(const std::string &name);
