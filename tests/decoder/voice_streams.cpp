// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "voice_streams.h"

#include "frame_header.h"
#include "halvex.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace halvex_test {

std::string dataPath(const std::string &name)
{
    return std::string(TOVIX_TEST_DATA) + "/" + name;
}

Bytes readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string &path, const Bytes &bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

Frames splitFrames(const Bytes &stream)
{
    Frames frames;
    size_t at = 0;
    while (at + 4 <= stream.size()) {
        const size_t length = size_t(halvex::frameLength(halvex::headerWord(&stream[at])));
        if (length == 0 || at + length > stream.size())
            throw std::runtime_error("stream does not split into whole frames");
        frames.emplace_back(stream.begin() + long(at), stream.begin() + long(at + length));
        at += length;
    }
    return frames;
}

Frames framesOf(const std::string &sampleName)
{
    return splitFrames(readFile(dataPath(sampleName)));
}

Bytes commandOutput(const std::string &command)
{
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    Bytes output;
    unsigned char chunk[8192];
    size_t got = 0;
    while ((got = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.insert(output.end(), chunk, chunk + got);
    if (pclose(pipe) != 0)
        throw std::runtime_error("failed: " + command);
    return output;
}

Bytes referencePcm(const std::string &path, const std::string &options)
{
    return commandOutput("mpg123 -q -s --no-gapless " + options + " '" + path + "'");
}

Bytes decodeStream(const Frames &frames)
{
    Bytes pcm;
    pcm.reserve(frames.size() * pcmBytes);
    unsigned char out[pcmBytes];
    Kestrun_decoder_init();
    for (const Bytes &frame : frames) {
        EXPECT_EQ(Kestrun_Voice_decoder(frame.data(), out, 0), 1);
        pcm.insert(pcm.end(), out, out + pcmBytes);
    }
    return pcm;
}

std::vector<short> samplesOf(const Bytes &pcm, size_t index)
{
    std::vector<short> samples(pcmBytes / 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        const size_t at = index * pcmBytes + 2 * i;
        samples[i] = short(pcm.at(at) | pcm.at(at + 1) << 8);
    }
    return samples;
}

int largestDifference(const std::vector<short> &a, const std::vector<short> &b)
{
    int largest = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        largest = std::max(largest, std::abs(int(a[i]) - int(b[i])));
    return largest;
}

GuardedBuffer::GuardedBuffer(size_t size) : size_(size)
{
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    const size_t usablePages = (size + page - 1) / page;
    mappingSize_ = (usablePages + 1) * page;
    mapping_ = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping_ == MAP_FAILED)
        throw std::runtime_error("mmap failed");
    unsigned char *guard = static_cast<unsigned char *>(mapping_) + usablePages * page;
    if (mprotect(guard, page, PROT_NONE) != 0)
        throw std::runtime_error("mprotect failed");
    data_ = guard - size;
}

GuardedBuffer::~GuardedBuffer()
{
    munmap(mapping_, mappingSize_);
}

} // namespace halvex_test
