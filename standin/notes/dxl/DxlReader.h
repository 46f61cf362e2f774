// Reads the bytes of a DXL file into an in-memory database. Takes bytes, not a path, so tests and the
// fuzz target can hand it memory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "Database.h"

namespace standin::dxl {

class DxlReader {
public:
    // fileName names the file in messages and seeds the identities of notes that lack them.
    // False (LastError set, naming the file and the problem) when the file is not a DXL database;
    // items that cannot be read are skipped with a diagnostic instead.
    [[nodiscard]] bool Read(std::string_view bytes, const std::string &fileName, Database &db);
    const std::string &LastError() const { return m_error; }
    const std::vector<std::string> &Diagnostics() const { return m_diagnostics; }

private:
    std::string m_error;
    std::vector<std::string> m_diagnostics;
};

}  // namespace standin::dxl
