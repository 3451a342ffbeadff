// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What a conversion leaves on disk: the wave file's exact bytes, its name,
// and the voice file gone, kept or untouched.
#include "voice_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

// The header expected for data bytes of PCM at rate.
Bytes expectedHeader(std::uint32_t rate, std::uint32_t data)
{
    auto le32 = [](std::uint32_t v) {
        return Bytes{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    };
    using namespace std::string_literals;
    return "RIFF"s + le32(36 + data) + "WAVE" + "fmt " + le32(16) + "\x01\x00"s + "\x01\x00"s
        + le32(rate) + le32(rate * 2) + "\x02\x00"s + "\x10\x00"s + "data" + le32(data);
}

class Conversion : public ::testing::Test {
protected:
    ScratchDir dir;
    ScriptedVoiceUi ui;

    ConvertOutcome convert(const std::string &name, const ConvertOptions &options = {})
    {
        return convertVoiceFile(dir.file(name), ui, options);
    }
};

TEST_F(Conversion, TenFramesOfMode0GiveTheExactHeaderAndTheVoiceFileGoes)
{
    writeBytes(dir.file("rec.VOC"), sampleFrames(0, 10));
    ASSERT_EQ(convert("rec.VOC"), ConvertOutcome::Converted);

    const Bytes wave = readBytes(dir.file("rec.wav"));
    ASSERT_EQ(wave.size(), 44u + 11520u);
    EXPECT_EQ(wave.substr(0, 44), expectedHeader(8000, 11520));
    EXPECT_EQ(le32At(wave, 4), 11556u);
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"rec.wav"});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.questions.empty());
}

TEST_F(Conversion, TrailingPartialFrameIsIgnored)
{
    writeBytes(dir.file("rec.VOC"), sampleFrames(2, 3) + Bytes(100, '\x55'));
    ASSERT_EQ(convert("rec.VOC"), ConvertOutcome::Converted);

    const Bytes wave = readBytes(dir.file("rec.wav"));
    ASSERT_EQ(wave.size(), 44u + 3456u);
    EXPECT_EQ(wave.substr(0, 44), expectedHeader(16000, 3456));
}

TEST_F(Conversion, OneFrameGivesOneBlockAndAFrameWithoutFullLengthGivesNone)
{
    writeBytes(dir.file("one.VOC"), sampleFrames(1, 1));
    writeBytes(dir.file("short.VOC"), sampleFrames(1, 1).substr(0, 71));
    ASSERT_EQ(convert("one.VOC"), ConvertOutcome::Converted);
    ASSERT_EQ(convert("short.VOC"), ConvertOutcome::Converted);

    const Bytes one = readBytes(dir.file("one.wav"));
    ASSERT_EQ(one.size(), 44u + 1152u);
    EXPECT_EQ(one.substr(0, 44), expectedHeader(16000, 1152));
    EXPECT_EQ(readBytes(dir.file("short.wav")), expectedHeader(16000, 0));
}

TEST_F(Conversion, ExtensionIsReplacedByLowerCaseWavWhateverItsCase)
{
    ASSERT_EQ(::mkdir(dir.file("take.2").c_str(), 0755), 0);
    for (const char *name : {"REC001.VOC", "Mixed.VoC", "noext", "take.2/inner"})
        writeBytes(dir.file(name), sampleFrames(0, 2));
    for (const char *name : {"REC001.VOC", "Mixed.VoC", "noext", "take.2/inner"})
        ASSERT_EQ(convert(name), ConvertOutcome::Converted) << name;

    EXPECT_EQ(folderEntries(dir.path()),
              (std::vector<std::string>{"Mixed.wav", "REC001.wav", "noext.wav", "take.2"}));
    EXPECT_EQ(folderEntries(dir.file("take.2")), std::vector<std::string>{"inner.wav"});
    EXPECT_EQ(waveFilePath("/a.b/c/REC.VOC"), "/a.b/c/REC.wav");
}

