// Safe output files: no-follow opening, a regular-file check, an advisory lock, checked writes and the
// rename of a partial file over its final name.
#include "OutputFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace platform {

namespace {

constexpr std::size_t kBufferLimit = 64 * 1024;
constexpr int kOpenAttempts = 3;

std::string SystemErrorText(int error) {
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which may or may not be the buffer.
    return strerror_r(error, buffer, sizeof buffer);
}

bool WriteAll(int fd, const char *data, std::size_t size, int &error) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Absent, or a regular file that is not a symbolic link.
bool AbsentOrRegular(const std::string &path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode);
}

}  // namespace

OutputFile::~OutputFile() {
    Abandon();
}

bool OutputFile::Fail(OutputFailure failure, int error) {
    m_failure = failure;
    m_errorText = failure == OutputFailure::kNotRegular ? "not a regular file"
                  : failure == OutputFailure::kInUse    ? "in use by another export run"
                                                        : SystemErrorText(error);
    return false;
}

bool OutputFile::Open(const std::string &path, OutputMode mode) {
    Abandon();
    m_failure = OutputFailure::kNone;
    m_errorText.clear();
    m_path = path;
    m_mode = mode;
    if (path.empty()) {
        return Fail(OutputFailure::kOpen, ENOENT);
    }
    const std::string target = mode == OutputMode::kReplace ? PartialPath(path) : path;
    if (!AbsentOrRegular(path) || !AbsentOrRegular(target)) {
        return Fail(OutputFailure::kNotRegular, 0);
    }
    const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC |
                      (mode == OutputMode::kAppend ? O_APPEND : 0);
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        const int fd = ::open(target.c_str(), flags, 0666);
        if (fd < 0) {
            // ELOOP: a link planted between the check and the open; ENXIO: a FIFO without a reader.
            const int error = errno;
            return Fail(error == ELOOP || error == ENXIO ? OutputFailure::kNotRegular : OutputFailure::kOpen,
                        error);
        }
        struct stat opened {};
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
            ::close(fd);
            return Fail(OutputFailure::kNotRegular, 0);
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            return Fail(error == EWOULDBLOCK ? OutputFailure::kInUse : OutputFailure::kOpen, error);
        }
        // A run that committed between our open and our lock renamed the file we hold away: start over
        // on whatever the name holds now.
        struct stat named {};
        if (::lstat(target.c_str(), &named) != 0 || named.st_ino != opened.st_ino ||
            named.st_dev != opened.st_dev) {
            ::close(fd);
            continue;
        }
        if (mode != OutputMode::kAppend && ::ftruncate(fd, 0) != 0) {
            const int error = errno;
            ::close(fd);
            return Fail(OutputFailure::kOpen, error);
        }
        m_fd = fd;
        return true;
    }
    return Fail(OutputFailure::kInUse, 0);
}

bool OutputFile::FlushBuffer() {
    int error = 0;
    if (!m_buffer.empty() && !WriteAll(m_fd, m_buffer.data(), m_buffer.size(), error)) {
        m_buffer.clear();
        return Fail(OutputFailure::kWrite, error);
    }
    m_buffer.clear();
    return true;
}

bool OutputFile::Write(std::string_view bytes) {
    if (m_fd < 0 || m_failure != OutputFailure::kNone) {
        return m_failure != OutputFailure::kNone ? false : Fail(OutputFailure::kWrite, EBADF);
    }
    if (m_mode != OutputMode::kReplace) {
        int error = 0;
        return WriteAll(m_fd, bytes.data(), bytes.size(), error) || Fail(OutputFailure::kWrite, error);
    }
    m_buffer.append(bytes);
    return m_buffer.size() < kBufferLimit || FlushBuffer();
}

bool OutputFile::Commit() {
    if (m_fd < 0) {
        return m_failure == OutputFailure::kNone;
    }
    if (m_failure != OutputFailure::kNone || !FlushBuffer()) {
        Abandon();
        return false;
    }
    bool ok = true;
    if (m_mode == OutputMode::kReplace) {
        const std::string partial = PartialPath(m_path);
        // Synced before the rename, so the final name never holds less than what was written.
        if (::fsync(m_fd) != 0) {
            ok = Fail(OutputFailure::kWrite, errno);
        } else if (std::rename(partial.c_str(), m_path.c_str()) != 0) {
            ok = Fail(OutputFailure::kWrite, errno);
        }
    }
    // Closing releases the lock, after the rename so that no other run can take the partial file first.
    if (::close(m_fd) != 0 && ok) {
        ok = Fail(OutputFailure::kWrite, errno);
    }
    m_fd = -1;
    return ok;
}

void OutputFile::Abandon() {
    m_buffer.clear();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

bool SameFile(const std::string &a, const std::string &b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) {
        return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    }
    std::error_code ignored;
    const auto resolve = [&ignored](const std::string &path) {
        return std::filesystem::weakly_canonical(std::filesystem::absolute(path, ignored), ignored);
    };
    return resolve(a) == resolve(b);
}

}  // namespace platform
