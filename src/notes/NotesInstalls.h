// Finding the Notes installations of this machine: registry-store installations, the running client
// (through /proc), the PATH, the usual installation folders and data folders; the candidates in order
// and the choice of one program directory and one configuration file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace platform {
class UserInterface;
}

namespace notes {

// Where a discovery looks. The system's values by default; tests point every field at a tree of their
// own. All paths are absolute paths of the file system.
struct InstallSearchEnvironment {
    // The one "fixed drive": the folder patterns are taken relative to it.
    std::string root = "/";
    // The process table: numbered directories holding comm and maps.
    std::string procDirectory = "/proc";
    // The PATH, split at ":" (";" is accepted too).
    std::string pathVariable;
    // Local, roaming and common application data folders and the home directory (empty: not searched).
    std::string localAppData;
    std::string roamingAppData;
    std::string commonAppData;
    std::string home;

    static InstallSearchEnvironment FromSystem();
};

struct ProgramCandidate {
    std::string directory;
    std::int64_t libraryTime = 0;  // modification time of the library, nanoseconds since 1970
    bool hasOwnIni = false;
    bool viaRunningClient = false;
    bool viaPath = false;
    bool registryInstall = false;
    int registryVersion = 0;
};

struct ConfigCandidate {
    std::string path;
    std::int64_t time = 0;  // modification time, nanoseconds since 1970
    bool valid = false;     // [Notes] holds KitType, Directory and KeyFilename
    std::string kitType;
    std::string directory;
    std::string keyFilename;
    std::string names;
};

struct RegistryInstall {
    platform::RegistryHive root = platform::RegistryHive::LocalMachine;
    int version = 0;
    std::string programPath;
    std::string dataPath;
    bool noDataPath = false;
    std::string configFile;
    bool valid = false;
    int partner = -1;  // index of the entry of the other hive with the same version
    std::string error;
};

// Text without its leading and trailing blanks (paths read from settings, the registry and the PATH).
std::string TrimBlanks(const std::string &text);

class NotesInstalls {
public:
    // The registry key whose numbered sub-keys are installations.
    static constexpr char kRegistryKey[] = "SOFTWARE\\Lotus\\Notes";
    static constexpr char kConfigFileName[] = "notes.ini";

    explicit NotesInstalls(InstallSearchEnvironment environment = InstallSearchEnvironment::FromSystem());

    // Runs the whole discovery; true when at least one program directory was found. The chosen paths
    // are then set (either may be empty when the user has to choose). progress and statusWindow are
    // optional: the progress advances per pattern searched, the status shows each directory searched.
    bool Discover(bool autoSelect, platform::UserInterface *progress = nullptr,
                  platform::UserInterface *statusWindow = nullptr);

    const std::vector<ProgramCandidate> &ProgramCandidates() const { return m_programs; }
    const std::vector<ConfigCandidate> &ConfigCandidates() const { return m_configs; }
    const std::vector<RegistryInstall> &RegistryInstalls() const { return m_registry; }
    bool RunningClientFound() const { return m_runningClientFound; }

    const std::string &ChosenProgramDirectory() const { return m_chosenProgram; }
    const std::string &ChosenConfigFile() const { return m_chosenConfig; }
    void SetChosenProgramDirectory(const std::string &path) { m_chosenProgram = path; }
    void SetChosenConfigFile(const std::string &path) { m_chosenConfig = path; }

    // Problems met on the way (the process scan, the application configuration file), one a line.
    const std::string &StatusText() const { return m_statusText; }
    // How many directories the searches read (for measurements).
    std::size_t DirectoriesSearched() const { return m_directoriesSearched; }

    // Searches one directory and the directories below it (maxDepth levels, the directory itself
    // being the first; 0: no limit). Symbolic links to directories below the start are not followed,
    // so a search stays inside its directory and cannot loop.
    void SearchDirectory(const std::string &directory, int maxDepth, bool viaRunningClient, bool viaPath);

    // The configuration file made for an installation that has none: <local data>/Vorlix/Vorlix_notes.ini
    // with [Notes] KitType=1 and Directory=programDirectory. Empty on failure (StatusText says why).
    std::string CreateApplicationConfigFile(const std::string &programDirectory);

private:
    void ReadRegistryInstalls();
    void ValidateRegistryInstalls();
    void FindRunningClient();
    void SearchPathVariable();
    void SearchPass(int maxDepth);
    void TagRegistryVersions();
    void Choose(bool autoSelect);
    int HighestValidInstallFor(const std::string &directory) const;
    std::vector<std::string> ExpandPattern(const std::string &base, const std::string &pattern) const;
    void AddConfig(const std::string &path);
    void AddProgram(const std::string &directory, const std::string &libraryPath, bool hasOwnIni,
                    bool viaRunningClient, bool viaPath);
    void Note(const std::string &text);
    void ShowStatus(const std::string &text);

    InstallSearchEnvironment m_env;
    std::vector<ProgramCandidate> m_programs;
    std::vector<ConfigCandidate> m_configs;
    std::vector<RegistryInstall> m_registry;
    std::vector<std::string> m_versionPaths;  // install paths of versions 10.0 down to 4.0
    bool m_runningClientFound = false;
    std::string m_chosenProgram;
    std::string m_chosenConfig;
    std::string m_statusText;
    std::size_t m_directoriesSearched = 0;
    platform::UserInterface *m_statusWindow = nullptr;
    platform::UserInterface *m_progress = nullptr;
};

}  // namespace notes
