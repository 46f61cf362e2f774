// Replacing reserved characters in names and making directory levels from backslashes.
#include "SanitizeFileName.h"

#include "platform/AsciiText.h"
#include "platform/Paths.h"

namespace exporter {

namespace {

// "." and ".." would name the current or the parent directory.
std::string NeutraliseDotName(std::string name) {
    if (name == "." || name == "..") {
        return std::string(name.size(), '~');
    }
    return name;
}

}  // namespace

std::string SanitizeFileName(const std::string &text, std::string_view reserved) {
    std::string result = text;
    for (char &c : result) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || reserved.find(c) != std::string_view::npos) {
            c = '~';
        }
    }
    return NeutraliseDotName(platform::TrimBlanks(result));
}

std::string RelativeDirectoryPath(const std::string &value) {
    std::string path;
    std::size_t start = 0;
    while (start <= value.size()) {
        auto end = value.find('\\', start);
        if (end == std::string::npos) {
            end = value.size();
        }
        const std::string level = SanitizeFileName(value.substr(start, end - start));
        if (!level.empty()) {
            if (!path.empty()) {
                path += platform::kPathSeparator;
            }
            path += level;
        }
        start = end + 1;
    }
    return path;
}

}  // namespace exporter
