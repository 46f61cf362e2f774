// Start-up and shutdown of the runtime: notes.ini, the ID file, add-ins and the password request.
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "Config.h"
#include "CoreStatus.h"
#include "Export.h"
#include "ExtensionManager.h"
#include "Runtime.h"
#include "common/Lmbcs.h"

namespace standin {

namespace {

const MessageEntry kInitMessages[] = {
    {kStsIdFileUnreadable, "The ID file named in the Notes configuration file is not a valid ID file"},
};
const MessageRegistrar kInit(kInitMessages, sizeof(kInitMessages) / sizeof(kInitMessages[0]));

constexpr const char *kDefaultRelease = "Release 9.0.1FP10|November 11, 2017";

std::string Upper(std::string s) {
    for (char &c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

std::string Trimmed(const std::string &s) {
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) {
        return std::string();
    }
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

bool ReadText(const std::string &path, std::string &text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) {
        return false;
    }
    text = s.str();
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        text.erase(0, 3);
    }
    return true;
}

// Key=Value lines; keys upper-cased. For notes.ini only the [Notes] section counts (lines before any
// section header count too); other files have no sections.
std::map<std::string, std::string> ParseKeys(const std::string &text, bool notesSectionOnly) {
    std::map<std::string, std::string> keys;
    bool inNotes = true;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            inNotes = Upper(line) == "[NOTES]";
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos || (notesSectionOnly && !inNotes)) {
            continue;
        }
        std::string key = Upper(Trimmed(line.substr(0, eq)));
        if (!key.empty() && keys.find(key) == keys.end()) {
            keys[key] = Trimmed(line.substr(eq + 1));
        }
    }
    return keys;
}

std::string DirectoryOf(const std::string &path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

std::string Resolve(const std::string &base, const std::string &path) {
    if (path.empty() || path[0] == '/') {
        return path;
    }
    return base + "/" + path;
}

// The stand-in ID file: Key=Value lines UserName (required), Password (optional) and any number of
// Key lines naming encryption keys.
STATUS ReadIdFile(const std::string &path, IdFile &id) {
    std::string text;
    if (!ReadText(path, text)) {
        return kStsIdFileMissing;
    }
    id = IdFile{};
    id.path = path;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = Trimmed(line);
        std::size_t eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos) {
            continue;
        }
        std::string key = Upper(Trimmed(line.substr(0, eq)));
        std::string value = Trimmed(line.substr(eq + 1));
        if (key == "USERNAME") {
            id.userName = value;
        } else if (key == "PASSWORD") {
            id.password = value;
        } else if (key == "KEY" && !value.empty()) {
            id.keys.push_back(value);
        }
    }
    return id.userName.empty() ? kStsIdFileUnreadable : notes::kNoError;
}

std::string DefaultIniPath() {
    const char *env = std::getenv("NOTES_INI");
    return env != nullptr && *env != '\0' ? std::string(env) : std::string("notes.ini");
}

STATUS StartProcess(std::string iniPath) {
    RuntimeConfig &config = Config();
    if (config.initialized) {
        return notes::kNoError;
    }
    if (iniPath.empty()) {
        iniPath = DefaultIniPath();
    }
    std::string text;
    if (!ReadText(iniPath, text)) {
        Diagnostic("notes.ini not readable: " + iniPath);
        return kStsIniUnreadable;
    }
    RuntimeConfig fresh;
    fresh.iniPath = iniPath;
    fresh.ini = ParseKeys(text, true);
    std::string iniDir = DirectoryOf(iniPath);
    auto value = [&fresh](const char *key) {
        auto it = fresh.ini.find(key);
        return it == fresh.ini.end() ? std::string() : it->second;
    };
    fresh.dataDirectory = Resolve(iniDir, value("DIRECTORY"));
    if (fresh.dataDirectory.empty()) {
        fresh.dataDirectory = iniDir;
    }
    std::string keyFile = value("KEYFILENAME");
    if (!keyFile.empty()) {
        if (STATUS s = ReadIdFile(Resolve(fresh.dataDirectory, keyFile), fresh.id)) {
            Diagnostic("ID file not usable: " + Resolve(fresh.dataDirectory, keyFile));
            return s;
        }
        fresh.anonymous = false;
    }
    std::string release = value("STANDINRELEASE");
    SetReleaseText(release.empty() ? kDefaultRelease : release);
    config = fresh;
    LoadAddins(value("EXTMGR_ADDINS"));
    if (!config.anonymous && !config.id.password.empty()) {
        if (STATUS s = RequestPassword(config.id)) {
            UnloadAddins();
            config = RuntimeConfig{};
            return s;
        }
    }
    config.initialized = true;
    return notes::kNoError;
}

}  // namespace

RuntimeConfig &Config() {
    static RuntimeConfig config;
    return config;
}

std::string IniValue(const std::string &key) {
    ApiLock lock(ApiMutex());
    auto it = Config().ini.find(Upper(key));
    return it == Config().ini.end() ? std::string() : it->second;
}

}  // namespace standin

using namespace standin;

extern "C" {

NOTES_EXPORT STATUS NotesInitIni(char *configFile) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NotesInitIni")) {
        return s;
    }
    // Paths cross the API in LMBCS; the file system takes UTF-8.
    return StartProcess(configFile != nullptr ? LmbcsToUtf8(configFile) : "");
}

// An argument "=path" after the first names the notes.ini; without one the default is used.
NOTES_EXPORT STATUS NotesInitExtended(int argc, char **argv) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NotesInitExtended")) {
        return s;
    }
    std::string iniPath;
    for (int i = 1; argv != nullptr && i < argc; ++i) {
        if (argv[i] != nullptr && argv[i][0] == '=') {
            iniPath = LmbcsToUtf8(argv[i] + 1);
            break;
        }
    }
    return StartProcess(iniPath);
}

NOTES_EXPORT STATUS NotesInitThread(void) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NotesInitThread")) {
        return s;
    }
    if (!Config().initialized) {
        return kStsNotInitialized;
    }
    ++Config().threads;
    return notes::kNoError;
}

NOTES_EXPORT void NotesTermThread(void) {
    ApiLock lock(ApiMutex());
    if (EnterCall("NotesTermThread") != 0) {
        return;
    }
    if (Config().threads > 0) {
        --Config().threads;
    }
}

NOTES_EXPORT void NotesTerm(void) {
    ApiLock lock(ApiMutex());
    if (EnterCall("NotesTerm") != 0) {
        return;
    }
    if (!Config().initialized) {
        return;
    }
    UnloadAddins();
    Config() = RuntimeConfig{};
}

}  // extern "C"
