// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "attached_player.h"

#include "device/nerolink.h"

namespace nerolink {

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
    return std::make_unique<AttachedPlayer>(
        AttachedPlayer{config, std::move(internal), locateMemory(config, config.card, table)});
}

} // namespace nerolink
