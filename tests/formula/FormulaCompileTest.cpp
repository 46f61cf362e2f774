// Compile errors with their place in the text; selection and modification flags; damaged compiled bytes;
// formulas that would grow without bound; the column and selection formulas of real views.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "FakeFormulaContext.h"
#include "FormulaRender.h"
#include "formula/Formula.h"
#include "formula/FormulaStatus.h"
#include "support/TestSupport.h"

namespace {

using formulatest::FakeFormulaContext;
using formulatest::Render;

struct ErrorCase {
    const char *formula;
    STATUS status;
    WORD offset;
    WORD length;
    WORD line;
    WORD column;
};

void PrintTo(const ErrorCase &c, std::ostream *os) {
    *os << c.formula;
}

const ErrorCase kErrors[] = {
    {"@Foo(1)", formula::kStsUnknownFunction, 0, 4, 1, 1},
    {"1 + @bar", formula::kStsUnknownFunction, 4, 4, 1, 5},
    {"\"abc", formula::kStsMissingCloseQuote, 0, 4, 1, 1},
    {"x := \"a; 1", formula::kStsMissingCloseQuote, 5, 5, 1, 6},
    {"{abc", formula::kStsMissingCloseBrace, 0, 4, 1, 1},
    {"[12/16", formula::kStsMissingCloseBracket, 0, 6, 1, 1},
    {"[99/99/9999]", formula::kStsInvalidTime, 0, 12, 1, 1},
    {"[]", formula::kStsInvalidTime, 0, 2, 1, 1},
    {"@Left(\"a\"; 1", formula::kStsMissingCloseParen, 12, 1, 1, 13},
    {"(1 + 2", formula::kStsMissingCloseParen, 6, 1, 1, 7},
    {"@Left(\"a\" 1)", formula::kStsMissingCloseParen, 10, 1, 1, 11},
    {"1 + \"a\"", formula::kStsIncorrectDataType, 2, 1, 1, 3},
    {"\"a\" * 2", formula::kStsIncorrectDataType, 4, 1, 1, 5},
    {"-\"a\"", formula::kStsIncorrectDataType, 0, 1, 1, 1},
    {"1 : \"a\"", formula::kStsIncorrectDataType, 2, 1, 1, 3},
    {"\"a\" = 1", formula::kStsIncorrectDataType, 4, 1, 1, 5},
    {"[1/1/2020] * 2", formula::kStsIncorrectDataType, 11, 1, 1, 12},
    {"@Left(\"a\")", formula::kStsTooFewArguments, 0, 5, 1, 1},
    {"@If(1; 2)", formula::kStsTooFewArguments, 0, 3, 1, 1},
    {"@Abs(1; 2)", formula::kStsTooManyArguments, 0, 4, 1, 1},
    {"@Now(1)", formula::kStsTooManyArguments, 0, 4, 1, 1},
    {"1 # 2", formula::kStsInvalidCharacter, 2, 1, 1, 3},
    {"1 +", formula::kStsMissingOperand, 3, 1, 1, 4},
    {"(* 2)", formula::kStsMissingOperand, 1, 1, 1, 2},
    {"@Abs(;)", formula::kStsMissingOperand, 5, 1, 1, 6},
    {"1 2", formula::kStsOperatorExpected, 2, 1, 1, 3},
    {"Subject Form", formula::kStsOperatorExpected, 8, 4, 1, 9},
    {"x := 1", formula::kStsNoMainExpression, 6, 1, 1, 7},
    {"", formula::kStsNoMainExpression, 0, 1, 1, 1},
    {"REM \"only a remark\";", formula::kStsNoMainExpression, 20, 1, 1, 21},
    {"FIELD := 1", formula::kStsFieldNameExpected, 6, 2, 1, 7},
    {"@IsAvailable(\"x\")", formula::kStsFieldNameExpected, 13, 3, 1, 14},
    {"1e999", formula::kStsInvalidNumber, 0, 5, 1, 1},
    {"1 +\n  @Foo", formula::kStsUnknownFunction, 6, 4, 2, 3},
    {"x := 1;\r\ny := \"a\" - 1", formula::kStsIncorrectDataType, 18, 1, 2, 10},
};

class FormulaCompileError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(FormulaCompileError, ReportsStatusAndPlace) {
    const ErrorCase &c = GetParam();
    std::string compiled = "stale";
    formula::CompileError error;
    EXPECT_FALSE(formula::Compile(c.formula, compiled, error));
    EXPECT_TRUE(compiled.empty());
    EXPECT_EQ(error.status, c.status) << formula::FormulaMessageText(error.status);
    EXPECT_EQ(error.offset, c.offset);
    EXPECT_EQ(error.length, c.length);
    EXPECT_EQ(error.line, c.line);
    EXPECT_EQ(error.column, c.column);
    EXPECT_FALSE(formula::FormulaMessageText(error.status).empty());
}

INSTANTIATE_TEST_SUITE_P(Table, FormulaCompileError, ::testing::ValuesIn(kErrors));

TEST(FormulaCompile, NestingBeyondTheLimitIsAnErrorNotACrash) {
    for (const char *open : {"(", "-", "!", "@Abs("}) {
        std::string text;
        for (int i = 0; i < 5000; ++i) {
            text += open;
        }
        text += "1";
        std::string compiled;
        formula::CompileError error;
        EXPECT_FALSE(formula::Compile(text, compiled, error)) << open;
        EXPECT_EQ(error.status, formula::kStsTooComplex) << open;
    }
    std::string chain = "1";
    for (int i = 0; i < 20000; ++i) {
        chain += "+1";
    }
    std::string compiled;
    formula::CompileError error;
    EXPECT_FALSE(formula::Compile(chain, compiled, error));
    EXPECT_EQ(error.status, formula::kStsTooComplex);
}

struct Evaluation {
    formula::Result result;
    bool ok = false;
};

Evaluation RunFormula(const std::string &text, const formula::FormulaContext &context) {
    std::string compiled;
    formula::CompileError error;
    Evaluation out;
    if (!formula::Compile(text, compiled, error)) {
        ADD_FAILURE() << text << " does not compile: " << formula::FormulaMessageText(error.status);
        return out;
    }
    STATUS status = 0;
    out.ok = formula::Evaluate(compiled, context, out.result, status);
    return out;
}

struct FlagCase {
    const char *formula;
    bool matches;
    bool modified;
};

TEST(FormulaFlags, SelectionAndModification) {
    const FlagCase cases[] = {
        {"SELECT @All", true, false},
        {"SELECT Form = \"Memo\"", true, false},
        {"SELECT Form = \"Other\"", false, false},
        {"SELECT Form = \"Memo\" & Price > 100", false, false},
        {"SELECT Subject", true, false},
        {"SELECT Missing", false, false},
        {"SELECT 1/0", false, false},
        {"SELECT 0; 1", false, false},
        {"Price", true, false},
        {"0", false, false},
        {"\"\"", false, false},
        {"FIELD Subject := \"x\"; SELECT @All", true, true},
        {"@SetField(\"A\"; 1)", true, true},
        {"x := 1; SELECT x = 1", true, false},
    };
    FakeFormulaContext context;
    for (const FlagCase &c : cases) {
        Evaluation e = RunFormula(c.formula, context);
        ASSERT_TRUE(e.ok) << c.formula;
        EXPECT_EQ(e.result.matches, c.matches) << c.formula;
        EXPECT_EQ(e.result.modified, c.modified) << c.formula;
        EXPECT_FALSE(e.result.shouldDelete) << c.formula;
    }
    // The note itself is not changed by FIELD.
    WORD type = 0;
    std::string value;
    ASSERT_TRUE(context.FindItem("Subject", type, value));
    EXPECT_EQ(value, "Re: Budget 2021");
}

TEST(FormulaResult, TextListBytesAreLaidOutAsNotesStoresThem) {
    FakeFormulaContext context;
    Evaluation e = RunFormula("Names", context);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.result.type, notes::kTypeTextList);
    EXPECT_EQ(e.result.value, std::string("\x03\x00\x04\x00\x03\x00\x04\x00"
                                          "AnnabobCarl",
                                          19));
    e = RunFormula("1:2", context);
    EXPECT_EQ(e.result.value.substr(0, 4), std::string("\x02\x00\x00\x00", 4));
    EXPECT_EQ(e.result.value.size(), 4u + 16u);
}

