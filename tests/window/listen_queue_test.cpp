// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Listening to a player recording: one queued copy into the listening cache,
// then playing; a copy already in the cache plays without the device.
#include "listen/listen_cache.h"
#include "listen/listen_session.h"
#include "listen/loudness_overview.h"
#include "listen/mpris_player.h"
#include "listen/play_bar.h"
#include "queue/job_kinds.h"
#include "queue_fixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QSemaphore>
#include <QSlider>
#include <QTextDocument>
#include <QUrl>

#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <sys/time.h>

namespace {

class ListenQueueThreading : public QueueTest {
protected:
    ListenQueueThreading()
    {
        qputenv("XDG_CACHE_HOME", cacheHome.path().toLocal8Bit());
        qputenv("XDG_STATE_HOME", stateHome.path().toLocal8Bit()); // where recordings were left
        qputenv("PULSE_SERVER", "unix:/nonexistent/tovix-test/native");
        std::ifstream in(TOVIX_TEST_DATA "/tone_1k_mode1.VOC", std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        tone = bytes.str();
        attach(memoryOf({fake::makeEntry("Meeting.VOC", "MEETIN~1.VOC", uint32_t(tone.size()), true)}),
               fake::makeMemory(8000000, 2000000));
        fake::setUploadContent(tone);
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        selectPlayer(1, {QStringLiteral("Meeting.VOC")});
        w->FileList_Internal->setFocus();
    }
    ~ListenQueueThreading() override
    {
        // The window keeps where it was left as it ends, while its folder is still there.
        fake::holdOperations(false);
        w.reset();
        qunsetenv("XDG_CACHE_HOME");
        qputenv("XDG_STATE_HOME", state);
    }

    bool waitFor(const std::function<bool()> &done)
    {
        QDeadlineTimer deadline(10000);
        while (!done() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }

    QString cached() const
    {
        const ListenCache cache(listenCacheFolder());
        return QString::fromStdString(cache.pathOf({"Meeting.VOC", mtInternal, int64_t(tone.size())}));
    }

    QTemporaryDir cacheHome, stateHome;
    const QByteArray state = qgetenv("XDG_STATE_HOME");
    std::string tone;
};

} // namespace

TEST_F(ListenQueueThreading, APlayerRecordingIsCopiedOnceThroughTheQueueThenPlaysAndAgainFromTheCache)
{
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }));
    EXPECT_EQ(lines().first(), QStringLiteral("Listen \"Meeting.VOC\" in Internal Memory"));
    EXPECT_EQ(job(0).Kind, jkListenInternal);
    EXPECT_TRUE(w->FListenPath.isEmpty());
    w->MainMenu_PlayPauseClick(); // asked again while the copy waits
    QTest::qWait(300);
    EXPECT_EQ(lines().size(), 1);

    ASSERT_TRUE(runQueue());
    ASSERT_TRUE(waitFor([&] { return w->FListenPath == cached(); }));
    // Shown under its own name, not the cache's.
    EXPECT_EQ(w->PlayBar_Listen->Label_Name->text(), QStringLiteral("Meeting.VOC"));
    const std::vector<fake::Call> ops = operations();
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_EQ(ops[0].function, "dll_fn_upload_file");
    EXPECT_EQ(ops[0].arg1, "MEETIN~1.VOC");
    EXPECT_EQ(QFileInfo(cached()).size(), qint64(tone.size()));
    EXPECT_EQ(QDir(QFileInfo(cached()).path()).entryList(QDir::Files).size(), 1);
    // Never converted, as an upload of a recording would be.
    EXPECT_TRUE(prompts.records.empty());

    // Something else plays; the recording's unchanged copy then plays at once.
    w->listenToFile(QStringLiteral(TOVIX_TEST_DATA "/voice_mode0.VOC"));
    ASSERT_TRUE(waitFor([&] { return w->FListenPath.endsWith(QStringLiteral("voice_mode0.VOC")); }));
    selectPlayer(1, {QStringLiteral("Meeting.VOC")}); // the refresh after the copy cleared it
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return w->FListenPath == cached(); }));
    EXPECT_EQ(w->PlayBar_Listen->Label_Name->text(), QStringLiteral("Meeting.VOC"));
    EXPECT_TRUE(lines().isEmpty());
    EXPECT_EQ(operations().size(), 1u);
}

