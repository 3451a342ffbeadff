// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What becomes of a recording an import has uploaded, decided on the
// conversion's thread once its bytes are on the PC: one the import memory
// knows by its bytes goes again at once; another arrives as a wave file, under
// a free name when its wave file's name is taken by a different recording, and
// goes again when that wave file turns out to hold this very recording.
#pragma once

#include "voice/voice_conversion.h"

#include <cstdint>
#include <string>

class ImportMemory;

// One recording an import queued.
struct ImportTicket {
    int32_t memory = 0;     // mtInternal or mtCard
    std::string playerName; // the name the device library knows it by
    std::uint64_t size = 0; // bytes, as the player lists it
    std::string voicePath;  // where its upload puts it
};

struct ImportArrival {
    enum Kind { NotConverted, Arrived, AlreadyThere };
    Kind kind = NotConverted;
    std::string wavePath; // Arrived: the new wave file
};

// Converts the uploaded recording as the import wants it and remembers what
// it brought in. Messages reach ui as a conversion's do.
ConvertOutcome arriveImported(const ImportTicket &ticket, ImportMemory &memory,
                              VoiceConversionUi &ui, ImportArrival &arrival);
