// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The desktop clipboard tests talk to a real X server, with xclip as the other
// program. An X server of their own is started when Xvfb is there (or the one
// in DISPLAY is used); without one, or without xclip, every test skips.
#include "desktop_clipboard.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

bool gHaveX = false;

namespace {

// Starts Xvfb on a free display and gives its number, or -1.
int startXvfb(pid_t &pid)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    int fds[2];
    if (xvfb.isEmpty() || ::pipe(fds) != 0)
        return -1;
    pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        const QByteArray path = xvfb.toLocal8Bit();
        ::execl(path.constData(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24",
                "-nolisten", "tcp", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    char number[16] = {};
    pollfd ready{fds[0], POLLIN, 0};
    const bool up = pid > 0 && ::poll(&ready, 1, 10000) == 1 && ::read(fds[0], number, sizeof number - 1) > 0;
    ::close(fds[0]);
    return up ? std::atoi(number) : -1;
}

// Two servers started at once may both reach for one display, and one of them
// then gives up after it has named it: such a start is tried again.
int startXServer(pid_t &pid)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int display = startXvfb(pid);
        ::usleep(200 * 1000);
        const bool running = pid > 0 && ::waitpid(pid, nullptr, WNOHANG) == 0;
        if (display >= 0 && running
            && ::access(("/tmp/.X11-unix/X" + std::to_string(display)).c_str(), F_OK) == 0)
            return display;
        if (running) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        pid = 0;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing |= std::strcmp(argv[i], "--gtest_list_tests") == 0;
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    pid_t xvfb = 0;
    if (!listing && !QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty()) {
        if (qEnvironmentVariableIsEmpty("DISPLAY")) {
            const int display = startXServer(xvfb);
            if (display >= 0)
                qputenv("DISPLAY", QByteArray(":") + QByteArray::number(display));
        }
        gHaveX = !qEnvironmentVariableIsEmpty("DISPLAY");
    }
    qputenv("QT_QPA_PLATFORM", gHaveX ? "xcb" : "offscreen");
    int result = 0;
    {
        QApplication app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (xvfb > 0) {
        ::kill(xvfb, SIGTERM);
        ::waitpid(xvfb, nullptr, 0);
    }
    return result;
}
