// Fuzz target of the stand-in script engine: any bytes as a script text. A text is either parsed or
// rejected with a description and a line inside the text; every Sub of a parsed text then runs over a
// host object that answers every call, and ends (the engine's limits stop endless recursion).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "script/ScriptEngine.h"

namespace {

using standin::script::InvokeResult;
using standin::script::ScriptObject;
using standin::script::Value;

// Answers every method and property: "Nothing" gives Nothing, "Fail" fails, the rest give the object.
class AnyObject : public ScriptObject, public std::enable_shared_from_this<AnyObject> {
public:
    InvokeResult Invoke(std::string_view name, const std::vector<Value> &, Value &result,
                        std::string &error) override {
        if (name == "Fail") {
            error = "failed";
            return InvokeResult::Failed;
        }
        result = name == "Nothing" ? Value::Nothing() : Value::Object(shared_from_this());
        return InvokeResult::Done;
    }
};

void Check(const standin::script::ScriptError &error, std::size_t lines) {
    if (error.description.empty() || error.source.empty() || error.line < 0 ||
        static_cast<std::size_t>(error.line) > lines + 1) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    standin::script::Program program;
    standin::script::ScriptError error;
    bool parsed = standin::script::ParseScript(text, program, error);
    std::size_t lines = 1;
    for (char c : text) {
        lines += c == '\n' || c == '\r' ? 1 : 0;
    }
    if (!parsed) {
        Check(error, lines);
        return 0;
    }
    standin::script::ScriptEngine engine(
        [](std::string_view progId, std::string &) -> std::shared_ptr<ScriptObject> {
            return progId == "Any" ? std::make_shared<AnyObject>() : nullptr;
        });
    if (!engine.Parse(text, error)) {
        std::abort();  // the same text parsed once already
    }
    for (const standin::script::Sub &sub : program.subs) {
        if (engine.Invoke(sub.name, error) == standin::script::ScriptEngine::RunResult::Failed) {
            Check(error, lines);
        }
    }
    return 0;
}
