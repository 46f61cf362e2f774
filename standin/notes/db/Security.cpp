// Readers fields and encryption keys.
#include "Security.h"

#include "../Config.h"
#include "DbPaths.h"
#include "dxl/Bytes.h"

namespace standin {

std::vector<std::string> TextEntries(std::string_view value) {
    std::vector<std::string> out;
    if (value.size() < 2) {
        return out;
    }
    WORD type = dxl::ReadWord(value, 0);
    if (type == notes::kTypeText) {
        out.emplace_back(value.substr(2));
        return out;
    }
    if (type != notes::kTypeTextList || value.size() < 4) {
        return out;
    }
    std::size_t count = dxl::ReadWord(value, 2);
    std::size_t at = 4 + 2 * count;
    if (at > value.size()) {
        return out;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t len = dxl::ReadWord(value, 4 + 2 * i);
        if (at + len > value.size()) {
            break;
        }
        out.emplace_back(value.substr(at, len));
        at += len;
    }
    return out;
}

std::string CurrentUser() {
    return Config().anonymous ? std::string() : Config().id.userName;
}

// notes.ini StandinFullAccess=1 reads every document whatever its Readers fields say, as a local
// replica without a consistently enforced ACL does.
bool FullAccess() {
    std::string value = dxl::ToLowerAscii(IniValue("StandinFullAccess"));
    return value == "1" || value == "true" || value == "yes";
}

bool CanRead(const dxl::Note &note) {
    if (FullAccess()) {
        return true;
    }
    bool restricted = false;
    std::vector<std::string> allowed;
    for (std::size_t i = 0; i < note.items.size(); ++i) {
        WORD flags = note.items[i].flags;
        if ((flags & (notes::kItemReaders | notes::kItemReadWriters)) == 0) {
            continue;
        }
        for (const std::string &name : TextEntries(note.ItemValue(i))) {
            if (name.empty()) {
                continue;
            }
            restricted = restricted || (flags & notes::kItemReaders) != 0;
            allowed.push_back(name);
        }
    }
    if (!restricted) {
        return true;
    }
    std::string user = CurrentUser();
    for (const std::string &name : allowed) {
        if (name == "*" || (!user.empty() && SameNotesName(name, user))) {
            return true;
        }
    }
    return false;
}

bool HoldsKey(const std::string &key) {
    if (key.empty() || Config().anonymous) {
        return false;
    }
    for (const std::string &held : Config().id.keys) {
        if (dxl::EqualsNoCase(held, key)) {
            return true;
        }
    }
    return false;
}

}  // namespace standin
