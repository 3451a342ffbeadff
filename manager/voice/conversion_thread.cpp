// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "voice/conversion_thread.h"

#include "queue/tsan_order.h"

#include <QElapsedTimer>

#include <sched.h>

namespace {

// As long between two progress signals: enough for a smooth bar, few enough
// events that the window's queue never fills with them.
constexpr qint64 kProgressEveryMs = 30;

} // namespace

// Runs on the conversion's thread: hands the engine's questions and messages
// over to the window.
class VoiceConversionThread::EngineUi : public VoiceConversionUi {
public:
    explicit EngineUi(VoiceConversionThread *owner) : m_owner(owner) { m_sinceSignal.start(); }

    bool askOverwrite(const std::string &) override { return m_owner->waitForAnswer(); }
    void showMessage(const std::string &text) override
    {
        const std::lock_guard<std::mutex> hold(m_owner->m_lock);
        m_owner->m_result.messages.push_back(text);
    }
    void progress(std::uint64_t doneBytes, std::uint64_t totalBytes) override
    {
        m_owner->m_done = doneBytes;
        m_owner->m_total = totalBytes;
        if (m_sinceSignal.elapsed() < kProgressEveryMs)
            return;
        m_sinceSignal.restart();
        emit m_owner->progressed();
    }
    void replacedVoiceKept(const std::string &) override
    {
        const std::lock_guard<std::mutex> hold(m_owner->m_lock);
        m_owner->m_result.replacedVoiceKept = true;
    }

private:
    VoiceConversionThread *m_owner;
    QElapsedTimer m_sinceSignal;
};

VoiceConversionThread::VoiceConversionThread(std::string voicePath, QObject *parent)
    : VoiceConversionThread(Work([path = std::move(voicePath)](VoiceConversionUi &ui) {
                                return convertVoiceFile(path, ui);
                            }),
                            parent)
{
}

VoiceConversionThread::VoiceConversionThread(Work work, QObject *parent)
    : QThread(parent), m_work(std::move(work))
{
}

VoiceConversionThread::~VoiceConversionThread()
{
    abandon();
    wait();
    orderedAfter(this);
}

bool VoiceConversionThread::waitForAnswer()
{
    std::unique_lock<std::mutex> hold(m_lock);
    if (m_abandoned)
        return false;
    m_answer.reset();
    hold.unlock();
    emit overwriteAsked();
    hold.lock();
    m_answered.wait(hold, [this] { return m_answer.has_value() || m_abandoned; });
    return m_answer.value_or(false) && !m_abandoned;
}

void VoiceConversionThread::answerOverwrite(bool yes)
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_answer = yes;
    m_answered.notify_all();
}

void VoiceConversionThread::abandon()
{
    const std::lock_guard<std::mutex> hold(m_lock);
    m_abandoned = true;
    m_answered.notify_all();
}

VoiceConversionThread::Result VoiceConversionThread::result() const
{
    const std::lock_guard<std::mutex> hold(m_lock);
    return m_result;
}

void VoiceConversionThread::run()
{
    // Runs on this thread at its very end: connected after every other
    // receiver of finished(), so after this object's last use by Qt here.
    connect(this, &QThread::finished, this, [this] { orderedBefore(this); }, Qt::DirectConnection);
    // As the queue's worker: the window's thread comes first on waking, yet
    // this keeps its full share of a busy machine.
    const sched_param normal{};
    (void)::sched_setscheduler(0, SCHED_BATCH, &normal);
    EngineUi ui(this);
    const ConvertOutcome outcome = m_work(ui);
    {
        const std::lock_guard<std::mutex> hold(m_lock);
        m_result.outcome = outcome;
    }
}
