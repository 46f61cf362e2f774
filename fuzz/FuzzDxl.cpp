// Fuzz target of the DXL reader: reads the bytes as a database file, then writes the result back and
// reads that again, which must succeed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dxl/DxlReader.h"
#include "dxl/DxlWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char *>(data), size);
    standin::dxl::Database db;
    standin::dxl::DxlReader reader;
    if (!reader.Read(bytes, "fuzz.nsf", db)) {
        if (reader.LastError().empty()) {
            std::abort();  // a failure must say what is wrong
        }
        return 0;
    }
    for (std::size_t i = 0; i < db.notes.size(); ++i) {
        const standin::dxl::Note &note = db.notes[i];
        for (std::size_t k = 0; k < note.items.size(); ++k) {
            if (note.ItemValue(k).size() < 2) {
                std::abort();  // every value starts with its type word
            }
        }
    }
    std::string written = standin::dxl::DxlWriter::Write(db);
    standin::dxl::Database again;
    standin::dxl::DxlReader second;
    if (!second.Read(written, "fuzz.nsf", again) || again.notes.size() != db.notes.size()) {
        std::abort();
    }
    return 0;
}
