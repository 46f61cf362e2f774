// The interpreter of the script language subset over the parsed form.
#include "ScriptEngine.h"

#include <charconv>
#include <cmath>

namespace standin::script {

namespace {

constexpr int kMaxCallDepth = 32;
constexpr long kMaxSteps = 100000;  // statements per Invoke: Subs calling Subs cannot run for ever

std::string Lower(std::string_view name) {
    std::string out(name);
    for (char &c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

std::string NumberText(double n) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

// A value as a number: Empty is 0, True is -1, a text must be a number. False when it is not one.
bool AsNumber(const Value &v, double &out) {
    switch (v.type) {
        case Value::Type::Empty:
            out = 0;
            return true;
        case Value::Type::Number:
            out = v.number;
            return true;
        case Value::Type::Boolean:
            out = v.boolean ? -1 : 0;
            return true;
        case Value::Type::Text: {
            std::string_view t = v.text;
            while (!t.empty() && t.front() == ' ') {
                t.remove_prefix(1);
            }
            while (!t.empty() && t.back() == ' ') {
                t.remove_suffix(1);
            }
            auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), out);
            return !t.empty() && ec == std::errc() && end == t.data() + t.size() && std::isfinite(out);
        }
        default:
            return false;
    }
}

bool AsText(const Value &v, std::string &out) {
    switch (v.type) {
        case Value::Type::Empty:
            out.clear();
            return true;
        case Value::Type::Number:
            out = NumberText(v.number);
            return true;
        case Value::Type::Boolean:
            out = v.boolean ? "True" : "False";
            return true;
        case Value::Type::Text:
            out = v.text;
            return true;
        default:
            return false;
    }
}

long long AsInteger(double n) {
    if (!std::isfinite(n) || std::fabs(n) > 9e15) {
        return 0;
    }
    return std::llround(n);
}

}  // namespace

bool ScriptEngine::Parse(std::string_view text, ScriptError &error) {
    auto program = std::make_shared<Program>();
    if (!ParseScript(text, *program, error)) {
        return false;
    }
    for (const Sub &sub : program->subs) {
        m_subs[Lower(sub.name)] = SubRef{program, &sub};
    }
    return true;
}

ScriptEngine::RunResult ScriptEngine::Invoke(std::string_view subName, ScriptError &error) {
    const SubRef *ref = FindSub(subName);
    if (ref == nullptr) {
        return RunResult::NoSuchSub;
    }
    SubRef keep = *ref;  // the Sub stays alive while it runs, whatever is parsed meanwhile
    m_error = ScriptError();
    m_depth = 0;
    m_steps = 0;
    if (RunSub(keep)) {
        return RunResult::Done;
    }
    error = m_error;
    return RunResult::Failed;
}

const ScriptEngine::SubRef *ScriptEngine::FindSub(std::string_view name) const {
    auto found = m_subs.find(Lower(name));
    return found == m_subs.end() ? nullptr : &found->second;
}

bool ScriptEngine::Fail(const std::string &description) {
    m_error.source = kRuntimeError;
    m_error.line = m_line;
    m_error.description = description;
    m_error.sourceLine = m_program == nullptr ? std::string() : LineText(*m_program, m_line);
    return false;
}

bool ScriptEngine::RunSub(const SubRef &ref) {
    if (m_depth >= kMaxCallDepth) {
        return Fail("Out of stack space");
    }
    ++m_depth;
    const Program *caller = m_program;
    int callerLine = m_line;
    Frame frame;
    frame.program = ref.program.get();
    m_program = frame.program;
    bool ok = Execute(ref.sub->body, frame);
    if (ok) {
        m_program = caller;
        m_line = callerLine;
    }
    --m_depth;
    return ok;
}

bool ScriptEngine::Execute(const std::vector<Statement> &statements, Frame &frame) {
    for (const Statement &s : statements) {
        m_line = s.line;
        m_program = frame.program;
        if (++m_steps > kMaxSteps) {
            return Fail("The script ran too long (more than " + std::to_string(kMaxSteps) + " statements)");
        }
        if (!ExecuteOne(s, frame)) {
            return false;
        }
    }
    return true;
}

bool ScriptEngine::ExecuteOne(const Statement &s, Frame &frame) {
    Value v;
    switch (s.kind) {
        case Statement::Kind::Set:
            if (!Evaluate(*s.expr, frame, v)) {
                return false;
            }
            if (!v.IsObjectOrNothing()) {
                return Fail("Object required: '" + s.target + "'");
            }
            frame.locals[Lower(s.target)] = std::move(v);
            return true;
        case Statement::Kind::Assign:
            if (!Evaluate(*s.expr, frame, v)) {
                return false;
            }
            if (v.type == Value::Type::Object) {
                return Fail("Object doesn't support this property or method");
            }
            if (v.type == Value::Type::Nothing) {
                return Fail("Object variable not set");
            }
            frame.locals[Lower(s.target)] = std::move(v);
            return true;
        case Statement::Kind::Call:
            if (s.expr->kind == Expr::Kind::Name && FindSub(s.expr->name) == nullptr) {
                return Fail("Type mismatch: '" + s.expr->name + "'");
            }
            return Evaluate(*s.expr, frame, v);
        case Statement::Kind::If: {
            bool condition = false;
            if (!Evaluate(*s.expr, frame, v) || !Truth(v, condition)) {
                return false;
            }
            return Execute(condition ? s.body : s.otherwise, frame);
        }
    }
    return true;
}

bool ScriptEngine::Truth(const Value &v, bool &out) {
    if (v.type == Value::Type::Boolean) {
        out = v.boolean;
        return true;
    }
    if (v.type == Value::Type::Text && (SameName(v.text, "true") || SameName(v.text, "false"))) {
        out = SameName(v.text, "true");
        return true;
    }
    double n = 0;
    if (!AsNumber(v, n)) {
        return Fail(v.type == Value::Type::Nothing ? "Object variable not set" : "Type mismatch");
    }
    out = n != 0;
    return true;
}

bool ScriptEngine::Evaluate(const Expr &e, Frame &frame, Value &out) {
    switch (e.kind) {
        case Expr::Kind::Literal:
            out = e.value;
            return true;
        case Expr::Kind::Name: {
            auto found = frame.locals.find(Lower(e.name));
            if (found != frame.locals.end()) {
                out = found->second;
                return true;
            }
            if (const SubRef *sub = FindSub(e.name)) {
                out = Value();
                return RunSub(SubRef(*sub));
            }
            if (SameName(e.name, "createobject")) {
                return Fail("Wrong number of arguments or invalid property assignment: 'CreateObject'");
            }
            out = Value();  // a variable never assigned is Empty
            return true;
        }
        case Expr::Kind::Member:
            return CallMember(*e.operands[0], e.name, {}, frame, out);
        case Expr::Kind::Call:
            return EvaluateCall(e, frame, out);
        case Expr::Kind::Unary: {
            Value v;
            if (!Evaluate(*e.operands[0], frame, v)) {
                return false;
            }
            double n = 0;
            if (e.name == "not" && v.type == Value::Type::Boolean) {
                out = Value::Boolean(!v.boolean);
                return true;
            }
            if (!AsNumber(v, n)) {
                return Fail(v.type == Value::Type::Nothing ? "Object variable not set" : "Type mismatch");
            }
            out = e.name == "not" ? Value::Number(static_cast<double>(~AsInteger(n))) : Value::Number(-n);
            return true;
        }
        case Expr::Kind::Binary: {
            Value a;
            Value b;
            return Evaluate(*e.operands[0], frame, a) && Evaluate(*e.operands[1], frame, b) &&
                   Operator(e.name, a, b, out);
        }
    }
    return Fail("Syntax error");
}

bool ScriptEngine::EvaluateCall(const Expr &e, Frame &frame, Value &out) {
    std::vector<Value> args;
    for (std::size_t i = 1; i < e.operands.size(); ++i) {
        args.emplace_back();
        if (!Evaluate(*e.operands[i], frame, args.back())) {
            return false;
        }
    }
    const Expr &callee = *e.operands[0];
    if (callee.kind == Expr::Kind::Member) {
        return CallMember(*callee.operands[0], callee.name, std::move(args), frame, out);
    }
    if (callee.kind != Expr::Kind::Name) {
        return Fail("Type mismatch");
    }
    if (frame.locals.count(Lower(callee.name)) == 0 && SameName(callee.name, "createobject")) {
        std::string progId;
        if (args.size() != 1 || !AsText(args[0], progId)) {
            return Fail("Wrong number of arguments or invalid property assignment: 'CreateObject'");
        }
        std::string error;
        std::shared_ptr<ScriptObject> object = m_factory ? m_factory(progId, error) : nullptr;
        if (!object) {
            return Fail(error.empty() ? "ActiveX component can't create object: '" + progId + "'" : error);
        }
        out = Value::Object(std::move(object));
        return true;
    }
    const SubRef *sub = frame.locals.count(Lower(callee.name)) == 0 ? FindSub(callee.name) : nullptr;
    if (sub == nullptr) {
        return Fail("Type mismatch: '" + callee.name + "'");
    }
    if (!args.empty()) {
        return Fail("Wrong number of arguments or invalid property assignment: '" + callee.name + "'");
    }
    out = Value();
    return RunSub(SubRef(*sub));
}

bool ScriptEngine::CallMember(const Expr &target, const std::string &member, std::vector<Value> args,
                              Frame &frame, Value &out) {
    Value object;
    if (!Evaluate(target, frame, object)) {
        return false;
    }
    if (object.type == Value::Type::Nothing) {
        return Fail("Object variable not set");
    }
    if (object.type != Value::Type::Object) {
        std::string name = target.kind == Expr::Kind::Name ? target.name : member;
        return Fail("Object required: '" + name + "'");
    }
    std::string error;
    std::shared_ptr<ScriptObject> keep = object.object;
    out = Value();
    switch (keep->Invoke(member, args, out, error)) {
        case InvokeResult::Done:
            return true;
        case InvokeResult::NoMember:
            return Fail("Object doesn't support this property or method: '" + member + "'");
        case InvokeResult::Failed:
            break;
    }
    return Fail(error.empty() ? "Unspecified error in '" + member + "'" : error);
}

bool ScriptEngine::Operator(const std::string &op, const Value &a, const Value &b, Value &out) {
    if (op == "is") {
        if (!a.IsObjectOrNothing() || !b.IsObjectOrNothing()) {
            return Fail("Object required");
        }
        out = Value::Boolean(a.object == b.object);
        return true;
    }
    if (a.IsObjectOrNothing() || b.IsObjectOrNothing()) {
        bool nothing = a.type == Value::Type::Nothing || b.type == Value::Type::Nothing;
        return Fail(nothing ? "Object variable not set" : "Object doesn't support this property or method");
    }
    if (op == "&") {
        std::string x;
        std::string y;
        (void)AsText(a, x);
        (void)AsText(b, y);
        out = Value::Text(x + y);
        return true;
    }
    if (op == "+" && a.type == Value::Type::Text && b.type == Value::Type::Text) {
        out = Value::Text(a.text + b.text);
        return true;
    }
    bool bothText = a.type == Value::Type::Text && b.type == Value::Type::Text;
    if (bothText && op != "+" && op != "-" && op != "and" && op != "or") {
        int c = a.text.compare(b.text);
        out = Value::Boolean(op == "="    ? c == 0
                             : op == "<>" ? c != 0
                             : op == "<"  ? c < 0
                             : op == ">"  ? c > 0
                             : op == "<=" ? c <= 0
                                          : c >= 0);
        return true;
    }
    double x = 0;
    double y = 0;
    if (!AsNumber(a, x) || !AsNumber(b, y)) {
        return Fail("Type mismatch");
    }
    if (op == "+" || op == "-") {
        out = Value::Number(op == "+" ? x + y : x - y);
    } else if (op == "and" || op == "or") {
        if (a.type == Value::Type::Boolean && b.type == Value::Type::Boolean) {
            out = Value::Boolean(op == "and" ? a.boolean && b.boolean : a.boolean || b.boolean);
        } else {
            long long i = AsInteger(x);
            long long j = AsInteger(y);
            out = Value::Number(static_cast<double>(op == "and" ? (i & j) : (i | j)));
        }
    } else {
        out = Value::Boolean(op == "="    ? x == y
                             : op == "<>" ? x != y
                             : op == "<"  ? x < y
                             : op == ">"  ? x > y
                             : op == "<=" ? x <= y
                                          : x >= y);
    }
    return true;
}

}  // namespace standin::script
