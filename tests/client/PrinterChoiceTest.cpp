// The stand-in printer's reading of the registry store the program writes: which default printer and
// driver version a job goes to and what it does, and clearing OutputFile in the program's format.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../platform/ScopedEnv.h"
#include "platform/Registry.h"
#include "spool/PrinterChoice.h"
#include "support/TestSupport.h"

namespace {

using platform::Registry;
using platform::RegistryHive;
using standin::spool::RegistryStore;

constexpr char kWindows[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Windows";
constexpr char kWindowsNt[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
constexpr char kV3[] = "Software\\FinePrint Software\\pdfFactory3";
constexpr char kV4[] = "Software\\FinePrint Software\\pdfFactory4";
constexpr char kPro4Data[] =
    "Software\\FinePrint Software\\pdfFactory4\\FinePrinters\\pdfFactory Pro\\PrinterDriverData";
constexpr char kPro3Data[] =
    "Software\\FinePrint Software\\pdfFactory3\\FinePrinters\\pdfFactory Pro\\PrinterDriverData";
constexpr char kStandin[] = "Software\\Vorlix Standin\\Printer";

struct Write {
    const char *key;
    const char *name;
    const char *text;  // null: a DWORD
    std::uint32_t dword = 0;
};

struct ChoiceCase {
    const char *name;
    std::vector<Write> writes;  // on top of a pdfFactory Pro default printer of version 4, set to print
    bool prints;
    const char *versionKeyOrReason;  // the version key when it prints, else a part of the reason
    std::uint32_t delayMs = 0;
    bool silent = false;
};

class PrinterChoiceTest : public ::testing::TestWithParam<ChoiceCase> {
protected:
    testsupport::TempDir m_dir;
    platformtest::ScopedEnv m_env{"VORLIX_REGISTRY", m_dir.File("registry.ini").c_str()};
};

TEST_P(PrinterChoiceTest, FollowsTheRegistry) {
    std::vector<Write> writes = {{kWindows, "Device", "pdfFactory Pro,winspool,FPP4:"},
                                 {kPro4Data, "ShowDlg", nullptr, 2},
                                 {kPro4Data, "PdfAction", nullptr, 0},
                                 {kV4, "OutputFile", "/out/a.pdf"}};
    writes.insert(writes.end(), GetParam().writes.begin(), GetParam().writes.end());
    for (const Write &w : writes) {
        ASSERT_TRUE(w.text != nullptr
                        ? Registry::SetString(RegistryHive::CurrentUser, w.key, w.name, w.text)
                        : Registry::SetDword(RegistryHive::CurrentUser, w.key, w.name, w.dword));
    }
    RegistryStore store;
    ASSERT_TRUE(store.Load(m_dir.File("registry.ini")));
    standin::spool::PrinterChoice c = standin::spool::ChoosePrinter(store);
    ASSERT_EQ(c.prints, GetParam().prints) << c.reason;
    if (c.prints) {
        EXPECT_EQ(c.versionKey, GetParam().versionKeyOrReason);
        EXPECT_EQ(c.delayMs, GetParam().delayMs);
        EXPECT_EQ(c.silent, GetParam().silent);
    } else {
        EXPECT_NE(c.reason.find(GetParam().versionKeyOrReason), std::string::npos) << c.reason;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrinterChoiceTest,
    ::testing::Values(
        ChoiceCase{"Prints", {}, true, kV4},
        ChoiceCase{"DeviceUnderTheNtKey",
                   {{kWindows, "Device", ""}, {kWindowsNt, "Device", "pdfFactory Pro,x"}},
                   true,
                   kV4},
        ChoiceCase{"DialogShown", {{kPro4Data, "ShowDlg", nullptr, 1}}, false, "ShowDlg"},
        ChoiceCase{
            "VersionWaitingForAFile",
            {{kPro3Data, "ShowDlg", nullptr, 2}, {kV3, "OutputFile", "/out/b.pdf"}, {kV4, "OutputFile", ""}},
            true,
            kV3},
        ChoiceCase{
            "VersionOfTheStandinSetting", {{kStandin, "Version", "pdfFactory8"}}, false, "not a PDF printer"},
        ChoiceCase{
            "OtherEdition", {{kWindows, "Device", "pdfFactory,winspool,FPP4:"}}, false, "\"pdfFactory\""},
        ChoiceCase{"NoFileNamed", {{kV4, "OutputFile", ""}}, false, "OutputFile is empty"},
        ChoiceCase{"SlowAndSilent",
                   {{kStandin, "DelayMs", nullptr, 250}, {kStandin, "Silent", nullptr, 1}},
                   true,
                   kV4,
                   250,
                   true}),
    [](const auto &info) { return std::string(info.param.name); });

// The printer clears OutputFile in the program's format (escapes, names in any case) only while it
// names its own file, and leaves every other value as it was.
TEST(RegistryStoreTest, ClearsOnlyItsOwnOutputFile) {
    testsupport::TempDir dir;
    const std::string path = dir.File("registry.ini");
    platformtest::ScopedEnv env("VORLIX_REGISTRY", path.c_str());
    const std::string pdf = " /out/50% done/Bericht \"Ä\"=1.pdf";
    ASSERT_TRUE(Registry::SetString(RegistryHive::CurrentUser, kV4, "OutputFile", pdf));
    ASSERT_TRUE(Registry::SetDword(RegistryHive::CurrentUser, kV4, "Other", 7));
    std::string error;
    ASSERT_TRUE(RegistryStore::ClearStringIf(path, "software\\fineprint software\\PDFFACTORY4", "outputfile",
                                             "/out/other.pdf", error));
    EXPECT_EQ(Registry::GetString(RegistryHive::CurrentUser, kV4, "OutputFile"), pdf);
    ASSERT_TRUE(RegistryStore::ClearStringIf(path, "software\\fineprint software\\PDFFACTORY4", "outputfile",
                                             pdf, error))
        << error;
    EXPECT_EQ(Registry::GetString(RegistryHive::CurrentUser, kV4, "OutputFile"), "");
    EXPECT_EQ(Registry::GetDword(RegistryHive::CurrentUser, kV4, "Other"), 7u);
}

}  // namespace
