// @functions of control flow, variables and fields, value tests and facts about the note and database.
#include <cstdio>

#include "FunctionHelpers.h"

namespace formula {

namespace {

Value One(Evaluator &, std::vector<Value> &) {
    return Value::Bool(true);
}
Value Zero(Evaluator &, std::vector<Value> &) {
    return Value::Bool(false);
}

Value If(Evaluator &evaluator, const Node &call) {
    std::size_t n = call.children.size();
    if (n % 2 == 0) {
        return Value::Error("@If requires an odd number of arguments");
    }
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        Value condition = evaluator.Eval(*call.children[i]);
        if (condition.IsError() || evaluator.Returning()) {
            return condition;
        }
        if (condition.kind != Kind::Number) {
            return Evaluator::TypeError(Kind::Number);
        }
        if (condition.Truth()) {
            return evaluator.Eval(*call.children[i + 1]);
        }
    }
    return evaluator.Eval(*call.children[n - 1]);
}

Value Do(Evaluator &evaluator, const Node &call) {
    Value last = Value::Text(std::string());
    for (const auto &child : call.children) {
        last = evaluator.Eval(*child);
        if (evaluator.Returning()) {
            break;
        }
    }
    return last;
}

Value Return(Evaluator &evaluator, const Node &call) {
    Value value = evaluator.Eval(*call.children[0]);
    evaluator.Return(value);
    return value;
}

Value Set(Evaluator &evaluator, std::vector<Value> &args) {
    std::string name;
    Value error;
    if (!FirstText(args[0], name, error)) {
        return error;
    }
    evaluator.SetVariable(name, args[1]);
    return args[1];
}

Value SetField(Evaluator &evaluator, std::vector<Value> &args) {
    std::string name;
    Value error;
    if (!FirstText(args[0], name, error)) {
        return error;
    }
    evaluator.SetField(name, args[1]);
    return args[1];
}

Value GetField(Evaluator &evaluator, std::vector<Value> &args) {
    std::string name;
    Value error;
    if (!FirstText(args[0], name, error)) {
        return error;
    }
    return evaluator.FieldValue(name);
}

Value ThisValue(Evaluator &, std::vector<Value> &) {
    return Value::Text(std::string());
}

bool AllAvailable(Evaluator &evaluator, const Node &call) {
    for (const auto &child : call.children) {
        if (child->kind != NodeKind::Name || !evaluator.HasField(child->text)) {
            return false;
        }
    }
    return true;
}

Value IsAvailable(Evaluator &evaluator, const Node &call) {
    return Value::Bool(AllAvailable(evaluator, call));
}
Value IsUnavailable(Evaluator &evaluator, const Node &call) {
    return Value::Bool(!AllAvailable(evaluator, call));
}

Value IsText(Evaluator &, std::vector<Value> &args) {
    return Value::Bool(args[0].kind == Kind::Text);
}
Value IsNumber(Evaluator &, std::vector<Value> &args) {
    return Value::Bool(args[0].kind == Kind::Number);
}
Value IsTime(Evaluator &, std::vector<Value> &args) {
    return Value::Bool(args[0].kind == Kind::Time);
}
Value IsError(Evaluator &, std::vector<Value> &args) {
    return Value::Bool(args[0].IsError());
}
Value Error(Evaluator &, std::vector<Value> &) {
    return Value::Error("ERROR");
}

Value IsResponseDoc(Evaluator &evaluator, std::vector<Value> &) {
    return Value::Bool(evaluator.Context().IsResponse());
}

Value DocumentUniqueId(Evaluator &evaluator, std::vector<Value> &) {
    UNID unid = evaluator.Context().Unid();
    char text[33];
    std::snprintf(text, sizeof(text), "%08X%08X%08X%08X", unid.File.Innards[1], unid.File.Innards[0],
                  unid.Note.Innards[1], unid.Note.Innards[0]);
    return Value::Text(text);
}

Value NoteId(Evaluator &evaluator, std::vector<Value> &) {
    char text[16];
    std::snprintf(text, sizeof(text), "NT%08X", evaluator.Context().NoteId());
    return Value::Text(text);
}

Value Author(Evaluator &evaluator, std::vector<Value> &) {
    Value updatedBy = evaluator.FieldValue("$UpdatedBy");
    if (updatedBy.kind == Kind::Text && updatedBy.Truth()) {
        return updatedBy;
    }
    return evaluator.FieldValue("From");
}

Value UserName(Evaluator &evaluator, std::vector<Value> &) {
    return Value::Text(evaluator.Context().UserName());
}
Value DbTitle(Evaluator &evaluator, std::vector<Value> &) {
    return Value::Text(evaluator.Context().DbTitle());
}
Value DbName(Evaluator &evaluator, std::vector<Value> &) {
    return Value::Texts({evaluator.Context().ServerName(), evaluator.Context().DbFileName()});
}
Value DocNumber(Evaluator &evaluator, std::vector<Value> &) {
    return Value::Text(evaluator.Context().DocNumber());
}
Value DocLength(Evaluator &evaluator, std::vector<Value> &) {
    return Value::Number(evaluator.Context().DocLength());
}
Value Attachments(Evaluator &evaluator, std::vector<Value> &) {
    std::vector<std::string> names;
    std::vector<double> sizes;
    evaluator.Context().Attachments(names, sizes);
    return Value::Number(static_cast<double>(names.size()));
}
Value AttachmentNames(Evaluator &evaluator, std::vector<Value> &) {
    std::vector<std::string> names;
    std::vector<double> sizes;
    evaluator.Context().Attachments(names, sizes);
    return names.empty() ? Value::Text(std::string()) : Value::Texts(std::move(names));
}
Value AttachmentLengths(Evaluator &evaluator, std::vector<Value> &) {
    std::vector<std::string> names;
    std::vector<double> sizes;
    evaluator.Context().Attachments(names, sizes);
    return sizes.empty() ? Value::Number(0) : Value::Numbers(std::move(sizes));
}

// The parts of a hierarchical name "CN=John Smith/OU=Sales/O=Acme/C=US" or "John Smith/Sales/Acme".
struct NameParts {
    std::vector<std::pair<std::string, std::string>> parts;  // (label, value), labels in upper case
    bool canonical = false;
};

NameParts SplitName(const std::string &name) {
    NameParts out;
    std::size_t start = 0;
    std::size_t index = 0;
    std::vector<std::string> pieces;
    while (start <= name.size()) {
        std::size_t slash = name.find('/', start);
        pieces.push_back(name.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) {
            break;
        }
        start = slash + 1;
    }
    for (const std::string &piece : pieces) {
        std::size_t eq = piece.find('=');
        if (eq != std::string::npos) {
            out.canonical = true;
            out.parts.emplace_back(UpperAscii(piece.substr(0, eq)), piece.substr(eq + 1));
        } else {
            // Abbreviated form: the first piece is the common name, the last the organisation (or the
            // country when it has two letters and follows an organisation), the rest units.
            std::string label = index == 0 ? "CN" : "OU";
            if (index != 0 && index + 1 == pieces.size()) {
                label = piece.size() == 2 && pieces.size() > 2 ? "C" : "O";
            } else if (index != 0 && index + 2 == pieces.size() && pieces.back().size() == 2 &&
                       pieces.size() > 2) {
                label = "O";
            }
            out.parts.emplace_back(label, piece);
        }
        ++index;
    }
    return out;
}

std::string NameAction(const std::string &action, const std::string &name) {
    NameParts parts = SplitName(name);
    if (action == "[CN]") {
        return parts.parts.empty() ? name : parts.parts[0].second;
    }
    if (action == "[ABBREVIATE]") {
        std::string out;
        for (const auto &part : parts.parts) {
            out += (out.empty() ? "" : "/") + part.second;
        }
        return out;
    }
    if (action == "[CANONICALIZE]") {
        if (parts.parts.size() <= 1) {
            return name;
        }
        std::string out;
        for (const auto &part : parts.parts) {
            out += (out.empty() ? "" : "/") + part.first + "=" + part.second;
        }
        return out;
    }
    std::string wanted;
    int unit = 0;
    if (action == "[O]") {
        wanted = "O";
    } else if (action == "[C]") {
        wanted = "C";
    } else if (action.size() == 5 && action.compare(0, 3, "[OU") == 0 && action[3] >= '1' &&
               action[3] <= '4') {
        wanted = "OU";
        unit = action[3] - '0';
    } else {
        return name;
    }
    int seen = 0;
    for (const auto &part : parts.parts) {
        if (part.first == wanted && (unit == 0 || ++seen == unit)) {
            return part.second;
        }
    }
    return std::string();
}

Value Name(Evaluator &, std::vector<Value> &args) {
    std::string action;
    Value error;
    if (!FirstText(args[0], action, error)) {
        return error;
    }
    if (args[1].kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    std::vector<std::string> out;
    for (const std::string &name : args[1].texts) {
        out.push_back(NameAction(UpperAscii(action), name));
    }
    return Value::Texts(std::move(out));
}

Value Created(Evaluator &evaluator, std::vector<Value> &) {
    return Value::Time(evaluator.Context().Created());
}
Value Modified(Evaluator &evaluator, std::vector<Value> &) {
    return Value::Time(evaluator.Context().Modified());
}
Value Accessed(Evaluator &evaluator, std::vector<Value> &) {
    return Value::Time(evaluator.Context().Accessed());
}

const FunctionSignature kSpecs[] = {
    {"@All", 0, 0, One, nullptr, false, false},
    {"@True", 0, 0, One, nullptr, false, false},
    {"@Yes", 0, 0, One, nullptr, false, false},
    {"@False", 0, 0, Zero, nullptr, false, false},
    {"@No", 0, 0, Zero, nullptr, false, false},
    {"@If", 3, kAnyCount, nullptr, If, false, false},
    {"@V2If", 3, kAnyCount, nullptr, If, false, false},
    {"@Do", 1, kAnyCount, nullptr, Do, false, false},
    {"@Return", 1, 1, nullptr, Return, false, false},
    {"@Set", 2, 2, Set, nullptr, false, false},
    {"@SetField", 2, 2, SetField, nullptr, false, false},
    {"@GetField", 1, 1, GetField, nullptr, false, false},
    {"@ThisValue", 0, 0, ThisValue, nullptr, false, false},
    {"@IsAvailable", 1, 1, nullptr, IsAvailable, false, true},
    {"@IsUnavailable", 1, 1, nullptr, IsUnavailable, false, true},
    {"@IsText", 1, 1, IsText, nullptr, true, false},
    {"@IsNumber", 1, 1, IsNumber, nullptr, true, false},
    {"@IsTime", 1, 1, IsTime, nullptr, true, false},
    {"@IsError", 1, 1, IsError, nullptr, true, false},
    {"@Error", 0, 0, Error, nullptr, false, false},
    {"@IsResponseDoc", 0, 0, IsResponseDoc, nullptr, false, false},
    {"@DocumentUniqueID", 0, 0, DocumentUniqueId, nullptr, false, false},
    {"@NoteID", 0, 0, NoteId, nullptr, false, false},
    {"@Author", 0, 0, Author, nullptr, false, false},
    {"@UserName", 0, 0, UserName, nullptr, false, false},
    {"@Name", 2, 2, Name, nullptr, false, false},
    {"@DbTitle", 0, 0, DbTitle, nullptr, false, false},
    {"@DbName", 0, 0, DbName, nullptr, false, false},
    {"@DocNumber", 0, 1, DocNumber, nullptr, false, false},
    {"@DocLength", 0, 0, DocLength, nullptr, false, false},
    {"@Attachments", 0, 1, Attachments, nullptr, false, false},
    {"@AttachmentNames", 0, 1, AttachmentNames, nullptr, false, false},
    {"@AttachmentLengths", 0, 1, AttachmentLengths, nullptr, false, false},
    {"@Created", 0, 0, Created, nullptr, false, false},
    {"@Modified", 0, 0, Modified, nullptr, false, false},
    {"@Accessed", 0, 0, Accessed, nullptr, false, false},
};

}  // namespace

FunctionGroup LogicFunctions() {
    return {kSpecs, sizeof(kSpecs) / sizeof(kSpecs[0])};
}

}  // namespace formula
