// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Shared helpers of the voice tests: scratch folders, files as bytes, voice
// files cut from the sample recordings, a scripted UI and child programs.
#pragma once

#include "voice/voice_conversion.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

using Bytes = std::string;

// A fresh folder, removed with everything in it when the object goes.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;
    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void writeBytes(const std::string &path, const Bytes &bytes);
Bytes readBytes(const std::string &path); // empty when missing
bool pathExists(const std::string &path);
std::vector<std::string> folderEntries(const std::string &dir); // sorted names

// The sample recording of a mode (0, 1, 2) and its frame length.
Bytes sampleRecording(int mode);
std::size_t frameLengthOf(int mode);
// The first frames whole frames of the mode's sample recording.
Bytes sampleFrames(int mode, std::size_t frames);

std::uint32_t le32At(const Bytes &bytes, std::size_t offset);
std::uint16_t le16At(const Bytes &bytes, std::size_t offset);

// Answers the overwrite question from a script (No when it runs out) and
// records everything it was asked and told.
class ScriptedVoiceUi : public VoiceConversionUi {
public:
    std::deque<bool> answers;
    std::vector<std::string> questions; // wave paths asked about
    std::vector<std::string> messages;

    bool askOverwrite(const std::string &wavePath) override;
    void showMessage(const std::string &text) override;
};

struct ProgramResult {
    int exitCode = -1; // -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs argv[0] with the given arguments in workDir (unless empty), standard
// input from /dev/null.
ProgramResult runProgram(const std::vector<std::string> &argv, const std::string &workDir = {});
