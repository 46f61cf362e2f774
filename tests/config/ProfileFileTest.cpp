// Profile and template files: what is written, in which order and encoding, and what reading makes of
// a file's lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "config/DatabaseExportProfile.h"
#include "platform/CodePage.h"
#include "support/TestSupport.h"

namespace {

using config::DatabaseExportProfile;
using config::ExportSettings;

const std::string kProduct = "Vorlix";
const std::string kVersion = "6.0.15";

// The lines of a saved profile, without their CR LF ends (the file is decoded first).
std::vector<std::string> SavedLines(const DatabaseExportProfile &profile, bool asTemplate) {
    std::string bytes = profile.SaveToBytes(kProduct, kVersion, asTemplate);
    std::string text = bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE'
                           ? platform::Utf16LeBytesToUtf8(bytes.substr(2))
                           : platform::AnsiToUtf8(bytes);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> Keys(const std::vector<std::string> &lines) {
    std::vector<std::string> keys;
    for (const std::string &line : lines) {
        keys.push_back(line.substr(0, line.find('=')));
    }
    return keys;
}

int Occurrences(const std::vector<std::string> &lines, const std::string &line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

bool HasKey(const std::vector<std::string> &lines, const std::string &key) {
    for (const std::string &line : lines) {
        if (line.rfind(key + "=", 0) == 0) {
            return true;
        }
    }
    return false;
}

struct WriteCase {
    const char *name;
    std::function<void(ExportSettings &)> setup;
    bool asTemplate;
    std::vector<std::string> linesPresent;  // each exactly as written
    std::vector<std::string> keysAbsent;
    std::string lineTwice;  // a line written exactly twice, when not empty
};

void PrintTo(const WriteCase &c, std::ostream *os) {
    *os << c.name;
}

class ProfileWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ProfileWriteTest, WritesTheExpectedLines) {
    const WriteCase &c = GetParam();
    DatabaseExportProfile profile;
    c.setup(profile.Settings);
    std::vector<std::string> lines = SavedLines(profile, c.asTemplate);
    for (const std::string &line : c.linesPresent) {
        EXPECT_EQ(Occurrences(lines, line), 1) << line;
    }
    for (const std::string &key : c.keysAbsent) {
        EXPECT_FALSE(HasKey(lines, key)) << key;
    }
    if (!c.lineTwice.empty()) {
        EXPECT_EQ(Occurrences(lines, c.lineTwice), 2);
    }
}

const std::vector<std::string> kLocationKeys = {"NSFSever",        "NSFFilePath", "SummaryFilePath",
                                                "OutputPath",      "OutputFile",  "LaunchOnComplete",
                                                "DialogOnComplete"};
const std::vector<std::string> kRtfFileKeys = {"CreateRTFs",
                                               "RtfFileNameFormat",
                                               "RtfFileFieldAppendFieldName",
                                               "RtfFileFieldValueAppend",
                                               "RtfFileFieldValueMaxLength",
                                               "RtfSource",
                                               "RtfSourceFieldName",
                                               "RtfFileExtension"};

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileWriteTest,
    ::testing::Values(
        WriteCase{"TemplateLeavesOutLocations",
                  [](ExportSettings &s) {
                      s.NSFSever = "Server/Org";
                      s.NSFFilePath = "mail.nsf";
                      s.OutputPath = "/out";
                      s.LaunchOnComplete = true;
                  },
                  true,
                  {"ProductName=Vorlix", "ProductVersion=6.0.15", "FileType=ExportTemplate"},
                  kLocationKeys,
                  ""},
        WriteCase{"ProfileHasLocations",
                  [](ExportSettings &s) {
                      s.NSFSever = "Server/Org";
                      s.OutputPath = "/out";
                  },
                  false,
                  {"FileType=ExportProfile", "NSFSever=Server/Org", "NSFFilePath=", "OutputPath=/out",
                   "LaunchOnComplete=0", "DialogOnComplete=0"},
                  {},
                  ""},
        WriteCase{"NoRtfKeysWithoutRtfs",
                  [](ExportSettings &s) { s.CreateRTFs = false; },
                  false,
                  {},
                  kRtfFileKeys,
                  ""},
        WriteCase{"RtfKeysWithRtfs",
                  [](ExportSettings &s) {
                      s.CreateRTFs = true;
                      s.RtfFileExtension = ".doc";
                  },
                  false,
                  {"CreateRTFs=1", "RtfFileNameFormat=0", "RtfSource=0", "RtfFileExtension=.doc"},
                  {},
                  ""},
        WriteCase{"PdfsWriteTheirFlagTwice",
                  [](ExportSettings &s) { s.CreatePdfs = true; },
                  false,
                  {"PdfFormatNameFormat=0", "PdfFormatFieldValueMaxLength=20"},
                  {},
                  "CreatePdfs=1"},
        WriteCase{"NoPdfKeysWithoutPdfs",
                  [](ExportSettings &) {},
                  false,
                  {"CreatePdfs=0"},
                  {"PdfFormatNameFormat", "PdfFormatAppendFieldName"},
                  ""},
        WriteCase{"QueryOfTwoLinesOnOneLine",
                  [](ExportSettings &s) {
                      s.SelectMethod = config::kSelectQuery;
                      s.Query = "SELECT Form = \"Memo\"\r\n& Subject != \"\"";
                  },
                  false,
                  {"Query=SELECT Form = \"Memo\"~@NL@~& Subject != \"\""},
                  {"ViewName", "FTSearch", "IncludeViewFolderNames"},
                  ""},
        WriteCase{"ViewNameOnlyForOneView",
                  [](ExportSettings &s) {
                      s.SelectMethod = config::kSelectView;
                      s.ViewName = "($All)";
                      s.Query = "SELECT @All";
                  },
                  false,
                  {"ViewName=($All)"},
                  {"Query", "FTSearch", "IncludeViewFolderNames", "ExcludeViewFolderNames"},
                  ""},
        WriteCase{"ViewListsJoinedByComma",
                  [](ExportSettings &s) {
                      s.SelectMethod = config::kSelectViews;
                      s.IncludeViewFolderNames = {"Inbox", "Projects*"};
                  },
                  false,
                  {"IncludeViewFolderNames=Inbox,Projects*", "ExcludeViewFolderNames="},
                  {"ViewName"},
                  ""},
        WriteCase{"FullTextSearch",
                  [](ExportSettings &s) {
                      s.SelectMethod = config::kSelectFtSearch;
                      s.FTSearch = "budget";
                  },
                  false,
                  {"FTSearch=budget"},
                  {"ViewName", "Query"},
                  ""},
        WriteCase{"UnknownSelectMethodWritesNoSelection",
                  [](ExportSettings &s) { s.SelectMethod = 7; },
                  false,
                  {"SelectMethod=7"},
                  {"ViewName", "Query", "FTSearch", "IncludeViewFolderNames"},
                  ""},
        WriteCase{"DelimitersInHex",
                  [](ExportSettings &s) {
                      s.Delimiter = "\t";
                      s.MVDelimiter = "; ";
                  },
                  false,
                  {"Delimiter=0009", "MVDelimiter=003B0020", "DelimiterType=0", "MVDelimiterType=1"},
                  {},
                  ""},
        WriteCase{"OutputColumns",
                  [](ExportSettings &s) {
                      s.OutputItems.Add("Subject", config::kItemField, 0);
                      s.OutputItems.Add("@Created", config::kItemFormula, 0);
                      s.OutputItems.Add("Body", config::kItemField, 1);
                  },
                  false,
                  {"OutputItems=Subject,#@Created,Body:1"},
                  {},
                  ""},
        WriteCase{"ComputedColumnByItsName",
                  [](ExportSettings &s) { s.OutputItems.Add("%universal_id", config::kItemLookup, 0); },
                  false,
                  {"OutputItems=%universal_id"},
                  {},
                  ""},
        WriteCase{"NoColumnsNoKey", [](ExportSettings &) {}, false, {}, {"OutputItems"}, ""},
        WriteCase{"LineBreakInOtherTextEscaped",
                  [](ExportSettings &s) {
                      s.DetachMethodEvalString = "@If(a;\"x\";\r\n\"y\")";
                      s.LogFileName = "a\nb";
                  },
                  false,
                  {"DetachMethodEvalString=@If(a;\"x\";~@NL@~\"y\")", "LogFileName=a~@NL@~b"},
                  {},
                  ""},
        WriteCase{
            "Defaults",
            [](ExportSettings &) {},
            false,
            {"CharacterEncoding=0", "CreateCSV=1", "DoubleQuotes=1", "SelectMethod=1", "Delimiter=002C",
             "MVDelimiter=003B", "DetachByFieldNameValueMaxLength=20", "CarrigeReturnReplaceString={[CR]}",
             "LineFeedReplaceString={[LF]}", "RtfAdvancedFieldValueMaxLength=40",
             "RtfAdvancedExtractPath=", "PdfVersionString=pdfFactory4", "PdfEditionString=pdfFactory Pro",
             "PdfTimeOut=8000", "LogFieldName=Subject"},
            {},
            ""}),
    [](const ::testing::TestParamInfo<WriteCase> &info) { return std::string(info.param.name); });

TEST(ProfileWrite, KeysInFileOrder) {
    DatabaseExportProfile profile;
    profile.Settings.SelectMethod = config::kSelectViews;
    profile.Settings.CreateRTFs = true;
    profile.Settings.CreatePdfs = true;
    profile.Settings.OutputItems.Add("Subject", config::kItemField, 0);
    const std::vector<std::string> expected = {"ProductName",
                                               "ProductVersion",
                                               "FileType",
                                               "CharacterEncoding",
                                               "NSFSever",
                                               "NSFFilePath",
                                               "CreateCSV",
                                               "CreateDocs",
                                               "CreatePdfs",
                                               "DoubleQuotes",
                                               "SelectMethod",
                                               "CopyDataToDb",
                                               "CopyDataToDbServer",
                                               "CopyDataToDbFilename",
                                               "MoveToFolder",
                                               "MoveToFolderName",
                                               "IncludeViewFolderNames",
                                               "ExcludeViewFolderNames",
                                               "QueryAllDocs",
                                               "OutputItems",
                                               "WriteFieldHeaders",
                                               "Delimiter",
                                               "DelimiterType",
                                               "MVDelimiter",
                                               "MVDelimiterType",
                                               "DetachMethod",
                                               "AttPrefixOption",
                                               "AttCreateSubDirs",
                                               "DetachMethodEvalString",
                                               "CreateViewFolderHierarchy",
                                               "ExtractAttachments",
                                               "ExtractOle",
                                               "DetachByFieldName",
                                               "DetachByFieldNameValueMaxLength",
                                               "SummaryFilePath",
                                               "OutputPath",
                                               "OutputFile",
                                               "LaunchOnComplete",
                                               "DialogOnComplete",
                                               "TextFileFormat",
                                               "TextFileNameFormat",
                                               "TextFileFieldAppendFieldName",
                                               "TextFileFieldValueAppend",
                                               "TextFileFieldValueMaxLength",
                                               "CreateRTFs",
                                               "RtfFileNameFormat",
                                               "RtfFileFieldAppendFieldName",
                                               "RtfFileFieldValueAppend",
                                               "RtfFileFieldValueMaxLength",
                                               "RtfSource",
                                               "RtfSourceFieldName",
                                               "RtfFileExtension",
                                               "CreatePdfs",
                                               "PdfFormatNameFormat",
                                               "PdfFormatAppendFieldName",
                                               "PdfFormatFieldValueAppend",
                                               "PdfFormatFieldValueMaxLength",
                                               "ControlCharCarrigeReturnOption",
                                               "ControlCharLineFeedOption",
                                               "CarrigeReturnReplaceString",
                                               "LineFeedReplaceString",
                                               "RtfAdvancedOutputFormat",
                                               "RtfAdvancedExportNotesLinks",
                                               "RtfAdvancedIncludeNotesLinks",
                                               "RtfAdvancedIncludeTableMarks",
                                               "RtfAdvancedIncludeAttMarkers",
                                               "RtfAdvancedExportImages",
                                               "RtfAdvancedIncludeImageMarkers",
                                               "RtfAdvancedEnableNotesLinks",
                                               "RtfAdvancedEnableUrlLinks",
                                               "RtfAdvancedEnableAttLinks",
                                               "RtfAdvancedJavascriptAsLibrary",
                                               "RtfAdvancedUrlRefFormat",
                                               "RtfAdvancedIncludeDocElements",
                                               "RtfAdvancedExtractMethod",
                                               "RtfAdvancedImageFilePrefixMethod",
                                               "RtfAdvancedFieldValueAppend",
                                               "RtfAdvancedValueFieldName",
                                               "RtfAdvancedFieldValueMaxLength",
                                               "RtfAdvancedExtractPath",
                                               "PdfVersionString",
                                               "PdfEditionString",
                                               "PdfTimeOut",
                                               "LogExport",
                                               "LogLevel",
                                               "LogOpenMode",
                                               "LogFileName",
                                               "LogFieldName"};
    EXPECT_EQ(Keys(SavedLines(profile, false)), expected);
}

TEST(ProfileWrite, Utf16FileStartsWithByteOrderMark) {
    DatabaseExportProfile profile;
    profile.Settings.CharacterEncoding = config::kEncodingUtf16;
    profile.Settings.LogFieldName = "Betreff \xC3\xA9\xE2\x82\xAC";  // é and €
    std::string bytes = profile.SaveToBytes(kProduct, kVersion, false);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.substr(2, 24), std::string("P\0r\0o\0d\0u\0c\0t\0N\0a\0m\0e\0=\0", 24));
    EXPECT_EQ(bytes.size() % 2, 0u);
    EXPECT_NE(bytes.find(std::string("\xE9\x00\xAC\x20\r\0\n\0", 8)), std::string::npos);
}

TEST(ProfileWrite, Utf8EncodingStillWritesAnsi) {
    DatabaseExportProfile profile;
    profile.Settings.CharacterEncoding = config::kEncodingUtf8;
    profile.Settings.LogFieldName =
        "Gr\xC3\xB6\xC3\x9F"
        "e";  // Größe
    std::string bytes = profile.SaveToBytes(kProduct, kVersion, false);
    EXPECT_EQ(bytes.rfind("ProductName=Vorlix\r\n", 0), 0u);
    EXPECT_NE(bytes.find("LogFieldName=Gr\xF6\xDF"
                         "e\r\n"),
              std::string::npos);
}

}  // namespace
