// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The message a later start sends to the running TovixMan: a fixed header that
// names the payload's length, then the absolute paths, each ended by a NUL.
// Both sides bound it, so a hand-over can neither pin the window nor fill memory.
#pragma once

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace HandOverMessage {

inline constexpr int kMaxPaths = 1000;
inline constexpr qint64 kMaxBytes = 1024 * 1024; // header included
inline constexpr int kHeaderSize = 8;

// The answers of the running instance, one byte each.
inline constexpr char kTaken = '\x06';
inline constexpr char kRefused = '\x15';

// The whole message for the paths; nothing when they are too many or too long.
std::optional<QByteArray> encode(const QStringList &paths);
// The header put before a payload, whatever its content.
QByteArray frame(const QByteArray &payload);
// The payload's length a header announces; nothing when it is not our header
// or announces more than a hand-over may hold.
std::optional<qint64> payloadLength(const QByteArray &header);
// The paths of a complete payload; nothing when it is not a list of absolute paths
// within the bounds.
std::optional<QStringList> decode(const QByteArray &payload);

} // namespace HandOverMessage
