// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Fills a file entry and a version record with arbitrary bytes and reads them as the
// window does; every text must stay inside its field, and writing it back must round-trip.
#include "device/records.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TFileEntry entry;
    TPlayerVersion version;
    std::memset(&entry, 0, sizeof entry);
    std::memset(&version, 0, sizeof version);
    std::memcpy(&entry, data, size < sizeof entry ? size : sizeof entry);
    if (size > sizeof entry)
        std::memcpy(&version, data + sizeof entry,
                    size - sizeof entry < sizeof version ? size - sizeof entry : sizeof version);

    const std::string name = displayName(entry);
    const std::size_t limit = entry.HasLongName ? sizeof entry.LongName : sizeof entry.ShortName;
    if (name.size() > limit || name.find('\0') != std::string::npos)
        std::abort();

    const std::string text = versionText(version);
    if (text.size() > sizeof version.VersionText)
        std::abort();

    char field[sizeof entry.ShortName];
    setFieldText(field, name);
    if (fieldText(field).size() > sizeof field || name.compare(0, fieldText(field).size(), fieldText(field)) != 0)
        std::abort();
    return 0;
}
