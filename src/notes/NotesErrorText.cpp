// The message text of a Notes status.
#include "NotesErrorText.h"

#include "LmbcsConvert.h"
#include "NotesApi.h"

namespace notes {

std::string NotesErrorText(STATUS status) {
    constexpr WORD kBufferSize = 512;
    char buffer[kBufferSize] = {};
    WORD length = 0;
    if (Api().fn.OSLoadString != nullptr) {
        length = Api().fn.OSLoadString(0, Err(status), buffer, kBufferSize - 1);
    }
    if (length == 0) {
        return "Unable to determine error";
    }
    if (length >= kBufferSize) {
        length = kBufferSize - 1;
    }
    return LmbcsToUnicode(buffer, length);
}

}  // namespace notes
