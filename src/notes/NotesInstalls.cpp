// Finding the Notes installations of this machine and choosing one.
#include "NotesInstalls.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>
#include <utility>

#include "NotesLibrary.h"
#include "platform/AppInfo.h"
#include "platform/AsciiText.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"

namespace notes {

namespace {

// Each [Notes] value of a candidate's notes.ini is read with this many characters at most.
constexpr std::size_t kIniValueChars = 9999;
// The PATH is read up to this many characters.
constexpr std::size_t kPathVariableChars = 4000;

// The folder patterns below the root: the Windows folders and the Linux locations.
const char *const kFolderPatterns[] = {
    "Lotus*",
    "Notes*",
    "Program Files/Notes*",
    "Program Files/Lotus*",
    "Program Files/IBM/Notes*",
    "Program Files/IBM/Lotus*",
    "opt/hcl/notes*",
    "opt/ibm/notes*",
    "opt/hcl/domino*",
    "opt/ibm/domino*",
    "opt/lotus*",
};

// Names the Notes client's process goes by.
const char *const kClientProcessNames[] = {"nlnotes", "notes", "notes2"};

bool StartsWithNoCase(const std::string &text, const std::string &prefix) {
    return text.size() >= prefix.size() &&
           platform::EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::int64_t ModificationTime(const struct stat &info) {
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
}

// A path without trailing separators (the root stays "/").
std::string WithoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && path.back() == platform::kPathSeparator) {
        path.pop_back();
    }
    return path;
}

// The path of a file system entry with its symbolic links resolved; empty when it does not exist.
std::string Resolved(const std::string &path) {
    char *resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return "";
    }
    std::string result(resolved);
    std::free(resolved);
    return result;
}

bool Inside(const std::string &path, const std::string &root) {
    if (root == "/") {
        return !path.empty() && path[0] == '/';
    }
    return path == root || (path.size() > root.size() && path.compare(0, root.size(), root) == 0 &&
                            path[root.size()] == platform::kPathSeparator);
}

