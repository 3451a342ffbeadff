// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A scratch folder inside the tests' home, so the trash used is the tests' own.
#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

class ExplorerTest : public ::testing::Test {
protected:
    ExplorerTest() : scratch(QDir::homePath() + "/scratch-XXXXXX") {}

    QString path(const QString &name) const { return scratch.filePath(name); }
    void touch(const QString &name, const QByteArray &bytes = "x") const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void makeDir(const QString &name) const { ASSERT_TRUE(QDir(scratch.path()).mkpath(name)); }
    static QString trashed(const QString &name)
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + "/Trash/files/" + name;
    }
    // The in-place editor of a view, once one is open.
    static QLineEdit *editorOf(QWidget *view) { return view->findChild<QLineEdit *>(); }

    QTemporaryDir scratch;
};
