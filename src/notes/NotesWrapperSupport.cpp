// Helpers shared by the Notes object wrappers.
#include "NotesWrapperSupport.h"

#include <cstring>

#include "ByteReader.h"
#include "LmbcsConvert.h"
#include "NotesErrorText.h"

namespace notes::wrapper {

namespace {
const char kNoMessage[] = "Unable to determine error";
}

std::string NotesMessage(STATUS status) {
    std::string text = NotesErrorText(status);
    if (text.empty() || text == kNoMessage) {
        return "Error Code " + std::to_string(status);
    }
    return text;
}

std::string ToLmbcs(const std::string &text) {
    return UnicodeToLmbcs(text);
}

std::string FromLmbcs(const char *lmbcs, std::size_t length, bool nulToLineFeed) {
    if (lmbcs == nullptr || length == 0) {
        return std::string();
    }
    return LmbcsToUnicode(lmbcs, static_cast<int>(length), nulToLineFeed);
}

WORD ReadWord(const char *data, std::size_t offset) {
    return ByteReader(data + offset, 2).Word(0);
}

DWORD ReadDword(const char *data, std::size_t offset) {
    return ByteReader(data + offset, 4).Dword(0);
}

double ReadDouble(const char *data, std::size_t offset) {
    const std::uint64_t bits = static_cast<std::uint64_t>(ReadDword(data, offset)) |
                               (static_cast<std::uint64_t>(ReadDword(data, offset + 4)) << 32);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace notes::wrapper