TEST_F(ListenQueueThreading, ACancelledOrFailedCopyPlaysNothingAndLeavesNothingInTheCache)
{
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }));
    w->MainMenu_CancelAllClick();
    ASSERT_TRUE(runQueue());
    EXPECT_TRUE(operations().empty());

    fake::setOperationResult(0);
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }));
    ASSERT_TRUE(runQueue());
    QTest::qWait(300);
    EXPECT_TRUE(w->FListenPath.isEmpty());
    EXPECT_TRUE(QDir(QString::fromStdString(listenCacheFolder())).entryList(QDir::Files).isEmpty());
}

// Made off the window's thread, the overview appears once ready and seeks
// where it is clicked, as the slider does.
TEST_F(ListenQueueThreading, TheLoudnessOverviewAppearsWhenReadyAndSeeksWhereClicked)
{
    PlayBar *bar = w->PlayBar_Listen;
    w->listenToFile(QStringLiteral(TOVIX_TEST_DATA "/tone_1k_mode1.VOC"));
    ASSERT_TRUE(waitFor([&] { return !bar->Overview->peaks().empty(); }));
    const std::vector<float> &peaks = bar->Overview->peaks();
    EXPECT_NEAR(peaks[peaks.size() / 2], 0.5f, 0.05f);
    EXPECT_EQ(bar->Label_Name->text(), QStringLiteral("tone_1k_mode1.VOC"));
    EXPECT_EQ(bar->Label_Time->text(), QStringLiteral("0:00 / 0:03"));

    QTest::mouseClick(bar->Overview, Qt::LeftButton, {}, QPoint(bar->Overview->width() * 3 / 4, 5));
    EXPECT_TRUE(waitFor([&] { return bar->Label_Time->text() == QStringLiteral("0:02 / 0:03"); }))
        << bar->Label_Time->text().toStdString();
    bar->Slider_Position->triggerAction(QSlider::SliderToMinimum);
    EXPECT_TRUE(waitFor([&] { return bar->Label_Time->text() == QStringLiteral("0:00 / 0:03"); }));
    EXPECT_EQ(playTimeText(3723000), QStringLiteral("1:02:03"));
    EXPECT_EQ(playTimeText(59999), QStringLiteral("0:59"));

    const QString odd = QStringLiteral("<b>Memo</b> <img src=x.png>.VOC"); // the tooltip shows it as it is
    bar->setRecording(odd, 0);
    QTextDocument tip;
    tip.setHtml(bar->Label_Name->toolTip());
    EXPECT_EQ(tip.toPlainText(), odd);
}

// The program ends while a listen copy is being written: its part file goes,
// another's stays.
TEST_F(ListenQueueThreading, ACopyUnfinishedWhenTheWindowEndsLeavesNoPartFileBehind)
{
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }));
    const QString part = cached() + QStringLiteral(".part");
    const QString other = QFileInfo(part).path() + QStringLiteral("/card-1-Other.VOC.part");
    for (const QString &path : {part, other}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write("partial") == 7);
    }
    w.reset();
    EXPECT_FALSE(QFile::exists(part));
    EXPECT_TRUE(QFile::exists(other));
}

