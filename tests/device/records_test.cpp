// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "device/records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

template <typename Record>
std::unique_ptr<Record> fromBytes(const std::vector<unsigned char> &bytes)
{
    auto record = std::make_unique<Record>();
    std::memcpy(record.get(), bytes.data(), sizeof(Record));
    return record;
}

void putBytes(std::vector<unsigned char> &bytes, std::size_t at, const std::string &text)
{
    std::memcpy(bytes.data() + at, text.data(), text.size());
}

void putLe32(std::vector<unsigned char> &bytes, std::size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

} // namespace

TEST(RecordLayout, MemoryInfoReadsEveryFieldAtItsOffset)
{
    std::vector<unsigned char> bytes(63256, 0xEE); // unread bytes hold garbage
    putLe32(bytes, 4, 2);
    putLe32(bytes, 8, 0x80000001u);
    putLe32(bytes, 12, 0x01020304u);
    for (std::size_t file = 0; file < 2; ++file) {
        const std::size_t base = 16 + file * 248;
        putBytes(bytes, base, file ? std::string("Second song.mp3") + '\0' : std::string(195, 'L'));
        putBytes(bytes, base + 211, file ? std::string("SECOND~1.MP3") + '\0' : std::string(16, 'S'));
        putLe32(bytes, base + 228, file ? 0xFFFFFFFFu : 1234u);
        bytes[base + 232] = 0x00;
        bytes[base + 233] = file ? 0x01 : 0x00; // 256: non-zero only in the high byte
    }
    const auto info = fromBytes<TMemoryInfo>(bytes);
    EXPECT_EQ(info->FileCount, 2u);
    EXPECT_EQ(info->TotalBytes, 0x80000001u);
    EXPECT_EQ(info->FreeBytes, 0x01020304u);
    EXPECT_EQ(fieldText(info->Files[0].LongName), std::string(195, 'L'));
    EXPECT_EQ(fieldText(info->Files[0].ShortName), std::string(16, 'S'));
    EXPECT_EQ(info->Files[0].Size, 1234u);
    EXPECT_EQ(info->Files[0].HasLongName, 0);
    EXPECT_EQ(displayName(info->Files[0]), std::string(16, 'S'));
    EXPECT_EQ(fieldText(info->Files[1].ShortName), "SECOND~1.MP3");
    EXPECT_EQ(info->Files[1].Size, 0xFFFFFFFFu);
    EXPECT_EQ(info->Files[1].HasLongName, 256);
    EXPECT_EQ(displayName(info->Files[1]), "Second song.mp3");
}

TEST(RecordLayout, LastFileEntryEndsTheRecord)
{
    std::vector<unsigned char> bytes(63256, 0);
    const std::size_t last = 16 + 254 * 248;
    putBytes(bytes, last + 211, std::string("LAST.VOC"));
    putLe32(bytes, last + 228, 77);
    const auto info = fromBytes<TMemoryInfo>(bytes);
    EXPECT_EQ(fieldText(info->Files[254].ShortName), "LAST.VOC");
    EXPECT_EQ(info->Files[254].Size, 77u);
    EXPECT_EQ(last + 248, sizeof(TMemoryInfo));
}

TEST(RecordLayout, WrittenEntryPutsBytesWhereTheManagerReadsThem)
{
    TFileEntry entry;
    std::memset(&entry, 0, sizeof entry);
    setFieldText(entry.LongName, "Long name.txt");
    setFieldText(entry.ShortName, "LONGNA~1.TXT");
    entry.Size = 0x11223344u;
    entry.HasLongName = 0xA1B2;
    unsigned char raw[248];
    std::memcpy(raw, &entry, sizeof raw);
    EXPECT_EQ(std::memcmp(raw, "Long name.txt\0", 14), 0);
    EXPECT_EQ(std::memcmp(raw + 211, "LONGNA~1.TXT\0", 13), 0);
    const unsigned char size[] = {0x44, 0x33, 0x22, 0x11, 0xB2, 0xA1};
    EXPECT_EQ(std::memcmp(raw + 228, size, sizeof size), 0);
    for (std::size_t at : {195u, 210u, 227u, 234u, 247u})
        EXPECT_EQ(raw[at], 0) << "byte " << at;
}

