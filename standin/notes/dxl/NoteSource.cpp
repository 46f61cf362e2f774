// Reading note fragments by byte range.
#include "NoteSource.h"

#include <unistd.h>

#include <cerrno>

namespace standin::dxl {

bool MemorySource::Read(std::uint64_t offset, std::size_t length, std::string &out) const {
    if (offset > m_bytes.size() || length > m_bytes.size() - offset) {
        return false;
    }
    out.assign(m_bytes, static_cast<std::size_t>(offset), length);
    return true;
}

FileSource::~FileSource() {
    ::close(m_fd);
}

bool FileSource::Read(std::uint64_t offset, std::size_t length, std::string &out) const {
    out.resize(length);
    std::size_t done = 0;
    while (done < length) {
        ssize_t n = ::pread(m_fd, out.data() + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            out.clear();
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace standin::dxl
