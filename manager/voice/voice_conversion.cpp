// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "voice/voice_conversion.h"

#include "platform/exclusive_open.h"
#include "platform/held_entry.h"
#include "platform/paths.h"
#include "platform/pending_file.h"
#include "voice/buffered_io.h"
#include "voice/voice_format.h"

#include <halvex.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

VoiceConversionUi::~VoiceConversionUi() = default;

void VoiceConversionUi::progress(std::uint64_t, std::uint64_t) {}

void VoiceConversionUi::replacedVoiceKept(const std::string &) {}

bool isVoiceFileName(const std::string &path)
{
    std::string ext = extractFileExt(path);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return ext == ".VOC";
}

std::string waveFilePath(const std::string &voicePath)
{
    return changeFileExt(voicePath, ".wav");
}

namespace {

// A folder of that name does not count as an existing wave file.
bool existsAsFile(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool sameFile(const std::string &a, const std::string &b)
{
    struct stat sa {}, sb {};
    return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0
        && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// Makes the wave file's name durable before the recording's removal is.
bool syncFolderOf(const std::string &path)
{
    const std::string dir = extractFileDir(path);
    const char *folderPath = dir.empty() ? "." : dir.c_str();
    UniqueFd folder(::open(folderPath, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return folder && ::fsync(folder.get()) == 0;
}

// The recording as its name showed it when it was opened: the file itself, or
// the link that led to it. A name swapped in between proves nothing.
struct OpenedVoice {
    HeldEntry entry;
    UniqueFd file;
    struct stat named {};
    bool proven = false;
};

bool openVoice(const std::string &voicePath, bool followLink, OpenedVoice &voice)
{
    if (!holdEntry(voicePath, voice.entry))
        return false;
    voice.file = openExclusiveReadAt(voice.entry.folder.get(), voice.entry.name, followLink);
    struct stat read {}, target {};
    if (!voice.file || ::fstat(voice.file.get(), &read) != 0)
        return false;
    if (statHeld(voice.entry, voice.named))
        voice.proven = sameIdentity(voice.named, read)
            || (followLink && S_ISLNK(voice.named.st_mode)
                && ::fstatat(voice.entry.folder.get(), voice.entry.name.c_str(), &target, 0) == 0
                && sameIdentity(target, read));
    return true;
}

// A file put in the recording's place while it converted (a paste answered
// Replace, another program) was never read: only the name that led to the
// file read goes, looked at in its held folder right before.
void removeConvertedVoice(const OpenedVoice &voice, const std::string &voicePath, VoiceConversionUi &ui)
{
    struct stat now {};
    if (voice.proven ? !removeHeldIf(voice.entry, voice.named) && errno == ESTALE
                     : statHeld(voice.entry, now))
        ui.replacedVoiceKept(voicePath);
}

// About a millisecond of decoding between two progress calls.
constexpr std::uint64_t kFramesPerProgress = 256;

// Decodes every whole frame into the wave file and completes its header.
// Returns nullptr once all of it is written, else the message.
const char *writeWave(FrameReader &voice, int wave, int mode, const VoiceMode &info,
                      VoiceConversionUi &ui, std::uint64_t voiceBytes)
{
    BufferedWriter out(wave);
    const WaveHeader header = waveHeaderTemplate(info.sampleRate);
    out.write(header.data(), header.size());

    // The file is stepped through by the first header's length, but the
    // decoder reads as far as each frame's own header says: it gets every
    // frame from a zero-padded copy, so a damaged header makes it read zeros.
    std::array<unsigned char, maxDecoderFrameBytes> frameCopy{};
    // A frame the decoder rejects leaves the buffer as it was, so it repeats
    // the previous frame's samples; before any frame that is silence.
    std::array<unsigned char, pcmBytesPerFrame> pcm{};
    std::uint64_t dataBytes = 0;
    std::uint64_t frames = 0;
    while (const unsigned char *frame = voice.next(info.frameLength)) {
        if (++frames % kFramesPerProgress == 0)
            ui.progress(frames * info.frameLength, voiceBytes);
        if (dataBytes + pcm.size() > maxWaveDataBytes)
            return VoiceMessages::cannotWriteWave;
        std::memcpy(frameCopy.data(), frame, info.frameLength);
        Kestrun_Voice_decoder(frameCopy.data(), pcm.data(), mode);
        if (!out.write(pcm.data(), pcm.size()))
            return VoiceMessages::cannotWriteWave;
        dataBytes += pcm.size();
    }
    if (voice.failed())
        return VoiceMessages::cannotReadVoice;

    const auto count = static_cast<std::uint32_t>(dataBytes);
    if (!out.flush() || !writeAllAt(wave, littleEndian32(count).data(), 4, dataLengthOffset)
        || !writeAllAt(wave, littleEndian32(36 + count).data(), 4, riffLengthOffset))
        return VoiceMessages::cannotWriteWave;
    return nullptr;
}

// The wave file the user agreed to replace, locked as every opener here locks,
// so one that another program holds is refused and left as it is.
bool lockReplacedWave(const std::string &wavePath, UniqueFd &held)
{
    held = openExclusiveRead(wavePath);
    return held || errno != EWOULDBLOCK;
}

// Everything after the existence question. Returns nullptr on success, else
// the message to show once both files are closed.
const char *convertFiles(const std::string &voicePath, const std::string &wavePath,
                         bool replace, const ConvertOptions &options, VoiceConversionUi &ui)
{
    OpenedVoice opened;
    if (!openVoice(voicePath, !options.refuseLink, opened))
        return VoiceMessages::cannotOpenVoice;
    const UniqueFd &voice = opened.file;
    Kestrun_decoder_init();

    FrameReader reader(voice.get());
    const unsigned char *first = reader.peek(4);
    if (!first)
        return reader.failed() ? VoiceMessages::cannotReadVoice : VoiceMessages::wrongVoice;
    const int mode = Kestrun_decoder_get_mode(first);
    const std::optional<VoiceMode> info = voiceModeInfo(mode);
    if (!info)
        return VoiceMessages::wrongVoice;

    UniqueFd replaced;
    if (replace && !lockReplacedWave(wavePath, replaced))
        return VoiceMessages::cannotCreateWave;
    const std::string folder = extractFileDir(wavePath);
    sweepAbandoned(folder, waveTemporaryPrefix);
    PendingFile wave(folder, waveTemporaryPrefix);
    if (!wave.isValid())
        return VoiceMessages::cannotCreateWave;
    const std::int64_t voiceBytes = fileLength(voice);
    if (const char *error = writeWave(reader, wave.fd(), mode, *info, ui,
                                      std::uint64_t(std::max<std::int64_t>(voiceBytes, 0))))
        return error;
    // Until here an old wave file stays as it was; now it is replaced whole.
    if (!wave.publish(wavePath, replace))
        return errno == EIO || errno == ENOSPC || errno == EDQUOT ? VoiceMessages::cannotWriteWave
                                                                  : VoiceMessages::cannotCreateWave;
    if (options.written && ::fstat(wave.fd(), options.written) != 0)
        *options.written = {}; // matches no file: it is kept
    if (!wave.close() || !syncFolderOf(wavePath))
        return VoiceMessages::cannotWriteWave;
    if (!options.keepVoice)
        removeConvertedVoice(opened, voicePath, ui);
    return nullptr;
}

} // namespace

bool hasWaveFile(const std::string &voicePath)
{
    return existsAsFile(waveFilePath(voicePath));
}

ConvertOutcome convertVoiceFile(const std::string &voicePath, VoiceConversionUi &ui,
                                const ConvertOptions &options)
{
    const std::string wavePath = options.wavePath.empty() ? waveFilePath(voicePath) : options.wavePath;
    // A file already named like its own wave file would be deleted by the
    // overwrite below before it could be read.
    if (sameFile(voicePath, wavePath)) {
        ui.showMessage(VoiceMessages::wrongVoice);
        return ConvertOutcome::Failed;
    }
    const bool replace = existsAsFile(wavePath);
    if (replace && !ui.askOverwrite(wavePath))
        return ConvertOutcome::Declined;
    if (const char *error = convertFiles(voicePath, wavePath, replace, options, ui)) {
        ui.showMessage(error);
        return ConvertOutcome::Failed;
    }
    return ConvertOutcome::Converted;
}