TEST(RecordLayout, VersionTextIsTheLastThirteenBytes)
{
    std::vector<unsigned char> bytes(32, 'x');
    putBytes(bytes, 19, "ABCDEFGHIJKLM");
    const auto version = fromBytes<TPlayerVersion>(bytes);
    EXPECT_EQ(versionText(*version), "ABCDEFGHIJKLM");
}

TEST(RecordText, FieldTextStopsAtTheFirstNulOrTheFieldEnd)
{
    const char withNul[8] = {'a', 'b', '\0', 'c', 'd', 'e', 'f', 'g'};
    EXPECT_EQ(fieldText(withNul), "ab");
    const char full[4] = {'w', 'x', 'y', 'z'};
    EXPECT_EQ(fieldText(full), "wxyz");
    const char empty[4] = {};
    EXPECT_EQ(fieldText(empty), "");
}

TEST(RecordText, DisplayNameFollowsTheLongNameFlagOnly)
{
    TFileEntry entry;
    std::memset(&entry, 0, sizeof entry);
    setFieldText(entry.LongName, "Meeting notes.txt");
    setFieldText(entry.ShortName, "MEETIN~1.TXT");
    entry.HasLongName = 0;
    EXPECT_EQ(displayName(entry), "MEETIN~1.TXT");
    entry.HasLongName = 1;
    EXPECT_EQ(displayName(entry), "Meeting notes.txt");
    std::memset(entry.LongName, 'n', sizeof entry.LongName); // no NUL at all
    EXPECT_EQ(displayName(entry), std::string(195, 'n'));
}

TEST(RecordText, VersionTextIsTrimmedAndCutAtNul)
{
    const auto version = [](const std::string &bytes) {
        TPlayerVersion record;
        std::memset(&record, 'Z', sizeof record);
        std::memcpy(record.VersionText, bytes.data(), 13);
        return versionText(record);
    };
    EXPECT_EQ(version(std::string("  TOVIX 2.1  ", 13)), "TOVIX 2.1");
    EXPECT_EQ(version(std::string("\t\r\nTOVIX\x01\x7f\0\0\0\0\0", 13)), "TOVIX");
    EXPECT_EQ(version(std::string("AB\0CDEFGHIJKL", 13)), "AB");
    EXPECT_EQ(version(std::string(" A B\0 junk   ", 13)), "A B");
    EXPECT_EQ(version(std::string("             ", 13)), "");
}

TEST(RecordText, SetFieldTextTerminatesAndPadsWhenThereIsRoom)
{
    char field[8];
    std::memset(field, 'q', sizeof field);
    setFieldText(field, "abc");
    EXPECT_EQ(std::memcmp(field, "abc\0\0\0\0\0", 8), 0);
    setFieldText(field, "12345678"); // exactly full: no room for a NUL, nothing cut
    EXPECT_EQ(std::memcmp(field, "12345678", 8), 0);
    EXPECT_EQ(fieldText(field), "12345678");
    setFieldText(field, "123456789");
    EXPECT_EQ(fieldText(field), "12345678");
}

TEST(RecordText, SetFieldTextNeverSplitsAUtf8Character)
{
    char field[4];
    setFieldText(field, "abc\xC3\xA9");       // "abcé": é would need bytes 3 and 4
    EXPECT_EQ(fieldText(field), "abc");
    setFieldText(field, "a\xE2\x80\x93xyz");  // "a–xyz": the dash fits whole
    EXPECT_EQ(fieldText(field), "a\xE2\x80\x93");
    setFieldText(field, "ab\xE2\x80\x93");    // the dash would be cut after one byte
    EXPECT_EQ(fieldText(field), "ab");
    setFieldText(field, "\xF0\x9F\x8E\xB5!"); // a four-byte note fills the field
    EXPECT_EQ(fieldText(field), "\xF0\x9F\x8E\xB5");
}
