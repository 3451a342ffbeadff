// SPDX-FileCopyrightText: 2026 The TovixMan developers
// SPDX-License-Identifier: GPL-2.0-or-later
// Recordings handed to TovixMan from outside: the program's command line, its hand-over
// to a running instance, and what the window makes of the files.
#include "explorer/folder_view.h"
#include "main_unit.h"
#include "platform/single_instance.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class OpenFilesTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm_TovixMan> w;
    QString recordings;

    void SetUp() override
    {
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
        recordings = home.filePath(QStringLiteral("Recordings"));
        ASSERT_TRUE(QDir().mkpath(recordings));
        for (const char *name : {"REC00001.VOC", "REC00002.VOC"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(TOVIX_TEST_DATA "/voice_mode1.VOC"),
                                    recordings + QLatin1Char('/') + QLatin1String(name)));
        QFile notes(recordings + QStringLiteral("/notes.txt"));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("not a recording") > 0);
        w = std::make_unique<TForm_TovixMan>(home.filePath(QStringLiteral("settings.ini")));
        w->FolderView->setCurrentDirectory(home.path());
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }

    QStringList selectedNames() const
    {
        QStringList names;
        for (const QString &path : w->FolderView->selectedPaths())
            names << QFileInfo(path).fileName();
        return names;
    }

    bool showsSelected(const QString &name)
    {
        return QTest::qWaitFor([&] {
            return QDir(w->FolderView->currentDirectory()) == QDir(recordings) &&
                   selectedNames() == QStringList{name};
        }, 10000);
    }

    // Runs the real program and keeps this process's events going meanwhile.
    int runTovixMan(QProcess &program, const QStringList &arguments)
    {
        program.setWorkingDirectory(home.path());
        program.start(QStringLiteral(TOVIXMAN_BINARY), arguments);
        if (!QTest::qWaitFor([&] { return program.state() == QProcess::NotRunning; }, 20000)) {
            program.kill();
            return -1;
        }
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    }
};

} // namespace

TEST_F(OpenFilesTest, AStartHandsItsRelativeFileToTheRunningWindowWhichSelectsIt)
{
    SingleInstance running;
    ASSERT_TRUE(running.listen());
    QObject::connect(&running, &SingleInstance::filesReceived, w.get(), &TForm_TovixMan::openFiles);

    QProcess second;
    EXPECT_EQ(runTovixMan(second, {QStringLiteral("Recordings/REC00002.VOC")}), 0)
        << second.readAllStandardError().toStdString();
    EXPECT_TRUE(showsSelected(QStringLiteral("REC00002.VOC"))) << selectedNames().join(' ').toStdString();
    const QString played = QFileInfo(recordings + QStringLiteral("/REC00002.VOC")).absoluteFilePath();
    EXPECT_TRUE(QTest::qWaitFor([&] { return w->FListenPath == played; }, 10000)) << "it plays";
    EXPECT_TRUE(prompts.records.empty());
}

TEST_F(OpenFilesTest, FilesThatAreNotRecordingsAreNamedInOneMessage)
{
    w->openFiles({recordings + QStringLiteral("/notes.txt"), recordings + QStringLiteral("/gone.VOC"),
                  recordings, recordings + QStringLiteral("/REC00001.VOC")});
    ASSERT_TRUE(showsSelected(QStringLiteral("REC00001.VOC")));
    ASSERT_EQ(prompts.records.size(), 1u);
    const QString text = prompts.records[0].text;
    EXPECT_TRUE(text.contains(QStringLiteral("\"%1/notes.txt\" is not a voice recording.").arg(recordings)));
    EXPECT_TRUE(text.contains(QStringLiteral("\"%1/gone.VOC\" cannot be opened").arg(recordings)));
    EXPECT_TRUE(text.contains(QStringLiteral("\"%1\" is not a voice recording.").arg(recordings)));
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Warning);
}

TEST_F(OpenFilesTest, AStartAfterACrashedInstanceTakesOverItsSocket)
{
    QFile leftover(SingleInstance::defaultSocketPath());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    SingleInstance first;
    EXPECT_FALSE(first.handOver({QStringLiteral("/a.VOC")}, 500));
    ASSERT_TRUE(first.listen());
    QStringList received;
    QObject::connect(&first, &SingleInstance::filesReceived, [&](const QStringList &p) { received = p; });
    QProcess second;
    EXPECT_EQ(runTovixMan(second, {QStringLiteral("/x/one.VOC"), QStringLiteral("file:///x/two%20b.VOC")}), 0);
    EXPECT_EQ(received, (QStringList{QStringLiteral("/x/one.VOC"), QStringLiteral("/x/two b.VOC")}));
}

TEST_F(OpenFilesTest, HelpAndVersionAnswerWithoutADisplayAndABadOptionFails)
{
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    program.setProcessEnvironment(env);
    ASSERT_EQ(runTovixMan(program, {QStringLiteral("--version")}), 0);
    EXPECT_EQ(program.readAllStandardOutput().trimmed(), QByteArray("TovixMan 1.3"));
    ASSERT_EQ(runTovixMan(program, {QStringLiteral("--help")}), 0);
    const QByteArray help = program.readAllStandardOutput();
    EXPECT_TRUE(help.contains("Usage: ") && help.contains("[FILE...]") && help.contains("--version"))
        << help.toStdString();
    QProcess withDisplay;
    EXPECT_EQ(runTovixMan(withDisplay, {QStringLiteral("--no-such-option")}), 1);
    EXPECT_TRUE(withDisplay.readAllStandardError().contains("Unknown option 'no-such-option'"));
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
