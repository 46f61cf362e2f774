// Writes an in-memory database back as DXL that DxlReader reads to the same notes and items.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "Database.h"

namespace standin::dxl {

class DxlWriter {
public:
    // The whole file, UTF-8, rooted at <database>.
    static std::string Write(const Database &db);
    // Writes the database piece by piece to sink (false from sink stops it). Notes that are not
    // resident and still have their own identity in the source are copied from it byte for byte.
    // False (problem set when it was not the sink) when a piece cannot be produced or written.
    [[nodiscard]] static bool Write(const Database &db, const std::function<bool(std::string_view)> &sink,
                                    std::string &problem);
};

}  // namespace standin::dxl
