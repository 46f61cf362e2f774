// Profiles holding mistakes a user makes: values the keys do not expect (each with its warning), a
// UTF-8 byte-order mark, formula columns holding commas, and values the ANSI code page cannot hold.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/DatabaseExportProfile.h"
#include "config/ProfileKeys.h"
#include "platform/CodePage.h"

namespace {

using config::DatabaseExportProfile;
using config::ExportSettings;

const std::string kProduct = "Vorlix";
const std::string kVersion = "6.0.15";

std::string Profile(const std::vector<std::string> &lines) {
    std::string text = "ProductName=Vorlix\r\n";
    for (const std::string &line : lines) {
        text += line + "\r\n";
    }
    return text;
}

struct MistakeCase {
    const char *line;
    std::vector<std::string> warnings;  // besides none about the output columns
    bool (*kept)(const ExportSettings &);
};

TEST(ProfileMistakes, EachMistakeIsNamedWithItsKeyAndValueAndKeepsItsMeaning) {
    const MistakeCase cases[] = {
        {"CharacterEncoding=-1",
         {"Warning: profile key CharacterEncoding has the value \"-1\", which is not one of 0, 1 or 2."},
         [](const ExportSettings &s) { return s.CharacterEncoding == -1; }},
        {"SelectMethod=99",
         {"Warning: profile key SelectMethod has the value \"99\", which is not one of 1, 2, 3 or 4."},
         [](const ExportSettings &s) { return s.SelectMethod == 99; }},
        {"SelectMethod=0",
         {"Warning: profile key SelectMethod has the value \"0\", which is not one of 1, 2, 3 or 4."},
         [](const ExportSettings &s) { return s.SelectMethod == 0; }},
        {"RtfAdvancedExtractMethod=4",
         {"Warning: profile key RtfAdvancedExtractMethod has the value \"4\", which is not one of 0, 1, 2, 3 "
          "or 5."},
         [](const ExportSettings &s) { return s.RtfAdvanced.RtfAdvancedExtractMethod == 4; }},
        {"LogLevel=2147483647",
         {"Warning: profile key LogLevel has the value \"2147483647\", which is not one of 0, 1 or 2."},
         [](const ExportSettings &s) { return s.LogLevel == 2147483647; }},
        {"CreateCSV=true",
         {"Warning: profile key CreateCSV has the value \"true\", which is not 0 or 1; it is read as 0."},
         [](const ExportSettings &s) { return !s.CreateCSV; }},
        {"CreateCSV=1 ",
         {"Warning: profile key CreateCSV has the value \"1 \", which is not 0 or 1; it is read as 0."},
         [](const ExportSettings &s) { return !s.CreateCSV; }},
        {"RtfAdvancedExportImages=",
         {"Warning: profile key RtfAdvancedExportImages has the value \"\", which is not 0 or 1; it is read "
          "as 0."},
         [](const ExportSettings &s) { return !s.RtfAdvanced.RtfAdvancedExportImages; }},
        {"Delimiter=D800",
         {"Warning: profile key Delimiter has the value \"D800\", in which D800 is not a character and is "
          "left "
          "out; the delimiter is \",\"."},
         [](const ExportSettings &s) { return s.Delimiter == ","; }},
        {"MVDelimiter=FFFF",
         {"Warning: profile key MVDelimiter has the value \"FFFF\", in which FFFF is not a character and is "
          "left out; the delimiter is \";\"."},
         [](const ExportSettings &s) { return s.MVDelimiter == ";"; }},
        {"Delimiter=007CDC00",
         {"Warning: profile key Delimiter has the value \"007CDC00\", in which DC00 is not a character and "
          "is "
          "left out; the delimiter is \"|\"."},
         [](const ExportSettings &s) { return s.Delimiter == "|"; }},
        // Values the keys expect: no warning.
        {"Delimiter=D83DDE00", {}, [](const ExportSettings &s) { return s.Delimiter == "\xF0\x9F\x98\x80"; }},
        {"CreateCSV=0", {}, [](const ExportSettings &s) { return !s.CreateCSV; }},
        {"RtfAdvancedExtractMethod=5",
         {},
         [](const ExportSettings &s) { return s.RtfAdvanced.RtfAdvancedExtractMethod == 5; }},
        {"DetachByFieldNameValueMaxLength=-7",
         {},
         [](const ExportSettings &s) { return s.DetachByFieldNameValueMaxLength == -7; }},
    };
    for (const MistakeCase &c : cases) {
        DatabaseExportProfile profile;
        ASSERT_TRUE(
            profile.LoadFromBytes(Profile({c.line, "OutputItems=Subject"}), "p.xpp", kProduct, kVersion))
            << c.line;
        EXPECT_EQ(profile.Warnings(), c.warnings) << c.line;
        EXPECT_TRUE(c.kept(profile.Settings)) << c.line;
    }
}

TEST(ProfileMistakes, ProfileWithoutOutputColumnsIsNamed) {
    const struct {
        std::vector<std::string> lines;
        std::string warning;
    } cases[] = {
        {{"CreateCSV=1"},
         "Warning: profile key OutputItems has the value \"\", so the export has no output columns."},
        {{"OutputItems=,,"},
         "Warning: profile key OutputItems has the value \",,\", so the export has no output columns."},
    };
    for (const auto &c : cases) {
        DatabaseExportProfile profile;
        ASSERT_TRUE(profile.LoadFromBytes(Profile(c.lines), "p.xpp", kProduct, kVersion));
        EXPECT_EQ(profile.Warnings(), std::vector<std::string>{c.warning});
    }
    // A later clean load forgets the warnings of the earlier one.
    DatabaseExportProfile profile;
    ASSERT_TRUE(profile.LoadFromBytes(Profile({"SelectMethod=9"}), "p.xpp", kProduct, kVersion));
    EXPECT_EQ(profile.Warnings().size(), 2u);
    ASSERT_TRUE(profile.LoadFromBytes(Profile({"OutputItems=Subject"}), "p.xpp", kProduct, kVersion));
    EXPECT_TRUE(profile.Warnings().empty());
}

TEST(ProfileMistakes, EveryKeyAccessorHasTheTypeOfItsValueKind) {
    ExportSettings settings;
    for (const config::ProfileKey &key : config::ProfileKeys::Table()) {
        const config::ProfileField field = key.field(settings);
        switch (key.value) {
            case config::ProfileValue::Bool:
                EXPECT_TRUE(std::holds_alternative<bool *>(field)) << key.key;
                break;
            case config::ProfileValue::Int:
                EXPECT_TRUE(std::holds_alternative<std::int32_t *>(field)) << key.key;
                break;
            case config::ProfileValue::Text:
            case config::ProfileValue::FieldName:
            case config::ProfileValue::Delimiter:
                EXPECT_TRUE(std::holds_alternative<std::string *>(field)) << key.key;
                break;
            case config::ProfileValue::ViewList:
                EXPECT_TRUE(std::holds_alternative<std::vector<std::string> *>(field)) << key.key;
                break;
            case config::ProfileValue::Columns:
                EXPECT_TRUE(std::holds_alternative<config::OutputItems *>(field)) << key.key;
                break;
        }
        EXPECT_TRUE(key.allowed == 0 || key.value == config::ProfileValue::Int) << key.key;
    }
}

TEST(ProfileMistakes, Utf8WithByteOrderMarkIsReadAsUtf8) {
    DatabaseExportProfile profile;
    const std::string bytes =
        "\xEF\xBB\xBF" +
        Profile({"ViewName=\xD0\x97\xD0\xB0\xD0\xBA\xD0\xB0\xD0\xB7\xD1\x8B", "OutputItems=Subject"});
    ASSERT_TRUE(profile.LoadFromBytes(bytes, "p.xpp", kProduct, kVersion)) << profile.LastError();
    EXPECT_EQ(profile.Settings.ViewName, "\xD0\x97\xD0\xB0\xD0\xBA\xD0\xB0\xD0\xB7\xD1\x8B");
    // Without the mark the same bytes are ANSI, as before.
    DatabaseExportProfile ansi;
    ASSERT_TRUE(
        ansi.LoadFromBytes(Profile({"ViewName=caf\xE9", "OutputItems=Subject"}), "p", kProduct, kVersion));
    EXPECT_EQ(ansi.Settings.ViewName, "caf\xC3\xA9");
}

TEST(ProfileMistakes, FormulaColumnsSplitOnlyOutsideTheirStrings) {
    const struct {
        std::string value;
        std::vector<std::string> names;
    } cases[] = {
        {"#@Implode(Tags; \", \"),Subject", {"@Implode(Tags; \", \")", "Subject"}},
        {"#@Implode({a,b}; \",\"):1,%Count", {"@Implode({a,b}; \",\")", "%Count"}},
        {"#@Text(\"say \\\"a,b\\\"\"),Body", {"@Text(\"say \\\"a,b\\\"\")", "Body"}},
        // Field names split at every comma, as they always did.
        {"Odd\"Name,Other", {"Odd\"Name", "Other"}},
        // A formula whose string never closes splits at its next comma after all.
        {"#@Left(Subject; \"x),Body", {"@Left(Subject; \"x)", "Body"}},
    };
    for (const auto &c : cases) {
        DatabaseExportProfile profile;
        ASSERT_TRUE(profile.LoadFromBytes(Profile({"OutputItems=" + c.value}), "p", kProduct, kVersion));
        std::vector<std::string> names;
        for (std::size_t i = 0; i < profile.Settings.OutputItems.Count(); ++i) {
            names.push_back(profile.Settings.OutputItems.Item(i).Name());
        }
        EXPECT_EQ(names, c.names) << c.value;
    }
    // The round trip: written as it was, read back the same.
    DatabaseExportProfile written;
    written.Settings.OutputItems.Add("@Implode(Tags; \", \")", config::kItemFormula, 0);
    written.Settings.OutputItems.Add("Subject", config::kItemField, 0);
    const std::string bytes = written.SaveToBytes(kProduct, kVersion, false);
    EXPECT_NE(bytes.find("\r\nOutputItems=#@Implode(Tags; \", \"),Subject\r\n"), std::string::npos);
    DatabaseExportProfile read;
    ASSERT_TRUE(read.LoadFromBytes(bytes, "p", kProduct, kVersion));
    EXPECT_TRUE(read.Settings.StoredFieldsEqual(written.Settings));
}

TEST(ProfileMistakes, ValuesTheAnsiCodePageCannotHoldAreWrittenAsUtf16) {
    const std::string cyrillic = "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB4\xD0\xB0\xD0\xB6\xD0\xB8";
    for (int encoding : {config::kEncodingAnsi, config::kEncodingUtf8}) {
        DatabaseExportProfile written;
        written.Settings.CharacterEncoding = encoding;
        written.Settings.ViewName = "caf\xC3\xA9";
        const std::string ansi = written.SaveToBytes(kProduct, kVersion, false);
        EXPECT_EQ(ansi.rfind("ProductName=Vorlix\r\n", 0), 0u) << "values the code page holds stay ANSI";
        EXPECT_NE(ansi.find("ViewName=caf\xE9\r\n"), std::string::npos);

        written.Settings.ViewName = cyrillic;
        const std::string bytes = written.SaveToBytes(kProduct, kVersion, false);
        ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE") << encoding;
        EXPECT_NE(bytes.find(platform::Utf8ToUtf16LeBytes("\r\nViewName=" + cyrillic + "\r\n")),
                  std::string::npos);
        DatabaseExportProfile read;
        ASSERT_TRUE(read.LoadFromBytes(bytes, "p", kProduct, kVersion));
        EXPECT_EQ(read.Settings.ViewName, cyrillic);
        EXPECT_EQ(read.Settings.CharacterEncoding, encoding);
    }
}

}  // namespace
