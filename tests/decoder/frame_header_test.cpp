// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The header rules on their own: mode table, acceptance test, tables and frame length.
#include "frame_header.h"

#include <gtest/gtest.h>

using halvex::bitrateKbps;
using halvex::frameLength;
using halvex::frameMode;
using halvex::headerAccepted;
using halvex::headerWord;
using halvex::sampleRateHz;

TEST(FrameHeader, WordIsMostSignificantByteFirst)
{
    const unsigned char bytes[] = {0xFF, 0xE3, 0x18, 0xC4, 0x55};
    EXPECT_EQ(headerWord(bytes), 0xFFE318C4u);
    const unsigned char other[] = {0x01, 0x02, 0x03, 0x04};
    EXPECT_EQ(headerWord(other), 0x01020304u);
}

TEST(FrameHeader, OnlyTheThreeExactWordsAreModes)
{
    EXPECT_EQ(frameMode(0xFFE318C4u), 0);
    EXPECT_EQ(frameMode(0xFFF328C4u), 1);
    EXPECT_EQ(frameMode(0xFFF348C4u), 2);
    const uint32_t near[] = {
        0xFFF328C0u, // informational flag bit 2 clear
        0xFFF328C5u, // emphasis 01
        0xFFF32AC4u, // padding
        0xFFF228C4u, // CRC follows
        0xFFF329C4u, // private bit
        0xFFF32804u, // stereo
        0xFFE328C4u, // mode 1's rate fields under MPEG-2.5
        0xFFFB90C4u, // MPEG-1 Layer III, 128 kbit/s, 44.1 kHz
        0xFFF318C4u, // mode 0's fields under MPEG-2
        0x00000000u, 0xFFFFFFFFu,
    };
    for (uint32_t word : near)
        EXPECT_EQ(frameMode(word), -1) << std::hex << word;
}

TEST(FrameHeader, AcceptanceTestRejectsBrokenFieldsAnywhereInAStream)
{
    const uint32_t broken[] = {
        0xFFC318C4u, // sync incomplete
        0x7FE318C4u, // sync incomplete in the first byte
        0xFFE308C4u, // free-format bitrate
        0xFFE3F8C4u, // bitrate index 15
        0xFFE31CC4u, // sample-rate index 3
        0xFFE118C4u, // reserved layer
        0xFFFE18C4u, // top 16 bits FF FE
    };
    for (uint32_t word : broken) {
        EXPECT_FALSE(headerAccepted(word, true)) << std::hex << word;
        EXPECT_FALSE(headerAccepted(word, false)) << std::hex << word;
    }
}

TEST(FrameHeader, OnlyTheFirstFrameMustBeLayerThree)
{
    const uint32_t otherLayers[] = {0xFFE718C4u /* I */, 0xFFE518C4u /* II */, 0xFFFD90C4u /* MPEG-1 II */};
    for (uint32_t word : otherLayers) {
        EXPECT_FALSE(headerAccepted(word, true)) << std::hex << word;
        EXPECT_TRUE(headerAccepted(word, false)) << std::hex << word;
    }
    // Any version passes, the reserved one included, and the fields outside the test are free.
    const uint32_t layerThree[] = {0xFFE318C4u, 0xFFF328C4u, 0xFFF348C4u, 0xFFFB90C4u,
                                   0xFFEB18C4u, 0xFFF2EB07u, 0xFFFA1000u};
    for (uint32_t word : layerThree) {
        EXPECT_TRUE(headerAccepted(word, true)) << std::hex << word;
        EXPECT_TRUE(headerAccepted(word, false)) << std::hex << word;
    }
}

TEST(FrameHeader, BitrateTablesOfTheStandard)
{
    // MPEG-1 Layer III, then the MPEG-2 table that MPEG-2.5 shares.
    const int mpeg1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    const int lowRate[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
    for (uint32_t index = 0; index < 16; ++index) {
        EXPECT_EQ(bitrateKbps(0xFFFB00C4u | index << 12), mpeg1[index]) << index;
        EXPECT_EQ(bitrateKbps(0xFFF300C4u | index << 12), lowRate[index]) << index;
        EXPECT_EQ(bitrateKbps(0xFFE300C4u | index << 12), lowRate[index]) << index;
    }
}

TEST(FrameHeader, SampleRatesByVersion)
{
    const int rates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
    const uint32_t versions[3] = {0xFFFB1000u, 0xFFF31000u, 0xFFE31000u};
    for (int v = 0; v < 3; ++v) {
        for (uint32_t index = 0; index < 3; ++index)
            EXPECT_EQ(sampleRateHz(versions[v] | index << 10), rates[v][index]) << v << index;
        EXPECT_EQ(sampleRateHz(versions[v] | 3u << 10), 0);
    }
}

TEST(FrameHeader, FrameLengthTruncatesAndAddsPadding)
{
    EXPECT_EQ(frameLength(0xFFE318C4u), 72);
    EXPECT_EQ(frameLength(0xFFF328C4u), 72);
    EXPECT_EQ(frameLength(0xFFF348C4u), 144);
    EXPECT_EQ(frameLength(0xFFF34AC4u), 145);   // mode 2 with padding
    EXPECT_EQ(frameLength(0xFFFB90C4u), 417);   // 128 kbit/s at 44.1 kHz: 417.96
    EXPECT_EQ(frameLength(0xFFFB92C4u), 418);
    EXPECT_EQ(frameLength(0xFFF380C4u), 208);   // 64 kbit/s at 22.05 kHz: 208.98
    EXPECT_EQ(frameLength(0xFFE310C4u), 52);    // 8 kbit/s at 11.025 kHz: 52.24
    EXPECT_EQ(frameLength(0xFFFBE8C4u), 1440);  // the longest: 320 kbit/s at 32 kHz
    EXPECT_EQ(frameLength(0xFFE3E8C4u), 1440);  // and 160 kbit/s at 8 kHz
    // Every layer takes the same formula.
    EXPECT_EQ(frameLength(0xFFE518C4u), 72);
    EXPECT_EQ(frameLength(0xFFE308C4u), 0);
    EXPECT_EQ(frameLength(0xFFE31CC4u), 0);
}
