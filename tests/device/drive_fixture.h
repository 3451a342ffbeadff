// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A stand-in player whose memories are folders or drives of the test's own,
// with a mount table, a udev database and label links the test writes.
#pragma once

#include "player_fixture.h"

#include <string>
#include <vector>

class DriveTest : public PlayerTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // A folder under the test's root, made now; returns its canonical path.
    std::string folder(const std::string &name);

    // A mountinfo line: a file system from device "major:minor" mounted on point.
    static std::string mountLine(const std::string &point, const std::string &device = "8:17",
                                 const std::string &options = "rw",
                                 const std::string &source = "/dev/sdz1");
    // Replaces the mount table the library and tovix-player read.
    void setMounts(const std::vector<std::string> &lines);
    // Records a label, and an id when given, for a device in the udev database,
    // as udev writes them.
    void setUdevLabel(const std::string &device, const std::string &encodedLabel,
                      const std::string &id = {});
    // A /dev/disk/by-label link named encodedLabel to target.
    void setLabelLink(const std::string &encodedLabel, const std::string &target);

    std::string mountInfo_;
    std::string udevData_;
    std::string labelLinks_;
    std::string idLinks_;
};
