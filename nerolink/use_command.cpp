// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "use_command.h"

#include "mount_table.h"
#include "player_config.h"
#include "volume_labels.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace nerolink {

namespace {

struct Choice {
    std::string folder;
    std::string label;
    bool mountPoint = false;
    std::string volumeId; // the drive's own id, so no other drive passes for it
};

bool takeValue(const std::vector<std::string> &args, std::size_t &i, std::string &value,
               std::string &problem)
{
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        problem = args[i] + " needs a value";
        return false;
    }
    if (!value.empty()) {
        problem = args[i] + " is given twice";
        return false;
    }
    value = args[++i];
    return true;
}

// A label that player.ini can keep as it is.
bool keepableLabel(const std::string &label)
{
    return label.find_first_of("\r\n") == std::string::npos && label.front() != ' '
        && label.back() != ' ' && label.front() != '\t' && label.back() != '\t';
}

bool chooseFolder(const std::string &given, const MountTable &table, Choice &choice,
                  std::ostream &err)
{
    char resolved[PATH_MAX];
    struct stat st;
    if (!::realpath(given.c_str(), resolved) || ::stat(resolved, &st) != 0 || !S_ISDIR(st.st_mode)) {
        err << "tovix-player: " << given << " is not a folder\n";
        return false;
    }
    choice.folder = resolved;
    choice.mountPoint = isMountPoint(table, choice.folder);
    const MountEntry *mount = mountHolding(table, choice.folder);
    if (choice.mountPoint && mount && mount->mountPoint == choice.folder)
        choice.volumeId = VolumeLabels().idOf(*mount);
    return true;
}

bool chooseLabel(const std::string &label, const MountTable &table, Choice &choice,
                 const char *memory, std::ostream &out, std::ostream &err)
{
    const std::vector<LabelledDrive> drives = drivesLabelled(table, label);
    if (drives.size() > 1) {
        err << "tovix-player: " << drives.size() << " mounted drives are labelled \"" << label
            << "\", so the label does not say which one is the " << memory << ":\n";
        for (const LabelledDrive &drive : drives)
            err << "  " << drive.mount.source << " on " << drive.mount.mountPoint << "\n";
        err << "Unmount all but one, or name the folder with \"tovix-player use DIR\".\n";
        return false;
    }
    if (drives.empty())
        out << "No drive labelled \"" << label << "\" is mounted now; the " << memory
            << " is missing until one is.\n";
    else
        choice.volumeId = drives.front().id;
    if (drives.size() == 1 && choice.volumeId.empty())
        out << "The file-system id of " << drives.front().mount.source << " cannot be read here; it is "
            << "kept once it can, and until then any one drive labelled \"" << label << "\" is the "
            << memory << ".\n";
    choice.label = label;
    return true;
}

std::string describe(const Choice &choice)
{
    const std::string id = choice.volumeId.empty() ? "" : " (UUID " + choice.volumeId + ")";
    if (!choice.label.empty())
        return "the drive labelled \"" + choice.label + "\"" + id;
    if (choice.folder.empty())
        return "the player's own folder";
    return choice.folder + (choice.mountPoint ? " (a mount point: there while mounted)" : "") + id;
}

void addValues(std::vector<PlayerValue> &values, const char *section, const Choice &choice)
{
    values.push_back({section, "Folder", choice.folder});
    values.push_back({section, "Label", choice.label});
    values.push_back({section, "MountPoint", choice.mountPoint ? "yes" : "no"});
    values.push_back({section, "Uuid", choice.volumeId});
}

} // namespace

bool parseUseOptions(const std::vector<std::string> &args, UseOptions &options,
                     std::string &problem)
{
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        bool ok = true;
        if (arg == "--none")
            options.none = true;
        else if (arg == "--label")
            ok = takeValue(args, i, options.internalLabel, problem);
        else if (arg == "--card")
            ok = takeValue(args, i, options.cardFolder, problem);
        else if (arg == "--card-label")
            ok = takeValue(args, i, options.cardLabel, problem);
        else if (arg.rfind("--", 0) == 0 || arg.empty())
            ok = (problem = "unknown option " + arg, false);
        else if (!options.internalFolder.empty())
            ok = (problem = "one folder for the internal memory, and --card DIR for the card", false);
        else
            options.internalFolder = arg;
        if (!ok)
            return false;
    }
    const bool internal = !options.internalFolder.empty() || !options.internalLabel.empty();
    const bool card = !options.cardFolder.empty() || !options.cardLabel.empty();
    if (options.none ? internal || card : !internal) {
        problem = options.none ? "--none stands alone" : "use needs a folder, --label or --none";
        return false;
    }
    if ((!options.internalFolder.empty() && !options.internalLabel.empty())
        || (!options.cardFolder.empty() && !options.cardLabel.empty())) {
        problem = "a memory is either a folder or a label";
        return false;
    }
    for (const std::string *label : {&options.internalLabel, &options.cardLabel}) {
        if (!label->empty() && !keepableLabel(*label)) {
            problem = "a label cannot hold a line break or begin or end with a blank";
            return false;
        }
    }
    return true;
}

int useMemories(const std::string &folder, const UseOptions &options, std::ostream &out,
                std::ostream &err)
{
    if (!loadPlayer(folder)) {
        err << "tovix-player: no player in " << folder << "; create one with \"tovix-player init\"\n";
        return 1;
    }
    const MountTable table = readMountTable();
    Choice internal, card;
    if (!options.internalFolder.empty() && !chooseFolder(options.internalFolder, table, internal, err))
        return 1;
    if (!options.internalLabel.empty()
        && !chooseLabel(options.internalLabel, table, internal, "internal memory", out, err))
        return 1;
    if (!options.cardFolder.empty() && !chooseFolder(options.cardFolder, table, card, err))
        return 1;
    if (!options.cardLabel.empty()
        && !chooseLabel(options.cardLabel, table, card, "memory card", out, err))
        return 1;

    std::vector<PlayerValue> values;
    addValues(values, "Internal", internal);
    addValues(values, "Card", card);
    if (!setPlayerValues(folder, values)) {
        err << "tovix-player: cannot write " << folder << "/" << kIniName << "\n";
        return 1;
    }
    out << "Internal memory: " << describe(internal) << "\n"
        << "Memory card: " << describe(card) << "\n";
    return 0;
}

} // namespace nerolink
