// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Recordings whose later headers claim other frame lengths than the first:
// the file is still stepped through by the first header, and the decoder
// never sees a byte beyond the frame it was handed.
#include "voice/voice_format.h"
#include "voice_test_support.h"

#include <frame_header.h>

#include <gtest/gtest.h>

namespace {

// A mode 0 frame whose header claims 1440 bytes (160 kbit/s) and whose side
// information makes the decoder use as many of them as it may.
Bytes claimingLongFrame(Bytes frame)
{
    frame[1] = '\xE3';
    frame[2] = '\xE8';
    frame[3] = '\xC4';
    // part2_3_length, bits 9 to 20 of the side information, all set.
    frame[5] = static_cast<char>(frame[5] | 0x7F);
    frame[6] = static_cast<char>(frame[6] | 0xF8);
    return frame;
}

Bytes frameOf(const Bytes &recording, std::size_t index)
{
    const std::size_t length = frameLengthOf(0);
    const std::size_t frames = recording.size() / length;
    return recording.substr(index % frames * length, length);
}

class DamagedFrames : public ::testing::Test {
protected:
    ScratchDir dir;
    ScriptedVoiceUi ui;
    const Bytes sample = sampleRecording(0);

    Bytes convert(const std::string &name, const Bytes &voice)
    {
        writeBytes(dir.file(name + ".VOC"), voice);
        EXPECT_EQ(convertVoiceFile(dir.file(name + ".VOC"), ui), ConvertOutcome::Converted) << name;
        EXPECT_TRUE(ui.messages.empty()) << name;
        return readBytes(dir.file(name + ".wav"));
    }
};

TEST_F(DamagedFrames, FrameClaimingMoreBytesIsDecodedFromItsOwnBytesAlone)
{
    for (std::size_t k : {10u, 30u}) {
        Bytes head;
        for (std::size_t i = 0; i < k; ++i)
            head += frameOf(sample, i);
        head += claimingLongFrame(frameOf(sample, k));
        // Two recordings alike up to the damaged frame, unlike after it.
        Bytes a = head, b = head;
        for (std::size_t i = 1; i < 20; ++i) {
            a += frameOf(sample, k + i);
            b += frameOf(sample, k + 40 + i);
        }
        const Bytes waveA = convert(std::to_string(k) + "a", a);
        const Bytes waveB = convert(std::to_string(k) + "b", b);
        ASSERT_EQ(waveA.size(), 44 + (k + 20) * pcmBytesPerFrame);
        ASSERT_EQ(waveB.size(), waveA.size());
        const std::size_t at = 44 + k * pcmBytesPerFrame;
        EXPECT_EQ(waveA.substr(0, at + pcmBytesPerFrame), waveB.substr(0, at + pcmBytesPerFrame))
            << "frame " << k << " was decoded with bytes of the frames after it";
    }
}

TEST_F(DamagedFrames, LongClaimsAtTheEndOfTheFileAndOfEveryBufferFill)
{
    // More than one buffer fill of frames that claim 1440 bytes each, then a
    // trailing part of a frame; AddressSanitizer builds catch any stray read.
    Bytes voice = frameOf(sample, 0); // the first header sets the mode
    for (std::size_t i = 1; i < 1000; ++i)
        voice += claimingLongFrame(frameOf(sample, i));
    voice += claimingLongFrame(frameOf(sample, 0)).substr(0, 40);
    EXPECT_EQ(convert("long", voice).size(), 44 + 1000 * pcmBytesPerFrame);

    Bytes lastOnly = sample.substr(0, 9 * frameLengthOf(0)) + claimingLongFrame(frameOf(sample, 9));
    EXPECT_EQ(convert("last", lastOnly).size(), 44 + 10 * pcmBytesPerFrame);
}

TEST(DecoderFrameBound, NoAcceptedHeaderMakesTheDecoderReadMore)
{
    // Every version, layer, CRC flag, bitrate, rate and padding the headers can carry.
    int longest = 0;
    for (std::uint32_t fields = 0; fields < 1u << 12; ++fields) {
        const std::uint32_t word = 0xFFE00000u | fields << 9 | 0xC4u;
        if (halvex::headerAccepted(word, false))
            longest = std::max(longest, halvex::frameLength(word));
    }
    EXPECT_EQ(static_cast<std::size_t>(longest), maxDecoderFrameBytes);
}

} // namespace
