// The file-backed registry store: keys as INI sections, typed values as escaped lines.
#include "Registry.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "AsciiText.h"
#include "IniDocument.h"
#include "Paths.h"

namespace platform {

namespace {

constexpr char kStringPrefix[] = "sz:";
constexpr char kDwordPrefix[] = "dword:";
constexpr char kDefaultValueName[] = "@";
constexpr char kNameSpecials[] = "=[];@";

thread_local std::string t_lastError;

std::mutex &StoreMutex() {
    static std::mutex mutex;
    return mutex;
}

bool IsBlankOrQuote(char c) {
    return c == ' ' || c == '\t' || c == '"' || c == '\'';
}

std::string Escape(const std::string &text, const char *specials) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool atEnd = i == 0 || i + 1 == text.size();
        const bool special =
            specials != nullptr && byte != 0 && std::string(specials).find(text[i]) != std::string::npos;
        if (byte == '%' || byte < 0x20 || byte == 0x7F || special || (atEnd && IsBlankOrQuote(text[i]))) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Unescape(const std::string &text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 &&
            HexDigit(text[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

const char *HiveName(RegistryHive hive) {
    return hive == RegistryHive::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
}

std::vector<std::string> KeyLevels(const std::string &key) {
    std::vector<std::string> levels;
    std::size_t start = 0;
    while (start <= key.size()) {
        const std::size_t end = std::min(key.find('\\', start), key.size());
        if (end > start) {
            levels.push_back(key.substr(start, end - start));
        }
        start = end + 1;
    }
    return levels;
}

// The hive and key as one path of levels: "HKEY_CURRENT_USER\Software\Vendor".
std::string FullKeyPath(RegistryHive hive, const std::string &key) {
    std::string path = HiveName(hive);
    for (const std::string &level : KeyLevels(key)) {
        path += '\\' + level;
    }
    return path;
}

std::string SectionFor(RegistryHive hive, const std::string &key) {
    return Escape(FullKeyPath(hive, key), "[]");
}

std::string ValueNameFor(const std::string &name) {
    return name.empty() ? std::string(kDefaultValueName) : Escape(name, kNameSpecials);
}

bool IsDefaultStorePath() {
    const char *named = std::getenv("VORLIX_REGISTRY");
    return named == nullptr || named[0] == '\0';
}

// The store as it is on disk; a missing file is an empty store.
bool Load(IniDocument &document) {
    std::string bytes;
    const std::string path = Registry::StorePath();
    if (!ReadWholeFile(path, bytes) && FileExists(path)) {
        t_lastError = LastFileError();
        return false;
    }
    document = IniDocument(std::move(bytes));
    return true;
}

bool Save(const IniDocument &document) {
    const std::string path = Registry::StorePath();
    if (IsDefaultStorePath()) {
        std::error_code error;
        std::filesystem::create_directories(DirectoryOf(path), error);
    }
    if (!WriteFileAtomically(path, document.Bytes())) {
        t_lastError = LastFileError();
        return false;
    }
    return true;
}

std::optional<std::string> RawValue(RegistryHive hive, const std::string &key, const std::string &name) {
    const std::lock_guard<std::mutex> lock(StoreMutex());
    IniDocument document;
    if (!Load(document)) {
        return std::nullopt;
    }
    return document.Value(SectionFor(hive, key), ValueNameFor(name));
}

bool SetRawValue(RegistryHive hive, const std::string &key, const std::string &name, const std::string &raw) {
    const std::lock_guard<std::mutex> lock(StoreMutex());
    IniDocument document;
    if (!Load(document)) {
        return false;
    }
    if (!document.SetValue(SectionFor(hive, key), ValueNameFor(name), raw)) {
        t_lastError = document.LastError();
        return false;
    }
    return Save(document);
}

// The levels of a section's key path when it lies strictly below parent (same hive), else empty.
std::vector<std::string> LevelsBelow(const std::string &section, const std::vector<std::string> &parent) {
    const std::vector<std::string> levels = KeyLevels(Unescape(section));
    if (levels.size() <= parent.size()) {
        return {};
    }
    for (std::size_t i = 0; i < parent.size(); ++i) {
        if (!IniDocument::SameName(levels[i], parent[i])) {
            return {};
        }
    }
    return {levels.begin() + static_cast<std::ptrdiff_t>(parent.size()), levels.end()};
}

bool CaseLess(const std::string &a, const std::string &b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(x) < lower(y);
    });
}

}  // namespace

std::string Registry::StorePath() {
    const char *named = std::getenv("VORLIX_REGISTRY");
    if (named != nullptr && named[0] != '\0') {
        return named;
    }
    return JoinPath(JoinPath(RoamingAppDataDirectory(), "vorlix"), "registry.ini");
}

bool Registry::CreateKey(RegistryHive hive, const std::string &key) {
    const std::lock_guard<std::mutex> lock(StoreMutex());
    IniDocument document;
    if (!Load(document)) {
        return false;
    }
    const std::vector<std::string> levels = KeyLevels(FullKeyPath(hive, key));
    const std::vector<std::string> parent(levels.begin(), levels.end() - 1);
    for (const std::string &section : document.SectionNames()) {
        const std::vector<std::string> below = LevelsBelow(section, parent);
        if (!below.empty() && IniDocument::SameName(below.front(), levels.back())) {
            return true;  // the key, or a key below it, is there already
        }
    }
    if (levels.size() == 1) {
        return true;  // a hive always exists
    }
    if (!document.AddSection(SectionFor(hive, key))) {
        t_lastError = document.LastError();
        return false;
    }
    return Save(document);
}

bool Registry::KeyExists(RegistryHive hive, const std::string &key) {
    const std::vector<std::string> levels = KeyLevels(FullKeyPath(hive, key));
    if (levels.size() == 1) {
        return true;
    }
    const std::lock_guard<std::mutex> lock(StoreMutex());
    IniDocument document;
    if (!Load(document)) {
        return false;
    }
    const std::vector<std::string> parent(levels.begin(), levels.end() - 1);
    for (const std::string &section : document.SectionNames()) {
        const std::vector<std::string> below = LevelsBelow(section, parent);
        if (!below.empty() && IniDocument::SameName(below.front(), levels.back())) {
            return true;
        }
    }
    return false;
}

bool Registry::SetString(RegistryHive hive, const std::string &key, const std::string &name,
                         const std::string &value) {
    return SetRawValue(hive, key, name, kStringPrefix + Escape(value, nullptr));
}

bool Registry::SetDword(RegistryHive hive, const std::string &key, const std::string &name,
                        std::uint32_t value) {
    char digits[9] = {};
    static const char kHex[] = "0123456789ABCDEF";
    for (int i = 7; i >= 0; --i) {
        digits[i] = kHex[value & 0x0F];
        value >>= 4;
    }
    return SetRawValue(hive, key, name, std::string(kDwordPrefix) + digits);
}

std::optional<std::string> Registry::GetString(RegistryHive hive, const std::string &key,
                                               const std::string &name) {
    const auto raw = RawValue(hive, key, name);
    if (!raw || raw->rfind(kStringPrefix, 0) != 0) {
        return std::nullopt;
    }
    return Unescape(raw->substr(sizeof kStringPrefix - 1));
}

std::optional<std::uint32_t> Registry::GetDword(RegistryHive hive, const std::string &key,
                                                const std::string &name) {
    const auto raw = RawValue(hive, key, name);
    if (!raw || raw->rfind(kDwordPrefix, 0) != 0) {
        return std::nullopt;
    }
    const std::string digits = raw->substr(sizeof kDwordPrefix - 1);
    if (digits.empty() || digits.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : digits) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::vector<std::string> Registry::SubKeyNames(RegistryHive hive, const std::string &key) {
    std::vector<std::string> names;
    const std::lock_guard<std::mutex> lock(StoreMutex());
    IniDocument document;
    if (!Load(document)) {
        return names;
    }
    const std::vector<std::string> parent = KeyLevels(FullKeyPath(hive, key));
    for (const std::string &section : document.SectionNames()) {
        const std::vector<std::string> below = LevelsBelow(section, parent);
        if (below.empty()) {
            continue;
        }
        const bool seen = std::any_of(names.begin(), names.end(), [&](const std::string &name) {
            return IniDocument::SameName(name, below.front());
        });
        if (!seen) {
            names.push_back(below.front());
        }
    }
    std::sort(names.begin(), names.end(), CaseLess);
    return names;
}

const std::string &Registry::LastError() {
    return t_lastError;
}

}  // namespace platform
