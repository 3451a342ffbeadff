// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A shown main window on the scripted device library, with a PC folder of its
// own, for the operation queue's tests. The timers are stopped: tests tick the
// queue by hand and pump events while a worker runs.
#pragma once

#include "explorer/folder_view.h"
#include "fake_nerolink.h"
#include "main_unit.h"
#include "queue/copy_job.h"
#include "scripted_prompts.h"
#include "target_select_unit.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

class QueueTest : public ::testing::Test {
protected:
    QueueTest()
    {
        // What imports bring in is remembered per test, never in the user's home.
        qputenv("XDG_STATE_HOME", QFile::encodeName(settings.path()));
        fake::reset();
        target = std::make_unique<TForm_TargetSelection>();
        Form_TargetSelection = target.get();
        w = std::make_unique<TForm_TovixMan>(settings.filePath(QStringLiteral("settings.ini")));
        w->FolderView->setCurrentDirectory(pc.path());
        w->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->Timer_Transfer->stop();
        w->Timer_CheckPlayer->stop();
        EXPECT_TRUE(w->FolderView->waitUntilLoaded(5000));
    }

    ~QueueTest() override
    {
        fake::holdOperations(false);
        w.reset();
        pump();
        Form_TargetSelection = nullptr;
        target.reset();
        fake::reset();
    }

    static void pump()
    {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A player with a usable card; internal and card memories as given.
    void attach(const TMemoryInfo &internal, const TMemoryInfo &card, uint32_t status = 0)
    {
        fake::setMemory(mtInternal, internal);
        fake::setMemory(mtCard, card);
        fake::setVersion(1, "TOVIX 2.1");
        fake::setStatus(status);
        w->Timer_CheckPlayerTimer(w->Timer_CheckPlayer);
        ASSERT_TRUE(w->FConnected);
    }

    void attachEmpty(uint32_t internalFree = 1000000, uint32_t cardFree = 2000000)
    {
        attach(fake::makeMemory(4000000, internalFree), fake::makeMemory(8000000, cardFree));
    }

    // A transfer tick. A conversion it starts is waited for, with events
    // handled meanwhile as the window handles them.
    // Waits for a conversion this tick starts; a tick nested in the
    // conversion's own question must not wait for its answer.
    void tick()
    {
        const bool wasConverting = w->FConverting;
        w->Timer_TransferTimer();
        if (!wasConverting)
            waitConverted();
    }

    bool waitConverted(int timeoutMs = 60000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (w->FConverting && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return !w->FConverting;
    }

    // Pumps events until the running job's worker has posted its result.
    bool waitPosted(int timeoutMs = 10000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while (!w->FJobDone && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return w->FJobDone;
    }

    // Ticks and waits until the queue is empty and nothing runs.
    bool runQueue(int timeoutMs = 20000)
    {
        QDeadlineTimer deadline(timeoutMs);
        while ((w->CheckList_CopyProgress->count() > 0 || w->FJobRunning) && !deadline.hasExpired()) {
            tick();
            if (w->FJobRunning && !waitPosted(int(deadline.remainingTime())))
                return false;
        }
        pump();
        return w->CheckList_CopyProgress->count() == 0 && !w->FJobRunning;
    }

    QStringList lines() const
    {
        QStringList out;
        for (int i = 0; i < w->CheckList_CopyProgress->count(); ++i)
            out << w->CheckList_CopyProgress->item(i)->text();
        return out;
    }

    TCopyJob &job(int row) const { return *queueJobOf(w->CheckList_CopyProgress->item(row)); }
    bool panelShown() const { return !w->Panel_CopyProgress->isHidden(); }

    std::string pcPath(const QString &name) const { return pc.filePath(name).toStdString(); }

    void makePcFile(const QString &name, qint64 bytes)
    {
        QFile f(pc.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(QByteArray(bytes, 'a')), bytes);
    }

    // A sparse file: its length without its blocks.
    void makeSparseFile(const QString &name, qint64 bytes)
    {
        const int fd = ::open(pcPath(name).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, bytes), 0);
        ::close(fd);
    }

    // Lists the PC folder again and selects exactly these captions.
    void selectPc(const QStringList &captions)
    {
        w->FolderView->refreshFolder();
        ASSERT_TRUE(w->FolderView->waitUntilLoaded(5000));
        for (int i = 0; i < w->FolderView->itemCount(); ++i)
            w->FolderView->setItemSelected(i, captions.contains(w->FolderView->itemCaption(i)));
        int found = 0;
        for (int i = 0; i < w->FolderView->itemCount(); ++i)
            found += w->FolderView->isItemSelected(i);
        ASSERT_EQ(found, captions.size());
    }

    // Shows the page of that tag and selects exactly these captions in its list.
    void selectPlayer(int tag, const QStringList &captions)
    {
        w->TabControl_PlayerFiles->setCurrentIndex(tag);
        ASSERT_EQ(w->activePageTag(), tag);
        QTreeWidget *list = w->activePageList();
        list->clearSelection();
        int found = 0;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = list->topLevelItem(i);
            if (captions.contains(item->text(0))) {
                item->setSelected(true);
                ++found;
            }
        }
        ASSERT_EQ(found, captions.size());
    }

    static TMemoryInfo memoryOf(const std::vector<TFileEntry> &files, uint32_t total = 4000000,
                                uint32_t free = 1000000)
    {
        TMemoryInfo info = fake::makeMemory(total, free);
        for (const TFileEntry &entry : files)
            fake::addFile(info, entry);
        return info;
    }

    static std::vector<fake::Call> operations()
    {
        std::vector<fake::Call> out;
        for (const fake::Call &c : fake::calls())
            if (c.function != "dll_fn_refresh_device" && c.function != "dll_fn_get_player_status"
                && c.function != "dll_fn_get_player_version")
                out.push_back(c);
        return out;
    }

    QTemporaryDir settings;
    QTemporaryDir pc;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm_TargetSelection> target;
    std::unique_ptr<TForm_TovixMan> w;
};
