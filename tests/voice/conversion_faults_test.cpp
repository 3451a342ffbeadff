// Conversions that cannot complete: the recording must survive every one of
// them, and no incomplete wave file may be left behind.
#include "voice_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(ConversionFaults, MissingVoiceFileIsReportedAfterAnAcceptedOverwrite)
{
    ScratchDir dir;
    ScriptedVoiceUi ui;
    ui.answers = {true};
    writeBytes(dir.file("gone.wav"), "old");

    EXPECT_EQ(convertVoiceFile(dir.file("gone.VOC"), ui), ConvertOutcome::Failed);
    EXPECT_EQ(ui.messages, std::vector<std::string>{VoiceMessages::cannotOpenVoice});
    // Saying Yes gives the old wave file up only for a complete new one.
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"gone.wav"});
    EXPECT_EQ(readBytes(dir.file("gone.wav")), "old");
}

TEST(ConversionFaults, VoiceFileLockedByAnotherProgramIsNotTouched)
{
    ScratchDir dir;
    ScriptedVoiceUi ui;
    const Bytes voice = sampleFrames(0, 5);
    writeBytes(dir.file("rec.VOC"), voice);
    const int holder = ::open(dir.file("rec.VOC").c_str(), O_RDONLY);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);

    EXPECT_EQ(convertVoiceFile(dir.file("rec.VOC"), ui), ConvertOutcome::Failed);
    ::close(holder);
    EXPECT_EQ(ui.messages, std::vector<std::string>{VoiceMessages::cannotOpenVoice});
    EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"rec.VOC"});
    EXPECT_EQ(readBytes(dir.file("rec.VOC")), voice);
}

TEST(ConversionFaults, FileAlreadyNamedLikeItsWaveFileIsRefusedNotDeleted)
{
    ScratchDir dir;
    ScriptedVoiceUi ui;
    ui.answers = {true};
    const Bytes voice = sampleFrames(0, 5);
    writeBytes(dir.file("rec.wav"), voice);
    ASSERT_EQ(::symlink("rec.wav", dir.file("rec.VOC").c_str()), 0);

    EXPECT_EQ(convertVoiceFile(dir.file("rec.wav"), ui), ConvertOutcome::Failed);
    EXPECT_EQ(convertVoiceFile(dir.file("rec.VOC"), ui), ConvertOutcome::Failed);
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(ui.messages, (std::vector<std::string>{VoiceMessages::wrongVoice,
                                                     VoiceMessages::wrongVoice}));
    EXPECT_EQ(readBytes(dir.file("rec.wav")), voice);
}

// Converts in a child whose files may not grow past limit bytes, as on a
// full disk; returns the messages it showed, one per line.
std::string convertUnderFileSizeLimit(const std::string &voicePath, rlim_t limit)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        ScriptedVoiceUi ui;
        const ConvertOutcome outcome = convertVoiceFile(voicePath, ui);
        std::string report;
        for (const std::string &m : ui.messages)
            report += m + "\n";
        if (::write(pipeFds[1], report.data(), report.size()) < 0)
            ::_exit(3);
        ::_exit(outcome == ConvertOutcome::Failed ? 0 : 1);
    }
    ::close(pipeFds[1]);
    std::string report;
    char chunk[256];
    ssize_t got;
    while ((got = ::read(pipeFds[0], chunk, sizeof chunk)) > 0)
        report.append(chunk, static_cast<std::size_t>(got));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        report += "child did not fail cleanly\n";
    return report;
}

TEST(ConversionFaults, FullDiskRemovesThePartialWaveFileAndKeepsTheRecording)
{
    ScratchDir dir;
    const Bytes voice = sampleRecording(2); // its wave file is about 350 KB
    writeBytes(dir.file("rec.VOC"), voice);

    // Once in the middle of the data, once right after the header.
    for (rlim_t limit : {rlim_t{100000}, rlim_t{44}}) {
        EXPECT_EQ(convertUnderFileSizeLimit(dir.file("rec.VOC"), limit),
                  std::string(VoiceMessages::cannotWriteWave) + "\n")
            << "limit " << limit;
        EXPECT_EQ(folderEntries(dir.path()), std::vector<std::string>{"rec.VOC"});
        EXPECT_EQ(readBytes(dir.file("rec.VOC")), voice);
    }
}

} // namespace
