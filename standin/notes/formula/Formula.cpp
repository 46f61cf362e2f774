// Compilation and evaluation entry points of the formula language (first cut: selection of all notes).
#include "Formula.h"

#include <algorithm>
#include <cctype>

namespace formula {

namespace {

constexpr char kMagic[] = "VXF0";

std::string Normalised(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

}  // namespace

bool Compile(std::string_view text, std::string &compiled, CompileError &error) {
    std::string normalised = Normalised(text);
    if (normalised != "SELECT@ALL" && normalised != "@ALL") {
        error.status = 0x3E06;
        error.line = 1;
        error.column = 1;
        error.offset = 0;
        error.length = static_cast<WORD>(std::min<std::size_t>(text.size(), 0xFFFF));
        return false;
    }
    compiled = kMagic;
    return true;
}

bool Evaluate(std::string_view compiled, const FormulaContext &, Result &result, STATUS &status) {
    if (compiled != kMagic) {
        status = 0x3E06;
        return false;
    }
    double one = 1.0;
    result.type = notes::kTypeNumber;
    result.value.assign(reinterpret_cast<const char *>(&one), sizeof(one));
    result.matches = true;
    result.modified = false;
    result.shouldDelete = false;
    return true;
}

}  // namespace formula
