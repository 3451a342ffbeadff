// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

// The player's device-access library: its seven functions, the memory target
// codes, the status bits and the fixed-layout records it fills. Every call the
// manager makes to the player goes through these declarations.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

enum : int32_t {
    mtInternal = 1000,
    mtCard = 2000,
};

enum : uint32_t {
    psNoCard = 2,
    psCorruptedCard = 4,
    psWrongCard = 8,
    psWriteProtected = 16,
};

static_assert(std::endian::native == std::endian::little,
              "the device records are little-endian and read in place");

#pragma pack(push, 1)

struct TPlayerVersion {
    char Reserved[19];
    char VersionText[13];
};

struct TFileEntry {
    char LongName[195];
    char Reserved1[16];
    char ShortName[16];
    char Reserved2[1];
    uint32_t Size;
    uint16_t HasLongName;
    char Reserved3[14];
};

constexpr int kMaxPlayerFiles = 255;

struct TMemoryInfo {
    uint32_t Reserved;
    uint32_t FileCount;
    uint32_t TotalBytes;
    uint32_t FreeBytes;
    TFileEntry Files[kMaxPlayerFiles];
};

#pragma pack(pop)

static_assert(sizeof(TPlayerVersion) == 32);
static_assert(offsetof(TPlayerVersion, VersionText) == 19);

static_assert(sizeof(TFileEntry) == 248);
static_assert(offsetof(TFileEntry, LongName) == 0);
static_assert(offsetof(TFileEntry, Reserved1) == 195);
static_assert(offsetof(TFileEntry, ShortName) == 211);
static_assert(offsetof(TFileEntry, Reserved2) == 227);
static_assert(offsetof(TFileEntry, Size) == 228);
static_assert(offsetof(TFileEntry, HasLongName) == 232);
static_assert(offsetof(TFileEntry, Reserved3) == 234);

static_assert(sizeof(TMemoryInfo) == 63256);
static_assert(offsetof(TMemoryInfo, FileCount) == 4);
static_assert(offsetof(TMemoryInfo, TotalBytes) == 8);
static_assert(offsetof(TMemoryInfo, FreeBytes) == 12);
static_assert(offsetof(TMemoryInfo, Files) == 16);

extern "C" {
int32_t dll_fn_get_player_version(TPlayerVersion *version);
int32_t dll_fn_get_player_status(void);
int32_t dll_fn_refresh_device(TMemoryInfo *info, int32_t target);
int32_t dll_fn_download_file(const char *pcPath, int32_t target);
int32_t dll_fn_upload_file(const char *shortName, const char *pcPath, int32_t target);
int32_t dll_fn_delete_file(const char *shortName, int32_t target);
int32_t dll_fn_format_device(int32_t target);
}
