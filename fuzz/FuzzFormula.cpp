// Any formula text compiles or fails with a status that has a message and a place inside the text;
// what compiles evaluates to a value within the result limit. Inputs starting with 0xFF are fed to the
// compiled-form reader instead, behind a valid header.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "formula/Formula.h"
#include "formula/FormulaStatus.h"

namespace {

class FuzzContext : public formula::FormulaContext {
public:
    bool FindItem(const std::string &name, WORD &type, std::string &value) const override {
        if (name.size() % 3 == 0) {
            return false;
        }
        if (name.size() % 3 == 1) {
            type = notes::kTypeText;
            value = "some text";
            return true;
        }
        type = notes::kTypeNumberRange;
        value = std::string("\x02\x00\x00\x00", 4) + std::string(8, '\0') + std::string(8, '\x40');
        return true;
    }
    NOTEID NoteId() const override { return 0x1234; }
    UNID Unid() const override { return UNID{}; }
    TIMEDATE Created() const override { return TIMEDATE{{100, 0x00AB0000}}; }
    TIMEDATE Modified() const override { return TIMEDATE{{200, 0x00AB0001}}; }
    TIMEDATE Accessed() const override { return TIMEDATE{{300, 0x00AB0002}}; }
    bool IsResponse() const override { return true; }
    std::string DbTitle() const override { return "Fuzz"; }
    std::string DbFileName() const override { return "fuzz.nsf"; }
    std::string ServerName() const override { return std::string(); }
    std::string UserName() const override { return "CN=Fuzz/O=Test"; }
    std::string DocNumber() const override { return "1"; }
};

void Check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "formula fuzz: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    FuzzContext context;
    formula::Result result;
    STATUS status = 0;
    if (!text.empty() && static_cast<unsigned char>(text[0]) == 0xFF) {
        std::string compiled = "VXF1";
        std::size_t length = std::min<std::size_t>(text.size() - 1 + 6, 0xFFFF);
        compiled += static_cast<char>(length & 0xFF);
        compiled += static_cast<char>(length >> 8);
        compiled += text.substr(1, length - 6);
        if (!formula::Evaluate(compiled, context, result, status)) {
            Check(status == formula::kStsDamaged, "damaged bytes without the damaged status");
        }
        return 0;
    }
    std::string compiled;
    formula::CompileError error;
    if (!formula::Compile(text, compiled, error)) {
        Check(error.status != 0, "failure without a status");
        Check(!formula::FormulaMessageText(error.status).empty(), "status without a message");
        Check(error.offset <= size && error.length > 0, "error place outside the text");
        Check(compiled.empty(), "failure left compiled bytes");
        return 0;
    }
    Check(compiled.size() <= 0xFFFF, "compiled form too long");
    Check(formula::Evaluate(compiled, context, result, status), "own compiled bytes refused");
    Check(result.value.size() + 2 <= 0xFFFF, "result beyond its length word");
    return 0;
}
