// Installation discovery over fake installation trees: candidates, their order, the choice, the
// registry-store installations, the running client through a fake process table, and the limits of
// the searches (depth, root, symbolic links).
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "notes/NotesInstalls.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;
using notes::NotesInstalls;
using platform::RegistryHive;

constexpr std::int64_t kOld = 1500000000;
constexpr std::int64_t kNew = 1700000000;

class InstallTree : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("VORLIX_REGISTRY", m_dir.File("registry.ini").c_str(), 1);
        fs::create_directories(Root());
        fs::create_directories(m_dir.File("proc"));
        fs::create_directories(m_dir.File("local"));
        m_env.root = Root();
        m_env.procDirectory = m_dir.File("proc");
        m_env.localAppData = m_dir.File("local");
        m_env.home = At("home");
        Process("1", "init", "/usr/lib");
    }
    void TearDown() override { unsetenv("VORLIX_REGISTRY"); }

    std::string Root() const { return m_dir.File("root"); }
    std::string At(const std::string &relative) const { return Root() + "/" + relative; }

    // A program directory: a copy of the runtime library with the given modification time.
    std::string Program(const std::string &relative, std::int64_t time) {
        const std::string dir = At(relative);
        fs::create_directories(dir);
        fs::copy_file(testsupport::StandinNotesPath(), dir + "/libnotes.so",
                      fs::copy_options::overwrite_existing);
        EXPECT_TRUE(platform::SetFileTimes(dir + "/libnotes.so", time, time));
        return dir;
    }
    std::string Ini(const std::string &relative, std::int64_t time, bool complete = true) {
        const std::string dir = At(relative);
        fs::create_directories(dir);
        const std::string path = testsupport::WriteNotesIni(
            dir, complete ? std::vector<std::string>{"KitType=1", "Directory=" + dir, "KeyFilename=user.id"}
                          : std::vector<std::string>{"KitType=1"});
        EXPECT_TRUE(platform::SetFileTimes(path, time, time));
        return path;
    }
    // A process of the fake process table mapping the library of a program directory.
    void Process(const std::string &pid, const std::string &name, const std::string &programDir) {
        const std::string dir = m_dir.File("proc/" + pid);
        fs::create_directories(dir);
        testsupport::WriteFile(dir + "/comm", name + "\n");
        testsupport::WriteFile(dir + "/maps",
                               "7f00-7f01 r-xp 00000000 08:01 42 /usr/lib/libc.so.6\n"
                               "7f02-7f03 r-xp 00000000 08:01 43 " +
                                   programDir + "/libnotes.so\n7f04-7f05 rw-p 00000000 00:00 0\n");
    }
    static void Install(RegistryHive hive, const std::string &version, const std::string &name,
                        const std::string &value) {
        ASSERT_TRUE(platform::Registry::SetString(
            hive, std::string(NotesInstalls::kRegistryKey) + "\\" + version, name, value));
    }
    static std::vector<std::string> Directories(const NotesInstalls &installs) {
        std::vector<std::string> result;
        for (const auto &candidate : installs.ProgramCandidates()) {
            result.push_back(candidate.directory);
        }
        return result;
    }

    testsupport::TempDir m_dir;
    notes::InstallSearchEnvironment m_env;
};

TEST_F(InstallTree, TheNewestLibraryWinsWithoutARunningClientAndTheListIsNewestFirst) {
    const std::string older = Program("opt/ibm/notes", kOld);
    const std::string newer = Program("opt/hcl/notes12", kNew);
    const std::string olderIni = Ini("opt/ibm/notes", kOld);
    const std::string newerIni = Ini("opt/hcl/notes12", kNew);
    NotesInstalls installs(m_env);
    ASSERT_TRUE(installs.Discover(true));
    EXPECT_EQ(Directories(installs), (std::vector<std::string>{newer, older}));
    EXPECT_EQ(installs.ChosenProgramDirectory(), newer);
    EXPECT_EQ(installs.ChosenConfigFile(), newerIni);
    ASSERT_EQ(installs.ConfigCandidates().size(), 2u);
    EXPECT_EQ(installs.ConfigCandidates()[1].path, olderIni);
    EXPECT_TRUE(installs.ConfigCandidates()[1].valid);
}

