// XML rich text to records: tables, sections, links, attachment hotspots, pictures and raw fragments.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "../dxl/Base64.h"
#include "../dxl/Bytes.h"
#include "Converter.h"

namespace standin::cd {

namespace nc = notes::cd;

namespace {

constexpr int kMaxDepth = 32;  // tables and sections nest at most this deep

long Pixels(const pugi::xml_attribute &a, long fallback) {
    if (!a) {
        return fallback;
    }
    long v = std::strtol(a.value(), nullptr, 10);
    return v < 0 ? fallback : std::min(v, 0xFFFFL / 15);
}

void PutColorValue(RecordWriter &w, bool set, const Rgb &c) {
    w.PutWord(set ? nc::kColorIsRgb : nc::kColorNoColor);
    w.PutByte(c.r);
    w.PutByte(c.g);
    w.PutByte(c.b);
    w.PutByte(0);
}

// Width and height of GIF, PNG and JPEG data from their headers; 0 when unknown.
void ImageSize(const std::string &data, WORD type, WORD &width, WORD &height) {
    std::string_view d = data;
    if (type == nc::kImageGif && d.size() >= 10) {
        width = Word(d, 6);
        height = Word(d, 8);
    } else if (type == nc::kImagePng && d.size() >= 24) {
        width = static_cast<WORD>((Byte(d, 18) << 8) | Byte(d, 19));
        height = static_cast<WORD>((Byte(d, 22) << 8) | Byte(d, 23));
    } else if (type == nc::kImageJpeg) {
        std::size_t at = 2;
        while (at + 9 < d.size() && Byte(d, at) == 0xFF) {
            BYTE marker = Byte(d, at + 1);
            std::size_t len = static_cast<std::size_t>((Byte(d, at + 2) << 8) | Byte(d, at + 3));
            if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
                height = static_cast<WORD>((Byte(d, at + 5) << 8) | Byte(d, at + 6));
                width = static_cast<WORD>((Byte(d, at + 7) << 8) | Byte(d, at + 8));
                return;
            }
            at += 2 + len;
        }
    }
}

}  // namespace

void Converter::BeginHotspot(WORD signature, WORD type, DWORD flags, std::string_view data) {
    m_out.Begin(signature);
    m_out.PutWord(type);
    m_out.PutDword(flags);
    m_out.PutWord(static_cast<WORD>(data.size()));
    m_out.PutBytes(data);
    m_out.End();
}

void Converter::EndHotspot(WORD signature) {
    m_out.Begin(signature);
    m_out.End();
}

