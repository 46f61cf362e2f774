// INI reading and writing: Windows lookup rules, value cuts, and edits that keep the rest of the file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/IniDocument.h"
#include "platform/IniFile.h"
#include "support/TestSupport.h"

namespace {

using platform::IniDocument;

struct LookupCase {
    const char *name;
    const char *text;
    const char *section;
    const char *key;
    std::optional<std::string> expected;
};

class IniLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(IniLookup, FindsTheValueWindowsWould) {
    const LookupCase &c = GetParam();
    const IniDocument document{std::string(c.text)};
    EXPECT_EQ(document.Value(c.section, c.key), c.expected);
}

const LookupCase kLookupCases[] = {
    {"Plain", "[Notes]\nProgramPath=/opt/notes\n", "Notes", "ProgramPath", "/opt/notes"},
    {"SectionCaseIgnored", "[NOTES]\nProgramPath=x\n", "notes", "ProgramPath", "x"},
    {"KeyCaseIgnored", "[Notes]\nPROGRAMPATH=x\n", "Notes", "programpath", "x"},
    {"BlanksAroundEverything", "  [ Notes ]  \n\t ProgramPath \t=  x y  \n", "Notes", "ProgramPath", "x y"},
    {"CrLfEndings", "[A]\r\nk=v\r\n[B]\r\nk=w\r\n", "B", "k", "w"},
    {"CrOnlyEndings", "[A]\rk=v\r[B]\rk=w", "B", "k", "w"},
    {"NoFinalLineEnding", "[A]\nk=v", "A", "k", "v"},
    {"Utf8Bom", "\xEF\xBB\xBF[A]\nk=v\n", "A", "k", "v"},
    {"DoubleQuotesStripped", "[A]\nk=\"quoted value\"\n", "A", "k", "quoted value"},
    {"SingleQuotesStripped", "[A]\nk='v'\n", "A", "k", "v"},
    {"UnmatchedQuoteKept", "[A]\nk=\"v'\n", "A", "k", "\"v'"},
    {"EqualsInValueKept", "[A]\nk=a=b\n", "A", "k", "a=b"},
    {"EmptyValuePresent", "[A]\nk=\n", "A", "k", ""},
    {"FirstSectionWins", "[A]\nk=1\n[a]\nk=2\n", "A", "k", "1"},
    {"FirstKeyWins", "[A]\nk=1\nK=2\n", "A", "k", "1"},
    {"KeyOfOtherSection", "[A]\nx=1\n[B]\nk=2\n", "A", "k", std::nullopt},
    {"KeyBeforeAnySection", "k=1\n[A]\n", "A", "k", std::nullopt},
    {"CommentIsNoKey", "[A]\n;k=1\n", "A", ";k", std::nullopt},
    {"LineWithoutEqualsIsNoKey", "[A]\nk\n", "A", "k", std::nullopt},
    {"MissingSection", "[A]\nk=1\n", "B", "k", std::nullopt},
    {"UnclosedSectionHeader", "[A\nk=1\n", "A", "k", "1"},
    {"EmptyFile", "", "A", "k", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Cases, IniLookup, testing::ValuesIn(kLookupCases),
                         [](const testing::TestParamInfo<LookupCase> &info) { return info.param.name; });

struct EditCase {
    const char *name;
    const char *before;
    const char *section;
    const char *key;
    const char *value;
    const char *after;
};

class IniEdit : public testing::TestWithParam<EditCase> {};

TEST_P(IniEdit, ChangesOnlyWhatItMust) {
    const EditCase &c = GetParam();
    IniDocument document{std::string(c.before)};
    ASSERT_TRUE(document.SetValue(c.section, c.key, c.value)) << document.LastError();
    EXPECT_EQ(document.Bytes(), c.after);
    EXPECT_EQ(document.Value(c.section, c.key), std::string(c.value));
}

const EditCase kEditCases[] = {
    {"ReplaceKeepsOtherLines", "; head\r\n\r\n[A]\r\nx = 1 \r\nk=old\r\n\r\n[B]\r\nk=b\r\n", "A", "k", "new",
     "; head\r\n\r\n[A]\r\nx = 1 \r\nk=new\r\n\r\n[B]\r\nk=b\r\n"},
    {"ReplaceKeepsKeySpelling", "[Notes]\nPROGRAMPATH = old\n", "notes", "ProgramPath", "new",
     "[Notes]\nPROGRAMPATH =new\n"},
    {"ReplaceLastLineWithoutEnding", "[A]\nk=old", "A", "k", "new", "[A]\nk=new"},
    {"AppendAfterLastKeyOfSection", "[A]\nx=1\n\n[B]\ny=2\n", "A", "k", "v", "[A]\nx=1\nk=v\n\n[B]\ny=2\n"},
    {"AppendToEmptySection", "[A]\r\n[B]\r\n", "A", "k", "v", "[A]\r\nk=v\r\n[B]\r\n"},
    {"AppendWhenSectionEndsFile", "[A]\nx=1", "A", "k", "v", "[A]\nx=1\nk=v\n"},
    {"NewSectionAtEnd", "[A]\r\nx=1\r\n", "B", "k", "v", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
    {"NewSectionAfterUnterminatedLine", "[A]\nx=1", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
    {"NewSectionInEmptyFile", "", "Quorvane", "Enabled", "1", "[Quorvane]\nEnabled=1\n"},
    {"BomKept", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "2", "\xEF\xBB\xBF[A]\nk=2\n"},
    {"BomOnlyFile", "\xEF\xBB\xBF", "A", "k", "v", "\xEF\xBB\xBF[A]\nk=v\n"},
    {"EmptyValueWritten", "[A]\nk=1\n", "A", "k", "", "[A]\nk=\n"},
    {"ValueWithEqualsAndSemicolon", "", "A", "k", "a=b;c", "[A]\nk=a=b;c\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, IniEdit, testing::ValuesIn(kEditCases),
                         [](const testing::TestParamInfo<EditCase> &info) { return info.param.name; });

struct RefusedCase {
    const char *name;
    std::string section;
    std::string key;
    std::string value;
};

class IniRefusedEdit : public testing::TestWithParam<RefusedCase> {};

TEST_P(IniRefusedEdit, LeavesTheTextUnchanged) {
    const RefusedCase &c = GetParam();
    const std::string before = "[A]\nk=1\n";
    IniDocument document{before};
    EXPECT_FALSE(document.SetValue(c.section, c.key, c.value));
    EXPECT_FALSE(document.LastError().empty());
    EXPECT_EQ(document.Bytes(), before);
}

const RefusedCase kRefusedCases[] = {
    {"LineFeedInValue", "A", "k", "1\n[B]\nx=2"},
    {"CarriageReturnInValue", "A", "k", "1\rx=2"},
    {"NulInValue", "A", "k", std::string("1\0x", 3)},
    {"LineBreakInKey", "A", "k\nx", "1"},
    {"EqualsInKey", "A", "k=x", "1"},
    {"EmptyKey", "A", "  ", "1"},
    {"KeyLikeSection", "A", "[k", "1"},
    {"KeyLikeComment", "A", ";k", "1"},
    {"BracketInSection", "A]x", "k", "1"},
    {"LineBreakInSection", "A\n", "k", "1"},
};

INSTANTIATE_TEST_SUITE_P(Cases, IniRefusedEdit, testing::ValuesIn(kRefusedCases),
                         [](const testing::TestParamInfo<RefusedCase> &info) { return info.param.name; });

TEST(IniDocumentNames, ListsSectionsAndKeysOnceInFileOrder) {
    const IniDocument document{std::string("[B]\nz=1\ny=2\nZ=3\n[a]\n[b]\nw=4\n")};
    EXPECT_EQ(document.SectionNames(), (std::vector<std::string>{"B", "a"}));
    EXPECT_EQ(document.KeyNames("b"), (std::vector<std::string>{"z", "y"}));
    EXPECT_TRUE(document.KeyNames("missing").empty());
}

TEST(IniFile, MissingFileReadsEmptyAndIsCreatedByTheFirstWrite) {
    testsupport::TempDir dir;
    const std::string path = dir.File("Tool.ini");
    EXPECT_EQ(platform::ReadIniValue(path, "Notes", "ProgramPath", 15000), "");
    ASSERT_TRUE(platform::WriteIniValue(path, "Notes", "ProgramPath", "/opt/hcl/notes"));
    EXPECT_EQ(testsupport::ReadFile(path), "[Notes]\nProgramPath=/opt/hcl/notes\n");
    EXPECT_EQ(platform::ReadIniValue(path, "notes", "programpath", 15000), "/opt/hcl/notes");
}

TEST(IniFile, WriteFailsWhenTheDirectoryIsMissing) {
    testsupport::TempDir dir;
    const std::string path = dir.File("missing/Tool.ini");
    EXPECT_FALSE(platform::WriteIniValue(path, "Notes", "ProgramPath", "x"));
    EXPECT_NE(platform::LastIniError().find("missing"), std::string::npos) << platform::LastIniError();
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));
}

TEST(IniFile, OneValueWriteKeepsEveryOtherByteAndLeavesNoTemporaryFile) {
    testsupport::TempDir dir;
    const std::string path = dir.File("Tool.ini");
    const std::string before =
        "; settings\r\n[Notes]\r\nProgramPath=/old\r\nIniFilePath=/data/notes.ini\r\n\r\n"
        "[Export Settings]\nMultiOutputPath=/out\n";
    testsupport::WriteFile(path, before);
    ASSERT_TRUE(platform::WriteIniValue(path, "NOTES", "programpath", "/new"));
    std::string expected = before;
    expected.replace(expected.find("/old"), 4, "/new");
    EXPECT_EQ(testsupport::ReadFile(path), expected);
    int entries = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST(IniFile, RefusedValueLeavesTheFileAsItWas) {
    testsupport::TempDir dir;
    const std::string path = dir.File("Tool.ini");
    testsupport::WriteFile(path, "[A]\nk=1\n");
    EXPECT_FALSE(platform::WriteIniValue(path, "A", "k", "2\n[Quorvane]\nEnabled=1"));
    EXPECT_EQ(testsupport::ReadFile(path), "[A]\nk=1\n");
}

TEST(IniFile, ReadIsCutToMaxCharactersNotBytes) {
    testsupport::TempDir dir;
    const std::string path = dir.File("Tool.ini");
    std::string longValue(15001, 'x');
    ASSERT_TRUE(platform::WriteIniValue(path, "A", "long", longValue));
    EXPECT_EQ(platform::ReadIniValue(path, "A", "long", 15000), std::string(15000, 'x'));
    EXPECT_EQ(platform::ReadIniValue(path, "A", "long", 15001), longValue);

    // Two-byte characters: a cut at three characters keeps six bytes and never splits one.
    ASSERT_TRUE(platform::WriteIniValue(path, "A", "wide", "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9"));
    EXPECT_EQ(platform::ReadIniValue(path, "A", "wide", 3), "\xC3\xA9\xC3\xA9\xC3\xA9");
}

TEST(IniFile, EmptyValueReadsLikeAnAbsentKey) {
    testsupport::TempDir dir;
    const std::string path = dir.File("Tool.ini");
    testsupport::WriteFile(path, "[Quorvane]\nPassword=\nEnabled=   \n");
    EXPECT_EQ(platform::ReadIniValue(path, "Quorvane", "Password", 15000),
              platform::ReadIniValue(path, "Quorvane", "Absent", 15000));
    EXPECT_EQ(platform::ReadIniValue(path, "Quorvane", "Enabled", 15000), "");
}

TEST(IniFile, OwnerOnlyWriteRestrictsPermissionsAndOtherWritesKeepThem) {
    testsupport::TempDir dir;
    const std::string path = dir.File("Tool.ini");
    testsupport::WriteFile(path, "[A]\n");
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_TRUE(platform::WriteIniValue(path, "A", "k", "1"));
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    ASSERT_TRUE(platform::WriteIniValue(path, "Quorvane", "Password", "0A0B", true));
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

}  // namespace
