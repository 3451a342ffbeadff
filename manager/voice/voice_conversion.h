// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Turns an uploaded voice recording (a bare run of voice frames) into a PCM
// wave file beside it, then removes the recording. Free of widgets: the
// caller supplies the user's side through VoiceConversionUi.
#pragma once

#include <cstdint>
#include <string>

#include <sys/stat.h>

// What the user hears from a conversion. The main window answers with its
// message boxes, the command line with the terminal.
class VoiceConversionUi {
public:
    virtual ~VoiceConversionUi();
    // "File already exists, Overwrite ?" about wavePath; true only for Yes.
    virtual bool askOverwrite(const std::string &wavePath) = 0;
    // One of the messages below, acknowledged with OK.
    virtual void showMessage(const std::string &text) = 0;
    // Called every few hundred frames while the recording is decoded, with
    // its bytes done so far and in all; a window handles its events here.
    virtual void progress(std::uint64_t doneBytes, std::uint64_t totalBytes);
    // Another file was put at voicePath while the recording converted: the
    // wave file holds the recording that was read, and the new file is kept.
    virtual void replacedVoiceKept(const std::string &voicePath);
};

namespace VoiceMessages {
inline constexpr const char *overwriteQuestion = "File already exists, Overwrite ?";
inline constexpr const char *cannotOpenVoice = "Can not open voice file";
inline constexpr const char *wrongVoice = "Wrong voice file";
inline constexpr const char *cannotCreateWave = "Can not create wave file";
// The wave file could not be written in full (a full disk, a failing close).
inline constexpr const char *cannotWriteWave = "Can not write wave file";
// The recording could not be read to its end.
inline constexpr const char *cannotReadVoice = "Can not read voice file";
} // namespace VoiceMessages

enum class ConvertOutcome {
    Converted, // the wave file is complete (and the voice file removed unless kept)
    Declined,  // the user chose to keep an existing wave file; nothing touched
    Failed,    // the user was shown why; the voice file is still there
};

struct ConvertOptions {
    bool keepVoice = false; // keep the voice file after a good conversion
    std::string wavePath;   // where the wave file goes; empty for waveFilePath(voicePath)
    // The recording is a file this program just made: a link in its place was
    // put there by someone else, and whatever it points at is not converted.
    bool refuseLink = false;
    // When given, receives what fstat says of the wave file once it has its
    // name: the file this conversion wrote, whatever that name shows later.
    struct stat *written = nullptr;
};

// Where a wave file being written needs a name (a file system without
// unnamed files), it is hidden and starts with this; the next conversion in
// that folder removes what a killed one left.
inline constexpr const char *waveTemporaryPrefix = ".tovixman-wave-";

// True when the name's extension is ".VOC" in any letter case: a recording
// that an upload converts.
bool isVoiceFileName(const std::string &path);

// The wave file's path: the extension of the file name replaced by ".wav",
// or ".wav" appended when the name has none.
std::string waveFilePath(const std::string &voicePath);

// True when the wave file of voicePath (its bytes as on disk) is there as a
// file: the recording was converted before.
bool hasWaveFile(const std::string &voicePath);

// Converts one voice file. Never throws; every failure reaches ui as a
// message. The wave file appears under its name only when complete and
// synced, replacing an old one in the same step; the recording is deleted
// only after its folder is synced too, and only while its path still names
// the file that was read.
ConvertOutcome convertVoiceFile(const std::string &voicePath, VoiceConversionUi &ui,
                                const ConvertOptions &options = {});