TEST_F(InstallTree, ARunningClientDecidesEvenWhenNewerInstallationsExist) {
    const std::string older = Program("opt/ibm/notes", kOld);
    Ini("opt/ibm/notes", kOld);
    Program("opt/hcl/notes12", kNew);
    Ini("opt/hcl/notes12", kNew);
    Process("812", "vorlix", At("opt/hcl/notes12"));  // not the client: ignored
    Process("4711", "nlnotes", older);
    NotesInstalls installs(m_env);
    ASSERT_TRUE(installs.Discover(true));
    EXPECT_TRUE(installs.RunningClientFound());
    EXPECT_EQ(installs.ChosenProgramDirectory(), older);
    EXPECT_EQ(installs.ChosenConfigFile(), older + "/notes.ini");
    EXPECT_EQ(installs.ProgramCandidates().size(), 2u);
}

TEST_F(InstallTree, ARunningClientMatchingAValidRegistryInstallationEndsTheSearchEarly) {
    const std::string client = Program("opt/ibm/notes", kOld);
    const std::string data = At("home/notes/data");
    const std::string ini = Ini("home/notes/data", kOld);
    Program("opt/hcl/notes12", kNew);
    Install(RegistryHive::LocalMachine, "9.0", "Path", client + "/");
    Install(RegistryHive::LocalMachine, "9.0", "DataPath", data);
    Process("4711", "nlnotes", client);
    NotesInstalls installs(m_env);
    ASSERT_TRUE(installs.Discover(true));
    EXPECT_EQ(installs.ChosenProgramDirectory(), client);
    EXPECT_EQ(installs.ChosenConfigFile(), ini);
    EXPECT_EQ(Directories(installs), std::vector<std::string>{client});  // nothing else was searched
}

TEST_F(InstallTree, AnInstallationWithoutAnyNotesIniGetsTheProgramsOwnConfigurationFile) {
    const std::string program = Program("opt/lotus", kOld);
    NotesInstalls installs(m_env);
    ASSERT_TRUE(installs.Discover(true));
    const std::string expected = m_dir.File("local/Vorlix/Vorlix_notes.ini");
    EXPECT_EQ(installs.ChosenConfigFile(), expected);
    EXPECT_EQ(platform::ReadIniValue(expected, "Notes", "KitType", 100), "1");
    EXPECT_EQ(platform::ReadIniValue(expected, "Notes", "Directory", 1000), program);

    // Without a local application data folder the file cannot be made, and the program says so.
    m_env.localAppData = m_dir.File("missing");
    NotesInstalls without(m_env);
    ASSERT_TRUE(without.Discover(true));
    EXPECT_EQ(without.ChosenConfigFile(), "");
    EXPECT_EQ(without.StatusText(), "Unable to get or create Local Data Directory. Check access.");
}

TEST_F(InstallTree, TheConfigurationFileChoice) {
    struct Case {
        const char *name;
        bool ownIni;
        int otherInis;
        bool expectOwn;
        bool expectOther;
    };
    const Case cases[] = {
        {"own notes.ini wins over newer others", true, 2, true, false},
        {"the only notes.ini elsewhere is taken", false, 1, false, true},
        {"several elsewhere: the user chooses", false, 2, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Root());
        const std::string program = Program("opt/ibm/notes", kOld);
        if (c.ownIni) {
            Ini("opt/ibm/notes", kOld);
        }
        std::string other;
        for (int i = 0; i < c.otherInis; ++i) {
            other = Ini("opt/ibm/domino/data" + std::to_string(i), kNew);
        }
        NotesInstalls installs(m_env);
        ASSERT_TRUE(installs.Discover(true));
        EXPECT_EQ(installs.ChosenProgramDirectory(), program);
        const std::string expected = c.expectOwn ? program + "/notes.ini" : c.expectOther ? other : "";
        EXPECT_EQ(installs.ChosenConfigFile(), expected);
    }
}

