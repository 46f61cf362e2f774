// DXL as Domino writes it: items flagged seal but not sealed, RFC822 text items, views written as
// notes, design roots the runtime does not serve, damaged bytes, broken XML and Readers fields.
#include <cstring>

#include "DbFixture.h"

namespace {

using dbtest::DbFixture;
using testsupport::Standin;

std::string Base64(const std::string &bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
        n |= i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0;
        n |= i + 2 < bytes.size() ? static_cast<unsigned char>(bytes[i + 2]) : 0;
        out += kDigits[(n >> 18) & 63];
        out += kDigits[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[n & 63] : '=';
    }
    return out;
}

void Word(std::string &out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

// An RFC822 text value: the 14-byte descriptor, the native text, then the original header.
std::string Rfc822(const std::string &native, const std::string &name, const std::string &body) {
    std::string out;
    Word(out, 14);
    Word(out, 3);  // format: text
    Word(out, 0);
    Word(out, static_cast<unsigned>(native.size()));
    Word(out, static_cast<unsigned>(name.size()));
    Word(out, 2);
    Word(out, static_cast<unsigned>(body.size()));
    return out + native + name + ": " + body;
}

struct Column {
    std::string item;
    std::string compiled;
    unsigned flags1;  // sort 1, categorise 2, descending 4
};

// A $VIEWFORMAT: the table format, a 32-byte column format per column, then each column's item name,
// (empty) title, compiled formula and (empty) constant value.
std::string ViewFormat(const std::vector<Column> &columns) {
    std::string out;
    out += '\x01';
    out += '\x00';
    Word(out, static_cast<unsigned>(columns.size()));
    Word(out, 0);
    Word(out, 0);
    Word(out, 0);
    for (const Column &c : columns) {
        std::string fixed;
        Word(fixed, 0x4356);
        Word(fixed, c.flags1);
        Word(fixed, static_cast<unsigned>(c.item.size()));
        Word(fixed, 0);
        Word(fixed, static_cast<unsigned>(c.compiled.size()));
        Word(fixed, 0);
        fixed.resize(32, '\0');
        out += fixed;
    }
    for (const Column &c : columns) {
        out += c.item + c.compiled;
    }
    return out;
}

std::string Item(const std::string &name, const std::string &value, const std::string &attributes = "") {
    return "<item name='" + name + "'" + attributes + "><text>" + value + "</text></item>";
}

std::string Raw(const std::string &name, const char *type, const std::string &bytes) {
    return "<item name='" + name + "'><rawitemdata type='" + type + "'>" + Base64(bytes) +
           "</rawitemdata></item>";
}

std::string Doc(NOTEID id, const std::string &items) {
    char info[64];
    std::snprintf(info, sizeof info, "<noteinfo noteid='%x'/>", id);
    return "<document>" + std::string(info) + "<item name='Form'><text>Memo</text></item>" + items +
           "</document>\n";
}

const char kHead[] =
    "<?xml version='1.0' encoding='utf-8'?>\n<database xmlns='http://www.lotus.com/dxl' "
    "xmlns:vx='urn:vorlix:standin-dxl' title='Fidelity'>\n";

class DbFidelity : public DbFixture {
protected:
    std::string Compile(const std::string &text) {
        FORMULAHANDLE formula = 0;
        WORD len = 0;
        STATUS error = 0;
        WORD line = 0, column = 0, offset = 0, errLen = 0;
        std::string source = text;
        EXPECT_EQ(NOTES_FN(NSFFormulaCompile)(nullptr, 0, source.data(), static_cast<WORD>(source.size()),
                                              &formula, &len, &error, &line, &column, &offset, &errLen),
                  0)
            << text;
        std::string bytes(static_cast<const char *>(NOTES_FN(OSLockObject)(formula)), len);
        NOTES_FN(OSUnlockObject)(formula);
        NOTES_FN(OSMemFree)(formula);
        return bytes;
    }
    std::vector<NOTEID> Select(DBHANDLE db, const std::string &text) {
        FORMULAHANDLE formula = 0;
        WORD len = 0;
        STATUS error = 0;
        WORD line = 0, column = 0, offset = 0, errLen = 0;
        std::string source = text;
        EXPECT_EQ(NOTES_FN(NSFFormulaCompile)(nullptr, 0, source.data(), static_cast<WORD>(source.size()),
                                              &formula, &len, &error, &line, &column, &offset, &errLen),
                  0);
        std::vector<NOTEID> ids = Search(db, notes::kNoteClassDocument, formula);
        NOTES_FN(OSMemFree)(formula);
        return ids;
    }
    std::string ConvertToText(NOTEHANDLE note, const char *name) {
        BLOCKID item{}, value{};
        WORD type = 0;
        DWORD len = 0;
        EXPECT_EQ(NOTES_FN(NSFItemInfo)(note, name, static_cast<WORD>(std::strlen(name)), &item, &type,
                                        &value, &len),
                  0);
        char buf[256] = {};
        WORD n = NOTES_FN(NSFItemConvertValueToText)(type, value, len, buf, sizeof buf, ';');
        return std::string(buf, n);
    }
};

TEST_F(DbFidelity, ItemsFlaggedSealButNotSealedReadPlainAndSealedOnesStayHidden) {
    StartSession();
    std::string file =
        "<item name='$FILE' summary='true' seal='true'><object><file hosttype='msdos' "
        "name='a.txt' size='3'><filedata>YWJj</filedata></file></object></item>";
    testsupport::WriteFile(m_dir.File("seal.nsf"),
                           kHead + Doc(0x10, Item("Secret", "plain", " seal='true'") + file) +
                               Doc(0x14, Item("Secret", "c2VjcmV0", " seal='true' sealed='true'")) +
                               "</database>\n");
    DBHANDLE db = Open("seal.nsf");
    struct Case {
        NOTEID id;
        bool sealed;
        const char *secret;
    } cases[] = {{0x10, false, "plain"}, {0x14, true, ""}};
    for (const Case &c : cases) {
        NOTEHANDLE note = 0;
        ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, c.id, 0, &note), 0);
        BOOL isSigned = 0, isSealed = 0;
        NOTES_FN(NSFNoteIsSignedOrSealed)(note, &isSigned, &isSealed);
        EXPECT_EQ(isSealed != 0, c.sealed) << c.id;
        EXPECT_EQ(Text(note, "Secret"), c.secret) << c.id;
        if (!c.sealed) {
            BLOCKID item{};
            ASSERT_EQ(NOTES_FN(NSFItemInfo)(note, "$FILE", 5, &item, nullptr, nullptr, nullptr), 0);
            std::string out = m_dir.File("a.txt");
            EXPECT_EQ(NOTES_FN(NSFNoteExtractFile)(note, item, out.c_str(), nullptr), 0);
            EXPECT_EQ(testsupport::ReadFile(out), "abc");
        }
        EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    }
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

TEST_F(DbFidelity, Rfc822TextConvertsToItsTextInTheApiAndInFormulas) {
    StartSession();
    testsupport::WriteFile(
        m_dir.File("mail.nsf"),
        kHead + Doc(0x10, Raw("Subject", "502", Rfc822("Quarterly figures", "Subject", "=?x?="))) +
            Doc(0x14, Raw("Subject", "502", Rfc822("", "Subject", "Raw header body"))) +
            Doc(0x18, Raw("Subject", "502", std::string("\x0E\x00", 2))) + "</database>\n");
    DBHANDLE db = Open("mail.nsf");
    struct Case {
        NOTEID id;
        const char *text;
    } cases[] = {{0x10, "Quarterly figures"}, {0x14, "Raw header body"}, {0x18, ""}};
    for (const Case &c : cases) {
        NOTEHANDLE note = 0;
        ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, c.id, 0, &note), 0);
        EXPECT_EQ(ConvertToText(note, "Subject"), c.text);
        EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    }
    EXPECT_EQ(Select(db, "SELECT @LowerCase(Subject) = \"quarterly figures\""), std::vector<NOTEID>{0x10});
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

