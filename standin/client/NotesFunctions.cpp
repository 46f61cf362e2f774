// Loading the client's Notes C API entry points from the program's runtime library.
#include "NotesFunctions.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <type_traits>

#include <map>
#include <memory>
#include <mutex>

namespace standin::client {

const NotesFunctions *NotesFunctions::Load(const std::string &path, std::string &error) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<NotesFunctions>> loaded;
    std::lock_guard<std::mutex> lock(mutex);
    auto found = loaded.find(path);
    if (found != loaded.end()) {
        return found->second.get();
    }
    void *library = dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (library == nullptr) {
        const char *why = dlerror();
        error = "Unable to load " + path + (why != nullptr ? std::string(": ") + why : std::string());
        return nullptr;
    }
    auto fns = std::make_unique<NotesFunctions>();
    bool complete = true;
    auto resolve = [&](auto &slot, const char *name) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(dlsym(library, name));
        if (slot == nullptr && complete) {
            complete = false;
            error = std::string("The Notes runtime ") + path + " has no entry point " + name;
        }
    };
#define CLIENT_FN(name) resolve(fns->name, #name);
    CLIENT_FUNCTIONS(CLIENT_FN)
#undef CLIENT_FN
    if (!complete) {
        dlclose(library);
        return nullptr;
    }
    const NotesFunctions *result = fns.get();
    loaded.emplace(path, std::move(fns));
    return result;
}

std::string NotesFunctions::Lmbcs(const std::string &utf8) const {
    if (utf8.empty()) {
        return utf8;
    }
    std::string out(utf8.size() * 3 + 3, '\0');
    WORD inLength = static_cast<WORD>(std::min<std::size_t>(utf8.size(), 0x3FFF));
    WORD outLength = static_cast<WORD>(std::min<std::size_t>(out.size(), 0xFFFF));
    WORD n = OSTranslate(notes::kTranslateNativeToLmbcs, utf8.data(), inLength, out.data(), outLength);
    out.resize(n);
    return out;
}

std::string NotesFunctions::Message(STATUS status) const {
    char buf[512] = {};
    WORD n = OSLoadString(0, notes::Err(status), buf, sizeof buf - 1);
    std::string text(buf, n);
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", notes::Err(status));
    return text.empty() ? std::string("Notes error ") + code : text;
}

ClientDatabase::ClientDatabase(const NotesFunctions &fns, const std::string &server, const std::string &path)
    : m_fns(fns) {
    std::string s = fns.Lmbcs(server);
    std::string p = fns.Lmbcs(path);
    char full[notes::kMaxPath + 1] = {};
    if (s.size() + p.size() + 3 > notes::kMaxPath) {
        m_error = "The database path is too long: " + path;
        return;
    }
    STATUS status = fns.OSPathNetConstruct(nullptr, s.c_str(), p.c_str(), full);
    if (status == 0) {
        status = fns.NSFDbOpen(full, &m_db);
    }
    if (status != 0) {
        m_db = 0;
        m_error = "Unable to open database " + (server.empty() ? path : server + "!!" + path) + ": " +
                  fns.Message(status);
    }
}

ClientDatabase::~ClientDatabase() {
    if (m_db != 0) {
        (void)m_fns.NSFDbClose(m_db);
    }
}

}  // namespace standin::client
