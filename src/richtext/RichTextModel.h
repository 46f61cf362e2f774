// The rich-text model: paragraph styles, fonts, tables and cells, sections, links, images and the
// Notes colour palette. The composite-data reader builds these; the renderers read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace richtext {

// A font identifier: face number, attribute bits, palette colour number and point size.
struct FontId {
    std::uint8_t face = 0;
    std::uint8_t attributes = 0;
    std::uint8_t color = 0;
    std::uint8_t size = 0;

    // From the four stored bytes, read as one little-endian 32-bit value.
    static FontId FromStored(std::uint32_t value);
};

constexpr std::uint8_t kFontBold = 0x01;
constexpr std::uint8_t kFontItalic = 0x02;
constexpr std::uint8_t kFontUnderline = 0x04;
constexpr std::uint8_t kFontStrike = 0x08;
constexpr std::uint8_t kFontSuperscript = 0x10;
constexpr std::uint8_t kFontSubscript = 0x20;

// A font identifier with the face name it resolved to.
struct NotesFont {
    FontId id;
    std::string face;
};

// The face name of a standard face (0 to 4); the fallback face for any other number.
const char *StandardFaceName(unsigned face);
constexpr unsigned kStandardFaceCount = 5;
constexpr const char *kFallbackFace = "Arial";

// The palette colour of a Notes colour number as six upper-case hex digits ("000000" beyond 255).
const char *PaletteColor(unsigned number);
// "%02X%02X%02X" of red, green and blue.
std::string RgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

constexpr int kAlignLeft = 0;
constexpr int kAlignRight = 1;
constexpr int kAlignJustify = 2;
constexpr int kAlignCenter = 3;
constexpr int kAlignNoWrap = 4;

// Margin kinds: an offset or default in pixels, a percentage, an absolute position in pixels.
constexpr int kMarginOffset = 0;
constexpr int kMarginPercent = 1;
constexpr int kMarginAbsolute = 2;

constexpr int kListNone = 0;
constexpr int kListBulleted = 1;
constexpr int kListNumbered = 2;

constexpr float kUnset = -1.0f;

// A paragraph style.
struct NotesParagraph {
    std::uint16_t id = 0;
    int alignment = kAlignLeft;
    std::int32_t leftMargin = 0;
    int leftKind = kMarginOffset;
    std::int32_t firstLineIndent = 0;
    int firstLineKind = kMarginOffset;
    std::int32_t rightMargin = 0;
    int rightKind = kMarginOffset;
    bool leftDefault = false;
    bool rightDefault = false;
    int list = kListNone;
    float lineHeight = kUnset;
    float spaceBefore = kUnset;
    float spaceAfter = kUnset;
    std::int32_t defaultRightMargin = 96;

    bool IsList() const { return list != kListNone; }
    // The style used where no definition matches: left margin 96 pixels, both default flags set.
    static const NotesParagraph &Default();
};

// One cell of a table.
struct NotesTableCell {
    int row = 0;
    int column = 0;
    std::int32_t width = 0;        // pixels
    float percentWidth = 0.0f;     // percent of the table
    bool usePercent = false;       // the table's full-width flag
    std::int32_t leftMargin = 0;   // pixels
    std::int32_t rightMargin = 0;  // pixels
    int rowSpan = 1;
    int columnSpan = 1;
    int borderLeft = 0;
    int borderRight = 0;
    int borderTop = 0;
    int borderBottom = 0;
    std::string background;  // six hex digits
    std::uint8_t flags = 0;
    std::string content;  // rendered HTML of the cell
    std::string label;    // tab label (program text)
    std::uint16_t labelFlags = 0;

    bool HasBackground() const { return (flags & 0x01) != 0; }
};

constexpr std::uint8_t kCellBackground = 0x01;
constexpr std::uint8_t kCellFourBitBorders = 0x02;
constexpr std::uint8_t kCellMiddle = 0x20;
constexpr std::uint8_t kCellBottom = 0x80;

constexpr int kAlternateNone = 0;
constexpr int kAlternateRows = 1;
constexpr int kAlternateColumns = 2;

constexpr int kTableLeft = 0;
constexpr int kTableCentred = 1;
constexpr int kTableRight = 2;

// A table: what its begin and extension records said, and its cells in record order.
struct NotesTable {
    int horizontalPadding = 0;  // pixels
    int verticalPadding = 0;    // pixels
    int leftMargin = 0;         // twips, as read
    bool fullWidth = false;
    int alignment = kTableLeft;
    std::uint16_t flags = 0;
    int alternate = kAlternateNone;
    std::string color1;
    std::string color2;
    std::optional<std::string> innerBorderColor;
    bool tabbed = false;
    std::optional<NotesFont> labelFont;
    std::vector<NotesTableCell> cells;
};

// Which parts of a table record said something: the extension (pre-begin) or the begin record.
struct TableExtension {
    std::string color1;
    std::string color2;
    std::string innerBorderColor;
    bool tabbed = false;
};
struct TableBeginValues {
    int leftMargin = 0;
    int horizontalPadding = 0;
    int verticalPadding = 0;
    std::uint16_t flags = 0;
    bool fullWidth = false;
    int alignment = kTableLeft;
    int alternate = kAlternateNone;
};

// The border of an image.
struct NotesBorder {
    int top = 0;
    int right = 0;
    int bottom = 0;
    int left = 0;
    std::string color;  // six hex digits, empty when the record's colour is not an RGB value
};

// A finished graphic as the renderers write it.
struct NotesImage {
    std::string path;  // the image file (empty when none could be made)
    int width = 0;     // pixels
    int height = 0;    // pixels
    bool resize = false;
    std::string altText;
    std::optional<NotesBorder> border;
};

// A collapsible section's header.
struct NotesSection {
    int number = 0;
    bool expanded = false;
    std::string title;
    NotesFont titleFont;
    std::uint16_t titleColor = 0;
};

// A link to a Notes document: replica id, view and note UNIDs, comment and server hint.
struct NotesLink {
    std::uint32_t replica[2] = {};
    std::uint32_t view[4] = {};
    std::uint32_t note[4] = {};
    std::string comment;
    std::string server;  // hint with "CN=" and everything from the first "/" removed; may be empty

    // "/%08X%08X/%08X%08X%08X%08X/%08X%08X%08X%08X", each word pair high word first.
    std::string Address() const;
    // "NOTES://" + server hint + address.
    std::string Url() const;
};

// An attachment named by a hotspot, as far as the note's attachments know it.
struct AttachmentLink {
    std::string internalName;
    std::string fileName;    // the name under which it was attached
    bool known = false;      // found among the note's attachments
    bool extracted = false;  // written by this export
    std::string extractedPath;
    // The file name as attached when known, else the internal name.
    std::string DisplayName() const { return fileName.empty() ? internalName : fileName; }
};

}  // namespace richtext