TEST_F(InstallTree, SearchDepthsOfPathEntriesAndFolderPatterns) {
    struct Case {
        const char *name;
        const char *libraryAt;
        const char *pathEntry;  // relative to the root, or null
        bool found;
        bool viaPath;
    };
    const Case cases[] = {
        {"PATH names the program directory", "usr/local/notes", "usr/local/notes", true, true},
        {"PATH is searched one level only", "usr/local/notes/sub", "usr/local/notes", false, false},
        {"a pattern is searched two levels in the first pass", "opt/ibm/notes/sub", nullptr, true, false},
        {"deeper only when the first pass found nothing", "opt/ibm/notes/a/b/c", nullptr, true, false},
        {"outside the patterns nothing is found", "srv/notes", nullptr, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Root());
        const std::string program = Program(c.libraryAt, kOld);
        m_env.pathVariable = c.pathEntry != nullptr ? "/nonexistent:" + At(c.pathEntry) : "";
        NotesInstalls installs(m_env);
        EXPECT_EQ(installs.Discover(true), c.found);
        if (c.found) {
            EXPECT_EQ(installs.ChosenProgramDirectory(), program);
            EXPECT_EQ(installs.ProgramCandidates().front().viaPath, c.viaPath);
        }
    }
}

TEST_F(InstallTree, TheFirstPassStopsAtTwoLevelsWhenItFoundSomething) {
    Program("opt/ibm/notes/a/b", kNew);  // three levels: left for a second pass
    const std::string near = Program("opt/hcl/notes", kOld);
    NotesInstalls installs(m_env);
    ASSERT_TRUE(installs.Discover(true));
    EXPECT_EQ(Directories(installs), std::vector<std::string>{near});
}

TEST_F(InstallTree, SearchesNeverLeaveTheirRootNorLoopOnSymbolicLinks) {
    const std::string program = Program("opt/ibm/notes", kOld);
    const std::string outside = m_dir.File("outside");
    fs::create_directories(outside);
    fs::copy_file(testsupport::StandinNotesPath(), outside + "/libnotes.so");
    fs::create_directory_symlink(At("opt"), At("opt/ibm/notes/loop"));  // a loop
    fs::create_directory_symlink(outside, At("opt/ibm/notes/escape"));  // below a pattern
    fs::create_directory_symlink(outside, At("opt/lotus-link"));        // a pattern match itself
    fs::create_directory_symlink(At("opt/ibm/notes"), At("opt/hcl"));   // a link inside the root
    NotesInstalls installs(m_env);
    ASSERT_TRUE(installs.Discover(true));
    for (const auto &candidate : installs.ProgramCandidates()) {
        EXPECT_EQ(candidate.directory.rfind(Root(), 0), 0u) << candidate.directory;
        EXPECT_EQ(candidate.directory.find(outside), std::string::npos);
    }
    EXPECT_EQ(installs.ChosenProgramDirectory(), program);
}

TEST_F(InstallTree, CandidatesAreNotRepeatedWhateverTheRoute) {
    const std::string program = Program("opt/ibm/notes", kOld);
    Ini("opt/ibm/notes", kOld);
    m_env.pathVariable = program + ":" + program + "/";
    Process("1", "nlnotes", program);
    NotesInstalls installs(m_env);
    ASSERT_TRUE(installs.Discover(true));
    ASSERT_EQ(installs.ProgramCandidates().size(), 1u);
    EXPECT_EQ(installs.ConfigCandidates().size(), 1u);
    EXPECT_TRUE(installs.ProgramCandidates()[0].viaRunningClient);  // the first route is kept
    EXPECT_FALSE(installs.ProgramCandidates()[0].viaPath);
}

