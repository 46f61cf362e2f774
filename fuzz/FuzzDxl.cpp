// Fuzz target of the DXL reader: reads the bytes as a database file twice, held in memory and as an
// index over the same bytes (the index scan, then every note read back by the note-fragment reader),
// writes each back (the indexed one streaming unchanged notes from its source) and reads that again,
// which must succeed with the same notes. The note index moves to its temporary file from 64 notes on,
// so that inputs of many notes also cover the records read back by block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "dxl/DxlReader.h"
#include "dxl/DxlWriter.h"
#include "dxl/NoteSource.h"
#include "dxl/NoteTable.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void ReadAndWriteBack(std::string_view bytes, bool indexed) {
    standin::dxl::Database db;
    standin::dxl::DxlReader reader;
    auto source = indexed ? std::make_shared<standin::dxl::MemorySource>(std::string(bytes)) : nullptr;
    if (!reader.Index(bytes, "fuzz.nsf", source, db)) {
        Check(!reader.LastError().empty());  // a failure must say what is wrong
        return;
    }
    for (const standin::dxl::Note &header : db.notes) {
        standin::dxl::Note loaded;
        std::string error;
        const standin::dxl::Note *note = db.Load(header, loaded, error);
        Check(note != nullptr);  // the bytes the index scan accepted read back
        Check(note->noteId == header.noteId);
        for (std::size_t k = 0; k < note->items.size(); ++k) {
            Check(note->ItemValue(k).size() >= 2);  // every value starts with its type word
        }
    }
    std::string written;
    std::string problem;
    Check(standin::dxl::DxlWriter::Write(
        db,
        [&written](std::string_view piece) {
            written += piece;
            return true;
        },
        problem));
    standin::dxl::Database again;
    standin::dxl::DxlReader second;
    Check(second.Read(written, "fuzz.nsf", again) && again.notes.size() == db.notes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    static const bool lowered = [] {
        standin::dxl::RecordStore::SetSpillThreshold(64);
        return true;
    }();
    (void)lowered;
    std::string_view bytes(reinterpret_cast<const char *>(data), size);
    ReadAndWriteBack(bytes, false);
    ReadAndWriteBack(bytes, true);
    return 0;
}
