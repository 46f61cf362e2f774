// Application facts, where the settings file lives, and its values.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "ScopedEnv.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"
#include "support/TestSupport.h"

namespace {

using platform::AppInfo;

// Points the module path at an executable name inside a fresh directory for one test.
class AppSettingsFile : public testing::Test {
protected:
    AppSettingsFile() { AppInfo::OverrideModulePath(m_dir.File("Tool.exe")); }
    ~AppSettingsFile() override { AppInfo::OverrideModulePath(""); }
    testsupport::TempDir m_dir;
};

TEST(AppInfo, FixedFacts) {
    EXPECT_EQ(AppInfo::Name(), "Vorlix");
    EXPECT_EQ(AppInfo::VersionText(), "6.0.15");
    EXPECT_EQ(AppInfo::SettingsFileDisplayName(), "Vorlix.ini");
    EXPECT_FALSE(AppInfo::kBeta);
}

TEST(AppInfo, PathsComeFromTheRunningExecutableByDefault) {
    AppInfo::OverrideModulePath("");
    const std::string module = AppInfo::ModulePath();
    ASSERT_FALSE(module.empty());
    EXPECT_EQ(AppInfo::SettingsFilePath(), module + ".ini");  // test programs have no extension
    EXPECT_EQ(AppInfo::ProgramDirectory() + "/" + module.substr(module.rfind('/') + 1), module);
}

TEST_F(AppSettingsFile, AnyExecutableNameKeepsTheApplicationName) {
    EXPECT_EQ(AppInfo::SettingsFilePath(), m_dir.File("Tool.ini"));
    EXPECT_EQ(AppInfo::ProgramDirectory(), m_dir.Path());
    EXPECT_EQ(AppInfo::Name(), "Vorlix");
}

TEST_F(AppSettingsFile, ValuesRoundTripAndTheFileIsOwnerOnly) {
    EXPECT_EQ(platform::ReadAppSetting("Notes", "ProgramPath"), "");
    ASSERT_TRUE(platform::WriteAppSetting("Quorvane", "Password", "0A1B2C"));
    ASSERT_TRUE(platform::WriteAppSetting("Quorvane", "Enabled", "1"));
    EXPECT_EQ(platform::ReadAppSetting("quorvane", "password"), "0A1B2C");
    EXPECT_EQ(platform::ReadAppSetting("Quorvane", "Enabled"), "1");
    struct stat info {};
    ASSERT_EQ(stat(m_dir.File("Tool.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(AppSettingsFile, ReadsAreCutAndEmptyValuesReadAsAbsent) {
    testsupport::WriteFile(
        m_dir.File("Tool.ini"),
        "[Export Settings]\r\nMultiOutputPath=" + std::string(15001, 'p') + "\r\nMultiOutputSubdirDb=\r\n");
    EXPECT_EQ(platform::ReadAppSetting("Export Settings", "MultiOutputPath"), std::string(15000, 'p'));
    EXPECT_EQ(platform::ReadAppSetting("Export Settings", "MultiOutputSubdirDb"), "");
}

// Where the settings file lives: beside the executable only when the program directory is writable
// and the program is not installed under a prefix (bin/ beside lib/vorlix/).
TEST(AppInfo, SettingsFileLeavesAnUnwritableOrInstalledProgramDirectory) {
    testsupport::TempDir dir;
    const platformtest::ScopedEnv config("XDG_CONFIG_HOME", dir.File("config").c_str());
    testsupport::WriteFile(dir.File("copy/vorlix"), "");
    testsupport::WriteFile(dir.File("bin/vorlix"), "");
    testsupport::WriteFile(dir.File("usr/bin/vorlix"), "");
    testsupport::WriteFile(dir.File("usr/lib/vorlix/libnotes.so"), "");
    testsupport::WriteFile(dir.File("locked/Tool.exe"), "");
    ASSERT_EQ(chmod(dir.File("locked").c_str(), 0555), 0);
    const bool lockedIsWritable = access(dir.File("locked").c_str(), W_OK) == 0;  // true for root
    const struct {
        std::string module;
        std::string settingsFile;
        std::string runtimeDirectory;
    } cases[] = {
        {dir.File("copy/vorlix"), dir.File("copy/vorlix.ini"), dir.File("copy")},
        {dir.File("bin/vorlix"), dir.File("bin/vorlix.ini"), dir.File("bin")},
        {dir.File("usr/bin/vorlix"), dir.File("config/vorlix/vorlix.ini"), dir.File("usr/lib/vorlix")},
        {dir.File("gone/Tool.exe"), dir.File("config/vorlix/Tool.ini"), dir.File("gone")},
        {dir.File("locked/Tool.exe"),
         lockedIsWritable ? dir.File("locked/Tool.ini") : dir.File("config/vorlix/Tool.ini"),
         dir.File("locked")},
    };
    for (const auto &c : cases) {
        AppInfo::OverrideModulePath(c.module);
        EXPECT_EQ(AppInfo::SettingsFilePath(), c.settingsFile) << c.module;
        EXPECT_EQ(AppInfo::RuntimeDirectory(), c.runtimeDirectory) << c.module;
    }
    AppInfo::OverrideModulePath("");
    ASSERT_EQ(chmod(dir.File("locked").c_str(), 0755), 0);
}

// The first write makes $XDG_CONFIG_HOME/vorlix, and the file there is owner-only like the other.
TEST(AppSettings, FirstWriteCreatesTheConfigDirectory) {
    testsupport::TempDir dir;
    const platformtest::ScopedEnv config("XDG_CONFIG_HOME", dir.File("config").c_str());
    AppInfo::OverrideModulePath(dir.File("gone/Tool.exe"));
    EXPECT_EQ(platform::ReadAppSetting("Notes", "ProgramPath"), "");
    EXPECT_TRUE(platform::WriteAppSetting("Notes", "ProgramPath", "/opt/hcl/notes"));
    EXPECT_EQ(platform::ReadAppSetting("Notes", "ProgramPath"), "/opt/hcl/notes");
    AppInfo::OverrideModulePath("");
    struct stat info {};
    ASSERT_EQ(stat(dir.File("config/vorlix/Tool.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
