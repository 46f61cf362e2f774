// Copying settings between records: what a template copy leaves out and what is never copied.
#include <gtest/gtest.h>

#include "config/DatabaseExportProfile.h"

namespace {

using config::DatabaseExportProfile;

DatabaseExportProfile Source() {
    DatabaseExportProfile p;
    auto &s = p.Settings;
    s.NSFSever = "Src/Org";
    s.ViewName = "SrcView";
    s.Query = "SELECT src";
    s.IncludeViewFolderNames = {"SrcInc"};
    s.OutputItems.Add("SrcColumn", config::kItemField, 0);
    s.OutputPath = "/src/out";
    s.SummaryFilePath = "/src/out/s.csv";
    s.OutputFile = "s.csv";
    s.LaunchOnComplete = true;
    s.DialogOnComplete = true;
    s.CreateDocs = true;
    s.Delimiter = "|";
    s.RtfAdvanced.RtfAdvancedOutputFormat = 1;
    p.RenderState.ImageCounter = 5;  // run-time state, never copied
    return p;
}

DatabaseExportProfile Target() {
    DatabaseExportProfile p;
    auto &s = p.Settings;
    s.NSFSever = "Dst/Org";
    s.ViewName = "DstView";
    s.Query = "SELECT dst";
    s.IncludeViewFolderNames = {"DstInc"};
    s.OutputItems.Add("DstColumn", config::kItemField, 0);
    s.OutputPath = "/dst/out";
    p.RenderState.ImageCounter = 9;
    return p;
}

TEST(CopySettings, ProfileAndTemplateCopies) {
    for (bool templateOnly : {false, true}) {
        DatabaseExportProfile source = Source();
        DatabaseExportProfile target = Target();
        source.CopySettings(target, templateOnly);
        const auto &t = target.Settings;
        // Copied in both cases.
        EXPECT_TRUE(t.CreateDocs);
        EXPECT_EQ(t.Delimiter, "|");
        EXPECT_EQ(t.RtfAdvanced.RtfAdvancedOutputFormat, 1);
        // Never copied: source database, view selection, columns, run-time state.
        EXPECT_EQ(t.NSFSever, "Dst/Org");
        EXPECT_EQ(t.ViewName, "DstView");
        EXPECT_EQ(t.Query, "SELECT dst");
        EXPECT_EQ(t.IncludeViewFolderNames, std::vector<std::string>{"DstInc"});
        ASSERT_EQ(t.OutputItems.Count(), 1u);
        EXPECT_EQ(t.OutputItems.Item(0).Name(), "DstColumn");
        EXPECT_EQ(target.RenderState.ImageCounter, 9);
        // Locations and completion actions only into a profile.
        EXPECT_EQ(t.OutputPath, templateOnly ? "/dst/out" : "/src/out") << templateOnly;
        EXPECT_EQ(t.SummaryFilePath, templateOnly ? "" : "/src/out/s.csv") << templateOnly;
        EXPECT_EQ(t.OutputFile, templateOnly ? "" : "s.csv") << templateOnly;
        EXPECT_EQ(t.LaunchOnComplete, !templateOnly);
        EXPECT_EQ(t.DialogOnComplete, !templateOnly);
    }
}

}  // namespace
