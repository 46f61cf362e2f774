// Registry writers that create the key first; the 32-bit one reports its failures to the user.
#include "RegistryWriters.h"

#include "AppInfo.h"
#include "UserInterface.h"

namespace platform {

bool WriteRegistryDword(RegistryHive hive, const std::string &key, const std::string &name,
                        std::uint32_t value) {
    if (!Registry::CreateKey(hive, key)) {
        ShowMessage("Unable to get key", AppInfo::Name(), MessageIcon::Exclamation);
        return false;
    }
    if (!Registry::SetDword(hive, key, name, value)) {
        ShowMessage("Unable to write Value", AppInfo::Name(), MessageIcon::Exclamation);
        return false;
    }
    return true;
}

bool WriteRegistryString(RegistryHive hive, const std::string &key, const std::string &name,
                         const std::string &value) {
    return Registry::CreateKey(hive, key) && Registry::SetString(hive, key, name, value);
}

}  // namespace platform
