// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What the imports brought in, kept across runs, so a recording counts as
// imported only when it provably is: the same memory, name and size, and the
// digest its bytes had when it arrived. Recorders count again from the same
// names after a format, so a name alone proves nothing.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct ImportedRecording {
    int32_t memory = 0;     // mtInternal or mtCard
    std::string playerName; // the name the device library knows it by
    std::uint64_t size = 0; // bytes, as the player lists it
    std::string digest;     // SHA-256 of its bytes, in hex
    std::string wave;       // the wave file's name as it arrived (or was found)
    bool left = false;      // its memory was since seen without it
};

// One file, replaced whole. Loading and saving run on a thread of the
// memory's own; the window's thread only waits for the load, begun when the
// window was made, at its first question. Safe to use from any thread.
class ImportMemory {
public:
    // An empty path keeps the memory for this run only.
    explicit ImportMemory(std::string file);
    // Saves what is not yet saved, then ends its thread.
    ~ImportMemory();
    ImportMemory(const ImportMemory &) = delete;
    ImportMemory &operator=(const ImportMemory &) = delete;

    // $XDG_STATE_HOME/tovixman/imports, or ~/.local/state/tovixman/imports;
    // empty when there is no home.
    static std::string defaultFile();

    // Brought in, and not seen missing from its memory since.
    bool holds(int32_t memory, const std::string &playerName, std::uint64_t size);
    // This recording, by its bytes, was brought in from that memory under that name.
    bool knows(int32_t memory, const std::string &playerName, const std::string &digest);
    // The files a memory lists now (name, size): what is remembered of that
    // memory and not among them has left it, so its name proves nothing more.
    void sawMemory(int32_t memory, const std::vector<std::pair<std::string, std::uint64_t>> &files);
    void remember(ImportedRecording recording);

private:
    void run();
    void load();
    bool save(const std::vector<ImportedRecording> &entries) const;
    void waitLoaded(std::unique_lock<std::mutex> &hold);
    void changed(); // under m_lock

    const std::string m_file;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::vector<ImportedRecording> m_entries; // oldest first
    bool m_loaded = false;
    bool m_writable = true; // false when a file is there that could not be read
    std::uint64_t m_changes = 0;
    std::uint64_t m_saved = 0;
    std::atomic<bool> m_stopping = false;
    std::thread m_thread;
};
