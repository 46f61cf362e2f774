// Reading the registry store's INI text and clearing one value in place.
#include "RegistryStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace standin::spool {

namespace {

constexpr char kHive[] = "HKEY_CURRENT_USER";

bool Same(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y) {
            return false;
        }
    }
    return true;
}

int Hex(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

std::string Unescape(const std::string &text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && Hex(text[i + 1]) >= 0 && Hex(text[i + 2]) >= 0) {
            out += static_cast<char>(Hex(text[i + 1]) * 16 + Hex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Trim(const std::string &text) {
    std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) {
        return std::string();
    }
    std::size_t e = text.find_last_not_of(" \t");
    std::string t = text.substr(b, e - b + 1);
    if (t.size() >= 2 && (t.front() == '"' || t.front() == '\'') && t.back() == t.front()) {
        t = t.substr(1, t.size() - 2);
    }
    return t;
}

// "HKEY_CURRENT_USER\a\b" from a key path, empty levels dropped.
std::string FullPath(const std::string &key) {
    std::string path = kHive;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = std::min(key.find('\\', start), key.size());
        if (end > start) {
            path += '\\' + key.substr(start, end - start);
        }
        start = end + 1;
    }
    return path;
}

std::string Normalise(const std::string &section) {
    std::string path;
    std::size_t start = 0;
    while (start <= section.size()) {
        std::size_t end = std::min(section.find('\\', start), section.size());
        if (end > start) {
            path += (path.empty() ? "" : "\\") + section.substr(start, end - start);
        }
        start = end + 1;
    }
    return path;
}

bool ReadFile(const std::string &path, std::string &bytes, bool &missing) {
    std::ifstream in(path, std::ios::binary);
    missing = false;
    if (!in) {
        missing = errno == ENOENT;
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    bytes = s.str();
    return !in.bad();
}

}  // namespace

std::string RegistryStore::DefaultPath() {
    const char *named = std::getenv("VORLIX_REGISTRY");
    if (named != nullptr && named[0] != '\0') {
        return named;
    }
    const char *config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char *home = std::getenv("HOME");
        base = std::string(home != nullptr ? home : "") + "/.config";
    }
    return base + "/vorlix/registry.ini";
}

bool RegistryStore::Load(const std::string &path) {
    m_entries.clear();
    std::string bytes;
    bool missing = false;
    if (!ReadFile(path, bytes, missing)) {
        return missing;
    }
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) {
        bytes.erase(0, 3);
    }
    Entry *current = nullptr;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", at);
        std::string line = bytes.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? bytes.size() : end + 1;
        std::string t = Trim(line);
        if (!t.empty() && t.front() == '[') {
            std::size_t close = t.find(']');
            std::string name =
                Normalise(Unescape(Trim(t.substr(1, close == std::string::npos ? t.npos : close - 1))));
            current = nullptr;
            for (Entry &e : m_entries) {
                if (Same(e.section, name)) {
                    current = &e;
                }
            }
            if (current == nullptr) {
                m_entries.push_back(Entry{name, {}});
                current = &m_entries.back();
            }
            continue;
        }
        std::size_t eq = line.find('=');
        if (current == nullptr || t.empty() || t.front() == ';' || eq == std::string::npos) {
            continue;
        }
        current->values.emplace_back(Unescape(Trim(line.substr(0, eq))), Trim(line.substr(eq + 1)));
    }
    return true;
}

const RegistryStore::Entry *RegistryStore::Find(const std::string &key) const {
    std::string wanted = FullPath(key);
    for (const Entry &e : m_entries) {
        if (Same(e.section, wanted)) {
            return &e;
        }
    }
    return nullptr;
}

std::optional<std::string> RegistryStore::String(const std::string &key, const std::string &name) const {
    if (const Entry *e = Find(key)) {
        for (const auto &[n, raw] : e->values) {
            if (Same(n, name)) {
                if (raw.rfind("sz:", 0) != 0) {
                    return std::nullopt;
                }
                return Unescape(raw.substr(3));
            }
        }
    }
    return std::nullopt;
}