void Converter::Table(const pugi::xml_node &node) {
    if (m_depth >= kMaxDepth) {
        Problem("a table is nested too deeply");
        return;
    }
    ++m_depth;
    bool nested = m_depth > 1;
    StartParagraph(CurrentPabId());
    std::vector<long> columns;  // twips
    for (pugi::xml_node c : node.children()) {
        long w = 0;
        bool percent = false;
        if (LocalName(c) == "tablecolumn") {
            if (!ParseLength(c.attribute("width").value(), w, percent)) {
                w = 1440;
            }
            columns.push_back(
                std::clamp(percent ? w * 9360 / 100 : w, 0L, 0xFFFFL));  // percent of 6.5 inches
        }
    }
    std::vector<pugi::xml_node> rows;
    for (pugi::xml_node r : node.children()) {
        if (LocalName(r) == "tablerow") {
            rows.push_back(r);
        }
    }
    std::size_t columnCount = columns.size();
    for (const pugi::xml_node &r : rows) {
        std::size_t n = 0;
        for (pugi::xml_node c : r.children()) {
            if (LocalName(c) == "tablecell") {
                n += static_cast<std::size_t>(
                    std::max(1L, std::strtol(c.attribute("columnspan").value(), nullptr, 10)));
            }
        }
        columnCount = std::max(columnCount, n);
    }
    columnCount = std::min<std::size_t>(columnCount, 64);
    while (columns.size() < columnCount) {
        columns.push_back(1440);
    }
    long tableWidth = 0;
    for (long w : columns) {
        tableWidth += w;
    }
    std::string_view widthType = node.attribute("widthtype").value();
    std::string_view colorStyle = node.attribute("colorstyle").value();
    std::string_view rowDisplay = node.attribute("rowdisplay").value();
    bool tabbed = rowDisplay == "tabs" || rowDisplay == "tabscompute";
    Rgb color1;
    Rgb color2;
    bool has1 = ParseDxlColor(node.attribute("bgcolor").value(), color1);
    bool has2 = ParseDxlColor(node.attribute("altbgcolor").value(), color2);
    Rgb inner;
    bool hasInner = ParseDxlColor(node.attribute("cellbordercolor").value(), inner);

    m_out.Begin(nc::kSigPreTableBegin);
    m_out.PutDword(tabbed ? nc::kPreTableFlagTabbed : 0);
    m_out.PutByte(static_cast<BYTE>(std::min<std::size_t>(rows.size(), 255)));
    m_out.PutByte(static_cast<BYTE>(columnCount));
    m_out.PutDword(0);
    m_out.PutDword(0);
    m_out.PutByte(tabbed ? nc::kTableViewerTabs : 0);
    m_out.PutByte(0);
    m_out.PutWord(0);
    m_out.PutWord(0);
    m_out.PutByte(color1.r);
    m_out.PutByte(color1.g);
    m_out.PutByte(color1.b);
    m_out.PutByte(has1 ? 0 : 0xFF);
    m_out.PutByte(color2.r);
    m_out.PutByte(color2.g);
    m_out.PutByte(color2.b);
    m_out.PutByte(has2 ? 0 : 0xFF);
    PutColorValue(m_out, hasInner, inner);
    m_out.PutWord(0);
    m_out.PutWord(0);
    m_out.PutWord(0);
    m_out.End();

    WORD flags = nc::kTableFlagV4Borders;
    if (widthType == "fitwindow" || widthType == "fitmargins") {
        flags |= nc::kTableFlagAutoCellWidth;
    } else if (widthType == "fixedcenter") {
        flags |= nc::kTableFlagAlignedCenter;
    } else if (widthType == "fixedright") {
        flags |= nc::kTableFlagAlignedRight;
    }
    if (colorStyle == "altrows") {
        flags |= nc::kTableFlagAlternatingRows;
    } else if (colorStyle == "altcolumns") {
        flags |= nc::kTableFlagAlternatingCols;
    }
    long leftMargin = 1440;
    bool percent = false;
    if (!ParseLength(node.attribute("leftmargin").value(), leftMargin, percent) || percent) {
        leftMargin = 1440;
    }
    long spacing = 0;
    if (!ParseLength(node.attribute("columnspacing").value(), spacing, percent) || percent) {
        spacing = 0;
    }
    m_out.Begin(nested ? nc::kSigNestedTableBegin : nc::kSigTableBegin);
    m_out.PutWord(static_cast<WORD>(std::clamp(leftMargin, 0L, 0xFFFFL)));
    m_out.PutWord(0);
    m_out.PutWord(0);
    m_out.PutWord(static_cast<WORD>(std::clamp(spacing, 0L, 0xFFFFL)));
    m_out.PutWord(static_cast<WORD>(std::clamp(spacing, 0L, 0xFFFFL)));
    m_out.PutWord(flags);
    m_out.End();

    // Cells covered by a row span from above are not written in DXL: track them per column.
    std::vector<long> coveredUntil(columnCount, -1);
    for (std::size_t row = 0; row < rows.size() && row < 255; ++row) {
        std::size_t column = 0;
        bool firstInRow = true;
        for (pugi::xml_node cell : rows[row].children()) {
            if (LocalName(cell) != "tablecell") {
                continue;
            }
            while (column < columnCount && coveredUntil[column] >= static_cast<long>(row)) {
                ++column;
            }
            if (column >= columnCount) {
                Problem("a table row holds more cells than the table has columns");
                break;
            }
            long colSpan = std::clamp(std::strtol(cell.attribute("columnspan").value(), nullptr, 10), 1L,
                                      static_cast<long>(columnCount - column));
            long rowSpan = std::clamp(std::strtol(cell.attribute("rowspan").value(), nullptr, 10), 1L, 255L);
            long left = 0;
            for (std::size_t c = 0; c < column; ++c) {
                left += columns[c];
            }
            long width = 0;
            for (long c = 0; c < colSpan; ++c) {
                width += columns[column + static_cast<std::size_t>(c)];
                coveredUntil[column + static_cast<std::size_t>(c)] = static_cast<long>(row) + rowSpan - 1;
            }
            // Border widths in pixels: one value for all sides or four (top, right, bottom, left).
            long b[4] = {1, 1, 1, 1};
            std::string_view bw = cell.attribute("borderwidth").value();
            if (!bw.empty()) {
                std::vector<long> values;
                std::string text(bw);
                for (char *p = text.data(); *p != '\0';) {
                    char *end = nullptr;
                    long v = std::strtol(p, &end, 10);
                    if (end == p) {
                        break;
                    }
                    values.push_back(std::clamp(v, 0L, 15L));
                    p = end;
                    while (*p != '\0' && (*p < '0' || *p > '9')) {
                        ++p;
                    }
                }
                for (std::size_t i = 0; i < 4 && !values.empty(); ++i) {
                    b[i] = values.size() == 4 ? values[i] : values[0];
                }
            }
            // top, right, bottom, left -> left, right, top, bottom fields.
            WORD v42 = static_cast<WORD>(b[3] | (b[1] << 4) | (b[0] << 8) | (b[2] << 12));
            BYTE border = static_cast<BYTE>(std::min(b[3], 3L) | (std::min(b[1], 3L) << 2) |
                                            (std::min(b[0], 3L) << 4) | (std::min(b[2], 3L) << 6));
            BYTE cellFlags = nc::kCellFlagV42Borders;
            Rgb bg;
            WORD bgNumber = 0;
            if (ParseDxlColor(cell.attribute("bgcolor").value(), bg)) {
                cellFlags |= nc::kCellFlagUseBackground;
                bgNumber = NearestPaletteColor(bg);
            }
            std::string_view valign = cell.attribute("valign").value();
            if (valign == "center") {
                cellFlags |= nc::kCellFlagVAlignCenter;
            } else if (valign == "bottom") {
                cellFlags |= nc::kCellFlagVAlignBottom;
            }
            m_out.Begin(nested ? nc::kSigNestedTableCell : nc::kSigTableCell);
            m_out.PutByte(static_cast<BYTE>(row));
            m_out.PutByte(static_cast<BYTE>(column));
            m_out.PutWord(static_cast<WORD>(std::min(left, 0xFFFFL)));
            m_out.PutWord(static_cast<WORD>(std::min(left + width, 0xFFFFL)));
            m_out.PutWord(static_cast<WORD>(tableWidth > 0 ? width * 28800 / tableWidth : 0));
            m_out.PutByte(border);
            m_out.PutByte(cellFlags);
            m_out.PutWord(v42);
            m_out.PutByte(static_cast<BYTE>(rowSpan));
            m_out.PutByte(static_cast<BYTE>(colSpan));
            m_out.PutWord(bgNumber);
            m_out.End();
            if (tabbed && firstInRow) {
                std::string label = Lmbcs(rows[row].attribute("tablabel").value());
                pugi::xml_node labelNode = rows[row].child("tablerowlabel");
                if (labelNode) {
                    label = Lmbcs(labelNode.child_value());
                }
                label = label.substr(0, nc::kTableLabelTextSize - 1);
                m_out.Begin(nc::kSigTableLabel);
                m_out.PutBytes(label);
                m_out.PutZeros(nc::kTableLabelTextSize - label.size());
                m_out.PutZeros(6);
                m_out.PutWord(0);
                m_out.End();
            }
            firstInRow = false;
            std::size_t before = m_paragraphs;
            Blocks(cell);
            if (m_paragraphs == before) {
                // An empty cell still holds one empty paragraph.
                StartParagraph(CurrentPabId());
                Text("", RunFont());
            }
            column += static_cast<std::size_t>(colSpan);
        }
    }
    m_out.Begin(nested ? nc::kSigNestedTableEnd : nc::kSigTableEnd);
    m_out.PutDword(0);
    m_out.End();
    --m_depth;
}