std::string EnvironmentValue(const char *name) {
    const char *value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

std::string TrimBlanks(const std::string &text) {
    const char *blanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

InstallSearchEnvironment InstallSearchEnvironment::FromSystem() {
    InstallSearchEnvironment environment;
    environment.pathVariable = EnvironmentValue("PATH").substr(0, kPathVariableChars);
    environment.localAppData = platform::LocalAppDataDirectory();
    environment.roamingAppData = platform::RoamingAppDataDirectory();
    environment.home = EnvironmentValue("HOME");
    return environment;
}

NotesInstalls::NotesInstalls(InstallSearchEnvironment environment) : m_env(std::move(environment)) {}

void NotesInstalls::Note(const std::string &text) {
    if (!m_statusText.empty()) {
        m_statusText += "\n";
    }
    m_statusText += text;
}

void NotesInstalls::ShowStatus(const std::string &text) {
    if (m_statusWindow != nullptr) {
        m_statusWindow->Status(text);
    }
}

void NotesInstalls::AddConfig(const std::string &path) {
    for (const ConfigCandidate &known : m_configs) {
        if (platform::EqualsIgnoringAsciiCase(known.path, path)) {
            return;
        }
    }
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return;
    }
    ConfigCandidate candidate;
    candidate.path = path;
    candidate.time = ModificationTime(info);
    candidate.kitType = platform::ReadIniValue(path, "Notes", "KitType", kIniValueChars);
    candidate.directory = platform::ReadIniValue(path, "Notes", "Directory", kIniValueChars);
    candidate.keyFilename = platform::ReadIniValue(path, "Notes", "KeyFilename", kIniValueChars);
    candidate.names = platform::ReadIniValue(path, "Notes", "Names", kIniValueChars);
    candidate.valid =
        !candidate.kitType.empty() && !candidate.directory.empty() && !candidate.keyFilename.empty();
    m_configs.push_back(std::move(candidate));
}

void NotesInstalls::AddProgram(const std::string &directory, const std::string &libraryPath, bool hasOwnIni,
                               bool viaRunningClient, bool viaPath) {
    for (const ProgramCandidate &known : m_programs) {
        if (platform::EqualsIgnoringAsciiCase(known.directory, directory)) {
            return;
        }
    }
    struct stat info {};
    if (stat(libraryPath.c_str(), &info) != 0) {
        return;
    }
    ProgramCandidate candidate;
    candidate.directory = directory;
    candidate.libraryTime = ModificationTime(info);
    candidate.hasOwnIni = hasOwnIni;
    candidate.viaRunningClient = viaRunningClient;
    candidate.viaPath = viaPath;
    m_programs.push_back(std::move(candidate));
}

void NotesInstalls::SearchDirectory(const std::string &start, int maxDepth, bool viaRunningClient,
                                    bool viaPath) {
    struct Pending {
        std::string directory;
        int depth;
    };
    // Depth first, in name order, the way a recursive walk would go; an explicit stack so that a deep
    // tree cannot exhaust the call stack. Directories already read (by device and inode) are skipped,
    // which also ends a loop made by a bind mount.
    std::vector<Pending> stack{{WithoutTrailingSeparator(start), 1}};
    std::set<std::pair<dev_t, ino_t>> visited;
    while (!stack.empty()) {
        Pending current = std::move(stack.back());
        stack.pop_back();
        if (maxDepth > 0 && current.depth > maxDepth) {
            continue;
        }
        DIR *dir = opendir(current.directory.c_str());
        if (dir == nullptr) {
            continue;
        }
        struct stat dirInfo {};
        if (fstat(dirfd(dir), &dirInfo) != 0 || !visited.insert({dirInfo.st_dev, dirInfo.st_ino}).second) {
            closedir(dir);
            continue;
        }
        ++m_directoriesSearched;
        ShowStatus(current.directory);
        std::string iniPath;
        std::string libraryPath;
        std::vector<std::string> subdirectories;
        while (const dirent *entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = platform::JoinPath(current.directory, name);
            unsigned char type = entry->d_type;
            if (type == DT_UNKNOWN) {
                struct stat info {};
                if (lstat(path.c_str(), &info) != 0) {
                    continue;
                }
                type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISLNK(info.st_mode) ? DT_LNK : DT_REG;
            }
            if (type == DT_DIR) {
                if (name[0] != '.') {
                    subdirectories.push_back(name);
                }
            } else if (platform::EqualsIgnoringAsciiCase(name, kConfigFileName) &&
                       platform::FileExists(path)) {
                iniPath = path;
            } else if (name == kNotesLibraryFile && platform::FileExists(path)) {
                libraryPath = path;
            }
        }
        closedir(dir);
        if (!iniPath.empty()) {
            AddConfig(iniPath);
        }
        if (!libraryPath.empty()) {
            AddProgram(current.directory, libraryPath, !iniPath.empty(), viaRunningClient, viaPath);
        }
        // Only the start directory carries the origin flags.
        viaRunningClient = false;
        viaPath = false;
        std::sort(subdirectories.rbegin(), subdirectories.rend());
        for (const std::string &name : subdirectories) {
            stack.push_back({platform::JoinPath(current.directory, name), current.depth + 1});
        }
    }
}

void NotesInstalls::FindRunningClient() {
    DIR *proc = opendir(m_env.procDirectory.c_str());
    if (proc == nullptr) {
        Note("Unable to get snapshot of processes");
        return;
    }
    std::vector<std::string> processes;
    while (const dirent *entry = readdir(proc)) {
        const std::string name = entry->d_name;
        if (!name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c)) != 0;
            })) {
            processes.push_back(name);
        }
    }
    closedir(proc);
    if (processes.empty()) {
        Note("Unable to get first processes");
        return;
    }
    std::sort(processes.begin(), processes.end());
    for (const std::string &pid : processes) {
        const std::string processDir = platform::JoinPath(m_env.procDirectory, pid);
        std::string comm;
        if (!platform::ReadWholeFile(platform::JoinPath(processDir, "comm"), comm)) {
            continue;
        }
        comm = TrimBlanks(comm);
        if (std::none_of(std::begin(kClientProcessNames), std::end(kClientProcessNames),
                         [&comm](const char *client) { return comm == client; })) {
            continue;
        }
        std::string maps;
        if (!platform::ReadWholeFile(platform::JoinPath(processDir, "maps"), maps)) {
            Note("Unable to get snapshot of modules for process");
            continue;
        }
        // Each line of maps ends with the mapped file's path, when it maps one.
        std::size_t lineStart = 0;
        bool anyModule = false;
        std::set<std::string> libraryDirectories;
        while (lineStart < maps.size()) {
            std::size_t lineEnd = maps.find('\n', lineStart);
            if (lineEnd == std::string::npos) {
                lineEnd = maps.size();
            }
            const std::string line = maps.substr(lineStart, lineEnd - lineStart);
            lineStart = lineEnd + 1;
            const std::size_t slash = line.find('/');
            if (slash == std::string::npos) {
                continue;
            }
            anyModule = true;
            const std::string module = line.substr(slash);
            if (platform::FileNameOf(module) == kNotesLibraryFile) {
                libraryDirectories.insert(platform::DirectoryOf(module));
            }
        }
        if (!anyModule) {
            Note("Unable to get first module");
            continue;
        }
        for (const std::string &directory : libraryDirectories) {
            m_runningClientFound = true;
            SearchDirectory(directory, 1, true, false);
        }
    }
}

