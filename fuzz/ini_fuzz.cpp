// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Reads and updates arbitrary bytes as an INI file and checks that an update
// changes the one key it names and nothing else a reader can see.
#include "platform/ini.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>

namespace {

constexpr std::array<const char *, 3> kSections{"Window", "explorer", "A"};
constexpr std::array<const char *, 3> kKeys{"Left", "directory", "x"};

std::string_view trimmedValue(std::string_view v)
{
    const auto first = v.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return v.substr(first, v.find_last_not_of(" \t") - first + 1);
}

bool sameName(std::string_view a, std::string_view b)
{
    a = trimmedValue(a);
    b = trimmedValue(b);
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i]))
            != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    const std::string section = fdp.ConsumeRandomLengthString(16);
    const std::string key = fdp.ConsumeRandomLengthString(16);
    const std::string value = fdp.ConsumeRandomLengthString(32);
    const std::string text = fdp.ConsumeRemainingBytesAsString();

    std::array<std::optional<std::string>, kSections.size() * kKeys.size()> before;
    for (size_t s = 0; s < kSections.size(); ++s)
        for (size_t k = 0; k < kKeys.size(); ++k) {
            before[s * kKeys.size() + k] = ini::findValue(text, kSections[s], kKeys[k]);
            if (before[s * kKeys.size() + k])
                (void)ini::parseInteger(*before[s * kKeys.size() + k]);
        }
    (void)ini::parseInteger(text);

    const auto updated = ini::setValue(text, section, key, value);
    if (!updated)
        return 0;
    check(ini::findValue(*updated, section, key) == std::string(trimmedValue(value)));
    for (size_t s = 0; s < kSections.size(); ++s)
        for (size_t k = 0; k < kKeys.size(); ++k) {
            const bool same = sameName(section, kSections[s]) && sameName(key, kKeys[k]);
            if (!same)
                check(ini::findValue(*updated, kSections[s], kKeys[k])
                      == before[s * kKeys.size() + k]);
        }
    return 0;
}
