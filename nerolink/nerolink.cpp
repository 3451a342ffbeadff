// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The seven exported functions of the stand-in device library. Each call reads
// the player's state afresh, runs under one lock, and reports failure as 0;
// nothing is thrown across the library boundary.
#include "attached_player.h"
#include "device/nerolink.h"
#include "device/records.h"
#include "file_copy.h"
#include "memory_store.h"
#include "player_config.h"
#include "player_lock.h"
#include "short_names.h"

#include <cstring>
#include <mutex>

using namespace nerolink;

namespace {

std::mutex callMutex;

// Runs work on the attached player's state, or returns 0 when there is none.
template <typename Work>
int32_t withPlayer(Work &&work)
{
    try {
        std::lock_guard guard(callMutex);
        const std::string folder = playerFolder();
        PlayerLock lock(folder);
        sweepTemporaries(folder);
        const auto config = loadPlayer(folder);
        const auto player = config ? attachPlayer(*config) : nullptr;
        if (!player)
            return 0;
        return work(*player);
    } catch (...) {
        return 0;
    }
}

// Runs work on one opened memory of the attached player.
template <typename Work>
int32_t withMemory(int32_t target, Work &&work)
{
    return withPlayer([&](const AttachedPlayer &player) -> int32_t {
        const MemoryConfig *memory = player.config.memory(target);
        if (!memory)
            return 0;
        MemoryStore store(player, *memory);
        return store.open() && work(store) ? 1 : 0;
    });
}

} // namespace

extern "C" {

int32_t dll_fn_get_player_version(TPlayerVersion *version)
{
    if (!version)
        return 0;
    return withPlayer([&](const AttachedPlayer &player) -> int32_t {
        std::memset(version, 0, sizeof *version);
        setFieldText(version->VersionText, player.config.version);
        return 1;
    });
}

int32_t dll_fn_get_player_status(void)
{
    return withPlayer([](const AttachedPlayer &player) {
        return static_cast<int32_t>(player.statusBits());
    });
}

int32_t dll_fn_refresh_device(TMemoryInfo *info, int32_t target)
{
    if (!info)
        return 0;
    return withPlayer([&](const AttachedPlayer &player) -> int32_t {
        const MemoryConfig *memory = player.config.memory(target);
        if (!memory || memory->failRefresh)
            return 0;
        MemoryStore store(player, *memory);
        if (!store.open())
            return 0;
        store.fill(*info);
        return 1;
    });
}

int32_t dll_fn_download_file(const char *pcPath, int32_t target)
{
    if (!pcPath || !*pcPath)
        return 0;
    return withMemory(target, [&](MemoryStore &store) { return store.download(pcPath); });
}

int32_t dll_fn_upload_file(const char *shortName, const char *pcPath, int32_t target)
{
    if (isUnsafeShortName(shortName) || !pcPath || !*pcPath)
        return 0;
    return withMemory(target, [&](MemoryStore &store) { return store.upload(shortName, pcPath); });
}

int32_t dll_fn_delete_file(const char *shortName, int32_t target)
{
    if (isUnsafeShortName(shortName))
        return 0;
    return withMemory(target, [&](MemoryStore &store) { return store.remove(shortName); });
}

int32_t dll_fn_format_device(int32_t target)
{
    return withMemory(target, [](MemoryStore &store) { return store.format(); });
}

} // extern "C"