void NotesInstalls::SearchPathVariable() {
    std::size_t start = 0;
    const std::string &path = m_env.pathVariable;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of(":;", start);
        if (end == std::string::npos) {
            end = path.size();
        }
        const std::string part = TrimBlanks(path.substr(start, end - start));
        if (!part.empty()) {
            SearchDirectory(part, 1, false, true);
        }
        start = end + 1;
    }
}

// The directories below base that match a pattern of "/"-separated components, each matched without
// regard to case; symbolic links are followed only when they lead to a directory inside base.
std::vector<std::string> NotesInstalls::ExpandPattern(const std::string &base,
                                                      const std::string &pattern) const {
    const std::string resolvedBase = Resolved(base);
    if (resolvedBase.empty()) {
        return {};
    }
    std::vector<std::string> current{WithoutTrailingSeparator(base)};
    std::size_t start = 0;
    while (start < pattern.size() && !current.empty()) {
        std::size_t end = pattern.find('/', start);
        if (end == std::string::npos) {
            end = pattern.size();
        }
        const std::string component = pattern.substr(start, end - start);
        start = end + 1;
        std::vector<std::string> next;
        for (const std::string &directory : current) {
            DIR *dir = opendir(directory.c_str());
            if (dir == nullptr) {
                continue;
            }
            std::vector<std::string> names;
            while (const dirent *entry = readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != ".." &&
                    fnmatch(component.c_str(), name.c_str(), FNM_CASEFOLD) == 0) {
                    names.push_back(name);
                }
            }
            closedir(dir);
            std::sort(names.begin(), names.end());
            for (const std::string &name : names) {
                const std::string path = platform::JoinPath(directory, name);
                if (platform::DirectoryExists(path) && Inside(Resolved(path), resolvedBase)) {
                    next.push_back(path);
                }
            }
        }
        current = std::move(next);
    }
    return current;
}

void NotesInstalls::SearchPass(int maxDepth) {
    const std::size_t patterns = std::size(kFolderPatterns);
    long step = 0;
    for (const char *pattern : kFolderPatterns) {
        for (const std::string &directory : ExpandPattern(m_env.root, pattern)) {
            SearchDirectory(directory, maxDepth, false, false);
        }
        if (m_progress != nullptr) {
            m_progress->Progress(++step, static_cast<long>(patterns));
        }
    }
    for (const std::string &base : {m_env.localAppData, m_env.home}) {
        if (base.empty()) {
            continue;
        }
        SearchDirectory(platform::JoinPath(base, "lotus/notes/data"), 0, false, false);
    }
    if (!m_env.home.empty()) {
        SearchDirectory(platform::JoinPath(m_env.home, "notes/data"), 0, false, false);
    }
    if (m_programs.empty() && m_configs.empty()) {
        for (const std::string &folder : {m_env.localAppData, m_env.commonAppData, m_env.roamingAppData}) {
            if (folder.empty() || folder == "/") {
                continue;
            }
            const std::string parent = platform::DirectoryOf(WithoutTrailingSeparator(folder));
            for (const std::string &directory :
                 ExpandPattern(parent, platform::FileNameOf(WithoutTrailingSeparator(folder)) + "*")) {
                SearchDirectory(directory, maxDepth, false, false);
            }
        }
    }
}

void NotesInstalls::TagRegistryVersions() {
    static constexpr int kVersions[] = {10, 9, 8, 7, 6, 5, 4};
    for (std::size_t i = 0; i < m_versionPaths.size(); ++i) {
        if (m_versionPaths[i].empty()) {
            continue;
        }
        for (ProgramCandidate &candidate : m_programs) {
            if (StartsWithNoCase(candidate.directory, m_versionPaths[i])) {
                candidate.registryInstall = true;
                candidate.registryVersion = kVersions[i];
            }
        }
    }
}

// The valid registry installation of the highest version whose program path is directory; -1 if none.
int NotesInstalls::HighestValidInstallFor(const std::string &directory) const {
    int best = -1;
    for (std::size_t i = 0; i < m_registry.size(); ++i) {
        const RegistryInstall &install = m_registry[i];
        if (install.valid && platform::EqualsIgnoringAsciiCase(install.programPath, directory) &&
            (best < 0 || install.version > m_registry[static_cast<std::size_t>(best)].version)) {
            best = static_cast<int>(i);
        }
    }
    return best;
}

