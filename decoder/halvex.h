// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The Halvex voice decoder library: five C functions and nothing else.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

#if defined(HALVEX_BUILDING)
#define HALVEX_API __attribute__((visibility("default")))
#else
#define HALVEX_API
#endif

// Begins a new stream: the next frame is a first frame, and the bit reservoir and the
// filter-bank history start empty. Always 0.
HALVEX_API int Kestrun_decoder_init(void);

// 0, 1 or 2 for the headers FF E3 18 C4, FF F3 28 C4 and FF F3 48 C4; -1 for anything
// else (and for a null pointer). Reads exactly 4 bytes.
HALVEX_API int Kestrun_decoder_get_mode(const unsigned char *header);

// Decodes the frame at `frame`, reading only its own length's bytes, into 1152 bytes at
// `pcm`: 576 signed 16-bit little-endian mono samples at the frame's own rate.
// Returns 0 for a rejected header (nothing written, the stream not advanced), else 1.
// What the 1152 bytes hold when libmpg123 cannot decode the frame in full:
//  - damaged audio data: whatever libmpg123 makes of it, as for any frame;
//  - a back pointer reaching before the stream's start: silence;
//  - a frame libmpg123 refuses as the next one of its stream (another layer, version,
//    rate or channel mode than the stream's): it is decoded as the start of a fresh
//    stream, and if that fails too, silence; either way the frames after it go on;
//  - fewer than 576 samples: those samples, then zeros.
// Stereo frames give the mix of both channels; MPEG-1 frames, which carry 1152 samples,
// give their first 576. `mode` is the caller's record of the stream and is not used.
HALVEX_API int Kestrun_Voice_decoder(const unsigned char *frame, unsigned char *pcm, int mode);

// No effect: the stream continues after it.
HALVEX_API void Kestrun_decoder_close(void);

// Always 0.
HALVEX_API int test10(void);

#ifdef __cplusplus
}
#endif
