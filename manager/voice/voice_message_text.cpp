// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "voice/voice_message_text.h"

#include "voice/voice_conversion.h"

#include <QCoreApplication>

#include <string_view>

namespace {

// Each message as lupdate finds it, checked against the text the engine gives.
constexpr const char *kKnown[] = {
    QT_TRANSLATE_NOOP("VoiceMessages", "File already exists, Overwrite ?"),
    QT_TRANSLATE_NOOP("VoiceMessages", "Can not open voice file"),
    QT_TRANSLATE_NOOP("VoiceMessages", "Wrong voice file"),
    QT_TRANSLATE_NOOP("VoiceMessages", "Can not create wave file"),
    QT_TRANSLATE_NOOP("VoiceMessages", "Can not write wave file"),
    QT_TRANSLATE_NOOP("VoiceMessages", "Can not read voice file"),
};

constexpr bool same(const char *a, const char *b) { return std::string_view(a) == std::string_view(b); }

static_assert(same(kKnown[0], VoiceMessages::overwriteQuestion));
static_assert(same(kKnown[1], VoiceMessages::cannotOpenVoice));
static_assert(same(kKnown[2], VoiceMessages::wrongVoice));
static_assert(same(kKnown[3], VoiceMessages::cannotCreateWave));
static_assert(same(kKnown[4], VoiceMessages::cannotWriteWave));
static_assert(same(kKnown[5], VoiceMessages::cannotReadVoice));

} // namespace

QString voiceMessageText(const std::string &message)
{
    for (const char *known : kKnown) {
        if (message == known)
            return QCoreApplication::translate("VoiceMessages", known);
    }
    return QString::fromLocal8Bit(message);
}
