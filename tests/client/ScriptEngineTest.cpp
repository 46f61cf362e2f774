// The stand-in script engine's language subset: what it runs (over a recording host object), what it
// rejects at compilation with the line and text of the failing line, and its runtime errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script/ScriptEngine.h"

namespace {

using standin::script::InvokeResult;
using standin::script::ScriptEngine;
using standin::script::ScriptError;
using standin::script::ScriptObject;
using standin::script::Value;

std::string Show(const Value &v) {
    switch (v.type) {
        case Value::Type::Empty:
            return "Empty";
        case Value::Type::Number:
            return std::to_string(static_cast<long>(v.number));
        case Value::Type::Text:
            return "\"" + v.text + "\"";
        case Value::Type::Boolean:
            return v.boolean ? "True" : "False";
        case Value::Type::Object:
            return "Object";
        case Value::Type::Nothing:
            return "Nothing";
    }
    return "?";
}

// Records every call as Name(args); Child and CurrentView give another recorder, Missing gives Nothing, Fail
// fails.
class Recorder : public ScriptObject {
public:
    explicit Recorder(std::vector<std::string> &log) : m_log(log) {}
    InvokeResult Invoke(std::string_view name, const std::vector<Value> &args, Value &result,
                        std::string &error) override {
        std::string call = std::string(name) + "(";
        for (std::size_t i = 0; i < args.size(); ++i) {
            call += (i > 0 ? "," : "") + Show(args[i]);
        }
        m_log.push_back(call + ")");
        if (name == "Child" || name == "CurrentView") {
            result = Value::Object(std::make_shared<Recorder>(m_log));
        } else if (name == "Missing") {
            result = Value::Nothing();
        } else if (name == "Fail") {
            error = "boom";
            return InvokeResult::Failed;
        } else if (name == "Unknown") {
            return InvokeResult::NoMember;
        }
        return InvokeResult::Done;
    }

private:
    std::vector<std::string> &m_log;
};

struct Outcome {
    std::vector<std::string> log;
    ScriptError error;
    bool parsed = false;
    ScriptEngine::RunResult result = ScriptEngine::RunResult::Failed;
};

Outcome Execute(const std::string &text, const std::string &sub = "Main") {
    Outcome run;
    ScriptEngine engine([&run](std::string_view progId, std::string &) -> std::shared_ptr<ScriptObject> {
        return progId == "Test.Recorder" ? std::make_shared<Recorder>(run.log) : nullptr;
    });
    run.parsed = engine.Parse(text, run.error);
    if (run.parsed) {
        run.result = engine.Invoke(sub, run.error);
    }
    return run;
}

std::string Joined(const std::vector<std::string> &log) {
    std::string out;
    for (const std::string &s : log) {
        out += (out.empty() ? "" : " ") + s;
    }
    return out;
}

// The three scripts of PDF creation as the program builds them, run over recorders in place of the
// client's classes: every call arrives with its arguments, in order.
TEST(ScriptEngineTest, RunsThePdfScriptsOverTheHostObjects) {
    const std::string scripts =
        "Sub OpenView\r\nSet ws = CreateObject(\"Test.Recorder\")\r\n"
        "Call ws.OpenDatabase(\"\", \"sales.nsf\", \"Orders\\By \"\"Status\"\"\")\r\nEnd Sub\r\n"
        "Sub ViewSelectDoc\r\nSet ws = CreateObject(\"Test.Recorder\")\r\nSet Sess = "
        "CreateObject(\"Test.Recorder\")\r\n"
        "Set ThisDb = Sess.Child(\"\", \"sales.nsf\")\r\nSet doc = ThisDb.Child(\"0123ABCD\")\r\n"
        "if Not doc Is Nothing then\r\nThisCount = ThisCount + 1\r\nrv = "
        "ws.CurrentView.SelectDocument(doc)\r\n"
        "End If\r\nEnd Sub\r\n"
        "Sub PrintSelected\r\nSet ws = CreateObject(\"Test.Recorder\")\r\nrc = "
        "ws.CurrentView.Print(1)\r\nEnd Sub\r\n";
    EXPECT_EQ(Joined(Execute(scripts, "OpenView").log),
              "OpenDatabase(\"\",\"sales.nsf\",\"Orders\\By \"Status\"\")");
    EXPECT_EQ(Joined(Execute(scripts, "viewselectdoc").log),
              "Child(\"\",\"sales.nsf\") Child(\"0123ABCD\") CurrentView() SelectDocument(Object)");
    EXPECT_EQ(Joined(Execute(scripts, "PrintSelected").log), "CurrentView() Print(1)");
    Outcome missing = Execute(scripts, "NoSuchSub");
    EXPECT_EQ(missing.result, ScriptEngine::RunResult::NoSuchSub);
}

struct Accepted {
    const char *name;
    const char *body;  // the lines of Sub Main, run with r a recorder
    const char *log;
};

class AcceptedTest : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedTest, Runs) {
    Outcome run =
        Execute(std::string("Sub Main\nSet r = CreateObject(\"Test.Recorder\")\n") + GetParam().body +
                "\nEnd Sub\nSub Helper\nSet h = CreateObject(\"Test.Recorder\")\nh.H\nEnd Sub\n");
    ASSERT_TRUE(run.parsed) << run.error.line << ": " << run.error.description;
    ASSERT_EQ(run.result, ScriptEngine::RunResult::Done) << run.error.line << ": " << run.error.description;
    EXPECT_EQ(Joined(run.log), GetParam().log);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AcceptedTest,
    ::testing::Values(
        Accepted{"CounterStartsEmpty", "n = n + 1\nn = n + 1\nr.Show n", "Show(2)"},
        Accepted{"KeywordsAnyCase", "IF NOT r.Missing IS NOTHING THEN\nr.No\nELSE\nr.Yes\nend if",
                 "Missing() Yes()"},
        Accepted{"NotBindsLooserThanIs", "Set c = r.Child\nif Not c Is Nothing then r.Yes", "Child() Yes()"},
        Accepted{"ConcatenationAndQuotes", "Call r.Show(\"a\"\"b\" & 1 & \"\")", "Show(\"a\"b1\")"},
        Accepted{"ComparisonsAndLogic", "If 1 < 2 And \"x\" = \"x\" Or False Then r.Yes", "Yes()"},
        Accepted{"CallWithoutParentheses", "r.Show 1, \"two\"", "Show(1,\"two\")"},
        Accepted{"CommentsAndSeparators", "' a comment\nRem another\nr.A : r.B ' trailing", "A() B()"},
        Accepted{"LineContinuation", "Call r.Show(1, _\n  2)", "Show(1,2)"},
        Accepted{"CallsAnotherSub", "Call Helper\nHelper", "H() H()"},
        Accepted{"PropertyChains", "r.Child.Child.Show(-3)", "Child() Child() Show(-3)"}),
    [](const auto &info) { return std::string(info.param.name); });

