// The formula entry points through the C API: compile into a memory handle, compute on open notes,
// compile errors with their message and place, selection in NSFSearch, and refusal of bad handles.
#include <cstring>

#include "DbFixture.h"

namespace {

using dbtest::DbFixture;
using testsupport::Standin;

class FormulaApi : public DbFixture {
protected:
    void SetUp() override {
        DbFixture::SetUp();
        StartSession();
        m_db = Open(Install("Sample.dxl", "sample.nsf"));
        ASSERT_EQ(NOTES_FN(NSFNoteOpen)(m_db, 0x10, 0, &m_note), 0);
    }
    void TearDown() override {
        EXPECT_EQ(NOTES_FN(NSFNoteClose)(m_note), 0);
        EXPECT_EQ(NOTES_FN(NSFDbClose)(m_db), 0);
        DbFixture::TearDown();
    }
    FORMULAHANDLE Compile(const std::string &text, WORD *length = nullptr) {
        FORMULAHANDLE formula = 0;
        WORD len = 0;
        STATUS error = 0;
        WORD line = 0, column = 0, offset = 0, errLen = 0;
        EXPECT_EQ(NOTES_FN(NSFFormulaCompile)(nullptr, 0, text.data(), static_cast<WORD>(text.size()),
                                              &formula, &len, &error, &line, &column, &offset, &errLen),
                  0)
            << text;
        if (length != nullptr) {
            *length = len;
        }
        return formula;
    }
    struct Outcome {
        std::string block;  // type word and value
        bool matches = false;
        bool modified = false;
    };
    // Compiles, starts, evaluates on the open note and stops, freeing everything.
    Outcome Evaluate(const std::string &text) {
        Outcome out;
        WORD length = 0;
        FORMULAHANDLE formula = Compile(text, &length);
        void *locked = NOTES_FN(OSLockObject)(formula);
        HCOMPUTE compute = nullptr;
        EXPECT_EQ(NOTES_FN(NSFComputeStart)(0, locked, &compute), 0);
        EXPECT_EQ(Standin::Get().Counters().computes, 1u);
        DHANDLE result = 0;
        WORD resultLength = 0;
        BOOL matches = 0, shouldDelete = 0, modified = 0;
        EXPECT_EQ(NOTES_FN(NSFComputeEvaluate)(compute, m_note, &result, &resultLength, &matches,
                                               &shouldDelete, &modified),
                  0);
        if (result != 0) {
            const char *bytes = static_cast<const char *>(NOTES_FN(OSLockObject)(result));
            out.block.assign(bytes, resultLength);
            NOTES_FN(OSUnlockObject)(result);
            NOTES_FN(OSMemFree)(result);
        }
        out.matches = matches != 0;
        out.modified = modified != 0;
        EXPECT_EQ(NOTES_FN(NSFComputeStop)(compute), 0);
        NOTES_FN(OSUnlockObject)(formula);
        NOTES_FN(OSMemFree)(formula);
        return out;
    }
    DBHANDLE m_db = 0;
    NOTEHANDLE m_note = 0;
};

std::string Typed(WORD type, const std::string &value) {
    std::string out;
    out += static_cast<char>(type & 0xFF);
    out += static_cast<char>(type >> 8);
    return out + value;
}

std::string Double(double d) {
    std::string out(8, '\0');
    std::memcpy(out.data(), &d, 8);
    return out;
}

TEST_F(FormulaApi, EvaluatesOnTheNoteItems) {
    struct Case {
        const char *formula;
        std::string block;
        bool matches;
    };
    const Case cases[] = {
        {"@Left(Subject; 2) + Category", Typed(notes::kTypeText, "BeFruit"), true},
        {"Count * 2", Typed(notes::kTypeNumber, Double(85)), true},
        {"@Elements(Tags)", Typed(notes::kTypeNumber, Double(2)), true},
        {"@UpperCase(Tags)",
         Typed(notes::kTypeTextList, std::string("\x02\x00\x01\x00\x02\x00"
                                                 "ABC",
                                                 9)),
         true},
        {"@Sum(Scores)", Typed(notes::kTypeNumber, Double(3)), true},
        {"@NoteID", Typed(notes::kTypeText, "NT00000010"), true},
        {"SELECT Form = \"Memo\"", Typed(notes::kTypeNumber, Double(1)), true},
        {"SELECT Form = \"Other\"", Typed(notes::kTypeNumber, Double(0)), false},
        {"NoSuchItem", Typed(notes::kTypeText, ""), false},
        {"1/0", Typed(notes::kTypeError, "Division by zero"), false},
    };
    for (const Case &c : cases) {
        Outcome o = Evaluate(c.formula);
        EXPECT_EQ(o.block, c.block) << c.formula;
        EXPECT_EQ(o.matches, c.matches) << c.formula;
        EXPECT_FALSE(o.modified) << c.formula;
    }
    Outcome o = Evaluate("FIELD Subject := \"Changed\"; Subject");
    EXPECT_EQ(o.block, Typed(notes::kTypeText, "Changed"));
    EXPECT_TRUE(o.modified);
    EXPECT_EQ(Text(m_note, "Subject"), "Beta");
}

TEST_F(FormulaApi, CompileErrorsGiveStatusMessageAndPlace) {
    struct Case {
        const char *formula;
        const char *message;
        WORD line, column, offset, length;
    };
    const Case cases[] = {
        {"@Left(Subject; 2) + @Nope", "Unknown @Function", 1, 21, 20, 5},
        {"x := \"open", "Missing close quote", 1, 6, 5, 5},
        {"1 + \"a\"", "Incorrect data type for operator or @Function", 1, 3, 2, 1},
    };
    for (const Case &c : cases) {
        FORMULAHANDLE formula = 123;
        WORD len = 9, line = 0, column = 0, offset = 0, errLen = 0;
        STATUS error = 0;
        STATUS s =
            NOTES_FN(NSFFormulaCompile)(nullptr, 0, c.formula, static_cast<WORD>(std::strlen(c.formula)),
                                        &formula, &len, &error, &line, &column, &offset, &errLen);
        EXPECT_NE(s, 0) << c.formula;
        EXPECT_EQ(error, s) << c.formula;
        EXPECT_EQ(formula, 0u);
        EXPECT_EQ(len, 0);
        EXPECT_EQ(Message(error), c.message);
        EXPECT_EQ(line, c.line) << c.formula;
        EXPECT_EQ(column, c.column) << c.formula;
        EXPECT_EQ(offset, c.offset) << c.formula;
        EXPECT_EQ(errLen, c.length) << c.formula;
    }
}

TEST_F(FormulaApi, SearchSelectsByFormula) {
    FORMULAHANDLE formula = Compile("SELECT Category = \"Fruit\" & Form = \"Memo\"");
    std::vector<NOTEID> ids = Search(m_db, notes::kNoteClassDocument, formula);
    EXPECT_EQ(ids, (std::vector<NOTEID>{0x10, 0x18}));
    NOTES_FN(OSMemFree)(formula);
}

TEST_F(FormulaApi, BadHandlesAndBytesAreRefused) {
    HCOMPUTE compute = nullptr;
    const char garbage[16] = "not a formula";
    EXPECT_NE(NOTES_FN(NSFComputeStart)(0, const_cast<char *>(garbage), &compute), 0);
    EXPECT_EQ(compute, nullptr);
    EXPECT_NE(NOTES_FN(NSFComputeStart)(0, nullptr, &compute), 0);
    int local = 0;
    DHANDLE result = 0;
    WORD length = 0;
    EXPECT_NE(NOTES_FN(NSFComputeEvaluate)(&local, m_note, &result, &length, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(result, 0u);
    EXPECT_NE(NOTES_FN(NSFComputeStop)(&local), 0);

    FORMULAHANDLE formula = Compile("Subject");
    ASSERT_EQ(NOTES_FN(NSFComputeStart)(0, NOTES_FN(OSLockObject)(formula), &compute), 0);
    NOTES_FN(OSUnlockObject)(formula);
    NOTES_FN(OSMemFree)(formula);
    // The computation keeps its own copy: the compiled handle may go before it is used.
    EXPECT_NE(NOTES_FN(NSFComputeEvaluate)(compute, 0xDEAD, &result, &length, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(result, 0u);
    ASSERT_EQ(NOTES_FN(NSFComputeEvaluate)(compute, m_note, &result, &length, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(length, 2 + 4);
    NOTES_FN(OSMemFree)(result);
    EXPECT_EQ(NOTES_FN(NSFComputeStop)(compute), 0);
    EXPECT_NE(NOTES_FN(NSFComputeStop)(compute), 0);
}

TEST_F(FormulaApi, InjectedFailuresLeaveNothingAllocated) {
    const STATUS injected = 0x3E09;
    for (const char *entry : {"NSFFormulaCompile", "NSFComputeStart", "NSFComputeEvaluate"}) {
        Standin::Get().SetFault(entry, 1, injected);
        FORMULAHANDLE formula = 0;
        WORD len = 0;
        STATUS error = 0;
        STATUS s = NOTES_FN(NSFFormulaCompile)(nullptr, 0, "Subject", 7, &formula, &len, &error, nullptr,
                                               nullptr, nullptr, nullptr);
        if (s != 0) {
            EXPECT_EQ(s, injected);
            EXPECT_EQ(formula, 0u);
            continue;
        }
        HCOMPUTE compute = nullptr;
        s = NOTES_FN(NSFComputeStart)(0, NOTES_FN(OSLockObject)(formula), &compute);
        NOTES_FN(OSUnlockObject)(formula);
        NOTES_FN(OSMemFree)(formula);
        if (s != 0) {
            EXPECT_EQ(s, injected);
            EXPECT_EQ(Standin::Get().Counters().computes, 0u);
            continue;
        }
        DHANDLE result = 0;
        WORD length = 0;
        EXPECT_EQ(NOTES_FN(NSFComputeEvaluate)(compute, m_note, &result, &length, nullptr, nullptr, nullptr),
                  injected);
        EXPECT_EQ(result, 0u);
        EXPECT_EQ(NOTES_FN(NSFComputeStop)(compute), 0);
    }
}

}  // namespace
