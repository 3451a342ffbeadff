// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What an import does with a recording once its bytes are on the PC.
#include "act_hook.h"
#include "queue/import_arrival.h"
#include "queue/import_memory.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <iterator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct QuietUi : VoiceConversionUi {
    bool askOverwrite(const std::string &) override { return false; }
    void showMessage(const std::string &) override {}
};

std::string bytesOf(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "(missing)";
}

// The duplicate wave file goes only as the file this import wrote: another user
// who renames the folder away right before its removal, and puts a folder with
// a file of that name in its place, keeps that file.
TEST(ImportArrivalThreading, TheDuplicateWaveGoesFromItsOwnFolderWhenTheFolderIsSwapped)
{
    QTemporaryDir scratch;
    const std::string folder = scratch.filePath(QStringLiteral("pc")).toStdString();
    const std::string moved = scratch.filePath(QStringLiteral("moved")).toStdString();
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const std::string recording = bytesOf(TOVIX_TEST_DATA "/voice_mode0.VOC");
    std::ofstream(folder + "/REC.VOC", std::ios::binary) << recording;
    QuietUi ui;
    ConvertOptions keep;
    keep.keepVoice = true;
    ASSERT_EQ(convertVoiceFile(folder + "/REC.VOC", ui, keep), ConvertOutcome::Converted);
    const std::string olderWave = bytesOf(folder + "/REC.wav");

    ImportMemory memory({});
    ImportArrival arrival;
    ActHook::swapFolderBefore("REC (2).wav", folder, moved);
    const ImportTicket ticket{0, "REC.VOC", recording.size(), folder + "/REC.VOC"};
    EXPECT_EQ(arriveImported(ticket, memory, ui, arrival), ConvertOutcome::Converted);
    ActHook::clear();

    EXPECT_EQ(arrival.kind, ImportArrival::AlreadyThere);
    EXPECT_EQ(bytesOf(folder + "/REC (2).wav"), "another user's file");
    EXPECT_EQ(bytesOf(moved + "/REC (2).wav"), "(missing)");
    EXPECT_TRUE(bytesOf(moved + "/REC.wav") == olderWave); // the older wave file, untouched
}

// An older wave file that a group of other users may write does not stand for
// the recording: they could empty it once the new one is gone.
TEST(ImportArrival, AnOlderWaveOthersMayWriteKeepsTheNewOne)
{
    QTemporaryDir scratch;
    const std::string folder = scratch.path().toStdString();
    const std::string recording = bytesOf(TOVIX_TEST_DATA "/voice_mode0.VOC");
    std::ofstream(folder + "/REC.VOC", std::ios::binary) << recording;
    QuietUi ui;
    ConvertOptions keep;
    keep.keepVoice = true;
    ASSERT_EQ(convertVoiceFile(folder + "/REC.VOC", ui, keep), ConvertOutcome::Converted);
    const std::string olderWave = folder + "/REC.wav";
    ASSERT_EQ(::chown(olderWave.c_str(), ::geteuid(), ::getegid() + 1), 0);
    ASSERT_EQ(::chmod(olderWave.c_str(), 0664), 0);

    ImportMemory memory({});
    ImportArrival arrival;
    const ImportTicket ticket{0, "REC.VOC", recording.size(), folder + "/REC.VOC"};
    EXPECT_EQ(arriveImported(ticket, memory, ui, arrival), ConvertOutcome::Converted);
    EXPECT_EQ(arrival.kind, ImportArrival::Arrived);
    EXPECT_TRUE(bytesOf(folder + "/REC (2).wav") == bytesOf(olderWave));
}

// A FIFO put in the duplicate's place once it is written is not waited on: the
// import ends at once and leaves it alone.
TEST(ImportArrivalThreading, AFifoInTheDuplicatesPlaceDoesNotStallTheImport)
{
    QTemporaryDir scratch;
    const std::string folder = scratch.path().toStdString();
    const std::string recording = bytesOf(TOVIX_TEST_DATA "/voice_mode0.VOC");
    std::ofstream(folder + "/REC.VOC", std::ios::binary) << recording;
    std::ofstream(folder + "/REC.wav", std::ios::binary) << "an older recording";
    const std::string duplicate = folder + "/REC (2).wav";
    ActHook::runBefore("REC.VOC", [&] { ::unlink(duplicate.c_str()), ::mkfifo(duplicate.c_str(), 0600); });

    QuietUi ui;
    ImportMemory memory({});
    ImportArrival arrival;
    const ImportTicket ticket{0, "REC.VOC", recording.size(), folder + "/REC.VOC"};
    auto done = std::async(std::launch::async, [&] { return arriveImported(ticket, memory, ui, arrival); });
    const bool stalled = done.wait_for(std::chrono::seconds(3)) == std::future_status::timeout;
    if (stalled)
        ::close(::open(duplicate.c_str(), O_WRONLY | O_NONBLOCK)); // lets it go on
    EXPECT_EQ(done.get(), ConvertOutcome::Converted);
    ActHook::clear();
    EXPECT_FALSE(stalled);
    struct stat st {};
    EXPECT_TRUE(::lstat(duplicate.c_str(), &st) == 0 && S_ISFIFO(st.st_mode));
}

} // namespace