std::optional<std::uint32_t> RegistryStore::Dword(const std::string &key, const std::string &name) const {
    if (const Entry *e = Find(key)) {
        for (const auto &[n, raw] : e->values) {
            if (!Same(n, name)) {
                continue;
            }
            if (raw.rfind("dword:", 0) != 0 || raw.size() == 6 || raw.size() > 14) {
                return std::nullopt;
            }
            std::uint32_t v = 0;
            for (std::size_t i = 6; i < raw.size(); ++i) {
                if (Hex(raw[i]) < 0) {
                    return std::nullopt;
                }
                v = v * 16 + static_cast<std::uint32_t>(Hex(raw[i]));
            }
            return v;
        }
    }
    return std::nullopt;
}

std::vector<std::string> RegistryStore::SubKeys(const std::string &key) const {
    std::string parent = FullPath(key) + "\\";
    std::vector<std::string> names;
    for (const Entry &e : m_entries) {
        if (e.section.size() <= parent.size() || !Same(e.section.substr(0, parent.size()), parent)) {
            continue;
        }
        std::string below = e.section.substr(parent.size());
        below = below.substr(0, below.find('\\'));
        bool seen = false;
        for (const std::string &n : names) {
            seen = seen || Same(n, below);
        }
        if (!seen) {
            names.push_back(below);
        }
    }
    return names;
}

bool RegistryStore::KeyExists(const std::string &key) const {
    std::string full = FullPath(key);
    for (const Entry &e : m_entries) {
        if (Same(e.section, full) ||
            (e.section.size() > full.size() && Same(e.section.substr(0, full.size() + 1), full + "\\"))) {
            return true;
        }
    }
    return false;
}

bool RegistryStore::ClearStringIf(const std::string &path, const std::string &key, const std::string &name,
                                  const std::string &expected, std::string &error) {
    std::string bytes;
    bool missing = false;
    if (!ReadFile(path, bytes, missing)) {
        error = "cannot read " + path;
        return false;
    }
    std::string wanted = FullPath(key);
    bool inSection = false;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", at);
        std::size_t lineEnd = end == std::string::npos ? bytes.size() : end;
        std::string line = bytes.substr(at, lineEnd - at);
        std::string t = Trim(line);
        if (!t.empty() && t.front() == '[') {
            std::size_t close = t.find(']');
            inSection =
                Same(Normalise(Unescape(Trim(t.substr(1, close == t.npos ? t.npos : close - 1)))), wanted);
        } else if (inSection && line.find('=') != std::string::npos &&
                   Same(Unescape(Trim(line.substr(0, line.find('=')))), name)) {
            std::string raw = Trim(line.substr(line.find('=') + 1));
            if (raw.rfind("sz:", 0) != 0 || Unescape(raw.substr(3)) != expected) {
                return true;  // another job's path, or already cleared
            }
            std::size_t valueAt = at + line.find('=') + 1;
            bytes.replace(valueAt, lineEnd - valueAt, "sz:");
            std::string temp = path + ".printerXXXXXX";
            int fd = mkstemp(temp.data());
            if (fd < 0) {
                error = "cannot create a temporary file beside " + path + ": " + std::strerror(errno);
                return false;
            }
            struct stat st {};
            if (stat(path.c_str(), &st) == 0) {
                (void)fchmod(fd, st.st_mode & 07777);
            }
            std::size_t done = 0;
            while (done < bytes.size()) {
                ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
                if (n < 0 && errno == EINTR) {
                    continue;
                }
                if (n <= 0) {
                    break;
                }
                done += static_cast<std::size_t>(n);
            }
            bool ok = done == bytes.size() && fsync(fd) == 0;
            ok = close(fd) == 0 && ok;
            if (!ok || rename(temp.c_str(), path.c_str()) != 0) {
                error = "cannot write " + path + ": " + std::strerror(errno);
                unlink(temp.c_str());
                return false;
            }
            return true;
        }
        at = end == std::string::npos ? bytes.size() : end + 1;
    }
    return true;  // no such value: nothing to clear
}

}  // namespace standin::spool
