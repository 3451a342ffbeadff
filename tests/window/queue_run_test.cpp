// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The queue at work: jobs start on the transfer tick, run one at a time on a
// worker, complete on a later tick; cancelling, conversion and closing.
#include "queue_fixture.h"

#include "explorer/folder_tree.h"
#include "queue/thread_done_event.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolButton>

#include <fstream>
#include <iterator>
#include <thread>

namespace {

class QueueRunThreading : public QueueTest {
protected:
    static std::string voiceRecording()
    {
        std::ifstream in(TOVIX_TEST_DATA "/voice_mode0.VOC", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    bool pcHas(const QString &name) const { return QFile::exists(pc.filePath(name)); }
    // What an operation running alone leaves off: the panes, their buttons,
    // the queue, every menu but Listen's, and drops onto the window.
    bool nothingElseCanStart() const
    {
        bool off = !w->acceptDrops();
        for (QWidget *part : std::initializer_list<QWidget *>{w->FolderView, w->FolderTree,
                              w->FileList_All, w->FileList_Internal, w->FileList_External, w->Button_Download,
                              w->Button_Upload, w->Button_Delete, w->Button_Format, w->Button_Import,
                              w->Button_Refresh, w->CheckList_CopyProgress, w->ToolButton4})
            off = off && !part->isEnabled();
        for (QAction *title : w->menuBar()->actions())
            off = off && (title == w->Menu_Listen->menuAction() || !title->isEnabled());
        return off;
    }
    bool lineRunning(int row) const
    {
        return !(w->CheckList_CopyProgress->item(row)->flags() & Qt::ItemIsEnabled);
    }
    void queueDownloads(const QStringList &names, qint64 bytes, int tag = 1)
    {
        for (const QString &name : names)
            makePcFile(name, bytes);
        selectPc(names);
        w->TabControl_PlayerFiles->setCurrentIndex(tag);
        w->MainMenu_DownloadToPlayerClick();
    }
    void uploadAll(const std::vector<TFileEntry> &files)
    {
        attach(memoryOf(files), fake::makeMemory(1000, 1000));
        w->TabControl_PlayerFiles->setCurrentIndex(1);
        w->UploadallfilesinPlayertoPC1Click();
    }
};

TEST_F(QueueRunThreading, CommandsRunInTheirOrderOneAtATime)
{
    attach(memoryOf({fake::makeEntry("old.mp3", "OLD.MP3", 300, true)}), fake::makeMemory(1000, 1000));
    queueDownloads({QStringLiteral("a.mp3")}, 100);
    selectPlayer(1, {"old.mp3"});
    prompts.answers = {PromptAnswer::Yes};
    w->RemoveClick();
    fake::clearCalls();
    fake::holdOperations(true);

    tick();
    EXPECT_TRUE(w->FJobRunning);
    EXPECT_TRUE(w->FDeviceBusy);
    EXPECT_TRUE(lineRunning(0));
    EXPECT_FALSE(lineRunning(1));
    EXPECT_EQ(w->statusText(3), QStringLiteral("Downloading..."));
    EXPECT_EQ(w->FJobResult, 1);
    EXPECT_STREQ(w->FCurrentJob.PcPath, pcPath(QStringLiteral("a.mp3")).c_str());
    EXPECT_FALSE(w->ProgressBar_Busy->isHidden());
    EXPECT_EQ(w->Label_Elapsed->text(), QStringLiteral("0:00"));
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    tick(); // nothing has come back yet
    EXPECT_EQ(operations().size(), 1u);

    fake::setOperationResult(-3);
    fake::releaseHeldOperation();
    ASSERT_TRUE(waitPosted());
    EXPECT_EQ(w->FJobResult, -3);
    tick(); // completes the download and starts the removal in the same tick
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Remove \"old.mp3\" in Internal Memory")}));
    EXPECT_TRUE(lineRunning(0));
    EXPECT_EQ(w->statusText(3), QStringLiteral("Removing..."));
    EXPECT_EQ(w->FReservedInternal, -300) << "the download's bytes were given back";
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    fake::releaseHeldOperation();
    fake::holdOperations(false);
    ASSERT_TRUE(runQueue());

    const auto ops = operations();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].function, "dll_fn_download_file");
    EXPECT_EQ(ops[1].function, "dll_fn_delete_file");
    EXPECT_EQ(ops[1].arg1, "OLD.MP3");
    for (const fake::Call &c : ops)
        EXPECT_NE(c.thread, std::this_thread::get_id());
    EXPECT_EQ(fake::maxConcurrentCalls(), 1);
    EXPECT_EQ(w->statusText(3), QStringLiteral("Operation completed."));
    EXPECT_FALSE(panelShown());
    EXPECT_TRUE(w->ProgressBar_Busy->isHidden());
    EXPECT_TRUE(w->Label_Elapsed->isHidden());
    EXPECT_FALSE(w->FDeviceBusy) << "the list refresh clears it";
    EXPECT_EQ(w->FReservedInternal, 0);
}

