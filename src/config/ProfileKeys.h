// The keys of the profile file in their order, with each key's value encoding, the condition under
// which it is written, and the settings field it stands for.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "config/ExportSettings.h"

namespace config {

enum class ProfileValue {
    Bool,       // "1" or "0"
    Int,        // decimal
    Text,       // line breaks escaped
    FieldName,  // text; an item name, passed through the Notes character set when read
    Delimiter,  // four hexadecimal digits per UTF-16 unit
    ViewList,   // entries joined by ","
    Columns,    // output columns joined by ","
};

enum class ProfileGroup {
    Always,
    ProfileOnly,     // left out of templates
    SelectView,      // only with SelectMethod 1
    SelectViews,     // only with SelectMethod 2
    SelectQuery,     // only with SelectMethod 3
    SelectFtSearch,  // only with SelectMethod 4
    WithColumns,     // only when there are output columns
    WithRtf,         // only when CreateRTFs is set
    WithPdf,         // only when CreatePdfs is set
    OwnWhenSet,      // a key of this program's own: only in profiles, only when not empty
};

// The settings field a key stands for, by its type: bool (Bool), std::int32_t (Int), std::string (Text,
// FieldName, Delimiter), a list of strings (ViewList) or the output columns (Columns).
using ProfileField =
    std::variant<bool *, std::int32_t *, std::string *, std::vector<std::string> *, OutputItems *>;

struct ProfileKey {
    const char *key;
    ProfileValue value;
    ProfileGroup group;
    ProfileField (*field)(ExportSettings &settings);
    // For an enumeration: bit n is set when n is one of its values; 0 for any other key.
    std::uint32_t allowed = 0;
};

class ProfileKeys {
public:
    // Every key after the three header keys, in file order (CreatePdfs appears twice).
    static const std::vector<ProfileKey> &Table();
    // The key's entry; null for an unknown key (and for the header keys).
    static const ProfileKey *Find(const std::string &key);

    // The key's field as T; asking for another type than the field has is a fault of the caller.
    template <typename T>
    static T &Field(const ProfileKey &key, ExportSettings &settings) {
        return *std::get<T *>(key.field(settings));
    }
    // Read-only access; the accessor only takes the field's address.
    template <typename T>
    static const T &Field(const ProfileKey &key, const ExportSettings &settings) {
        return *std::get<T *>(key.field(const_cast<ExportSettings &>(settings)));
    }
};

}  // namespace config
