// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A stand-in player in a temporary folder, reached through NEROLINK_PLAYER.
#pragma once

#include "device/nerolink.h"
#include "player_config.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh, attached, writable player with the given capacities.
    void makePlayer(uint64_t internalBytes = nerolink::kDefaultInternalBytes,
                    uint64_t cardBytes = nerolink::kDefaultCardBytes);
    void setValue(const std::string &section, const std::string &key, const std::string &value);

    // A PC file with these bytes; returns its path.
    std::string pcFile(const std::string &name, const std::string &bytes);
    std::string pcPath(const std::string &name) const { return pc_ + "/" + name; }
    std::string memoryPath(const std::string &memory, const std::string &name) const
    {
        return player_ + "/" + memory + "/" + name;
    }

    // The record refresh fills; fails the test when refresh returns 0.
    std::unique_ptr<TMemoryInfo> refresh(int32_t target);
    // Display names of the refreshed record, in record order.
    std::vector<std::string> names(int32_t target);
    // The short name of the entry with this display name, or "" when absent.
    std::string shortNameOf(int32_t target, const std::string &displayName);

    std::string root_;
    std::string player_;
    std::string pc_;
};

std::string readFile(const std::string &path);
bool fileExists(const std::string &path);
// Names of the entries directly in a folder, sorted.
std::vector<std::string> folderEntries(const std::string &path);

struct CommandResult {
    int code = -1;
    std::string output; // standard output and standard error
};

// Runs tovix-player with args, after an environment prefix such as "env X=1".
CommandResult tovixPlayer(const std::string &args, const std::string &environment = {});
bool contains(const std::string &text, const std::string &part);
