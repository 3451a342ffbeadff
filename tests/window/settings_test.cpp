// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// settings.ini: what the window reads at start and writes when it is destroyed.
#include "explorer/folder_tree.h"
#include "explorer/folder_view.h"
#include "listen/mpris_player.h"
#include "listen/play_bar.h"
#include "main_unit.h"
#include "scripted_prompts.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSlider>
#include <QSplitter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    QString path = dir.filePath(QStringLiteral("settings.ini"));

    void writeFile(const QByteArray &text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QByteArray readFile()
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The key names of every line of the file, in order, with sections as "[Name]".
    QStringList keys()
    {
        QStringList out;
        for (const QByteArray &line : readFile().split('\n')) {
            if (line.isEmpty())
                continue;
            out << QString::fromUtf8(line.startsWith('[') ? line.trimmed() : line.left(line.indexOf('=')));
        }
        return out;
    }
};

} // namespace

TEST_F(SettingsTest, FirstStartUsesTheDesignGeometryAndWritesEveryKeyInOrder)
{
    {
        TForm_TovixMan w(path);
        EXPECT_EQ(w.pos(), QPoint(0, 0));
        EXPECT_EQ(w.size(), QSize(640, 480));
        EXPECT_EQ(w.folderTreeWidth(), 150);
        EXPECT_EQ(w.explorerWidth(), 640 - 34 - 212);
        EXPECT_EQ(w.FolderView->viewStyle(), 3);
    }
    EXPECT_EQ(keys(), QStringList({"[Window]", "Left", "Top", "Width", "Height", "FolderTree",
                                   "Explorer", "FolderTreeStyle", "[Explorer]", "Directory",
                                   "[Import]", "OnArrival", "Folder", "[Listen]", "Speed",
                                   "RewindOnPause", "Volume", "RewindSeconds"}));
    const QByteArray text = readFile();
    EXPECT_TRUE(text.contains("Width=640")) << text.constData();
    EXPECT_TRUE(text.contains("Height=480"));
    EXPECT_TRUE(text.contains("FolderTree=150"));
    EXPECT_TRUE(text.contains("FolderTreeStyle=3"));
    EXPECT_TRUE(text.contains("[Import]\nOnArrival=0\nFolder=\n")) << text.constData();
    EXPECT_TRUE(prompts.records.empty());
}

TEST_F(SettingsTest, LettersGiveTheDefaultAndHexadecimalIsRead)
{
    writeFile("[Window]\nLeft=0x10\nTop=-5\nWidth=wide\nHeight=500\nFolderTree=-5\n");
    TForm_TovixMan w(path);
    EXPECT_EQ(w.x(), 16);
    EXPECT_EQ(w.y(), 0) << "read, and brought onto the screen";
    EXPECT_EQ(w.folderTreeWidth(), -5) << "read; fitted when the window is shown";
    EXPECT_EQ(w.width(), 640);
    EXPECT_EQ(w.height(), 500);
}

TEST_F(SettingsTest, StoredFolderAndPaneWidthsAreRestored)
{
    QDir(dir.path()).mkdir(QStringLiteral("music"));
    const QString music = dir.filePath(QStringLiteral("music"));
    writeFile(QStringLiteral("[Window]\nWidth=900\nHeight=600\nExplorer=500\nFolderTree=200\n"
                             "[Explorer]\nDirectory=%1\n").arg(music).toUtf8());
    TForm_TovixMan w(path);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(QDir(w.FolderView->currentDirectory()), QDir(music));
    EXPECT_EQ(w.Splitter_Panes->sizes().value(0), 500);
    EXPECT_EQ(w.Splitter_TreeAndFolder->sizes().value(0), 200);
}

TEST_F(SettingsTest, ViewStyleIsWrittenButNotReadBack)
{
    {
        TForm_TovixMan w(path);
        w.Button_BigIconClick();
    }
    EXPECT_TRUE(readFile().contains("FolderTreeStyle=0"));
    TForm_TovixMan again(path);
    EXPECT_EQ(again.FolderView->viewStyle(), 3);
    EXPECT_TRUE(again.MainMenu_ReportView->isChecked());
}

