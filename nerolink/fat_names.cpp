// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: LGPL-2.1-or-later

#include "fat_names.h"

#include <cstring>
#include <cwctype>
#include <locale.h>
#include <optional>

namespace nerolink {

namespace {

constexpr std::size_t kMaxUtf16Units = 255;

// The code points of UTF-8 text; nullopt for anything that is not valid UTF-8.
std::optional<std::u32string> decodeUtf8(const std::string &text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2
                                        : (lead >> 3) == 0x1E ? 3 : -1;
        if (extra < 0 || i + static_cast<std::size_t>(extra) >= text.size())
            return std::nullopt;
        char32_t point = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            point = (point << 6) | (next & 0x3F);
        }
        static const char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (point < least[extra] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF))
            return std::nullopt;
        out += point;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

// Upper case as Unicode has it, whatever the program's own locale.
char32_t upper(char32_t c)
{
    static const locale_t unicode = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
    return unicode ? static_cast<char32_t>(::towupper_l(static_cast<wint_t>(c), unicode)) : c;
}

} // namespace

bool isFatName(const std::string &name)
{
    const auto points = decodeUtf8(name);
    if (!points || points->empty() || name.back() == '.' || name.back() == ' ')
        return false;
    std::size_t units = 0;
    for (char32_t c : *points) {
        if (c < 0x20 || c == 0x7F || (c < 0x80 && std::strchr("\"*/:<>?\\|", static_cast<int>(c))))
            return false;
        units += c >= 0x10000 ? 2 : 1;
    }
    return units <= kMaxUtf16Units;
}

std::u32string fatComparisonKey(const std::string &name)
{
    auto points = decodeUtf8(name);
    if (!points)
        return std::u32string(name.begin(), name.end());
    for (char32_t &c : *points)
        c = upper(c);
    return *points;
}

} // namespace nerolink
