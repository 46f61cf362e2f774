// Loading and unloading the Notes runtime library.
#include "NotesLibrary.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "NotesApi.h"
#include "platform/AppInfo.h"
#include "platform/DynamicLibrary.h"
#include "platform/Paths.h"

namespace notes {

namespace {

std::string Format(const char *format, const std::string &a, const std::string &b = std::string()) {
    int n = std::snprintf(nullptr, 0, format, a.c_str(), b.c_str());
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, a.c_str(), b.c_str());
    out.resize(out.size() - 1);
    return out;
}

// The runtime finds its companion libraries through LD_LIBRARY_PATH (read by the loader when the
// process starts, so the executable's start-up re-executes itself when it must) and expects
// Notes_ExecDirectory to name its program directory.
bool SetLibraryEnvironment(const std::string &programPath) {
    const char *old = std::getenv("LD_LIBRARY_PATH");
    std::string current = old != nullptr ? old : "";
    std::string prefix = programPath + ":";
    if (current != programPath && current.compare(0, prefix.size(), prefix) != 0) {
        std::string value = current.empty() ? programPath : programPath + ":" + current;
        if (setenv("LD_LIBRARY_PATH", value.c_str(), 1) != 0) {
            return false;
        }
    }
    return setenv("Notes_ExecDirectory", programPath.c_str(), 1) == 0;
}

void ClearTable() {
    Api().fn = NotesApiTable{};
    Api().version = NotesVersion{};
    Api().lmbcsInfo = nullptr;
}

}  // namespace

bool LoadNotesLibrary(const std::string &programPathIn) {
    NotesApi &api = Api();
    std::string programPath = programPathIn;
    if (programPath.empty()) {
        programPath =
            platform::ReadAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyProgramPath);
    }
    if (programPath.empty()) {
        api.loadError = Format(
            "A Lotus Notes program path setting can not be found in your application settings file %s.ini .",
            platform::AppInfo::Name());
        return false;
    }
    if (!platform::DirectoryExists(programPath)) {
        api.loadError = Format(
            "Lotus Notes program path '%s' specified in your application settings file %s.ini does not "
            "exist.",
            programPath, platform::AppInfo::Name());
        return false;
    }
    if (!SetLibraryEnvironment(programPath)) {
        api.loadError = "LNF.PS Error Code: " + std::to_string(errno);
        return false;
    }
    std::string libraryPath = platform::JoinPath(programPath, kNotesLibraryFile);
    if (!platform::FileExists(libraryPath)) {
        api.loadError = Format("Lotus Notes file '%s' is missing.", libraryPath);
        return false;
    }
    if (api.library != nullptr) {
        static_cast<void>(platform::FreeLibraryHandle(api.library));
        api.library = nullptr;
        api.libraryPath.clear();
        api.programDirectory.clear();
        ClearTable();
    }
    std::string loaderError;
    void *library = platform::LoadLibraryFile(libraryPath, loaderError);
    if (library == nullptr) {
        // The loader has no error code to give, only its own reason (a missing companion library, a
        // wrong architecture, an unresolved symbol): that reason takes the code's place.
        api.loadError = Format("Unable to load Lotus Notes libraries from path %s. Module ", programPath) +
                        kNotesLibraryFile + " not loaded error: " + loaderError + ".";
        return false;
    }
    api.library = library;
    api.libraryPath = libraryPath;
    api.programDirectory = programPath;
    std::size_t count = 0;
    const NotesApiRow *rows = NotesApiRows(count);
    for (std::size_t i = 0; i < count; ++i) {
        rows[i].assign(api.fn, platform::LibrarySymbol(library, rows[i].name));
    }
    return true;
}

bool UnloadNotesLibrary() {
    NotesApi &api = Api();
    if (api.library == nullptr) {
        api.loadError = "Already unloaded";
        return false;
    }
    if (!platform::FreeLibraryHandle(api.library)) {
        api.loadError = "Free Failed";
        return false;
    }
    api.library = nullptr;
    api.libraryPath.clear();
    api.programDirectory.clear();
    ClearTable();
    return true;
}

}  // namespace notes
