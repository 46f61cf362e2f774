// Detection and start with scripted answers, and the restart after the settings changed, against the
// stand-in runtime of the build.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "notes/NotesApi.h"
#include "notes/NotesDetection.h"
#include "notes/NotesLibrary.h"
#include "notes/NotesSession.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"
#include "platform/Paths.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// Answers the questions of a detection run from a script and records them.
class ScriptedDialogs : public notes::DiscoveryDialogs {
public:
    bool AskRetry(const std::string &text, const std::string &caption) override {
        retryQuestions.push_back(caption + ": " + text);
        if (onRetry) {
            onRetry();
        }
        return retry && retryQuestions.size() == 1;
    }
    std::optional<std::size_t> ChooseProgramPath(const std::vector<std::string> &candidates,
                                                 std::optional<std::size_t> current) override {
        programLists.push_back(candidates);
        programCurrent = current;
        return programPick;
    }
    std::optional<std::size_t> ChooseConfigFile(const std::vector<std::string> &candidates,
                                                std::optional<std::size_t> current) override {
        configLists.push_back(candidates);
        configCurrent = current;
        return configPick;
    }
    bool RunSettings(notes::NotesSession &, std::string &) override {
        ++settingsRuns;
        return false;
    }

    bool retry = false;
    std::function<void()> onRetry;
    std::optional<std::size_t> programPick;
    std::optional<std::size_t> configPick;
    std::vector<std::string> retryQuestions;
    std::vector<std::vector<std::string>> programLists;
    std::vector<std::vector<std::string>> configLists;
    std::optional<std::size_t> programCurrent;
    std::optional<std::size_t> configCurrent;
    int settingsRuns = 0;
};

class Detection : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VORLIX_REGISTRY", m_dir.File("registry.ini").c_str(), 1);
        platform::AppInfo::OverrideModulePath(m_dir.File("vorlix"));
        fs::create_directories(m_dir.File("root"));
        fs::create_directories(m_dir.File("proc/1"));
        testsupport::WriteFile(m_dir.File("proc/1/comm"), "init\n");
        testsupport::WriteFile(m_dir.File("proc/1/maps"), "0-1 r-xp 0 0:0 0 /sbin/init\n");
        m_env.root = m_dir.File("root");
        m_env.procDirectory = m_dir.File("proc");
        m_env.localAppData = m_dir.File("local");
        m_env.home = m_dir.File("root/home");
    }
    void TearDown() override {
        m_session.End(false);
        if (notes::Api().library != nullptr) {
            EXPECT_TRUE(notes::UnloadNotesLibrary());
        }
        platform::AppInfo::OverrideModulePath("");
        unsetenv("VORLIX_REGISTRY");
    }
    std::string Program(const std::string &relative, std::int64_t time) {
        const std::string dir = m_dir.File("root/" + relative);
        fs::create_directories(dir);
        fs::copy_file(testsupport::StandinNotesPath(), dir + "/libnotes.so");
        EXPECT_TRUE(platform::SetFileTimes(dir + "/libnotes.so", time, time));
        return dir;
    }
    std::string Ini(const std::string &relative, std::int64_t time) {
        const std::string dir = m_dir.File("root/" + relative);
        fs::create_directories(dir);
        const std::string path = testsupport::WriteNotesIni(dir, {"Directory=" + dir});
        EXPECT_TRUE(platform::SetFileTimes(path, time, time));
        return path;
    }
    static std::string Setting(const char *key) { return platform::ReadAppSetting("Notes", key); }
    bool Detect(bool showSettingsOnFailure, bool autoSelect) {
        return notes::DetectAndStart(m_session, showSettingsOnFailure, autoSelect, m_status, nullptr, nullptr,
                                     m_dialogs, m_env);
    }

    testsupport::TempDir m_dir;
    notes::InstallSearchEnvironment m_env;
    notes::NotesSession m_session;
    ScriptedDialogs m_dialogs;
    std::string m_status;
};

TEST_F(Detection, RetryDiscardsTheFirstSearchAndTheSecondStartsTheSessionAndStoresThePaths) {
    // The PATH names a link to the build's program directory that appears only after the first prompt,
    // as when the user installs or starts Notes before clicking Retry.
    const std::string link = m_dir.File("notes-link");
    m_env.pathVariable = link;
    const std::string ini = Ini("home/notes/data", 1600000000);
    m_dialogs.retry = true;
    m_dialogs.onRetry = [&]() { fs::create_directory_symlink(testsupport::ProgramDir(), link); };
    ASSERT_TRUE(Detect(true, true)) << m_session.ErrorText();
    EXPECT_TRUE(m_session.IsActive());
    ASSERT_EQ(m_dialogs.retryQuestions.size(), 1u);
    EXPECT_EQ(m_dialogs.retryQuestions[0],
              std::string(notes::kDetectionCaption) + ": " + notes::kNoInstallationFound);
    EXPECT_EQ(m_dialogs.settingsRuns, 0);
    EXPECT_EQ(Setting("ProgramPath"), link);
    EXPECT_EQ(Setting("IniFilePath"), ini);
}

