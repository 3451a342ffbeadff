// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The conversion's messages as the window shows them: the widget-free code
// words them in English, the window in the user's language.
#pragma once

#include <QString>

#include <string>

// message in the user's language when it is one of VoiceMessages; any other
// text (a name, a system's error) is shown as it is.
QString voiceMessageText(const std::string &message);
