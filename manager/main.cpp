// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// TovixMan: the program entry.
#include "about_unit.h"
#include "main_unit.h"
#include "platform/hand_over_message.h"
#include "platform/single_instance.h"
#include "platform/translations.h"
#include "resources/resources.h"
#include "target_select_unit.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QIcon>
#include <QUrl>

#include <cstdio>
#include <cstring>
#include <optional>

namespace {

// --help and --version answer on a terminal without a display.
bool asksForTextOnly(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char *option : {"-h", "--help", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

// The files named on the command line, as absolute paths, since a running
// instance that takes them has a folder of its own.
QStringList commandLineFiles(const QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "main", "Manager for the Tovix portable audio player and voice recorder."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("files"), QCoreApplication::translate("main", "Voice recordings to show in the PC pane."),
        QCoreApplication::translate("main", "[FILE...]"));
    parser.process(app);
    QStringList files;
    for (const QString &argument : parser.positionalArguments()) {
        const QUrl url(argument);
        const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        // An empty name (an unset shell variable, a bare "file:") names no file; left in,
        // it would cost the others their hand-over.
        if (path.isEmpty())
            std::fprintf(stderr, "TovixMan: an empty file name was left out.\n");
        else
            files << QFileInfo(path).absoluteFilePath();
    }
    return files;
}

// Offers the files to a TovixMan of this user that is already running; the exit
// status once it has answered, nothing when there is none and this start opens a window.
std::optional<int> handOverToRunningInstance(const SingleInstance &instance, const QStringList &files)
{
    switch (instance.handOver(files)) {
    case SingleInstance::Taken:
        return 0;
    case SingleInstance::Refused:
        std::fprintf(stderr,
                     "TovixMan: none of the %lld files were opened: the running TovixMan takes at most %d files "
                     "and %lld KiB of names at once.\n",
                     static_cast<long long>(files.size()), HandOverMessage::kMaxPaths,
                     static_cast<long long>(HandOverMessage::kMaxBytes / 1024));
        return 1;
    case SingleInstance::NoAnswer:
        std::fprintf(stderr, "TovixMan: a TovixMan is already running but has not answered; it opens the files "
                             "once it is free, if they reached it.\n");
        return 1;
    case SingleInstance::NoInstance:
        break;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationVersion(QStringLiteral(TOVIX_VERSION));
    if (asksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        const Translations translations;
        commandLineFiles(app); // prints the answer and exits
        return 0;
    }
    QApplication app(argc, argv);
    const Translations translations; // the desktop's language, before the first text is made
    const QStringList files = commandLineFiles(app);
    const QString socketPath = SingleInstance::defaultSocketPath();
    SingleInstance instance(socketPath);
    if (const std::optional<int> handedOver = handOverToRunningInstance(instance, files))
        return *handedOver;
    if (!instance.listen()) {
        qWarning("Files opened later will start another TovixMan: %s.",
                 qPrintable(socketPath.isEmpty()
                                ? QStringLiteral("this user has no private runtime folder for its socket")
                                : QStringLiteral("the socket \"%1\" cannot be made").arg(socketPath)));
    }

    QApplication::setApplicationDisplayName(QStringLiteral("Sonavel v1.3"));
    initTovixResources();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tovixman.png")));

    Form_TovixMan = new TForm_TovixMan;
    Form_About = new TForm_About(Form_TovixMan);
    Form_TargetSelection = new TForm_TargetSelection(Form_TovixMan);
    QObject::connect(&instance, &SingleInstance::filesReceived, Form_TovixMan,
                     &TForm_TovixMan::openFiles);
    Form_TovixMan->show();
    if (!files.isEmpty())
        Form_TovixMan->openFiles(files);
    const int result = app.exec();

    // The window writes its settings as it is destroyed, while the application still runs.
    delete Form_TovixMan;
    return result;
}
