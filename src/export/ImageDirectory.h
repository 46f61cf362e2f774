// The image-directory step of the per-document pipeline: where the images of a document's rich text
// go and how their files are named, set in the run's render state before the fields are rendered.
#pragma once

#include <string>

#include "config/ExportSettings.h"
#include "richtext/RenderState.h"

namespace notes {
class NotesNote;
}

namespace exporter {

constexpr char kImageFormulaNotSupported[] = "OA_SUBDIR_EVAL Not Supported for Image files";

// Sets the charset line of the HTML head from CharacterEncoding and, when images are exported, the
// image directory, prefix and counter of the document (count is its running number, basePath the
// run's current output directory). False when the document cannot be processed further: the
// formula method, whose message is shown.
[[nodiscard]] bool PrepareImageDirectory(const config::ExportSettings &settings, const std::string &basePath,
                                         long count, const notes::NotesNote &note,
                                         richtext::RenderState &state);

// The value of the field that names a document's image directory: cut to maxLength characters,
// trimmed, characters not allowed in a file name and control characters replaced by '~', trimmed again;
// a name of dots only ("..") becomes tildes, so that it never leaves the output directory.
std::string ImageDirectoryName(const std::string &fieldValue, int maxLength);

}  // namespace exporter
