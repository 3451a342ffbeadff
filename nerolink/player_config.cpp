// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "player_config.h"

#include "device/nerolink.h"
#include "ini_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nerolink {

namespace {

bool parseBool(const std::string &text, bool fallback)
{
    for (const char *yes : {"1", "yes", "on", "true"}) {
        if (strcasecmp(text.c_str(), yes) == 0)
            return true;
    }
    for (const char *no : {"0", "no", "off", "false"}) {
        if (strcasecmp(text.c_str(), no) == 0)
            return false;
    }
    return fallback;
}

uint64_t parseBytes(const std::string &text, uint64_t fallback)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return fallback;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    return errno == ERANGE ? fallback : value;
}

std::string envValue(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::string homeFolder()
{
    std::string home = envValue("HOME");
    if (home.empty()) {
        if (const passwd *pw = ::getpwuid(::getuid()))
            home = pw->pw_dir;
    }
    return home;
}

void readMemory(const IniFile &ini, MemoryConfig &memory)
{
    memory.folder = ini.value(memory.section, "Folder");
    memory.label = ini.value(memory.section, "Label");
    memory.mountPoint = parseBool(ini.value(memory.section, "MountPoint"), false);
    memory.volumeId = ini.value(memory.section, "Uuid");
    memory.spaceFromFileSystem = !memory.folder.empty() || !memory.label.empty();
    memory.capacityBytes = parseBytes(ini.value(memory.section, "CapacityBytes"), memory.capacityBytes);
}

void writeMemory(IniFile &ini, const MemoryConfig &memory)
{
    ini.setValue(memory.section, "CapacityBytes", std::to_string(memory.capacityBytes));
    ini.setValue(memory.section, "Folder", memory.folder);
    ini.setValue(memory.section, "Label", memory.label);
    ini.setValue(memory.section, "MountPoint", memory.mountPoint ? "yes" : "no");
    ini.setValue(memory.section, "Uuid", memory.volumeId);
}

} // namespace

std::string failRefreshText(bool internal, bool card)
{
    return internal ? (card ? "both" : "internal") : (card ? "card" : "none");
}

std::optional<CardState> parseCardState(const std::string &text)
{
    for (CardState state : {CardState::Ok, CardState::None, CardState::Wrong, CardState::Corrupted}) {
        if (strcasecmp(text.c_str(), cardStateName(state)) == 0)
            return state;
    }
    return std::nullopt;
}

const char *cardStateName(CardState state)
{
    switch (state) {
    case CardState::Ok: return "ok";
    case CardState::None: return "none";
    case CardState::Wrong: return "wrong";
    case CardState::Corrupted: return "corrupted";
    }
    return "ok";
}

const MemoryConfig *PlayerConfig::memory(int32_t target) const
{
    if (target == mtInternal)
        return &internal;
    if (target == mtCard)
        return &card;
    return nullptr;
}

std::string PlayerConfig::memoryFolder(const MemoryConfig &memory) const
{
    if (memory.folder.empty())
        return playerFolder + "/" + memory.name;
    if (memory.folder[0] == '/')
        return memory.folder;
    return playerFolder + "/" + memory.folder;
}

std::string PlayerConfig::indexPath(const MemoryConfig &memory) const
{
    return playerFolder + "/" + memory.name + ".names";
}

bool PlayerConfig::usable(const MemoryConfig &memory) const
{
    return &memory != &card || cardState == CardState::Ok;
}

uint32_t PlayerConfig::statusBits() const
{
    uint32_t bits = writeProtected ? static_cast<uint32_t>(psWriteProtected) : 0u;
    switch (cardState) {
    case CardState::Ok: break;
    case CardState::None: bits |= psNoCard; break;
    case CardState::Wrong: bits |= psWrongCard; break;
    case CardState::Corrupted: bits |= psCorruptedCard; break;
    }
    return bits;
}

std::string playerFolder()
{
    const std::string explicitFolder = envValue("NEROLINK_PLAYER");
    if (!explicitFolder.empty())
        return explicitFolder;
    std::string data = envValue("XDG_DATA_HOME");
    if (data.empty() || data[0] != '/')
        data = homeFolder() + "/.local/share";
    return data + "/nerolink/player";
}

PlayerConfig defaultPlayer(const std::string &folder)
{
    PlayerConfig config;
    config.playerFolder = folder;
    config.internal = {"Internal", "internal", {}, false, kDefaultInternalBytes, false, {}, false, {}};
    config.card = {"Card", "card", {}, false, kDefaultCardBytes, false, {}, false, {}};
    return config;
}

std::optional<PlayerConfig> loadPlayer(const std::string &folder)
{
    IniFile ini;
    if (!ini.load(folder + "/" + kIniName))
        return std::nullopt;
    PlayerConfig config = defaultPlayer(folder);
    config.attached = parseBool(ini.value("Player", "Attached"), true);
    config.version = ini.value("Player", "Version", kDefaultVersion);
    config.writeProtected = parseBool(ini.value("Player", "WriteProtected"), false);
    config.cardState = parseCardState(ini.value("Player", "Card")).value_or(CardState::Ok);
    config.delayMs = static_cast<int>(
        std::min<uint64_t>(parseBytes(ini.value("Faults", "DelayMs"), 0), kMaxDelayMs));
    config.rateBytesPerSecond = std::min<uint64_t>(parseBytes(ini.value("Faults", "RateBytesPerSecond"), 0),
                                                   kMaxRateBytesPerSecond);
    readMemory(ini, config.internal);
    readMemory(ini, config.card);
    const std::string failing = ini.value("Faults", "FailRefresh", "none");
    config.internal.failRefresh = strcasecmp(failing.c_str(), "internal") == 0
        || strcasecmp(failing.c_str(), "both") == 0;
    config.card.failRefresh = strcasecmp(failing.c_str(), "card") == 0
        || strcasecmp(failing.c_str(), "both") == 0;
    return config;
}

bool savePlayer(const PlayerConfig &config)
{
    IniFile ini;
    ini.setValue("Player", "Attached", config.attached ? "yes" : "no");
    ini.setValue("Player", "Version", config.version);
    ini.setValue("Player", "WriteProtected", config.writeProtected ? "yes" : "no");
    ini.setValue("Player", "Card", cardStateName(config.cardState));
    writeMemory(ini, config.internal);
    writeMemory(ini, config.card);
    ini.setValue("Faults", "DelayMs", std::to_string(config.delayMs));
    ini.setValue("Faults", "RateBytesPerSecond", std::to_string(config.rateBytesPerSecond));
    ini.setValue("Faults", "FailRefresh",
                 failRefreshText(config.internal.failRefresh, config.card.failRefresh));
    return ini.save(config.playerFolder + "/" + kIniName);
}

bool setPlayerValue(const std::string &folder, const std::string &section,
                    const std::string &key, const std::string &value)
{
    return setPlayerValues(folder, {{section, key, value}});
}

bool setPlayerValues(const std::string &folder, const std::vector<PlayerValue> &values)
{
    IniFile ini;
    const std::string path = folder + "/" + kIniName;
    if (!ini.load(path))
        return false;
    for (const PlayerValue &v : values)
        ini.setValue(v.section, v.key, v.value);
    return ini.save(path);
}

} // namespace nerolink
