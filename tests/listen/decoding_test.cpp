// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Decoding for listening and the speed change, against a recorded 1 kHz tone.
#include "listen/loudness_overview.h"
#include "listen/playback_decoder.h"
#include "listen/tempo_stretcher.h"
#include "private_pulse.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <string>

namespace {

const std::string kTone = std::string(TOVIX_TEST_DATA) + "/tone_1k_mode1.VOC";
constexpr std::int64_t kToneFrames = 86; // voice frames of 72 bytes

std::vector<std::int16_t> decodeAll(PlaybackDecoder &d)
{
    std::vector<std::int16_t> out;
    std::int16_t buf[1000 * 2];
    while (std::size_t got = d.read(buf, 1000))
        out.insert(out.end(), buf, buf + got * std::size_t(d.channels()));
    return out;
}

QByteArray readFile(const std::string &path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string writeFile(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path.toStdString();
}

QByteArray waveFile(int channels, int bits, const QByteArray &data, quint32 declaredData)
{
    QByteArray h("RIFF....WAVEfmt ", 16);
    const auto le = [&](quint32 v, int n) {
        for (int i = 0; i < n; ++i)
            h.append(char(v >> (8 * i)));
    };
    le(16, 4);
    le(1, 2);
    le(quint32(channels), 2);
    le(8000, 4);
    le(8000u * quint32(channels * bits / 8), 4);
    le(quint32(channels * bits / 8), 2);
    le(quint32(bits), 2);
    h.append("data");
    le(declaredData, 4);
    return h + data;
}

} // namespace

TEST(PlaybackDecoding, AVoiceRecordingDecodesToItsToneAtItsRate)
{
    PlaybackDecoder d;
    ASSERT_TRUE(d.open(kTone)) << d.error();
    EXPECT_EQ(d.sampleRate(), 16000);
    EXPECT_EQ(d.channels(), 1);
    EXPECT_EQ(d.length(), kToneFrames * 576);
    const std::vector<std::int16_t> pcm = decodeAll(d);
    EXPECT_EQ(std::int64_t(pcm.size()), kToneFrames * 576);
    const ToneMeasure m = measureTone(pcm, 16000);
    EXPECT_NEAR(m.hertz, 1000, 5);
    EXPECT_NEAR(m.seconds, 3.0, 0.06);
}

// After a seek the decoder is primed with the frames before, so what it
// gives is what an unbroken decode gives from the same frame.
TEST(PlaybackDecoding, ASeekLandsOnTheFrameThatHoldsThePlaceAndDecodesAsInOneGo)
{
    PlaybackDecoder whole;
    ASSERT_TRUE(whole.open(kTone));
    const std::vector<std::int16_t> all = decodeAll(whole);

    PlaybackDecoder d;
    ASSERT_TRUE(d.open(kTone));
    for (std::int64_t asked : {std::int64_t(0), std::int64_t(30 * 576 + 300), std::int64_t(85 * 576 + 575), std::int64_t(12345)}) {
        d.seek(asked);
        EXPECT_LE(d.position(), asked);
        EXPECT_GT(d.position(), asked - 576);
        EXPECT_EQ(d.position(), asked) << "within its frame";
        std::int16_t buf[576];
        const std::size_t wanted = std::size_t(std::min<std::int64_t>(576, kToneFrames * 576 - asked));
        ASSERT_EQ(d.read(buf, 576), wanted);
        int worst = 0;
        for (std::size_t i = 0; i < wanted; ++i)
            worst = std::max(worst, std::abs(buf[i] - all[std::size_t(asked) + i]));
        EXPECT_LE(worst, 2) << "at " << asked;
    }
    d.seek(kToneFrames * 576 * 10);
    std::int16_t buf[16];
    EXPECT_EQ(d.read(buf, 16), 0u);
}

// Damaged bytes in the middle sound as silence of their length and the rest
// plays, each lost frame counted once; a torn last frame is left out.
TEST(PlaybackDecoding, ADamagedRecordingPlaysPastItsDamageAndACutOneUpToItsEnd)
{
    QTemporaryDir dir;
    QByteArray bytes = readFile(kTone);
    bytes.replace(40 * 72 + 1, 200, QByteArray(200, '\x5a')); // headers of frames 40 to 42
    PlaybackDecoder d;
    ASSERT_TRUE(d.open(writeFile(dir, "damaged.voc", bytes)));
    EXPECT_EQ(d.length(), kToneFrames * 576);
    const std::vector<std::int16_t> pcm = decodeAll(d);
    ASSERT_EQ(std::int64_t(pcm.size()), kToneFrames * 576);
    EXPECT_EQ(d.lostFrames(), 3 * 576);
    EXPECT_FALSE(d.cutShort());
    const std::vector<std::int16_t> after(pcm.begin() + 45 * 576, pcm.end());
    const ToneMeasure rest = measureTone(after, 16000);
    EXPECT_NEAR(rest.hertz, 1000, 5);
    EXPECT_NEAR(rest.seconds, 41 * 576 / 16000.0, 0.06);
    d.seek(30 * 576);
    decodeAll(d);
    EXPECT_EQ(d.lostFrames(), 3 * 576);

    const QByteArray cut = readFile(kTone).left(20 * 72 + 30);
    ASSERT_TRUE(d.open(writeFile(dir, "cut.VOC", cut)));
    EXPECT_EQ(d.length(), 20 * 576);
    EXPECT_EQ(decodeAll(d).size(), std::size_t(20 * 576));
    EXPECT_FALSE(d.cutShort());
}

// Bytes put in or lost in the middle move every frame after them: the
// frames are found again past the damage, the rest plays to its end and is
// overviewed, and only the damaged stretch counts as lost.
TEST(PlaybackDecoding, ARecordingWithBytesInsertedOrRemovedPlaysOnPastTheDamage)
{
    QTemporaryDir dir;
    const QByteArray tone = readFile(kTone);
    const std::string inserted = writeFile(dir, "inserted.voc", QByteArray(tone).insert(40 * 72 + 20, QByteArray(333, '\x5a')));
    const std::string removed = writeFile(dir, "removed.VOC", QByteArray(tone).remove(40 * 72 + 20, 100));
    for (const std::string &path : {inserted, removed}) {
        PlaybackDecoder d;
        ASSERT_TRUE(d.open(path)) << path;
        const std::vector<std::int16_t> pcm = decodeAll(d);
        EXPECT_EQ(std::int64_t(pcm.size()), d.length()) << path;
        EXPECT_NEAR(double(pcm.size()), double(kToneFrames * 576), 6 * 576) << path;
        EXPECT_GT(d.lostFrames(), 0) << path;
        EXPECT_LE(d.lostFrames(), 6 * 576) << path;
        EXPECT_FALSE(d.cutShort());
        const ToneMeasure rest = measureTone(std::vector<std::int16_t>(pcm.end() - 40 * 576, pcm.end()), 16000);
        EXPECT_NEAR(rest.hertz, 1000, 5) << path;
        EXPECT_NEAR(rest.seconds, 40 * 576 / 16000.0, 0.06) << path;
        d.seek(d.length() - 20 * 576 - 100);
        std::int16_t buf[576];
        ASSERT_EQ(d.read(buf, 576), 576u);
        EXPECT_TRUE(std::equal(buf, buf + 576, pcm.end() - 20 * 576 - 100, pcm.end() - 19 * 576 - 100,
                               [](int x, int y) { return std::abs(x - y) <= 2; })) << path;

        std::int64_t lostMs = 0;
        const std::atomic<bool> cancel(false);
        const std::vector<float> peaks = scanLoudness(path, 100, cancel, &lostMs);
        ASSERT_EQ(peaks.size(), 100u);
        EXPECT_NEAR(peaks[97], 0.5f, 0.05f) << path;
        EXPECT_EQ(lostMs, d.lostFrames() * 1000 / 16000) << path;
    }
}

TEST(PlaybackDecoding, WaveFilesOf16BitPcmPlayAndOthersAreRefusedWithAReason)
{
    QTemporaryDir dir;
    QByteArray stereo;
    for (int i = 0; i < 800; ++i)
        stereo.append(QByteArray::fromRawData(reinterpret_cast<const char *>(&i), 2)).append("\x00\x10", 2);
    PlaybackDecoder d;
    // The header claims more than the file holds: what it holds plays.
    ASSERT_TRUE(d.open(writeFile(dir, "stereo.WAV", waveFile(2, 16, stereo, 1000000)))) << d.error();
    EXPECT_EQ(d.channels(), 2);
    EXPECT_EQ(d.sampleRate(), 8000);
    const std::vector<std::int16_t> pcm = decodeAll(d);
    ASSERT_EQ(pcm.size(), 1600u);
    EXPECT_EQ(pcm[2 * 799], 799);
    EXPECT_EQ(pcm[2 * 799 + 1], 0x1000);
    d.seek(400);
    std::int16_t two[2];
    ASSERT_EQ(d.read(two, 1), 1u);
    EXPECT_EQ(two[0], 400);

    EXPECT_FALSE(d.open(writeFile(dir, "eight.wav", waveFile(1, 8, QByteArray(100, 'x'), 100))));
    EXPECT_EQ(d.error(), "it is not a PCM wave file with 16-bit samples");
    EXPECT_FALSE(d.open(writeFile(dir, "empty.wav", waveFile(1, 16, {}, 0))));
    EXPECT_EQ(d.error(), "it holds no sound");
    EXPECT_FALSE(d.open(writeFile(dir, "text.voc", QByteArray("hello, not a recording"))));
    EXPECT_EQ(d.error(), "it is not a voice recording");
    EXPECT_FALSE(d.open(writeFile(dir, "notes.txt", QByteArray("x"))));
    EXPECT_FALSE(d.open(dir.filePath(QStringLiteral("missing.mp3")).toStdString()));
    EXPECT_EQ(d.error(), "the file can not be opened");
}

TEST(PlaybackDecoding, Mp3FilesPlayAtTheirRateAndSeekToTheSample)
{
    PlaybackDecoder d;
    ASSERT_TRUE(d.open(std::string(TOVIX_TEST_DATA) + "/mpeg2_stereo.mp3")) << d.error();
    EXPECT_EQ(d.sampleRate(), 16000);
    EXPECT_EQ(d.channels(), 2);
    const std::int64_t length = d.length();
    EXPECT_NEAR(double(length) / 16000, 3.0, 0.1);
    EXPECT_EQ(std::int64_t(decodeAll(d).size()), length * 2);
    d.seek(length / 2);
    EXPECT_EQ(d.position(), length / 2);
}

// The speed changes, the pitch stays: a 1 kHz tone comes out at 1 kHz and
// lasts its length divided by the speed.
TEST(TempoChange, AToneKeepsItsPitchAndScalesItsLength)
{
    PlaybackDecoder d;
    ASSERT_TRUE(d.open(kTone));
    const std::vector<std::int16_t> tone = decodeAll(d);
    const ToneMeasure original = measureTone(tone, 16000);
    for (double speed : {0.5, 1.0, 1.5, 2.0}) {
        TempoStretcher t;
        t.configure(16000, 1);
        t.setTempo(speed);
        t.put(tone.data(), tone.size());
        t.flush();
        std::vector<std::int16_t> out(tone.size() * 3);
        const std::size_t got = t.take(out.data(), out.size());
        out.resize(got);
        const ToneMeasure m = measureTone(out, 16000);
        EXPECT_NEAR(m.hertz, 1000, 20) << speed;
        EXPECT_NEAR(m.seconds, original.seconds / speed, 0.02 * original.seconds / speed) << speed;
    }
}

// A copy still arriving: each kind of file is as long as its whole from the
// start, a read at what has arrived waits rather than ending, and once the
// rest is there it decodes exactly as the whole file does.
TEST(PlaybackDecoding, AFileStillArrivingWaitsAtItsEndAndThenDecodesAsTheWholeFile)
{
    QTemporaryDir dir;
    const std::pair<std::string, QByteArray> files[] = {
        {"tone.VOC", readFile(kTone)},
        {"clip.mp3", readFile(std::string(TOVIX_TEST_DATA) + "/mpeg2_stereo.mp3")},
        {"memo.wav", waveFile(1, 16, QByteArray(16000 * 3, '\x11'), 16000 * 3)},
    };
    for (const auto &[name, bytes] : files) {
        SCOPED_TRACE(name);
        PlaybackDecoder whole;
        ASSERT_TRUE(whole.open(writeFile(dir, name.c_str(), bytes)));
        const std::vector<std::int16_t> expected = decodeAll(whole);

        const std::string part = writeFile(dir, (name + ".part").c_str(), bytes.left(bytes.size() / 3));
        PlaybackDecoder growing;
        ASSERT_TRUE(growing.open(part, bytes.size())) << growing.error();
        EXPECT_TRUE(growing.growing());
        EXPECT_NEAR(double(growing.length()), double(whole.length()), whole.length() * 0.02);
        EXPECT_LT(growing.arrivedFrames(), growing.length() / 2);
        std::vector<std::int16_t> got = decodeAll(growing);
        EXPECT_TRUE(growing.waiting());
        EXPECT_FALSE(growing.cutShort());
        EXPECT_LT(got.size(), expected.size() / 2);

        QFile f(QString::fromStdString(part));
        ASSERT_TRUE(f.open(QIODevice::Append) && f.write(bytes.mid(bytes.size() / 3)) > 0 && f.flush());
        growing.settle(true);
        const std::vector<std::int16_t> rest = decodeAll(growing);
        got.insert(got.end(), rest.begin(), rest.end());
        EXPECT_FALSE(growing.waiting());
        EXPECT_EQ(growing.position(), growing.length());
        EXPECT_TRUE(got == expected) << got.size() << " of " << expected.size();
    }
}
