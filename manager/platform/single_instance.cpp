// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "single_instance.h"

#include "hand_over_message.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Connections read at once; later ones wait their turn in the kernel's queue.
constexpr int kMaxConnections = 8;
// What Qt buffers for one connection ahead of our reading.
constexpr qint64 kReadBuffer = 64 * 1024;
// How long a start waits to learn whether a socket left there still listens.
constexpr int kProbeMs = 1000;

// A folder on the way to ours that nobody else can swap for one of theirs: it is
// root's or ours, and others may not write there, or only their own entries.
bool isSafeAncestor(const QByteArray &path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           (st.st_uid == 0 || st.st_uid == ::getuid()) && ((st.st_mode & 022) == 0 || (st.st_mode & S_ISVTX));
}

// A folder only this user can enter, reached through no link and through no
// folder another user could rename it out of.
bool isPrivateFolder(const QString &folder)
{
    struct stat st {};
    if (!QDir::isAbsolutePath(folder) || QDir::cleanPath(folder) != QFileInfo(folder).canonicalFilePath() ||
        ::lstat(QFile::encodeName(folder).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        st.st_uid != ::getuid() || (st.st_mode & 0777) != 0700)
        return false;
    for (QString up = QFileInfo(QDir::cleanPath(folder)).path();; up = QFileInfo(up).path()) {
        if (!isSafeAncestor(QFile::encodeName(up)))
            return false;
        if (up == QLatin1String("/"))
            return true;
    }
}

bool peerIsThisUser(int fd)
{
    ucred credentials {};
    socklen_t size = sizeof credentials;
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::getuid();
}

class Socket {
public:
    explicit Socket(int fd) : m_fd(fd) {}
    ~Socket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    int fd() const { return m_fd; }
    bool isValid() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Connects within timeoutMs, which also bounds every later send and receive;
// on failure the fd is -1 and *error holds why.
int connectTo(const QByteArray &path, int timeoutMs, int *error)
{
    sockaddr_un address {};
    if (path.size() >= qsizetype(sizeof address.sun_path)) {
        *error = ENAMETOOLONG;
        return -1;
    }
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    const int ms = qMax(timeoutMs, 1); // zero would mean no limit
    const timeval limit {ms / 1000, (ms % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        *error = errno;
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const QByteArray &data)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

// Clears the way for our socket. Only a leftover of ours goes: a socket nobody
// listens at any more, or a stray file of ours; one that takes connections stays.
bool clearLeftover(const QByteArray &path)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return errno == ENOENT;
    if (st.st_uid != ::getuid())
        return false;
    if (S_ISSOCK(st.st_mode)) {
        int error = 0;
        const Socket probe(connectTo(path, kProbeMs, &error));
        if (probe.isValid() || error != ECONNREFUSED)
            return false;
    }
    return ::unlink(path.constData()) == 0 || errno == ENOENT;
}

} // namespace

struct SingleInstance::Delivery {
    QByteArray data;
    std::optional<qint64> expected;
    bool answered = false;
    bool released = false;
};

SingleInstance::SingleInstance(const QString &socketPath, QObject *parent)
    : QObject(parent), m_socketPath(socketPath)
{
}

QString SingleInstance::defaultSocketPath()
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!isPrivateFolder(folder))
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!isPrivateFolder(folder))
        return {};
    return folder + QStringLiteral("/tovixman-%1.socket").arg(::getuid());
}

SingleInstance::HandOver SingleInstance::handOver(const QStringList &paths, int timeoutMs) const
{
    const QByteArray path = QFile::encodeName(m_socketPath);
    struct stat st {};
    if (path.isEmpty() || ::lstat(path.constData(), &st) != 0 || !S_ISSOCK(st.st_mode) ||
        st.st_uid != ::getuid())
        return NoInstance;
    int error = 0;
    const Socket socket(connectTo(path, timeoutMs, &error));
    if (!socket.isValid()) // a full queue means a busy instance, not a missing one
        return error == EAGAIN || error == ETIMEDOUT || error == EINTR ? NoAnswer : NoInstance;
    if (!peerIsThisUser(socket.fd()))
        return NoInstance;
    const std::optional<QByteArray> message = HandOverMessage::encode(paths);
    if (!message)
        return Refused;
    char reply = 0;
    if (!sendAll(socket.fd(), *message) || ::recv(socket.fd(), &reply, 1, 0) != 1)
        return NoAnswer;
    if (reply == HandOverMessage::kTaken)
        return Taken;
    return reply == HandOverMessage::kRefused ? Refused : NoAnswer;
}

bool SingleInstance::listen()
{
    if (m_server)
        return m_server->isListening();
    const QByteArray path = QFile::encodeName(m_socketPath);
    if (path.isEmpty() || !clearLeftover(path))
        return false;
    m_server = new QLocalServer(this);
    m_server->setMaxPendingConnections(kMaxConnections);
    // Binds in place, so a socket made there meanwhile is never replaced.
    if (!m_server->listen(m_socketPath))
        return false;
    ::chmod(path.constData(), 0600);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::takeConnections);
    return true;
}

void SingleInstance::takeConnections()
{
    while (m_open < kMaxConnections && m_server->hasPendingConnections()) {
        QLocalSocket *socket = m_server->nextPendingConnection();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!peerIsThisUser(int(socket->socketDescriptor()))) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_open;
        auto delivery = std::make_shared<Delivery>();
        // The place is free once the connection ends, not once its socket is deleted:
        // a refusal box's event loop holds back deletions until it is closed.
        const auto release = [this, delivery] {
            if (std::exchange(delivery->released, true))
                return;
            --m_open;
            // Later, since a connection may end inside a reply to it.
            QMetaObject::invokeMethod(this, &SingleInstance::takeConnections, Qt::QueuedConnection);
        };
        connect(socket, &QLocalSocket::disconnected, this, release);
        connect(socket, &QObject::destroyed, this, release);
        socket->setReadBufferSize(kReadBuffer);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, delivery] { readFrom(socket, *delivery); });
        QTimer::singleShot(m_deliveryTimeoutMs, socket, [socket, delivery, release] {
            if (delivery->answered)
                return;
            socket->abort();
            socket->deleteLater();
            release();
        });
        readFrom(socket, *delivery);
    }
}

// Collects the header, then exactly the payload it announces, and parses that once.
void SingleInstance::readFrom(QLocalSocket *socket, Delivery &delivery)
{
    if (delivery.answered)
        return;
    if (!delivery.expected) {
        delivery.data += socket->read(HandOverMessage::kHeaderSize - delivery.data.size());
        if (delivery.data.size() < HandOverMessage::kHeaderSize)
            return;
        delivery.expected = HandOverMessage::payloadLength(delivery.data);
        delivery.data.clear();
        if (!delivery.expected) {
            answer(socket, delivery, HandOverMessage::kRefused);
            return;
        }
        delivery.data.reserve(*delivery.expected);
    }
    delivery.data += socket->read(*delivery.expected - delivery.data.size());
    if (delivery.data.size() < *delivery.expected)
        return;
    const std::optional<QStringList> paths = HandOverMessage::decode(delivery.data);
    delivery.data.clear();
    answer(socket, delivery, paths ? HandOverMessage::kTaken : HandOverMessage::kRefused);
    if (paths)
        emit filesReceived(*paths);
}

void SingleInstance::answer(QLocalSocket *socket, Delivery &delivery, char reply)
{
    delivery.answered = true;
    socket->write(&reply, 1);
    socket->disconnectFromServer();
}
