// Reading profile files: the product check, value decodings, failures and their texts, and the
// round trip of randomised records.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "config/ComputedFieldCatalogue.h"
#include "config/DatabaseExportProfile.h"
#include "platform/CodePage.h"
#include "support/TestSupport.h"

namespace {

using config::DatabaseExportProfile;
using config::ExportSettings;

const std::string kProduct = "Vorlix";
const std::string kVersion = "6.0.15";

std::string Lines(const std::vector<std::string> &lines) {
    std::string text;
    for (const std::string &line : lines) {
        text += line + "\r\n";
    }
    return text;
}

struct ReadCase {
    const char *name;
    std::vector<std::string> lines;  // after the ProductName line
    std::function<void(const ExportSettings &)> check;
};

void PrintTo(const ReadCase &c, std::ostream *os) {
    *os << c.name;
}

class ProfileReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ProfileReadTest, DecodesTheLines) {
    const ReadCase &c = GetParam();
    std::vector<std::string> lines = {"ProductName=Vorlix"};
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    DatabaseExportProfile profile;
    ASSERT_TRUE(profile.LoadFromBytes(Lines(lines), "p.xpp", kProduct, kVersion)) << profile.LastError();
    c.check(profile.Settings);
}

const config::OutputItem &Column(const ExportSettings &s, std::size_t i) {
    return s.OutputItems.Item(i);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileReadTest,
    ::testing::Values(
        ReadCase{"OnlyProductNameGivesDefaults",
                 {},
                 [](const ExportSettings &s) { EXPECT_TRUE(s.StoredFieldsEqual(ExportSettings{})); }},
        ReadCase{"QueryTokenBecomesLineBreak",
                 {"Query=SELECT a~@NL@~& b"},
                 [](const ExportSettings &s) { EXPECT_EQ(s.Query, "SELECT a\r\n& b"); }},
        ReadCase{"TabDelimiter",
                 {"Delimiter=0009"},
                 [](const ExportSettings &s) { EXPECT_EQ(s.Delimiter, "\t"); }},
        ReadCase{"TwoCharacterDelimiterFallsBack",
                 {"Delimiter=2C", "MVDelimiter=3B"},
                 [](const ExportSettings &s) {
                     EXPECT_EQ(s.Delimiter, ",");
                     EXPECT_EQ(s.MVDelimiter, ";");
                 }},
        ReadCase{"TrailingShortGroupIgnored",
                 {"Delimiter=007C00", "MVDelimiter=002000"},
                 [](const ExportSettings &s) {
                     EXPECT_EQ(s.Delimiter, "|");
                     EXPECT_EQ(s.MVDelimiter, " ");
                 }},
        ReadCase{"HexOutsideAscii",
                 {"MVDelimiter=20AC00e9"},
                 [](const ExportSettings &s) { EXPECT_EQ(s.MVDelimiter, "\xE2\x82\xAC\xC3\xA9"); }},
        ReadCase{"ViewListsSplitAtComma",
                 {"IncludeViewFolderNames=Inbox,Projects*", "ExcludeViewFolderNames=A,,B"},
                 [](const ExportSettings &s) {
                     EXPECT_EQ(s.IncludeViewFolderNames, (std::vector<std::string>{"Inbox", "Projects*"}));
                     EXPECT_EQ(s.ExcludeViewFolderNames, (std::vector<std::string>{"A", "", "B"}));
                 }},
        ReadCase{"ColumnsWithMarks",
                 {"OutputItems=Subject,#@Created,Body:1"},
                 [](const ExportSettings &s) {
                     ASSERT_EQ(s.OutputItems.Count(), 3u);
                     EXPECT_EQ(Column(s, 0).Kind(), config::kItemField);
                     EXPECT_EQ(Column(s, 0).Name(), "Subject");
                     EXPECT_EQ(Column(s, 1).Kind(), config::kItemFormula);
                     EXPECT_EQ(Column(s, 1).Name(), "@Created");
                     EXPECT_EQ(Column(s, 2).Name(), "Body");
                     EXPECT_TRUE(Column(s, 2).IsRichTextAdvanced());
                 }},
        ReadCase{"ColumnPiecesWithColons",
                 {"OutputItems=Price:abc,Price:,#@Left(Subject;\":\"):20"},
                 [](const ExportSettings &s) {
                     ASSERT_EQ(s.OutputItems.Count(), 3u);
                     EXPECT_EQ(Column(s, 0).Name(), "Price:abc");
                     EXPECT_EQ(Column(s, 0).Kind(), config::kItemField);
                     EXPECT_FALSE(Column(s, 0).IsRichTextAdvanced());
                     EXPECT_EQ(Column(s, 1).Name(), "Price");
                     EXPECT_FALSE(Column(s, 1).IsRichTextAdvanced());
                     EXPECT_EQ(Column(s, 2).Kind(), config::kItemFormula);
                     EXPECT_EQ(Column(s, 2).Name(), "@Left(Subject;\":\")");
                     EXPECT_EQ(Column(s, 2).RichTextAdvanced(), 20);
                 }},
        ReadCase{"ComputedColumnsLookedUp",
                 {"OutputItems=%universal_id,%Count,%NoSuchField"},
                 [](const ExportSettings &s) {
                     ASSERT_EQ(s.OutputItems.Count(), 3u);
                     EXPECT_EQ(Column(s, 0).Kind(), config::kItemNoteValue);
                     EXPECT_EQ(Column(s, 0).Label(), "Universal Id");
                     EXPECT_NE(Column(s, 0).Function(), nullptr);
                     EXPECT_EQ(Column(s, 1).Kind(), config::kItemEngineValue);
                     EXPECT_EQ(Column(s, 2).Kind(), config::kItemLookup);
                 }},
        ReadCase{"EmptyPiecesSkipped",
                 {"OutputItems=Subject,,:1"},
                 [](const ExportSettings &s) { EXPECT_EQ(s.OutputItems.Count(), 1u); }},
        ReadCase{"BoolOnlyOneIsTrue",
                 {"CreateCSV=2", "CreateDocs=1", "DoubleQuotes=true"},
                 [](const ExportSettings &s) {
                     EXPECT_FALSE(s.CreateCSV);
                     EXPECT_TRUE(s.CreateDocs);
                     EXPECT_FALSE(s.DoubleQuotes);
                 }},
        ReadCase{"IntStopsAtNonDigit",
                 {"PdfTimeOut=1500ms", "LogLevel=abc", "DetachMethod=", "TextFileFieldValueMaxLength=-5",
                  "RtfAdvancedFieldValueMaxLength=99999999999"},
                 [](const ExportSettings &s) {
                     EXPECT_EQ(s.PdfTimeOut, 1500);
                     EXPECT_EQ(s.LogLevel, 0);
                     EXPECT_EQ(s.DetachMethod, 0);
                     EXPECT_EQ(s.TextFileFieldValueMaxLength, -5);
                     EXPECT_EQ(s.RtfAdvanced.RtfAdvancedFieldValueMaxLength, 2147483647);
                 }},
        ReadCase{"FurtherEqualsBelongToValue",
                 {"Query=Form=\"Memo\"", "LogFileName=a=b="},
                 [](const ExportSettings &s) {
                     EXPECT_EQ(s.Query, "Form=\"Memo\"");
                     EXPECT_EQ(s.LogFileName, "a=b=");
                 }},
        ReadCase{"KeysExactWithCaseAndUnknownIgnored",
                 {"createcsv=0", " CreateCSV=0", "NoSuchKey=1", "no equals"},
                 [](const ExportSettings &s) { EXPECT_TRUE(s.CreateCSV); }},
        ReadCase{"LastOccurrenceWins",
                 {"ViewName=First", "ViewName=Second"},
                 [](const ExportSettings &s) { EXPECT_EQ(s.ViewName, "Second"); }},
        ReadCase{"NothingTrimmed",
                 {"ViewName= All ", "LogFieldName=Subject\t"},
                 [](const ExportSettings &s) {
                     EXPECT_EQ(s.ViewName, " All ");
                     EXPECT_EQ(s.LogFieldName, "Subject\t");
                 }},
        ReadCase{"MissingCreateRtfsReadsFalse",
                 {"RtfFileExtension=.doc"},
                 [](const ExportSettings &s) {
                     EXPECT_FALSE(s.CreateRTFs);
                     EXPECT_EQ(s.RtfFileExtension, ".doc");
                 }},
        ReadCase{"RichTextOptions",
                 {"RtfAdvancedOutputFormat=1", "RtfAdvancedExportImages=1", "RtfAdvancedExtractPath=/img"},
                 [](const ExportSettings &s) {
                     EXPECT_EQ(s.RtfAdvanced.RtfAdvancedOutputFormat, 1);
                     EXPECT_TRUE(s.RtfAdvanced.RtfAdvancedExportImages);
                     EXPECT_EQ(s.RtfAdvanced.RtfAdvancedExtractPath, "/img");
                 }},
        ReadCase{"FieldNamesPlainAscii",
                 {"DetachByFieldName=Customer_1", "RtfSourceFieldName=Body"},
                 [](const ExportSettings &s) {
                     EXPECT_EQ(s.DetachByFieldName, "Customer_1");
                     EXPECT_EQ(s.RtfSourceFieldName, "Body");
                 }}),
    [](const ::testing::TestParamInfo<ReadCase> &info) { return std::string(info.param.name); });

