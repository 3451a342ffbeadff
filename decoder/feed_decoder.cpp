// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "feed_decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cstring>

namespace halvex {
namespace {

// Every MPEG rate: a stream always comes out at its own rate, never resampled.
constexpr long outputRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};

// No read-ahead: a fed frame decodes at once instead of waiting for the next header.
// No Frankenstein streams: a serious header change ends libmpg123's stream rather than
// changing its output format mid-stream (the path of CVE-2024-10573); decode() restarts it.
// An Info frame is decoded as the audio frame it is. No resync: a frame either starts at
// its header or is refused whole. Gapless trimming and resampling stay off.
constexpr long decoderFlags = MPG123_QUIET | MPG123_NO_READAHEAD | MPG123_NO_FRANKENSTEIN
                            | MPG123_IGNORE_INFOFRAME | MPG123_NO_RESYNC;

// Buffers the feeder keeps for reuse, so feeding a frame does not allocate.
constexpr long feedPoolBuffers = 4;
constexpr long feedBufferBytes = 4096;

bool configure(mpg123_handle *handle)
{
    if (mpg123_param(handle, MPG123_FLAGS, decoderFlags, 0) != MPG123_OK
        || mpg123_param(handle, MPG123_FEEDPOOL, feedPoolBuffers, 0) != MPG123_OK
        || mpg123_param(handle, MPG123_FEEDBUFFER, feedBufferBytes, 0) != MPG123_OK
        || mpg123_format_none(handle) != MPG123_OK)
        return false;
    for (long rate : outputRates) {
        if (mpg123_format(handle, rate, MPG123_MONO, MPG123_ENC_SIGNED_16) != MPG123_OK)
            return false;
    }
    return true;
}

} // namespace

bool FeedDecoder::ensureHandle()
{
    if (handle_)
        return true;
    mpg123_handle *handle = mpg123_new(nullptr, nullptr);
    if (handle && !configure(handle)) {
        mpg123_delete(handle);
        handle = nullptr;
    }
    handle_ = handle;
    if (handle_)
        warmUp();
    return handle_ != nullptr;
}

// libmpg123 sets up its decoding and output buffers on the first frame it decodes.
// Decoding one silent voice frame here keeps that work out of the calls that decode.
void FeedDecoder::warmUp()
{
    unsigned char silentFrame[72] = {0xFF, 0xE3, 0x18, 0xC4};
    unsigned char pcm[pcmBytesPerFrame];
    size_t written = 0;
    if (mpg123_open_feed(handle_) == MPG123_OK)
        feed(silentFrame, sizeof silentFrame, pcm, written);
}

bool FeedDecoder::reopen()
{
    open_ = ensureHandle() && mpg123_open_feed(handle_) == MPG123_OK;
    return open_;
}

void FeedDecoder::startStream()
{
    reopen();
}

// True when libmpg123 took exactly these bytes as the next frame of its stream:
// no error, no end of stream, nothing left in its input buffer.
bool FeedDecoder::feed(const unsigned char *frame, size_t length, unsigned char *pcm, size_t &written)
{
    written = 0;
    if (mpg123_feed(handle_, frame, length) != MPG123_OK)
        return false;
    for (;;) {
        off_t frameNumber = 0;
        unsigned char *audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(handle_, &frameNumber, &audio, &bytes);
        if (result == MPG123_NEED_MORE)
            break;
        if (result == MPG123_NEW_FORMAT)
            continue;
        if (result != MPG123_OK)
            return false;
        // An MPEG-1 frame decodes to two granules; only the first fits the frame's output.
        const size_t taken = std::min(bytes, pcmBytesPerFrame - written);
        if (taken > 0)
            std::memcpy(pcm + written, audio, taken);
        written += taken;
    }
    long left = 0;
    double leftAsDouble = 0;
    return mpg123_getstate(handle_, MPG123_BUFFERFILL, &left, &leftAsDouble) == MPG123_OK && left == 0;
}

void FeedDecoder::decode(const unsigned char *frame, size_t length, unsigned char *pcm)
{
    size_t written = 0;
    bool taken = (open_ || reopen()) && feed(frame, length, pcm, written);
    if (!taken) {
        // libmpg123 will not continue its stream with this frame (a changed header, a length
        // of its own, a refused header): decode the frame as the start of a fresh stream.
        taken = reopen() && feed(frame, length, pcm, written);
        if (!taken)
            reopen(); // the next frame must not meet bytes left behind by this one
    }
    std::memset(pcm + written, 0, pcmBytesPerFrame - written);
}

} // namespace halvex