// A slow player: the recording is loaded from its copy while the copy is
// still being made, and the queue line and the play bar say how far it is.
TEST_F(ListenQueueThreading, ARecordingFromASlowPlayerIsLoadedWhileItsCopyIsStillBeingMade)
{
    const std::string longer = QByteArray::fromStdString(tone).repeated(8).toStdString(); // 24 s, 48 KiB
    fake::setUploadContent(longer);
    fake::setVersion(0);
    w->Timer_CheckPlayerTimer(w->Timer_CheckPlayer);
    attach(memoryOf({fake::makeEntry("Meeting.VOC", "MEETIN~1.VOC", uint32_t(longer.size()), true)}),
           fake::makeMemory(8000000, 2000000));
    selectPlayer(1, {QStringLiteral("Meeting.VOC")});
    w->FileList_Internal->setFocus();
    fake::setUploadRate(20000);
    const QString path = QString::fromStdString(ListenCache(listenCacheFolder()).pathOf(
        {"Meeting.VOC", mtInternal, int64_t(longer.size())}));
    // What an earlier copy left under that name is not taken for the new one.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile stale(path + QStringLiteral(".part"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly) && stale.write(QByteArray::fromStdString(tone)) > 0 && stale.flush());
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }));
    EXPECT_FALSE(stale.exists());
    w->Timer_TransferTimer();
    ASSERT_TRUE(waitFor([&] { return w->FListenPath == path + QStringLiteral(".part"); }));
    EXPECT_LT(fake::uploadedBytes(), int64_t(longer.size()));
    EXPECT_NEAR(w->PlayBar_Listen->length(), 24500, 500); // the whole recording from the start
    EXPECT_TRUE(waitFor([&] { return lines().value(0).endsWith(QStringLiteral("%)")); })) << lines().value(0).toStdString();
    EXPECT_TRUE(waitFor([&] { return w->PlayBar_Listen->Label_Time->text().endsWith(QStringLiteral("% copied)")); }))
        << w->PlayBar_Listen->Label_Time->text().toStdString();
    ASSERT_TRUE(runQueue());
    EXPECT_TRUE(waitFor([&] { return w->FListenPath == path; }));
    EXPECT_EQ(w->PlayBar_Listen->Label_Time->text().indexOf(QLatin1Char('%')), -1);
    // The desktop's player controls are given the whole copy, not the part file that is gone.
    ASSERT_NE(w->findChild<MprisPlayer *>(), nullptr);
    EXPECT_EQ(w->findChild<MprisPlayer *>()->metadata().value(QStringLiteral("xesam:url")).toString().toStdString(),
              QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toStdString());
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".part")));
    EXPECT_EQ(QFileInfo(path).size(), qint64(longer.size()));
}

// A recording damaged in its middle: the overview covers it to its end and
// the status bar says how much of it could not be played.
TEST_F(ListenQueueThreading, ADamagedRecordingIsOverviewedToItsEndAndTheLossIsShown)
{
    QByteArray bytes = QByteArray::fromStdString(tone);
    bytes.replace(30 * 72, 30 * 72, QByteArray(30 * 72, '\0'));
    QFile damaged(pc.filePath(QStringLiteral("Damaged.VOC")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly) && damaged.write(bytes) == bytes.size());
    damaged.close();
    PlayBar *bar = w->PlayBar_Listen;
    w->listenToFile(damaged.fileName());
    ASSERT_TRUE(waitFor([&] { return !bar->Overview->peaks().empty(); }));
    const std::vector<float> &peaks = bar->Overview->peaks();
    EXPECT_NEAR(peaks[peaks.size() * 3 / 4], 0.5f, 0.05f);
    EXPECT_LT(peaks[peaks.size() / 2], 0.01f);
    EXPECT_TRUE(waitFor([&] {
        return w->statusText(3) == QStringLiteral("Listening to Damaged.VOC; 2 seconds could not be played");
    })) << w->statusText(3).toStdString();
}

// The recorder reuses the name, and a recording of the same length has the
// same size: after the player came back, F9 copies what it holds now.
TEST_F(ListenQueueThreading, ACopyMadeBeforeThePlayerWentAwayIsNotPlayedAfterItCameBack)
{
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }) && runQueue());
    ASSERT_TRUE(waitFor([&] { return w->FListenPath == cached(); }));
    fake::setVersion(0);
    w->Timer_CheckPlayerTimer(w->Timer_CheckPlayer);
    std::string other = tone;
    other[other.size() / 2] ^= 0x55;
    fake::setUploadContent(other);
    attach(memoryOf({fake::makeEntry("Meeting.VOC", "MEETIN~1.VOC", uint32_t(tone.size()), true)}), {});
    selectPlayer(1, {QStringLiteral("Meeting.VOC")});
    w->MainMenu_PlayPauseClick();
    ASSERT_TRUE(waitFor([&] { return lines().size() == 1; }) && runQueue());
    EXPECT_TRUE(waitFor([&] { return w->FListenWanted.isEmpty() && w->FListenPath == cached(); }));
    QFile played(cached());
    EXPECT_TRUE(played.open(QIODevice::ReadOnly) && played.readAll().toStdString() == other);
}