struct FailCase {
    const char *name;
    std::string bytes;
    std::string error;
};

void PrintTo(const FailCase &c, std::ostream *os) {
    *os << c.name;
}

class ProfileProductCheckTest : public ::testing::TestWithParam<FailCase> {};

TEST_P(ProfileProductCheckTest, FailsAndChangesNothing) {
    const FailCase &c = GetParam();
    DatabaseExportProfile profile;
    profile.Settings.ViewName = "Kept";
    profile.Settings.CreateCSV = false;
    ExportSettings before = profile.Settings;
    EXPECT_FALSE(profile.LoadFromBytes(c.bytes, "/x/p.xpp", kProduct, kVersion));
    EXPECT_EQ(profile.LastError(), c.error);
    EXPECT_TRUE(profile.Settings.StoredFieldsEqual(before));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileProductCheckTest,
    ::testing::Values(
        FailCase{"FirstKeyNotProductName", Lines({"ProductVersion=6.0.15", "ProductName=Vorlix"}),
                 "Invalid file format. Wrong product: "},
        FailCase{"OtherProduct", Lines({"ProductName=Exporter", "CreateCSV=1"}),
                 "Invalid file format. Wrong product: Exporter"},
        FailCase{"ProductNameCompareWithCase", Lines({"ProductName=vorlix"}),
                 "Invalid file format. Wrong product: vorlix"},
        FailCase{"FirstKnownKeyIsNotApplied", Lines({"CreateCSV=1", "ProductName=Vorlix"}),
                 "Invalid file format. Wrong product: "},
        FailCase{"OneByteOnly", "P", "Unable to check input file format for \"/x/p.xpp\""},
        FailCase{"EmptyFile", "", "Unable to check input file format for \"/x/p.xpp\""},
        FailCase{"NoKeyValueLineAtAll", "just text\r\n", "Invalid file format. Wrong product: "}),
    [](const ::testing::TestParamInfo<FailCase> &info) { return std::string(info.param.name); });