void Converter::Section(const pugi::xml_node &node) {
    if (m_depth >= kMaxDepth) {
        Problem("a section is nested too deeply");
        return;
    }
    ++m_depth;
    StartParagraph(CurrentPabId());
    pugi::xml_node title = node.child("sectiontitle");
    RunFont font = FontOf(title.child("font"), RunFont());
    DWORD flags = 0;
    if (node.attribute("expanded").as_bool()) {
        flags |= nc::kBarFlagExpanded;
    }
    std::string text;
    if (pugi::xml_node code = title.child("code")) {
        flags |= nc::kBarFlagIsFormula;
        text = Lmbcs(code.child_value("formula"));
    } else {
        text = Lmbcs(title.child_value("text"));
    }
    Rgb rgb;
    bool hasColor = ParseDxlColor(title.attribute("color").value(), rgb);
    if (hasColor) {
        flags |= nc::kBarFlagHasColor;
    }
    m_out.Begin(nc::kSigBar);
    m_out.PutDword(flags);
    m_out.PutDword(font.Id());
    if (hasColor) {
        m_out.PutWord(NearestPaletteColor(rgb));
    }
    m_out.PutBytes(text.substr(0, 0xFF00));
    m_out.End();
    m_textInParagraph = true;
    BeginHotspot(nc::kSigV4HotspotBegin, nc::kHotspotBundle, 0, std::string_view());
    Blocks(node);
    EndHotspot(nc::kSigV4HotspotEnd);
    --m_depth;
}

