// Creating a directory level by level below its deepest existing ancestor.
#include "CreateDirectoryPath.h"

#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "platform/AsciiText.h"
#include "platform/Paths.h"

namespace exporter {

namespace {

bool IsDirectory(const std::string &path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string &path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

}  // namespace

std::string CreateDirectoryPath(const std::string &path) {
    std::string target = path;
    if (target.size() > 1 && target.back() == platform::kPathSeparator) {
        target.pop_back();
    }
    if (target.empty()) {
        return {};
    }
    if (IsDirectory(target)) {
        return target;
    }

    // Walk up to the deepest ancestor that exists, remembering the missing levels.
    std::vector<std::string> missing;
    std::string ancestor = target;
    while (!ancestor.empty() && !Exists(ancestor)) {
        const auto slash = ancestor.find_last_of(platform::kPathSeparator);
        if (slash == std::string::npos) {
            missing.push_back(ancestor);
            ancestor.clear();
            break;
        }
        missing.push_back(ancestor.substr(slash + 1));
        ancestor.erase(slash);
        if (ancestor.empty() && slash == 0) {
            ancestor = "/";
        }
    }
    if (!ancestor.empty() && !IsDirectory(ancestor)) {
        return {};
    }

    std::string created = ancestor;
    for (auto level = missing.rbegin(); level != missing.rend(); ++level) {
        const std::string name = platform::TrimBlanks(*level);
        if (name.empty()) {
            continue;
        }
        if (!created.empty() && created.back() != platform::kPathSeparator) {
            created += platform::kPathSeparator;
        }
        created += name;
        if (::mkdir(created.c_str(), 0777) != 0 && !(errno == EEXIST && IsDirectory(created))) {
            return {};
        }
    }
    return created;
}

}  // namespace exporter
