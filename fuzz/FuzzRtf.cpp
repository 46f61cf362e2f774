// Fuzz target of the RTF export filter's conversion: any bytes as a composite-data file. Damaged
// input gives no RTF; whatever comes out has balanced groups.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "RtfConverter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char *>(data), size);
    standin::rtf::RtfConverter converter;
    std::string rtf;
    std::string problem;
    if (!converter.Convert(bytes, rtf, problem)) {
        if (!rtf.empty() || problem.empty()) {
            std::abort();
        }
        return 0;
    }
    long depth = 0;
    for (std::size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;  // an escaped brace or backslash
        } else if (rtf[i] == '{') {
            ++depth;
        } else if (rtf[i] == '}' && --depth < 0) {
            std::abort();
        }
    }
    if (depth != 0) {
        std::abort();
    }
    return 0;
}
