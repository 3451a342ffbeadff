// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "player_commands.h"

#include "demo_files.h"
#include "file_copy.h"
#include "player_config.h"
#include "player_lock.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nerolink {

namespace {

bool makeFolders(const std::string &path)
{
    for (std::size_t at = 1; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '/') {
            const std::string part = path.substr(0, at);
            if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
                return false;
        }
    }
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void removePlainFiles(const std::string &folder)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

} // namespace

int initPlayer(const std::string &folder, const InitOptions &options, std::ostream &out,
               std::ostream &err)
{
    PlayerConfig config = defaultPlayer(folder);
    if (options.internalBytes)
        config.internal.capacityBytes = options.internalBytes;
    if (options.cardBytes)
        config.card.capacityBytes = options.cardBytes;
    if (!makeFolders(folder)) {
        err << "tovix-player: cannot create the player folder " << folder << "\n";
        return 1;
    }
    PlayerLock lock(folder);
    for (const MemoryConfig *memory : {&config.internal, &config.card}) {
        const std::string files = config.memoryFolder(*memory);
        if (!makeFolders(files)) {
            err << "tovix-player: cannot create " << files << "\n";
            return 1;
        }
        removePlainFiles(files);
        ::unlink(config.indexPath(*memory).c_str());
    }
    if (!savePlayer(config)) {
        err << "tovix-player: cannot write " << folder << "/" << kIniName << "\n";
        return 1;
    }
    out << "Player created in " << folder << "\n";
    if (options.demo && !addDemoFiles(config, out)) {
        err << "tovix-player: some demo files could not be added\n";
        return 1;
    }
    return 0;
}

int setSetting(const std::string &folder, const std::string &section, const std::string &key,
               const std::string &value, const std::string &done, std::ostream &out,
               std::ostream &err)
{
    if (!loadPlayer(folder)) {
        err << "tovix-player: no player in " << folder << "; create one with \"tovix-player init\"\n";
        return 1;
    }
    if (!setPlayerValue(folder, section, key, value)) {
        err << "tovix-player: cannot write " << folder << "/" << kIniName << "\n";
        return 1;
    }
    out << done << "\n";
    return 0;
}

} // namespace nerolink