TEST_F(InstallTree, TheProcessScanReportsWhatItCannotRead) {
    m_env.procDirectory = m_dir.File("no-proc");
    NotesInstalls missing(m_env);
    EXPECT_FALSE(missing.Discover(true));
    EXPECT_EQ(missing.StatusText(), "Unable to get snapshot of processes");

    m_env.procDirectory = m_dir.File("proc");
    fs::create_directories(m_dir.File("proc/77"));
    testsupport::WriteFile(m_dir.File("proc/77/comm"), "nlnotes\n");  // maps unreadable
    NotesInstalls noModules(m_env);
    EXPECT_FALSE(noModules.Discover(true));
    EXPECT_EQ(noModules.StatusText(), "Unable to get snapshot of modules for process");
}

TEST_F(InstallTree, RegistryInstallationsAndTheirValidation) {
    const std::string program = Program("opt/ibm/notes", kOld);
    const std::string data = At("home/notes/data");
    const std::string ini = Ini("home/notes/data", kOld);
    const std::string empty = At("opt/empty");
    fs::create_directories(empty);
    // 9.0: valid. 8.0: no data path and no HKEY_CURRENT_USER partner. 7.0: data path without notes.ini.
    // 6.0: configuration file from HKEY_CURRENT_USER that is missing. 5.0: a path without the library.
    // 4.0: a program path that is not a directory. Setup: not a version.
    Install(RegistryHive::LocalMachine, "9.0", "Path", " " + program + "/ ");
    Install(RegistryHive::LocalMachine, "9.0", "DataPath", data);
    Install(RegistryHive::LocalMachine, "8.0", "Path", program);
    Install(RegistryHive::LocalMachine, "7.0", "Path", program);
    Install(RegistryHive::LocalMachine, "7.0", "DataPath", empty);
    Install(RegistryHive::LocalMachine, "6.0", "Path", program);
    Install(RegistryHive::CurrentUser, "6.0", "NotesIniPath", data + "/gone.ini");
    Install(RegistryHive::LocalMachine, "5.0", "Path", empty);
    Install(RegistryHive::LocalMachine, "5.0", "DataPath", data);
    Install(RegistryHive::LocalMachine, "5.0", "NotesIniPath", ini);
    Install(RegistryHive::LocalMachine, "4.0", "Path", program + "/libnotes.so");
    Install(RegistryHive::LocalMachine, "4.0", "DataPath", data);
    Install(RegistryHive::LocalMachine, "4.0", "NotesIniPath", ini);
    Install(RegistryHive::LocalMachine, "Setup", "Path", program);
    NotesInstalls installs(m_env);
    ASSERT_TRUE(installs.Discover(true));
    std::map<int, std::string> errors;
    for (const auto &install : installs.RegistryInstalls()) {
        if (install.root == RegistryHive::LocalMachine) {
            errors[install.version] = install.valid ? "valid" : install.error;
        }
    }
    EXPECT_EQ(
        errors,
        (std::map<int, std::string>{
            {9, "valid"},
            {8, "No registry HKEY_CURRENT_USER entry"},
            {7, "Missing Configuration file (notes.ini)."},
            {6, "Configuration file '" + data + "/gone.ini' specified in HKEY_CURRENT_USER does not exist."},
            {5, "File '" + empty + "/libnotes.so' in HKEY_LOCAL_MACHINE not found."},
            {4, "Path '" + program + "/libnotes.so' in HKEY_LOCAL_MACHINE invalid."},
        }));
    // The valid installation of the chosen directory gives the configuration file; the candidate is
    // tagged with the lowest version whose install path it matches.
    EXPECT_EQ(installs.ChosenConfigFile(), ini);
    EXPECT_TRUE(installs.ProgramCandidates().front().registryInstall);
    EXPECT_EQ(installs.ProgramCandidates().front().registryVersion, 6);
}

TEST_F(InstallTree, NothingInstalledFindsNothing) {
    Ini("home/notes/data", kOld);
    NotesInstalls installs(m_env);
    EXPECT_FALSE(installs.Discover(true));
    EXPECT_EQ(installs.ChosenProgramDirectory(), "");
    EXPECT_EQ(installs.ConfigCandidates().size(), 1u);
}

}  // namespace
