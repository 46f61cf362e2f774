// Builds composite-data (rich text) values for tests record by record: each record with its header,
// fields at their stored offsets, and the whole value with its type word and pad bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// One record: its signature as the walk passes it and its bytes from the header on.
struct CompositeRecord {
    std::uint16_t signature;
    std::string bytes;
};

// A record body under construction: zero bytes of a fixed size with fields set at offsets.
class RecordBytes {
public:
    explicit RecordBytes(std::size_t size) : m_bytes(size, '\0') {}
    RecordBytes &Byte(std::size_t at, std::uint8_t value);
    RecordBytes &Word(std::size_t at, std::uint16_t value);
    RecordBytes &Dword(std::size_t at, std::uint32_t value);
    RecordBytes &Text(std::size_t at, const std::string &text);  // grows the record when needed
    const std::string &Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// A font identifier as stored: face, attributes, colour, size.
std::uint32_t Font(std::uint8_t face, std::uint8_t attributes, std::uint8_t color, std::uint8_t size);

// Paragraph definition fields (twips and the two flags words as stored).
struct PabSpec {
    std::uint16_t id = 1;
    std::uint16_t alignment = 0;
    std::uint16_t lineSpacing = 0;
    std::uint16_t spaceBefore = 0;
    std::uint16_t spaceAfter = 0;
    std::uint16_t leftMargin = 1440;
    std::uint16_t rightMargin = 0;
    std::uint16_t firstLineMargin = 1440;
    std::uint16_t flags = 0;
    std::uint16_t flags2 = 0x0100 | 0x0200 | 0x0400;  // default left, first line and right
    std::uint16_t offsets[6] = {};                    // words at 70 to 80
};

struct CellSpec {
    std::uint8_t row = 0;
    std::uint8_t column = 0;
    std::uint16_t leftMargin = 0;      // twips
    std::uint16_t rightMargin = 1500;  // twips
    std::uint16_t width = 0;           // fractional width
    std::uint8_t border = 0;
    std::uint8_t flags = 0;
    std::uint16_t v42Border = 0;
    std::uint8_t rowSpan = 1;
    std::uint8_t columnSpan = 1;
    std::uint16_t background = 0;
};

class CompositeBuilder {
public:
    // Any record: a signature 0xFFnn gets a word-length header, 0x00nn a byte-length header, or a
    // long-length one with longHeader; body is everything after the header.
    CompositeBuilder &Raw(std::uint16_t signature, const std::string &body, bool longHeader = false);
    // A record given whole (header included), for damaged records.
    CompositeBuilder &Whole(std::uint16_t signature, const std::string &bytes);

    CompositeBuilder &Paragraph();
    CompositeBuilder &PabDefinition(const PabSpec &spec);
    CompositeBuilder &PabReference(std::uint16_t id);
    CompositeBuilder &Text(const std::string &text, std::uint32_t font = Font(1, 0, 0, 10));
    CompositeBuilder &TextEffect(std::uint32_t font);
    CompositeBuilder &PreTableBegin(std::uint32_t flags, const std::string &rgb1, const std::string &rgb2);
    CompositeBuilder &TableBegin(std::uint16_t flags = 0, std::uint16_t horizontal = 0,
                                 std::uint16_t vertical = 0);
    CompositeBuilder &TableLabelFont(std::uint32_t font);
    CompositeBuilder &Cell(const CellSpec &spec);
    CompositeBuilder &TableLabel(const std::string &label);
    CompositeBuilder &TableEnd();
    CompositeBuilder &SectionBar(std::uint32_t flags, std::uint32_t font, const std::string &title,
                                 int color = -1);
    CompositeBuilder &HotspotBegin(std::uint16_t type, std::uint32_t flags, const std::string &data);
    CompositeBuilder &HotspotEnd();
    // A section: hotspot begin of the body, the bar, then whatever the caller adds, up to SectionEnd.
    CompositeBuilder &SectionBegin(bool expanded, const std::string &title);
    CompositeBuilder &SectionEnd() { return HotspotEnd(); }
    CompositeBuilder &Link2(std::uint16_t index, const std::string &comment, const std::string &hint);
    CompositeBuilder &LinkExport2(const std::uint32_t words[10], const std::string &comment,
                                  const std::string &hint);
    CompositeBuilder &Graphic(std::uint16_t width, std::uint16_t height, bool resize);
    CompositeBuilder &ImageHeader(std::uint16_t type, std::uint32_t segments);
    CompositeBuilder &ImageSegment(const std::string &data);
    CompositeBuilder &AltText(const std::string &text);

    const std::vector<CompositeRecord> &Records() const { return m_records; }
    // The item value: the composite type word, then each record followed by a pad byte when odd.
    std::string Value() const;

private:
    std::vector<CompositeRecord> m_records;
};

}  // namespace testsupport
