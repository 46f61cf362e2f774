// Network paths and the server map.
#include "DbPaths.h"

#include <cstring>

#include "../Config.h"
#include "dxl/Bytes.h"

namespace standin {

NetPath ParseNetPath(const std::string &path) {
    NetPath out;
    std::size_t first = path.find("!!");
    if (first == std::string::npos) {
        out.file = path;
        return out;
    }
    std::size_t second = path.find("!!", first + 2);
    if (second == std::string::npos) {
        out.server = path.substr(0, first);
        out.file = path.substr(first + 2);
        return out;
    }
    out.port = path.substr(0, first);
    out.server = path.substr(first + 2, second - first - 2);
    out.file = path.substr(second + 2);
    return out;
}

namespace {

// "CN=A/OU=B/O=C" and "A/B/C" give "a/b/c".
std::string Abbreviated(const std::string &name) {
    std::string out;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t slash = name.find('/', start);
        std::string part = name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        std::size_t eq = part.find('=');
        if (eq != std::string::npos && eq <= 2) {
            part = part.substr(eq + 1);
        }
        if (!out.empty()) {
            out += "/";
        }
        out += dxl::ToLowerAscii(part);
        if (slash == std::string::npos) {
            break;
        }
        start = slash + 1;
    }
    return out;
}

}  // namespace

bool SameNotesName(const std::string &a, const std::string &b) {
    return Abbreviated(a) == Abbreviated(b);
}

bool ServerDirectory(const std::string &server, std::string &directory) {
    if (server.empty()) {
        directory = Config().dataDirectory;
        return true;
    }
    for (int i = 1; i <= 64; ++i) {
        std::string value = IniValue("StandinServer" + std::to_string(i));
        std::size_t bar = value.rfind('|');
        if (bar == std::string::npos) {
            continue;
        }
        if (SameNotesName(value.substr(0, bar), server)) {
            directory = value.substr(bar + 1);
            return true;
        }
    }
    return false;
}

std::string JoinPath(const std::string &root, const std::string &file) {
    std::string f = file;
    for (char &c : f) {
        if (c == '\\') {
            c = '/';
        }
    }
    if (!f.empty() && f[0] == '/') {
        return f;
    }
    if (f.empty()) {
        return root;
    }
    if (root.empty() || root.back() == '/') {
        return root + f;
    }
    return root + "/" + f;
}

}  // namespace standin
