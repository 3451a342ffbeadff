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

QByteArray bytesOf(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(missing)");
}

// Right before the move another user renames the folder away and puts a
// folder with a file of the same name in its place: that file stays where it
// is, and the one the user deleted reaches the trash.
TEST(Trash, FolderSwappedBeforeTheMoveKeepsTheOtherFile)
{
    QTemporaryDir scratch;
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("data"))));
    const QString shared = scratch.filePath(QStringLiteral("shared"));
    const QString moved = scratch.filePath(QStringLiteral("moved"));
    ASSERT_EQ(::mkdir(QFile::encodeName(shared).constData(), 0700), 0);
    QFile notes(shared + QStringLiteral("/notes.txt"));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("the user's notes") == 16);
    notes.close();
    ActHook::swapFolderBefore("notes.txt", shared.toStdString(), moved.toStdString());

    EXPECT_TRUE(moveToTrash(QFile::encodeName(notes.fileName())));
    ActHook::clear();
    savedData.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", savedData);
    EXPECT_EQ(bytesOf(notes.fileName()), "another user's file");
    EXPECT_EQ(bytesOf(scratch.filePath(QStringLiteral("data/Trash/files/notes.txt"))), "the user's notes");
    EXPECT_EQ(bytesOf(moved + QStringLiteral("/notes.txt")), "(missing)");
}

// The trash's own record of where its entries came from cannot itself be put
// in the trash: every entry there would lose its way back.
TEST(Trash, TheTrashsInfoFolderStaysWhereItIs)
{
    QTemporaryDir scratch;
    const QByteArray savedData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("data"))));
    QFile notes(scratch.filePath(QStringLiteral("notes.txt")));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly) && notes.write("the user's notes") == 16);
    notes.close();
    ASSERT_TRUE(moveToTrash(QFile::encodeName(notes.fileName())));

    EXPECT_FALSE(moveToTrash(QFile::encodeName(scratch.filePath(QStringLiteral("data/Trash/info")))));
    savedData.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", savedData);
    EXPECT_TRUE(bytesOf(scratch.filePath(QStringLiteral("data/Trash/info/notes.txt.trashinfo"))).contains("notes.txt"));
}

} // namespace
