// The exports of libquorvane.so that the Notes Extension Manager calls: MainEntryPoint registers the
// password handler, ExtClear removes it. The Extension Manager functions are found at run time in the
// Notes runtime that loaded the add-in, so the library links no Notes library and loads in any process.
#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>

#include "GuiBridge.h"
#include "PasswordRequest.h"
#include "notes/capi/NotesTypes.h"

namespace {

using RegisterFunction = STATUS (*)(EID id, DWORD flags, EMHANDLER handler, WORD recursionId,
                                    HEMREGISTRATION *ret);
using DeregisterFunction = STATUS (*)(HEMREGISTRATION registration);

// The handle of the one registration; written only at load and unload, on the thread Notes uses for
// them.
HEMREGISTRATION g_registration = 0;

// A function of the loaded Notes runtime: among the process's global symbols, or in a runtime loaded
// with local symbols, found by its library name.
void *RuntimeFunction(const char *name) {
    if (void *function = dlsym(RTLD_DEFAULT, name)) {
        return function;
    }
    void *runtime = dlopen("libnotes.so", RTLD_NOW | RTLD_NOLOAD);
    if (runtime == nullptr) {
        return nullptr;
    }
    void *function = dlsym(runtime, name);
    dlclose(runtime);
    return function;
}

STATUS PasswordHandler(EMRECORD *record) {
    if (record == nullptr || record->EId != notes::kEmGetPassword) {
        return notes::kErrEmContinue;
    }
    va_list arguments;
    va_copy(arguments, record->Ap);
    const DWORD maxLength = va_arg(arguments, DWORD);
    DWORD *returnedLength = va_arg(arguments, DWORD *);
    char *returnedPassword = va_arg(arguments, char *);
    va_end(arguments);
    return quorvane::AnswerPasswordRequest(maxLength, returnedLength, returnedPassword,
                                           quorvane::CurrentSettingsFile(), &quorvane::AskWithOwnDialog);
}

// Extension Manager handlers are C callbacks: nothing may be thrown through them.
STATUS Handler(EMRECORD *record) noexcept {
    try {
        return PasswordHandler(record);
    } catch (...) {
        return notes::kErrEmContinue;
    }
}

void ReportRegistrationFailure(STATUS status) noexcept {
    try {
        char text[64];
        std::snprintf(text, sizeof text, "Could not register extension handler - status: 0x%lX",
                      static_cast<unsigned long>(status));
        quorvane::ShowAddinMessage(text);
    } catch (...) {
    }
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) STATUS MainEntryPoint(void) {
    auto registerHandler = reinterpret_cast<RegisterFunction>(RuntimeFunction("EMRegister"));
    // Without an Extension Manager in the process there is nothing to register with.
    const STATUS status =
        registerHandler == nullptr
            ? notes::kErrNotFound
            : registerHandler(notes::kEmGetPassword, notes::kEmRegBefore, &Handler, 0, &g_registration);
    if (status != notes::kNoError) {
        g_registration = 0;
        ReportRegistrationFailure(status);
    }
    return status;
}

__attribute__((visibility("default"))) STATUS ExtClear(void) {
    if (g_registration == 0) {
        return notes::kNoError;
    }
    auto deregisterHandler = reinterpret_cast<DeregisterFunction>(RuntimeFunction("EMDeregister"));
    const STATUS status =
        deregisterHandler == nullptr ? notes::kErrNotFound : deregisterHandler(g_registration);
    g_registration = 0;
    return status;
}

}  // extern "C"
