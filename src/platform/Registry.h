// The registry on Linux: a file-backed store with the Windows model (hives, keys, REG_SZ and REG_DWORD
// values) in $XDG_CONFIG_HOME/vorlix/registry.ini, or the file that VORLIX_REGISTRY names.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

enum class RegistryHive { CurrentUser, LocalMachine };

class Registry {
public:
    // The store's file: VORLIX_REGISTRY, else $XDG_CONFIG_HOME/vorlix/registry.ini.
    static std::string StorePath();

    // Creates the key when missing; false when the store cannot be written.
    [[nodiscard]] static bool CreateKey(RegistryHive hive, const std::string &key);
    static bool KeyExists(RegistryHive hive, const std::string &key);
    [[nodiscard]] static bool SetString(RegistryHive hive, const std::string &key, const std::string &name,
                                        const std::string &value);
    [[nodiscard]] static bool SetDword(RegistryHive hive, const std::string &key, const std::string &name,
                                       std::uint32_t value);
    static std::optional<std::string> GetString(RegistryHive hive, const std::string &key,
                                                const std::string &name);
    static std::optional<std::uint32_t> GetDword(RegistryHive hive, const std::string &key,
                                                 const std::string &name);
};

}  // namespace platform
