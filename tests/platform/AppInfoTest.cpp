// Application facts and the settings file beside the executable.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

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

TEST(AppSettings, WriteFailsWhenTheProgramDirectoryIsMissing) {
    testsupport::TempDir dir;
    AppInfo::OverrideModulePath(dir.File("gone/Tool.exe"));
    EXPECT_FALSE(platform::WriteAppSetting("Notes", "ProgramPath", "/opt/hcl/notes"));
    EXPECT_EQ(platform::ReadAppSetting("Notes", "ProgramPath"), "");
    AppInfo::OverrideModulePath("");
}

}  // namespace
