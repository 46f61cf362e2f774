// A Notes session on the stand-in runtime over a data directory holding the wrapper fixtures: the
// document database, an empty copy target, an address book with saved servers, a sub-directory and a
// server of its own.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "notes/NotesApi.h"
#include "notes/NotesErrorText.h"
#include "notes/NotesSession.h"
#include "support/TestSupport.h"

namespace wrappertest {

// Note IDs of the fixture's documents and design notes.
constexpr NOTEID kCherry = 0x10;
constexpr NOTEID kApple = 0x14;
constexpr NOTEID kLeek = 0x18;
constexpr NOTEID kBread = 0x1c;
constexpr NOTEID kSealedLacking = 0x20;
constexpr NOTEID kSealedHeld = 0x24;
constexpr NOTEID kArchiveFolder = 0x10c;
const std::string kServer = "CN=Alpha/O=Acme";
// A status with a message of its own, for injected failures.
constexpr STATUS kInjected = notes::kErrNoAccess;

class WrapperTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("TZ", "UTC", 1);
        tzset();
        namespace fs = std::filesystem;
        const std::string data = m_dir.Path();
        auto copy = [&](const std::string &from, const std::string &to) {
            fs::create_directories(fs::path(to).parent_path());
            fs::copy_file(testsupport::SourcePath("tests/data/notes/" + from), to);
        };
        copy("Wrappers.nsf", data + "/Wrappers.nsf");
        copy("Empty.nsf", data + "/Empty.nsf");
        copy("Names.nsf", data + "/names.nsf");
        copy("Empty.nsf", data + "/archive/Old.nsf");
        copy("Wrappers.nsf", data + "/alpha/Wrappers.nsf");
        testsupport::WriteFile(data + "/user.id", "UserName=CN=Test User/O=Acme\nKey=Held\n");
        m_ini = testsupport::WriteNotesIni(
            data, {"Directory=" + data, "KeyFilename=user.id",
                   "StandinServer1=" + kServer + "|" + data + "/alpha", "StandinReadEntriesBatch=2"});
        ASSERT_TRUE(m_session.Start(false, testsupport::ProgramDir(), m_ini)) << m_session.ErrorText();
    }
    void TearDown() override {
        testsupport::Standin::Get().ClearFaults();
        // Every wrapper of the test is gone by now: nothing may be left open, allocated or locked.
        testsupport::ExpectNothingLeft();
        m_session.End(true);
        unsetenv("TZ");
        tzset();
    }
    static DWORD Calls(const char *entryPoint) { return testsupport::Standin::Get().CallCount(entryPoint); }
    // The message the runtime gives for a status; a real message, never the fallback.
    static std::string Message(STATUS status) {
        std::string text = notes::NotesErrorText(status);
        EXPECT_NE(text, "Unable to determine error") << status;
        return text;
    }

    testsupport::TempDir m_dir;
    std::string m_ini;
    notes::NotesSession m_session;
};

}  // namespace wrappertest
