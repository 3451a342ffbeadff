// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "attached_player.h"

#include "device/nerolink.h"

namespace nerolink {

namespace {

// A drive chosen before ids were kept takes the id of the drive it finds once
// that is unambiguous, so no look-alike can stand in for it afterwards.
void rememberDriveId(const PlayerConfig &config, const MemoryConfig &memory, const MemoryPlace &place)
{
    if ((memory.label.empty() && !memory.mountPoint) || !memory.volumeId.empty() || !place.present()
        || place.volumeId().empty())
        return;
    setPlayerValue(config.playerFolder, memory.section, "Uuid", place.volumeId());
}

} // namespace

uint32_t AttachedPlayer::statusBits() const
{
    uint32_t bits = config.statusBits();
    if (!card.present())
        bits = (bits & ~uint32_t(psWrongCard | psCorruptedCard)) | psNoCard;
    if (!internal.writable())
        bits |= psWriteProtected;
    return bits;
}

bool AttachedPlayer::writeProtected() const
{
    return (statusBits() & psWriteProtected) != 0;
}

const MemoryPlace *AttachedPlayer::place(int32_t target) const
{
    if (target == mtInternal)
        return &internal;
    if (target == mtCard)
        return &card;
    return nullptr;
}

bool AttachedPlayer::usable(const MemoryConfig &memory) const
{
    const MemoryPlace &where = &memory == &config.card ? card : internal;
    return where.present() && config.usable(memory);
}

std::unique_ptr<AttachedPlayer> attachPlayer(const PlayerConfig &config)
{
    if (!config.attached)
        return nullptr;
    const MountTable table = readMountTable();
    MemoryPlace internal = locateMemory(config, config.internal, table);
    if (!internal.present())
        return nullptr;
    MemoryPlace card = locateMemory(config, config.card, table);
    rememberDriveId(config, config.internal, internal);
    rememberDriveId(config, config.card, card);
    return std::make_unique<AttachedPlayer>(AttachedPlayer{config, std::move(internal), std::move(card)});
}

} // namespace nerolink
