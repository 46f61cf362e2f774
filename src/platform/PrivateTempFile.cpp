// Process-private temporary files through mkstemps.
#include "PrivateTempFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "Paths.h"

namespace platform {

PrivateTempFile::~PrivateTempFile() {
    if (!m_path.empty()) {
        unlink(m_path.c_str());
    }
}

bool PrivateTempFile::Create(const std::string &prefix, const std::string &suffix) {
    if (!m_path.empty()) {
        return true;
    }
    const std::string pattern = JoinPath(TempDirectory(), prefix + "XXXXXX" + suffix);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (fd < 0) {
        m_errorText = "Cannot create a temporary file in '" + TempDirectory() + "': " + std::strerror(errno);
        return false;
    }
    close(fd);
    m_path = name.data();
    return true;
}

bool PrivateTempFile::Empty() {
    if (m_path.empty()) {
        return true;
    }
    const int fd = open(m_path.c_str(), O_WRONLY | O_TRUNC | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        m_errorText = "Cannot empty '" + m_path + "': " + std::strerror(errno);
        return false;
    }
    close(fd);
    return true;
}

}  // namespace platform
