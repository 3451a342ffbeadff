// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Real recordings: the PCM must be what the mpg123 command line decodes from
// the same frames, and other programs must read the wave files back.
#include "voice_test_support.h"

#include <gtest/gtest.h>

namespace {

const char *const sampleNames[] = {"voice_mode0", "voice_mode1", "voice_mode2", "voice_clip"};

class SampleRecordings : public ::testing::Test {
protected:
    ScratchDir dir;

    // Copies a sample beside nothing else and converts it, keeping the copy.
    std::string convertCopy(const std::string &name)
    {
        const std::string voice = dir.file(name + ".VOC");
        writeBytes(voice, readBytes(std::string(TOVIX_TEST_DATA) + "/" + name + ".VOC"));
        ScriptedVoiceUi ui;
        ConvertOptions keep;
        keep.keepVoice = true;
        EXPECT_EQ(convertVoiceFile(voice, ui, keep), ConvertOutcome::Converted) << name;
        EXPECT_TRUE(ui.messages.empty()) << name;
        return waveFilePath(voice);
    }
};

TEST_F(SampleRecordings, PcmEqualsTheMpg123CommandLineForEachFileInTurn)
{
    // One process converts all of them, so each must start a fresh stream.
    for (const std::string name : sampleNames) {
        const std::string wave = convertCopy(name);
        const ProgramResult reference =
            runProgram({MPG123_PATH, "-q", "-s", "--no-gapless", dir.file(name + ".VOC")});
        ASSERT_EQ(reference.exitCode, 0) << reference.err;
        ASSERT_FALSE(reference.out.empty()) << name;

        const Bytes pcm = readBytes(wave).substr(44);
        EXPECT_EQ(pcm.size(), reference.out.size()) << name;
        EXPECT_TRUE(pcm == reference.out) << name << ": decoded samples differ";
    }
}

TEST_F(SampleRecordings, PythonWaveModuleReadsBackRateAndLength)
{
    const struct { const char *name; int rate; std::size_t frameLength; } samples[] = {
        {"voice_mode0", 8000, 72}, {"voice_mode1", 16000, 72}, {"voice_mode2", 16000, 144}};
    for (const auto &s : samples) {
        const std::string wave = convertCopy(s.name);
        const ProgramResult info = runProgram(
            {PYTHON3_PATH, "-c",
             "import sys, wave\n"
             "w = wave.open(sys.argv[1])\n"
             "print(w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes())\n",
             wave});
        ASSERT_EQ(info.exitCode, 0) << info.err;
        const std::size_t frames = readBytes(dir.file(std::string(s.name) + ".VOC")).size()
            / s.frameLength;
        EXPECT_EQ(info.out, "1 2 " + std::to_string(s.rate) + " "
                                + std::to_string(frames * 576) + "\n")
            << s.name;
    }
}

} // namespace
