// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The three kinds of file a PlaybackDecoder reads. Each owns its file.
#pragma once

#include "listen/playback_decoder.h"

#include <memory>
#include <string>

class PlaybackDecoder::Source {
public:
    virtual ~Source();
    virtual std::size_t read(std::int16_t *out, std::size_t maxFrames) = 0;
    virtual void seek(std::int64_t frame) = 0;

    int rate = 0;
    int channels = 1;
    std::int64_t length = 0;
    std::int64_t position = 0;
    std::int64_t lost = 0;
    bool cutShort = false;
};

// Each gives nullptr and sets error when the file (an open descriptor, which
// the source then owns either way) is not of its kind.
std::unique_ptr<PlaybackDecoder::Source> openVoiceSource(int fd, std::string &error);
std::unique_ptr<PlaybackDecoder::Source> openWaveSource(int fd, std::string &error);
std::unique_ptr<PlaybackDecoder::Source> openMpegSource(int fd, std::string &error);