TEST(ProfileRead, Utf16FileIsRecognisedByItsMark) {
    std::string text = Lines({"ProductName=Vorlix",
                              "LogFieldName=\xE2\x82\xAC"
                              "uro",
                              "CharacterEncoding=1"});
    DatabaseExportProfile profile;
    ASSERT_TRUE(
        profile.LoadFromBytes("\xFF\xFE" + platform::Utf8ToUtf16LeBytes(text), "p", kProduct, kVersion));
    EXPECT_EQ(profile.Settings.LogFieldName,
              "\xE2\x82\xAC"
              "uro");
    EXPECT_EQ(profile.Settings.CharacterEncoding, 1);
}

TEST(ProfileRead, AnsiLinesMayEndWithLineFeedOnly) {
    DatabaseExportProfile profile;
    ASSERT_TRUE(profile.LoadFromBytes("ProductName=Vorlix\nViewName=Caf\xE9\nLogFileName=last", "p", kProduct,
                                      kVersion));
    EXPECT_EQ(profile.Settings.ViewName, "Caf\xC3\xA9");
    EXPECT_EQ(profile.Settings.LogFileName, "last");
}

TEST(ProfileRead, FieldsResetLeavesAloneKeepTheirValue) {
    DatabaseExportProfile profile;
    profile.Settings.CharacterEncoding = 1;
    profile.Settings.ViewName = "Inbox";
    profile.Settings.Query = "SELECT @All";
    profile.Settings.DelimiterType = 3;
    profile.Settings.ControlCharLineFeedOption = 2;
    profile.Settings.RtfAdvanced.RtfAdvancedJavascriptAsLibrary = true;
    profile.Settings.CreateDocs = true;                                  // reset
    profile.Settings.IncludeViewFolderNames = {"A"};                     // reset
    profile.Settings.OutputItems.Add("Subject", config::kItemField, 0);  // reset
    ASSERT_TRUE(profile.LoadFromBytes(Lines({"ProductName=Vorlix"}), "p", kProduct, kVersion));
    EXPECT_EQ(profile.Settings.CharacterEncoding, 1);
    EXPECT_EQ(profile.Settings.ViewName, "Inbox");
    EXPECT_EQ(profile.Settings.Query, "SELECT @All");
    EXPECT_EQ(profile.Settings.DelimiterType, 3);
    EXPECT_EQ(profile.Settings.ControlCharLineFeedOption, 2);
    EXPECT_TRUE(profile.Settings.RtfAdvanced.RtfAdvancedJavascriptAsLibrary);
    EXPECT_FALSE(profile.Settings.CreateDocs);
    EXPECT_TRUE(profile.Settings.IncludeViewFolderNames.empty());
    EXPECT_TRUE(profile.Settings.OutputItems.Empty());
}