TEST_F(SettingsTest, UnknownSectionsAndKeysSurviveAnExit)
{
    writeFile("; kept\n[Other]\nA=1\n[Window]\nColour=blue\nLeft=3\n");
    { TForm_TovixMan w(path); }
    const QByteArray text = readFile();
    EXPECT_TRUE(text.startsWith("; kept\n[Other]\nA=1\n[Window]\nColour=blue\nLeft=3\nTop=0\n")) << text.constData();
}

TEST_F(SettingsTest, AFailedWriteIsReportedOnceAndStopsTheRest)
{
    // A settings file inside a folder that does not exist cannot be written, even by root.
    const QString unwritable = dir.filePath(QStringLiteral("missing/settings.ini"));
    { TForm_TovixMan w(unwritable); }
    ASSERT_EQ(prompts.records.size(), 1u);
    EXPECT_EQ(prompts.records[0].text, QStringLiteral("Unable to write to %1").arg(unwritable));
    EXPECT_EQ(prompts.records[0].icon, PromptIcon::Critical);
    EXPECT_FALSE(QFile::exists(unwritable));
}

TEST_F(SettingsTest, AFolderNoLineCanHoldIsSavedAsTheFolderAboveItAndNothingElseIsLost)
{
    QDir(dir.path()).mkpath(QStringLiteral("two\nlines/deep"));
    QDir(dir.path()).mkpath(QStringLiteral("ends "));
    {
        TForm_TovixMan w(path);
        w.FolderView->setCurrentDirectory(dir.filePath(QStringLiteral("ends ")));
        w.MainMenu_ImportOnArrival->trigger();
        w.FolderView->setCurrentDirectory(dir.filePath(QStringLiteral("two\nlines/deep")));
        w.Button_BigIconClick();
    }
    EXPECT_TRUE(prompts.records.empty());
    EXPECT_EQ(keys(), QStringList({"[Window]", "Left", "Top", "Width", "Height", "FolderTree",
                                   "Explorer", "FolderTreeStyle", "[Explorer]", "Directory",
                                   "[Import]", "OnArrival", "Folder", "[Listen]", "Speed",
                                   "RewindOnPause", "Volume", "RewindSeconds"}));
    const QByteArray text = readFile();
    EXPECT_TRUE(text.contains(QStringLiteral("Directory=%1\n").arg(dir.path()).toUtf8())) << text.constData();
    EXPECT_TRUE(text.contains(QStringLiteral("OnArrival=1\nFolder=%1\n").arg(dir.path()).toUtf8()));
    EXPECT_TRUE(text.contains("FolderTreeStyle=0"));
}

TEST_F(SettingsTest, TheImportOptionAndItsFolderSurviveARestart)
{
    QDir(dir.path()).mkdir(QStringLiteral("voice"));
    const QString voice = dir.filePath(QStringLiteral("voice"));
    {
        TForm_TovixMan w(path);
        EXPECT_FALSE(w.MainMenu_ImportOnArrival->isChecked());
        w.FolderView->setCurrentDirectory(voice);
        w.MainMenu_ImportOnArrival->trigger();
    }
    EXPECT_TRUE(readFile().contains(QStringLiteral("[Import]\nOnArrival=1\nFolder=%1\n").arg(voice).toUtf8()))
        << readFile().constData();
    {
        TForm_TovixMan w(path);
        EXPECT_TRUE(w.MainMenu_ImportOnArrival->isChecked());
        EXPECT_TRUE(w.FImportOnArrival);
        EXPECT_EQ(w.FImportFolder, voice);
        w.MainMenu_ImportOnArrival->trigger();
    }
    TForm_TovixMan again(path);
    EXPECT_FALSE(again.MainMenu_ImportOnArrival->isChecked());
    EXPECT_FALSE(again.FImportOnArrival);
    EXPECT_EQ(again.FImportFolder, voice) << "the folder is kept for the next time";
}

