// Large DXL databases for the benchmarks, written straight to a file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace bench {

// Writes a database of documents documents, each with fieldCount text and number items named Field1,
// Field2, ... (odd fields text, even fields numbers, Field3 a two-entry text list) and a view "All"
// that selects every document in note ID order. False when the file cannot be written.
[[nodiscard]] bool WriteLargeDatabase(const std::string &path, long documents, int fieldCount);

// Writes a database of documents documents, each with a Subject, a Body showing its attachments and one
// file attachment of each size given (deterministic bytes), and the view "All". The stored names are
// "file<n>.bin". attachmentBytes receives the bytes of all attachments together. False when the file
// cannot be written.
[[nodiscard]] bool WriteAttachmentDatabase(const std::string &path, long documents,
                                           const std::vector<std::size_t> &sizes,
                                           std::size_t &attachmentBytes);

}  // namespace bench
