// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The kind table: memory, status text and the one device call of each kind.
#include "fake_nerolink.h"
#include "queue/copy_job.h"
#include "queue/job_kinds.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(JobKinds, ActionAndMemoryGiveTheKindAndBack)
{
    const JobAction actions[] = {JobAction::Download, JobAction::Upload, JobAction::Remove,
                                 JobAction::Format};
    int32_t expected = jkDownloadInternal;
    for (JobAction action : actions) {
        for (int32_t target : {mtInternal, mtCard}) {
            const int32_t kind = jobKind(action, target);
            EXPECT_EQ(kind, expected++);
            EXPECT_EQ(kindTarget(kind), target);
        }
    }
    EXPECT_EQ(kindTarget(0), 0);
    EXPECT_EQ(kindTarget(9), 0);
    EXPECT_EQ(kindTarget(-1), 0);
}

TEST(JobKinds, StatusTexts)
{
    EXPECT_STREQ(kindStatusText(jkDownloadInternal), "Downloading...");
    EXPECT_STREQ(kindStatusText(jkDownloadCard), "Downloading...");
    EXPECT_STREQ(kindStatusText(jkUploadInternal), "Uploading...");
    EXPECT_STREQ(kindStatusText(jkUploadCard), "Uploading...");
    EXPECT_STREQ(kindStatusText(jkRemoveInternal), "Removing...");
    EXPECT_STREQ(kindStatusText(jkRemoveCard), "Removing...");
    EXPECT_STREQ(kindStatusText(jkFormatInternal), "Formatting...");
    EXPECT_STREQ(kindStatusText(jkFormatCard), "Formatting...");
    EXPECT_STREQ(kindStatusText(0), "");
    EXPECT_STREQ(kindStatusText(9), "");
}

struct ExpectedCall {
    int32_t kind;
    const char *function;
    const char *arg1;
    const char *arg2;
    int32_t target;
};

TEST(JobKinds, EachKindMakesItsOneCallWithItsArguments)
{
    const ExpectedCall table[] = {
        {jkDownloadInternal, "dll_fn_download_file", "/pc/a.mp3", "", mtInternal},
        {jkDownloadCard, "dll_fn_download_file", "/pc/a.mp3", "", mtCard},
        {jkUploadInternal, "dll_fn_upload_file", "A~1.MP3", "/pc/a.mp3", mtInternal},
        {jkUploadCard, "dll_fn_upload_file", "A~1.MP3", "/pc/a.mp3", mtCard},
        {jkRemoveInternal, "dll_fn_delete_file", "A~1.MP3", "", mtInternal},
        {jkRemoveCard, "dll_fn_delete_file", "A~1.MP3", "", mtCard},
        {jkFormatInternal, "dll_fn_format_device", "", "", mtInternal},
        {jkFormatCard, "dll_fn_format_device", "", "", mtCard},
    };
    for (const ExpectedCall &e : table) {
        fake::reset();
        fake::setOperationResult(40 + e.kind);
        EXPECT_EQ(runJobCall(e.kind, "/pc/a.mp3", "A~1.MP3"), 40 + e.kind);
        const auto calls = fake::calls();
        ASSERT_EQ(calls.size(), 1u) << "kind " << e.kind;
        EXPECT_EQ(calls[0].function, e.function);
        EXPECT_EQ(calls[0].arg1, e.arg1);
        EXPECT_EQ(calls[0].arg2, e.arg2);
        EXPECT_EQ(calls[0].target, e.target);
    }
}

TEST(JobKinds, AKindOutsideTheTableMakesNoCallAndGivesOne)
{
    for (int32_t kind : {0, 9, -7, 1000}) {
        fake::reset();
        fake::setOperationResult(0);
        EXPECT_EQ(runJobCall(kind, "/pc/a.mp3", "A~1.MP3"), 1);
        EXPECT_TRUE(fake::calls().empty());
    }
}

TEST(JobKinds, TickCountAdvancesInMilliseconds)
{
    const uint32_t before = tickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint32_t elapsed = tickCount() - before;
    EXPECT_GE(elapsed, 29u);
    EXPECT_LT(elapsed, 5000u);
}

} // namespace
