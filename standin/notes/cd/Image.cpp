// Notes bitmap decoding and GIF through giflib.
#include "Image.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "Records.h"

namespace standin::cd {

namespace nc = notes::cd;

namespace {

// The sixteen standard colours a bitmap without a colour table uses.
const std::uint32_t kStandardColors[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                           0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                           0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

std::uint32_t Rgb3(std::string_view d, std::size_t at) {
    return (static_cast<std::uint32_t>(Byte(d, at)) << 16) |
           (static_cast<std::uint32_t>(Byte(d, at + 1)) << 8) | Byte(d, at + 2);
}

}  // namespace

bool NotesBitmap::Add(WORD signature, std::string_view record, std::string &problem) {
    if (signature == nc::kSigBitmapHeader) {
        if (m_hasHeader || record.size() < nc::kBitmapHeaderSize) {
            problem = m_hasHeader ? "a second bitmap header" : "the bitmap header is too short";
            return false;
        }
        m_hasHeader = true;
        m_width = Word(record, nc::kBitmapWidth);
        m_height = Word(record, nc::kBitmapHeight);
        m_bitsPerPixel = Word(record, nc::kBitmapBitsPerPixel);
        m_segmentCount = Word(record, nc::kBitmapSegments);
        if (m_bitsPerPixel != 1 && m_bitsPerPixel != 8 && m_bitsPerPixel != 16) {
            problem = "the bitmap has " + std::to_string(m_bitsPerPixel) + " bits per pixel";
            return false;
        }
        if (static_cast<std::size_t>(m_width) * m_height > kMaxPixels) {
            problem = "the bitmap is too large";
            return false;
        }
        return true;
    }
    if (!m_hasHeader) {
        problem = "bitmap data before the bitmap header";
        return false;
    }
    switch (signature) {
        case nc::kSigColorTable:
            for (std::size_t at = nc::kColorTableEntries; at + 3 <= record.size() && m_colors.size() < 256;
                 at += 3) {
                m_colors.push_back(Rgb3(record, at));
            }
            return true;
        case nc::kSigTransparentTable: {
            WORD count = Word(record, nc::kTransparentCount);
            for (WORD i = 0; i < count && i < 256; ++i) {
                std::size_t at = nc::kTransparentEntries + 3u * i;
                if (at + 3 > record.size()) {
                    break;
                }
                m_transparent.push_back(Rgb3(record, at));
            }
            return true;
        }
        case nc::kSigPatternTable:
            m_patterns.assign(record.substr(std::min(record.size(), nc::kPatternTableEntries)));
            return true;
        case nc::kSigBitmapSegment: {
            WORD size = Word(record, nc::kBitmapSegDataSize);
            if (record.size() < nc::kBitmapSegmentSize || size > record.size() - nc::kBitmapSegData) {
                problem = "a bitmap segment is shorter than its data size";
                return false;
            }
            m_segments.emplace_back(record.substr(nc::kBitmapSegData, size));
            m_scanlines.push_back(Word(record, nc::kBitmapSegScanlines));
            return true;
        }
        default:
            problem = "a record that is not part of a bitmap";
            return false;
    }
}

bool NotesBitmap::Decode(Image &image, std::string &problem) const {
    if (!m_hasHeader || m_width == 0 || m_height == 0) {
        problem = "the bitmap header is missing or empty";
        return false;
    }
    std::size_t pel = m_bitsPerPixel == 16 ? 2 : 1;
    // Scan lines: 1-bit lines are padded to whole 16-bit words, 8 and 16 bits are exact.
    std::size_t lineBytes =
        m_bitsPerPixel == 1 ? (m_width + 15u) / 16u * 2u : static_cast<std::size_t>(m_width) * pel;
    std::string raw;
    std::size_t wanted = lineBytes * m_height;
    for (std::size_t s = 0; s < m_segments.size() && raw.size() < wanted; ++s) {
        std::string_view d = m_segments[s];
        std::size_t segmentEnd = std::min(wanted, raw.size() + lineBytes * m_scanlines[s]);
        std::size_t at = 0;
        while (at < d.size() && raw.size() < segmentEnd) {
            BYTE code = Byte(d, at);
            std::size_t count = code & 0x3F;
            switch (code >> 6) {
                case 3:  // short run of one pel
                    at += 1;
                    break;
                case 0:  // raw pels
                    at += 1;
                    if (at + count * pel > d.size()) {
                        problem = "a bitmap segment ends inside its raw pixels";
                        return false;
                    }
                    raw.append(d.substr(at, count * pel));
                    at += count * pel;
                    continue;
                default:  // long run of one pel (2) or of a pattern (1)
                    count = (count << 8) | Byte(d, at + 1);
                    at += 2;
                    break;
            }
            if (at + ((code >> 6) == 1 ? 1 : pel) > d.size()) {
                problem = "a bitmap segment ends inside a run";
                return false;
            }
            if ((code >> 6) == 1) {
                std::size_t entry = static_cast<std::size_t>(Byte(d, at)) * nc::kPatternEntrySize;
                std::string_view pattern = entry + 8 * pel <= m_patterns.size()
                                               ? std::string_view(m_patterns).substr(entry, 8 * pel)
                                               : std::string_view();
                if (pattern.empty()) {
                    problem = "a bitmap run names a missing pattern";
                    return false;
                }
                for (std::size_t i = 0; i < count && raw.size() < segmentEnd; ++i) {
                    raw.append(pattern);
                }
                at += 1;
                continue;
            }
            std::string_view value = d.substr(at, pel);
            for (std::size_t i = 0; i < count && raw.size() < segmentEnd; ++i) {
                raw.append(value);
            }
            at += pel;
        }
    }
    if (raw.size() < wanted) {
        problem = "the bitmap segments hold fewer scan lines than the bitmap";
        return false;
    }
    image.width = m_width;
    image.height = m_height;
    image.pixels.assign(static_cast<std::size_t>(m_width) * m_height, 0);
    std::string_view r = raw;
    for (std::size_t y = 0; y < m_height; ++y) {
        for (std::size_t x = 0; x < m_width; ++x) {
            std::uint32_t rgb = 0;
            std::size_t line = y * lineBytes;
            if (m_bitsPerPixel == 1) {
                bool set = (Byte(r, line + x / 8) & (0x80 >> (x % 8))) != 0;
                rgb = m_colors.size() >= 2 ? m_colors[set ? 1 : 0] : (set ? 0xFFFFFF : 0x000000);
            } else if (m_bitsPerPixel == 8) {
                BYTE index = Byte(r, line + x);
                rgb = index < m_colors.size() ? m_colors[index] : (index < 16 ? kStandardColors[index] : 0);
            } else {
                WORD v = Word(r, line + 2 * x);
                auto five = [](unsigned c) { return static_cast<std::uint32_t>((c << 3) | (c >> 2)); };
                rgb = (five((v >> 10) & 0x1F) << 16) | (five((v >> 5) & 0x1F) << 8) | five(v & 0x1F);
            }
            bool clear = std::find(m_transparent.begin(), m_transparent.end(), rgb) != m_transparent.end();
            image.pixels[y * m_width + x] = (clear ? 0u : 0xFF000000u) | rgb;
        }
    }
    return true;
}

namespace {

struct GifInput {
    std::string_view data;
    std::size_t at = 0;
};

int ReadGif(GifFileType *gif, GifByteType *out, int n) {
    GifInput *in = static_cast<GifInput *>(gif->UserData);
    std::size_t take = std::min(static_cast<std::size_t>(n < 0 ? 0 : n), in->data.size() - in->at);
    std::memcpy(out, in->data.data() + in->at, take);
    in->at += take;
    return static_cast<int>(take);
}

int WriteGif(GifFileType *gif, const GifByteType *bytes, int n) {
    static_cast<std::string *>(gif->UserData)
        ->append(reinterpret_cast<const char *>(bytes), static_cast<std::size_t>(n));
    return n;
}

}  // namespace

bool DecodeGif(std::string_view data, Image &image) {
    GifInput input{data, 0};
    int error = 0;
    GifFileType *gif = DGifOpen(&input, ReadGif, &error);
    if (gif == nullptr) {
        return false;
    }
    bool ok = DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0 && gif->SWidth > 0 && gif->SHeight > 0 &&
              static_cast<std::size_t>(gif->SWidth) * static_cast<std::size_t>(gif->SHeight) <= kMaxPixels;
    if (ok) {
        const SavedImage &frame = gif->SavedImages[0];
        const ColorMapObject *map =
            frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif->SColorMap;
        GraphicsControlBlock gcb{};
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        (void)DGifSavedExtensionToGCB(gif, 0, &gcb);
        image.width = gif->SWidth;
        image.height = gif->SHeight;
        image.pixels.assign(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height),
                            0);
        const GifImageDesc &d = frame.ImageDesc;
        for (int y = 0; y < d.Height && ok; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                int px = d.Left + x;
                int py = d.Top + y;
                if (px < 0 || py < 0 || px >= image.width || py >= image.height || map == nullptr) {
                    continue;
                }
                int index = frame.RasterBits[static_cast<std::size_t>(y) * static_cast<std::size_t>(d.Width) +
                                             static_cast<std::size_t>(x)];
                if (index == gcb.TransparentColor || index >= map->ColorCount) {
                    continue;
                }
                const GifColorType &c = map->Colors[index];
                image.pixels[static_cast<std::size_t>(py) * static_cast<std::size_t>(image.width) +
                             static_cast<std::size_t>(px)] =
                    0xFF000000u | (static_cast<std::uint32_t>(c.Red) << 16) |
                    (static_cast<std::uint32_t>(c.Green) << 8) | c.Blue;
            }
        }
    }
    DGifCloseFile(gif, &error);
    return ok;
}

