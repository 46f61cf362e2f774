// Loading the runtime from a program path, starting and ending sessions, version detection and the
// password request through an Extension Manager add-in, against the stand-in runtime.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "notes/NotesApi.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesErrorText.h"
#include "notes/NotesLibrary.h"
#include "notes/NotesSession.h"
#include "platform/AppInfo.h"
#include "platform/UserInterface.h"
#include "support/TestSupport.h"

namespace {

using testsupport::Standin;

// Records the status lines a session start shows.
class RecordingStatusWindow : public platform::UserInterface {
public:
    platform::MessageAnswer Message(const std::string &, const std::string &, platform::MessageIcon,
                                    platform::MessageButtons) override {
        return platform::MessageAnswer::Ok;
    }
    void Progress(long, long) override {}
    void Status(const std::string &text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};

class NotesSessionTest : public ::testing::Test {
protected:
    void SetUp() override { m_ini = testsupport::WriteNotesIni(m_dir.Path(), {"Directory=" + m_dir.Path()}); }
    void TearDown() override {
        if (notes::Api().library != nullptr) {
            EXPECT_TRUE(notes::UnloadNotesLibrary());
        }
        unsetenv("NOTES_INI");
        unsetenv("VORLIX_TEST_ADDIN_PASSWORD");
        platform::AppInfo::OverrideModulePath("");
        testsupport::ExpectNothingLeft();
        EXPECT_EQ(Standin::Get().Counters().registrations, 0u);
    }
    std::string WriteIni(const std::vector<std::string> &lines) {
        std::vector<std::string> all = {"Directory=" + m_dir.Path()};
        all.insert(all.end(), lines.begin(), lines.end());
        return testsupport::WriteNotesIni(m_dir.Path(), all);
    }

