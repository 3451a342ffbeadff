// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The texts of queue lines and of the running line's elapsed time, and how they reach
// the translation.
#include "platform/ini.h"
#include "platform/ini_error_text.h"
#include "platform/name_list.h"
#include "queue/copy_job.h"
#include "queue/import_run.h"
#include "queue/job_kinds.h"
#include "queue/queue_lines.h"
#include "voice/voice_conversion.h"
#include "voice/voice_message_text.h"

#include <QCoreApplication>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

TEST(QueueLines, TextOfEachKind)
{
    const QString name = QStringLiteral("Wind – ü.mp3");
    EXPECT_EQ(queueLineText(jkDownloadInternal, name), QStringLiteral("Download \"Wind – ü.mp3\" to Internal Memory"));
    EXPECT_EQ(queueLineText(jkDownloadCard, name), QStringLiteral("Download \"Wind – ü.mp3\" to Memory Card"));
    EXPECT_EQ(queueLineText(jkUploadInternal, name), QStringLiteral("Upload \"Wind – ü.mp3\" in Internal Memory to PC"));
    EXPECT_EQ(queueLineText(jkUploadCard, name), QStringLiteral("Upload \"Wind – ü.mp3\" in Memory Card to PC"));
    EXPECT_EQ(queueLineText(jkRemoveInternal, name), QStringLiteral("Remove \"Wind – ü.mp3\" in Internal Memory"));
    EXPECT_EQ(queueLineText(jkRemoveCard, name), QStringLiteral("Remove \"Wind – ü.mp3\" in Memory Card"));
    EXPECT_EQ(queueLineText(jkFormatInternal, name), QStringLiteral("Format Internal Memory"));
    EXPECT_EQ(queueLineText(jkFormatCard, QString()), QStringLiteral("Format Memory Card"));
    EXPECT_TRUE(queueLineText(0, name).isEmpty());
}

TEST(QueueLines, ElapsedTimeInMinutesAndSeconds)
{
    EXPECT_EQ(elapsedText(0), QStringLiteral("0:00"));
    EXPECT_EQ(elapsedText(7999), QStringLiteral("0:07"));
    EXPECT_EQ(elapsedText(60000), QStringLiteral("1:00"));
    EXPECT_EQ(elapsedText(750000), QStringLiteral("12:30"));
    EXPECT_EQ(elapsedText(0xFFFFFFFFu), QStringLiteral("71582:47"));
}

// Hundreds of failed lines once made a box taller than the screen.
TEST(QueueLines, TheFailureBoxNamesAtMostTenLines)
{
    QStringList failed;
    for (int i = 1; i <= 12; ++i)
        failed << QStringLiteral("Upload \"%1.VOC\" in Memory Card to PC").arg(i);
    const QString text = failedOperationsText(failed, QStringLiteral("1 of 13 new recordings imported."));
    EXPECT_TRUE(text.startsWith(QStringLiteral("1 of 13 new recordings imported.\n\nThese 12 operations failed:\n\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"10.VOC\"")));
    EXPECT_FALSE(text.contains(QStringLiteral("\"11.VOC\"")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("\nand 2 more")));
    EXPECT_EQ(failedOperationsText({QStringLiteral("Format Memory Card")}, {}),
              QStringLiteral("This operation failed:\n\nFormat Memory Card"));
}

// Marks every text it is asked for with its context, so a text that never reaches the
// translation shows up bare.
struct MarkingTranslator : QTranslator {
    MarkingTranslator() { QCoreApplication::installTranslator(this); }
    ~MarkingTranslator() override { QCoreApplication::removeTranslator(this); }
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        return QStringLiteral("<%1>").arg(QLatin1String(context)) + QString::fromUtf8(source);
    }
};

TEST(QueueLines, TextsReachTheTranslationButNamesStayAsTheyAre)
{
    const MarkingTranslator marking;
    EXPECT_EQ(queueLineText(jkUploadCard, QStringLiteral("%1 – ü.mp3")),
              QStringLiteral("<Queue>Upload \"%1 – ü.mp3\" in Memory Card to PC"));
    EXPECT_EQ(queueLineText(jkFormatInternal, {}), QStringLiteral("<Queue>Format Internal Memory"));
    EXPECT_EQ(kindStatusLabel(jkRemoveCard), QStringLiteral("<Queue>Removing..."));
    EXPECT_TRUE(kindStatusLabel(0).isEmpty());
    EXPECT_EQ(failedCountText(3), QStringLiteral("<Queue>3 operations failed."));
    EXPECT_TRUE(failedOperationsText(QStringList(11, QStringLiteral("x")), {})
                    .endsWith(QStringLiteral("\n<Queue>and 1 more")));
    ImportRun run{{}, 3, 2, 0, {QStringLiteral("a.wav")}};
    EXPECT_EQ(run.summary(), QStringLiteral("<ImportRun>2 of 3 new recordings imported. "
                                            "<ImportRun>Under a new name, as their names were taken: \"a.wav\"."));
    EXPECT_EQ(listedNames({QStringLiteral("a"), QStringLiteral("b")}, 1),
              QStringLiteral("\"a\"\n<NameList>and 1 more."));
    EXPECT_EQ(voiceMessageText(VoiceMessages::wrongVoice), QStringLiteral("<VoiceMessages>Wrong voice file"));
    EXPECT_EQ(voiceMessageText("b.VOC: Input/output error"), QStringLiteral("b.VOC: Input/output error"));
    EXPECT_EQ(iniWriteErrorText(IniWriteError("/tmp/ü/settings.ini")),
              QStringLiteral("<IniFile>Unable to write to /tmp/ü/settings.ini"));
}

} // namespace
