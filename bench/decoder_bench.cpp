// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Decodes a 60-minute stream of each voice mode frame by frame through the exported
// functions, and the same bytes with bare libmpg123 in one feed, alternating rounds in
// one run. Prints the best time of each and their ratio. Times are the thread's CPU
// time, so other work on a shared machine does not count against either side.
//   decoder_bench [ROUNDS]
#include "frame_header.h"
#include "halvex.h"

#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <time.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

constexpr double streamSeconds = 3600;

// A sample's frames repeated until the stream lasts an hour.
Bytes hourLongStream(const std::string &name, double frameSeconds, size_t &frameCount)
{
    std::ifstream in(std::string(TOVIX_TEST_DATA) + "/" + name, std::ios::binary);
    const Bytes sample{std::istreambuf_iterator<char>(in), {}};
    const size_t length = size_t(halvex::frameLength(halvex::headerWord(sample.data())));
    frameCount = size_t(streamSeconds / frameSeconds);
    Bytes stream;
    stream.reserve(frameCount * length);
    while (stream.size() < frameCount * length) {
        const size_t take = std::min(sample.size(), frameCount * length - stream.size());
        stream.insert(stream.end(), sample.begin(), sample.begin() + long(take));
    }
    return stream;
}

// Sums the samples so neither decoding can be optimised away.
long long viaLibrary(const Bytes &stream, size_t length)
{
    unsigned char pcm[1152];
    long long sum = 0;
    Kestrun_decoder_init();
    const int mode = Kestrun_decoder_get_mode(stream.data());
    for (size_t at = 0; at + length <= stream.size(); at += length) {
        Kestrun_Voice_decoder(&stream[at], pcm, mode);
        sum += pcm[100] + pcm[1000];
    }
    return sum;
}

long long viaBareLibmpg123(const Bytes &stream, long rate)
{
    mpg123_handle *handle = mpg123_new(nullptr, nullptr);
    mpg123_param(handle, MPG123_FLAGS, MPG123_QUIET, 0);
    mpg123_format_none(handle);
    mpg123_format(handle, rate, MPG123_MONO, MPG123_ENC_SIGNED_16);
    mpg123_open_feed(handle);
    mpg123_feed(handle, stream.data(), stream.size());
    long long sum = 0;
    for (;;) {
        off_t frame = 0;
        unsigned char *audio = nullptr;
        size_t bytes = 0;
        const int result = mpg123_decode_frame(handle, &frame, &audio, &bytes);
        if (result == MPG123_NEW_FORMAT)
            continue;
        if (result != MPG123_OK)
            break;
        if (bytes >= 1152)
            sum += audio[100] + audio[1000];
    }
    mpg123_delete(handle);
    return sum;
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

template <typename Run>
double seconds(Run run, long long &check)
{
    const double start = cpuSeconds();
    check = run();
    return cpuSeconds() - start;
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    struct Case { const char *name; const char *file; double frameSeconds; long rate; };
    const Case cases[] = {{"mode 0", "voice_mode0.VOC", 0.072, 8000},
                          {"mode 1", "voice_mode1.VOC", 0.036, 16000},
                          {"mode 2", "voice_mode2.VOC", 0.036, 16000}};
    std::printf("%-7s %8s %10s %10s %7s\n", "stream", "frames", "library s", "bare s", "ratio");
    bool agreed = true;
    for (const Case &c : cases) {
        size_t frames = 0;
        const Bytes stream = hourLongStream(c.file, c.frameSeconds, frames);
        const size_t length = stream.size() / frames;
        double library = 1e9, bare = 1e9;
        for (int round = 0; round < rounds; ++round) {
            long long libraryCheck = 0, bareCheck = 0;
            library = std::min(library, seconds([&] { return viaLibrary(stream, length); }, libraryCheck));
            bare = std::min(bare, seconds([&] { return viaBareLibmpg123(stream, c.rate); }, bareCheck));
            agreed = agreed && libraryCheck == bareCheck;
        }
        std::printf("%-7s %8zu %10.3f %10.3f %6.3fx\n", c.name, frames, library, bare, library / bare);
    }
    if (!agreed)
        std::printf("warning: the two decodings gave different samples\n");
    return agreed ? 0 : 1;
}
