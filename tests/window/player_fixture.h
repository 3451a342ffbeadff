// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// A main window on the scripted device library, for the player pane's tests.
#pragma once

#include "fake_nerolink.h"
#include "main_unit.h"
#include "scripted_prompts.h"

#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

class PlayerPaneTest : public ::testing::Test {
protected:
    PlayerPaneTest()
    {
        fake::reset();
        w = std::make_unique<TForm_TovixMan>(dir.filePath(QStringLiteral("settings.ini")));
    }
    ~PlayerPaneTest() override
    {
        w.reset();
        fake::reset();
    }

    void poll() { w->Timer_CheckPlayerTimer(w->Timer_CheckPlayer); }

    // A player with a usable card and the given files in each memory.
    void attach(const TMemoryInfo &internal, const TMemoryInfo &card, uint32_t status = 0)
    {
        fake::setMemory(mtInternal, internal);
        fake::setMemory(mtCard, card);
        fake::setVersion(1, "TOVIX 2.1");
        fake::setStatus(status);
        poll();
    }

    static TMemoryInfo memoryWith(const std::vector<std::string> &names, uint32_t total = 1000000,
                                  uint32_t free = 500000)
    {
        TMemoryInfo info = fake::makeMemory(total, free);
        int i = 0;
        for (const std::string &name : names) {
            std::string shortName = std::to_string(i++);
            shortName.insert(0, 1, 'F').append(".MP3");
            fake::addFile(info, fake::makeEntry(name, shortName, 1000, true));
        }
        return info;
    }

    static int callCount(const std::string &function, int32_t target = 0)
    {
        const auto calls = fake::calls();
        return int(std::count_if(calls.begin(), calls.end(), [&](const fake::Call &c) {
            return c.function == function && (target == 0 || c.target == target);
        }));
    }

    static QStringList column(const QTreeWidget *list, int col)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i)->text(col);
        return out;
    }

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm_TovixMan> w;
};
