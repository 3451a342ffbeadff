// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Decoding a frame allocates nothing: the storage is set up before the first frame.
// Counting works by standing in for the C allocator, so sanitizer builds leave this out.
#include "halvex.h"
#include "voice_streams.h"

#include <gtest/gtest.h>

#include <cstdlib>

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *pointer, size_t size);
void *__libc_memalign(size_t alignment, size_t size);
}

namespace {
bool counting = false;
size_t allocations = 0;

void note()
{
    if (counting)
        ++allocations;
}
} // namespace

extern "C" {
void *malloc(size_t size)
{
    note();
    return __libc_malloc(size);
}
void *calloc(size_t count, size_t size)
{
    note();
    return __libc_calloc(count, size);
}
void *realloc(void *pointer, size_t size)
{
    note();
    return __libc_realloc(pointer, size);
}
int posix_memalign(void **pointer, size_t alignment, size_t size)
{
    note();
    *pointer = __libc_memalign(alignment, size);
    return *pointer ? 0 : ENOMEM;
}
void *aligned_alloc(size_t alignment, size_t size)
{
    note();
    return __libc_memalign(alignment, size);
}
}

using namespace halvex_test;

TEST(Allocation, DecodingVoiceFramesAllocatesNothing)
{
    Kestrun_decoder_init(); // the one place that may set storage up
    unsigned char out[pcmBytes];
    for (const char *name : {"voice_mode1.VOC", "voice_mode0.VOC", "voice_mode2.VOC"}) {
        const Frames frames = framesOf(name);
        allocations = 0;
        counting = true;
        Kestrun_decoder_init();
        for (const Bytes &frame : frames)
            Kestrun_Voice_decoder(frame.data(), out, 0);
        counting = false;
        EXPECT_EQ(allocations, 0u) << name;
    }
}
