// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Conversions that cannot complete: the recording must survive every one of
// them, and no incomplete wave file may be left behind.
#include "act_hook.h"
#include "voice_test_support.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <linux/capability.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

// Right between the last look at the recording and its removal, its folder is
// renamed and another folder with another rec.VOC takes its name: only the
// recording converted goes, from the folder it is in now.
TEST(ConversionFaults, FolderSwappedBeforeTheRemovalKeepsTheOtherFile)
{
    ScratchDir dir;
    ScriptedVoiceUi ui;
    const std::string folder = dir.file("rec"), moved = dir.file("moved");
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    writeBytes(folder + "/rec.VOC", sampleFrames(0, 5));
    ActHook::swapFolderBefore("rec.VOC", folder, moved);
    EXPECT_EQ(convertVoiceFile(folder + "/rec.VOC", ui), ConvertOutcome::Converted);
    ActHook::clear();
    EXPECT_EQ(readBytes(folder + "/rec.VOC"), "another user's file");
    EXPECT_EQ(folderEntries(moved), std::vector<std::string>{"rec.wav"});
}

// Converts in a child after prepare(); returns the messages it showed, one per line.
std::string convertInChild(const std::string &voicePath, const std::function<void()> &prepare)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        prepare();
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

// Files may not grow past limit bytes, as on a full disk.
std::string convertUnderFileSizeLimit(const std::string &voicePath, rlim_t limit)
{
    return convertInChild(voicePath, [limit] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
    });
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

TEST(ConversionFaults, WaveFilesFolderThatCannotBeOpenedForItsSyncKeepsTheRecording)
{
    ScratchDir dir;
    const Bytes voice = sampleFrames(0, 50);
    writeBytes(dir.file("rec.VOC"), voice);
    // Names can be made in the folder, but it cannot be opened for reading:
    // by a child without root's override of permissions.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0300), 0);
    const std::string report = convertInChild(dir.file("rec.VOC"), [] {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct none[2] = {};
        ::syscall(SYS_capset, &header, none);
    });
    ::chmod(dir.path().c_str(), 0700);
    EXPECT_EQ(report, std::string(VoiceMessages::cannotWriteWave) + "\n");
    EXPECT_EQ(readBytes(dir.file("rec.VOC")), voice);
}

} // namespace
