// SPDX-FileCopyrightText: 2026 The TovixMan developers
// SPDX-License-Identifier: GPL-2.0-or-later
// Recordings handed to TovixMan from outside: the program's command line, its hand-over
// to a running instance, and what the window makes of the files.
#include "explorer/folder_view.h"
#include "main_unit.h"
#include "platform/hand_over_message.h"
#include "platform/single_instance.h"
#include "scripted_prompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

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

    // This test program run as user nobody (see actAsStranger).
    static void startStranger(QProcess &stranger, const QString &mode, const QString &path)
    {
        stranger.start(QStringLiteral("setpriv"),
                       {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                        QCoreApplication::applicationFilePath(), QStringLiteral("--stranger"), mode, path});
    }

    // What the running instance at the default socket answers to a message.
    static QByteArray answerTo(const QByteArray &message)
    {
        QLocalSocket socket;
        socket.connectToServer(SingleInstance::defaultSocketPath());
        socket.write(message);
        return QTest::qWaitFor([&] { return socket.bytesAvailable() > 0; }, 5000) ? socket.readAll() : QByteArray();
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

TEST_F(OpenFilesTest, AnEmptyNameOnTheCommandLineCostsTheOtherFilesNothing)
{
    SingleInstance running;
    ASSERT_TRUE(running.listen());
    QStringList received;
    QObject::connect(&running, &SingleInstance::filesReceived, [&](const QStringList &p) { received = p; });
    QProcess second;
    EXPECT_EQ(runTovixMan(second, {QString(), QStringLiteral("file:"), QStringLiteral("/x/kept.VOC")}), 0)
        << second.readAllStandardError().toStdString();
    EXPECT_EQ(received, QStringList{QStringLiteral("/x/kept.VOC")});
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
    EXPECT_EQ(first.handOver({QStringLiteral("/a.VOC")}, 500), SingleInstance::NoInstance);
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

TEST_F(OpenFilesTest, AnotherUsersSocketOrProgramIsNeverSpokenToAndTheWindowStillStarts)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "running a program as another user needs root";
    QTemporaryDir shared(QStringLiteral("/tmp/tovix-shared-XXXXXX")); // open to all, as /tmp is
    ::chmod(QFile::encodeName(shared.path()).constData(), 01777);
    const QString theirs = shared.filePath(QStringLiteral("tovixman-%1.socket").arg(::getuid()));
    QProcess stranger;
    startStranger(stranger, QStringLiteral("listen"), theirs);
    if (!QTest::qWaitFor([&] { return stranger.canReadLine() || stranger.state() == QProcess::NotRunning; }, 10000) ||
        stranger.readLine() != "ready\n") {
        if (stranger.exitCode() >= 126)
            GTEST_SKIP() << "user nobody may not run this test program where it is built";
        FAIL() << stranger.readAllStandardError().toStdString();
    }
    EXPECT_EQ(SingleInstance(theirs).handOver({QStringLiteral("/x/secret.VOC")}, 1000), SingleInstance::NoInstance);
    qunsetenv("XDG_RUNTIME_DIR");
    const QByteArray tmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", shared.path().toUtf8());
    QProcess program;
    program.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    program.start(QStringLiteral(TOVIXMAN_BINARY), {recordings + QStringLiteral("/REC00001.VOC")});
    const QString ownSocket = SingleInstance::defaultSocketPath();
    qputenv("XDG_RUNTIME_DIR", shared.path().toUtf8());
    EXPECT_EQ(SingleInstance::defaultSocketPath(), ownSocket) << "a runtime folder open to all is not used";
    qputenv("TMPDIR", tmp);
    EXPECT_TRUE(QTest::qWaitFor([&] { return SingleInstance(ownSocket).handOver({}, 500) == SingleInstance::Taken; },
                                20000))
        << "the program runs a window of its own: " << program.readAllStandardError().toStdString();
    program.kill();
    program.waitForFinished();
    EXPECT_EQ(stranger.readAllStandardOutput(), QByteArray()) << "their socket is never connected to";

    ASSERT_EQ(::lchown(QFile::encodeName(theirs).constData(), ::getuid(), ::getgid()), 0);
    EXPECT_EQ(SingleInstance(theirs).handOver({QStringLiteral("/x/secret.VOC")}, 1000), SingleInstance::NoInstance)
        << "their program behind our name";
    EXPECT_FALSE(SingleInstance(theirs).listen()) << "a socket that answers is never taken over";
    stranger.kill();
    stranger.waitForFinished();
    EXPECT_EQ(stranger.readAllStandardOutput().replace("connected\n", ""), QByteArray());

    const QString ours = shared.filePath(QStringLiteral("ours.socket"));
    SingleInstance running(ours);
    ASSERT_TRUE(running.listen());
    ::chmod(QFile::encodeName(ours).constData(), 0777);
    QObject::connect(&running, &SingleInstance::filesReceived, [] { ADD_FAILURE() << "their files taken"; });
    startStranger(stranger, QStringLiteral("offer"), ours);
    ASSERT_TRUE(QTest::qWaitFor([&] { return stranger.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(stranger.readAllStandardOutput(), QByteArray("closed\n"));
}

TEST_F(OpenFilesTest, ARuntimeFolderThatOthersCouldSwapIsPassedOver)
{
    const QString own = SingleInstance::defaultSocketPath();
    ASSERT_TRUE(own.startsWith(home.path() + QLatin1Char('/')));
    // Private itself, but inside a folder anyone may rename it out of, or behind a link.
    QTemporaryDir open;
    ASSERT_EQ(::chmod(QFile::encodeName(open.path()).constData(), 0777), 0);
    ASSERT_EQ(::mkdir(QFile::encodeName(open.filePath(QStringLiteral("run"))).constData(), 0700), 0);
    ASSERT_TRUE(QFile::link(home.path(), open.filePath(QStringLiteral("link"))));
    ASSERT_EQ(::chmod(QFile::encodeName(recordings).constData(), 0700), 0);
    for (const char *folder : {"run", "link/Recordings"}) {
        qputenv("XDG_RUNTIME_DIR", open.filePath(QLatin1String(folder)).toUtf8());
        EXPECT_FALSE(SingleInstance::defaultSocketPath().startsWith(open.path())) << folder;
    }
}

TEST_F(OpenFilesTest, AHandOverIsBoundedAndRefusedWholeBeyondItsBounds)
{
    SingleInstance running;
    running.setDeliveryTimeout(400);
    ASSERT_TRUE(running.listen());
    QList<QStringList> received;
    QObject::connect(&running, &SingleInstance::filesReceived, [&](const QStringList &p) { received << p; });
    QStringList many;
    for (int i = 0; i <= HandOverMessage::kMaxPaths; ++i)
        many << QStringLiteral("/x/%1.VOC").arg(i);
    QProcess second;
    EXPECT_EQ(runTovixMan(second, many), 1);
    EXPECT_TRUE(second.readAllStandardError().contains("none of the 1001 files were opened"));
    const QByteArray refused(1, HandOverMessage::kRefused);
    EXPECT_EQ(answerTo(HandOverMessage::frame(QFile::encodeName(many.join(QChar(0))) + '\0')), refused);
    const QByteArray huge = HandOverMessage::frame(QByteArray(HandOverMessage::kMaxBytes, '/'));
    EXPECT_EQ(answerTo(huge.left(HandOverMessage::kHeaderSize)), refused) << "on its header alone";

    // Unfinished messages hold every place a while, then are closed; a whole one waits its turn.
    std::vector<std::unique_ptr<QLocalSocket>> idle(8);
    for (auto &socket : idle) {
        socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(SingleInstance::defaultSocketPath());
        socket->write(HandOverMessage::frame(QByteArray(100, '/')).left(20));
    }
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(answerTo(HandOverMessage::encode({QStringLiteral("/x/whole.VOC")}).value()),
              QByteArray(1, HandOverMessage::kTaken));
    EXPECT_GE(clock.elapsed(), 350);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return std::all_of(idle.begin(), idle.end(), [](auto &s) { return s->state() == QLocalSocket::UnconnectedState; });
    }, 5000));
    EXPECT_EQ(received, QList<QStringList>{{QStringLiteral("/x/whole.VOC")}});
}

TEST_F(OpenFilesTest, ABusyInstanceKeepsItsSocketAndStillGetsTheFiles)
{
    SingleInstance running;
    ASSERT_TRUE(running.listen());
    QStringList received;
    QObject::connect(&running, &SingleInstance::filesReceived, [&](const QStringList &p) { received = p; });
    // This thread is the running instance's, so it cannot answer meanwhile.
    EXPECT_EQ(SingleInstance().handOver({QStringLiteral("/x/late.VOC")}, 300), SingleInstance::NoAnswer);
    EXPECT_FALSE(SingleInstance().listen());
    EXPECT_TRUE(QTest::qWaitFor([&] { return received == QStringList{QStringLiteral("/x/late.VOC")}; }, 5000));
}

TEST_F(OpenFilesTest, RefusalBoxesLeftOpenDoNotStopLaterHandOvers)
{
    SingleInstance running;
    ASSERT_TRUE(running.listen());
    QObject::connect(&running, &SingleInstance::filesReceived, w.get(), &TForm_TovixMan::openFiles);
    prompts.onPrompt = [] { // each box stays up a while, as boxes do when their user is away
        QEventLoop box;
        QTimer::singleShot(4000, &box, &QEventLoop::quit);
        box.exec();
    };
    // Offers in quick succession, each of a file that is not there.
    QProcess starts;
    starts.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--stranger"), QStringLiteral("offers"), SingleInstance::defaultSocketPath()});
    EXPECT_TRUE(QTest::qWaitFor([&] { return starts.state() == QProcess::NotRunning; }, 30000));
    starts.kill();
    starts.waitForFinished();
    EXPECT_EQ(starts.readAllStandardOutput().count("answered\n"), 24);
}

TEST_F(OpenFilesTest, ARefusalNamesTenFilesAndCountsTheRest)
{
    QStringList missing;
    for (int i = 0; i < 13; ++i)
        missing << recordings + QStringLiteral("/gone%1.VOC").arg(i);
    missing[0] = recordings + QLatin1Char('/') + QString(250, QLatin1Char('n')) + QStringLiteral(".VOC");
    w->openFiles(missing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.records.empty(); }, 10000));
    const QStringList lines = prompts.records[0].text.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 11);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("nnn\u2026nnn")) && lines[0].size() < 240) << lines[0].toStdString();
    EXPECT_TRUE(lines[9].contains(QStringLiteral("gone9.VOC")));
    EXPECT_EQ(lines[10], QStringLiteral("and 3 more."));
}

