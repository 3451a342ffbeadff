// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "hand_over_message.h"

#include <QFile>
#include <QtEndian>

namespace HandOverMessage {

namespace {

constexpr char kMagic[4] = {'T', 'V', 'X', 'H'};

} // namespace

QByteArray frame(const QByteArray &payload)
{
    QByteArray message(kMagic, sizeof kMagic);
    char length[4];
    qToBigEndian(quint32(payload.size()), length);
    message.append(length, sizeof length);
    return message + payload;
}

std::optional<QByteArray> encode(const QStringList &paths)
{
    if (paths.size() > kMaxPaths)
        return std::nullopt;
    QByteArray payload;
    for (const QString &path : paths) {
        payload += QFile::encodeName(path);
        payload += '\0';
        if (payload.size() > kMaxBytes - kHeaderSize)
            return std::nullopt;
    }
    return frame(payload);
}

std::optional<qint64> payloadLength(const QByteArray &header)
{
    if (header.size() != kHeaderSize || !header.startsWith(QByteArray(kMagic, sizeof kMagic)))
        return std::nullopt;
    const qint64 length = qFromBigEndian<quint32>(header.constData() + sizeof kMagic);
    if (length > kMaxBytes - kHeaderSize)
        return std::nullopt;
    return length;
}

std::optional<QStringList> decode(const QByteArray &payload)
{
    if (!payload.isEmpty() && !payload.endsWith('\0'))
        return std::nullopt;
    QStringList paths;
    qsizetype start = 0;
    while (start < payload.size()) {
        const qsizetype end = payload.indexOf('\0', start);
        if (paths.size() == kMaxPaths || payload.at(start) != '/')
            return std::nullopt;
        paths << QFile::decodeName(payload.mid(start, end - start));
        start = end + 1;
    }
    return paths;
}

} // namespace HandOverMessage
