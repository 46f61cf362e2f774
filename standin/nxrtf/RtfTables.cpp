// Tables of the RTF conversion: cells are collected until the table ends, then written row by row
// with their widths, merges, borders and backgrounds. A nested table is flattened into its cell.
#include <algorithm>
#include <map>

#include "RtfConverter.h"
#include "cd/Palette.h"

namespace standin::rtf {

namespace nc = notes::cd;
using cd::Byte;
using cd::Word;

void RtfConverter::TableBegin(std::string_view r) {
    Table t;
    t.leftMargin = std::max(0L, static_cast<long>(Word(r, nc::kTableLeftMargin)) - 1440);
    t.nested = !m_tables.empty();
    t.outer = m_target;
    t.hotspots = m_hotspots.size();
    m_tables.push_back(std::move(t));
}

void RtfConverter::TableCell(std::string_view r, bool nested) {
    if (m_tables.empty()) {
        // A cell without a table begin opens a table of default values.
        TableBegin(std::string_view());
        m_tables.back().nested = nested;
    }
    Table &t = m_tables.back();
    Cell c;
    c.row = Byte(r, nc::kCellRow);
    c.column = Byte(r, nc::kCellColumn);
    c.left = Word(r, nc::kCellLeftMargin);
    c.right = std::max<long>(Word(r, nc::kCellRightMargin), c.left + 1);
    c.rowSpan = std::max(1, static_cast<int>(Byte(r, nc::kCellRowSpan)));
    c.columnSpan = std::max(1, static_cast<int>(Byte(r, nc::kCellColumnSpan)));
    BYTE flags = Byte(r, nc::kCellFlags);
    if ((flags & nc::kCellFlagUseBackground) != 0) {
        cd::Rgb bg = cd::PaletteColor(static_cast<std::uint8_t>(Word(r, nc::kCellBackground) & 0xFF));
        c.background = ColorIndex((static_cast<std::uint32_t>(bg.r) << 16) |
                                  (static_cast<std::uint32_t>(bg.g) << 8) | bg.b);
    }
    if ((flags & nc::kCellFlagV42Borders) != 0) {
        WORD b = Word(r, nc::kCellV42Border);
        for (int i = 0; i < 4; ++i) {
            c.borders[i] = (b >> (4 * i)) & 0xF;
        }
    } else {
        BYTE b = Byte(r, nc::kCellBorder);
        for (int i = 0; i < 4; ++i) {
            c.borders[i] = (b >> (2 * i)) & 0x3;
        }
    }
    t.cells.push_back(std::move(c));
    m_target = &t.cells.back().content;
    m_inCell = true;
    m_swallowMark = true;
}

void RtfConverter::TableEnd() {
    while (m_hotspots.size() > m_tables.back().hotspots) {
        HotspotEnd();  // hotspots left open inside the table end with it
    }
    Table &t = m_tables.back();
    m_target = t.outer;
    m_swallowMark = true;
    std::string out;
    if (t.nested) {
        // Flattened: the cells of a row separated by tabs, the rows by line breaks.
        int row = -1;
        for (const Cell &c : t.cells) {
            out += row < 0 ? "" : (c.row != row ? "\\line " : "\\tab ");
            row = c.row;
            out += c.content;
        }
        Close(out);
        return;
    }
    std::map<int, std::vector<const Cell *>> rows;
    int lastRow = 0;
    for (const Cell &c : t.cells) {
        rows[c.row].push_back(&c);
        lastRow = std::max(lastRow, c.row + c.rowSpan - 1);
    }
    for (int row = 0; row <= lastRow && row < 256; ++row) {
        // The cells of this row, with placeholders where a cell above spans down into it.
        struct Slot {
            const Cell *cell;
            bool continued;
        };
        std::vector<Slot> slots;
        for (const Cell &c : t.cells) {
            if (c.row == row) {
                slots.push_back({&c, false});
            } else if (c.row < row && c.row + c.rowSpan - 1 >= row) {
                slots.push_back({&c, true});
            }
        }
        if (slots.empty()) {
            continue;
        }
        std::sort(slots.begin(), slots.end(),
                  [](const Slot &a, const Slot &b) { return a.cell->left < b.cell->left; });
        out += "\\trowd\\trgaph108\\trleft" + std::to_string(t.leftMargin);
        for (const Slot &s : slots) {
            const Cell &c = *s.cell;
            if (c.rowSpan > 1) {
                out += s.continued ? "\\clvmrg" : "\\clvmgf";
            }
            const char *const kSides[] = {"\\clbrdrl", "\\clbrdrr", "\\clbrdrt", "\\clbrdrb"};
            for (int i = 0; i < 4; ++i) {
                if (c.borders[i] > 0) {
                    out += std::string(kSides[i]) + "\\brdrs\\brdrw" + std::to_string(15 * c.borders[i]);
                }
            }
            if (c.background > 0) {
                out += "\\clcbpat" + std::to_string(c.background);
            }
            out += "\\cellx" + std::to_string(t.leftMargin + c.right);
        }
        out += "\n";
        for (const Slot &s : slots) {
            out += "\\pard\\intbl ";
            out += s.continued ? std::string() : s.cell->content;
            out += "\\cell\n";
        }
        out += "\\row\n\\pard ";
    }
    Close(out);
}

void RtfConverter::Close(const std::string &out) {
    m_tables.pop_back();
    m_inCell = !m_tables.empty();
    Out(out);
}

}  // namespace standin::rtf
