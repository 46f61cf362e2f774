// The lookup of @functions by name over the groups' tables, and the helpers they share.
#include <cctype>
#include <cstring>
#include <unordered_map>

#include "FunctionHelpers.h"
#include "LmbcsText.h"

namespace formula {

namespace {

using Table = std::unordered_map<std::string, const FunctionSignature *>;

Table BuildTable() {
    Table table;
    for (FunctionGroup group :
         {LogicFunctions(), TextFunctions(), ListFunctions(), NumberFunctions(), TimeFunctions()}) {
        for (std::size_t i = 0; i < group.count; ++i) {
            table[UpperAscii(group.specs[i].name)] = &group.specs[i];
        }
    }
    return table;
}

}  // namespace

const FunctionSignature *FindFunction(std::string_view name) {
    static const Table table = BuildTable();
    auto it = table.find(UpperAscii(name));
    return it == table.end() ? nullptr : it->second;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char &c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::u32string ToChars(std::string_view lmbcs) {
    std::u32string out;
    if (LmbcsText::IsPlain(lmbcs)) {
        out.reserve(lmbcs.size());
        for (char c : lmbcs) {
            out += static_cast<char32_t>(static_cast<unsigned char>(c));
        }
        return out;
    }
    icu::UnicodeString text = LmbcsText::ToUnicode(lmbcs);
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        out += static_cast<char32_t>(text.char32At(i));
    }
    return out;
}

std::string FromChars(const std::u32string &chars) {
    bool plain = true;
    for (char32_t c : chars) {
        if (!((c >= 0x20 && c <= 0x7E) || c == '\t' || c == '\n' || c == '\r')) {
            plain = false;
            break;
        }
    }
    if (plain) {
        std::string out;
        out.reserve(chars.size());
        for (char32_t c : chars) {
            out += static_cast<char>(c);
        }
        return out;
    }
    icu::UnicodeString text;
    for (char32_t c : chars) {
        text.append(static_cast<UChar32>(c));
    }
    return LmbcsText::FromUnicode(text);
}

bool FirstNumber(const Value &arg, double &out, Value &error) {
    if (arg.kind != Kind::Number || arg.numbers.empty()) {
        error = arg.IsError() ? arg : Evaluator::TypeError(Kind::Number);
        return false;
    }
    out = arg.numbers[0];
    return true;
}

bool FirstText(const Value &arg, std::string &out, Value &error) {
    if (arg.kind != Kind::Text || arg.texts.empty()) {
        error = arg.IsError() ? arg : Evaluator::TypeError(Kind::Text);
        return false;
    }
    out = arg.texts[0];
    return true;
}

}  // namespace formula
