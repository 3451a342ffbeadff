// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/settings_location.h"

#include "platform/paths.h"

#include <cstdlib>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool isAbsolute(const char *path)
{
    return path && path[0] == pathSeparator;
}

std::string homeFolder()
{
    const char *home = std::getenv("HOME");
    if (isAbsolute(home))
        return home;
    const struct passwd *account = ::getpwuid(::getuid());
    return account && isAbsolute(account->pw_dir) ? account->pw_dir : std::string();
}

// Like mkdir -p. A folder that cannot be made is left to the first write to report.
void makeFolders(const std::string &folder)
{
    for (size_t end = folder.find(pathSeparator, 1); ; end = folder.find(pathSeparator, end + 1)) {
        (void)::mkdir(folder.substr(0, end).c_str(), 0700);
        if (end == std::string::npos)
            break;
    }
}

} // namespace

std::string userConfigFolder()
{
    const char *configHome = std::getenv("XDG_CONFIG_HOME");
    if (isAbsolute(configHome))
        return configHome;
    const std::string home = homeFolder();
    return home.empty() ? home : joinPath(home, ".config");
}

std::string settingsFileFor(std::string_view programFolder, std::string_view configFolder)
{
    const std::string beside = joinPath(programFolder, "settings.ini");
    if (configFolder.empty() || ::access(std::string(programFolder).c_str(), W_OK | X_OK) == 0)
        return beside;
    const std::string folder = joinPath(configFolder, "tovixman");
    makeFolders(folder);
    return joinPath(folder, "settings.ini");
}
