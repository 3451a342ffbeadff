// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "player_fixture.h"

#include "device/records.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <algorithm>

namespace fs = std::filesystem;

void PlayerTest::SetUp()
{
    std::string pattern = (fs::temp_directory_path() / "nerolink-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    player_ = root_ + "/player";
    pc_ = root_ + "/pc";
    fs::create_directories(pc_);
    ::setenv("NEROLINK_PLAYER", player_.c_str(), 1);
}

void PlayerTest::TearDown()
{
    std::error_code ignored;
    fs::remove_all(root_, ignored);
    ::unsetenv("NEROLINK_PLAYER");
}

void PlayerTest::makePlayer(uint64_t internalBytes, uint64_t cardBytes)
{
    fs::create_directories(player_ + "/internal");
    fs::create_directories(player_ + "/card");
    nerolink::PlayerConfig config = nerolink::defaultPlayer(player_);
    config.internal.capacityBytes = internalBytes;
    config.card.capacityBytes = cardBytes;
    ASSERT_TRUE(nerolink::savePlayer(config));
}

void PlayerTest::setValue(const std::string &section, const std::string &key, const std::string &value)
{
    ASSERT_TRUE(nerolink::setPlayerValue(player_, section, key, value));
}

std::string PlayerTest::pcFile(const std::string &name, const std::string &bytes)
{
    const std::string path = pcPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::unique_ptr<TMemoryInfo> PlayerTest::refresh(int32_t target)
{
    auto info = std::make_unique<TMemoryInfo>();
    EXPECT_EQ(dll_fn_refresh_device(info.get(), target), 1);
    return info;
}

std::vector<std::string> PlayerTest::names(int32_t target)
{
    const auto info = refresh(target);
    std::vector<std::string> out;
    for (uint32_t i = 0; i < info->FileCount; ++i)
        out.push_back(displayName(info->Files[i]));
    return out;
}

std::string PlayerTest::shortNameOf(int32_t target, const std::string &name)
{
    const auto info = refresh(target);
    for (uint32_t i = 0; i < info->FileCount; ++i) {
        if (displayName(info->Files[i]) == name)
            return fieldText(info->Files[i].ShortName);
    }
    return {};
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool fileExists(const std::string &path)
{
    return fs::exists(fs::symlink_status(path));
}

std::vector<std::string> folderEntries(const std::string &path)
{
    std::vector<std::string> out;
    for (const auto &entry : fs::directory_iterator(path))
        out.push_back(entry.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

CommandResult tovixPlayer(const std::string &args, const std::string &environment)
{
    CommandResult run;
    const std::string command = environment + " '" TOVIX_PLAYER_COMMAND "' " + args + " 2>&1";
    FILE *pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}
