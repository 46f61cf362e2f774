// File and directory names built from Notes values: reserved characters, dot names, directory levels.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "export/CreateDirectoryPath.h"
#include "export/OutputNameRegistry.h"
#include "export/SanitizeFileName.h"
#include "support/TestSupport.h"

namespace {

using exporter::CreateDirectoryPath;
using exporter::RelativeDirectoryPath;
using exporter::SanitizeFileName;

struct NameCase {
    const char *input;
    bool keepBackslash;
    const char *expected;
};

class SanitizeFileNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(SanitizeFileNameTest, ReplacesReservedAndControlCharactersAndTrims) {
    const NameCase &c = GetParam();
    const auto reserved =
        c.keepBackslash ? exporter::kReservedWithoutBackslash : exporter::kReservedFileNameCharacters;
    EXPECT_EQ(SanitizeFileName(c.input, reserved), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Names, SanitizeFileNameTest,
                         ::testing::Values(NameCase{"Plain name", false, "Plain name"},
                                           NameCase{"a\\b/c:d*e?f\"g<h>i|j", false, "a~b~c~d~e~f~g~h~i~j"},
                                           NameCase{"a\\b/c", true, "a\\b~c"},
                                           NameCase{"tab\there\x01\x1f", false, "tab~here~~"},
                                           NameCase{"  padded  ", false, "padded"},
                                           NameCase{"   ", false, ""},
                                           NameCase{"\x7f\xc3\xa9t\xc3\xa9", false, "\x7f\xc3\xa9t\xc3\xa9"},
                                           NameCase{"..", false, "~~"}, NameCase{" . ", false, "~"},
                                           NameCase{"...", false, "..."}, NameCase{"..a", false, "..a"}));

struct LevelCase {
    const char *value;
    const char *expected;
};

class RelativeDirectoryPathTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(RelativeDirectoryPathTest, BackslashesBecomeLevelsThatStayInside) {
    EXPECT_EQ(RelativeDirectoryPath(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, RelativeDirectoryPathTest,
    ::testing::Values(LevelCase{"Sales", "Sales"}, LevelCase{"Archive\\Old", "Archive/Old"},
                      LevelCase{"..\\..\\etc", "~~/~~/etc"}, LevelCase{"\\abs\\path", "abs/path"},
                      LevelCase{"/etc/passwd", "~etc~passwd"}, LevelCase{"a\\\\ \\b\\", "a/b"},
                      LevelCase{"\\\\", ""}, LevelCase{"C:\\Windows", "C~/Windows"},
                      LevelCase{" By Date \\ 2008 ", "By Date/2008"}));

bool IsDirectory(const std::string &path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

TEST(CreateDirectoryPathTest, CreatesEveryMissingLevel) {
    testsupport::TempDir dir;
    const std::string path = dir.File("one/two/three");
    EXPECT_EQ(CreateDirectoryPath(path + "/"), path);
    EXPECT_TRUE(IsDirectory(path));
    // An existing directory is returned as it is.
    EXPECT_EQ(CreateDirectoryPath(path), path);
}

TEST(CreateDirectoryPathTest, TrimsBlanksOfNewLevels) {
    testsupport::TempDir dir;
    EXPECT_EQ(CreateDirectoryPath(dir.Path() + "/ sub /  deeper "), dir.Path() + "/sub/deeper");
    EXPECT_TRUE(IsDirectory(dir.Path() + "/sub/deeper"));
}

TEST(CreateDirectoryPathTest, FailsWhenALevelIsAFile) {
    testsupport::TempDir dir;
    testsupport::WriteFile(dir.File("file"), "x");
    EXPECT_EQ(CreateDirectoryPath(dir.File("file")), "");
    EXPECT_EQ(CreateDirectoryPath(dir.File("file/below")), "");
    EXPECT_EQ(CreateDirectoryPath(""), "");
}

}  // namespace

// A run numbers a second file of the same name (in any letter case) instead of replacing the first.
TEST(OutputNameRegistryTest, NumbersNamesAlreadyWrittenInTheRun) {
    exporter::OutputNameRegistry names;
    const struct {
        const char *path;
        const char *expected;
        bool renamed;
    } claims[] = {
        {"out/a.b.txt", "out/a.b.txt", false}, {"out/A.B.TXT", "out/A2.B.TXT", true},
        {"out/a.b.txt", "out/a3.b.txt", true}, {"out/readme", "out/readme", false},
        {"out/readme", "out/readme2", true},   {"o.d/readme2", "o.d/readme2", false},
        {"o.d/readme2", "o.d/readme22", true}, {"other/a.b.txt", "other/a.b.txt", false},
    };
    for (const auto &c : claims) {
        EXPECT_EQ(names.Claim(c.path), c.expected) << c.path;
        EXPECT_EQ(names.LastClaimRenamed(), c.renamed) << c.path;
    }
    names.Record("out/x.txt");
    EXPECT_EQ(names.Claim("out/X.txt"), "out/X2.txt");
}
