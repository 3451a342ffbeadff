// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One TovixMan per user: a later start hands its files to the running one over a
// local socket that only this user may open.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(const QString &socketPath = defaultSocketPath(), QObject *parent = nullptr);

    // In XDG_RUNTIME_DIR (the temporary folder when it is unset), named for the user.
    static QString defaultSocketPath();

    // Gives the paths to a running instance; false when none took them within timeoutMs.
    bool handOver(const QStringList &paths, int timeoutMs = 3000) const;
    // Takes hand-overs from now on; false when the socket cannot be made.
    bool listen();

signals:
    void filesReceived(const QStringList &paths);

private:
    void readHandOver(QLocalSocket *socket);

    QString m_socketPath;
    QLocalServer *m_server = nullptr;
};