// This window's own copy whose device has gone quiet for hours is not taken
// to make room for the next, nor is another's copy in flight.
TEST_F(ListenQueueThreading, ACopyStillBeingWrittenIsNeverEvictedToMakeRoom)
{
    auto *s = new ListenSession;
    QString answer;
    QObject::connect(s, &ListenSession::cacheChecked, w.get(),
                     [&](const QString &, const QString &path, bool, const QString &why) { answer = path + why; });
    const auto ask = [&](CachedRecording r) {
        answer.clear();
        QMetaObject::invokeMethod(s, [s, r] { s->lookUp(r); });
        return waitFor([&] { return !answer.isEmpty(); }) ? answer : QString();
    };
    const QString part = ask({"Long.VOC", mtInternal, 150 << 20});
    const QString other = QFileInfo(part).path() + QStringLiteral("/card-1-Other.VOC.part");
    for (const auto &[path, size] : {std::pair(part, 150 << 20), std::pair(other, 100 << 20)}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(size));
    }
    const timeval hoursAgo[2] = {{::time(nullptr) - 7200, 0}, {::time(nullptr) - 7200, 0}};
    ASSERT_EQ(::utimes(part.toLocal8Bit().constData(), hoursAgo), 0);
    EXPECT_TRUE(ask({"Next.VOC", mtCard, 120 << 20}).contains(QStringLiteral("can not be written")));
    EXPECT_TRUE(QFile::exists(part) && QFile::exists(other));
    QMetaObject::invokeMethod(s, &QObject::deleteLater);
}

// A named pipe named like a recording is refused at once, nobody is left
// reading it, and a listening thread held up does not hold up the window's end.
TEST_F(ListenQueueThreading, ANamedPipeIsRefusedAtOnceAndTheWindowEndsWhateverTheListeningThreadDoes)
{
    const QByteArray fifo = pc.filePath(QStringLiteral("memo.wav")).toLocal8Bit();
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    selectPc({QStringLiteral("memo.wav")});
    w->FolderView->currentView()->setFocus();
    ASSERT_TRUE(waitFor([&] { return w->FolderView->currentView()->hasFocus(); }));
    w->MainMenu_PlayPauseClick();
    EXPECT_TRUE(waitFor([&] { return !prompts.records.empty(); }));
    EXPECT_EQ(prompts.texts(), QStringList{QStringLiteral("Can not play memo.wav: it is not a file.")});
    const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK); // succeeds only while a reader waits
    EXPECT_LT(writer, 0);
    ::close(writer);

    auto *blocker = new QObject;
    blocker->moveToThread(listenThread());
    auto release = std::make_shared<QSemaphore>(), freed = std::make_shared<QSemaphore>();
    QMetaObject::invokeMethod(blocker, [release, freed] { release->tryAcquire(1, 8000); freed->release(); });
    QElapsedTimer clock;
    clock.start();
    w.reset();
    EXPECT_LT(clock.elapsed(), 5000);
    release->release();
    EXPECT_TRUE(freed->tryAcquire(1, 10000));
    QMetaObject::invokeMethod(blocker, &QObject::deleteLater);
}

// Ctrl+G goes to a typed m:ss or h:mm:ss; anything else, or a time past the
// end, is refused with a message and the position stays.
TEST_F(ListenQueueThreading, GoToTimeTakesMinutesAndSecondsOrHoursAndRefusesTheRest)
{
    EXPECT_EQ(parsePlayTime(QStringLiteral("1:02:03")), 3723000);
    EXPECT_EQ(parsePlayTime(QStringLiteral(" 83:20.5 ")), 5000500);
    EXPECT_EQ(parsePlayTime(QStringLiteral("0:02")), 2000);
    for (const char *bad : {"", "1:60", "1:5", "2 minutes", "1:2:03", "-0:03", "1:00:00:00", "0:03x"})
        EXPECT_EQ(parsePlayTime(QString::fromLatin1(bad)), -1) << bad;

    PlayBar *bar = w->PlayBar_Listen;
    EXPECT_EQ(w->MainMenu_GoTo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    w->listenToFile(QStringLiteral(TOVIX_TEST_DATA "/tone_1k_mode1.VOC"));
    ASSERT_TRUE(waitFor([&] { return bar->length() > 0; }));
    prompts.typed = {QStringLiteral("0:02")};
    w->MainMenu_GoToClick();
    EXPECT_TRUE(waitFor([&] { return bar->Label_Time->text() == QStringLiteral("0:02 / 0:03"); }))
        << bar->Label_Time->text().toStdString();
    prompts.typed = {QStringLiteral("two seconds"), QStringLiteral("1:02:03")};
    w->MainMenu_GoToClick();
    w->MainMenu_GoToClick();
    QTest::qWait(200);
    EXPECT_EQ(bar->Label_Time->text(), QStringLiteral("0:02 / 0:03"));
    ASSERT_EQ(prompts.records.size(), 5u);
    EXPECT_TRUE(prompts.records[2].text.startsWith(QStringLiteral("\"two seconds\" is not a time.")))
        << prompts.records[2].text.toStdString();
    EXPECT_EQ(prompts.records[4].text,
              QStringLiteral("1:02:03 is past the end of the recording, which lasts 0:03."));
}

// A press on the slider's groove goes there, not a page on.
TEST_F(ListenQueueThreading, APressOnThePositionSlidersGrooveGoesToThatPlace)
{
    PlayBar *bar = w->PlayBar_Listen;
    w->listenToFile(QStringLiteral(TOVIX_TEST_DATA "/tone_1k_mode1.VOC"));
    ASSERT_TRUE(waitFor([&] { return bar->length() > 0; }));
    QSlider *slider = bar->Slider_Position;
    ASSERT_GT(slider->width(), 60);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(slider->width() * 3 / 4, slider->height() / 2));
    EXPECT_TRUE(waitFor([&] { return bar->Label_Time->text() == QStringLiteral("0:02 / 0:03"); }))
        << bar->Label_Time->text().toStdString();
    EXPECT_NEAR(slider->value(), 2250, 250);
}

