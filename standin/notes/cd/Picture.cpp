// Collecting a picture's records and decoding the picture.
#include "Picture.h"

#include "Records.h"

namespace standin::cd {

namespace nc = notes::cd;

namespace {

constexpr std::size_t kMaxImageData = 64u * 1024u * 1024u;

}  // namespace

Picture::Picture(std::string_view graphic)
    : m_width(Word(graphic, nc::kGraphicDestWidth)), m_height(Word(graphic, nc::kGraphicDestHeight)) {}

bool Picture::Continues(WORD s) {
    return s == nc::kSigImageHeader || s == nc::kSigImageSegment || s == nc::kSigBitmapHeader ||
           s == nc::kSigBitmapSegment || s == nc::kSigColorTable || s == nc::kSigPatternTable ||
           s == nc::kSigTransparentTable || s == nc::kSigAltText || s == nc::kSigBorderInfo;
}

void Picture::Add(WORD s, std::string_view r) {
    switch (s) {
        case nc::kSigImageHeader:
            m_imageType = Word(r, nc::kImageType);
            break;
        case nc::kSigImageSegment:
            if (m_imageData.size() < kMaxImageData) {
                m_imageData.append(
                    r.substr(std::min(r.size(), nc::kSegmentData), Word(r, nc::kSegmentDataSize)));
            }
            break;
        case nc::kSigBitmapHeader:
        case nc::kSigBitmapSegment:
        case nc::kSigColorTable:
        case nc::kSigPatternTable:
        case nc::kSigTransparentTable: {
            std::string problem;
            if (!m_bitmapBad && !m_bitmap.Add(s, r, problem)) {
                m_bitmapBad = true;
            }
            break;
        }
        default:
            break;
    }
}

bool Picture::Pixels(Image &image) const {
    if (m_imageType == nc::kImageGif && DecodeGif(m_imageData, image)) {
        return true;
    }
    std::string problem;
    return m_bitmap.HasHeader() && !m_bitmapBad && m_bitmap.Decode(image, problem);
}

}  // namespace standin::cd
