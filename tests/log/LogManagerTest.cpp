// The export log: level filter, new and append modes, line formats and the bytes written.
#include <gtest/gtest.h>

#include <string>

#include "log/LogManager.h"
#include "support/TestSupport.h"

namespace {

using logging::LogManager;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

std::string Repeat(const std::string &piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

struct LevelCase {
    int configured;
    int lineLevel;
    bool written;
};

class LogLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(LogLevelTest, WritesOnlyLinesAtOrBelowTheConfiguredLevel) {
    const LevelCase c = GetParam();
    TempDir dir;
    LogManager log;
    log.Configure(true, c.configured, logging::kLogOpenAppend, dir.File("export.log"), "Subject");
    EXPECT_EQ(log.Write("line\n", c.lineLevel), c.written);
    EXPECT_EQ(ReadFile(dir.File("export.log")), c.written ? "line\r\n" : "");
}

INSTANTIATE_TEST_SUITE_P(Levels, LogLevelTest,
                         ::testing::Values(LevelCase{0, 0, true}, LevelCase{0, 1, false},
                                           LevelCase{0, 2, false}, LevelCase{1, 0, true},
                                           LevelCase{1, 1, true}, LevelCase{1, 2, false},
                                           LevelCase{2, 1, true}, LevelCase{2, 2, true}));

TEST(LogManager, DisabledLogWritesNothingAndCreatesNoFile) {
    TempDir dir;
    LogManager log;
    log.Configure(false, logging::kLogLevelHigh, logging::kLogOpenNew, dir.File("export.log"), "Subject");
    EXPECT_FALSE(log.Write("line\n", 0, true));
    EXPECT_FALSE(log.WriteBegin(1, 2, 3));
    EXPECT_EQ(ReadFile(dir.File("export.log")), "");
    EXPECT_TRUE(log.LastError().empty());
}

struct ModeCase {
    int openMode;
    std::string expected;
};

class LogOpenModeTest : public ::testing::TestWithParam<ModeCase> {};

// Two runs over the same file: mode 0 keeps only the second run, mode 1 keeps both, and in either mode the
// lines after a run's first line append.
TEST_P(LogOpenModeTest, FirstLineOfARunStartsOrAppends) {
    const ModeCase c = GetParam();
    TempDir dir;
    const std::string path = dir.File("export.log");
    WriteFile(path, "old\r\n");
    for (int run = 1; run <= 2; ++run) {
        LogManager log;
        log.Configure(true, logging::kLogLevelMedium, c.openMode, path, "Subject");
        ASSERT_TRUE(log.WriteBegin(run, 5, 30 + run));
        ASSERT_TRUE(log.Write(LogManager::ProcessingDocumentLine(run), 1));
    }
    EXPECT_EQ(ReadFile(path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, LogOpenModeTest,
    ::testing::Values(ModeCase{logging::kLogOpenNew,
                               "Begin export at  2: 5:32\r\n....Processing document: 2\r\n"},
                      ModeCase{logging::kLogOpenAppend,
                               "old\r\nBegin export at  1: 5:31\r\n....Processing document: 1\r\n"
                               "Begin export at  2: 5:32\r\n....Processing document: 2\r\n"}));

TEST(LogManager, LineTexts) {
    const struct {
        std::string actual;
        std::string expected;
    } cases[] = {
        {LogManager::BeginExportLine(9, 5, 3), "Begin export at  9: 5: 3\n"},
        {LogManager::BeginExportLine(23, 59, 10), "Begin export at 23:59:10\n"},
        {LogManager::ExportingViewLine("By Region\\Europe"), "..Exporting view/folder:By Region\\Europe\n"},
        {LogManager::ScanningViewLine("(All)"), "Scanning Views. View: (All)\n"},
        {LogManager::ScanningFolderLine("Archive"), "Scanning Folders. Folder: Archive\n"},
        {LogManager::ProcessingDocumentLine(12), "....Processing document: 12\n"},
        {LogManager::ProcessedDocumentLine(7, ""), "....Processed document: 7 []\n"},
        {LogManager::ProcessedDocumentLine(3, "Line one\r\nLine\ftwo"),
         "....Processed document: 3 [Line oneLinetwo]\n"},
        {LogManager::ProcessedDocumentLine(1, std::string(45, 'x')),
         "....Processed document: 1 [" + std::string(40, 'x') + "]\n"},
        // Forty characters, not forty bytes: each e-acute is two bytes of UTF-8.
        {LogManager::ProcessedDocumentLine(2, Repeat("\xC3\xA9", 41)),
         "....Processed document: 2 [" + Repeat("\xC3\xA9", 40) + "]\n"},
        {LogManager::ProcessedDocumentLineWithoutField(8), "....Processed document: 8\n"},
        {LogManager::OpenFailureText("/no/such/x.log"),
         "Unable to create or open log file \"/no/such/x.log\""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.actual, c.expected);
    }
}

TEST(LogManager, NoFieldOptionIsANameStartingWithABracket) {
    EXPECT_TRUE(LogManager::IsNoFieldName("[none]"));
    EXPECT_TRUE(LogManager::IsNoFieldName("["));
    EXPECT_FALSE(LogManager::IsNoFieldName(""));
    EXPECT_FALSE(LogManager::IsNoFieldName("Subject"));
    EXPECT_FALSE(LogManager::IsNoFieldName("x[none]"));
}

TEST(LogManager, WritesSingleByteTextWithCrLf) {
    TempDir dir;
    LogManager log;
    log.Configure(true, logging::kLogLevelLow, logging::kLogOpenNew, dir.File("export.log"), "Subject");
    ASSERT_TRUE(log.Write("M\xC3\xBCller\nx\r\n", 0, true));
    // The ANSI code page (windows-1252 by default) holds u-umlaut as FC; each line feed gains a CR.
    EXPECT_EQ(ReadFile(dir.File("export.log")), "M\xFCller\r\nx\r\r\n");
}

TEST(LogManager, FileIsCompleteAfterEveryLine) {
    TempDir dir;
    const std::string path = dir.File("export.log");
    LogManager log;
    log.Configure(true, logging::kLogLevelHigh, logging::kLogOpenNew, path, "Subject");
    ASSERT_TRUE(log.WriteBegin(10, 0, 0));
    EXPECT_EQ(ReadFile(path), "Begin export at 10: 0: 0\r\n");
    ASSERT_TRUE(log.Write(LogManager::ExportingViewLine("All"), 1));
    EXPECT_EQ(ReadFile(path), "Begin export at 10: 0: 0\r\n..Exporting view/folder:All\r\n");
}

TEST(LogManager, UnopenableFileFailsWithItsName) {
    TempDir dir;
    for (const std::string &name : {dir.File("missing/dir/export.log"), std::string(), dir.Path()}) {
        LogManager log;
        log.Configure(true, logging::kLogLevelLow, logging::kLogOpenNew, name, "Subject");
        EXPECT_FALSE(log.WriteBegin()) << name;
        EXPECT_EQ(log.LastError(), LogManager::OpenFailureText(name));
    }
}

}  // namespace
