// The conversion of an uploaded voice recording, inside the completion of its
// upload. It decodes on the window's thread in slices, handling the window's
// events between them, so a recording of many hours never holds the window:
// the same nesting as the conversion's own question box, which the queue
// already allows for (ticks and polls do nothing until the job is complete).
#include "main_unit.h"

#include "platform/paths.h"
#include "platform/prompts.h"
#include "queue/job_kinds.h"
#include "queue/queue_lines.h"
#include "voice/voice_conversion.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace {

// Half a frame at 60 Hz of decoding between two looks at the window's events.
constexpr qint64 kSliceMs = 8;

// The conversion asks and reports through the window's own message boxes.
class WindowVoiceUi : public VoiceConversionUi {
public:
    explicit WindowVoiceUi(TForm_TovixMan *window) : m_window(window) { m_slice.start(); }

    bool askOverwrite(const std::string &) override
    {
        return confirmYes(m_window, QString::fromLatin1(VoiceMessages::overwriteQuestion),
                          PromptIcon::Question);
    }
    void showMessage(const std::string &text) override
    {
        ownedBox(m_window, QString::fromLocal8Bit(text), PromptIcon::None, PromptButtons::Ok);
    }
    void progress(std::uint64_t doneBytes, std::uint64_t totalBytes) override
    {
        if (m_slice.elapsed() < kSliceMs)
            return;
        m_window->showConversionProgress(doneBytes, totalBytes);
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        m_slice.restart();
    }

private:
    TForm_TovixMan *m_window;
    QElapsedTimer m_slice;
};

} // namespace

void TForm_TovixMan::ConvertVoiceFile(const QString &voicePath)
{
    const QString name = QString::fromLocal8Bit(extractFileName(voicePath.toLocal8Bit().toStdString()));
    setStatusText(3, QStringLiteral("Converting \"%1\"...").arg(name));
    ProgressBar_Busy->setRange(0, 100);
    ProgressBar_Busy->setValue(0);
    ProgressBar_Busy->setTextVisible(true);
    FConverting = true;
    WindowVoiceUi ui(this);
    convertVoiceFile(voicePath.toLocal8Bit().toStdString(), ui);
    FConverting = false;
    ProgressBar_Busy->setTextVisible(false);
    ProgressBar_Busy->setRange(0, 0);
}

void TForm_TovixMan::showConversionProgress(std::uint64_t doneBytes, std::uint64_t totalBytes)
{
    if (totalBytes > 0)
        ProgressBar_Busy->setValue(int(std::min<std::uint64_t>(100, doneBytes * 100 / totalBytes)));
    Label_Elapsed->setText(elapsedText(tickCount() - FCurrentJob.Id));
}
