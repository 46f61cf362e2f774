// Composite-data (rich text) record signatures and field offsets, as stored: packed little-endian,
// offsets counted from the start of the record header. Decoding lives in CompositeReader.cpp.
#pragma once

#include <cstddef>
#include <cstdint>

namespace richtext::cd {

// Signatures as the record walk passes them: byte- and long-length records as 0x00nn, word-length
// records as 0xFFnn.
namespace sig {
constexpr std::uint16_t kParagraph = 0x0081;         // paragraph mark
constexpr std::uint16_t kPabDefinition = 0xFF82;     // paragraph style definition
constexpr std::uint16_t kPabReference = 0x0083;      // switch to a defined paragraph style
constexpr std::uint16_t kText = 0xFF85;              // text run
constexpr std::uint16_t kFontTable = 0xFF8B;         // face names of a note ($Fonts)
constexpr std::uint16_t kTextEffect = 0xFFC3;        // font of the next run
constexpr std::uint16_t kTableBegin = 0x00A3;        // table begin
constexpr std::uint16_t kTableCell = 0x00A4;         // table cell
constexpr std::uint16_t kTableEnd = 0x00A5;          // table end
constexpr std::uint16_t kNestedTableBegin = 0x00CF;  // nested table begin
constexpr std::uint16_t kNestedTableCell = 0x00D0;   // nested table cell
constexpr std::uint16_t kNestedTableEnd = 0x00D1;    // nested table end
constexpr std::uint16_t kPreTableBegin = 0xFFFB;     // table extension, before the table begin
constexpr std::uint16_t kTableLabelFont = 0xFF5C;    // font of a tabbed table's labels
constexpr std::uint16_t kTableLabel = 0xFFE3;        // tab label of the current cell
constexpr std::uint16_t kBar = 0xFFAC;               // section bar (title)
constexpr std::uint16_t kV5HotspotBegin = 0xFF7E;    // hotspot begin, version 5
constexpr std::uint16_t kV5HotspotEnd = 0x007F;      // hotspot end, version 5
constexpr std::uint16_t kHotspotBegin = 0xFFA9;      // hotspot begin
constexpr std::uint16_t kHotspotEnd = 0x00AA;        // hotspot end
constexpr std::uint16_t kV4HotspotBegin = 0xFFAD;    // hotspot begin, version 4
constexpr std::uint16_t kV4HotspotEnd = 0x00AE;      // hotspot end, version 4
constexpr std::uint16_t kButton = 0xFF74;            // button (hotspot begin layout)
constexpr std::uint16_t kLink2 = 0xFF91;             // document link by index into $Links
constexpr std::uint16_t kLinkExport2 = 0xFF92;       // document link carried in the record
constexpr std::uint16_t kGraphic = 0x0099;           // graphic (image frame)
constexpr std::uint16_t kImageHeader = 0x007D;       // image header
constexpr std::uint16_t kImageSegment = 0x007C;      // image data segment
constexpr std::uint16_t kBitmapHeader = 0x0095;      // Notes bitmap header
constexpr std::uint16_t kBitmapSegment = 0x0096;     // Notes bitmap segment
constexpr std::uint16_t kColorTable = 0x0097;        // Notes bitmap colour table
constexpr std::uint16_t kPatternTable = 0x0098;      // Notes bitmap pattern table
constexpr std::uint16_t kTransparentTable = 0x00C5;  // Notes bitmap transparency table
constexpr std::uint16_t kStorageLink = 0xFFC4;       // linked image
constexpr std::uint16_t kAltText = 0xFFCA;           // alternative text of an image
constexpr std::uint16_t kBorderInfo = 0xFFFC;        // image border
constexpr std::uint16_t kBegin = 0x00DD;             // begin of a record group
constexpr std::uint16_t kEnd = 0x00DE;               // end of a record group
}  // namespace sig

// Header sizes: BSIG {sig, len} 2 bytes, WSIG {sig, 0xFF, len word} 4, LSIG {sig, 0x00, len dword} 6.
constexpr std::size_t kByteHeaderSize = 2;
constexpr std::size_t kWordHeaderSize = 4;
constexpr std::size_t kLongHeaderSize = 6;

namespace pabdef {
constexpr std::size_t kId = 4;                 // WORD paragraph id
constexpr std::size_t kAlignment = 6;          // WORD 0 left, 1 right, 2 justified, 3 centred, 4 no wrap
constexpr std::size_t kLineSpacing = 8;        // WORD line spacing
constexpr std::size_t kSpaceBefore = 10;       // WORD space before, half lines
constexpr std::size_t kSpaceAfter = 12;        // WORD space after, half lines
constexpr std::size_t kLeftMargin = 14;        // WORD left margin, twips
constexpr std::size_t kRightMargin = 16;       // WORD right margin, twips
constexpr std::size_t kFirstLineMargin = 18;   // WORD first-line left margin, twips
constexpr std::size_t kFlags = 62;             // WORD flags (list kinds)
constexpr std::size_t kFlags2 = 68;            // WORD second flags (margin kinds)
constexpr std::size_t kLeftOffset = 70;        // WORD left margin offset, twips
constexpr std::size_t kLeftPercent = 72;       // WORD left margin, percent
constexpr std::size_t kFirstLineOffset = 74;   // WORD first-line offset, twips
constexpr std::size_t kFirstLinePercent = 76;  // WORD first-line margin, percent
constexpr std::size_t kRightOffset = 78;       // WORD right margin offset, twips
constexpr std::size_t kRightPercent = 80;      // WORD right margin, percent
constexpr std::uint16_t kFlagBullet = 0x0400;
constexpr std::uint16_t kFlagNumbered = 0x1000;
constexpr std::uint16_t kFlag2LeftDefault = 0x0100;
constexpr std::uint16_t kFlag2LeftOffset = 0x0004;
constexpr std::uint16_t kFlag2LeftPercent = 0x0008;
constexpr std::uint16_t kFlag2FirstDefault = 0x0200;
constexpr std::uint16_t kFlag2FirstOffset = 0x0010;
constexpr std::uint16_t kFlag2FirstPercent = 0x0020;
constexpr std::uint16_t kFlag2RightDefault = 0x0400;
constexpr std::uint16_t kFlag2RightOffset = 0x0040;
constexpr std::uint16_t kFlag2RightPercent = 0x0080;
}  // namespace pabdef

namespace pabref {
constexpr std::size_t kId = 2;  // WORD paragraph id
}

namespace text {
constexpr std::size_t kFont = 4;  // FONTID: face, attributes, colour, point size
constexpr std::size_t kText = 8;  // LMBCS text up to the record's end
}  // namespace text

namespace texteffect {
constexpr std::size_t kFont = 4;  // FONTID of the next run
}

namespace fonttable {
constexpr std::size_t kCount = 4;       // WORD number of faces
constexpr std::size_t kEntries = 6;     // first CDFACE entry
constexpr std::size_t kEntrySize = 34;  // BYTE face, BYTE family, char name[32]
constexpr std::size_t kEntryName = 2;   // NUL-terminated face name in an entry
constexpr std::size_t kNameSize = 32;
}  // namespace fonttable

namespace pretable {
constexpr std::size_t kFlags = 4;         // DWORD flags (0x80 tabbed)
constexpr std::size_t kFlags2 = 18;       // BYTE further flags (0x04 tabbed)
constexpr std::size_t kColor1 = 24;       // RGB bytes of alternating colour 1
constexpr std::size_t kColor2 = 28;       // RGB bytes of alternating colour 2
constexpr std::size_t kInnerBorder = 34;  // RGB bytes of the inner border colour
constexpr std::uint32_t kFlagTabbed = 0x80;
constexpr std::uint8_t kFlag2Tabbed = 0x04;
}  // namespace pretable

namespace tablebegin {
constexpr std::size_t kLeftMargin = 2;    // WORD left margin, twips
constexpr std::size_t kHorizPadding = 8;  // WORD horizontal cell padding, twips
constexpr std::size_t kVertPadding = 10;  // WORD vertical cell padding, twips
constexpr std::size_t kFlags = 12;        // WORD table flags
constexpr std::uint16_t kFlagFullWidth = 0x0001;
constexpr std::uint16_t kFlagRight = 0x0020;
constexpr std::uint16_t kFlagCentred = 0x1000;
constexpr std::uint16_t kFlagAltColumns = 0x0400;
constexpr std::uint16_t kFlagAltRows = 0x0800;
}  // namespace tablebegin

namespace labelfont {
constexpr std::size_t kLength = 40;  // WORD length of the font data
constexpr std::size_t kFont = 48;    // FONTID of the labels
constexpr std::size_t kExtra = 56;   // six further bytes, kept but not used
}  // namespace labelfont

namespace tablecell {
constexpr std::size_t kRow = 2;          // BYTE row, 0-based
constexpr std::size_t kColumn = 3;       // BYTE column, 0-based
constexpr std::size_t kLeftMargin = 4;   // WORD left cell margin, twips
constexpr std::size_t kRightMargin = 6;  // WORD right cell margin, twips
constexpr std::size_t kWidth = 8;        // WORD fractional width (1440 per 20 percent)
constexpr std::size_t kBorder = 10;      // BYTE two-bit border widths
constexpr std::size_t kFlags = 11;       // BYTE cell flags
constexpr std::size_t kV42Border = 12;   // WORD four-bit border widths
constexpr std::size_t kRowSpan = 14;     // BYTE row span
constexpr std::size_t kColumnSpan = 15;  // BYTE column span
constexpr std::size_t kBackground = 16;  // WORD palette number of the background
constexpr std::uint8_t kFlagBackground = 0x01;
constexpr std::uint8_t kFlagV42Border = 0x02;
}  // namespace tablecell

namespace tablelabel {
constexpr std::size_t kText = 4;     // NUL-terminated LMBCS label
constexpr std::size_t kFlags = 138;  // WORD label flags
}  // namespace tablelabel

namespace bar {
constexpr std::size_t kFlags = 4;          // DWORD flags
constexpr std::size_t kFont = 8;           // FONTID of the title
constexpr std::size_t kColor = 12;         // WORD title colour, when flagged
constexpr std::size_t kTitle = 12;         // title without a colour word
constexpr std::size_t kTitleColored = 14;  // title after the colour word
constexpr std::uint32_t kFlagExpanded = 0x2;
constexpr std::uint32_t kFlagFormula = 0x2000;
constexpr std::uint32_t kFlagHasColor = 0x4000000;
}  // namespace bar

namespace hotspot {
constexpr std::size_t kType = 4;         // WORD hotspot type
constexpr std::size_t kFlags = 6;        // DWORD flags
constexpr std::size_t kDataLength = 10;  // WORD data length
constexpr std::size_t kData = 12;        // data
constexpr std::uint16_t kTypeFile = 4;
constexpr std::uint16_t kTypeUrl = 11;
constexpr std::uint16_t kTypeSectionBody = 12;
constexpr std::uint32_t kFlagUrlData = 0x1000;
}  // namespace hotspot

namespace link2 {
constexpr std::size_t kIndex = 4;    // WORD index into $Links
constexpr std::size_t kComment = 6;  // NUL-terminated comment, then the server hint
}  // namespace link2

namespace linkexport2 {
constexpr std::size_t kLink = 4;      // NOTELINK, 40 bytes
constexpr std::size_t kComment = 44;  // NUL-terminated comment, then the server hint
}  // namespace linkexport2

// NOTELINK: replica id (two DWORDs), view UNID (four), note UNID (four).
constexpr std::size_t kNoteLinkSize = 40;

namespace graphic {
constexpr std::size_t kWidth = 6;    // WORD destination width, twips
constexpr std::size_t kHeight = 8;   // WORD destination height, twips
constexpr std::size_t kResize = 22;  // WORD non-zero when resized
}  // namespace graphic

namespace imageheader {
constexpr std::size_t kType = 6;       // WORD 1 GIF, 2 JPEG, 3 BMP
constexpr std::size_t kSegments = 16;  // DWORD number of segments
constexpr std::uint16_t kTypeJpeg = 2;
}  // namespace imageheader

namespace imagesegment {
constexpr std::size_t kDataSize = 6;  // WORD bytes of image data
constexpr std::size_t kData = 10;     // the data
}  // namespace imagesegment

namespace storagelink {
constexpr std::size_t kType = 4;     // WORD link type (4: file path)
constexpr std::size_t kLength = 10;  // WORD length of the path
constexpr std::size_t kPath = 24;    // LMBCS path
constexpr std::uint16_t kTypePath = 4;
}  // namespace storagelink

namespace alttext {
constexpr std::size_t kLength = 4;  // WORD text length
constexpr std::size_t kText = 12;   // LMBCS text
}  // namespace alttext

namespace border {
constexpr std::size_t kSize = 58;        // the whole record
constexpr std::size_t kTop = 10;         // WORD top width, pixels
constexpr std::size_t kLeft = 12;        // WORD left width
constexpr std::size_t kBottom = 14;      // WORD bottom width
constexpr std::size_t kRight = 16;       // WORD right width
constexpr std::size_t kColorFlags = 42;  // WORD colour flags (0x0001 RGB value)
constexpr std::size_t kColorRgb = 44;    // BYTE red, green, blue from here
constexpr std::uint16_t kColorIsRgb = 0x0001;
}  // namespace border

}  // namespace richtext::cd
