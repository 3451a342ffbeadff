// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// One killed operation of the crash test: what it sets up, what its child does,
// and what it checks on disk afterwards.
#pragma once

#include <cstddef>
#include <string>

struct CrashFigures {
    std::size_t runs = 0;
    std::size_t killedMidway = 0;      // the child was still running when killed
    std::size_t recordingsLost = 0;    // neither the recording nor its wave file whole
    std::size_t halfFiles = 0;         // a real name holding neither old nor whole bytes
    std::size_t pcTemporaries = 0;     // temporaries of the player seen in the PC folder
    std::size_t waveLeftoversSeen = 0; // conversion leftovers seen right after a kill
};

enum class RunKind { Conversion, Upload, UploadAndConversion, Download };
inline constexpr int runKinds = 4;
const char *runKindName(RunKind kind);

// A player in root/player with the recording REC.VOC on its internal memory,
// and the PC folder root/pc.
class CrashBench {
public:
    CrashBench(const std::string &root, std::string recording);

    // What the child process does for a run; it never returns.
    [[noreturn]] void child(RunKind kind, std::size_t run) const;
    // Sets a run up; checks and clears it once its child is gone.
    void prepare(RunKind kind, std::size_t run) const;
    void check(RunKind kind, std::size_t run, CrashFigures &figures) const;
    // Converts once more in the PC folder, then counts every temporary left
    // in it and in the player's folders after one more library call.
    std::size_t temporariesLeft() const;

    const std::string &pcFolder() const { return m_pc; }

private:
    std::string pcFile(const char *prefix, std::size_t run, const char *ext) const;
    void checkFile(const std::string &path, bool mayBeMissing, const std::string &old,
                   CrashFigures &figures) const;
    bool isWhole(const std::string &path) const;

    std::string m_player, m_pc;
    std::string m_recording, m_wave;
};