TEST_F(DbFidelity, ViewWrittenAsANoteOpensWithItsSelectionAndSortedColumns) {
    StartSession();
    std::string format = ViewFormat({{"Subject", "", 1 | 4}, {"$1", Compile("@DocLength"), 0}});
    std::string view =
        "<note class='view'><noteinfo noteid='40'/>" + Item("$TITLE", "Memos") +
        "<item name='$Formula'><formula>SELECT Form = \"Memo\" &amp; @DocLength &gt; 20</formula>"
        "</item>" +
        Raw("$VIEWFORMAT", "5", format) + "</note>\n";
    std::string other = "<document><noteinfo noteid='1c'/>" + Item("Form", "Other") + Item("Subject", "zzz") +
                        "</document>\n";
    testsupport::WriteFile(m_dir.File("views.nsf"), kHead + Doc(0x10, Item("Subject", "alpha")) +
                                                        Doc(0x14, Item("Subject", "gamma")) +
                                                        Doc(0x18, Item("Subject", "beta")) + other +
                                                        Doc(0x20, "") + view + "</database>\n");
    DBHANDLE db = Open("views.nsf");
    NOTEID id = Find(db, "Memos");
    ASSERT_EQ(id, 0x40u);
    // Descending by Subject; the Memo without a Subject is too short for the selection (Form and Subject
    // give 24 bytes of names and values, Form alone 10).
    EXPECT_EQ(ReadView(db, id, 0xFFFFFFFF), (std::vector<NOTEID>{0x14, 0x18, 0x10}));
    EXPECT_EQ(Select(db, "SELECT @DocLength > 20"), (std::vector<NOTEID>{0x10, 0x14, 0x18, 0x1C}));
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

struct FileCase {
    const char *name;
    std::string bytes;
    WORD noteClass;       // the class the file's note must have
    std::string message;  // the diagnostic (or, with refused, the error message) that must name the fault
    bool refused;
};

TEST_F(DbFidelity, DesignRootsAndDamagedBytesOpenAndOnlyBrokenXmlIsRefused) {
    StartSession();
    const std::string damaged =
        std::string(kHead) + Doc(0x10, Item("Subject", "Caf\xC3\xA9 \xFF ok")) + "</database>";
    const FileCase cases[] = {
        {"script.nsf",
         "<?xml version='1.0'?><databasescript xmlns='http://www.lotus.com/dxl'><noteinfo noteid='8'/>"
         "<code event='initialize'><lotusscript>Sub Initialize\nEnd "
         "Sub</lotusscript></code></databasescript>",
         notes::kNoteClassFilter, "", false},
        {"future.nsf",
         std::string(kHead) + "<futureelement name='x'><noteinfo noteid='8'/></futureelement></database>",
         notes::kNoteClassForm, "<futureelement> is a design element the runtime does not serve", false},
        {"damaged.nsf", damaged, notes::kNoteClassDocument,
         "U+FFFD at byte offset " + std::to_string(damaged.find('\xFF')), false},
        {"broken.nsf", std::string(kHead) + Doc(0x10, Item("Subject", "x")) + "<document></database>", 0,
         "malformed XML at byte", true},
    };
    for (const FileCase &c : cases) {
        Standin::Get().ClearDiagnostics();
        testsupport::WriteFile(m_dir.File(c.name), c.bytes);
        DBHANDLE db = 0;
        STATUS s = NOTES_FN(NSFDbOpen)(c.name, &db);
        if (c.refused) {
            EXPECT_NE(s, 0) << c.name;
            EXPECT_NE(Standin::Get().Diagnostics().find(c.message), std::string::npos)
                << c.name << ": " << Standin::Get().Diagnostics();
            continue;
        }
        ASSERT_EQ(s, 0) << c.name;
        EXPECT_EQ(Search(db, c.noteClass).size(), 1u) << c.name;
        EXPECT_NE(Standin::Get().Diagnostics().find(c.message), std::string::npos)
            << c.name << ": " << Standin::Get().Diagnostics();
        EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
    }
    DBHANDLE db = Open("damaged.nsf");
    NOTEHANDLE note = 0;
    ASSERT_EQ(NOTES_FN(NSFNoteOpen)(db, 0x10, 0, &note), 0);
    EXPECT_EQ(Text(note, "Subject"), "Caf\x82 \x14\xFF\xFD ok");  // LMBCS: cp850 e-acute, then U+FFFD
    EXPECT_EQ(NOTES_FN(NSFNoteClose)(note), 0);
    EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
}

TEST_F(DbFidelity, ReadersFieldsHideDocumentsUnlessTheIniGrantsFullAccess) {
    const std::string restricted =
        Item("DocReaders", "CN=Someone Else/O=Acme", " readers='true'") + Item("Subject", "hidden");
    for (bool fullAccess : {false, true}) {
        StartSession(fullAccess ? std::vector<std::string>{"StandinFullAccess=1"}
                                : std::vector<std::string>{});
        testsupport::WriteFile(m_dir.File("readers.nsf"), kHead + Doc(0x10, Item("Subject", "open")) +
                                                              Doc(0x14, restricted) + "</database>\n");
        DBHANDLE db = Open("readers.nsf");
        EXPECT_EQ(Search(db, notes::kNoteClassDocument).size(), fullAccess ? 2u : 1u);
        EXPECT_EQ(NOTES_FN(NSFDbClose)(db), 0);
        NOTES_FN(NotesTerm)();
        m_started = false;
    }
}

}  // namespace