TEST(FormulaResult, GrowthStopsWithAnErrorValue) {
    FakeFormulaContext context;
    std::string doubling = "x := \"abcdefgh\"";
    for (int i = 0; i < 40; ++i) {
        doubling += "; x := x + x";
    }
    doubling += "; x";
    const char *others[] = {
        "x := 1:2:3:4:5:6:7:8:9:10; y := x *+ x *+ x *+ x *+ x; y *+ y",
        "x := @Explode(\"a b c d e f g h i j k l m n o p q r s t u v w x y z\"); x *+ x *+ x *+ x",
        "@ReplaceSubstring(\"aaaaaaaaaaaaaaaaaaaa\"; \"a\"; "
        "\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\")",
    };
    Evaluation e = RunFormula(doubling, context);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(Render(e.result), "ERR:The formula result is too large");
    for (const char *f : others) {
        e = RunFormula(f, context);
        ASSERT_TRUE(e.ok) << f;
        EXPECT_LE(e.result.value.size() + 2, 0xFFFFu) << f;
    }
    e = RunFormula("x := @Explode(\"a b c d e f g h i j k l m n o p q r s t u v w x y z\"); x *+ x *+ x *+ x",
                   context);
    EXPECT_EQ(e.result.type, notes::kTypeError);
}

TEST(FormulaEvaluate, DamagedCompiledBytesAreRefused) {
    std::string compiled;
    formula::CompileError error;
    ASSERT_TRUE(formula::Compile("SELECT @If(Form = \"Memo\"; Price * 2 > 10; @Left(Subject; 2) = \"Re\")",
                                 compiled, error));
    FakeFormulaContext context;
    for (std::size_t length = 0; length < compiled.size(); ++length) {
        formula::Result result;
        STATUS status = 0;
        EXPECT_FALSE(formula::Evaluate(compiled.substr(0, length), context, result, status)) << length;
        EXPECT_EQ(status, formula::kStsDamaged) << length;
    }
    formula::Result result;
    STATUS status = 0;
    EXPECT_FALSE(formula::Evaluate(compiled + "x", context, result, status));
    // Every single-byte change is either refused or evaluates to some value; none may crash.
    for (std::size_t i = 0; i < compiled.size(); ++i) {
        std::string changed = compiled;
        changed[i] = static_cast<char>(changed[i] ^ 0x5A);
        status = 0;
        if (!formula::Evaluate(changed, context, result, status)) {
            EXPECT_EQ(status, formula::kStsDamaged);
        }
    }
    EXPECT_TRUE(formula::Evaluate(compiled, context, result, status));
    EXPECT_TRUE(result.matches);
}

