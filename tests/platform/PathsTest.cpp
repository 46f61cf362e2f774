// Path rules (settings file, directories, folders) and whole-file writes that never leave half a file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "ScopedEnv.h"
#include "platform/Paths.h"
#include "platform/PrivateTempFile.h"
#include "support/TestSupport.h"

namespace {

using platformtest::ScopedEnv;

struct PathCase {
    const char *input;
    const char *expected;
};

class SettingsFileRule : public testing::TestWithParam<PathCase> {};

TEST_P(SettingsFileRule, ReplacesOrAppendsTheExtensionOfTheFileName) {
    EXPECT_EQ(platform::SettingsFilePathFor(GetParam().input), GetParam().expected);
}

const PathCase kSettingsCases[] = {
    {"Tool.exe", "Tool.ini"},
    {"/opt/vorlix/Vorlix.exe", "/opt/vorlix/Vorlix.ini"},
    {"/opt/vorlix/vorlix", "/opt/vorlix/vorlix.ini"},
    {"/opt/a.b/tool", "/opt/a.b/tool.ini"},          // a dot in a directory is no extension
    {"/opt/a.b/tool.x.bin", "/opt/a.b/tool.x.ini"},  // only the last extension is replaced
    {"/opt/bin/tool.", "/opt/bin/tool.ini"},
    {"/opt/bin/.hidden", "/opt/bin/.hidden.ini"},  // a leading dot starts no extension
    {"tool", "tool.ini"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SettingsFileRule, testing::ValuesIn(kSettingsCases));

class DirectoryRule : public testing::TestWithParam<PathCase> {};

TEST_P(DirectoryRule, CutsAtTheLastSeparator) {
    EXPECT_EQ(platform::DirectoryOf(GetParam().input), GetParam().expected);
}

const PathCase kDirectoryCases[] = {
    {"/opt/vorlix/vorlix", "/opt/vorlix"},
    {"/vorlix", "/"},
    {"vorlix", ""},
    {"a/b/", "a/b"},
};

INSTANTIATE_TEST_SUITE_P(Cases, DirectoryRule, testing::ValuesIn(kDirectoryCases));

TEST(Paths, JoinAndFileName) {
    EXPECT_EQ(platform::JoinPath("/opt", "x"), "/opt/x");
    EXPECT_EQ(platform::JoinPath("/", "x"), "/x");
    EXPECT_EQ(platform::JoinPath("", "x"), "x");
    EXPECT_EQ(platform::FileNameOf("/opt/a.b/tool"), "tool");
    EXPECT_EQ(platform::FileNameOf("tool"), "tool");
}

TEST(Paths, ModulePathIsThisExecutable) {
    const std::string path = platform::ModulePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    EXPECT_TRUE(std::filesystem::equivalent(path, "/proc/self/exe"));
}

TEST(Paths, TemporaryAndXdgFoldersFollowTheEnvironment) {
    {
        const ScopedEnv tmp("TMPDIR", "/var/tmp/x/");
        EXPECT_EQ(platform::TempDirectory(), "/var/tmp/x");
    }
    {
        const ScopedEnv tmp("TMPDIR", "");
        EXPECT_EQ(platform::TempDirectory(), "/tmp");
    }
    const ScopedEnv home("HOME", "/home/u");
    {
        const ScopedEnv data("XDG_DATA_HOME", "/xdg/data");
        const ScopedEnv config("XDG_CONFIG_HOME", "/xdg/config");
        EXPECT_EQ(platform::LocalAppDataDirectory(), "/xdg/data");
        EXPECT_EQ(platform::RoamingAppDataDirectory(), "/xdg/config");
    }
    const ScopedEnv data("XDG_DATA_HOME", nullptr);
    const ScopedEnv config("XDG_CONFIG_HOME", "relative/is/ignored");
    EXPECT_EQ(platform::LocalAppDataDirectory(), "/home/u/.local/share");
    EXPECT_EQ(platform::RoamingAppDataDirectory(), "/home/u/.config");
}

TEST(AtomicWrite, ReplacesContentKeepsPermissionsAndLeavesNoTemporaryFile) {
    testsupport::TempDir dir;
    const std::string path = dir.File("out.txt");
    ASSERT_TRUE(platform::WriteFileAtomically(path, "first"));
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(platform::WriteFileAtomically(path, std::string("sec\0ond", 7)));
    std::string bytes;
    ASSERT_TRUE(platform::ReadWholeFile(path, bytes));
    EXPECT_EQ(bytes, std::string("sec\0ond", 7));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(AtomicWrite, OwnerOnlyAndThroughSymbolicLinks) {
    testsupport::TempDir dir;
    const std::string target = dir.File("real.ini");
    const std::string link = dir.File("link.ini");
    testsupport::WriteFile(target, "old");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    ASSERT_TRUE(platform::WriteFileAtomically(link, "new", true));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(testsupport::ReadFile(target), "new");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(AtomicWrite, FailuresNameTheFileAndChangeNothing) {
    testsupport::TempDir dir;
    EXPECT_FALSE(platform::WriteFileAtomically(dir.File("no/such/dir/x"), "x"));
    EXPECT_NE(platform::LastFileError().find("no/such/dir"), std::string::npos) << platform::LastFileError();
    EXPECT_FALSE(platform::WriteFileAtomically(dir.Path(), "x"));  // a directory is not replaced
    EXPECT_TRUE(platform::DirectoryExists(dir.Path()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 0);

    std::string bytes = "stale";
    EXPECT_FALSE(platform::ReadWholeFile(dir.File("absent"), bytes));
    EXPECT_EQ(bytes, "");
    EXPECT_NE(platform::LastFileError().find("absent"), std::string::npos);
    EXPECT_FALSE(platform::ReadWholeFile(dir.Path(), bytes));
    // A FIFO with no writer is refused at once instead of blocking the open.
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    EXPECT_FALSE(platform::ReadWholeFile(dir.File("fifo"), bytes));
}

TEST(Paths, ExistenceAndFileTimes) {
    testsupport::TempDir dir;
    const std::string path = dir.File("f");
    EXPECT_FALSE(platform::FileExists(path));
    testsupport::WriteFile(path, "x");
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_FALSE(platform::DirectoryExists(path));
    EXPECT_FALSE(platform::FileExists(dir.Path()));
    EXPECT_TRUE(platform::DirectoryExists(dir.Path()));

    ASSERT_TRUE(platform::SetFileTimes(path, 946684800, 1000000000));  // 2000-01-01, 2001-09-09
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, 946684800);
    EXPECT_EQ(info.st_atime, 1000000000);
    EXPECT_FALSE(platform::SetFileTimes(dir.File("absent"), 0, 0));
}

}  // namespace

// The process's private temporary file: owner-only, never an existing name, removed with its owner.
TEST(PrivateTempFileTest, OwnerOnlyUniqueAndRemoved) {
    testsupport::TempDir dir;
    const ScopedEnv tmp("TMPDIR", dir.Path().c_str());
    std::string path;
    {
        platform::PrivateTempFile first;
        platform::PrivateTempFile second;
        ASSERT_TRUE(first.Create("vorlix-", ".cd")) << first.ErrorText();
        ASSERT_TRUE(second.Create("vorlix-", ".cd")) << second.ErrorText();
        path = first.Path();
        EXPECT_NE(path, second.Path());
        EXPECT_EQ(platform::DirectoryOf(path), dir.Path());
        struct stat info {};
        ASSERT_EQ(lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        testsupport::WriteFile(path, "previous document");
        ASSERT_TRUE(first.Empty());
        EXPECT_EQ(testsupport::ReadFile(path), "");
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}
