// Composite-data records for tests, with their headers and fields at stored offsets.
#include "support/CompositeBuilder.h"

namespace testsupport {

RecordBytes &RecordBytes::Byte(std::size_t at, std::uint8_t value) {
    if (at >= m_bytes.size()) {
        m_bytes.resize(at + 1, '\0');
    }
    m_bytes[at] = static_cast<char>(value);
    return *this;
}

RecordBytes &RecordBytes::Word(std::size_t at, std::uint16_t value) {
    Byte(at, static_cast<std::uint8_t>(value & 0xFF));
    return Byte(at + 1, static_cast<std::uint8_t>(value >> 8));
}

RecordBytes &RecordBytes::Dword(std::size_t at, std::uint32_t value) {
    Word(at, static_cast<std::uint16_t>(value & 0xFFFF));
    return Word(at + 2, static_cast<std::uint16_t>(value >> 16));
}

RecordBytes &RecordBytes::Text(std::size_t at, const std::string &text) {
    if (at + text.size() > m_bytes.size()) {
        m_bytes.resize(at + text.size(), '\0');
    }
    m_bytes.replace(at, text.size(), text);
    return *this;
}

std::uint32_t Font(std::uint8_t face, std::uint8_t attributes, std::uint8_t color, std::uint8_t size) {
    return static_cast<std::uint32_t>(face) | (static_cast<std::uint32_t>(attributes) << 8) |
           (static_cast<std::uint32_t>(color) << 16) | (static_cast<std::uint32_t>(size) << 24);
}

namespace {

// Bodies are given from offset 0 of the record; the header bytes in them are overwritten.
std::string WithHeader(std::uint16_t signature, std::string record, bool longHeader) {
    if ((signature & 0xFF00) == 0xFF00) {
        RecordBytes r(0);
        r.Text(0, record).Word(0, signature).Word(2, static_cast<std::uint16_t>(record.size()));
        return r.Bytes();
    }
    if (longHeader) {
        RecordBytes r(0);
        r.Text(0, record)
            .Byte(0, static_cast<std::uint8_t>(signature))
            .Byte(1, 0)
            .Dword(2, static_cast<std::uint32_t>(record.size()));
        return r.Bytes();
    }
    RecordBytes r(0);
    r.Text(0, record)
        .Byte(0, static_cast<std::uint8_t>(signature))
        .Byte(1, static_cast<std::uint8_t>(record.size()));
    return r.Bytes();
}

}  // namespace

CompositeBuilder &CompositeBuilder::Raw(std::uint16_t signature, const std::string &record, bool longHeader) {
    m_records.push_back({signature, WithHeader(signature, record, longHeader)});
    return *this;
}

CompositeBuilder &CompositeBuilder::Whole(std::uint16_t signature, const std::string &bytes) {
    m_records.push_back({signature, bytes});
    return *this;
}

CompositeBuilder &CompositeBuilder::Paragraph() {
    return Raw(0x0081, std::string(2, '\0'));
}

CompositeBuilder &CompositeBuilder::PabDefinition(const PabSpec &s) {
    RecordBytes r(82);
    r.Word(4, s.id)
        .Word(6, s.alignment)
        .Word(8, s.lineSpacing)
        .Word(10, s.spaceBefore)
        .Word(12, s.spaceAfter);
    r.Word(14, s.leftMargin)
        .Word(16, s.rightMargin)
        .Word(18, s.firstLineMargin)
        .Word(62, s.flags)
        .Word(68, s.flags2);
    for (std::size_t i = 0; i < 6; ++i) {
        r.Word(70 + 2 * i, s.offsets[i]);
    }
    return Raw(0xFF82, r.Bytes());
}

CompositeBuilder &CompositeBuilder::PabReference(std::uint16_t id) {
    return Raw(0x0083, RecordBytes(4).Word(2, id).Bytes());
}

CompositeBuilder &CompositeBuilder::Text(const std::string &text, std::uint32_t font) {
    return Raw(0xFF85, RecordBytes(8).Dword(4, font).Text(8, text).Bytes());
}

CompositeBuilder &CompositeBuilder::TextEffect(std::uint32_t font) {
    return Raw(0xFFC3, RecordBytes(12).Dword(4, font).Bytes());
}

namespace {

void PutRgb(RecordBytes &r, std::size_t at, const std::string &rgb) {
    for (std::size_t i = 0; i < 3 && 2 * i + 1 < rgb.size(); ++i) {
        r.Byte(at + i, static_cast<std::uint8_t>(std::stoi(rgb.substr(2 * i, 2), nullptr, 16)));
    }
}

}  // namespace

CompositeBuilder &CompositeBuilder::PreTableBegin(std::uint32_t flags, const std::string &rgb1,
                                                  const std::string &rgb2) {
    RecordBytes r(40);
    r.Dword(4, flags);
    PutRgb(r, 24, rgb1);
    PutRgb(r, 28, rgb2);
    PutRgb(r, 34, "123456");
    return Raw(0xFFFB, r.Bytes());
}

CompositeBuilder &CompositeBuilder::TableBegin(std::uint16_t flags, std::uint16_t horizontal,
                                               std::uint16_t vertical) {
    return Raw(0x00A3, RecordBytes(14).Word(8, horizontal).Word(10, vertical).Word(12, flags).Bytes());
}

CompositeBuilder &CompositeBuilder::TableLabelFont(std::uint32_t font) {
    return Raw(0xFF5C, RecordBytes(62).Word(40, 8).Dword(48, font).Bytes());
}

CompositeBuilder &CompositeBuilder::Cell(const CellSpec &s) {
    RecordBytes r(18);
    r.Byte(2, s.row).Byte(3, s.column).Word(4, s.leftMargin).Word(6, s.rightMargin).Word(8, s.width);
    r.Byte(10, s.border).Byte(11, s.flags).Word(12, s.v42Border).Byte(14, s.rowSpan).Byte(15, s.columnSpan);
    r.Word(16, s.background);
    return Raw(0x00A4, r.Bytes());
}

CompositeBuilder &CompositeBuilder::TableLabel(const std::string &label) {
    return Raw(0xFFE3, RecordBytes(140).Text(4, label).Bytes());
}

CompositeBuilder &CompositeBuilder::TableEnd() {
    return Raw(0x00A5, std::string(6, '\0'));
}

CompositeBuilder &CompositeBuilder::SectionBar(std::uint32_t flags, std::uint32_t font,
                                               const std::string &title, int color) {
    RecordBytes r(12);
    if (color >= 0) {
        flags |= 0x4000000;
        r.Word(12, static_cast<std::uint16_t>(color)).Text(14, title);
    } else {
        r.Text(12, title);
    }
    r.Dword(4, flags).Dword(8, font);
    return Raw(0xFFAC, r.Bytes());
}

CompositeBuilder &CompositeBuilder::HotspotBegin(std::uint16_t type, std::uint32_t flags,
                                                 const std::string &data) {
    RecordBytes r(12);
    r.Word(4, type).Dword(6, flags).Word(10, static_cast<std::uint16_t>(data.size())).Text(12, data);
    return Raw(0xFFA9, r.Bytes());
}

CompositeBuilder &CompositeBuilder::HotspotEnd() {
    return Raw(0x00AA, std::string(2, '\0'));
}

CompositeBuilder &CompositeBuilder::SectionBegin(bool expanded, const std::string &title) {
    HotspotBegin(12, 0, "");
    return SectionBar(expanded ? 0x2 : 0, Font(1, 0x01, 2, 12), title);
}

CompositeBuilder &CompositeBuilder::Link2(std::uint16_t index, const std::string &comment,
                                          const std::string &hint) {
    RecordBytes r(6);
    r.Word(4, index).Text(6, comment + '\0' + hint + '\0');
    return Raw(0xFF91, r.Bytes());
}

CompositeBuilder &CompositeBuilder::LinkExport2(const std::uint32_t words[10], const std::string &comment,
                                                const std::string &hint) {
    RecordBytes r(44);
    for (std::size_t i = 0; i < 10; ++i) {
        r.Dword(4 + 4 * i, words[i]);
    }
    r.Text(44, comment + '\0' + hint + '\0');
    return Raw(0xFF92, r.Bytes());
}

CompositeBuilder &CompositeBuilder::Graphic(std::uint16_t width, std::uint16_t height, bool resize) {
    return Raw(0x0099, RecordBytes(28).Word(6, width).Word(8, height).Word(22, resize ? 1 : 0).Bytes(), true);
}

CompositeBuilder &CompositeBuilder::ImageHeader(std::uint16_t type, std::uint32_t segments) {
    return Raw(0x007D, RecordBytes(28).Word(6, type).Dword(16, segments).Bytes(), true);
}

CompositeBuilder &CompositeBuilder::ImageSegment(const std::string &data) {
    RecordBytes r(10);
    r.Word(6, static_cast<std::uint16_t>(data.size()))
        .Word(8, static_cast<std::uint16_t>(data.size()))
        .Text(10, data);
    return Raw(0x007C, r.Bytes(), true);
}

CompositeBuilder &CompositeBuilder::AltText(const std::string &text) {
    return Raw(0xFFCA,
               RecordBytes(12).Word(4, static_cast<std::uint16_t>(text.size())).Text(12, text).Bytes());
}

std::string CompositeBuilder::Value() const {
    std::string value("\x01\x00", 2);
    for (const CompositeRecord &record : m_records) {
        value += record.bytes;
        if (record.bytes.size() % 2 != 0) {
            value += '\0';
        }
    }
    return value;
}

}  // namespace testsupport
