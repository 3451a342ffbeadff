// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Frames the player never records: damaged data, other layers, changed modes,
// MPEG-1 and stereo. Every accepted frame still gives exactly 1152 bytes.
#include "halvex.h"
#include "voice_streams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace halvex_test;

namespace {

// Decodes the frames twice over output buffers filled differently beforehand;
// the two runs agree only if every one of the 1152 bytes was written.
Bytes decodeWritingEveryByte(const Frames &frames)
{
    Bytes runs[2];
    const unsigned char fillers[2] = {0x00, 0xFF};
    for (int run = 0; run < 2; ++run) {
        unsigned char out[pcmBytes + 1];
        Kestrun_decoder_init();
        for (const Bytes &frame : frames) {
            std::memset(out, fillers[run], sizeof out);
            EXPECT_EQ(Kestrun_Voice_decoder(frame.data(), out, 1), 1);
            EXPECT_EQ(out[pcmBytes], fillers[run]);
            runs[run].insert(runs[run].end(), out, out + pcmBytes);
        }
    }
    EXPECT_TRUE(runs[0] == runs[1]);
    return runs[0];
}

// After a disturbance the stream settles back onto the reference within a few frames
// (to one step of rounding: libmpg123's synthesis keeps a phase of its own).
void expectSettlesBack(const Bytes &pcm, const Bytes &reference, size_t from)
{
    ASSERT_EQ(pcm.size(), reference.size());
    for (size_t i = from; i < pcm.size() / pcmBytes; ++i)
        EXPECT_LE(largestDifference(samplesOf(pcm, i), samplesOf(reference, i)), 1) << "frame " << i;
}

bool silent(const Bytes &pcm, size_t index)
{
    const auto samples = samplesOf(pcm, index);
    return std::all_of(samples.begin(), samples.end(), [](short s) { return s == 0; });
}

} // namespace

TEST(OtherFrames, FirstFrameReachingBeforeTheStreamStartIsSilent)
{
    const Frames frames = framesOf("voice_mode1.VOC");
    const Frames cut(frames.begin() + 5, frames.end());
    ASSERT_GT(cut[0][4], 0); // its main data begins in a frame that is not there
    Bytes file;
    for (const Bytes &frame : cut)
        file.insert(file.end(), frame.begin(), frame.end());
    const std::string path = testing::TempDir() + "cut_voice.VOC";
    writeFile(path, file);

    const Bytes pcm = decodeWritingEveryByte(cut);
    EXPECT_TRUE(silent(pcm, 0));
    EXPECT_FALSE(silent(pcm, 1));
    EXPECT_TRUE(pcm == referencePcm(path));
}

TEST(OtherFrames, DamagedAudioDataStillGivesAFrameAndTheStreamGoesOn)
{
    const Frames frames = framesOf("voice_mode1.VOC");
    const Bytes reference = referencePcm(dataPath("voice_mode1.VOC"));
    std::mt19937 random(7);
    for (size_t damagedAt : {0u, 100u, 200u}) {
        Frames damaged = frames;
        for (size_t i = 4; i < damaged[damagedAt].size(); ++i)
            damaged[damagedAt][i] = static_cast<unsigned char>(random());
        SCOPED_TRACE(damagedAt);
        expectSettlesBack(decodeWritingEveryByte(damaged), reference, damagedAt + 10);
    }
}

TEST(OtherFrames, FrameOfAnotherLayerMidStreamIsSilentAndTheStreamGoesOn)
{
    const Frames frames = framesOf("voice_mode2.VOC");
    const Bytes reference = referencePcm(dataPath("voice_mode2.VOC"));
    for (unsigned char layerByte : {0xF5, 0xF7}) { // Layer II, Layer I
        Frames mixed = frames;
        mixed[120][1] = layerByte;
        const Bytes pcm = decodeWritingEveryByte(mixed);
        EXPECT_TRUE(silent(pcm, 120));
        EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + 120 * pcmBytes, reference.begin()));
        expectSettlesBack(pcm, reference, 130);
    }
}

TEST(OtherFrames, FrameOfAnotherLayerRightAfterTheFirstLeavesNothingBehind)
{
    // Refused as the stream's next frame and again as the start of a fresh one: none of
    // its bytes may stay in libmpg123's buffer to swallow the frames that follow.
    for (const char *name : {"voice_mode1.VOC", "voice_mode2.VOC"}) {
        const Frames frames = framesOf(name);
        const Bytes reference = referencePcm(dataPath(name));
        for (unsigned char layerByte : {0xF5, 0xF7}) { // Layer II, Layer I
            Frames mixed = frames;
            mixed[1][1] = layerByte;
            SCOPED_TRACE(std::string(name) + (layerByte == 0xF5 ? " layer II" : " layer I"));
            const Bytes pcm = decodeWritingEveryByte(mixed);
            EXPECT_TRUE(silent(pcm, 1));
            EXPECT_FALSE(silent(pcm, 3));
            expectSettlesBack(pcm, reference, 5);
        }
    }
}

TEST(OtherFrames, ChangedModeStartsAFreshDecodingAtTheChange)
{
    const Frames mode1 = framesOf("voice_mode1.VOC");
    const Frames mode0 = framesOf("voice_mode0.VOC");
    Frames joined(mode1.begin(), mode1.begin() + 50);
    joined.insert(joined.end(), mode0.begin(), mode0.end());

    const Bytes pcm = decodeWritingEveryByte(joined);
    const Bytes head = referencePcm(dataPath("voice_mode1.VOC"));
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + 50 * pcmBytes, head.begin()));
    EXPECT_TRUE(Bytes(pcm.begin() + 50 * pcmBytes, pcm.end()) == referencePcm(dataPath("voice_mode0.VOC")));
}

TEST(OtherFrames, MpegOneFrameGivesItsFirstGranule)
{
    const Frames frames = framesOf("mpeg1_mono.mp3");
    const Bytes reference = referencePcm(dataPath("mpeg1_mono.mp3"));
    ASSERT_EQ(reference.size(), frames.size() * 2 * pcmBytes);
    const Bytes pcm = decodeWritingEveryByte(frames);
    for (size_t i = 0; i < frames.size(); ++i) {
        const auto first = reference.begin() + long(i * 2 * pcmBytes);
        EXPECT_TRUE(std::equal(first, first + pcmBytes, pcm.begin() + long(i * pcmBytes))) << i;
    }
}

TEST(OtherFrames, StereoFrameGivesTheMixOfBothChannels)
{
    const Frames frames = framesOf("mpeg2_stereo.mp3");
    const Bytes pcm = decodeWritingEveryByte(frames);
    EXPECT_TRUE(pcm == referencePcm(dataPath("mpeg2_stereo.mp3"), "--mono"));
    EXPECT_FALSE(pcm == referencePcm(dataPath("mpeg2_stereo.mp3"), "--left"));
}
