// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Two scratch folders, source and destination, and helpers to fill and read them.
#pragma once

#include "fileops/file_copier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

class FileOpsTest : public ::testing::Test {
protected:
    QString src(const QString &name = {}) const { return name.isEmpty() ? from.path() : from.filePath(name); }
    QString dst(const QString &name = {}) const { return name.isEmpty() ? to.path() : to.filePath(name); }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Every name in folder, hidden ones included, sorted.
    static QStringList entries(const QString &folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Name);
    }

    FileOperationResult run(FileOperation::Kind kind, const QStringList &sources, const QString &folder)
    {
        return copier.run({kind, sources, folder});
    }

    QTemporaryDir from;
    QTemporaryDir to;
    FileCopier copier;
};
