// Values of the script language (empty, number, text, truth value, object reference, Nothing) and the
// interface through which a script calls the objects its host creates.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace standin::script {

class ScriptObject;

struct Value {
    enum class Type { Empty, Number, Text, Boolean, Object, Nothing };
    Type type = Type::Empty;
    double number = 0;
    bool boolean = false;
    std::string text;
    std::shared_ptr<ScriptObject> object;

    static Value Number(double n) {
        Value v;
        v.type = Type::Number;
        v.number = n;
        return v;
    }
    static Value Text(std::string t) {
        Value v;
        v.type = Type::Text;
        v.text = std::move(t);
        return v;
    }
    static Value Boolean(bool b) {
        Value v;
        v.type = Type::Boolean;
        v.boolean = b;
        return v;
    }
    static Value Object(std::shared_ptr<ScriptObject> o) {
        Value v;
        v.type = o ? Type::Object : Type::Nothing;
        v.object = std::move(o);
        return v;
    }
    static Value Nothing() {
        Value v;
        v.type = Type::Nothing;
        return v;
    }
    bool IsObjectOrNothing() const { return type == Type::Object || type == Type::Nothing; }
};

enum class InvokeResult {
    Done,      // the call succeeded; result set
    NoMember,  // the object has no method or property of that name
    Failed,    // the call failed; error holds the description
};

// An object a script holds: its methods and properties are reached by name (without regard to case).
class ScriptObject {
public:
    virtual ~ScriptObject() = default;
    // Calls a method, or reads a property when args is empty.
    [[nodiscard]] virtual InvokeResult Invoke(std::string_view name, const std::vector<Value> &args,
                                              Value &result, std::string &error) = 0;
};

// True when a and b are equal without regard to ASCII case.
bool SameName(std::string_view a, std::string_view b);

}  // namespace standin::script