bool EncodeGif(const Image &image, std::string &out) {
    if (image.width <= 0 || image.height <= 0 || image.width > 0xFFFF || image.height > 0xFFFF) {
        return false;
    }
    // The palette: the image's own colours when they fit, else 3-3-2; index 0 is transparent when needed.
    bool anyClear = false;
    std::map<std::uint32_t, int> colors;
    for (std::uint32_t p : image.pixels) {
        if ((p >> 24) == 0) {
            anyClear = true;
        } else if (colors.size() <= 256) {
            colors.emplace(p & 0xFFFFFF, 0);
        }
    }
    std::size_t room = anyClear ? 255 : 256;
    bool reduced = colors.size() > room;
    std::vector<std::uint32_t> palette;
    if (anyClear) {
        palette.push_back(0xFFFFFF);
    }
    if (reduced) {
        for (int i = 0; i < static_cast<int>(room); ++i) {
            int r = (i >> 5) & 7;
            int g = (i >> 2) & 7;
            int b = i & 3;
            palette.push_back(
                static_cast<std::uint32_t>(((r * 255 / 7) << 16) | ((g * 255 / 7) << 8) | (b * 255 / 3)));
        }
    } else {
        for (auto &c : colors) {
            c.second = static_cast<int>(palette.size());
            palette.push_back(c.first);
        }
    }
    int bits = 1;
    while ((1u << bits) < palette.size()) {
        ++bits;
    }
    palette.resize(1u << bits, 0);
    ColorMapObject *map = GifMakeMapObject(1 << bits, nullptr);
    if (map == nullptr) {
        return false;
    }
    for (std::size_t i = 0; i < palette.size(); ++i) {
        map->Colors[i].Red = static_cast<GifByteType>(palette[i] >> 16);
        map->Colors[i].Green = static_cast<GifByteType>(palette[i] >> 8);
        map->Colors[i].Blue = static_cast<GifByteType>(palette[i]);
    }
    std::string result;
    int error = 0;
    GifFileType *gif = EGifOpen(&result, WriteGif, &error);
    bool ok = gif != nullptr;
    if (ok) {
        EGifSetGifVersion(gif, true);
        ok = EGifPutScreenDesc(gif, image.width, image.height, bits, 0, map) == GIF_OK;
    }
    if (ok && anyClear) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = 0;
        GifByteType ext[4];
        std::size_t n = EGifGCBToExtension(&gcb, ext);
        ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext) == GIF_OK;
    }
    if (ok) {
        ok = EGifPutImageDesc(gif, 0, 0, image.width, image.height, false, nullptr) == GIF_OK;
    }
    std::vector<GifPixelType> line(static_cast<std::size_t>(image.width));
    for (int y = 0; ok && y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            std::uint32_t p =
                image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                             static_cast<std::size_t>(x)];
            int index = 0;
            if ((p >> 24) != 0) {
                if (reduced) {
                    index = (anyClear ? 1 : 0) + static_cast<int>((((p >> 21) & 7) << 5) |
                                                                  (((p >> 13) & 7) << 2) | ((p >> 6) & 3));
                    index = std::min(index, static_cast<int>(room) - (anyClear ? 0 : 1));
                } else {
                    index = colors[p & 0xFFFFFF];
                }
            }
            line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(index);
        }
        ok = EGifPutLine(gif, line.data(), image.width) == GIF_OK;
    }
    if (gif != nullptr && EGifCloseFile(gif, &error) != GIF_OK) {
        ok = false;
    }
    GifFreeMapObject(map);
    if (ok) {
        out = std::move(result);
    }
    return ok;
}

}  // namespace standin::cd
