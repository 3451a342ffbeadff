// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Where the program keeps settings.ini. Beside the program first, so a build tree
// or an install into the user's own prefix keeps its settings with it; when that
// folder cannot be written (a system-wide install), in the user's configuration
// folder, as Linux desktop programs do.
#pragma once

#include <string>
#include <string_view>

// $XDG_CONFIG_HOME when it is an absolute path, else the home folder's ".config"
// ($HOME, or the account's home when HOME is unset or relative); empty when
// there is no home at all.
std::string userConfigFolder();

// programFolder + "/settings.ini" when the current user may create and rename
// files in programFolder; else configFolder + "/tovixman/settings.ini", with the
// folders on the way made (mode 0700) when missing. An empty configFolder keeps
// the file beside the program, whose first write then fails visibly.
std::string settingsFileFor(std::string_view programFolder, std::string_view configFolder);
