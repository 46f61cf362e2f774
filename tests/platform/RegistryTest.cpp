// The file-backed registry: typed values, case-insensitive keys, escaping, and the two writers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScopedEnv.h"
#include "platform/IniDocument.h"
#include "platform/Registry.h"
#include "platform/RegistryWriters.h"
#include "platform/UserInterface.h"
#include "support/TestSupport.h"

namespace {

using platform::Registry;
using platform::RegistryHive;
using platformtest::ScopedEnv;

constexpr char kPrinterKey[] = "Software\\FinePrint Software\\pdfFactory4\\FinePrinters\\pdfFactory";

class RegistryStore : public testing::Test {
protected:
    testsupport::TempDir m_dir;
    std::string m_path = m_dir.File("registry.ini");
    ScopedEnv m_env{"VORLIX_REGISTRY", m_path.c_str()};
};

// Records the messages shown instead of showing them.
class RecordingUi : public platform::UserInterface {
public:
    RecordingUi() : m_previous(platform::SetUi(this)) {}
    ~RecordingUi() override { platform::SetUi(m_previous); }
    platform::MessageAnswer Message(const std::string &text, const std::string &, platform::MessageIcon,
                                    platform::MessageButtons) override {
        messages.push_back(text);
        return platform::MessageAnswer::Ok;
    }
    void Progress(long, long) override {}
    void Status(const std::string &) override {}
    std::vector<std::string> messages;

private:
    platform::UserInterface *m_previous;
};

TEST_F(RegistryStore, StorePathFollowsTheEnvironment) {
    EXPECT_EQ(Registry::StorePath(), m_path);
    const ScopedEnv none("VORLIX_REGISTRY", nullptr);
    const ScopedEnv config("XDG_CONFIG_HOME", "/xdg/config");
    EXPECT_EQ(Registry::StorePath(), "/xdg/config/vorlix/registry.ini");
}

TEST_F(RegistryStore, ValuesRoundTripWithTheirTypes) {
    EXPECT_FALSE(Registry::KeyExists(RegistryHive::CurrentUser, kPrinterKey));
    EXPECT_FALSE(Registry::GetString(RegistryHive::CurrentUser, kPrinterKey, "OutputFile"));

    ASSERT_TRUE(Registry::SetString(RegistryHive::CurrentUser, kPrinterKey, "OutputFile", "/out/a b.pdf"));
    ASSERT_TRUE(Registry::SetDword(RegistryHive::CurrentUser, kPrinterKey, "ShowDialog", 0xDEADBEEF));
    ASSERT_TRUE(Registry::SetString(RegistryHive::CurrentUser, kPrinterKey, "", "default"));

    EXPECT_EQ(Registry::GetString(RegistryHive::CurrentUser, kPrinterKey, "outputfile"), "/out/a b.pdf");
    EXPECT_EQ(Registry::GetDword(RegistryHive::CurrentUser, kPrinterKey, "SHOWDIALOG"), 0xDEADBEEFu);
    EXPECT_EQ(Registry::GetString(RegistryHive::CurrentUser, kPrinterKey, ""), "default");
    // The wrong type, the other hive and another value name are all absent.
    EXPECT_FALSE(Registry::GetDword(RegistryHive::CurrentUser, kPrinterKey, "OutputFile"));
    EXPECT_FALSE(Registry::GetString(RegistryHive::CurrentUser, kPrinterKey, "ShowDialog"));
    EXPECT_FALSE(Registry::GetString(RegistryHive::LocalMachine, kPrinterKey, "OutputFile"));
    EXPECT_FALSE(Registry::GetString(RegistryHive::CurrentUser, kPrinterKey, "@"));

    // Replacing a value keeps one line for it and the other values untouched.
    ASSERT_TRUE(Registry::SetString(RegistryHive::CurrentUser, kPrinterKey, "OUTPUTFILE", ""));
    EXPECT_EQ(Registry::GetString(RegistryHive::CurrentUser, kPrinterKey, "OutputFile"), "");
    EXPECT_EQ(Registry::GetDword(RegistryHive::CurrentUser, kPrinterKey, "ShowDialog"), 0xDEADBEEFu);
    const platform::IniDocument file{testsupport::ReadFile(m_path)};
    EXPECT_EQ(file.SectionNames().size(), 1u);
    EXPECT_EQ(file.KeyNames(file.SectionNames().front()).size(), 3u);
}

TEST_F(RegistryStore, AwkwardNamesAndTextsSurviveTheFile) {
    const std::vector<std::string> texts = {
        " leading and trailing ", "\"quoted\"", "line\r\nbreak", "100% = [x]; @", "caf\xC3\xA9", "'", "",
    };
    for (const std::string &text : texts) {
        const std::string name = "n" + text;
        ASSERT_TRUE(Registry::SetString(RegistryHive::LocalMachine, "SOFTWARE\\Odd [key] ", name, text));
    }
    for (const std::string &text : texts) {
        EXPECT_EQ(Registry::GetString(RegistryHive::LocalMachine, "software\\odd [KEY] ", "n" + text), text)
            << text;
    }
    // A stored text is one line of the file.
    EXPECT_EQ(testsupport::ReadFile(m_path).find("line\r\n"), std::string::npos);
}

TEST_F(RegistryStore, KeysAreCaseInsensitiveAndExistThroughTheirSubkeys) {
    ASSERT_TRUE(Registry::CreateKey(RegistryHive::LocalMachine, "SOFTWARE\\Lotus\\Notes\\9.0"));
    ASSERT_TRUE(
        Registry::SetString(RegistryHive::LocalMachine, "software\\lotus\\notes\\10.0", "Path", "/a"));
    ASSERT_TRUE(Registry::CreateKey(RegistryHive::LocalMachine, "\\SOFTWARE\\\\Lotus\\Notes\\9.0\\"));
    ASSERT_TRUE(Registry::CreateKey(RegistryHive::CurrentUser, "SOFTWARE\\Lotus\\Notes\\8.0"));

    EXPECT_TRUE(Registry::KeyExists(RegistryHive::LocalMachine, "Software\\LOTUS"));
    EXPECT_TRUE(Registry::KeyExists(RegistryHive::LocalMachine, "software\\lotus\\notes\\9.0"));
    EXPECT_FALSE(Registry::KeyExists(RegistryHive::LocalMachine, "software\\lotus\\notes\\8.0"));
    EXPECT_FALSE(Registry::KeyExists(RegistryHive::LocalMachine, "software\\lot"));
    EXPECT_EQ(Registry::SubKeyNames(RegistryHive::LocalMachine, "Software\\Lotus\\Notes"),
              (std::vector<std::string>{"10.0", "9.0"}));
    EXPECT_EQ(Registry::SubKeyNames(RegistryHive::CurrentUser, "SOFTWARE\\Lotus\\Notes"),
              (std::vector<std::string>{"8.0"}));
    EXPECT_TRUE(Registry::SubKeyNames(RegistryHive::CurrentUser, "SOFTWARE\\Lotus\\Notes\\8.0").empty());

    // Creating an existing key does not add a second section for it.
    const platform::IniDocument file{testsupport::ReadFile(m_path)};
    EXPECT_EQ(file.SectionNames().size(), 3u);
}

TEST_F(RegistryStore, BrokenStoreLinesAreIgnored) {
    testsupport::WriteFile(m_path,
                           "garbage\n[HKEY_CURRENT_USER\\K]\nA=dword:XYZ\nB=dword:123456789\nC=nothing\n"
                           "D=dword:2a\nE=sz:%4\n");
    EXPECT_FALSE(Registry::GetDword(RegistryHive::CurrentUser, "K", "A"));
    EXPECT_FALSE(Registry::GetDword(RegistryHive::CurrentUser, "K", "B"));
    EXPECT_FALSE(Registry::GetString(RegistryHive::CurrentUser, "K", "C"));
    EXPECT_EQ(Registry::GetDword(RegistryHive::CurrentUser, "K", "D"), 42u);
    EXPECT_EQ(Registry::GetString(RegistryHive::CurrentUser, "K", "E"), "%4");
}

TEST_F(RegistryStore, WritersCreateTheKeyAndReportFailuresTheirOwnWay) {
    RecordingUi ui;
    ASSERT_TRUE(platform::WriteRegistryDword(RegistryHive::CurrentUser, kPrinterKey, "ShowDialog", 0));
    ASSERT_TRUE(
        platform::WriteRegistryString(RegistryHive::CurrentUser, kPrinterKey, "OutputFile", "/o.pdf"));
    EXPECT_EQ(Registry::GetDword(RegistryHive::CurrentUser, kPrinterKey, "ShowDialog"), 0u);
    EXPECT_EQ(Registry::GetString(RegistryHive::CurrentUser, kPrinterKey, "OutputFile"), "/o.pdf");
    EXPECT_TRUE(ui.messages.empty());

    const std::string unwritable = m_dir.File("missing/registry.ini");
    const ScopedEnv env("VORLIX_REGISTRY", unwritable.c_str());
    EXPECT_FALSE(platform::WriteRegistryString(RegistryHive::CurrentUser, kPrinterKey, "OutputFile", "x"));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(platform::WriteRegistryDword(RegistryHive::CurrentUser, kPrinterKey, "ShowDialog", 1));
    // A hive's own values: the key is there, only the value write fails.
    EXPECT_FALSE(platform::WriteRegistryDword(RegistryHive::CurrentUser, "", "ShowDialog", 1));
    EXPECT_EQ(ui.messages, (std::vector<std::string>{"Unable to get key", "Unable to write Value"}));
}

}  // namespace