TEST(ProfileRead, TemplateLeavesLocationsAtDefaults) {
    DatabaseExportProfile written;
    written.Settings.OutputPath = "/out";
    written.Settings.SummaryFilePath = "/out/s.csv";
    written.Settings.DialogOnComplete = true;
    DatabaseExportProfile read;
    ASSERT_TRUE(
        read.LoadFromBytes(written.SaveToBytes(kProduct, kVersion, true), "t.xpt", kProduct, kVersion));
    EXPECT_EQ(read.Settings.OutputPath, "");
    EXPECT_EQ(read.Settings.SummaryFilePath, "");
    EXPECT_FALSE(read.Settings.DialogOnComplete);
}

TEST(ProfileRead, LineBreaksInAnyTextSurvive) {
    DatabaseExportProfile written;
    written.Settings.DetachMethodEvalString = "@If(x;\r\n\"a\";\r\n\"b\")";
    written.Settings.CarrigeReturnReplaceString = "one\ntwo";  // a lone line feed comes back as CR LF
    written.Settings.SelectMethod = config::kSelectQuery;
    written.Settings.Query = "SELECT a\r\n| b";
    DatabaseExportProfile read;
    ASSERT_TRUE(read.LoadFromBytes(written.SaveToBytes(kProduct, kVersion, false), "p", kProduct, kVersion));
    EXPECT_EQ(read.Settings.DetachMethodEvalString, "@If(x;\r\n\"a\";\r\n\"b\")");
    EXPECT_EQ(read.Settings.CarrigeReturnReplaceString, "one\r\ntwo");
    EXPECT_EQ(read.Settings.Query, "SELECT a\r\n| b");
    EXPECT_EQ(read.Settings.LogFieldName, "Subject");  // nothing after the values was cut off
}