TEST_F(QueueRunThreading, CancelNeverTouchesTheRunningLine)
{
    attachEmpty();
    queueDownloads({"a.mp3", "b.mp3", "c.mp3", "d.mp3"}, 100);
    fake::holdOperations(true);
    tick();
    ASSERT_TRUE(fake::waitForHeldOperation(5000));

    w->MainMenu_CancelClick();
    EXPECT_EQ(lines().size(), 4) << "nothing checked or selected";
    w->CheckList_CopyProgress->item(0)->setSelected(true);
    w->CheckList_CopyProgress->item(0)->setCheckState(Qt::Checked);
    w->MainMenu_CancelClick();
    EXPECT_EQ(lines().size(), 4) << "the running line is skipped";

    w->CheckList_CopyProgress->item(1)->setSelected(true);
    w->CheckList_CopyProgress->item(3)->setCheckState(Qt::Checked);
    w->MainMenu_CancelClick();
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Download \"a.mp3\" to Internal Memory"),
                                    QStringLiteral("Download \"c.mp3\" to Internal Memory")}));
    EXPECT_EQ(w->FReservedInternal, 200);

    w->MainMenu_CancelAllClick();
    EXPECT_EQ(lines().size(), 1);
    EXPECT_EQ(w->FReservedInternal, 100) << "the running download keeps its bytes";
    fake::releaseHeldOperation();
    fake::holdOperations(false);
    ASSERT_TRUE(runQueue());
    EXPECT_FALSE(panelShown());
    EXPECT_EQ(w->statusText(3), QStringLiteral("Operation completed."));
    EXPECT_EQ(operations().size(), 1u);
}

TEST_F(QueueRunThreading, CancellingGivesTheBytesBack)
{
    attachEmpty(1000, 1000);
    queueDownloads({QStringLiteral("a.mp3")}, 600);
    queueDownloads({QStringLiteral("b.mp3")}, 600);
    EXPECT_EQ(lines().size(), 1);
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("Not enough internal memory."));

    w->CheckList_CopyProgress->item(0)->setSelected(true);
    w->MainMenu_CancelClick();
    EXPECT_EQ(w->FReservedInternal, 0);
    queueDownloads({QStringLiteral("b.mp3")}, 600);
    EXPECT_EQ(lines(), QStringList({QStringLiteral("Download \"b.mp3\" to Internal Memory")}));
}

