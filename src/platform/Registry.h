// The registry on Linux: a file-backed store with the Windows model (hives, keys, REG_SZ and REG_DWORD
// values) in $XDG_CONFIG_HOME/vorlix/registry.ini, or the file that VORLIX_REGISTRY names.
//
// The store is an INI file (read and written through IniDocument, replaced atomically on every
// change). Each key is a section named by its hive and path, "[HKEY_CURRENT_USER\Software\Vendor]";
// each value is a line "name=sz:text" (REG_SZ) or "name=dword:0000002A" (REG_DWORD, eight hexadecimal
// digits); the unnamed (default) value is "@". In section names, value names and texts a byte is
// written as "%XX" (two upper-case hexadecimal digits) when it is "%", a control character, a blank or
// quote at either end, or, in names, one of "=[];@"; everything else is written as it is (UTF-8).
// Key paths use "\" between levels; empty levels are ignored. Keys and value names match without
// regard to ASCII case. A key exists when its section or that of any key below it does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class RegistryHive { CurrentUser, LocalMachine };

class Registry {
public:
    // The store's file: VORLIX_REGISTRY, else $XDG_CONFIG_HOME/vorlix/registry.ini (whose directory is
    // created on the first write; a file named by VORLIX_REGISTRY needs an existing directory).
    static std::string StorePath();

    // Creates the key when missing; false when the store cannot be written.
    [[nodiscard]] static bool CreateKey(RegistryHive hive, const std::string &key);
    static bool KeyExists(RegistryHive hive, const std::string &key);
    // Writes a value, creating its key when missing; false when the store cannot be written.
    [[nodiscard]] static bool SetString(RegistryHive hive, const std::string &key, const std::string &name,
                                        const std::string &value);
    [[nodiscard]] static bool SetDword(RegistryHive hive, const std::string &key, const std::string &name,
                                       std::uint32_t value);
    // A value of the given type; nullopt when the key or value is missing or has the other type.
    static std::optional<std::string> GetString(RegistryHive hive, const std::string &key,
                                                const std::string &name);
    static std::optional<std::uint32_t> GetDword(RegistryHive hive, const std::string &key,
                                                 const std::string &name);
    // The names of the keys directly below key, sorted without regard to case.
    static std::vector<std::string> SubKeyNames(RegistryHive hive, const std::string &key);

    // Why the last failed write on this thread failed.
    static const std::string &LastError();
};

}  // namespace platform
