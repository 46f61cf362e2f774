// A stand-in session over a temporary data directory for the database tests: notes.ini, an ID file
// holding the key "Secret", the C API resolved from the loaded runtime, and helpers that read notes.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "notes/capi/NotesCApi.h"
#include "support/TestSupport.h"

#define NOTES_FN(name) (testsupport::Standin::Get().Fn<decltype(&name)>(#name))

namespace dbtest {

class DbFixture : public ::testing::Test {
protected:
    void StartSession(const std::vector<std::string> &extraIni = {},
                      const std::string &user = "CN=Test User/O=Acme") {
        testsupport::WriteFile(m_dir.File("user.id"), "UserName=" + user + "\nKey=Secret\n");
        std::vector<std::string> ini = {"Directory=" + m_dir.Path(), "KeyFilename=user.id"};
        ini.insert(ini.end(), extraIni.begin(), extraIni.end());
        std::string path = testsupport::WriteNotesIni(m_dir.Path(), ini);
        ASSERT_EQ(NOTES_FN(NotesInitIni)(path.data()), 0);
        m_started = true;
    }
    void SetUp() override { testsupport::Standin::Get().ClearDiagnostics(); }
    void TearDown() override {
        if (m_started) {
            NOTES_FN(NotesTerm)();
        }
        testsupport::Standin::Get().ClearFaults();
        testsupport::ExpectNothingLeft();
    }
    // Copies a fixture of tests/data/dxl into the data directory.
    std::string Install(const std::string &fixture, const std::string &as = std::string()) {
        std::string name = as.empty() ? fixture : as;
        testsupport::WriteFile(m_dir.File(name),
                               testsupport::ReadFile(testsupport::SourcePath("tests/data/dxl/" + fixture)));
        return name;
    }
    DBHANDLE Open(const std::string &path) {
        DBHANDLE db = 0;
        EXPECT_EQ(NOTES_FN(NSFDbOpen)(path.c_str(), &db), 0) << path;
        return db;
    }
    static std::string Message(STATUS status) {
        char buf[512] = {};
        WORD n = NOTES_FN(OSLoadString)(0, notes::Err(status), buf, sizeof buf);
        return std::string(buf, n);
    }
    // The value of an item (type word first), or empty when the note has none.
    static std::string Value(NOTEHANDLE note, const char *name) {
        BLOCKID item{};
        BLOCKID value{};
        WORD type = 0;
        DWORD len = 0;
        if (NOTES_FN(NSFItemInfo)(note, name, static_cast<WORD>(std::strlen(name)), &item, &type, &value,
                                  &len) != 0) {
            return std::string();
        }
        char *base = static_cast<char *>(NOTES_FN(OSLockObject)(value.pool));
        std::string out(base + value.block, len);
        NOTES_FN(OSUnlockObject)(value.pool);
        return out;
    }
    static std::string Text(NOTEHANDLE note, const char *name) {
        char buf[1024] = {};
        WORD n = NOTES_FN(NSFItemGetText)(note, name, buf, sizeof buf);
        return std::string(buf, n);
    }
    // Every note ID of a class, by NSFSearch.
    std::vector<NOTEID> Search(DBHANDLE db, WORD classMask, FORMULAHANDLE formula = 0) {
        std::vector<NOTEID> ids;
        auto proc = [](void *param, SEARCH_MATCH *match, ITEM_TABLE *) -> STATUS {
            SEARCH_MATCH m;
            std::memcpy(&m, match, sizeof m);
            if (m.SERetFlags & notes::kSeMatch) {
                static_cast<std::vector<NOTEID> *>(param)->push_back(m.ID.NoteID);
            }
            return 0;
        };
        EXPECT_EQ(NOTES_FN(NSFSearch)(db, formula, nullptr, 0, classMask, nullptr, proc, &ids, nullptr), 0);
        return ids;
    }
    // The note IDs of a view read in batches of returnCount entries (0xFFFFFFFF: as many as allowed).
    std::vector<NOTEID> ReadView(DBHANDLE db, NOTEID view, DWORD returnCount, int *reads = nullptr) {
        std::vector<NOTEID> ids;
        HCOLLECTION coll = 0;
        EXPECT_EQ(NOTES_FN(NIFOpenCollection)(db, db, view, 0, 0, &coll, nullptr, nullptr, nullptr, nullptr),
                  0);
        COLLECTIONPOSITION pos{};
        WORD signal = 0;
        int count = 0;
        do {
            DHANDLE buffer = 0;
            DWORD returned = 0;
            STATUS s = NOTES_FN(NIFReadEntries)(coll, &pos, notes::kNavigateNext, 1, notes::kNavigateNext,
                                                returnCount, notes::kReadMaskNoteId, &buffer, nullptr,
                                                nullptr, &returned, &signal);
            EXPECT_EQ(s, 0);
            if (s != 0) {
                break;
            }
            ++count;
            if (buffer != 0) {
                auto *p = static_cast<const NOTEID *>(NOTES_FN(OSLockObject)(buffer));
                ids.insert(ids.end(), p, p + returned);
                NOTES_FN(OSUnlockObject)(buffer);
                NOTES_FN(OSMemFree)(buffer);
            }
        } while ((signal & notes::kSignalMoreToDo) != 0 && count < 1000);
        EXPECT_EQ(NOTES_FN(NIFCloseCollection)(coll), 0);
        if (reads != nullptr) {
            *reads = count;
        }
        return ids;
    }
    NOTEID Find(DBHANDLE db, const char *name) {
        NOTEID id = 0;
        EXPECT_EQ(NOTES_FN(NIFFindDesignNote)(db, name, notes::kNoteClassView, &id), 0) << name;
        return id;
    }

    testsupport::TempDir m_dir;
    bool m_started = false;
};

}  // namespace dbtest
