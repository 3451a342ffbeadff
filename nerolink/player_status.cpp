// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "player_status.h"

#include "device/nerolink.h"
#include "device/records.h"
#include "memory_place.h"
#include "player_config.h"

#include <iomanip>
#include <memory>

namespace nerolink {

namespace {

std::string statusBitsText(uint32_t bits)
{
    std::string text;
    const auto add = [&](uint32_t bit, const char *name) {
        if (bits & bit)
            text += std::string(text.empty() ? "" : ", ") + name;
    };
    add(psNoCard, "no card");
    add(psCorruptedCard, "corrupted card");
    add(psWrongCard, "wrong card");
    add(psWriteProtected, "write protected");
    return std::to_string(bits) + (text.empty() ? "" : " (" + text + ")");
}

std::string givenAs(const MemoryConfig &memory)
{
    const std::string id = memory.volumeId.empty() ? "" : " (UUID " + memory.volumeId + ")";
    if (!memory.label.empty())
        return "the drive labelled \"" + memory.label + "\"" + id;
    if (memory.folder.empty())
        return "the player's own folder";
    return memory.mountPoint ? "a folder, a mount point when chosen" + id : "a folder";
}

std::string fileSystemText(const MountEntry &mount)
{
    return mount.fsType + " from " + mount.source + " on " + mount.mountPoint;
}

// Where the memory is, whether it is there, mounted and writable.
void printPlace(const MemoryConfig &memory, const MemoryPlace &place, std::ostream &out)
{
    out << "  Given as: " << givenAs(memory) << "\n";
    if (!place.present()) {
        out << "  Present: no (" << place.absence() << ")\n";
        return;
    }
    out << "  Present: yes\n";
    const bool known = !place.mount().mountPoint.empty();
    out << "  Mounted: " << (place.isMountPoint() ? "yes" : "no")
        << (known ? (place.isMountPoint() ? ", " : ", a folder in ") + fileSystemText(place.mount()) : "")
        << "\n";
    out << "  Writable: "
        << (place.writable() ? std::string("yes") : "no (" + place.writeProblem() + ")") << "\n";
}

void printFiles(const PlayerConfig &config, const MemoryConfig &memory, int32_t target,
                std::ostream &out)
{
    if (!config.usable(memory)) {
        out << "  not readable: the card is " << cardStateName(config.cardState) << "\n";
        return;
    }
    auto info = std::make_unique<TMemoryInfo>();
    if (dll_fn_refresh_device(info.get(), target) == 0) {
        out << "  refresh failed\n";
        return;
    }
    const uint32_t hidden = unlistedFileCount(*info);
    out << "  " << info->FileCount + hidden << " file(s)";
    if (hidden > 0)
        out << ", " << hidden << " hidden (a memory lists " << kMaxPlayerFiles
            << " at most: the newest are not listed, but a format erases them)";
    out << ", " << info->TotalBytes << " bytes, " << info->FreeBytes << " free"
        << (memory.spaceFromFileSystem ? " (space from its file system)" : "") << "\n";
    if (info->FileCount == 0)
        return;
    out << "  " << std::left << std::setw(14) << "SHORT NAME" << std::right << std::setw(11)
        << "SIZE" << "  LONG NAME\n";
    for (uint32_t i = 0; i < info->FileCount && i < kMaxPlayerFiles; ++i) {
        const TFileEntry &entry = info->Files[i];
        out << "  " << std::left << std::setw(14) << fieldText(entry.ShortName) << std::right
            << std::setw(11) << entry.Size << "  "
            << (entry.HasLongName ? fieldText(entry.LongName) : std::string("-")) << "\n";
    }
}

void printMemory(const char *title, const PlayerConfig &config, const MemoryConfig &memory,
                 const MemoryPlace &place, bool attached, std::ostream &out)
{
    const std::string where = !place.folder().empty() ? place.folder()
        : memory.label.empty()                        ? config.memoryFolder(memory)
                                                      : givenAs(memory);
    out << "\n" << title << ": " << where << "\n";
    printPlace(memory, place, out);
    if (attached && place.present())
        printFiles(config, memory, &memory == &config.card ? mtCard : mtInternal, out);
}

} // namespace

int printStatus(const std::string &folder, std::ostream &out)
{
    out << "Player folder: " << folder << "\n";
    const auto config = loadPlayer(folder);
    if (!config) {
        out << "No player here. Create one with \"tovix-player init\".\n";
        return 1;
    }
    TPlayerVersion version{};
    const bool attached = dll_fn_get_player_version(&version) != 0;
    out << "Attached: " << (attached ? "yes" : "no") << "\n";
    if (attached) {
        out << "Version: " << versionText(version) << "\n";
        out << "Status bits: " << statusBitsText(static_cast<uint32_t>(dll_fn_get_player_status())) << "\n";
    }
    out << "Card: " << cardStateName(config->cardState) << "\n"
        << "Write protection: " << (config->writeProtected ? "on" : "off") << "\n"
        << "Delay: " << config->delayMs << " ms\n"
        << "Transfer rate: "
        << (config->rateBytesPerSecond == 0 ? std::string("no limit")
                                             : std::to_string(config->rateBytesPerSecond) + " bytes per second")
        << "\n"
        << "Refresh failure: " << failRefreshText(config->internal.failRefresh, config->card.failRefresh)
        << "\n";
    if (!config->attached)
        out << "\nThe player is detached (Attached=no); its files cannot be read.\n";
    else if (!attached)
        out << "\nThe player reads as detached: its internal memory is not there.\n";
    const MountTable table = readMountTable();
    printMemory("Internal memory", *config, config->internal,
                locateMemory(*config, config->internal, table), attached, out);
    printMemory("Memory card", *config, config->card, locateMemory(*config, config->card, table),
                attached, out);
    return 0;
}

} // namespace nerolink
