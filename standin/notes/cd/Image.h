// Pictures of rich text as pixels: Notes bitmaps (header, tables and compressed segments) decoded,
// GIF decoded and encoded through giflib.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../../../src/notes/capi/CompositeRecords.h"

namespace standin::cd {

// Pixels in rows from the top, 0xAARRGGBB each (alpha 0 for a transparent pixel).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// The largest picture the runtime decodes (width times height), so hostile sizes cannot exhaust memory.
inline constexpr std::size_t kMaxPixels = 4u * 1024u * 1024u;

// Collects the records of one Notes bitmap in the order they come and decodes them.
class NotesBitmap {
public:
    // Takes one record (header included): the bitmap header first, then the transparency, colour and
    // pattern tables and the segments. False (problem set) for a record that does not fit.
    [[nodiscard]] bool Add(WORD signature, std::string_view record, std::string &problem);
    bool HasHeader() const { return m_hasHeader; }
    // Decodes the collected bitmap. False (problem set) when it is incomplete or damaged.
    [[nodiscard]] bool Decode(Image &image, std::string &problem) const;

private:
    bool m_hasHeader = false;
    WORD m_width = 0;
    WORD m_height = 0;
    WORD m_bitsPerPixel = 0;
    WORD m_segmentCount = 0;
    std::vector<std::uint32_t> m_colors;       // RGB of the colour table
    std::vector<std::uint32_t> m_transparent;  // RGB values that are transparent
    std::string m_patterns;                    // raw pattern table entries
    std::vector<std::string> m_segments;       // compressed data of each segment
    std::vector<WORD> m_scanlines;             // scan lines of each segment
};

// Decodes the first frame of a GIF. False when the data is not a GIF giflib can read.
[[nodiscard]] bool DecodeGif(std::string_view gif, Image &image);
// Encodes pixels as a GIF (at most 256 colours; more are reduced to a fixed 3-3-2 palette; a
// transparent pixel gets a colour of its own). False when giflib fails.
[[nodiscard]] bool EncodeGif(const Image &image, std::string &gif);

}  // namespace standin::cd
