// Extension Manager: EMRegister, EMDeregister, the add-ins and the password notification.
#include "ExtensionManager.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstring>
#include <map>
#include <vector>

#include "CoreStatus.h"
#include "Export.h"

namespace standin {

namespace {

const MessageEntry kEmMessages[] = {
    {kStsWrongPassword,
     "Wrong Password. (Passwords are case sensitive - be sure to use correct upper and lower case.)"},
    {kStsUnknownRegistration, "The Extension Manager registration is not known"},
};
const MessageRegistrar kEm(kEmMessages, sizeof(kEmMessages) / sizeof(kEmMessages[0]));

struct Registration {
    EID id = 0;
    DWORD flags = 0;
    EMHANDLER handler = nullptr;
    WORD recursionId = 0;
};

struct Addin {
    std::string path;
    void *library = nullptr;
};

struct EmState {
    HEMREGISTRATION next = 1;
    std::map<HEMREGISTRATION, Registration> registrations;
    std::vector<Addin> addins;
};

EmState &Em() {
    static EmState state;
    return state;
}

void CountRegistrations() {
    Extra().registrations = static_cast<DWORD>(Em().registrations.size());
}

std::string RuntimeDirectory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&RuntimeDirectory), &info) == 0 || info.dli_fname == nullptr) {
        return ".";
    }
    std::string path = info.dli_fname;
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// Add-ins resolve EMRegister and EMDeregister against the runtime that loads them, as they link
// against it: make the runtime's symbols visible to libraries loaded after it.
void PromoteRuntimeSymbols() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&PromoteRuntimeSymbols), &info) != 0 && info.dli_fname != nullptr) {
        dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_GLOBAL);
    }
}

// The file of an add-in named in notes.ini: add-in names are case-insensitive, as DLL names are where
// they come from, and their libraries are named in lower case ("Quorvane" is libquorvane.so).
std::string AddinLibraryName(std::string name) {
    for (char &c : name) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return "lib" + name + ".so";
}

std::string Trimmed(const std::string &s) {
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) {
        return std::string();
    }
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// Calls one handler with a genuine variadic call, so that EMRECORD.Ap is a real va_list over the
// notification's arguments.
STATUS CallHandler(EMHANDLER handler, EID id, WORD type, ...) {
    EMRECORD record{};
    record.EId = id;
    record.NotificationType = type;
    record.Status = notes::kNoError;
    va_start(record.Ap, type);
    STATUS result = handler(&record);
    va_end(record.Ap);
    return result;
}

}  // namespace

void LoadAddins(const std::string &list) {
    if (Trimmed(list).empty()) {
        return;
    }
    PromoteRuntimeSymbols();
    std::string dir = RuntimeDirectory();
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        std::string name =
            Trimmed(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        start = comma == std::string::npos ? list.size() + 1 : comma + 1;
        if (name.empty()) {
            continue;
        }
        std::string path = name.find('/') != std::string::npos ? name : dir + "/" + AddinLibraryName(name);
        void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            const char *why = dlerror();
            Diagnostic("add-in " + name + " not loaded: " + (why != nullptr ? why : path));
            continue;
        }
        Em().addins.push_back({path, library});
        auto entry = reinterpret_cast<STATUS (*)(void)>(dlsym(library, "MainEntryPoint"));
        if (entry == nullptr) {
            Diagnostic("add-in " + name + " has no MainEntryPoint");
            continue;
        }
        if (STATUS s = entry()) {
            Diagnostic("add-in " + name + " MainEntryPoint returned status " + std::to_string(s));
        }
    }
}

void UnloadAddins() {
    std::vector<Addin> addins;
    addins.swap(Em().addins);
    for (auto it = addins.rbegin(); it != addins.rend(); ++it) {
        auto clear = reinterpret_cast<STATUS (*)(void)>(dlsym(it->library, "ExtClear"));
        if (clear != nullptr) {
            if (STATUS s = clear()) {
                Diagnostic("add-in " + it->path + " ExtClear returned status " + std::to_string(s));
            }
        }
    }
    if (!Em().registrations.empty()) {
        Diagnostic("Extension Manager: " + std::to_string(Em().registrations.size()) +
                   " registrations left at termination were dropped");
        Em().registrations.clear();
        CountRegistrations();
    }
    for (auto it = addins.rbegin(); it != addins.rend(); ++it) {
        dlclose(it->library);
    }
}

STATUS RequestPassword(const IdFile &id) {
    std::vector<Registration> handlers;
    for (const auto &[handle, reg] : Em().registrations) {
        if (reg.id == notes::kEmGetPassword && (reg.flags & notes::kEmRegBefore) != 0) {
            handlers.push_back(reg);
        }
    }
    for (const Registration &reg : handlers) {
        constexpr DWORD kMaxPassword = 128;
        char password[kMaxPassword + 1] = {};
        DWORD length = 0;
        std::vector<char> fileName(id.path.begin(), id.path.end());
        fileName.push_back('\0');
        std::vector<char> owner(id.userName.begin(), id.userName.end());
        owner.push_back('\0');
        STATUS s =
            CallHandler(reg.handler, notes::kEmGetPassword, notes::kEmBefore, kMaxPassword, &length, password,
                        fileName.data(), owner.data(), static_cast<DWORD>(0), static_cast<BYTE *>(nullptr));
        if (notes::Err(s) == notes::kErrBsafeExternalPassword) {
            std::size_t n = std::min<std::size_t>(length, kMaxPassword);
            n = std::min(n, std::strlen(password));
            return std::string(password, n) == id.password ? notes::kNoError : kStsWrongPassword;
        }
        if (notes::Err(s) == notes::kErrBsafeUserAbort) {
            return s;
        }
    }
    return notes::kErrBsafePasswordRequired;
}

}  // namespace standin

using namespace standin;

extern "C" {

NOTES_EXPORT STATUS EMRegister(EID id, DWORD flags, EMHANDLER handler, WORD recursionId,
                               HEMREGISTRATION *ret) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("EMRegister")) {
        return s;
    }
    if (handler == nullptr || ret == nullptr) {
        return kStsBadArgument;
    }
    HEMREGISTRATION handle = Em().next++;
    Em().registrations[handle] = Registration{id, flags, handler, recursionId};
    CountRegistrations();
    *ret = handle;
    return notes::kNoError;
}

NOTES_EXPORT STATUS EMDeregister(HEMREGISTRATION registration) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("EMDeregister")) {
        return s;
    }
    if (Em().registrations.erase(registration) == 0) {
        return kStsUnknownRegistration;
    }
    CountRegistrations();
    return notes::kNoError;
}

}  // extern "C"