TEST_F(OpenFilesTest, LineBreaksInNamesCannotStretchTheRefusalBox)
{
    QStringList missing;
    for (int i = 0; i < 12; ++i)
        missing << recordings + QStringLiteral("/gone\n%1\r\n\u2028.VOC").arg(i);
    w->openFiles(missing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.records.empty(); }, 10000));
    const QStringList lines = prompts.records[0].text.split(QRegularExpression(QStringLiteral("[\n\r\u2028]")));
    ASSERT_EQ(lines.size(), 11);
    EXPECT_TRUE(lines[0].contains(QStringLiteral("gone\ufffd0\ufffd\ufffd\ufffd.VOC"))) << lines[0].toStdString();
}

namespace {

// Run as another user by the tests above: "listen" reports each connection and every
// byte it hears, answering as an instance would; "offer" hands a path over and says
// whether it was answered, "offers" does so 24 times.
int actAsStranger(const char *mode, const char *path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path, sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const auto *where = reinterpret_cast<const sockaddr *>(&address);
    if (std::strcmp(mode, "listen") == 0 && ::bind(fd, where, sizeof address) == 0 && ::listen(fd, 8) == 0) {
        std::printf("ready\n");
        for (std::fflush(stdout);; std::fflush(stdout)) {
            const int peer = ::accept(fd, nullptr, nullptr);
            std::printf("connected\n");
            char buffer[4096];
            for (ssize_t n; (n = ::read(peer, buffer, sizeof buffer)) > 0 && ::write(peer, "\x06", 1) == 1;)
                std::fwrite(buffer, 1, size_t(n), stdout);
            ::close(peer);
        }
    }
    const QByteArray message = HandOverMessage::encode({QStringLiteral("/x/theirs.VOC")}).value();
    const int offers = std::strcmp(mode, "offers") == 0 ? 24 : 1;
    for (int i = 0; i < offers; ++i) {
        const int peer = i == 0 ? fd : ::socket(AF_UNIX, SOCK_STREAM, 0);
        const timeval limit {2, 0};
        ::setsockopt(peer, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        char answer = 0;
        const bool answered = ::connect(peer, where, sizeof address) == 0 &&
                              ::write(peer, message.constData(), size_t(message.size())) == message.size() &&
                              ::read(peer, &answer, 1) == 1;
        std::printf(answered ? "answered\n" : "closed\n");
        ::close(peer);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--stranger") == 0)
        return actAsStranger(argv[2], argv[3]);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
