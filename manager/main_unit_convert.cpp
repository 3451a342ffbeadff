// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The conversion of an uploaded voice recording, between its upload's
// completion and the next job. The engine runs on a thread of its own; the
// window's thread starts it, shows how far it has got, asks its question and,
// once it has ended, shows its messages and completes the job. Ticks and polls
// do nothing meanwhile, so the queue still runs one operation at a time.
#include "main_unit.h"

#include "device/records.h"
#include "platform/paths.h"
#include "platform/prompts.h"
#include "queue/import_arrival.h"
#include "queue/job_kinds.h"
#include "queue/queue_lines.h"
#include "voice/conversion_thread.h"
#include "voice/voice_message_text.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <memory>
#include <utility>

void TForm_TovixMan::ConvertVoiceFile(const QString &voicePath)
{
    ConvertVoiceFile(voicePath.toLocal8Bit().toStdString());
}

// Only after an upload, which made a plain file there.
void TForm_TovixMan::ConvertVoiceFile(const std::string &voicePath)
{
    startConversion(voicePath, new VoiceConversionThread([voicePath](VoiceConversionUi &ui) {
                        ConvertOptions options;
                        options.refuseLink = true;
                        return convertVoiceFile(voicePath, ui, options);
                    }));
}

// The memory and the arrival are shared with the conversion's thread, which
// the window outlives only once it has waited for it.
void TForm_TovixMan::convertImported(const ImportTicket &ticket)
{
    auto arrival = std::make_shared<ImportArrival>();
    FArrival = arrival;
    const std::shared_ptr<ImportMemory> memory = FImportMemory;
    startConversion(ticket.voicePath,
                    new VoiceConversionThread([ticket, memory, arrival](VoiceConversionUi &ui) {
                        return arriveImported(ticket, *memory, ui, *arrival);
                    }));
}

void TForm_TovixMan::startConversion(const std::string &voicePath, VoiceConversionThread *conversion)
{
    const QString name = QString::fromLocal8Bit(extractFileName(voicePath));
    setStatusText(3, tr("Converting \"%1\"...").arg(name));
    ProgressBar_Busy->setRange(0, 100);
    ProgressBar_Busy->setValue(0);
    ProgressBar_Busy->setTextVisible(true);
    FConverting = true;
    FConvertingName = name;

    FConversion = conversion;
    connect(conversion, &VoiceConversionThread::overwriteAsked, this, [this, conversion] {
        conversion->answerOverwrite(confirmYes(
            this, voiceMessageText(VoiceMessages::overwriteQuestion), PromptIcon::Question));
    });
    connect(conversion, &VoiceConversionThread::progressed, this, [this, conversion] {
        showConversionProgress(conversion->doneBytes(), conversion->totalBytes());
    });
    connect(conversion, &QThread::finished, this, [this, conversion] { conversionEnded(conversion); });
    conversion->start();
    if (!conversion->isRunning() && !conversion->isFinished()) {
        // The system could not start it: the recording stays, the job counts as failed.
        FJobResult = 0;
        conversionEnded(conversion);
    }
}

void TForm_TovixMan::conversionEnded(VoiceConversionThread *conversion)
{
    conversion->wait(); // finished() is emitted just before run's thread ends
    const VoiceConversionThread::Result result = conversion->result();
    FConversion = nullptr;
    delete conversion;
    const std::shared_ptr<ImportArrival> arrival = std::exchange(FArrival, {});
    if (arrival) {
        // An import's failures are told together when it ends.
        QStringList said;
        for (const std::string &message : result.messages)
            said << voiceMessageText(message);
        FJobNote = said.join(QStringLiteral("; "));
        if (FJobNote.isEmpty() && arrival->kind == ImportArrival::NotConverted)
            FJobNote = tr("not converted");
        FImport.count(*arrival, waveFilePath(fieldText(FCurrentJob.PcPath)));
    }
    // Still converting for the queue while a message is up: ticks start nothing.
    if (!arrival)
        for (const std::string &message : result.messages)
            ownedBox(this, voiceMessageText(message), PromptIcon::None, PromptButtons::Ok);
    FConverting = false;
    ProgressBar_Busy->setTextVisible(false);
    ProgressBar_Busy->setRange(0, 0);
    if (FClosing)
        return;
    finishJob();
    if (result.replacedVoiceKept)
        setStatusText(3, tr("\"%1\" was replaced during its conversion; the new file is kept.")
                             .arg(FConvertingName));
}

void TForm_TovixMan::showConversionProgress(std::uint64_t doneBytes, std::uint64_t totalBytes)
{
    if (totalBytes > 0)
        ProgressBar_Busy->setValue(int(std::min<std::uint64_t>(100, doneBytes * 100 / totalBytes)));
    Label_Elapsed->setText(elapsedText(tickCount() - FCurrentJob.Id));
}