TEST_F(SettingsTest, TheListeningSpeedAndRewindOptionSurviveARestartWithinTheirRange)
{
    {
        TForm_TovixMan w(path);
        EXPECT_EQ(w.FListenSpeed, 1.0);
        EXPECT_TRUE(w.MainMenu_RewindOnPause->isChecked()); // on by default
        for (int i = 0; i < 3; ++i)
            w.MainMenu_FasterClick();
        w.MainMenu_RewindOnPause->trigger();
        EXPECT_EQ(w.PlayBar_Listen->Label_Speed->text(), QStringLiteral("1.3x"));
    }
    EXPECT_TRUE(readFile().contains("[Listen]\nSpeed=1.3\nRewindOnPause=0\n")) << readFile().constData();
    for (const auto &[stored, read] : {std::pair{"0.1", 0.5}, {"9", 2.0}, {"fast", 1.0}, {"1.46", 1.5}}) {
        writeFile(QByteArray("[Listen]\nSpeed=") + stored + "\n");
        TForm_TovixMan w(path);
        EXPECT_DOUBLE_EQ(w.FListenSpeed, read) << stored;
        EXPECT_TRUE(w.FRewindOnPause);
    }
    for (const auto &[stored, read] : {std::pair{"7", 7}, {"15", 10}, {"-3", 0}, {"soon", 2}}) {
        writeFile(QByteArray("[Listen]\nRewindSeconds=") + stored + "\n");
        TForm_TovixMan w(path);
        EXPECT_EQ(w.FRewindSeconds, read) << stored;
        EXPECT_EQ(w.MainMenu_RewindOnPause->text(),
                  QStringLiteral("&Rewind %1 on pause").arg(read == 1 ? QStringLiteral("1 second")
                                                                     : QStringLiteral("%1 seconds").arg(read)));
    }
}

TEST_F(SettingsTest, GeometryOffTheScreensComesBackAndPaneWidthsThatDoNotFitGiveWay)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    writeFile("[Window]\nLeft=5000\nTop=-3000\n");
    {
        TForm_TovixMan w(path);
        EXPECT_LE((w.frameGeometry().center() - area.center()).manhattanLength(), 8) << "centred";
    }
    writeFile(QStringLiteral("[Window]\nLeft=%1\nTop=40\nWidth=20000\nHeight=300\nExplorer=99999\n"
                             "FolderTree=-7\n").arg(area.right() - 100).toUtf8());
    TForm_TovixMan w(path);
    EXPECT_EQ(w.pos(), QPoint(area.left(), 40));
    EXPECT_EQ(w.size(), QSize(area.width(), 300));
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.Splitter_Panes->sizes().value(1), 212) << "the player pane as designed";
    EXPECT_EQ(w.Splitter_TreeAndFolder->sizes().value(0), 150);
}

// The play bar's volume starts as kept, is kept as moved, and follows the bus
// without asking for a volume of its own in return.
TEST_F(SettingsTest, ThePlayBarsVolumeIsKeptAndFollowsTheBus)
{
    writeFile("[Listen]\nVolume=0.30\n");
    {
        TForm_TovixMan w(path);
        QSlider *volume = w.PlayBar_Listen->Slider_Volume;
        auto *bus = w.findChild<MprisPlayer *>();
        EXPECT_EQ(volume->value(), 30);
        volume->setValue(75); // as a drag does
        EXPECT_DOUBLE_EQ(bus->volume(), 0.75);
        bus->askVolume(0.555);
        QCoreApplication::processEvents(); // the bus's requests are queued
        EXPECT_EQ(volume->value(), 56);
        EXPECT_DOUBLE_EQ(bus->volume(), 0.555) << "the slider's rounding came back as a request";
        volume->setValue(20);
    }
    EXPECT_TRUE(readFile().contains("Volume=0.20\n")) << readFile().constData();
}