// The PC files' context menu plays the file it was opened on, wherever the focus was.
TEST_F(ListenQueueThreading, PlayInThePcFilesContextMenuPlaysThatFile)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(TOVIX_TEST_DATA "/tone_1k_mode1.VOC"), pc.filePath(QStringLiteral("Memo.voc"))));
    selectPc({QStringLiteral("Memo.voc")});
    QAbstractItemView *view = w->FolderView->currentView();
    int row = 0;
    while (w->FolderView->itemCaption(row) != QStringLiteral("Memo.voc"))
        ++row;
    QString offered;
    QTimer::singleShot(0, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QAction *play = menu ? menu->actions().value(0) : nullptr;
        offered = play ? play->text() : QString();
        if (menu)
            menu->close();
        if (play && offered == QStringLiteral("P&lay"))
            play->trigger();
    });
    const QModelIndex memo = view->model()->index(row, 0);
    ASSERT_TRUE(waitFor([&] { return view->indexAt(view->visualRect(memo).center()) == memo; }));
    emit view->customContextMenuRequested(view->visualRect(memo).center());
    EXPECT_EQ(offered, QStringLiteral("P&lay"));
    EXPECT_TRUE(waitFor([&] { return w->FListenPath == pc.filePath(QStringLiteral("Memo.voc")); }))
        << w->FListenPath.toStdString();
}

// A format holds the device: the Listen menu's keys still act, but a
// recording that would first have to be copied from the player is refused
// with a word in the status bar and nothing joins the queue; the operations'
// keys do nothing.
TEST_F(ListenQueueThreading, DuringAFormatTheListenKeysActButNoCopyFromThePlayerIsQueued)
{
    prompts.answers = {PromptAnswer::Yes};
    w->Menu_FormatClick();
    fake::holdOperations(true);
    tick();
    ASSERT_TRUE(fake::waitForHeldOperation(5000));
    EXPECT_TRUE(w->PlayBar_Listen->isEnabled());
    EXPECT_TRUE(w->Menu_Listen->menuAction()->isEnabled());
    EXPECT_FALSE(w->FileList_Internal->isEnabled());
    QWidget *focus = QApplication::focusWidget();
    EXPECT_TRUE(!focus || !w->Panel_FileManager->isAncestorOf(focus)) << "the keys reach no pane";
    QTest::keyClick(focus ? focus : w.get(), Qt::Key_Delete);

    QTest::keyClick(w.get(), Qt::Key_F9);
    const QString refused = QStringLiteral("Can not play Meeting.VOC while the player is being formatted: "
                                           "it has to be copied from the player first.");
    EXPECT_TRUE(waitFor([&] { return w->statusText(3) == refused; })) << w->statusText(3).toStdString();
    QTest::qWait(200);
    EXPECT_EQ(lines().size(), 1) << "only the format";
    EXPECT_EQ(prompts.records.size(), 1u) << "only the format's question";

    fake::releaseHeldOperation();
    fake::holdOperations(false);
    ASSERT_TRUE(runQueue());
    EXPECT_TRUE(QDir(QString::fromStdString(listenCacheFolder())).entryList(QDir::Files).isEmpty());
}
