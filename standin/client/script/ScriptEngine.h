// Runs the Subs of parsed scripts: variables local to each run of a Sub, CreateObject through the
// host's factory, calls of the host's objects, and runtime errors with the line they happened on.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ScriptSyntax.h"

namespace standin::script {

// Makes the object CreateObject names; null with error set when there is none of that name.
using ObjectFactory =
    std::function<std::shared_ptr<ScriptObject>(std::string_view progId, std::string &error)>;

class ScriptEngine {
public:
    explicit ScriptEngine(ObjectFactory factory) : m_factory(std::move(factory)) {}

    // Parses a script and keeps its Subs (a Sub of a name parsed before is replaced). False with error
    // filled on a compilation error; nothing of that text is kept then.
    [[nodiscard]] bool Parse(std::string_view text, ScriptError &error);

    enum class RunResult { Done, Failed, NoSuchSub };
    // Runs a Sub by name (without regard to case). Failed with error filled on a runtime error.
    [[nodiscard]] RunResult Invoke(std::string_view subName, ScriptError &error);

private:
    struct SubRef {
        std::shared_ptr<const Program> program;
        const Sub *sub = nullptr;
    };
    struct Frame {
        const Program *program = nullptr;
        std::map<std::string, Value> locals;  // by lower-case name
    };

    bool RunSub(const SubRef &ref);
    bool Execute(const std::vector<Statement> &statements, Frame &frame);
    bool ExecuteOne(const Statement &s, Frame &frame);
    bool Evaluate(const Expr &e, Frame &frame, Value &out);
    bool EvaluateCall(const Expr &e, Frame &frame, Value &out);
    bool CallMember(const Expr &target, const std::string &member, std::vector<Value> args, Frame &frame,
                    Value &out);
    bool Operator(const std::string &op, const Value &a, const Value &b, Value &out);
    bool Truth(const Value &v, bool &out);
    bool Fail(const std::string &description);
    const SubRef *FindSub(std::string_view name) const;

    ObjectFactory m_factory;
    std::map<std::string, SubRef> m_subs;  // by lower-case name
    ScriptError m_error;
    const Program *m_program = nullptr;  // of the statement running
    int m_line = 0;
    int m_depth = 0;
    long m_steps = 0;
};

}  // namespace standin::script
