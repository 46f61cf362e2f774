// Fuzz target of the composite-data walk: any bytes as a composite value. Every record the walk
// reports lies inside the value, the trace printer and the bitmap decoder take whatever comes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cd/Image.h"
#include "cd/Records.h"
#include "cd/WalkPrinter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char *>(data), size);
    standin::cd::NotesBitmap bitmap;
    bool bitmapOk = true;
    (void)standin::cd::WalkRecords(bytes, [&](const standin::cd::Record &r) {
        if (r.offset > bytes.size() || r.length > bytes.size() - r.offset) {
            std::abort();  // a record outside the value
        }
        std::string problem;
        if (bitmapOk && (r.signature == 0x95 || bitmap.HasHeader())) {
            bitmapOk = bitmap.Add(r.signature, standin::cd::RecordBytes(bytes, r), problem);
        }
        return true;
    });
    standin::cd::Image image;
    std::string problem;
    if (bitmapOk && bitmap.HasHeader() && bitmap.Decode(image, problem) &&
        image.pixels.size() !=
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        std::abort();
    }
    std::string trace = standin::cd::PrintWalk(bytes);
    if (trace.size() > 64 * size + 64) {
        std::abort();  // the trace is bounded by the records
    }
    return 0;
}
