// Numbering the names of files a run would otherwise write twice.
#include "OutputNameRegistry.h"

#include "platform/AsciiText.h"

namespace exporter {

std::string NumberedFileName(const std::string &path, int n) {
    const std::size_t nameStart =
        path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1;
    const std::size_t dot = path.find('.', nameStart);
    const std::string number = std::to_string(n);
    if (dot == std::string::npos) {
        return path + number;
    }
    return path.substr(0, dot) + number + path.substr(dot);
}

std::string OutputNameRegistry::Claim(const std::string &path) {
    m_renamed = false;
    if (m_taken.insert(platform::AsciiLower(path)).second) {
        return path;
    }
    m_renamed = true;
    for (int n = 2;; ++n) {
        std::string candidate = NumberedFileName(path, n);
        if (m_taken.insert(platform::AsciiLower(candidate)).second) {
            return candidate;
        }
    }
}

void OutputNameRegistry::Record(const std::string &path) {
    m_taken.insert(platform::AsciiLower(path));
}

}  // namespace exporter
