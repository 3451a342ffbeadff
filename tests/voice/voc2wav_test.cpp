// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The voc2wav command: its flags, its messages on stderr and its exit status.
#include "voice_test_support.h"

#include <gtest/gtest.h>

namespace {

class Voc2wav : public ::testing::Test {
protected:
    ScratchDir dir;

    ProgramResult run(std::vector<std::string> args, const std::string &workDir = {})
    {
        args.insert(args.begin(), VOC2WAV_PATH);
        return runProgram(args, workDir);
    }
};

TEST_F(Voc2wav, HelpAndUsageErrors)
{
    const ProgramResult help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Usage: voc2wav"), std::string::npos);

    writeBytes(dir.file("a.VOC"), sampleFrames(0, 2));
    for (const auto &args : std::vector<std::vector<std::string>>{
             {}, {"--bogus", dir.file("a.VOC")}, {"--overwrite", "--keep-existing", dir.file("a.VOC")}}) {
        const ProgramResult bad = run(args);
        EXPECT_EQ(bad.exitCode, 2);
        EXPECT_NE(bad.err.find("Usage: voc2wav"), std::string::npos);
    }
    EXPECT_TRUE(pathExists(dir.file("a.VOC"))) << "a usage error converts nothing";
    EXPECT_FALSE(pathExists(dir.file("a.wav")));
}

TEST_F(Voc2wav, ConvertsWhatItCanAndNamesEachFailure)
{
    writeBytes(dir.file("good.voc"), sampleFrames(1, 4));
    writeBytes(dir.file("bad.VOC"), "garbage");
    const std::string missing = dir.file("missing.VOC");

    const ProgramResult r = run({dir.file("good.voc"), dir.file("bad.VOC"), missing});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, dir.file("bad.VOC") + ": Wrong voice file\n" + missing
                         + ": Can not open voice file\n");
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{"bad.VOC", "good.wav"}));
    EXPECT_EQ(readBytes(dir.file("good.wav")).size(), 44u + 4u * 1152u);
}

TEST_F(Voc2wav, ExistingWaveFileIsKeptUnlessOverwriteIsGiven)
{
    const Bytes voice = sampleFrames(0, 3);
    writeBytes(dir.file("rec.VOC"), voice);
    writeBytes(dir.file("rec.wav"), "old");

    // Standard input is not a terminal, so the question is answered No.
    for (const auto &args : std::vector<std::vector<std::string>>{
             {dir.file("rec.VOC")}, {"--keep-existing", dir.file("rec.VOC")}}) {
        const ProgramResult kept = run(args);
        EXPECT_EQ(kept.exitCode, 1);
        EXPECT_NE(kept.err.find("File already exists, Overwrite ?"), std::string::npos);
        EXPECT_EQ(readBytes(dir.file("rec.wav")), "old");
        EXPECT_EQ(readBytes(dir.file("rec.VOC")), voice);
    }

    const ProgramResult replaced = run({"--overwrite", dir.file("rec.VOC")});
    EXPECT_EQ(replaced.exitCode, 0) << replaced.err;
    EXPECT_TRUE(replaced.err.empty());
    EXPECT_EQ(readBytes(dir.file("rec.wav")).size(), 44u + 3u * 1152u);
    EXPECT_FALSE(pathExists(dir.file("rec.VOC")));
}

TEST_F(Voc2wav, KeepVoiceKeepsRecordingsAndDoubleDashEndsTheOptions)
{
    writeBytes(dir.file("a.VOC"), sampleFrames(0, 2));
    writeBytes(dir.file("--b.VOC"), sampleFrames(2, 2));

    const ProgramResult r = run({"--keep-voice", "a.VOC", "--", "--b.VOC"}, dir.path());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{"--b.VOC", "--b.wav", "a.VOC", "a.wav"}));
}

} // namespace
