// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "halvex.h"

#include "feed_decoder.h"
#include "frame_header.h"

namespace {

// One stream at a time for the whole process.
halvex::FeedDecoder decoder;
bool awaitingFirstFrame = true;

} // namespace

int Kestrun_decoder_init(void)
{
    decoder.startStream();
    awaitingFirstFrame = true;
    return 0;
}

int Kestrun_decoder_get_mode(const unsigned char *header)
{
    return header ? halvex::frameMode(halvex::headerWord(header)) : -1;
}

// The mode argument is the caller's record of the stream; each frame's own header governs.
int Kestrun_Voice_decoder(const unsigned char *frame, unsigned char *pcm, int /*mode*/)
{
    if (!frame || !pcm)
        return 0;
    const uint32_t word = halvex::headerWord(frame);
    if (!halvex::headerAccepted(word, awaitingFirstFrame))
        return 0;
    decoder.decode(frame, size_t(halvex::frameLength(word)), pcm);
    awaitingFirstFrame = false;
    return 1;
}

void Kestrun_decoder_close(void)
{
}

int test10(void)
{
    return 0;
}