    testsupport::TempDir m_dir;
    std::string m_ini;
};

TEST_F(NotesSessionTest, LoadsTheRuntimeFromTheProgramPathAtRunTime) {
    ASSERT_TRUE(notes::LoadNotesLibrary(testsupport::ProgramDir())) << notes::Api().loadError;
    ASSERT_NE(notes::Api().fn.OSTranslate, nullptr);
    // The slot holds the stand-in's own export, found by name in the loaded library.
    EXPECT_EQ(reinterpret_cast<void *>(notes::Api().fn.OSTranslate), Standin::Get().Symbol("OSTranslate"));
    EXPECT_EQ(std::string(getenv("Notes_ExecDirectory")), testsupport::ProgramDir());
    EXPECT_EQ(std::string(getenv("LD_LIBRARY_PATH")).rfind(testsupport::ProgramDir(), 0), 0u);
}

TEST_F(NotesSessionTest, LoadFailuresSayWhy) {
    testsupport::TempDir emptyDir;
    platform::AppInfo::OverrideModulePath(emptyDir.File("vorlix"));
    struct Case {
        std::string programPath;
        std::string message;
    } cases[] = {
        {"",
         "A Lotus Notes program path setting can not be found in your application settings file Vorlix.ini "
         "."},
        {emptyDir.File("nowhere"),
         "Lotus Notes program path '" + emptyDir.File("nowhere") +
             "' specified in your application settings file Vorlix.ini does not exist."},
        {emptyDir.Path(), "Lotus Notes file '" + emptyDir.File("libnotes.so") + "' is missing."},
    };
    for (const Case &c : cases) {
        EXPECT_FALSE(notes::LoadNotesLibrary(c.programPath)) << c.programPath;
        EXPECT_EQ(notes::Api().loadError, c.message);
        EXPECT_EQ(notes::Api().library, nullptr);
    }
    notes::NotesSession session;
    EXPECT_FALSE(session.Start(false, emptyDir.Path(), m_ini));
    EXPECT_EQ(session.ErrorText(), "Unable to initialize Lotus Notes Session. Error: Lotus Notes file '" +
                                       emptyDir.File("libnotes.so") + "' is missing.");
}

// A library the loader refuses is reported with the loader's own reason, not an error code.
TEST_F(NotesSessionTest, LibraryTheLoaderRefusesGivesTheLoadersReason) {
    testsupport::TempDir programDir;
    testsupport::WriteFile(programDir.File("libnotes.so"), "not a shared library");
    EXPECT_FALSE(notes::LoadNotesLibrary(programDir.Path()));
    const std::string prefix = "Unable to load Lotus Notes libraries from path " + programDir.Path() +
                               ". Module libnotes.so not loaded error: " + programDir.File("libnotes.so") +
                               ": ";
    EXPECT_EQ(notes::Api().loadError.rfind(prefix, 0), 0u) << notes::Api().loadError;
    EXPECT_GT(notes::Api().loadError.size(), prefix.size() + 1) << "the loader's reason follows";
    EXPECT_EQ(notes::Api().library, nullptr);
}

// On Linux the runtime takes paths in UTF-8, its native character set: a notes.ini in a directory
// named in a script the ANSI code page cannot hold starts the session.
TEST_F(NotesSessionTest, ConfigurationFileInACyrillicDirectoryStartsTheSession) {
    const std::string home = m_dir.File(
        "\xD0\x9F\xD0\xBE\xD0\xBB\xD1\x8C\xD0\xB7\xD0\xBE\xD0\xB2\xD0\xB0\xD1\x82\xD0\xB5\xD0\xBB\xD1\x8C");
    ASSERT_EQ(mkdir(home.c_str(), 0700), 0);
    const std::string ini = testsupport::WriteNotesIni(home, {"Directory=" + home});
    testsupport::WriteFile(home + "/\xD0\x94.nsf",
                           testsupport::ReadFile(testsupport::SourcePath("tests/data/notes/Empty.nsf")));
    notes::NotesSession session(true, false, testsupport::ProgramDir(), ini, nullptr);
    ASSERT_TRUE(session.IsActive()) << session.ErrorText();
    {
        notes::NotesDatabase db("", home + "/\xD0\x94.nsf");
        EXPECT_TRUE(db.IsOpen()) << db.LastError();
    }
    session.End(false);
}

TEST_F(NotesSessionTest, ProgramPathFromTheSettingsFileWhenNoneIsGiven) {
    testsupport::TempDir home;
    platform::AppInfo::OverrideModulePath(home.File("vorlix"));
    testsupport::WriteFile(home.File("vorlix.ini"),
                           "[Notes]\nProgramPath=" + testsupport::ProgramDir() + "\n");
    EXPECT_TRUE(notes::LoadNotesLibrary("")) << notes::Api().loadError;
}

TEST_F(NotesSessionTest, UnloadingTwiceSaysAlreadyUnloaded) {
    ASSERT_TRUE(notes::LoadNotesLibrary(testsupport::ProgramDir()));
    EXPECT_TRUE(notes::UnloadNotesLibrary());
    EXPECT_EQ(notes::Api().fn.OSTranslate, nullptr);
    EXPECT_FALSE(notes::UnloadNotesLibrary());
    EXPECT_EQ(notes::Api().loadError, "Already unloaded");
}

TEST_F(NotesSessionTest, ProcessStartDetectsTheVersionAndEndResetsIt) {
    RecordingStatusWindow window;
    notes::NotesSession session(true, false, testsupport::ProgramDir(), m_ini, &window);
    ASSERT_TRUE(session.IsActive()) << session.ErrorText();
    EXPECT_EQ(session.VersionText(), "Release 9.0.1FP10|November 11, 2017");
    EXPECT_EQ(notes::Api().version.major, 9);
    EXPECT_EQ(notes::Api().version.minor, 0);
    EXPECT_EQ(notes::Api().version.tiny, 1);
    EXPECT_NE(notes::Api().lmbcsInfo, nullptr);
    EXPECT_TRUE(session.CheckVersion(4, 1, 0));
    EXPECT_TRUE(session.CheckVersion(9, 0, 1));
    EXPECT_FALSE(session.CheckVersion(9, 0, 2));
    EXPECT_EQ(notes::NotesSession::StandardFaceNamesLmbcs()[2], "Monotype Sans WT");
    EXPECT_EQ(window.texts, (std::vector<std::string>{"Initializing a Lotus Notes session", ""}));
    DWORD terms = Standin::Get().CallCount("NotesTerm");
    session.End();
    EXPECT_EQ(Standin::Get().CallCount("NotesTerm"), terms + 1);
    EXPECT_EQ(session.VersionText(), "Not Initialized");
    EXPECT_EQ(notes::Api().version.major, 0);
    EXPECT_EQ(notes::Api().lmbcsInfo, nullptr);
    EXPECT_NE(notes::Api().library, nullptr) << "ending does not unload unless asked";
}

TEST_F(NotesSessionTest, ConfigurationPathsWithSpacesAndAccentsAreUsedAsGiven) {
    for (const char *dir : {"with spaces", "M\xC3\xBCller \xE2\x80\x93 data"}) {
        std::string iniDir = m_dir.File(dir);
        std::string ini = testsupport::WriteNotesIni(iniDir, {"Directory=" + iniDir});
        notes::NotesSession session(true, false, testsupport::ProgramDir(), ini);
        EXPECT_TRUE(session.IsActive()) << session.ErrorText();
        session.End(true);
    }
}

TEST_F(NotesSessionTest, VersionTextsAndTheStartUpCheck) {
    struct Case {
        const char *release;
        int major, minor, tiny;
        bool passes;
    } cases[] = {
        {"Release 8.5.3FP2|June 1, 2011", 8, 5, 3, true},
        {"  Release 4.1 |x", 4, 1, 0, true},
        {"Release 10", 10, 0, 0, true},
        {"Release 4.0.5|April 1, 1996", 4, 0, 5, false},
        {"Release Unknown", 0, 0, 0, false},
    };
    for (const Case &c : cases) {
        std::string ini = WriteIni({std::string("StandinRelease=") + c.release});
        notes::NotesSession session(true, false, testsupport::ProgramDir(), ini);
        ASSERT_TRUE(session.IsActive()) << session.ErrorText();
        const notes::NotesVersion &v = notes::Api().version;
        EXPECT_EQ(std::tie(v.major, v.minor, v.tiny), std::tie(c.major, c.minor, c.tiny)) << c.release;
        EXPECT_EQ(session.CheckVersion(4, 1, 0), c.passes) << c.release;
        if (!c.passes) {
            EXPECT_EQ(session.ErrorText(),
                      "Lotus Notes version must be at least 4.1.0 to run this application. The detected "
                      "version was "
                      "only " +
                          std::to_string(c.major) + "." + std::to_string(c.minor) + "." +
                          std::to_string(c.tiny));
        }
    }
}

TEST_F(NotesSessionTest, EmptyConfigurationPathUsesNotesInitExtended) {
    setenv("NOTES_INI", m_ini.c_str(), 1);
    DWORD ini = Standin::Get().CallCount("NotesInitIni");
    DWORD extended = Standin::Get().CallCount("NotesInitExtended");
    {
        notes::NotesSession session(true, false, testsupport::ProgramDir(), "");
        EXPECT_TRUE(session.IsActive()) << session.ErrorText();
    }
    EXPECT_EQ(Standin::Get().CallCount("NotesInitIni"), ini);
    EXPECT_EQ(Standin::Get().CallCount("NotesInitExtended"), extended + 1);

    setenv("NOTES_INI", m_dir.File("missing.ini").c_str(), 1);
    notes::NotesSession failed(true, false, testsupport::ProgramDir(), "");
    EXPECT_FALSE(failed.IsActive());
    EXPECT_EQ(failed.ErrorText(), "Unable to start a Lotus Notes session.");
}

TEST_F(NotesSessionTest, RuntimeWithoutNotesInitIniGetsTheIniAsAnArgument) {
    ASSERT_TRUE(notes::LoadNotesLibrary(testsupport::ProgramDir()));
    notes::Api().fn.NotesInitIni = nullptr;
    DWORD extended = Standin::Get().CallCount("NotesInitExtended");
    {
        notes::NotesSession session(true, false, testsupport::ProgramDir(), m_ini);
        EXPECT_TRUE(session.IsActive()) << session.ErrorText();
    }
    notes::NotesSession missing(true, false, testsupport::ProgramDir(), m_dir.File("other dir/notes.ini"));
    EXPECT_FALSE(missing.IsActive());
    EXPECT_EQ(missing.ErrorText(),
              "Unable to start a Lotus Notes session with Lotus Notes configuration file: '" +
                  m_dir.File("other dir/notes.ini") + "'.");
    EXPECT_EQ(Standin::Get().CallCount("NotesInitExtended"), extended + 2);
}

TEST_F(NotesSessionTest, StartFailuresGiveTheirMessages) {
    RecordingStatusWindow window;
    notes::NotesSession noPath;
    EXPECT_FALSE(noPath.Start(false, "", m_ini, &window));
    EXPECT_EQ(noPath.ErrorText(),
              "Unable to start a Lotus Notes session. No Lotus Notes program path was specificed.");
    EXPECT_EQ(window.texts.back(), noPath.ErrorText());

    std::string ini = WriteIni({"KeyFilename=missing.id"});
    notes::NotesSession noId;
    EXPECT_FALSE(noId.Start(false, testsupport::ProgramDir(), ini, &window));
    EXPECT_EQ(noId.ErrorText(),
              "Unable to start a Lotus Notes session with Lotus Notes configuration file: '" + ini + "'.");
    EXPECT_EQ(window.texts.back(), noId.ErrorText());
    EXPECT_EQ(notes::Api().version.major, 0);
    EXPECT_NE(notes::Api().library, nullptr) << "a failed start leaves the library loaded";
}

TEST_F(NotesSessionTest, ThreadSessionsEndOnceAndNeverStartedSessionsDoNothing) {
    DWORD terms = Standin::Get().CallCount("NotesTerm");
    DWORD threadTerms = Standin::Get().CallCount("NotesTermThread");
    {
        notes::NotesSession never;
        never.End(true);
    }
    EXPECT_EQ(Standin::Get().CallCount("NotesTerm"), terms);
    notes::NotesSession process(true, false, testsupport::ProgramDir(), m_ini);
    ASSERT_TRUE(process.IsActive());
    {
        notes::NotesSession thread(true, true, "", "");
        ASSERT_TRUE(thread.IsActive()) << thread.ErrorText();
        EXPECT_EQ(thread.VersionText(), "Release 9.0.1FP10|November 11, 2017");
        thread.End();
    }
    EXPECT_EQ(Standin::Get().CallCount("NotesTermThread"), threadTerms + 1);
    process.End(true);
    EXPECT_EQ(notes::Api().library, nullptr);
    notes::NotesSession thread(true, true, testsupport::ProgramDir(), "");
    EXPECT_FALSE(thread.IsActive()) << "no process session to build on";
}

TEST_F(NotesSessionTest, FailingRuntimeCallsDuringTheStart) {
    struct Case {
        const char *entryPoint;
        bool active;
        int major;
        bool lmbcsInfo;
    } cases[] = {
        {"NotesInitIni", false, 0, false},
        {"OSLoadString", true, 0, true},  // no release text: version 0.0.0
        {"OSGetLMBCSCLS", true, 9, false},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(notes::LoadNotesLibrary(testsupport::ProgramDir()));
        Standin::Get().SetFault(c.entryPoint, 1, 0x3E09);
        notes::NotesSession session(true, false, testsupport::ProgramDir(), m_ini);
        Standin::Get().ClearFaults();
        EXPECT_EQ(session.IsActive(), c.active) << c.entryPoint;
        EXPECT_EQ(notes::Api().version.major, c.major) << c.entryPoint;
        EXPECT_EQ(notes::Api().lmbcsInfo != nullptr, c.lmbcsInfo) << c.entryPoint;
        if (!c.active) {
            EXPECT_EQ(session.ErrorText(),
                      "Unable to start a Lotus Notes session with Lotus Notes configuration file: '" + m_ini +
                          "'.");
        }
        session.End(true);
    }
}

TEST_F(NotesSessionTest, ErrorTextOfAStatus) {
    EXPECT_EQ(notes::NotesErrorText(notes::kErrNotFound), "Unable to determine error") << "no library loaded";
    notes::NotesSession session(true, false, testsupport::ProgramDir(), m_ini);
    EXPECT_EQ(notes::NotesErrorText(notes::kErrNotFound), "Entry not found in index");
    EXPECT_EQ(notes::NotesErrorText(notes::kErrNotFound | notes::kStsDisplayed), "Entry not found in index");
    EXPECT_EQ(notes::NotesErrorText(0x3DFF), "Unable to determine error");
}

TEST_F(NotesSessionTest, PasswordRequestAnsweredByAnAddin) {
    testsupport::WriteFile(m_dir.File("user.id"),
                           "UserName=CN=Test User/O=Vorlix\nPassword=s3cret\nKey=Sales\n");
    std::string ini = WriteIni({"KeyFilename=user.id", "EXTMGR_ADDINS=testpasswordaddin"});
    ASSERT_TRUE(notes::LoadNotesLibrary(testsupport::ProgramDir()));
    struct Case {
        const char *password;  // what the add-in answers; null: it lets Notes go on
        STATUS status;
    } cases[] = {
        {"s3cret", 0},
        {"S3CRET", 0x3E20},  // wrong password
        {nullptr, notes::kErrBsafePasswordRequired},
    };
    for (const Case &c : cases) {
        if (c.password != nullptr) {
            setenv("VORLIX_TEST_ADDIN_PASSWORD", c.password, 1);
        } else {
            unsetenv("VORLIX_TEST_ADDIN_PASSWORD");
        }
        std::vector<char> path(ini.begin(), ini.end());
        path.push_back('\0');
        EXPECT_EQ(notes::Api().fn.NotesInitIni(path.data()), c.status) << (c.password ? c.password : "none");
        if (c.status == 0) {
            EXPECT_EQ(Standin::Get().Counters().registrations, 1u);
            notes::Api().fn.NotesTerm();
        }
        EXPECT_EQ(Standin::Get().Counters().registrations, 0u) << "the add-in is cleared and unloaded";
    }
    setenv("VORLIX_TEST_ADDIN_PASSWORD", "s3cret", 1);
    notes::NotesSession session(true, false, testsupport::ProgramDir(), ini);
    EXPECT_TRUE(session.IsActive()) << session.ErrorText();
}

}  // namespace
