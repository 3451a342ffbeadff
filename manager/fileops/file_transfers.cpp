// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "fileops/file_transfers.h"

FileTransfers::FileTransfers(QObject *parent) : QObject(parent)
{
    m_copier.askClash = [this](const ClashQuestion &question) { return ask(question); };
}

FileTransfers::~FileTransfers()
{
    {
        const std::lock_guard lock(m_lock);
        m_stopping = true;
        m_waiting.clear();
        m_copier.cancel();
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void FileTransfers::start(const FileOperation &operation)
{
    {
        const std::lock_guard lock(m_lock);
        m_waiting.push_back({operation});
        if (!m_thread.joinable())
            m_thread = std::thread([this] { work(); });
    }
    m_wake.notify_all();
}

void FileTransfers::cancel()
{
    {
        const std::lock_guard lock(m_lock);
        for (Waiting &waiting : m_waiting)
            waiting.dropped = true;
        if (m_running)
            m_copier.cancel();
    }
    m_wake.notify_all();
}

void FileTransfers::setHeld(bool held)
{
    m_held = held;
    if (held)
        return;
    QMetaObject::invokeMethod(this, &FileTransfers::answerQuestion, Qt::QueuedConnection);
    QMetaObject::invokeMethod(this, &FileTransfers::deliverResults, Qt::QueuedConnection);
}

bool FileTransfers::isBusy() const
{
    const std::lock_guard lock(m_lock);
    return m_running || !m_waiting.empty() || !m_results.empty();
}

void FileTransfers::work()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
        if (m_stopping)
            return;
        const Waiting next = std::move(m_waiting.front());
        m_waiting.pop_front();
        const FileOperation &operation = next.operation;
        FileOperationResult result;
        result.outcome = FileOperationResult::Cancelled;
        result.dropped = next.dropped;
        if (!next.dropped) {
            m_running = true;
            m_copier.resetCancel();
            lock.unlock();
            result = m_copier.run(operation);
            lock.lock();
            m_running = false;
        }
        m_results.emplace_back(operation, std::move(result));
        if (m_results.size() == 1)
            QMetaObject::invokeMethod(this, &FileTransfers::deliverResults, Qt::QueuedConnection);
    }
}

void FileTransfers::deliverResults()
{
    while (!m_held) {
        std::pair<FileOperation, FileOperationResult> done;
        {
            const std::lock_guard lock(m_lock);
            if (m_results.empty())
                return;
            done = std::move(m_results.front());
            m_results.pop_front();
        }
        emit finished(done.first, done.second);
    }
}

// On the copier's thread: hands the question over and waits for its answer,
// or for a cancel.
ClashChoice FileTransfers::ask(const ClashQuestion &question)
{
    std::unique_lock lock(m_lock);
    m_question = question;
    m_answer.reset();
    QMetaObject::invokeMethod(this, &FileTransfers::answerQuestion, Qt::QueuedConnection);
    m_wake.wait(lock, [this] { return m_answer.has_value() || m_copier.isCancelled(); });
    m_question.reset();
    return m_answer.value_or(ClashChoice::Skip);
}

void FileTransfers::answerQuestion()
{
    std::optional<ClashQuestion> question;
    {
        const std::lock_guard lock(m_lock);
        // A cancelled copy stops waiting on its own; held, it is asked later.
        if (!m_held && !m_copier.isCancelled())
            question = m_question;
    }
    if (!question)
        return;
    const ClashChoice choice = askClash ? askClash(*question) : ClashChoice::Skip;
    {
        const std::lock_guard lock(m_lock);
        if (m_question)
            m_answer = choice;
    }
    m_wake.notify_all();
}

#include "moc_file_transfers.cpp"
