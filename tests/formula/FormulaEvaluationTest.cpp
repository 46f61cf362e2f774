// Formulas evaluated on a note with items of every type: expected result type and value per case.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "FakeFormulaContext.h"
#include "FormulaRender.h"
#include "formula/Formula.h"

namespace {

using formulatest::FakeFormulaContext;
using formulatest::Render;

constexpr WORD T = notes::kTypeText;
constexpr WORD TL = notes::kTypeTextList;
constexpr WORD N = notes::kTypeNumber;
constexpr WORD NL = notes::kTypeNumberRange;
constexpr WORD D = notes::kTypeTime;
constexpr WORD DL = notes::kTypeTimeRange;
constexpr WORD E = notes::kTypeError;

// Times in the table are of a process in GMT.
const bool kUtc = [] {
    setenv("TZ", "UTC", 1);
    tzset();
    return true;
}();

struct Case {
    const char *formula;
    WORD type;
    const char *expected;
};

const char kTextExpected[] = "ERR:Incorrect data type for operator or @Function: Text expected";
const char kNumberExpected[] = "ERR:Incorrect data type for operator or @Function: Number expected";

const Case kCases[] = {
    // Literals and lists.
    {"\"abc\"", T, "abc"},
    {"{abc}", T, "abc"},
    {"\"a\\\"b\"", T, "a\"b"},
    {"{a\\}b}", T, "a}b"},
    {"42", N, "42"},
    {"1.5e2", N, "150"},
    {".5", N, "0.5"},
    {"1:2:3", NL, "1;2;3"},
    {"\"a\":\"b\"", TL, "a;b"},
    {"-1:2", NL, "-1;-2"},
    {"1:-2", NL, "1;-2"},
    {"[06/01/2021]", D, "2021-06-01"},
    {"[12/16/1991 18:13]", D, "1991-12-16 18:13:00"},
    {"Names : \"Dan\"", TL, "Anna;bob;Carl;Dan"},
    {"Names : Price", E, kTextExpected},
    // Arithmetic, pairwise and permuted.
    {"1+2*3", N, "7"},
    {"(1+2)*3", N, "9"},
    {"10/4", N, "2.5"},
    {"10-2-3", N, "5"},
    {"Price * 2", N, "25"},
    {"-Price", N, "-12.5"},
    {"Qty + 1", NL, "2;3;4"},
    {"Qty * Qty", NL, "1;4;9"},
    {"(1:2:3) + (10:20)", NL, "11;22;23"},
    {"(1:2) - (1:2:3)", NL, "0;0;-1"},
    {"(1:2) *+ (10:20)", NL, "11;12;21;22"},
    {"(2:3) ** (10:100)", NL, "20;30;200;300"},
    {"(10:20) */ (2:5)", NL, "5;10;2;4"},
    {"(5:6) *- 1", NL, "4;5"},
    {"2*-1", N, "1"},
    {"\"a\":\"b\" *+ \"1\":\"2\"", TL, "a1;b1;a2;b2"},
    {"\"x\" + \"y\"", T, "xy"},
    {"Names + \"!\"", TL, "Anna!;bob!;Carl!"},
    {"Category1 + \"/\" + Category2", T, "Cat A/Cat B"},
    {"1/0", E, "ERR:Division by zero"},
    {"Subject + 1", E, kTextExpected},
    {"Price + \"x\"", E, kNumberExpected},
    {"Missing + 1", E, kTextExpected},
    {"Subject * 2", E, kNumberExpected},
    {"-Subject", E, kNumberExpected},
    // Comparisons.
    {"1 < 2", N, "1"},
    {"2 <= 2", N, "1"},
    {"3 >= 4", N, "0"},
    {"\"a\" = \"A\"", N, "1"},
    {"\"abc\" < \"abd\"", N, "1"},
    {"Form = \"Memo\"", N, "1"},
    {"Form != \"Memo\"", N, "0"},
    {"Form <> \"memo\"", N, "0"},
    {"Form =! \"Other\"", N, "1"},
    {"Tags = \"b\"", N, "1"},
    {"Tags = \"z\"", N, "0"},
    {"(1:2) = (2:1)", N, "0"},
    {"(1:2) *= (2:3)", N, "1"},
    {"(1:2) *= (3:4)", N, "0"},
    {"(1:2) *> (0:5)", N, "1"},
    {"(1:2) *< (0:1)", N, "0"},
    {"Names *= \"carl\":\"x\"", N, "1"},
    {"Qty > 2", N, "1"},
    {"Qty >= 4", N, "0"},
    {"@Created < @Modified", N, "1"},
    {"Due = [06/01/2021]", N, "1"},
    {"Price = \"12.5\"", E, kNumberExpected},
    // Logic.
    {"!(1 = 1)", N, "0"},
    {"!0", N, "1"},
    {"! 1 = 2", N, "1"},
    {"!Qty", NL, "0;0;0"},
    {"1 & 0", N, "0"},
    {"1 | 0", N, "1"},
    {"0 | 0", N, "0"},
    {"1 & 1 & 1", N, "1"},
    {"0 & (1/0)", N, "0"},
    {"1 | Subject", N, "1"},
    {"0 | Subject", E, kNumberExpected},
    {"Form = \"Memo\" & Price > 10 | 0", N, "1"},
    {"Form = \"Memo\" & Price > 100", N, "0"},
    // Statements, variables and fields.
    {"SELECT @All", N, "1"},
    {"SELECT @ALL", N, "1"},
    {"select @all;", N, "1"},
    {"SELECT Form = \"Memo\"", N, "1"},
    {"x := 5; x * 2", N, "10"},
    {"x := \"a\"; x := x + \"b\"; x", T, "ab"},
    {"Price := 1; Price + 1", N, "2"},
    {"FIELD Subject := \"new\"; Subject", T, "new"},
    {"DEFAULT Subject := \"d\"; Subject", T, "Re: Budget 2021"},
    {"DEFAULT Nothing := \"d\"; Nothing", T, "d"},
    {"REM \"comment\"; 7", N, "7"},
    {"REM {c}; x := 1; x + 1;", N, "2"},
    {"subject", T, "Re: Budget 2021"},
    {"SUBJECT = Subject", N, "1"},
    {"Missing", T, ""},
    {"Empty", T, ""},
    {"@Set(\"v\"; 3); v + 1", N, "4"},
    {"@SetField(\"Form\"; \"Other\"); Form", T, "Other"},
    {"@GetField(\"Price\")", N, "12.5"},
    {"@GetField(\"Nothing\")", T, ""},
    {"@ThisValue", T, ""},
    {"@Do(x := 1; x + 5)", N, "6"},
    {"@Return(5); 6", N, "5"},
    {"@If(1; @Return(\"early\"); \"no\"); \"late\"", T, "early"},
    // @If chains.
    {"@If(1; \"a\"; \"b\")", T, "a"},
    {"@If(0; \"a\"; \"b\")", T, "b"},
    {"@If(0; \"a\"; 0; \"b\"; \"c\")", T, "c"},
    {"@If(0; \"a\"; 1; \"b\"; \"c\")", T, "b"},
    {"@If(Price > 100; \"high\"; Price > 10; \"mid\"; \"low\")", T, "mid"},
    {"@If(Subject; 1; 2)", E, kNumberExpected},
    {"@If(1/0; 1; 2)", E, "ERR:Division by zero"},
    {"@If(@IsAvailable(Subject); \"y\"; \"n\")", T, "y"},
    {"@If(Form = \"Memo\"; @If(Price < 20; \"cheap memo\"; \"memo\"); \"other\")", T, "cheap memo"},
    // Tests and facts.
    {"@IsAvailable(Missing)", N, "0"},
    {"@IsUnavailable(Missing)", N, "1"},
    {"@True + @Yes + @False + @No + @All", N, "3"},
    {"@IsText(Subject)", N, "1"},
    {"@IsNumber(Price)", N, "1"},
    {"@IsTime(@Created)", N, "1"},
    {"@IsNumber(Subject)", N, "0"},
    {"@IsError(1/0)", N, "1"},
    {"@IsError(@Error)", N, "1"},
    {"@IsError(Price)", N, "0"},
    {"@Error", E, "ERR:ERROR"},
    {"@IsResponseDoc", N, "0"},
    {"@NoteID", T, "NT0000210A"},
    {"@Text(@NoteID)", T, "NT0000210A"},
    {"@DocumentUniqueID", T, "85257A1B00123456852579FFABCDEF01"},
    {"@DocNumber", T, "3.1"},
    {"@DbName", TL, ";test.nsf"},
    {"@DbTitle", T, "Test Db"},
    {"@UserName", T, "CN=Tester/O=Acme"},
    {"@Author", T, "CN=Editor/O=Acme"},
    {"@Name([CN]; @UserName)", T, "Tester"},
    {"@Name([Abbreviate]; From)", T, "John Smith/Sales/Acme/US"},
    {"@Name([O]; From)", T, "Acme"},
    {"@Name([OU1]; From)", T, "Sales"},
    {"@Name([C]; From)", T, "US"},
    {"@Name([Canonicalize]; \"John Smith/Sales/Acme\")", T, "CN=John Smith/OU=Sales/O=Acme"},
    // Text functions, on single values and lists.
    {"@Left(Subject; \":\")", T, "Re"},
    {"@Left(Subject; 2)", T, "Re"},
    {"@Left(Subject; \"zzz\")", T, ""},
    {"@Left(Subject; 100)", T, "Re: Budget 2021"},
    {"@Left(Names; 2)", TL, "An;bo;Ca"},
    {"@Left(Price; 2)", E, kTextExpected},
    {"@Right(Subject; 4)", T, "2021"},
    {"@Right(Subject; \": \")", T, "Budget 2021"},
    {"@LeftBack(Subject; 5)", T, "Re: Budget"},
    {"@LeftBack(Subject; \" \")", T, "Re: Budget"},
    {"@RightBack(Subject; 4)", T, "Budget 2021"},
    {"@RightBack(Subject; \" \")", T, "2021"},
    {"@Middle(Subject; 4; 6)", T, "Budget"},
    {"@Middle(Subject; \": \"; \" \")", T, "Budget"},
    {"@Middle(\"abcdef\"; 4; -2)", T, "cd"},
    {"@Middle(Names; 1; 2)", TL, "nn;ob;ar"},
    {"@Left(Umlaut; 2)", T, "Mü"},
    {"@Right(Umlaut; \"ü\")", T, "ller"},
    {"@Contains(Subject; \"Budget\")", N, "1"},
    {"@Contains(Subject; \"budget\")", N, "0"},
    {"@Contains(Names; \"ar\")", N, "1"},
    {"@Contains(Names; \"x\":\"nn\")", N, "1"},
    {"@Begins(Subject; \"Re\")", N, "1"},
    {"@Begins(Subject; \"Budget\")", N, "0"},
    {"@Ends(Subject; \"x\":\"21\")", N, "1"},
    {"@Like(Subject; \"Re%2021\")", N, "1"},
    {"@Like(\"abc\"; \"a_c\")", N, "1"},
    {"@Like(\"abc\"; \"A%\")", N, "0"},
    {"@Like(\"a_c\"; \"a!_c\"; \"!\")", N, "1"},
    {"@Like(\"abc\"; \"a!_c\"; \"!\")", N, "0"},
    {"@Matches(\"abc\"; \"a?c\")", N, "1"},
    {"@Matches(\"abc\"; \"*c\")", N, "1"},
    {"@Matches(\"abc\"; \"{a-c}*\")", N, "1"},
    {"@Matches(\"xbc\"; \"{!a-c}bc\")", N, "1"},
    {"@Matches(\"abc\"; \"b*\")", N, "0"},
    {"@Matches(\"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab\"; \"*a*a*a*a*a*a*c\")", N, "0"},
    {"@UpperCase(Subject)", T, "RE: BUDGET 2021"},
    {"@UpperCase(Umlaut)", T, "MÜLLER"},
    {"@LowerCase(Names)", TL, "anna;bob;carl"},
    {"@ProperCase(\"hello WORLD\")", T, "Hello World"},
    {"@ProperCase(Names)", TL, "Anna;Bob;Carl"},
    {"@Length(Umlaut)", N, "6"},
    {"@Length(Names)", NL, "4;3;4"},
    {"@Length(\"\")", N, "0"},
    {"@Trim(Body)", T, "hello world"},
    {"@Trim(\"a\":\"\":\" b \")", TL, "a;b"},
    {"@Word(\"a b c\"; \" \"; 2)", T, "b"},
    {"@Word(\"a,b,c\"; \",\"; -1)", T, "c"},
    {"@Word(\"a b\"; \" \"; 5)", T, ""},
    {"@ReplaceSubstring(Subject; \"Budget\"; \"Plan\")", T, "Re: Plan 2021"},
    {"@ReplaceSubstring(\"aXbXc\"; \"X\"; \"--\")", T, "a--b--c"},
    {"@ReplaceSubstring(\"abc\"; \"a\":\"b\"; \"b\":\"a\")", T, "bac"},
    {"@ReplaceSubstring(Names; \"a\":\"o\"; \"4\")", TL, "Ann4;b4b;C4rl"},
    {"@Char(65) + @Char(66)", T, "AB"},
    {"@Length(\"ソ丢\")", N, "2"},
    {"@Left(\"ソ丢x\"; 2) + \"\\\"\"", T, "ソ丢\""},
    {"@Right({ソ}; 1)", T, "ソ"},
    {"@Length(@NewLine)", N, "1"},
    // Conversions.
    {"@Text(Price)", T, "12.5"},
    {"@Text(Qty * 2)", TL, "2;4;6"},
    {"@Text(Subject)", T, "Re: Budget 2021"},
    {"@Text(12.345; \"F2\")", T, "12.35"},
    {"@Text(1234567; \",F0\")", T, "1,234,567"},
    {"@Text([12/16/1991 18:13:32])", T, "12/16/91 06:13:32 PM"},
    {"@Text([12/16/1991 18:13:32]; \"D0S0\")", T, "12/16/91"},
    {"@TextToNumber(\"42\")", N, "42"},
    {"@TextToNumber(\" 3.5\")", N, "3.5"},
    {"@TextToNumber(\"12\" + \"3\") + 1", N, "124"},
    {"@TextToNumber(\"abc\")", E, "ERR:The value cannot be converted to a Number."},
    {"@TextToNumber(\"1\":\"2\")", NL, "1;2"},
    {"@TextToTime(\"12/16/1991\")", D, "1991-12-16"},
    {"@TextToTime(\"no time\")", T, ""},
    // Lists.
    {"@Elements(Names)", N, "3"},
    {"@Elements(Missing)", N, "0"},
    {"@Elements(Price)", N, "1"},
    {"@Elements(Dates)", N, "2"},
    {"@Elements(Broken)", N, "0"},
    {"@Subset(Names; 2)", TL, "Anna;bob"},
    {"@Subset(Names; -1)", T, "Carl"},
    {"@Subset(Qty; 5)", NL, "1;2;3"},
    {"@Subset(Names; 0)", E, "ERR:The second argument to @Subset must not be zero"},
    {"@Implode(Names)", T, "Anna bob Carl"},
    {"@Implode(Names; \", \")", T, "Anna, bob, Carl"},
    {"@Explode(\"a b,c;d\")", TL, "a;b;c;d"},
    {"@Explode(\"a--b\"; \"-\")", TL, "a;b"},
    {"@Explode(\"a--b\"; \"-\"; 1)", TL, "a;;b"},
    {"@Subset(@Explode(\"x,y,z\"; \",\"); -2)", TL, "y;z"},
    {"@Replace(Names; \"bob\"; \"Bob\")", TL, "Anna;Bob;Carl"},
    {"@Replace(Names; \"bob\":\"Carl\"; \"B\")", TL, "Anna;B;"},
    {"@Member(\"bob\"; Names)", N, "2"},
    {"@Member(\"x\"; Names)", N, "0"},
    {"@IsMember(\"bob\"; Names)", N, "1"},
    {"@IsMember(\"bob\":\"x\"; Names)", N, "0"},
    {"@IsNotMember(\"x\"; Names)", N, "1"},
    {"@IsNotMember(\"x\":\"bob\"; Names)", N, "0"},
    {"@IsMember(2; Qty)", N, "1"},
    {"@Unique(\"a\":\"b\":\"a\")", TL, "a;b"},
    {"@Unique(1:1:2)", NL, "1;2"},
    {"@Sort(\"b\":\"a\":\"C\")", TL, "C;a;b"},
    {"@Sort(\"b\":\"a\":\"C\"; [Descending])", TL, "b;a;C"},
    {"@Sort(\"b\":\"a\":\"C\"; [CaseInsensitive])", TL, "a;b;C"},
    {"@Sort(3:1:2)", NL, "1;2;3"},
    {"@Implode(@Sort(@Unique(@LowerCase(\"b\":\"A\":\"a\"))); \"-\")", T, "a-b"},
    // Numbers.
    {"@Sum(Qty)", N, "6"},
    {"@Sum(1; 2:3)", N, "6"},
    {"@Sum(\"a\")", E, kNumberExpected},
    {"@Max(Qty)", N, "3"},
    {"@Min(Qty)", N, "1"},
    {"@Max(1:5; 3:2)", NL, "3;5"},
    {"@Min(1:5; 3)", NL, "1;3"},
    {"@Abs(-3)", N, "3"},
    {"@Abs(-1:2)", NL, "1;2"},
    {"@Round(2.5)", N, "3"},
    {"@Round(-2.5)", N, "-3"},
    {"@Round(2.4)", N, "2"},
    {"@Round(1234; 100)", N, "1200"},
    {"@Integer(3.9)", N, "3"},
    {"@Integer(-3.9)", N, "-3"},
    {"@Modulo(7; 3)", N, "1"},
    {"@Modulo(-7; 3)", N, "-1"},
    {"@Modulo(7; 0)", E, "ERR:Division by zero"},
    {"@Power(2; 10)", N, "1024"},
    // Times and date arithmetic.
    {"@Created", D, "2020-03-15 10:30:00"},
    {"@Modified", D, "2021-12-31 23:59:59"},
    {"@Accessed", D, "2022-01-01 08:00:00"},
    {"@Year(@Created)", N, "2020"},
    {"@Month(@Created)", N, "3"},
    {"@Day(@Created)", N, "15"},
    {"@Hour(@Created)", N, "10"},
    {"@Minute(@Created)", N, "30"},
    {"@Second(@Modified)", N, "59"},
    {"@Weekday(@Created)", N, "1"},
    {"@Weekday([12/16/1991])", N, "2"},
    {"@Year(Due)", N, "2021"},
    {"@Hour(Due)", N, "-1"},
    {"@Year(Dates)", NL, "2019;2020"},
    {"@Year(Subject)", E, "ERR:Incorrect data type for operator or @Function: Time/Date expected"},
    {"@Date(2020; 2; 29)", D, "2020-02-29"},
    {"@Date(2021; 2; 29)", E, "ERR:Invalid Time or Date"},
    {"@Date(@Created)", D, "2020-03-15"},
    {"@Time(@Created)", D, "10:30:00"},
    {"@Time(10; 5; 0)", D, "10:05:00"},
    {"@Time(2020; 1; 2; 3; 4; 5)", D, "2020-01-02 03:04:05"},
    {"@Created + 3600", D, "2020-03-15 11:30:00"},
    {"@Created - 60", D, "2020-03-15 10:29:00"},
    {"@Modified - @Created", N, "56726999"},
    {"Dates + 86400", DL, "2019-01-03;2020-03-05 05:06:07"},
    {"@Adjust(@Created; 0; 0; 1; 0; 0; 0)", D, "2020-03-16 10:30:00"},
    {"@Adjust(@Created; 0; 1; 0; 0; 0; 0)", D, "2020-04-15 10:30:00"},
    {"@Adjust(@Created; 1; -3; 0; 0; 0; 0)", D, "2020-12-15 10:30:00"},
    {"@Adjust([01/31/2021]; 0; 1; 0; 0; 0; 0)", D, "2021-03-03"},
    {"@Adjust(@Created; 0; 0; 0; -11; 0; 0)", D, "2020-03-14 23:30:00"},
    {"@Created < @Now", N, "1"},
    {"@Today > @Created", N, "1"},
    {"@Tomorrow > @Today & @Yesterday < @Today", N, "1"},
    {"@Year(@Adjust(@Today; 0; 0; 1; 0; 0; 0)) = @Year(@Tomorrow)", N, "1"},
};

void PrintTo(const Case &c, std::ostream *os) {
    *os << c.formula;
}

class FormulaEvaluation : public ::testing::TestWithParam<Case> {};

TEST_P(FormulaEvaluation, GivesTypeAndValue) {
    const Case &c = GetParam();
    std::string compiled;
    formula::CompileError error;
    ASSERT_TRUE(formula::Compile(standin::Utf8ToLmbcs(c.formula), compiled, error))
        << c.formula << ": status " << std::hex << error.status << " at " << std::dec << error.offset;
    FakeFormulaContext context;
    formula::Result result;
    STATUS status = 0;
    ASSERT_TRUE(formula::Evaluate(compiled, context, result, status)) << c.formula;
    EXPECT_EQ(result.type, c.type) << c.formula << " gave " << Render(result);
    EXPECT_EQ(Render(result), c.expected) << c.formula;
}

INSTANTIATE_TEST_SUITE_P(Table, FormulaEvaluation, ::testing::ValuesIn(kCases));

}  // namespace
