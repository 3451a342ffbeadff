// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The wave file appears under its name only when it is whole: while a
// conversion runs, and after one that fails, the folder shows the recording
// and any old wave file exactly as they were.
#include "read_hook.h"
#include "voice_test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

class WaveInPlace : public ::testing::Test {
protected:
    ScratchDir dir;
    ScriptedVoiceUi ui;
    // Many buffer fills of the recording, so the wave file is written between reads.
    const Bytes voice = repeated(sampleRecording(0), 16);

    static Bytes repeated(const Bytes &bytes, int times)
    {
        Bytes all;
        while (times-- > 0)
            all += bytes;
        return all;
    }

    void TearDown() override { ReadHook::clear(); }

    // What the folder holds, and the old wave file's bytes, at every read of the recording.
    void expectUntouchedWhileReading(const std::vector<std::string> &entries, const Bytes &oldWave)
    {
        ReadHook::watch(dir.file("rec.VOC"), [this, entries, oldWave] {
            EXPECT_EQ(folderEntries(dir.path()), entries);
            if (!oldWave.empty()) {
                EXPECT_EQ(readBytes(dir.file("rec.wav")), oldWave);
            }
        });
    }
};

TEST_F(WaveInPlace, NoHalfWaveFileIsEverSeenUnderItsName)
{
    ASSERT_GT(voice.size(), 2u * 64 * 1024);
    writeBytes(dir.file("rec.VOC"), voice);
    expectUntouchedWhileReading({"rec.VOC"}, {});
    ASSERT_EQ(convertVoiceFile(dir.file("rec.VOC"), ui), ConvertOutcome::Converted);
    ReadHook::clear();
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"rec.wav"});
    EXPECT_EQ(readBytes(dir.file("rec.wav")).size(), 44 + voice.size() / 72 * 1152);
}

TEST_F(WaveInPlace, ReplacedWaveFileStaysUntilTheNewOneIsComplete)
{
    writeBytes(dir.file("rec.VOC"), voice);
    writeBytes(dir.file("rec.wav"), "older wave");
    ui.answers = {true};
    expectUntouchedWhileReading({"rec.VOC", "rec.wav"}, "older wave");
    ASSERT_EQ(convertVoiceFile(dir.file("rec.VOC"), ui), ConvertOutcome::Converted);
    ReadHook::clear();
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"rec.wav"});
    EXPECT_EQ(readBytes(dir.file("rec.wav")).size(), 44 + voice.size() / 72 * 1152);
}

TEST_F(WaveInPlace, ReadErrorMidFileKeepsTheRecordingAndTheOldWaveFile)
{
    for (const bool oldWave : {false, true}) {
        writeBytes(dir.file("rec.VOC"), voice);
        if (oldWave)
            writeBytes(dir.file("rec.wav"), "older wave");
        ui.answers = {true};
        ui.messages.clear();
        ReadHook::watch(dir.file("rec.VOC"), nullptr, 100000);
        EXPECT_EQ(convertVoiceFile(dir.file("rec.VOC"), ui), ConvertOutcome::Failed);
        ReadHook::clear();
        EXPECT_EQ(ui.messages, std::vector<std::string>{VoiceMessages::cannotReadVoice});
        EXPECT_EQ(readBytes(dir.file("rec.VOC")), voice);
        EXPECT_EQ(folderEntries(dir.path()).size(), oldWave ? 2u : 1u);
        if (oldWave) {
            EXPECT_EQ(readBytes(dir.file("rec.wav")), "older wave");
        }
    }
}

TEST_F(WaveInPlace, WaveFileLockedByAnotherProgramIsNotReplaced)
{
    writeBytes(dir.file("rec.VOC"), voice);
    writeBytes(dir.file("rec.wav"), "in use");
    const int holder = ::open(dir.file("rec.wav").c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    ui.answers = {true};
    EXPECT_EQ(convertVoiceFile(dir.file("rec.VOC"), ui), ConvertOutcome::Failed);
    ::close(holder);
    EXPECT_EQ(ui.messages, std::vector<std::string>{VoiceMessages::cannotCreateWave});
    EXPECT_EQ(readBytes(dir.file("rec.wav")), "in use");
    EXPECT_EQ(readBytes(dir.file("rec.VOC")), voice);
}

TEST_F(WaveInPlace, LeftoverOfAKilledConversionIsSweptButOneInUseIsNot)
{
    writeBytes(dir.file("rec.VOC"), sampleFrames(0, 3));
    const std::string leftover = dir.file(std::string(waveTemporaryPrefix) + "dead01");
    const std::string live = dir.file(std::string(waveTemporaryPrefix) + "live01");
    writeBytes(leftover, "half a wave");
    writeBytes(live, "being written");
    const int writer = ::open(live.c_str(), O_RDWR);
    ASSERT_GE(writer, 0);
    ASSERT_EQ(::flock(writer, LOCK_EX), 0);

    ASSERT_EQ(convertVoiceFile(dir.file("rec.VOC"), ui), ConvertOutcome::Converted);
    ::close(writer);
    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{std::string(waveTemporaryPrefix) + "live01", "rec.wav"}));
}

TEST_F(WaveInPlace, UsersFilesNamedLikeTheTemporariesStayAsTheyWere)
{
    writeBytes(dir.file("rec.VOC"), sampleFrames(0, 3));
    const std::string draft = std::string(waveTemporaryPrefix) + "draft.txt";
    writeBytes(dir.file(draft), "my draft");

    ASSERT_EQ(convertVoiceFile(dir.file("rec.VOC"), ui), ConvertOutcome::Converted);
    EXPECT_EQ(folderEntries(dir.path()), (std::vector<std::string>{draft, "rec.wav"}));
    EXPECT_EQ(readBytes(dir.file(draft)), "my draft");
}

} // namespace