// Files on disk: the exact failure texts, and no partial or leftover file after a failed write.
TEST(ProfileFiles, SaveAndLoadThroughFiles) {
    testsupport::TempDir dir;
    const std::string path = dir.File("export.xpp");
    DatabaseExportProfile written;
    written.Settings.NSFFilePath = "mail/archive.nsf";
    ASSERT_TRUE(written.SaveToFile(path, kProduct, kVersion, false)) << written.LastError();
    DatabaseExportProfile read;
    ASSERT_TRUE(read.LoadFromFile(path, kProduct, kVersion)) << read.LastError();
    EXPECT_EQ(read.Settings.NSFFilePath, "mail/archive.nsf");
}

TEST(ProfileFiles, FailureTexts) {
    testsupport::TempDir dir;
    DatabaseExportProfile profile;
    const std::string missingDir = dir.File("missing/export.xpp");
    EXPECT_FALSE(profile.SaveToFile(missingDir, kProduct, kVersion, false));
    EXPECT_EQ(profile.LastError(), "Unable to create or open output file \"" + missingDir + "\"");
    EXPECT_FALSE(std::filesystem::exists(dir.File("missing")));

    EXPECT_FALSE(profile.LoadFromFile(missingDir, kProduct, kVersion));
    EXPECT_EQ(profile.LastError(), "Unable to open input file \"" + missingDir + "\"");

    const std::string tiny = dir.File("tiny.xpp");
    testsupport::WriteFile(tiny, "P");
    EXPECT_FALSE(profile.LoadFromFile(tiny, kProduct, kVersion));
    EXPECT_EQ(profile.LastError(), "Unable to check input file format for \"" + tiny + "\"");
}

TEST(ProfileFiles, FailedWriteLeavesTheGoodFileWhole) {
    testsupport::TempDir dir;
    const std::string path = dir.File("export.xpp");
    DatabaseExportProfile good;
    good.Settings.ViewName = "Good";
    ASSERT_TRUE(good.SaveToFile(path, kProduct, kVersion, false));
    const std::string before = testsupport::ReadFile(path);
    // A directory where the file should go cannot be replaced; the file beside it stays as it was and
    // no temporary file is left behind.
    std::filesystem::create_directory(dir.File("blocked.xpp"));
    DatabaseExportProfile other;
    EXPECT_FALSE(other.SaveToFile(dir.File("blocked.xpp"), kProduct, kVersion, false));
    EXPECT_EQ(testsupport::ReadFile(path), before);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto &entry : std::filesystem::directory_iterator(dir.Path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 2u);
}

// Randomised records over every stored field survive a write and a read.
class RandomRecord {
public:
    explicit RandomRecord(unsigned seed) : m_random(seed) {}

