// A picture of rich text collected from its records: the graphic record (its size on the page), then
// the image header and segments of a GIF, JPEG or PNG, or the records of a Notes bitmap.
#pragma once

#include <string>
#include <string_view>

#include "Image.h"

namespace standin::cd {

class Picture {
public:
    // Starts a picture at its graphic record.
    explicit Picture(std::string_view graphic);
    // True for the records that may follow the graphic record inside the picture (the image and bitmap
    // records, alternative text and borders); any other record ends the picture.
    static bool Continues(WORD signature);
    // Takes one record of the picture (header included); others are ignored.
    void Add(WORD signature, std::string_view record);

    // The picture's size on the page in twips; 0 when the record gives none.
    long Width() const { return m_width; }
    long Height() const { return m_height; }
    // The stored file of an image picture (kImageGif, kImageJpeg or kImagePng), or 0 and empty.
    WORD ImageType() const { return m_imageType; }
    const std::string &ImageData() const { return m_imageData; }
    // The pixels of a GIF or of a Notes bitmap; false when the picture is neither or cannot be decoded.
    [[nodiscard]] bool Pixels(Image &image) const;

private:
    long m_width = 0;
    long m_height = 0;
    WORD m_imageType = 0;
    std::string m_imageData;
    NotesBitmap m_bitmap;
    bool m_bitmapBad = false;
};

}  // namespace standin::cd
