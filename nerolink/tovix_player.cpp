// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// tovix-player: makes and controls the stand-in player that libNerolink serves.
#include "player_commands.h"
#include "player_config.h"
#include "player_status.h"
#include "use_command.h"

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

using namespace nerolink;

namespace {

const char kUsage[] =
    "usage: tovix-player init [--demo] [--internal-bytes N] [--card-bytes N]\n"
    "       tovix-player attach | detach\n"
    "       tovix-player card ok|none|wrong|corrupted\n"
    "       tovix-player protect on|off\n"
    "       tovix-player delay MS\n"
    "       tovix-player rate BYTES_PER_SECOND\n"
    "       tovix-player fail-refresh internal|card|none\n"
    "       tovix-player use DIR [--card DIR | --card-label LABEL]\n"
    "       tovix-player use --label LABEL [--card DIR | --card-label LABEL]\n"
    "       tovix-player use --none\n"
    "       tovix-player status\n"
    "The player folder is $NEROLINK_PLAYER, else $XDG_DATA_HOME/nerolink/player\n"
    "(by default ~/.local/share/nerolink/player).\n";

int usage(const std::string &problem)
{
    if (!problem.empty())
        std::cerr << "tovix-player: " << problem << "\n";
    std::cerr << kUsage;
    return 2;
}

// A whole decimal number no larger than max.
bool parseCount(const std::string &text, uint64_t max, uint64_t &value)
{
    if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::stoull(text);
    return value <= max;
}

int init(const std::string &folder, const std::vector<std::string> &args)
{
    InitOptions options;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--demo") {
            options.demo = true;
            continue;
        }
        const bool internal = args[i] == "--internal-bytes";
        if (!internal && args[i] != "--card-bytes")
            return usage("unknown option " + args[i]);
        uint64_t bytes = 0;
        if (i + 1 >= args.size() || !parseCount(args[i + 1], UINT32_MAX, bytes) || bytes == 0)
            return usage(args[i] + " needs a byte count from 1 to 4294967295");
        (internal ? options.internalBytes : options.cardBytes) = bytes;
        ++i;
    }
    return initPlayer(folder, options, std::cout, std::cerr);
}

int choose(const std::string &folder, const std::vector<std::string> &args)
{
    const std::string &command = args[0];
    const std::string value = args.size() == 2 ? args[1] : "";
    const auto set = [&](const char *section, const char *key, const std::string &text,
                         const std::string &done) {
        return setSetting(folder, section, key, text, done, std::cout, std::cerr);
    };
    if (command == "card" && parseCardState(value))
        return set("Player", "Card", value, "Card is now " + value + ".");
    if (command == "protect" && (value == "on" || value == "off"))
        return set("Player", "WriteProtected", value == "on" ? "yes" : "no",
                   "Write protection is now " + value + ".");
    if (command == "fail-refresh" && (value == "internal" || value == "card" || value == "none"))
        return set("Faults", "FailRefresh", value, "Refresh failure: " + value + ".");
    uint64_t ms = 0;
    if (command == "delay" && parseCount(value, kMaxDelayMs, ms))
        return set("Faults", "DelayMs", std::to_string(ms), "Delay is now " + std::to_string(ms) + " ms.");
    uint64_t rate = 0;
    if (command == "rate" && parseCount(value, kMaxRateBytesPerSecond, rate))
        return set("Faults", "RateBytesPerSecond", std::to_string(rate),
                   rate == 0 ? std::string("Transfer rate is now unlimited.")
                             : "Transfer rate is now " + std::to_string(rate) + " bytes per second.");
    if (command == "rate")
        return usage("rate needs a whole number of bytes per second from 0 to "
                     + std::to_string(kMaxRateBytesPerSecond) + " (0 for no limit)");
    return usage("bad argument for " + command);
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty())
        return usage({});
    const std::string folder = playerFolder();
    const std::string &command = args[0];
    if (command == "-h" || command == "--help" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "init")
        return init(folder, args);
    if (command == "use") {
        UseOptions options;
        std::string problem;
        if (!parseUseOptions(args, options, problem))
            return usage(problem);
        return useMemories(folder, options, std::cout, std::cerr);
    }
    if ((command == "attach" || command == "detach" || command == "status") && args.size() == 1) {
        if (command == "status")
            return printStatus(folder, std::cout);
        const bool attach = command == "attach";
        return setSetting(folder, "Player", "Attached", attach ? "yes" : "no",
                          attach ? "Player attached." : "Player detached.", std::cout, std::cerr);
    }
    if ((command == "card" || command == "protect" || command == "delay" || command == "rate"
         || command == "fail-refresh")
        && args.size() == 2)
        return choose(folder, args);
    return usage(args.size() > 1 ? "bad arguments for " + command : "unknown command " + command);
}
