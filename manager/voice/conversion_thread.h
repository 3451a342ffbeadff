// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A voice conversion on a thread of its own, so the window's thread never
// waits on the disk while a recording is read, written, synced, linked and
// deleted. The decoder library's single state is only used from here, and
// the queue runs one conversion at a time. The window asks the overwrite
// question when overwriteAsked arrives; the engine waits for its answer.
#pragma once

#include "voice/voice_conversion.h"

#include <QThread>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class VoiceConversionThread : public QThread {
    Q_OBJECT
public:
    struct Result {
        ConvertOutcome outcome = ConvertOutcome::Failed;
        std::vector<std::string> messages; // to show, in order, with OK
        bool replacedVoiceKept = false;
    };

    // Runs on the thread; its questions and messages reach the window as a conversion's do.
    using Work = std::function<ConvertOutcome(VoiceConversionUi &)>;

    explicit VoiceConversionThread(std::string voicePath, QObject *parent = nullptr);
    explicit VoiceConversionThread(Work work, QObject *parent = nullptr);
    // Answers No to a question still open, and waits for the conversion's end.
    ~VoiceConversionThread() override;

    // The answer to the question overwriteAsked announced.
    void answerOverwrite(bool yes);
    // From now on every question is answered No, without asking.
    void abandon();

    std::uint64_t doneBytes() const { return m_done; }
    std::uint64_t totalBytes() const { return m_total; }
    // Complete once finished() has been emitted.
    Result result() const;

signals:
    void overwriteAsked();
    // At most every few tens of milliseconds.
    void progressed();

protected:
    void run() override;

private:
    class EngineUi;

    bool waitForAnswer();

    const Work m_work;
    std::atomic<std::uint64_t> m_done{0};
    std::atomic<std::uint64_t> m_total{0};
    mutable std::mutex m_lock;
    std::condition_variable m_answered;
    std::optional<bool> m_answer; // under m_lock
    bool m_abandoned = false;     // under m_lock
    Result m_result;              // under m_lock
};
