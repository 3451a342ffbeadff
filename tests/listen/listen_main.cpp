// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One QApplication for the listening tests; sound goes to a private server only.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#if defined(__SANITIZE_THREAD__)
// The tests start their sound server, recorder and bus tools from a process
// that already runs threads; each child only sets itself up and execs.
extern "C" const char *__tsan_default_options()
{
    return "die_after_fork=0";
}
#endif

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Until a test starts its own daemon, no sound server is reachable (and none is spawned).
    qputenv("PULSE_SERVER", "unix:/nonexistent/tovix-test/native");
    // Where recordings were left is kept in a folder of the run's own.
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
