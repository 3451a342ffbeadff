// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The scripted fake device library that the window tests build on.
#include "fake_nerolink.h"

#include "device/records.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

class FakeDevice : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }
    void TearDown() override { fake::reset(); }
};

TEST_F(FakeDevice, ResetMeansNoPlayerAndDefaultResults)
{
    fake::setVersion(1);
    fake::setOperationResult(0);
    fake::setRefreshResult(mtCard, 0);
    fake::setStatus(psNoCard);
    dll_fn_get_player_status();
    fake::reset();
    EXPECT_TRUE(fake::calls().empty());
    TPlayerVersion version;
    EXPECT_EQ(dll_fn_get_player_version(&version), 0);
    EXPECT_EQ(dll_fn_get_player_status(), 0);
    auto info = std::make_unique<TMemoryInfo>();
    EXPECT_EQ(dll_fn_refresh_device(info.get(), mtCard), 1);
    EXPECT_EQ(info->FileCount, 0u);
    EXPECT_EQ(dll_fn_delete_file("A.TXT", mtInternal), 1);
}

TEST_F(FakeDevice, RecordsAndResultsAreTheScriptedOnes)
{
    fake::setVersion(7, std::string(" AB\0CD", 6));
    TPlayerVersion version;
    EXPECT_EQ(dll_fn_get_player_version(&version), 7);
    EXPECT_EQ(versionText(version), "AB");

    TMemoryInfo card = fake::makeMemory(1000, 400);
    fake::addFile(card, fake::makeEntry("Long name.mp3", "LONGNA~1.MP3", 600, true));
    fake::addFile(card, fake::makeEntry("ignored", "SHORT.TXT", 0, false));
    fake::setMemory(mtCard, card);
    fake::memory(mtCard).FreeBytes = 300; // edited in place
    auto info = std::make_unique<TMemoryInfo>();
    ASSERT_EQ(dll_fn_refresh_device(info.get(), mtCard), 1);
    EXPECT_EQ(info->FileCount, 2u);
    EXPECT_EQ(info->TotalBytes, 1000u);
    EXPECT_EQ(info->FreeBytes, 300u);
    EXPECT_EQ(displayName(info->Files[0]), "Long name.mp3");
    EXPECT_EQ(displayName(info->Files[1]), "SHORT.TXT");
    EXPECT_EQ(info->Files[0].Size, 600u);

    fake::setRefreshResult(mtInternal, 0);
    info->FileCount = 99;
    EXPECT_EQ(dll_fn_refresh_device(info.get(), mtInternal), 0);
    EXPECT_EQ(info->FileCount, 99u) << "a failed refresh copies nothing";
    fake::setOperationResult(-3);
    EXPECT_EQ(dll_fn_format_device(mtCard), -3);
}

TEST_F(FakeDevice, AddFileStopsAt255)
{
    TMemoryInfo info = fake::makeMemory(0, 0);
    for (int i = 0; i < 300; ++i)
        fake::addFile(info, fake::makeEntry("x", "X", 1, false));
    EXPECT_EQ(info.FileCount, 255u);
}

TEST_F(FakeDevice, CallsAreRecordedWithArgumentsAndThread)
{
    const std::string path = ::testing::TempDir() + "fake-upload.bin";
    std::remove(path.c_str());
    fake::setUploadContent(std::string("voice\0data", 10));
    dll_fn_get_player_status();
    std::thread worker([&] { dll_fn_upload_file("REC00001.VOC", path.c_str(), mtCard); });
    worker.join();
    dll_fn_download_file("/home/u/song.mp3", mtInternal);
    const auto calls = fake::calls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].function, "dll_fn_get_player_status");
    EXPECT_EQ(calls[0].thread, std::this_thread::get_id());
    EXPECT_EQ(calls[1].function, "dll_fn_upload_file");
    EXPECT_EQ(calls[1].arg1, "REC00001.VOC");
    EXPECT_EQ(calls[1].arg2, path);
    EXPECT_EQ(calls[1].target, mtCard);
    EXPECT_NE(calls[1].thread, std::this_thread::get_id());
    EXPECT_EQ(calls[2].arg1, "/home/u/song.mp3");
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), std::string("voice\0data", 10));
    std::remove(path.c_str());
    fake::clearCalls();
    EXPECT_TRUE(fake::calls().empty());
}

TEST_F(FakeDevice, GateHoldsAnOperationUntilReleased)
{
    EXPECT_FALSE(fake::waitForHeldOperation(20));
    fake::holdOperations(true);
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        dll_fn_delete_file("A.TXT", mtInternal);
        returned = true;
    });
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(returned);
    dll_fn_get_player_status(); // the UI thread gets in while the worker is held
    EXPECT_EQ(fake::maxConcurrentCalls(), 2);
    fake::releaseHeldOperation();
    worker.join();
    EXPECT_TRUE(returned);
    EXPECT_FALSE(fake::waitForHeldOperation(20));

    // The gate stays closed for the next operation until it is opened.
    std::thread next([] { dll_fn_format_device(mtCard); });
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    fake::holdOperations(false);
    next.join();
}

TEST_F(FakeDevice, DelaySlowsOperationsOnly)
{
    fake::setOperationDelayMs(80);
    auto start = std::chrono::steady_clock::now();
    dll_fn_download_file("/tmp/x", mtInternal);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
    start = std::chrono::steady_clock::now();
    dll_fn_get_player_status();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(80));
    EXPECT_EQ(fake::maxConcurrentCalls(), 1);
}