struct Rejected {
    const char *name;
    const char *text;
    int line;
    const char *description;  // a part of the description
    const char *source;       // "compilation" or "runtime"
};

class RejectedTest : public ::testing::TestWithParam<Rejected> {};

TEST_P(RejectedTest, ReportsLineAndText) {
    std::string text = GetParam().text;
    Outcome run = Execute(text);
    EXPECT_EQ(run.result, ScriptEngine::RunResult::Failed);
    EXPECT_NE(run.error.source.find(GetParam().source), std::string::npos) << run.error.source;
    EXPECT_EQ(run.error.line, GetParam().line) << run.error.description;
    EXPECT_NE(run.error.description.find(GetParam().description), std::string::npos) << run.error.description;
    // The failing line's text, as the script holds it.
    std::size_t start = 0;
    for (int i = 1; i < GetParam().line; ++i) {
        start = text.find('\n', start) + 1;
    }
    EXPECT_EQ(run.error.sourceLine, text.substr(start, text.find('\n', start) - start));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RejectedTest,
    ::testing::Values(
        Rejected{"UnterminatedString", "Sub Main\nx = \"open\nEnd Sub\n", 2, "Unterminated string",
                 "compilation"},
        Rejected{"MissingEndSub", "Sub Main\nx = 1\n", 3, "Expected 'End'", "compilation"},
        Rejected{"MissingEndIf", "Sub Main\nIf x Then\nx = 1\nEnd Sub\n", 4, "Expected 'If'", "compilation"},
        Rejected{"UnsupportedLoop", "Sub Main\nFor i = 1 To 3\nNext\nEnd Sub\n", 2, "'For' is not supported",
                 "compilation"},
        Rejected{"CodeOutsideSub", "x = 1\n", 1, "Expected 'Sub'", "compilation"},
        Rejected{"InvalidCharacter", "Sub Main\nx = 1 # 2\nEnd Sub\n", 2, "Invalid character", "compilation"},
        Rejected{"UnbalancedParenthesis", "Sub Main\nCall f(1, 2\nEnd Sub\n", 2, "Expected ')'",
                 "compilation"},
        Rejected{"SubTwice", "Sub Main\nEnd Sub\nSub main\nEnd Sub\n", 3, "Name redefined", "compilation"},
        Rejected{"UnknownClass", "Sub Main\n\nSet x = CreateObject(\"No.Such\")\nEnd Sub\n", 3,
                 "can't create object: 'No.Such'", "runtime"},
        Rejected{"MemberOfNothing", "Sub Main\nSet x = Nothing\nx.Go\nEnd Sub\n", 3,
                 "Object variable not set", "runtime"},
        Rejected{"NoSuchMember", "Sub Main\nSet r = CreateObject(\"Test.Recorder\")\nr.Unknown\nEnd Sub\n", 3,
                 "doesn't support this property or method: 'Unknown'", "runtime"},
        Rejected{"HostFailure",
                 "Sub Main\nSet r = CreateObject(\"Test.Recorder\")\nrc = r.Fail(1)\nEnd Sub\n", 3, "boom",
                 "runtime"},
        Rejected{"SetOfText", "Sub Main\nSet x = \"text\"\nEnd Sub\n", 2, "Object required", "runtime"},
        Rejected{"TextPlusNumber", "Sub Main\nx = \"a\" + 1\nEnd Sub\n", 2, "Type mismatch", "runtime"},
        Rejected{"EndlessRecursion", "Sub Main\nCall Main\nEnd Sub\n", 2, "Out of stack space", "runtime"}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
