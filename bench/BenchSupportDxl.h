// Large DXL databases for the benchmarks, written straight to a file.
#pragma once

#include <string>

namespace bench {

// Writes a database of documents documents, each with fieldCount text and number items named Field1,
// Field2, ... (odd fields text, even fields numbers, Field3 a two-entry text list) and a view "All"
// that selects every document in note ID order. False when the file cannot be written.
[[nodiscard]] bool WriteLargeDatabase(const std::string &path, long documents, int fieldCount);

}  // namespace bench
