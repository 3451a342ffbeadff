// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Reads arbitrary bytes as a hand-over message, header then payload, and checks that
// whatever is taken stays within the bounds and survives being sent on again.
#include "platform/hand_over_message.h"

#include <QFile>

#include <cstdint>

namespace {

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray header = bytes.left(HandOverMessage::kHeaderSize);
    const QByteArray payload = bytes.mid(HandOverMessage::kHeaderSize);
    if (const std::optional<qint64> length = HandOverMessage::payloadLength(header))
        check(*length >= 0 && *length <= HandOverMessage::kMaxBytes - HandOverMessage::kHeaderSize);

    const std::optional<QStringList> paths = HandOverMessage::decode(payload);
    if (!paths)
        return 0;
    check(paths->size() <= HandOverMessage::kMaxPaths);
    for (const QString &path : *paths)
        check(path.startsWith(QLatin1Char('/')) && !path.contains(QChar(0)));

    // A name that is not UTF-8 comes back with stand-in characters, so only the
    // paths themselves, not their bytes, must survive a second trip.
    const std::optional<QByteArray> again = HandOverMessage::encode(*paths);
    if (!again)
        return 0;
    check(HandOverMessage::payloadLength(again->left(HandOverMessage::kHeaderSize)) ==
          again->size() - HandOverMessage::kHeaderSize);
    check(HandOverMessage::decode(again->mid(HandOverMessage::kHeaderSize)) == *paths);
    if (QFile::encodeName(QFile::decodeName(payload)) == payload &&
        payload.size() <= HandOverMessage::kMaxBytes - HandOverMessage::kHeaderSize)
        check(*again == HandOverMessage::frame(payload));
    return 0;
}
