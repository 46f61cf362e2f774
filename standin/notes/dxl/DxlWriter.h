// Writes an in-memory database back as DXL that DxlReader reads to the same notes and items.
#pragma once

#include <string>

#include "Database.h"

namespace standin::dxl {

class DxlWriter {
public:
    // The whole file, UTF-8, rooted at <database>.
    static std::string Write(const Database &db);
};

}  // namespace standin::dxl
