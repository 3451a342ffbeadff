// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Files on the clipboard in the formats of the desktop's file managers.
#include "fileops/file_clipboard.h"

#include "fileops_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include <memory>

namespace {

const QStringList kPaths = {"/home/u/My Music/Säge #1.mp3", "/tmp/a%20b", "/tmp/dir"};

TEST(FileClipboard, WhatIsWrittenCarriesEveryFormatAndReadsBack)
{
    for (const bool cut : {false, true}) {
        QGuiApplication::clipboard()->setMimeData(makeFileClipboard(kPaths, cut));
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->data("text/uri-list"),
                  "file:///home/u/My%20Music/S%C3%A4ge%20%231.mp3\r\nfile:///tmp/a%2520b\r\nfile:///tmp/dir\r\n");
        EXPECT_EQ(data->data("x-special/gnome-copied-files"),
                  QByteArray(cut ? "cut" : "copy")
                      + "\nfile:///home/u/My%20Music/S%C3%A4ge%20%231.mp3\nfile:///tmp/a%2520b\nfile:///tmp/dir");
        EXPECT_EQ(data->hasFormat("application/x-kde-cutselection"), cut);
        if (cut) {
            EXPECT_EQ(data->data("application/x-kde-cutselection"), "1");
        }
        EXPECT_EQ(data->text(), kPaths.join('\n'));
        const ClipboardFiles back = readFileClipboard(data);
        EXPECT_EQ(back.paths, kPaths);
        EXPECT_EQ(back.cut, cut);
    }
}

struct Written {
    const char *what;
    std::vector<std::pair<const char *, QByteArray>> formats;
    QStringList paths;
    bool cut;
};

TEST(FileClipboard, WhatOtherProgramsWriteIsRead)
{
    const Written cases[] = {
        {"a bare list, with a comment and a remote link", {{"text/uri-list", "# from a browser\r\nfile:///tmp/a.mp3\r\nhttps://example.com/b.mp3\r\nfile:///tmp/c%20d\r\n"}},
         {"/tmp/a.mp3", "/tmp/c d"}, false},
        {"GNOME's cut alone, with a last newline", {{"x-special/gnome-copied-files", "cut\nfile:///tmp/a.mp3\nfile:///tmp/b\n"}},
         {"/tmp/a.mp3", "/tmp/b"}, true},
        {"GNOME's copy beside the list", {{"x-special/gnome-copied-files", "copy\nfile:///tmp/a.mp3"}, {"text/uri-list", "file:///tmp/a.mp3\n"}},
         {"/tmp/a.mp3"}, false},
        {"KDE's cut mark beside the list", {{"application/x-kde-cutselection", "1"}, {"text/uri-list", "file:///tmp/x\n"}},
         {"/tmp/x"}, true},
        {"KDE's copy mark", {{"application/x-kde-cutselection", "0"}, {"text/uri-list", "file:///tmp/x\n"}},
         {"/tmp/x"}, false},
        {"marks that disagree copy", {{"application/x-kde-cutselection", "0"}, {"x-special/gnome-copied-files", "cut\nfile:///tmp/x"}},
         {"/tmp/x"}, false},
        {"text alone is no files", {{"text/plain", "/tmp/x"}}, {}, false},
    };
    for (const Written &c : cases) {
        auto *data = new QMimeData;
        for (const auto &[format, bytes] : c.formats)
            data->setData(format, bytes);
        QGuiApplication::clipboard()->setMimeData(data);
        const ClipboardFiles files = readFileClipboard(QGuiApplication::clipboard()->mimeData());
        EXPECT_EQ(files.paths, c.paths) << c.what;
        EXPECT_EQ(files.cut, c.cut) << c.what;
    }
    EXPECT_TRUE(readFileClipboard(nullptr).paths.isEmpty());
}

} // namespace