TEST_F(QueueRunThreading, VoiceUploadsInAnyCaseBecomeWaveFiles)
{
    fake::setUploadContent(voiceRecording());
    uploadAll({fake::makeEntry("memo one.VOC", "MEMO1.VOC", 720, true),
               fake::makeEntry("memo two.voc", "MEMO2.VOC", 720, true),
               fake::makeEntry("memo three.vOc", "MEMO3.VOC", 720, true),
               fake::makeEntry("song.mp3", "SONG.MP3", 720, true)});
    ASSERT_EQ(lines().size(), 4);
    ASSERT_TRUE(runQueue());

    for (const char *base : {"memo one", "memo two", "memo three"}) {
        EXPECT_TRUE(pcHas(QString::fromLatin1(base) + QStringLiteral(".wav"))) << base;
    }
    EXPECT_FALSE(pcHas(QStringLiteral("memo one.VOC")));
    EXPECT_FALSE(pcHas(QStringLiteral("memo two.voc")));
    EXPECT_FALSE(pcHas(QStringLiteral("memo three.vOc")));
    EXPECT_TRUE(pcHas(QStringLiteral("song.mp3"))) << "other files stay as copied";
    EXPECT_FALSE(pcHas(QStringLiteral("song.wav")));
    EXPECT_TRUE(prompts.records.empty());
}