void Converter::UrlLink(const pugi::xml_node &node, const RunFont &font) {
    std::string url = Lmbcs(node.attribute("href").value());
    url.resize(std::min<std::size_t>(url.size(), 0x7FFF));
    url.push_back('\0');
    DWORD flags = nc::kHotspotFlagInotes;
    if (std::string_view(node.attribute("showborder").value()) == "false") {
        flags |= nc::kHotspotFlagNoBorder;
    }
    BeginHotspot(nc::kSigV4HotspotBegin, nc::kHotspotHotLink, flags, url);
    Inline(node, font);
    EndHotspot(nc::kSigV4HotspotEnd);
    m_textInParagraph = true;
}

void Converter::NoteLink(const pugi::xml_node &node, const RunFont &font) {
    NOTELINK link{};
    std::string_view kind = LocalName(node);
    if (!dxl::ParseReplica(node.attribute("database").value(), link.File)) {
        Problem("a <" + std::string(kind) + "> has no valid database replica id");
        return;
    }
    if (kind != "databaselink") {
        (void)dxl::ParseUnid(node.attribute("view").value(), link.View);
    }
    if (kind == "doclink") {
        (void)dxl::ParseUnid(node.attribute("document").value(), link.Note);
    }
    // The same target twice shares one $Links entry, so reading a database written back adds none.
    std::size_t index = 0;
    while (index < m_context.links.size() && std::memcmp(&m_context.links[index], &link, sizeof link) != 0) {
        ++index;
    }
    if (index >= 0xFFFF) {
        Problem("the note holds too many links");
        return;
    }
    if (index == m_context.links.size()) {
        m_context.links.push_back(link);
    }
    m_out.Begin(nc::kSigLink2);
    m_out.PutWord(static_cast<WORD>(index));
    m_out.PutBytes(Lmbcs(node.attribute("description").value()).substr(0, 0x7F00));
    m_out.PutByte(0);
    m_out.PutBytes(Lmbcs(node.attribute("server").value()).substr(0, 0x7F00));
    m_out.PutByte(0);
    m_out.End();
    m_textInParagraph = true;
    Inline(node, font);
}

void Converter::AttachmentRef(const pugi::xml_node &node, const RunFont &font) {
    std::string name = Lmbcs(node.attribute("name").value());
    std::string display = Lmbcs(node.attribute("displayname").value());
    if (display.empty()) {
        display = name;
    }
    std::string data = name.substr(0, 0x3F00) + '\0' + display.substr(0, 0x3F00) + '\0';
    BeginHotspot(nc::kSigV4HotspotBegin, nc::kHotspotFile, 0, data);
    Inline(node, font);
    EndHotspot(nc::kSigV4HotspotEnd);
    m_textInParagraph = true;
}

void Converter::CompositeData(const pugi::xml_node &node) {
    std::string bytes;
    if (!dxl::DecodeBase64(node.child_value(), bytes)) {
        Problem("a <compositedata> fragment is not valid base64");
        return;
    }
    if (WalkRecords(bytes, [](const Record &) { return true; }) != WalkEnd::Complete) {
        Problem("a <compositedata> fragment holds damaged records");
        return;
    }
    m_out.Append(bytes);
    if ((bytes.size() & 1) != 0) {
        m_out.PutByte(0);
    }
    m_textInParagraph = true;
}