TEST_F(Conversion, RefusesEveryOtherFirstHeaderAndFilesTooShortToHoldOne)
{
    const Bytes good = sampleFrames(0, 4);
    auto withHeader = [&](const char *header) { return Bytes(header, 4) + good.substr(4); };
    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"padding.VOC", withHeader("\xFF\xE3\x1A\xC4")},
        {"crc.VOC", withHeader("\xFF\xE2\x18\xC4")},
        {"bitrate.VOC", withHeader("\xFF\xE3\x28\xC4")},
        {"mpeg1.VOC", withHeader("\xFF\xFB\x90\xC4")},
        {"text.VOC", Bytes("not a recording at all")},
        {"empty.VOC", Bytes()},
        {"three.VOC", good.substr(0, 3)},
    };
    for (const auto &[name, bytes] : cases) {
        writeBytes(dir.file(name), bytes);
        ui.messages.clear();
        EXPECT_EQ(convert(name), ConvertOutcome::Failed) << name;
        EXPECT_EQ(ui.messages, std::vector<std::string>{VoiceMessages::wrongVoice}) << name;
        EXPECT_EQ(readBytes(dir.file(name)), bytes) << name;
    }
    EXPECT_EQ(folderEntries(dir.path()).size(), cases.size()) << "no wave file was left";
}

TEST_F(Conversion, FrameTheDecoderRejectsRepeatsThePreviousSamples)
{
    const std::size_t len = frameLengthOf(0);
    Bytes voice = sampleFrames(0, 40);
    voice.replace(20 * len, len, Bytes(len, '\0')); // frame 20 loses its header
    writeBytes(dir.file("rec.VOC"), voice);
    ASSERT_EQ(convert("rec.VOC"), ConvertOutcome::Converted);

    const Bytes wave = readBytes(dir.file("rec.wav"));
    ASSERT_EQ(wave.size(), 44u + 40u * 1152u);
    auto block = [&](std::size_t i) { return wave.substr(44 + i * 1152, 1152); };
    EXPECT_EQ(block(20), block(19));
    EXPECT_NE(block(19), block(18)) << "the sample recording should not be silent here";
}

TEST_F(Conversion, AnsweringNoLeavesBothFilesAsTheyWere)
{
    const Bytes voice = sampleFrames(0, 3);
    writeBytes(dir.file("rec.VOC"), voice);
    writeBytes(dir.file("rec.wav"), "older wave");

    EXPECT_EQ(convert("rec.VOC"), ConvertOutcome::Declined);
    EXPECT_EQ(ui.questions, std::vector<std::string>{dir.file("rec.wav")});
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(readBytes(dir.file("rec.VOC")), voice);
    EXPECT_EQ(readBytes(dir.file("rec.wav")), "older wave");
}

TEST_F(Conversion, AnsweringYesReplacesTheWaveFile)
{
    writeBytes(dir.file("rec.VOC"), sampleFrames(0, 3));
    writeBytes(dir.file("rec.wav"), Bytes(100000, 'x'));
    ui.answers = {true};

    ASSERT_EQ(convert("rec.VOC"), ConvertOutcome::Converted);
    EXPECT_EQ(readBytes(dir.file("rec.wav")).size(), 44u + 3u * 1152u);
    EXPECT_FALSE(pathExists(dir.file("rec.VOC")));
}

TEST_F(Conversion, FolderNamedLikeTheWaveFileIsNotAskedAboutAndNotReplaced)
{
    const Bytes voice = sampleFrames(0, 3);
    writeBytes(dir.file("rec.VOC"), voice);
    ASSERT_EQ(::mkdir(dir.file("rec.wav").c_str(), 0755), 0);

    EXPECT_EQ(convert("rec.VOC"), ConvertOutcome::Failed);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(ui.messages, std::vector<std::string>{VoiceMessages::cannotCreateWave});
    EXPECT_EQ(readBytes(dir.file("rec.VOC")), voice);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("rec.wav")));
}

TEST_F(Conversion, KeepVoiceLeavesTheRecordingBesideItsWaveFile)
{
    const Bytes voice = sampleFrames(2, 2);
    writeBytes(dir.file("rec.VOC"), voice);
    ConvertOptions keep;
    keep.keepVoice = true;

    ASSERT_EQ(convert("rec.VOC", keep), ConvertOutcome::Converted);
    EXPECT_EQ(readBytes(dir.file("rec.VOC")), voice);
    EXPECT_EQ(readBytes(dir.file("rec.wav")).size(), 44u + 2u * 1152u);
}

} // namespace
