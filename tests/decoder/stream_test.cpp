// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Whole voice streams, frame by frame, against the mpg123 command line on the same file.
#include "halvex.h"
#include "voice_streams.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace halvex_test;

namespace {

const char *const voiceSamples[] = {"voice_mode0.VOC", "voice_mode1.VOC", "voice_mode2.VOC", "voice_clip.VOC"};

class VoiceStream : public testing::TestWithParam<const char *>
{
protected:
    Frames frames = framesOf(GetParam());
    Bytes reference = referencePcm(dataPath(GetParam()));
};

} // namespace

TEST_P(VoiceStream, FrameByFrameMatchesWholeStreamDecoding)
{
    // The comparison only proves the reservoir is carried if the frames lean on it.
    size_t framesUsingReservoir = 0;
    for (const Bytes &frame : frames)
        framesUsingReservoir += frame[4] != 0; // main_data_begin, for a mono frame without CRC
    ASSERT_GT(framesUsingReservoir, frames.size() / 2);

    const Bytes pcm = decodeStream(frames);
    EXPECT_EQ(pcm.size(), frames.size() * 576 * 2);
    EXPECT_EQ(reference.size(), frames.size() * 576 * 2);
    EXPECT_TRUE(pcm == reference);
}

TEST_P(VoiceStream, ReadsOnlyItsFrameAndWritesOnly1152Bytes)
{
    GuardedBuffer out(pcmBytes);
    Bytes pcm;
    Kestrun_decoder_init();
    for (const Bytes &frame : frames) {
        GuardedBuffer in(frame.size());
        std::memcpy(in.data(), frame.data(), frame.size());
        std::memset(out.data(), 0xA5, pcmBytes);
        ASSERT_EQ(Kestrun_Voice_decoder(in.data(), out.data(), 0), 1);
        pcm.insert(pcm.end(), out.data(), out.data() + pcmBytes);
    }
    EXPECT_TRUE(pcm == reference);
}

TEST_P(VoiceStream, CloseAndTest10MidStreamChangeNothing)
{
    Bytes pcm;
    unsigned char out[pcmBytes];
    Kestrun_decoder_init();
    for (size_t i = 0; i < frames.size(); ++i) {
        if (i % 7 == 3) {
            Kestrun_decoder_close();
            EXPECT_EQ(test10(), 0);
        }
        ASSERT_EQ(Kestrun_Voice_decoder(frames[i].data(), out, int(i)), 1);
        pcm.insert(pcm.end(), out, out + pcmBytes);
    }
    EXPECT_TRUE(pcm == reference);
}

TEST_P(VoiceStream, RejectedHeadersMidStreamTouchNothing)
{
    const unsigned char rejected[][4] = {{0xFF, 0xC3, 0x18, 0xC4}, {0xFF, 0xF3, 0x08, 0xC4},
                                         {0xFF, 0xF3, 0xF8, 0xC4}, {0xFF, 0xF3, 0x4C, 0xC4},
                                         {0xFF, 0xF1, 0x48, 0xC4}, {0xFF, 0xFE, 0x48, 0xC4}};
    Bytes pcm;
    unsigned char out[pcmBytes + 1];
    Kestrun_decoder_init();
    for (size_t i = 0; i < frames.size(); ++i) {
        Bytes broken = frames[i];
        std::memcpy(broken.data(), rejected[i % std::size(rejected)], 4);
        std::memset(out, 0x5A, sizeof out);
        ASSERT_EQ(Kestrun_Voice_decoder(broken.data(), out, 0), 0) << i;
        ASSERT_TRUE(std::all_of(out, out + sizeof out, [](unsigned char b) { return b == 0x5A; })) << i;
        ASSERT_EQ(Kestrun_Voice_decoder(frames[i].data(), out, 0), 1);
        EXPECT_EQ(out[pcmBytes], 0x5A);
        pcm.insert(pcm.end(), out, out + pcmBytes);
    }
    EXPECT_TRUE(pcm == reference);
}

INSTANTIATE_TEST_SUITE_P(Samples, VoiceStream, testing::ValuesIn(voiceSamples));

TEST(VoiceStreams, EachInitStartsAFreshStream)
{
    const Frames mode1 = framesOf("voice_mode1.VOC");
    // Leave the previous stream mid-way, its reservoir and filter history full.
    Kestrun_decoder_init();
    unsigned char out[pcmBytes];
    for (size_t i = 0; i < mode1.size() / 2; ++i)
        Kestrun_Voice_decoder(mode1[i].data(), out, 1);

    for (const char *name : {"voice_mode2.VOC", "voice_mode0.VOC", "voice_mode1.VOC"})
        EXPECT_TRUE(decodeStream(framesOf(name)) == referencePcm(dataPath(name))) << name;
}

TEST(VoiceStreams, FirstFrameMustPassTheLayerThreeRule)
{
    const Frames frames = framesOf("voice_mode0.VOC");
    const Bytes reference = referencePcm(dataPath("voice_mode0.VOC"));
    const unsigned char rejectedFirst[][4] = {
        {0xFF, 0xE5, 0x18, 0xC4}, {0xFF, 0xE7, 0x18, 0xC4}, {0xFF, 0xE1, 0x18, 0xC4},
        {0xFF, 0xC3, 0x18, 0xC4}, {0xFF, 0xE3, 0x08, 0xC4}, {0xFF, 0xE3, 0xF8, 0xC4},
        {0xFF, 0xE3, 0x1C, 0xC4}};
    unsigned char out[pcmBytes];
    Kestrun_decoder_init();
    for (const auto &header : rejectedFirst) {
        Bytes broken = frames[0];
        std::memcpy(broken.data(), header, 4);
        std::memset(out, 0x3C, sizeof out);
        EXPECT_EQ(Kestrun_Voice_decoder(broken.data(), out, 0), 0);
        EXPECT_TRUE(std::all_of(out, out + sizeof out, [](unsigned char b) { return b == 0x3C; }));
    }
    // None of them took the first frame's place.
    Bytes pcm;
    for (const Bytes &frame : frames) {
        ASSERT_EQ(Kestrun_Voice_decoder(frame.data(), out, 0), 1);
        pcm.insert(pcm.end(), out, out + pcmBytes);
    }
    EXPECT_TRUE(pcm == reference);
}
