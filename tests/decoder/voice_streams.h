// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Helpers for the decoder tests: sample files, their frames, the reference decoder and
// memory that faults on the first byte past a buffer.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace halvex_test {

using Bytes = std::vector<unsigned char>;
using Frames = std::vector<Bytes>;

constexpr size_t pcmBytes = 1152;

std::string dataPath(const std::string &name);
Bytes readFile(const std::string &path);
void writeFile(const std::string &path, const Bytes &bytes);

// The frames of a file, split by each header's own frame length.
Frames splitFrames(const Bytes &stream);
Frames framesOf(const std::string &sampleName);

// Standard output of a shell command.
Bytes commandOutput(const std::string &command);

// The mpg123 command line's whole-file decoding, as signed 16-bit samples.
Bytes referencePcm(const std::string &path, const std::string &options = {});

// init, then every frame through the exported decoder; every frame must be accepted.
Bytes decodeStream(const Frames &frames);

// The samples of frame `index` in a stream of 1152-byte frame outputs.
std::vector<short> samplesOf(const Bytes &pcm, size_t index);

// The largest difference between two same-sized sample runs.
int largestDifference(const std::vector<short> &a, const std::vector<short> &b);

// `size` writable bytes that end right at an inaccessible page: touching the byte after
// the last one faults.
class GuardedBuffer
{
public:
    explicit GuardedBuffer(size_t size);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer &) = delete;
    GuardedBuffer &operator=(const GuardedBuffer &) = delete;

    unsigned char *data() { return data_; }
    size_t size() const { return size_; }

private:
    void *mapping_ = nullptr;
    size_t mappingSize_ = 0;
    unsigned char *data_ = nullptr;
    size_t size_ = 0;
};

} // namespace halvex_test
