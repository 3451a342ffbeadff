// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Moving to the desktop trash takes exactly the entry that was looked at.
#include "act_hook.h"
#include "platform/trash.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class Trash : public ::testing::Test {
protected:
    QTemporaryDir scratch;
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");

    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("data")));
    }
    void TearDown() override
    {
        ActHook::clear();
        if (savedData.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedData);
    }

    QString path(const QString &name) const { return scratch.filePath(name); }
    static QByteArray bytesOf(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
    }
    static void write(const QString &file, const QByteArray &bytes)
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(bytes), bytes.size());
    }
};

// Right before the move another user renames the folder away and puts a
// folder with a file of the same name in its place: that file stays where it
// is, and the one the user deleted reaches the trash.
TEST_F(Trash, FolderSwappedBeforeTheMoveKeepsTheOtherFile)
{
    ASSERT_EQ(::mkdir(QFile::encodeName(path("shared")).constData(), 0700), 0);
    write(path("shared/notes.txt"), "the user's notes");
    ActHook::before("notes.txt", [this] {
        ASSERT_EQ(::rename(QFile::encodeName(path("shared")).constData(),
                           QFile::encodeName(path("moved")).constData()), 0);
        ASSERT_EQ(::mkdir(QFile::encodeName(path("shared")).constData(), 0700), 0);
        write(path("shared/notes.txt"), "another user's file");
    });

    EXPECT_TRUE(moveToTrash(QFile::encodeName(path("shared/notes.txt"))));
    EXPECT_EQ(bytesOf(path("shared/notes.txt")), "another user's file");
    EXPECT_EQ(bytesOf(path("data/Trash/files/notes.txt")), "the user's notes");
    EXPECT_EQ(bytesOf(path("moved/notes.txt")), "(missing)");
}

} // namespace
