// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Samples beyond full scale come out at the rails, never wrapped round.
#include "halvex.h"
#include "voice_streams.h"

#include <gtest/gtest.h>
#include <mpg123.h>

#include <cmath>

using namespace halvex_test;

namespace {

// The same stream decoded by libmpg123 to floating point, where nothing is clipped yet.
std::vector<float> unclippedDecoding(const Bytes &stream, long rate)
{
    std::vector<float> samples;
    mpg123_handle *handle = mpg123_new(nullptr, nullptr);
    if (!handle)
        return samples;
    mpg123_param(handle, MPG123_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(handle);
    mpg123_format(handle, rate, MPG123_MONO, MPG123_ENC_FLOAT_32);
    if (mpg123_open_feed(handle) == MPG123_OK && mpg123_feed(handle, stream.data(), stream.size()) == MPG123_OK) {
        for (;;) {
            off_t frame = 0;
            unsigned char *audio = nullptr;
            size_t bytes = 0;
            const int result = mpg123_decode_frame(handle, &frame, &audio, &bytes);
            if (result == MPG123_NEW_FORMAT)
                continue;
            if (result != MPG123_OK)
                break;
            const float *values = reinterpret_cast<const float *>(audio);
            samples.insert(samples.end(), values, values + bytes / sizeof(float));
        }
    }
    mpg123_delete(handle);
    return samples;
}

} // namespace

TEST(Clipping, BeyondFullScaleComesOutAtTheRails)
{
    const Bytes stream = readFile(dataPath("voice_clip.VOC"));
    const Bytes pcm = decodeStream(splitFrames(stream));
    const std::vector<float> unclipped = unclippedDecoding(stream, 16000);
    ASSERT_EQ(unclipped.size() * 2, pcm.size());

    size_t above = 0, below = 0;
    for (size_t i = 0; i < unclipped.size(); ++i) {
        const double value = double(unclipped[i]) * 32768.0;
        const int sample = short(pcm[2 * i] | pcm[2 * i + 1] << 8);
        if (value >= 32768.0) {
            ++above;
            ASSERT_EQ(sample, 32767) << i;
        } else if (value <= -32769.0) {
            ++below;
            ASSERT_EQ(sample, -32768) << i;
        } else {
            const double expected = std::clamp(std::nearbyint(value), -32768.0, 32767.0);
            ASSERT_LE(std::fabs(sample - expected), 1.0) << i;
        }
    }
    // The sample must really overshoot both ways for this to mean anything.
    EXPECT_GT(above, 100u);
    EXPECT_GT(below, 100u);
}