void NotesInstalls::Choose(bool autoSelect) {
    (void)autoSelect;
    if (m_programs.empty()) {
        return;
    }
    const ProgramCandidate *chosen = &m_programs.front();
    if (m_runningClientFound) {
        const auto client = std::find_if(m_programs.begin(), m_programs.end(), [](const ProgramCandidate &c) {
            return c.viaRunningClient && c.hasOwnIni;
        });
        if (client != m_programs.end()) {
            chosen = &*client;
        }
    }
    const int install = HighestValidInstallFor(chosen->directory);
    if (install >= 0) {
        m_chosenProgram = m_registry[static_cast<std::size_t>(install)].programPath;
        m_chosenConfig = m_registry[static_cast<std::size_t>(install)].configFile;
        return;
    }
    m_chosenProgram = chosen->directory;
    if (chosen->hasOwnIni) {
        m_chosenConfig = platform::JoinPath(chosen->directory, kConfigFileName);
        for (const ConfigCandidate &config : m_configs) {
            if (platform::DirectoryOf(config.path) == chosen->directory) {
                m_chosenConfig = config.path;
            }
        }
    } else if (m_configs.size() == 1) {
        m_chosenConfig = m_configs.front().path;
    } else if (m_configs.empty()) {
        m_chosenConfig = CreateApplicationConfigFile(chosen->directory);
    }
}

bool NotesInstalls::Discover(bool autoSelect, platform::UserInterface *progress,
                             platform::UserInterface *statusWindow) {
    m_statusWindow = statusWindow;
    m_progress = progress;
    ReadRegistryInstalls();
    FindRunningClient();
    if (m_runningClientFound && m_programs.size() == 1 && autoSelect) {
        const int install = HighestValidInstallFor(m_programs.front().directory);
        if (install >= 0) {
            m_chosenProgram = m_registry[static_cast<std::size_t>(install)].programPath;
            m_chosenConfig = m_registry[static_cast<std::size_t>(install)].configFile;
            ShowStatus("");
            return true;
        }
    }
    SearchPathVariable();
    m_versionPaths.clear();
    for (int version = 10; version >= 4; --version) {
        const std::optional<std::string> path = platform::Registry::GetString(
            platform::RegistryHive::LocalMachine,
            std::string(kRegistryKey) + "\\" + std::to_string(version) + ".0", "Path");
        m_versionPaths.push_back(path ? WithoutTrailingSeparator(TrimBlanks(*path)) : std::string());
    }
    const std::size_t before = m_programs.size() + m_configs.size();
    SearchPass(2);
    if (m_programs.size() + m_configs.size() == before) {
        SearchPass(0);
    }
    TagRegistryVersions();
    std::stable_sort(
        m_programs.begin(), m_programs.end(),
        [](const ProgramCandidate &a, const ProgramCandidate &b) { return a.libraryTime > b.libraryTime; });
    std::stable_sort(m_configs.begin(), m_configs.end(),
                     [](const ConfigCandidate &a, const ConfigCandidate &b) { return a.time > b.time; });
    Choose(autoSelect);
    if (m_progress != nullptr) {
        m_progress->Progress(0, 1);
    }
    ShowStatus("");
    m_statusWindow = nullptr;
    m_progress = nullptr;
    return !m_programs.empty();
}

std::string NotesInstalls::CreateApplicationConfigFile(const std::string &programDirectory) {
    const std::string appData = m_env.localAppData;
    const std::string dataDirectory = platform::JoinPath(appData, platform::AppInfo::Name());
    if (appData.empty() || !platform::DirectoryExists(appData) ||
        (!platform::DirectoryExists(dataDirectory) && mkdir(dataDirectory.c_str(), 0700) != 0 &&
         !platform::DirectoryExists(dataDirectory))) {
        Note("Unable to get or create Local Data Directory. Check access.");
        return "";
    }
    const std::string path = platform::JoinPath(dataDirectory, platform::AppInfo::Name() + "_notes.ini");
    if (!platform::FileExists(path) && !platform::WriteFileAtomically(path, "")) {
        Note("Unable to create application Lotus Notes configuration file '" + path + "'");
        return "";
    }
    if (!platform::WriteIniValue(path, "Notes", "KitType", "1") ||
        !platform::WriteIniValue(path, "Notes", "Directory", programDirectory)) {
        Note("Unable to write to application Lotus Notes configuration file '" + path + "'");
        return "";
    }
    return path;
}

}  // namespace notes
