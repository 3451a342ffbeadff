// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Files go between the PC pane and another program through the X clipboard.
#include "desktop_clipboard.h"
#include "explorer/folder_view.h"
#include "explorer/pc_file_operations.h"
#include "scripted_prompts.h"

#include "explorer_fixture.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QUrl>

namespace {

class DesktopClipboard : public ExplorerTest {
protected:
    void SetUp() override
    {
        if (!gHaveX)
            GTEST_SKIP() << "no X server or no xclip";
        touch("song.mp3", "song");
        makeDir("Out");
        view.setCurrentDirectory(scratch.path());
        ASSERT_TRUE(view.waitUntilLoaded(5000));
    }
    void TearDown() override
    {
        if (gHaveX) // lets the xclip that serves the clipboard go
            QGuiApplication::clipboard()->setText(QStringLiteral("done"));
    }
    // Runs xclip on the clipboard while this program keeps answering it.
    static QByteArray xclip(const QStringList &args, const QByteArray &input = {})
    {
        QProcess process;
        process.start(QStringLiteral("xclip"), QStringList{"-selection", "clipboard"} + args);
        if (!process.waitForStarted(5000))
            return "<no xclip>";
        process.write(input);
        process.closeWriteChannel();
        const QDeadlineTimer deadline(10000);
        while (process.state() != QProcess::NotRunning && !deadline.hasExpired())
            QTest::qWait(10);
        return process.readAllStandardOutput();
    }
    // Waits until the clipboard, which another program now owns, offers files.
    bool clipboardHasFiles()
    {
        const QDeadlineTimer deadline(5000);
        while (!view.fileOperations()->clipboardHasFiles() && !deadline.hasExpired())
            QTest::qWait(20);
        return view.fileOperations()->clipboardHasFiles();
    }

    ScriptedPrompts prompts;
    FolderView view;
};

TEST_F(DesktopClipboard, FilesCopiedInThePaneAreThereForOtherPrograms)
{
    for (int i = 0; i < view.itemCount(); ++i)
        view.setItemSelected(i, view.itemCaption(i) == "song.mp3");
    ASSERT_TRUE(view.cutSelected());
    const QByteArray targets = xclip({"-o", "-t", "TARGETS"});
    EXPECT_TRUE(targets.contains("text/uri-list")) << targets.toStdString();
    EXPECT_TRUE(targets.contains("x-special/gnome-copied-files"));
    EXPECT_TRUE(targets.contains("application/x-kde-cutselection"));
    EXPECT_EQ(xclip({"-o", "-t", "text/uri-list"}).trimmed(), QUrl::fromLocalFile(path("song.mp3")).toEncoded());
    EXPECT_EQ(xclip({"-o", "-t", "x-special/gnome-copied-files"}),
              "cut\n" + QUrl::fromLocalFile(path("song.mp3")).toEncoded());
}

TEST_F(DesktopClipboard, AListAnotherProgramPutsThereIsPastedIntoTheShownFolder)
{
    xclip({"-t", "text/uri-list", "-i"}, QUrl::fromLocalFile(path("song.mp3")).toEncoded() + "\n");
    ASSERT_TRUE(clipboardHasFiles());
    view.setCurrentDirectory(path("Out"));
    ASSERT_TRUE(view.paste());
    ASSERT_TRUE(view.fileOperations()->waitUntilIdle(10000));
    EXPECT_TRUE(QFileInfo::exists(path("Out/song.mp3")));
    EXPECT_TRUE(QFileInfo::exists(path("song.mp3"))) << "a bare list is a copy";

    // A file manager's cut moves, and is used up.
    xclip({"-t", "x-special/gnome-copied-files", "-i"}, "cut\n" + QUrl::fromLocalFile(path("song.mp3")).toEncoded());
    ASSERT_TRUE(clipboardHasFiles());
    view.setCurrentDirectory(path("Out"));
    prompts.answers = {PromptAnswer::KeepBoth};
    ASSERT_TRUE(view.paste());
    ASSERT_TRUE(view.fileOperations()->waitUntilIdle(10000));
    EXPECT_TRUE(QFileInfo::exists(path("Out/song (2).mp3")));
    EXPECT_FALSE(QFileInfo::exists(path("song.mp3")));
    EXPECT_FALSE(view.fileOperations()->clipboardHasFiles());
}

} // namespace
