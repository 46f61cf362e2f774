// Any evaluate string is either valid with a value or invalid with an error that quotes a prefix of
// it; inputs starting with 0xFF go to the RTF picture repair, which never adds text.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "export/EvaluateString.h"
#include "export/RtfExport.h"
#include "notes/NotesNote.h"

namespace {

void Check(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "file-name fuzz: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    if (!text.empty() && static_cast<unsigned char>(text[0]) == 0xFF) {
        std::string repaired;
        if (exporter::RepairPictureGroups(text.substr(1), repaired)) {
            Check(repaired.size() < text.size() - 1, "a repair that drops nothing");
        }
        return 0;
    }
    const notes::NotesNote closed;  // no runtime: times fail and fields are empty
    const exporter::EvaluateResult result = exporter::EvaluateFileNameString(text, closed);
    const std::string prefix = exporter::kInvalidEvaluateString;
    if (result.error.empty()) {
        return 0;
    }
    Check(result.text.empty(), "an invalid string with a value");
    Check(result.error.compare(0, prefix.size(), prefix) == 0, "an error without its prefix");
    const std::string quoted = result.error.substr(prefix.size());
    Check(text.compare(0, quoted.size(), quoted) == 0, "an error quoting what is not the string's start");
    return 0;
}