TEST_F(QueueRunThreading, ADownloadOfAVoiceFileIsNotConverted)
{
    attachEmpty();
    const std::string voice = voiceRecording();
    QFile f(pc.filePath(QStringLiteral("memo.VOC")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(voice.data(), qint64(voice.size()));
    f.close();
    selectPc({QStringLiteral("memo.VOC")});
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    w->MainMenu_DownloadToPlayerClick();
    ASSERT_TRUE(runQueue());
    EXPECT_TRUE(pcHas(QStringLiteral("memo.VOC")));
    EXPECT_FALSE(pcHas(QStringLiteral("memo.wav")));
}

// What a failed upload left at the path is not the recording: nothing converts.
TEST_F(QueueRunThreading, AFailedVoiceUploadIsNotConverted)
{
    fake::setOperationResult(0);
    uploadAll({fake::makeEntry("memo.VOC", "MEMO.VOC", 720, true)});
    ASSERT_TRUE(runQueue());
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_TRUE(prompts.records[0].text.endsWith(
        QStringLiteral("Upload \"memo.VOC\" in Internal Memory to PC")));
    EXPECT_EQ(prompts.records[0].owner, w.get());
    EXPECT_EQ(w->statusText(3), QStringLiteral("1 operation failed."));
}

TEST_F(QueueRunThreading, NestedTicksDuringTheConversionsQuestionDoNothing)
{
    fake::setUploadContent(voiceRecording());
    QFile old(pc.filePath(QStringLiteral("memo.wav")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.close();
    uploadAll({fake::makeEntry("memo.VOC", "MEMO.VOC", 720, true),
               fake::makeEntry("next.mp3", "NEXT.MP3", 720, true)});
    tick();
    ASSERT_TRUE(waitPosted());

    int nested = 0;
    prompts.answers = {PromptAnswer::Yes};
    prompts.onPrompt = [&] {
        for (int i = 0; i < 3; ++i)
            tick();
        ++nested;
        EXPECT_FALSE(w->FJobDone);
        EXPECT_TRUE(w->FJobRunning);
        EXPECT_EQ(lines().size(), 2) << "the finished line is still there";
        EXPECT_FALSE(lineRunning(1)) << "the next job has not started";
        EXPECT_TRUE(w->FDeviceBusy);
    };
    tick();
    EXPECT_EQ(nested, 1);
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("File already exists, Overwrite ?"));
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Question);
    EXPECT_EQ(prompts.records[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompts.records[0].title, w->windowTitle());
    tick();
    EXPECT_TRUE(lineRunning(0)) << "the next job starts at the tick after the completion";
    prompts.onPrompt = nullptr;
    ASSERT_TRUE(runQueue());
    EXPECT_GT(QFileInfo(pc.filePath(QStringLiteral("memo.wav"))).size(), 44);
    EXPECT_FALSE(pcHas(QStringLiteral("memo.VOC")));
}

TEST_F(QueueRunThreading, AnyThreadDoneMessageCompletesTheJob)
{
    attachEmpty();
    queueDownloads({QStringLiteral("a.mp3")}, 10);
    fake::holdOperations(true);
    tick();
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    QCoreApplication::postEvent(w.get(), new ThreadDoneEvent(w->FCurrentJob.Id + 1, 77));
    ASSERT_TRUE(waitPosted());
    EXPECT_EQ(w->FJobResult, 77);
    tick();
    EXPECT_TRUE(lines().isEmpty()) << "the message's wParam is not examined";
    EXPECT_EQ(w->statusText(3), QStringLiteral("Operation completed."));

    // The worker's own message comes later and finds no running line to take.
    queueDownloads({QStringLiteral("b.mp3")}, 10);
    fake::releaseHeldOperation();
    ASSERT_TRUE(waitPosted());
    fake::holdOperations(false);
    tick();
    EXPECT_EQ(lines().size(), 1) << "the waiting line is not taken for the stray message";
    ASSERT_TRUE(runQueue());
    EXPECT_EQ(operations().size(), 2u);
}

TEST_F(QueueRunThreading, AFormatDisablesTheWindowUntilItCompletes)
{
    attachEmpty();
    w->TabControl_PlayerFiles->setCurrentIndex(1);
    prompts.answers = {PromptAnswer::Yes};
    w->Menu_FormatClick();
    EXPECT_EQ(w->FReservedInternal, -3000000);
    fake::holdOperations(true);
    tick();
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    EXPECT_TRUE(nothingElseCanStart());
    EXPECT_EQ(w->statusText(3), QStringLiteral("Formatting..."));
    EXPECT_EQ(w->FReservedInternal, 0);
    fake::releaseHeldOperation();
    ASSERT_TRUE(waitPosted());
    EXPECT_TRUE(nothingElseCanStart());
    tick();
    EXPECT_TRUE(w->isEnabled());
    for (QWidget *part : std::initializer_list<QWidget *>{w->FolderView, w->FileList_Internal, w->Button_Format,
                          w->CheckList_CopyProgress})
        EXPECT_TRUE(part->isEnabled()) << part->accessibleName().toStdString();
    EXPECT_TRUE(w->Menu_OperationGroup->menuAction()->isEnabled());
    EXPECT_TRUE(w->acceptDrops());
    const auto ops = operations();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].function, "dll_fn_format_device");
    EXPECT_EQ(ops[0].target, mtInternal);
}

TEST_F(QueueRunThreading, ClosingDiscardsWaitingLinesAtOnce)
{
    attachEmpty();
    queueDownloads({"a.mp3", "b.mp3"}, 10);
    w->Timer_Transfer->start();
    w->close();
    EXPECT_TRUE(w->FClosing);
    EXPECT_FALSE(w->Timer_Transfer->isActive());
    EXPECT_FALSE(w->Timer_CheckPlayer->isActive());
    EXPECT_TRUE(lines().isEmpty());
    tick();
    QTest::qWait(250);
    EXPECT_TRUE(operations().empty()) << "nothing runs after the close";
}

TEST_F(QueueRunThreading, ClosingWaitsForTheRunningCallShowingThatItWaits)
{
    attachEmpty();
    queueDownloads({"a.mp3", "b.mp3", "c.mp3"}, 10);
    fake::holdOperations(true);
    tick();
    ASSERT_TRUE(fake::waitForHeldOperation(5000));

    QString statusWhileWaiting;
    bool enabledWhileWaiting = true;
    bool hourglass = false;
    bool linesGone = false;
    QTimer::singleShot(100, [&] {
        statusWhileWaiting = w->statusText(3);
        enabledWhileWaiting = w->isEnabled();
        hourglass = QGuiApplication::overrideCursor()
                    && QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
        linesGone = lines().isEmpty() && !w->Timer_Transfer->isActive();
        fake::releaseHeldOperation();
    });
    w->close();

    EXPECT_EQ(statusWhileWaiting, QStringLiteral("Waiting for the running operation to finish..."));
    EXPECT_FALSE(enabledWhileWaiting);
    EXPECT_TRUE(hourglass);
    EXPECT_TRUE(linesGone) << "the waiting lines went at once, before the wait";
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(fake::waitForHeldOperation(0)) << "the call has returned";
    EXPECT_EQ(operations().size(), 1u);
}

} // namespace
