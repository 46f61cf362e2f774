// A small host process for the add-in: it plays the Notes runtime's part (EMRegister and EMDeregister
// exported from the executable, the password request sent through a variadic call), loads the add-in
// named on its command line, and prints what each step returned:
//   quorvane_test_host ADDIN [--register-status=N] [--max-length=N] [--no-buffer] [--notification=N]
#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "notes/capi/NotesTypes.h"

namespace {

STATUS g_registerStatus = 0;
EMHANDLER g_handler = nullptr;
EID g_registeredId = 0;
DWORD g_registeredFlags = 0;
int g_registrations = 0;

STATUS CallHandler(EID id, ...) {
    EMRECORD record{};
    record.EId = id;
    record.NotificationType = notes::kEmBefore;
    va_start(record.Ap, id);
    const STATUS status = g_handler(&record);
    va_end(record.Ap);
    return status;
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) STATUS EMRegister(EID id, DWORD flags, EMHANDLER handler, WORD,
                                                         HEMREGISTRATION *ret) {
    if (g_registerStatus != 0) {
        return g_registerStatus;
    }
    g_handler = handler;
    g_registeredId = id;
    g_registeredFlags = flags;
    ++g_registrations;
    *ret = 7;
    return 0;
}

__attribute__((visibility("default"))) STATUS EMDeregister(HEMREGISTRATION registration) {
    if (registration != 7 || g_registrations == 0) {
        return 0x3E24;
    }
    --g_registrations;
    g_handler = nullptr;
    return 0;
}

}  // extern "C"

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s ADDIN [options]\n", argv[0]);
        return 2;
    }
    DWORD maxLength = 128;
    bool buffer = true;
    EID notification = notes::kEmGetPassword;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        const std::string value = option.substr(option.find('=') + 1);
        if (option.rfind("--register-status=", 0) == 0) {
            g_registerStatus = static_cast<STATUS>(std::strtoul(value.c_str(), nullptr, 0));
        } else if (option.rfind("--max-length=", 0) == 0) {
            maxLength = static_cast<DWORD>(std::strtoul(value.c_str(), nullptr, 0));
        } else if (option == "--no-buffer") {
            buffer = false;
        } else if (option.rfind("--notification=", 0) == 0) {
            notification = static_cast<EID>(std::strtoul(value.c_str(), nullptr, 0));
        }
    }
    void *addin = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (addin == nullptr) {
        std::printf("load failed: %s\n", dlerror());
        return 3;
    }
    auto mainEntryPoint = reinterpret_cast<STATUS (*)(void)>(dlsym(addin, "MainEntryPoint"));
    auto extClear = reinterpret_cast<STATUS (*)(void)>(dlsym(addin, "ExtClear"));
    if (mainEntryPoint == nullptr || extClear == nullptr) {
        std::printf("exports missing\n");
        return 4;
    }
    std::printf("register=0x%X\n", mainEntryPoint());
    if (g_handler != nullptr) {
        std::printf("registered id=%u flags=%u\n", g_registeredId, g_registeredFlags);
        char password[256];
        std::memset(password, 'x', sizeof password);
        DWORD length = 999;
        char fileName[] = "/data/user.id";
        char owner[] = "CN=Jane Doe/O=Acme";
        const STATUS answer =
            CallHandler(notification, maxLength, &length, buffer ? password : nullptr, fileName, owner,
                        static_cast<DWORD>(0), static_cast<BYTE *>(nullptr));
        std::printf("answer=0x%X\n", answer);
        if (answer == notes::kErrBsafeExternalPassword) {
            std::printf("length=%u\npassword=%s\n", length, password);
        }
    }
    const STATUS cleared = extClear();
    std::printf("clear=0x%X\nregistrations=%d\n", cleared, g_registrations);
    std::printf("clear again=0x%X\n", extClear());
    dlclose(addin);
    return 0;
}
