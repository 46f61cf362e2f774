// Paths and whole-file access on Linux: module path, settings-file rule, XDG folders, atomic writes.
#include "Paths.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

thread_local std::string t_lastFileError;

void SetFileError(const std::string &what, const std::string &path, int error) {
    t_lastFileError = what + " '" + path + "': " + std::strerror(error);
}

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == kPathSeparator) {
        path.pop_back();
    }
    return path;
}

std::string HomeDirectory() {
    const char *home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return WithoutTrailingSeparators(home);
    }
    const passwd *entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr) {
        return WithoutTrailingSeparators(entry->pw_dir);
    }
    return "/";
}

// An XDG base directory: the variable when it holds an absolute path, else home + fallback.
std::string XdgDirectory(const char *variable, const char *fallback) {
    const char *value = std::getenv(variable);
    if (value != nullptr && value[0] == kPathSeparator) {
        return WithoutTrailingSeparators(value);
    }
    return JoinPath(HomeDirectory(), fallback);
}

std::string ReadModulePath() {
    std::string buffer(PATH_MAX, '\0');
    for (;;) {
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// Follows a symbolic link so that an atomic write replaces the link's target, not the link.
std::string WriteTarget(const std::string &path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char *resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

// A name for the temporary file beside target, unique within the process.
std::string TemporaryNameFor(const std::string &target) {
    static std::atomic<unsigned> counter{0};
    const std::string directory = DirectoryOf(target);
    std::string name = FileNameOf(target);
    constexpr std::size_t kMaxBase = 200;  // leaves room for the suffix within NAME_MAX
    if (name.size() > kMaxBase) {
        name.resize(kMaxBase);
    }
    const std::string temporary =
        "." + name + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(counter.fetch_add(1));
    return directory.empty() ? temporary : JoinPath(directory, temporary);
}

bool WriteAll(int fd, const std::string &bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

void SyncDirectoryOf(const std::string &path) {
    const std::string directory = DirectoryOf(path);
    const int fd = open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    fsync(fd);
    close(fd);
}

}  // namespace

std::string ModulePath() {
    static const std::string path = ReadModulePath();
    return path;
}

std::string DirectoryOf(const std::string &path) {
    const std::size_t last = path.rfind(kPathSeparator);
    if (last == std::string::npos) {
        return {};
    }
    if (last == 0) {
        return std::string(1, kPathSeparator);
    }
    return path.substr(0, last);
}

std::string FileNameOf(const std::string &path) {
    const std::size_t last = path.rfind(kPathSeparator);
    return last == std::string::npos ? path : path.substr(last + 1);
}

std::string SettingsFilePathFor(const std::string &modulePath) {
    const std::size_t nameStart = modulePath.size() - FileNameOf(modulePath).size();
    const std::size_t dot = modulePath.rfind('.');
    if (dot == std::string::npos || dot <= nameStart) {
        return modulePath + ".ini";
    }
    return modulePath.substr(0, dot) + ".ini";
}

std::string InstalledLibraryDirectory(const std::string &programDirectory) {
    const std::string directory = WithoutTrailingSeparators(programDirectory);
    if (FileNameOf(directory) != "bin") {
        return {};
    }
    const std::string library = JoinPath(DirectoryOf(directory), VORLIX_INSTALL_LIBDIR);
    return DirectoryExists(library) ? library : std::string();
}

std::string SettingsFileLocationFor(const std::string &modulePath) {
    const std::string beside = SettingsFilePathFor(modulePath);
    const std::string programDirectory = DirectoryOf(modulePath);
    const std::string checked = programDirectory.empty() ? std::string(".") : programDirectory;
    if (InstalledLibraryDirectory(checked).empty() && access(checked.c_str(), W_OK | X_OK) == 0) {
        return beside;
    }
    return JoinPath(JoinPath(RoamingAppDataDirectory(), "vorlix"), FileNameOf(beside));
}

std::string TempDirectory() {
    const char *value = std::getenv("TMPDIR");
    if (value != nullptr && value[0] != '\0') {
        return WithoutTrailingSeparators(value);
    }
    return "/tmp";
}

std::string LocalAppDataDirectory() {
    return XdgDirectory("XDG_DATA_HOME", ".local/share");
}

std::string RoamingAppDataDirectory() {
    return XdgDirectory("XDG_CONFIG_HOME", ".config");
}

std::string JoinPath(const std::string &dir, const std::string &name) {
    if (dir.empty()) {
        return name;
    }
    if (dir.back() == kPathSeparator) {
        return dir + name;
    }
    return dir + kPathSeparator + name;
}

bool FileExists(const std::string &path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool DirectoryExists(const std::string &path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool SetFileTimes(const std::string &path, std::int64_t modified, std::int64_t accessed) {
    timespec times[2] = {};
    times[0].tv_sec = static_cast<time_t>(accessed);
    times[1].tv_sec = static_cast<time_t>(modified);
    if (utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
        SetFileError("Cannot set the times of", path, errno);
        return false;
    }
    return true;
}

bool SetFileModifiedTime(const std::string &path, std::int64_t modified) {
    timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(modified);
    if (utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0) {
        SetFileError("Cannot set the times of", path, errno);
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string &path, const std::string &bytes, bool ownerOnly) {
    const std::string target = WriteTarget(path);
    struct stat existing {};
    const bool existed = stat(target.c_str(), &existing) == 0;
    if (existed && S_ISDIR(existing.st_mode)) {
        SetFileError("Cannot write", target, EISDIR);
        return false;
    }
    const std::string temporary = TemporaryNameFor(target);
    const mode_t createMode = (ownerOnly || existed) ? 0600 : 0666;
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, createMode);
    if (fd < 0) {
        SetFileError("Cannot create", temporary, errno);
        return false;
    }
    bool ok = WriteAll(fd, bytes);
    int error = ok ? 0 : errno;
    if (ok && existed && !ownerOnly && fchmod(fd, existing.st_mode & 07777) != 0) {
        ok = false;
        error = errno;
    }
    if (ok && fsync(fd) != 0) {
        ok = false;
        error = errno;
    }
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        SetFileError("Cannot write", target, error == 0 ? EIO : error);
        return false;
    }
    SyncDirectoryOf(target);
    return true;
}

bool ReadWholeFile(const std::string &path, std::string &bytes) {
    bytes.clear();
    // O_NONBLOCK: a FIFO at the path must not block the open waiting for a writer; it is refused below
    // (for a regular file the flag changes nothing).
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        SetFileError("Cannot open", path, errno);
        return false;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        close(fd);
        SetFileError("Cannot read", path, error == 0 ? EINVAL : error);
        return false;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            const int error = errno;
            close(fd);
            bytes.clear();
            SetFileError("Cannot read", path, error);
            return false;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return true;
}

const std::string &LastFileError() {
    return t_lastFileError;
}

}  // namespace platform
