// Fuzz target: the profile reader over arbitrary bytes must not crash and must leave a record that
// writes and reads back as itself.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "config/DatabaseExportProfile.h"

namespace {

void Require(bool condition, const char *what) {
    if (!condition) {
        std::fprintf(stderr, "profile fuzz: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    config::DatabaseExportProfile profile;
    config::ExportSettings before = profile.Settings;
    if (!profile.LoadFromBytes(bytes, "fuzz.xpp", "Vorlix", "6.0.15")) {
        Require(!profile.LastError().empty(), "a failed load names its reason");
        Require(profile.Settings.StoredFieldsEqual(before), "a failed load changes nothing");
        return 0;
    }
    const config::ExportSettings &s = profile.Settings;
    Require(!s.Delimiter.empty() && !s.MVDelimiter.empty(), "delimiters are never empty");
    // Whatever was read is a record the writer can store: reading its file gives the same record. The
    // selection fields that the method does not write, and the RTF and PDF fields without their flag,
    // are left out of the comparison by writing both sides.
    const bool asTemplate = false;
    const std::string saved = profile.SaveToBytes("Vorlix", "6.0.15", asTemplate);
    config::DatabaseExportProfile again;
    Require(again.LoadFromBytes(saved, "again.xpp", "Vorlix", "6.0.15"), "a saved record loads");
    Require(again.SaveToBytes("Vorlix", "6.0.15", asTemplate) == saved, "a saved record reads back the same");
    return 0;
}
