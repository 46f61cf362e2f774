// Starting and ending the Notes runtime, and the version it reports.
#include "NotesSession.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <tuple>
#include <vector>

#include "LmbcsConvert.h"
#include "NotesApi.h"
#include "NotesErrorText.h"
#include "NotesLibrary.h"
#include "platform/UserInterface.h"

namespace notes {

namespace {

constexpr const char *kFaceNames[6] = {"Times Roman", "Arial",   "Monotype Sans WT",
                                       "Arial",       "Courier", "Arial"};

std::array<std::string, 6> &FaceNames() {
    static std::array<std::string, 6> names;
    return names;
}

std::string Trimmed(const std::string &s) {
    std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) {
        return std::string();
    }
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

void Show(platform::UserInterface *statusLine, const std::string &text) {
    if (statusLine != nullptr) {
        statusLine->Status(text);
    }
}

// The process-level initialisation with a configuration file: NotesInitIni where the runtime has it,
// else NotesInitExtended with "=path".
STATUS InitWithConfiguration(const std::string &configurationFilePath) {
    // Short (8.3) path names do not exist here: the path is used as given.
    std::string lmbcs = UnicodeToLmbcs(configurationFilePath);
    std::vector<char> path(lmbcs.begin(), lmbcs.end());
    path.push_back('\0');
    NotesApiTable &fn = Api().fn;
    if (fn.NotesInitIni != nullptr) {
        return fn.NotesInitIni(path.data());
    }
    if (fn.NotesInitExtended == nullptr) {
        return 1;
    }
    std::string program = "vorlix";
    std::string argument = "=" + lmbcs;
    char *argv[] = {program.data(), argument.data(), nullptr};
    return fn.NotesInitExtended(2, argv);
}

STATUS InitDefault() {
    if (Api().fn.NotesInitExtended == nullptr) {
        return 1;
    }
    char *argv[] = {nullptr};
    return Api().fn.NotesInitExtended(1, argv);
}

}  // namespace

NotesSession::NotesSession(bool startNow, bool threadLevel, const std::string &programPath,
                           const std::string &configurationFilePath, platform::UserInterface *statusLine) {
    if (startNow) {
        Start(threadLevel, programPath, configurationFilePath, statusLine);
    }
}

NotesSession::~NotesSession() {
    End(false);
}

bool NotesSession::Start(bool threadLevel, const std::string &programPath,
                         const std::string &configurationFilePath, platform::UserInterface *statusLine) {
    Show(statusLine, "Initializing a Lotus Notes session");
    if (!threadLevel && programPath.empty()) {
        m_errorText = "Unable to start a Lotus Notes session. No Lotus Notes program path was specificed.";
        Show(statusLine, m_errorText);
        return false;
    }
    if (Api().library == nullptr && !LoadNotesLibrary(programPath)) {
        m_errorText = "Unable to initialize Lotus Notes Session. Error: " + Api().loadError;
        Show(statusLine, m_errorText);
        return false;
    }
    m_errorText.clear();
    m_threadLevel = threadLevel;
    STATUS status = 0;
    if (threadLevel) {
        status = Api().fn.NotesInitThread != nullptr ? Api().fn.NotesInitThread() : 1;
    } else if (!configurationFilePath.empty()) {
        status = InitWithConfiguration(configurationFilePath);
    } else {
        status = InitDefault();
    }
    if (status != 0) {
        m_active = false;
        if (!threadLevel) {
            Api().version = NotesVersion{};
        }
        m_errorText = configurationFilePath.empty()
                          ? "Unable to start a Lotus Notes session."
                          : "Unable to start a Lotus Notes session with Lotus Notes "
                            "configuration file: '" +
                                configurationFilePath + "'.";
        Show(statusLine, m_errorText);
        return false;
    }
    m_active = true;
    if (!threadLevel) {
        DetectVersion();
        for (std::size_t i = 0; i < FaceNames().size(); ++i) {
            FaceNames()[i] = UnicodeToLmbcs(kFaceNames[i]);
        }
    }
    Show(statusLine, std::string());
    if (!threadLevel && Api().fn.OSGetLMBCSCLS != nullptr) {
        Api().lmbcsInfo = Api().fn.OSGetLMBCSCLS();
    }
    return m_active;
}

void NotesSession::End(bool unloadLibrary) {
    if (!m_active) {
        return;
    }
    // The flag is cleared for thread-level sessions too, so that an explicit End followed by the
    // destructor ends the thread only once.
    m_active = false;
    if (m_threadLevel) {
        if (Api().fn.NotesTermThread != nullptr) {
            Api().fn.NotesTermThread();
        }
        return;
    }
    if (Api().fn.NotesTerm != nullptr) {
        Api().fn.NotesTerm();
    }
    Api().version = NotesVersion{};
    if (unloadLibrary) {
        static_cast<void>(UnloadNotesLibrary());
    }
    Api().lmbcsInfo = nullptr;
}

void NotesSession::DetectVersion() {
    NotesVersion version;
    version.text = Trimmed(NotesErrorText(1));
    std::string release = version.text;
    std::size_t bar = release.find('|');
    if (bar != std::string::npos) {
        release = Trimmed(release.substr(0, bar));
    }
    std::size_t digit = release.find_first_of("0123456789");
    if (digit != std::string::npos) {
        std::string rest = release.substr(digit);
        std::size_t dot = rest.find('.');
        version.major = std::atoi(rest.c_str());
        if (dot != std::string::npos) {
            std::string afterFirst = rest.substr(dot + 1);
            version.minor = std::atoi(afterFirst.c_str());
            std::size_t second = afterFirst.find('.');
            if (second != std::string::npos) {
                version.tiny = std::atoi(afterFirst.c_str() + second + 1);
            }
        }
    }
    Api().version = version;
}

bool NotesSession::CheckVersion(int major, int minor, int tiny) {
    const NotesVersion &v = Api().version;
    if (std::tie(v.major, v.minor, v.tiny) >= std::tie(major, minor, tiny)) {
        return true;
    }
    char buffer[256];
    std::snprintf(
        buffer, sizeof buffer,
        "Lotus Notes version must be at least %d.%d.%d to run this application. The detected version was "
        "only %d.%d.%d",
        major, minor, tiny, v.major, v.minor, v.tiny);
    m_errorText = buffer;
    return false;
}

std::string NotesSession::VersionText() const {
    return m_active ? Api().version.text : std::string("Not Initialized");
}

const std::array<std::string, 6> &NotesSession::StandardFaceNamesLmbcs() {
    return FaceNames();
}

}  // namespace notes
