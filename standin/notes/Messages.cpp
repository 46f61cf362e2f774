// OSLoadString: the message text of a status, and string 1, the release text.
#include <cstring>

#include "Export.h"
#include "Runtime.h"

using namespace standin;

extern "C" {

// Writes the message for ERR(code) with a terminating NUL (cut to bufLen - 1 bytes) and returns its
// length; 0 when there is no such message.
NOTES_EXPORT WORD OSLoadString(HMODULE hModule, STATUS code, char *buf, WORD bufLen) {
    (void)hModule;
    ApiLock lock(ApiMutex());
    if (EnterCall("OSLoadString") != 0) {
        return 0;
    }
    if (buf == nullptr || bufLen == 0) {
        return 0;
    }
    std::string text = MessageText(code);
    std::size_t n = std::min<std::size_t>(text.size(), bufLen - 1u);
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return static_cast<WORD>(n);
}

}  // extern "C"
