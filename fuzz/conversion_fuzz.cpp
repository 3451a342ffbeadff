// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Arbitrary bytes as an uploaded voice recording, converted by the engine the manager
// and voc2wav use. AddressSanitizer sees every byte the decoder reads (the reader's
// unfilled buffer is poisoned); the files left behind must be what a user expects:
// a complete wave file and no recording, or the recording untouched and no wave file.
#include "fuzz_scratch.h"
#include "voice/voice_conversion.h"
#include "voice/voice_format.h"

#include <halvex.h>

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class AnswerYes : public VoiceConversionUi {
public:
    bool askOverwrite(const std::string &) override { return true; }
    void showMessage(const std::string &) override {}
};

long long sizeOf(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size : -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string &folder = fuzz::scratch("conversion_fuzz");
    const std::string voice = folder + "/REC.VOC", wave = folder + "/REC.wav";
    if (!fuzz::writeFile(voice, data, size))
        std::abort();
    AnswerYes ui;
    const ConvertOutcome outcome = convertVoiceFile(voice, ui);

    const auto info = size >= 4 ? voiceModeInfo(Kestrun_decoder_get_mode(data)) : std::nullopt;
    if (outcome == ConvertOutcome::Converted) {
        if (!info)
            std::abort();
        const auto frames = static_cast<long long>(size / info->frameLength);
        if (sizeOf(wave) != waveHeaderSize + frames * pcmBytesPerFrame || sizeOf(voice) != -1)
            std::abort();
    } else if (outcome != ConvertOutcome::Failed || info || sizeOf(wave) != -1
               || sizeOf(voice) != static_cast<long long>(size)) {
        std::abort(); // only a file of another kind is refused, and then nothing changes
    }
    ::unlink(voice.c_str());
    ::unlink(wave.c_str());
    return 0;
}