    ExportSettings Make() {
        ExportSettings s;
        s.CharacterEncoding = Pick(3);
        const bool ansi = s.CharacterEncoding != config::kEncodingUtf16;
        auto text = [&] { return Text(ansi); };
        s.NSFSever = text();
        s.NSFFilePath = text();
        s.CreateCSV = Bool();
        s.CreateDocs = Bool();
        s.CreatePdfs = Bool();
        s.DoubleQuotes = Bool();
        s.SelectMethod = Pick(6);
        s.CopyDataToDb = Bool();
        s.CopyDataToDbServer = text();
        s.CopyDataToDbFilename = text();
        s.MoveToFolder = Bool();
        s.MoveToFolderName = text();
        // The selection fields that the method does not write keep their defaults.
        if (s.SelectMethod == config::kSelectView) {
            s.ViewName = text();
        }
        if (s.SelectMethod == config::kSelectViews) {
            s.IncludeViewFolderNames = List(ansi);
            s.ExcludeViewFolderNames = List(ansi);
        }
        if (s.SelectMethod == config::kSelectQuery) {
            s.Query = text();
        }
        if (s.SelectMethod == config::kSelectFtSearch) {
            s.FTSearch = text();
        }
        s.QueryAllDocs = Bool();
        Columns(s.OutputItems, ansi);
        s.WriteFieldHeaders = Bool();
        s.Delimiter = Delimiter(ansi);
        s.DelimiterType = Int();
        s.MVDelimiter = Delimiter(ansi);
        s.MVDelimiterType = Int();
        s.DetachMethod = Int();
        s.AttPrefixOption = Int();
        s.AttCreateSubDirs = Bool();
        s.DetachMethodEvalString = text();
        s.CreateViewFolderHierarchy = Bool();
        s.ExtractAttachments = Bool();
        s.ExtractOle = Bool();
        s.DetachByFieldName = text();
        s.DetachByFieldNameValueMaxLength = Int();
        s.SummaryFilePath = text();
        s.OutputPath = text();
        s.OutputFile = text();
        s.LaunchOnComplete = Bool();
        s.DialogOnComplete = Bool();
        s.TextFileFormat = Int();
        s.TextFileNameFormat = Int();
        s.TextFileFieldAppendFieldName = text();
        s.TextFileFieldValueAppend = Bool();
        s.TextFileFieldValueMaxLength = Int();
        s.CreateRTFs = Bool();
        if (s.CreateRTFs) {
            s.RtfFileNameFormat = Int();
            s.RtfFileFieldAppendFieldName = text();
            s.RtfFileFieldValueAppend = Bool();
            s.RtfFileFieldValueMaxLength = Int();
            s.RtfSource = Int();
            s.RtfSourceFieldName = text();
            s.RtfFileExtension = text();
        }
        if (s.CreatePdfs) {
            s.PdfFormatNameFormat = Int();
            s.PdfFormatAppendFieldName = text();
            s.PdfFormatFieldValueAppend = Bool();
            s.PdfFormatFieldValueMaxLength = Int();
        }
        s.ControlCharCarrigeReturnOption = Int();
        s.ControlCharLineFeedOption = Int();
        s.CarrigeReturnReplaceString = text();
        s.LineFeedReplaceString = text();
        auto &r = s.RtfAdvanced;
        r.RtfAdvancedOutputFormat = Int();
        r.RtfAdvancedExportNotesLinks = Bool();
        r.RtfAdvancedIncludeNotesLinks = Bool();
        r.RtfAdvancedIncludeTableMarks = Bool();
        r.RtfAdvancedIncludeAttMarkers = Bool();
        r.RtfAdvancedExportImages = Bool();
        r.RtfAdvancedIncludeImageMarkers = Bool();
        r.RtfAdvancedEnableNotesLinks = Bool();
        r.RtfAdvancedEnableUrlLinks = Bool();
        r.RtfAdvancedEnableAttLinks = Bool();
        r.RtfAdvancedJavascriptAsLibrary = Bool();
        r.RtfAdvancedUrlRefFormat = Int();
        r.RtfAdvancedIncludeDocElements = Bool();
        r.RtfAdvancedExtractMethod = Int();
        r.RtfAdvancedImageFilePrefixMethod = Int();
        r.RtfAdvancedFieldValueAppend = Bool();
        r.RtfAdvancedValueFieldName = text();
        r.RtfAdvancedFieldValueMaxLength = Int();
        r.RtfAdvancedExtractPath = text();
        s.PdfVersionString = text();
        s.PdfEditionString = text();
        s.PdfTimeOut = Int();
        s.LogExport = Bool();
        s.LogLevel = Int();
        s.LogOpenMode = Int();
        s.LogFileName = text();
        s.LogFieldName = text();
        return s;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    bool Bool() { return Pick(2) == 1; }
    std::int32_t Int() {
        switch (Pick(4)) {
            case 0:
                return 0;
            case 1:
                return Pick(100);
            case 2:
                return -Pick(100000);
            default:
                return std::uniform_int_distribution<std::int32_t>(INT32_MIN, INT32_MAX)(m_random);
        }
    }
    // Text with line breaks (as CR LF pairs), equals signs, tildes and, in UTF-16 files, characters
    // beyond any code page.
    std::string Text(bool ansi) {
        static const std::vector<std::string> ansiPieces = {
            "a", "Z", "9", " ", "=", "~", "@", "\\", "/", "\"", ";", ",", "\r\n", "\xC3\xA9", "\xE2\x82\xAC",
            "\t"};
        static const std::vector<std::string> widePieces = {"\xE6\x97\xA5", "\xD0\x96", "\xF0\x9F\x98\x80"};
        std::string out;
        int length = Pick(12);
        for (int i = 0; i < length; ++i) {
            if (!ansi && Pick(4) == 0) {
                out += widePieces[static_cast<std::size_t>(Pick(static_cast<int>(widePieces.size())))];
            } else {
                out += ansiPieces[static_cast<std::size_t>(Pick(static_cast<int>(ansiPieces.size())))];
            }
        }
        return out;
    }
    std::string Name(bool ansi) {
        std::string out;
        do {
            out = Text(ansi);
            std::erase(out, ',');
        } while (out.empty());
        return out;
    }
    std::vector<std::string> List(bool ansi) {
        std::vector<std::string> out(static_cast<std::size_t>(Pick(4)));
        for (auto &entry : out) {
            entry = Name(ansi);
        }
        return out;
    }
    std::string Delimiter(bool ansi) {
        std::string out;
        do {
            out = Text(ansi);
        } while (out.empty());
        return out;
    }
    void Columns(config::OutputItems &items, bool ansi) {
        const auto &catalogue = config::ComputedFieldCatalogue::Entries();
        int count = Pick(5);
        for (int i = 0; i < count; ++i) {
            int rta = Bool() ? 0 : Pick(30);
            switch (Pick(3)) {
                case 0: {
                    std::string name = "F" + Name(ansi);  // a field name begins with neither # nor %
                    std::erase(name, ':');
                    items.Add(name, config::kItemField, rta);
                    break;
                }
                case 1: {
                    // A formula whose strings are closed, sometimes with a comma inside one.
                    std::string name = Name(ansi);
                    std::erase_if(name, [](char c) { return c == '"' || c == '{' || c == '}'; });
                    items.Add(Bool() ? "@Text(" + name + ")" : "@Implode(" + name + "; \", \"; {,})",
                              config::kItemFormula, rta);
                    break;
                }
                default: {
                    const auto &entry = catalogue[static_cast<std::size_t>(Pick(13))];
                    items.Add(entry.name, config::kItemLookup, rta);
                    break;
                }
            }
        }
    }

    std::mt19937 m_random;
};

TEST(ProfileRoundTrip, RandomRecordsComeBackEqual) {
    for (unsigned seed = 1; seed <= 400; ++seed) {
        DatabaseExportProfile written;
        written.Settings = RandomRecord(seed).Make();
        const bool asTemplate = false;
        DatabaseExportProfile read;
        ASSERT_TRUE(
            read.LoadFromBytes(written.SaveToBytes(kProduct, kVersion, asTemplate), "p", kProduct, kVersion))
            << "seed " << seed << ": " << read.LastError();
        EXPECT_TRUE(read.Settings.StoredFieldsEqual(written.Settings)) << "seed " << seed;
    }
}

}  // namespace
