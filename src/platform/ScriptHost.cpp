// The Linux script host: the engine library is loaded once per process and stays loaded, since the
// client state it keeps (the open database and view, the selected document) lives for the whole
// process, as it does in a Notes client between scripts.
#include "ScriptHost.h"

#include <map>
#include <mutex>

#include "AppInfo.h"
#include "DynamicLibrary.h"
#include "Paths.h"
#include "UserInterface.h"

namespace platform {

namespace {

// The engine library's error record; every text is UTF-8 and NUL-terminated.
struct VxScriptError {
    int line;
    char source[128];
    char description[512];
    char sourceLine[512];
};

using CreateFn = void *(*)(const char *language, const char *notesLibrary);
using ParseFn = int (*)(void *engine, const char *text, VxScriptError *error);
using InvokeFn = int (*)(void *engine, const char *subName, VxScriptError *error);
using DestroyFn = void (*)(void *engine);

constexpr int kScriptOk = 0;
constexpr int kScriptError = 1;

// The text of a fixed-size field, up to its first NUL (a library that filled it to the brim is not
// read past its end).
std::string FieldText(const char *field, std::size_t size) {
    std::size_t length = 0;
    while (length < size && field[length] != '\0') {
        ++length;
    }
    return std::string(field, length);
}

void ShowScriptError(const VxScriptError &error) {
    const std::string text = ScriptErrorText(FieldText(error.source, sizeof error.source), error.line,
                                             FieldText(error.description, sizeof error.description),
                                             FieldText(error.sourceLine, sizeof error.sourceLine));
    Ui().Message(text, "Error", MessageIcon::Error, MessageButtons::Ok);
}

}  // namespace

struct ScriptHost::Engine {
    CreateFn create = nullptr;
    ParseFn parse = nullptr;
    InvokeFn invoke = nullptr;
    DestroyFn destroy = nullptr;
};

namespace {

// The engine library at path, loaded on first use and kept for the process (a loaded engine is never
// unloaded); null with the reason in error.
const ScriptHost::Engine *LoadedEngine(const std::string &path, std::string &error) {
    static std::mutex mutex;
    static std::map<std::string, ScriptHost::Engine> engines;
    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = engines.find(path);
    if (found != engines.end()) {
        return &found->second;
    }
    std::string reason;
    void *library = LoadLibraryFile(path, reason);
    ScriptHost::Engine engine;
    if (library != nullptr) {
        engine.create = reinterpret_cast<CreateFn>(LibrarySymbol(library, "VxScriptCreate"));
        engine.parse = reinterpret_cast<ParseFn>(LibrarySymbol(library, "VxScriptParse"));
        engine.invoke = reinterpret_cast<InvokeFn>(LibrarySymbol(library, "VxScriptInvoke"));
        engine.destroy = reinterpret_cast<DestroyFn>(LibrarySymbol(library, "VxScriptDestroy"));
        if (engine.create == nullptr || engine.parse == nullptr || engine.invoke == nullptr ||
            engine.destroy == nullptr) {
            reason = "it lacks the script engine entry points";
            static_cast<void>(FreeLibraryHandle(library));
            library = nullptr;
        }
    }
    if (library == nullptr) {
        error = "Unable to load the script engine " + path + ": " + reason;
        return nullptr;
    }
    return &engines.emplace(path, engine).first->second;
}

}  // namespace

std::string ScriptErrorText(const std::string &source, int line, const std::string &description,
                            const std::string &sourceLine) {
    return source + "\n[Line: " + std::to_string(line) + "] " + description + "\n" + sourceLine;
}

ScriptHost::ScriptHost(std::string notesLibrary, std::string engineDirectory)
    : m_notesLibrary(std::move(notesLibrary)), m_engineDirectory(std::move(engineDirectory)) {
    if (m_engineDirectory.empty()) {
        m_engineDirectory = AppInfo::RuntimeDirectory();
    }
}

ScriptHost::~ScriptHost() {
    DestroyScript();
}

bool ScriptHost::LoadEngineLibrary() {
    if (m_engine == nullptr) {
        m_engine = LoadedEngine(JoinPath(m_engineDirectory, kScriptEngineLibraryFile), m_lastError);
    }
    if (m_engine == nullptr && !m_loadFailureShown) {
        m_loadFailureShown = true;
        Ui().Message(m_lastError, "Error", MessageIcon::Error, MessageButtons::Ok);
    }
    return m_engine != nullptr;
}

void ScriptHost::DestroyScript() {
    if (m_script != nullptr) {
        m_engine->destroy(m_script);
        m_script = nullptr;
    }
}

bool ScriptHost::RunScript(const std::string &language, const std::string &text) {
    m_lastError.clear();
    DestroyScript();
    if (!LoadEngineLibrary()) {
        return false;
    }
    m_script = m_engine->create(language.c_str(), m_notesLibrary.c_str());
    if (m_script == nullptr) {
        m_lastError = "No script engine for the language " + language;
        return false;
    }
    VxScriptError error{};
    const int status = m_engine->parse(m_script, text.c_str(), &error);
    if (status == kScriptOk) {
        return true;
    }
    if (status == kScriptError) {
        ShowScriptError(error);
    }
    m_lastError = "The script could not be parsed";
    DestroyScript();
    return false;
}

bool ScriptHost::InvokeSub(const std::string &name) {
    m_lastError.clear();
    if (m_script == nullptr) {
        m_lastError = "No script to run " + name + " in";
        return false;
    }
    VxScriptError error{};
    const int status = m_engine->invoke(m_script, name.c_str(), &error);
    if (status == kScriptOk) {
        return true;
    }
    if (status == kScriptError) {
        ShowScriptError(error);
        m_lastError = "The script failed in " + name;
    } else {
        m_lastError = "The script has no Sub " + name;
    }
    return false;
}

}  // namespace platform
