// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One TovixMan per user: a later start hands its files to the running one over a
// local socket that only this user may open. Each side makes sure the other runs
// as this user; anything else is never spoken to, and a socket that still takes
// connections is never removed, however long its instance takes to answer.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum HandOver {
        Taken,      // the running instance has the paths
        Refused,    // it answered, but they were too many for one hand-over
        NoAnswer,   // something of ours listens there but did not answer in time
        NoInstance, // nothing of this user's listens: start a window of our own
    };

    explicit SingleInstance(const QString &socketPath = defaultSocketPath(), QObject *parent = nullptr);

    // In a folder only this user can enter: XDG_RUNTIME_DIR when it is one, else
    // the one Qt makes for the user; empty when there is no such folder.
    static QString defaultSocketPath();

    HandOver handOver(const QStringList &paths, int timeoutMs = 10000) const;
    // Takes hand-overs from now on; false when the socket cannot be made or
    // another instance still listens there.
    bool listen();
    // How long a connection may take to deliver its message before it is closed.
    void setDeliveryTimeout(int ms) { m_deliveryTimeoutMs = ms; }

signals:
    void filesReceived(const QStringList &paths);

private:
    struct Delivery;

    void takeConnections();
    void readFrom(QLocalSocket *socket, Delivery &delivery);
    void answer(QLocalSocket *socket, Delivery &delivery, char reply);

    QString m_socketPath;
    QLocalServer *m_server = nullptr;
    int m_open = 0;
    int m_deliveryTimeoutMs = 5000;
};