TEST_F(Detection, WhatCancellingEachQuestionLeavesBehind) {
    struct Case {
        const char *name;
        int programs;
        int inis;
        bool autoSelect;
        bool showSettings;
        int expectedSettingsRuns;
        std::size_t expectedProgramLists;
        std::size_t expectedConfigLists;
    };
    const Case cases[] = {
        {"nothing found, cancel: the settings dialog", 0, 0, true, true, 1, 0, 0},
        {"nothing found, cancel, no settings dialog", 0, 0, true, false, 0, 0, 0},
        {"two programs without autoSelect: the user picks", 2, 1, false, false, 0, 1, 0},
        {"two programs with autoSelect: the newest is taken", 2, 2, true, true, 0, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(m_dir.File("root"));
        m_dialogs = ScriptedDialogs();
        ASSERT_TRUE(platform::WriteAppSetting("Notes", "ProgramPath", "before"));
        std::vector<std::string> programs;
        for (int i = 0; i < c.programs; ++i) {
            programs.push_back(Program("opt/ibm/notes" + std::to_string(i), 1500000000 + i));
        }
        for (int i = 0; i < c.inis; ++i) {
            Ini("home/notes/data/user" + std::to_string(i), 1500000000 + i);
        }
        EXPECT_FALSE(Detect(c.showSettings, c.autoSelect));
        EXPECT_FALSE(m_session.IsActive());
        EXPECT_EQ(m_dialogs.retryQuestions.size(), c.programs == 0 ? 1u : 0u);
        EXPECT_EQ(m_dialogs.settingsRuns, c.expectedSettingsRuns);
        ASSERT_EQ(m_dialogs.programLists.size(), c.expectedProgramLists);
        ASSERT_EQ(m_dialogs.configLists.size(), c.expectedConfigLists);
        if (c.expectedProgramLists == 1) {
            // Newest first, the discovery's choice preselected.
            EXPECT_EQ(m_dialogs.programLists[0], (std::vector<std::string>{programs[1], programs[0]}));
            EXPECT_EQ(m_dialogs.programCurrent, std::optional<std::size_t>(0));
        }
        if (c.expectedConfigLists == 1) {
            EXPECT_EQ(m_dialogs.configLists[0].size(), 2u);
            EXPECT_EQ(m_dialogs.configCurrent, std::nullopt);
        }
        EXPECT_EQ(Setting("ProgramPath"), "before");  // a run that settled on nothing keeps the keys
    }
}

TEST_F(Detection, TheRestartAfterTheSettingsDialog) {
    const std::string ini = testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path()});
    ASSERT_TRUE(platform::WriteAppSetting("Notes", "ProgramPath", testsupport::ProgramDir()));
    ASSERT_TRUE(platform::WriteAppSetting("Notes", "IniFilePath", ini));
    // Not active: started with the stored paths.
    EXPECT_TRUE(notes::RestartAfterSettings(m_session, "", "", m_status));
    EXPECT_TRUE(m_session.IsActive());
    // Nothing changed (letter case aside) on an active session: left running.
    std::string upper = ini;
    for (char &c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    EXPECT_TRUE(notes::RestartAfterSettings(m_session, testsupport::ProgramDir(), upper, m_status));
    EXPECT_TRUE(m_session.IsActive());
    // A program path that does not work: the session is ended and the status says why.
    ASSERT_TRUE(platform::WriteAppSetting("Notes", "ProgramPath", m_dir.File("nowhere")));
    m_status = "stale";
    EXPECT_FALSE(notes::RestartAfterSettings(m_session, testsupport::ProgramDir(), ini, m_status));
    EXPECT_FALSE(m_session.IsActive());
    EXPECT_EQ(m_status.find("Unable to initialize Lotus Notes Session. Error: "), 0u) << m_status;
    EXPECT_NE(m_status.find(
                  "\n \nPlease make sure Lotus Notes is installed and setup correctly (run at least once)."),
              std::string::npos);
}

}  // namespace