// The formulas of real view designs: selection and column formulas.
std::vector<std::string> ViewFormulas(const std::string &file) {
    std::ifstream in(testsupport::RealDataPath("domino-jnx/" + file));
    std::stringstream text;
    text << in.rdbuf();
    std::string xml = text.str();
    std::vector<std::string> out;
    std::regex formulaTag("<formula>([^<]*)</formula>");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), formulaTag); it != std::sregex_iterator();
         ++it) {
        std::string f = (*it)[1];
        f = std::regex_replace(f, std::regex("&quot;"), "\"");
        f = std::regex_replace(f, std::regex("&lt;"), "<");
        f = std::regex_replace(f, std::regex("&gt;"), ">");
        f = std::regex_replace(f, std::regex("&amp;"), "&");
        out.push_back(f);
    }
    return out;
}

TEST(FormulaRealViews, FormulasCompileAndGiveSensibleValues) {
    FakeFormulaContext context;
    struct Expected {
        const char *file;
        std::vector<std::string> values;  // rendered, in the order of the file's formulas
        std::vector<bool> matches;
    };
    const Expected files[] = {
        {"view_all_docnumber.xml", {"1", "3.1"}, {true, true}},
        {"view_categorized_multivalue.xml", {"0", "Cat A;Cat B", "NT0000210A"}, {false, true, true}},
        {"view_three_columns.xml", {"0"}, {false}},
    };
    for (const Expected &f : files) {
        std::vector<std::string> formulas = ViewFormulas(f.file);
        ASSERT_GE(formulas.size(), f.values.size()) << f.file;
        for (std::size_t i = 0; i < formulas.size(); ++i) {
            Evaluation e = RunFormula(formulas[i], context);
            ASSERT_TRUE(e.ok) << formulas[i];
            if (i < f.values.size()) {
                EXPECT_EQ(Render(e.result), f.values[i]) << formulas[i];
                EXPECT_EQ(e.result.matches, f.matches[i]) << formulas[i];
            }
        }
    }
    FakeFormulaContext conversion;
    conversion.Text("Form", "Conversion Doc");
    Evaluation e = RunFormula(ViewFormulas("view_three_columns.xml")[0], conversion);
    EXPECT_TRUE(e.result.matches);
}

}  // namespace