void Converter::Picture(const pugi::xml_node &node) {
    m_textInParagraph = true;
    WORD type = 0;
    std::string data;
    std::string url;
    std::string bitmap;
    for (pugi::xml_node c : node.children()) {
        std::string_view n = LocalName(c);
        WORD t =
            n == "gif" ? nc::kImageGif : (n == "jpeg" ? nc::kImageJpeg : (n == "png" ? nc::kImagePng : 0));
        if (t != 0) {
            if (!dxl::DecodeBase64(c.child_value(), data)) {
                Problem("the <" + std::string(n) + "> of a picture is not valid base64");
                return;
            }
            type = t;
        } else if (n == "notesbitmap") {
            if (!dxl::DecodeBase64(c.child_value(), bitmap) ||
                WalkRecords(bitmap, [](const Record &) { return true; }) != WalkEnd::Complete) {
                Problem("the <notesbitmap> of a picture is not valid");
                return;
            }
        } else if (n == "imageref") {
            url = Lmbcs(c.attribute("name").value());
        }
    }
    WORD width = 0;
    WORD height = 0;
    ImageSize(data, type, width, height);
    long w = Pixels(node.attribute("width"), width);
    long h = Pixels(node.attribute("height"), height);
    m_out.Begin(nc::kSigGraphic);
    m_out.PutWord(static_cast<WORD>(w * 15));
    m_out.PutWord(static_cast<WORD>(h * 15));
    m_out.PutZeros(12);
    m_out.PutWord(node.attribute("scaledwidth") || node.attribute("scaledheight") ? 1 : 0);
    m_out.PutByte(nc::kGraphicVersion3);
    m_out.PutByte(0);
    m_out.PutWord(0);
    m_out.End();
    if (type != 0) {
        std::size_t segments = (data.size() + nc::kImageSegmentMax - 1) / nc::kImageSegmentMax;
        m_out.Begin(nc::kSigImageHeader);
        m_out.PutWord(type);
        m_out.PutWord(width);
        m_out.PutWord(height);
        m_out.PutDword(static_cast<DWORD>(data.size()));
        m_out.PutDword(static_cast<DWORD>(segments));
        m_out.PutDword(0);
        m_out.PutDword(0);
        m_out.End();
        for (std::size_t at = 0; at < data.size(); at += nc::kImageSegmentMax) {
            std::size_t n = std::min(nc::kImageSegmentMax, data.size() - at);
            m_out.Begin(nc::kSigImageSegment);
            m_out.PutWord(static_cast<WORD>(n));
            m_out.PutWord(static_cast<WORD>(n + (n & 1)));
            m_out.PutBytes(std::string_view(data).substr(at, n));
            m_out.End();
        }
    } else if (!bitmap.empty()) {
        m_out.Append(bitmap);
        if ((bitmap.size() & 1) != 0) {
            m_out.PutByte(0);
        }
    } else if (!url.empty()) {
        m_out.Begin(nc::kSigStorageLink);
        m_out.PutWord(nc::kStorageUrl);
        m_out.PutWord(0);
        m_out.PutWord(0);
        m_out.PutWord(static_cast<WORD>(std::min<std::size_t>(url.size(), 0x7F00)));
        m_out.PutZeros(12);
        m_out.PutBytes(url.substr(0, 0x7F00));
        m_out.End();
    }
    if (pugi::xml_attribute alt = node.attribute("alttext")) {
        std::string text = Lmbcs(alt.value()).substr(0, 0x7F00);
        m_out.Begin(nc::kSigAltText);
        m_out.PutWord(static_cast<WORD>(text.size()));
        m_out.PutWord(0);
        m_out.PutDword(0);
        m_out.PutBytes(text);
        m_out.End();
    }
    if (pugi::xml_node caption = node.child("caption")) {
        std::string text = Lmbcs(caption.child_value()).substr(0, 0x7F00);
        m_out.Begin(nc::kSigCaption);
        m_out.PutWord(static_cast<WORD>(text.size()));
        m_out.PutByte(std::string_view(caption.attribute("position").value()) == "middle" ? 1 : 0);
        m_out.PutDword(RunFont().Id());
        PutColorValue(m_out, false, Rgb());
        m_out.PutZeros(11);
        m_out.PutBytes(text);
        m_out.End();
    }
}

}  // namespace standin::cd
