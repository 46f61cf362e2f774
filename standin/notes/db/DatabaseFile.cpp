// Loading, sharing and writing back DXL database files.
#include "DatabaseFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>

#include "../Runtime.h"
#include "DbStatus.h"
#include "dxl/DxlReader.h"
#include "dxl/DxlWriter.h"

namespace standin {

namespace {

std::map<std::string, std::weak_ptr<DatabaseFile>> &OpenFiles() {
    static std::map<std::string, std::weak_ptr<DatabaseFile>> files;
    return files;
}

bool Stamp(const std::string &path, long long &time, long long &size) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        return false;
    }
    time = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
    size = static_cast<long long>(st.st_size);
    return true;
}

// A save writes "<path>.tmp<pid>" and renames it over path; a process killed in between leaves it.
// Such files of processes that no longer run are removed (a live process may be saving right now).
void RemoveStaleTemporaries(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp";
    DIR *dir = opendir(directory.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent *entry = readdir(dir)) {
        const std::string name = entry->d_name;
        const std::string digits = name.substr(std::min(prefix.size(), name.size()));
        if (name.compare(0, prefix.size(), prefix) != 0 || digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        const pid_t pid = static_cast<pid_t>(std::stol(digits));
        if (pid > 0 && kill(pid, 0) != 0 && errno == ESRCH) {
            unlink((directory + "/" + name).c_str());
        }
    }
    closedir(dir);
}

}  // namespace

std::shared_ptr<DatabaseFile> DatabaseFile::Acquire(const std::string &path, STATUS &status) {
    status = 0;
    auto it = OpenFiles().find(path);
    if (it != OpenFiles().end()) {
        if (std::shared_ptr<DatabaseFile> open = it->second.lock()) {
            ++open->handles;
            return open;
        }
    }
    RemoveStaleTemporaries(path);
    auto file = std::make_shared<DatabaseFile>();
    file->path = path;
    if (!Stamp(path, file->m_stampTime, file->m_stampSize)) {
        status = FailWith(kStsDbNotFound, "File does not exist: " + path);
        return nullptr;
    }
    // The file is indexed from a read-only mapping, released behind the scan so that indexing a file
    // larger than memory does not keep it resident; notes are read back by range when opened.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        status = FailWith(kStsDbNotFound, "File cannot be read: " + path);
        return nullptr;
    }
    auto source = std::make_shared<dxl::FileSource>(fd);
    std::size_t size = static_cast<std::size_t>(file->m_stampSize);
    void *mapped = size == 0 ? nullptr : ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (mapped == MAP_FAILED) {
        status = FailWith(kStsDbNotFound, "File cannot be read: " + path);
        return nullptr;
    }
    ::madvise(mapped, size, MADV_SEQUENTIAL);
    std::string_view content(static_cast<const char *>(mapped), size);
    dxl::DxlReader reader;
    constexpr std::size_t kReleaseStep = std::size_t{8} << 20;
    std::size_t released = 0;
    reader.SetProgress([&](std::size_t reached) {
        std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        std::size_t upTo = reached / page * page;
        if (upTo >= released + kReleaseStep) {
            ::madvise(mapped, upTo, MADV_DONTNEED);
            released = upTo;
        }
    });
    bool read = reader.Index(content, path, source, file->db);
    if (mapped != nullptr) {
        ::munmap(mapped, size);
    }
    if (!read) {
        status = FailWith(kStsDxlInvalid, "Invalid DXL database " + reader.LastError());
        return nullptr;
    }
    for (const std::string &line : reader.Diagnostics()) {
        Diagnostic(line);
    }
    file->handles = 1;
    OpenFiles()[path] = file;
    return file;
}

STATUS DatabaseFile::Release(const std::shared_ptr<DatabaseFile> &file) {
    if (!file || --file->handles > 0) {
        return 0;
    }
    OpenFiles().erase(file->path);
    if (!file->modified) {
        return 0;
    }
    return file->Save();
}

STATUS DatabaseFile::Save() {
    long long time = 0;
    long long size = 0;
    if (!Stamp(path, time, size) || time != m_stampTime || size != m_stampSize) {
        return FailWith(kStsDbChangedOnDisk, "The database file " + path +
                                                 " was changed by another program while it was open; changes "
                                                 "were not saved");
    }
    std::string temp = path + ".tmp" + std::to_string(getpid());
    FILE *out = std::fopen(temp.c_str(), "wb");
    if (out == nullptr) {
        return FailWith(kStsDbWriteFailed, "Unable to write the database file " + path);
    }
    // Unchanged notes are copied from the original file; the rest written from memory, note by note.
    std::string problem;
    bool ok = dxl::DxlWriter::Write(
        db,
        [out](std::string_view piece) {
            return std::fwrite(piece.data(), 1, piece.size(), out) == piece.size();
        },
        problem);
    ok = std::fflush(out) == 0 && ok;
    ok = fsync(fileno(out)) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return FailWith(kStsDbWriteFailed, "Unable to write the database file " + path +
                                               (problem.empty() ? std::string() : ": " + problem));
    }
    modified = false;
    return 0;
}

}  // namespace standin
