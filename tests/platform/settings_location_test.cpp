// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/ini.h"
#include "platform/settings_location.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

// Sets an environment variable (or unsets it for nullopt) for the length of a scope.
class EnvironmentValue {
public:
    EnvironmentValue(const char *name, std::optional<std::string> value) : m_name(name)
    {
        if (const char *old = std::getenv(name))
            m_old = old;
        value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
    }
    ~EnvironmentValue() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

private:
    const char *m_name;
    std::optional<std::string> m_old;
};

class SettingsLocationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/settings_location_XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        root = tmpl;
        program = root / "bin";
        home = root / "home";
        fs::create_directories(program);
        fs::create_directories(home);
        // Nobody may pass through the root and write the home, but no one the program's folder.
        fs::permissions(root, fs::perms::all);
        fs::permissions(home, fs::perms::all);
        fs::permissions(program, fs::perms::owner_read | fs::perms::owner_exec
                                     | fs::perms::group_read | fs::perms::group_exec
                                     | fs::perms::others_read | fs::perms::others_exec);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(program, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(root, ec);
    }
    std::string beside() const { return (program / "settings.ini").string(); }
    fs::path root, program, home;
};

// Runs check as nobody in a child process, since permissions do not bind root.
// check returns 0 when all held, else the number of the step that failed.
void expectAsNobody(const std::function<int()> &check)
{
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
                ::_exit(100);
            ::_exit(check());
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(SettingsLocationTest, AWritableProgramFolderKeepsTheFileBesideTheProgram)
{
    const fs::path config = root / ".config";
    const std::string writable = home.string();
    EXPECT_EQ(settingsFileFor(writable, config.string()), (home / "settings.ini").string());
    expectAsNobody([&] {
        return settingsFileFor(writable, config.string()) == (home / "settings.ini").string()
            ? 0 : 1;
    });
    EXPECT_FALSE(fs::exists(config)) << "nothing is made in the configuration folder";
}

TEST_F(SettingsLocationTest, AReadOnlyProgramFolderMovesTheFileIntoTheConfigFolder)
{
    const fs::path config = home / "deeper" / ".config";
    const fs::path expected = config / "tovixman" / "settings.ini";
    expectAsNobody([&] {
        const std::string chosen = settingsFileFor(program.string(), config.string());
        if (chosen != expected.string())
            return 1;
        struct stat st;
        if (::stat(expected.parent_path().c_str(), &st) != 0 || (st.st_mode & 0777) != 0700)
            return 2;
        IniFile ini(chosen);
        ini.writeInteger("Window", "Width", 800);
        ini.writeString("Explorer", "Directory", "/music");
        if (IniFile(chosen).readInteger("Window", "Width", 0) != 800
            || IniFile(chosen).readString("Explorer", "Directory", "") != "/music")
            return 3;
        // The next start finds the folder there and reads the same file.
        return settingsFileFor(program.string(), config.string()) == chosen ? 0 : 4;
    });
    EXPECT_FALSE(fs::exists(beside()));
    EXPECT_TRUE(fs::is_regular_file(expected));
}

TEST_F(SettingsLocationTest, AConfigFolderThatCannotBeMadeFailsTheWriteByName)
{
    const fs::path blocker = home / "file";
    std::ofstream(blocker) << "not a folder\n";
    const std::string expected = (blocker / "tovixman" / "settings.ini").string();
    expectAsNobody([&] {
        const std::string chosen = settingsFileFor(program.string(), blocker.string());
        if (chosen != expected)
            return 1;
        try {
            IniFile(chosen).writeInteger("Window", "Left", 1);
        } catch (const IniWriteError &e) {
            return std::string(e.what()) == "Unable to write to " + expected ? 0 : 2;
        }
        return 3;
    });
    // Without a configuration folder the file stays beside the program, unwritable or not.
    expectAsNobody([&] { return settingsFileFor(program.string(), "") == beside() ? 0 : 1; });
}

TEST_F(SettingsLocationTest, TheConfigFolderComesFromTheEnvironment)
{
    {
        const EnvironmentValue xdg("XDG_CONFIG_HOME", "/srv/conf");
        const EnvironmentValue homeVar("HOME", home.string());
        EXPECT_EQ(userConfigFolder(), "/srv/conf");
    }
    // A relative or empty XDG_CONFIG_HOME is ignored, as the base directory rules say.
    for (const std::optional<std::string> &xdgValue :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("conf")}) {
        const EnvironmentValue xdg("XDG_CONFIG_HOME", xdgValue);
        const EnvironmentValue homeVar("HOME", home.string() + "/");
        EXPECT_EQ(userConfigFolder(), (home / ".config").string());
    }
    // Without a usable HOME, the account's own home folder.
    const struct passwd *account = ::getpwuid(::getuid());
    ASSERT_NE(account, nullptr);
    for (const std::optional<std::string> &homeValue :
         {std::optional<std::string>(), std::optional<std::string>(""),
          std::optional<std::string>("relative/home")}) {
        const EnvironmentValue xdg("XDG_CONFIG_HOME", std::nullopt);
        const EnvironmentValue homeVar("HOME", homeValue);
        EXPECT_EQ(userConfigFolder(), (fs::path(account->pw_dir) / ".config").string());
    }
}

} // namespace
