// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// One libmpg123 handle in feed mode, fed one whole frame per call.
#pragma once

#include <cstddef>

struct mpg123_handle_struct;

namespace halvex {

constexpr size_t pcmBytesPerFrame = 1152;

class FeedDecoder
{
public:
    // Begins a new stream: reservoir, filter-bank history and stream set-up are cleared.
    void startStream();

    // Decodes one whole frame of `length` bytes and writes exactly pcmBytesPerFrame bytes:
    // the frame's first 576 mono samples, zeros where libmpg123 gives fewer.
    void decode(const unsigned char *frame, size_t length, unsigned char *pcm);

private:
    bool ensureHandle();
    void warmUp();
    bool reopen();
    bool feed(const unsigned char *frame, size_t length, unsigned char *pcm, size_t &written);

    mpg123_handle_struct *handle_ = nullptr;
    bool open_ = false;
};

} // namespace halvex
