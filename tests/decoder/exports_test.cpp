// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The library's outside: its export table and the calls that hold no decoding.
#include "halvex.h"
#include "voice_streams.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using namespace halvex_test;

TEST(Exports, ExactlyTheFiveFunctionsUndecorated)
{
    const Bytes listing = commandOutput(std::string("nm -D --defined-only '") + HALVEX_LIBRARY_PATH + "'");
    std::istringstream lines(std::string(listing.begin(), listing.end()));
    std::set<std::string> functions;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string address, type, name;
        fields >> address >> type >> name;
        EXPECT_EQ(type, "T") << line;
        functions.insert(name);
    }
    const std::set<std::string> expected = {"Kestrun_decoder_init", "Kestrun_decoder_get_mode",
                                            "Kestrun_Voice_decoder", "Kestrun_decoder_close", "test10"};
    EXPECT_EQ(functions, expected);
}

TEST(Exports, ModeOfAHeaderReadsOnlyItsFourBytes)
{
    GuardedBuffer header(4);
    const unsigned char words[][4] = {{0xFF, 0xE3, 0x18, 0xC4}, {0xFF, 0xF3, 0x28, 0xC4},
                                      {0xFF, 0xF3, 0x48, 0xC4}, {0xFF, 0xF3, 0x28, 0xC0},
                                      {0xFF, 0xF3, 0x28, 0xC5}, {0xFF, 0xF3, 0x2A, 0xC4},
                                      {0xFF, 0xF2, 0x28, 0xC4}, {0xFF, 0xFB, 0x90, 0xC4}};
    const int modes[] = {0, 1, 2, -1, -1, -1, -1, -1};
    for (size_t i = 0; i < std::size(words); ++i) {
        std::copy(words[i], words[i] + 4, header.data());
        EXPECT_EQ(Kestrun_decoder_get_mode(header.data()), modes[i]) << i;
    }
    EXPECT_EQ(Kestrun_decoder_get_mode(nullptr), -1);
}

TEST(Exports, InitAndTest10AlwaysReturnZero)
{
    EXPECT_EQ(test10(), 0);
    EXPECT_EQ(Kestrun_decoder_init(), 0);
    EXPECT_EQ(Kestrun_decoder_init(), 0);
    EXPECT_EQ(test10(), 0);
}

TEST(Exports, NullBuffersAreRefused)
{
    const Frames frames = framesOf("voice_mode0.VOC");
    unsigned char pcm[pcmBytes];
    Kestrun_decoder_init();
    EXPECT_EQ(Kestrun_Voice_decoder(nullptr, pcm, 0), 0);
    EXPECT_EQ(Kestrun_Voice_decoder(frames[0].data(), nullptr, 0), 0);
}
