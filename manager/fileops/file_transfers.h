// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Runs copies and moves one after another on a thread of their own, so the
// window's thread never waits on the disk. A name already taken is asked about
// on this object's thread while the copy waits; results come back there too.
#pragma once

#include "fileops/file_copier.h"

#include <QObject>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <thread>

class FileTransfers : public QObject {
    Q_OBJECT
public:
    explicit FileTransfers(QObject *parent = nullptr);
    // Cancels what runs and what waits, and waits for the thread: the folders are
    // left as they were.
    ~FileTransfers() override;

    // Called on this object's thread; the copy waits for its answer.
    std::function<ClashChoice(const ClashQuestion &)> askClash;

    // Runs after the operations started before it.
    void start(const FileOperation &operation);
    // The running operation is undone; those waiting are not started and end
    // as cancelled, each with its finished signal.
    void cancel();
    // While held, no question is asked and no result delivered: they wait
    // until the hold ends (or the copy is cancelled).
    void setHeld(bool held);
    bool isBusy() const;
    TransferProgress progress() const { return m_copier.progress(); }

signals:
    void finished(const FileOperation &operation, const FileOperationResult &result);

private:
    void work();
    ClashChoice ask(const ClashQuestion &question);
    void answerQuestion();
    void deliverResults();

    FileCopier m_copier;
    mutable std::mutex m_lock; // guards everything below
    std::condition_variable m_wake;
    struct Waiting {
        FileOperation operation;
        bool dropped = false; // cancelled before it began
    };
    std::deque<Waiting> m_waiting;
    std::deque<std::pair<FileOperation, FileOperationResult>> m_results;
    std::optional<ClashQuestion> m_question;
    std::optional<ClashChoice> m_answer;
    bool m_running = false;
    bool m_stopping = false;
    bool m_held = false; // on this object's thread only
    std::thread m_thread;
};
