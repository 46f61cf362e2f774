// The program's file-backed registry store as the client and the printer read and change it: the
// same file (VORLIX_REGISTRY, else $XDG_CONFIG_HOME/vorlix/registry.ini) and format, sections named by
// hive and key path, values "name=sz:text" or "name=dword:XXXXXXXX" with "%XX" escapes, names matched
// without regard to ASCII case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin::spool {

class RegistryStore {
public:
    // The store's file for this process.
    static std::string DefaultPath();

    // Reads the file (a missing file is an empty store). False when it exists but cannot be read.
    [[nodiscard]] bool Load(const std::string &path);

    // Values of HKEY_CURRENT_USER keys ("Software\Vendor"); nullopt when absent or of the other type.
    std::optional<std::string> String(const std::string &key, const std::string &name) const;
    std::optional<std::uint32_t> Dword(const std::string &key, const std::string &name) const;
    // Names of the keys directly below an HKEY_CURRENT_USER key, in file order.
    std::vector<std::string> SubKeys(const std::string &key) const;
    bool KeyExists(const std::string &key) const;

    // Sets the string value to the empty text when it still holds expected, rewriting the file
    // atomically (temporary file in the same directory, then rename). True when the value was cleared
    // or no longer holds expected; false with error set when the file cannot be read or written.
    [[nodiscard]] static bool ClearStringIf(const std::string &path, const std::string &key,
                                            const std::string &name, const std::string &expected,
                                            std::string &error);

private:
    struct Entry {
        std::string section;                                      // unescaped, levels joined by "\"
        std::vector<std::pair<std::string, std::string>> values;  // unescaped name, raw value
    };
    const Entry *Find(const std::string &key) const;
    std::vector<Entry> m_entries;
};

}  // namespace standin::spool
