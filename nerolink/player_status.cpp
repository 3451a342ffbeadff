#include "player_status.h"

#include "device/nerolink.h"
#include "device/records.h"
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

void printMemory(const char *title, const PlayerConfig &config, int32_t target, std::ostream &out)
{
    const MemoryConfig &memory = *config.memory(target);
    out << "\n" << title << ": " << config.memoryFolder(memory)
        << (memory.spaceFromFileSystem ? " (space from its file system)" : "") << "\n";
    if (!config.usable(memory)) {
        out << "  not readable: the card is " << cardStateName(config.cardState) << "\n";
        return;
    }
    auto info = std::make_unique<TMemoryInfo>();
    if (dll_fn_refresh_device(info.get(), target) == 0) {
        out << "  refresh failed\n";
        return;
    }
    out << "  " << info->FileCount << " file(s), " << info->TotalBytes << " bytes, "
        << info->FreeBytes << " free\n";
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
        << "Refresh failure: " << failRefreshText(config->internal.failRefresh, config->card.failRefresh)
        << "\n";
    if (!attached) {
        out << "\nThe memories cannot be read while the player is detached.\n";
        return 0;
    }
    printMemory("Internal memory", *config, mtInternal, out);
    printMemory("Memory card", *config, mtCard, out);
    return 0;
}

} // namespace nerolink
