// A test-only Extension Manager add-in: answers the password request with the password in the
// environment variable VORLIX_TEST_ADDIN_PASSWORD, or lets Notes go on when it is unset.
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "notes/capi/NotesCApi.h"

namespace {

HEMREGISTRATION g_registration = 0;

STATUS Handler(EMRECORD *record) {
    if (record == nullptr || record->EId != notes::kEmGetPassword) {
        return notes::kErrEmContinue;
    }
    const char *password = std::getenv("VORLIX_TEST_ADDIN_PASSWORD");
    if (password == nullptr) {
        return notes::kErrEmContinue;
    }
    va_list ap;
    va_copy(ap, record->Ap);
    DWORD maxLen = va_arg(ap, DWORD);
    DWORD *retLength = va_arg(ap, DWORD *);
    char *retPassword = va_arg(ap, char *);
    char *fileName = va_arg(ap, char *);
    va_end(ap);
    // The ID file name proves the arguments arrived in their documented order.
    if (retLength == nullptr || retPassword == nullptr || fileName == nullptr || std::strlen(fileName) == 0) {
        return notes::kErrEmContinue;
    }
    std::size_t n = std::strlen(password);
    if (n + 1 > maxLen) {
        n = maxLen - 1;
    }
    std::memcpy(retPassword, password, n);
    retPassword[n] = '\0';
    *retLength = static_cast<DWORD>(n);
    return notes::kErrBsafeExternalPassword;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) STATUS MainEntryPoint(void) {
    return EMRegister(notes::kEmGetPassword, notes::kEmRegBefore, Handler, 0, &g_registration);
}

extern "C" __attribute__((visibility("default"))) STATUS ExtClear(void) {
    if (g_registration == 0) {
        return 0;
    }
    STATUS s = EMDeregister(g_registration);
    g_registration = 0;
    return s;
}
