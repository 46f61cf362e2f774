// The run-time state of rich-text rendering that an export run owns and passes to every render: the
// charset line of the HTML head, the image directory, prefix and counters of the current document,
// the section number that runs on over the whole run, and the note being rendered.
#pragma once

#include <cstdint>
#include <string>

namespace notes {
class NotesNote;
}

namespace richtext {

// CharsetMark: which meta line the HTML head carries.
constexpr int kCharsetMarkNone = 0;
constexpr int kCharsetMarkUtf16 = 1;
constexpr int kCharsetMarkUtf8 = 2;

struct RenderState {
    std::int32_t CharsetMark = kCharsetMarkNone;
    std::string ImageDirectory;              // directory chosen for this document's images
    std::string ExtractPath;                 // the image directory once created, without a trailing separator
    std::int32_t ImageCounter = 0;           // number of the last image file of the document
    std::int32_t ImagesInItem = 0;           // images met
    std::string ImagePrefix;                 // file-name prefix of this document's images
    std::int32_t SectionNumber = 0;          // last number given to a section or tabbed table
    const notes::NotesNote *Note = nullptr;  // the note being rendered
};

}  // namespace richtext
