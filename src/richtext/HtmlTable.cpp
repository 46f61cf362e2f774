// Table layout of the HTML form: the grid of cell slots with spans, alternating colours, and the plain
// and tabbed table mark-up.
#include <algorithm>

#include "richtext/HtmlMarkup.h"
#include "richtext/HtmlRenderer.h"

namespace richtext {

namespace {

using html::Appendf;

constexpr char kShowRowScript[] =
    "<script language=\"javascript\" type=\"text/javascript\">\n"
    "function ShowRow(TableId, Row)\n"
    "{\n"
    "\tDataTable = document.getElementById(TableId + '_data');\n"
    "\tTabsTable = document.getElementById(TableId + '_tabs');\n"
    "\tTabsTableCells = TabsTable.rows(0).cells;\n"
    "\tRowCount = DataTable.rows.length - 1;\n"
    "\tfor (i = 0; i < RowCount; i++) {\n"
    "\t\tDataTableRow = DataTable.rows(i);\n"
    "\t\tif (i == Row) {\n"
    "\t\t\tDataTableRow.style.display = '';\n"
    "\t\t\tif (DataTableRow.cells(0).style.backgroundColor) {\n"
    "\t\t\t\tTabsTableCells(i).style.borderBottomColor = DataTableRow.cells(0).style.backgroundColor;\n"
    "\t\t\t\tfor (n = 0; n < DataTable.rows(RowCount).cells.length; n++) {\n"
    "\t\t\t\t\tDataTable.rows(RowCount).cells(n).style.backgroundColor = "
    "DataTableRow.cells(0).style.backgroundColor;\n"
    "\t\t\t\t}\n"
    "\t\t\t} else {\n"
    "\t\t\t\tTabsTableCells(i).style.borderBottomColor = 'FFFFFF'\n"
    "\t\t\t\tTabsTableCells(i).style.backgroundColor = 'FFFFFF'\n"
    "\t\t\t}\n"
    "\t\t} else {\n"
    "\t\t\tDataTableRow.style.display = 'none';\n"
    "\t\t\tTabsTableCells(i).style.borderBottomWidth = 1;\n"
    "\t\t\tTabsTableCells(i).style.borderBottomColor = 'C0C0C0';\n"
    "\t\t}\n"
    "\t}\n"
    "}\n"
    "</script>\n";

constexpr char kWhite[] = "FFFFFF";
constexpr char kGrey[] = "C0C0C0";

// rows x columns slots, each the index of a cell or -1.
struct Grid {
    int rows = 0;
    int columns = 0;
    std::vector<int> slots;
    int &At(int row, int column) { return slots[static_cast<std::size_t>(row * columns + column)]; }
};

Grid Layout(NotesTable &table) {
    Grid grid;
    for (const NotesTableCell &cell : table.cells) {
        grid.rows = std::max(grid.rows, cell.row + 1);
        grid.columns = std::max(grid.columns, cell.column + 1);
    }
    if (grid.rows < 1 || grid.columns < 1) {
        grid.rows = grid.columns = 0;
        return grid;
    }
    grid.slots.assign(static_cast<std::size_t>(grid.rows * grid.columns), -1);
    for (std::size_t i = 0; i < table.cells.size(); ++i) {
        NotesTableCell &cell = table.cells[i];
        const int index = static_cast<int>(i);
        if (cell.rowSpan < 2 && cell.columnSpan < 2) {
            grid.At(cell.row, cell.column) = index;
            continue;
        }
        // A spanning cell moves to the top-left of its block, keeping the label found there.
        const int top = std::max(0, cell.row - std::max(cell.rowSpan, 1) + 1);
        const int left = std::max(0, cell.column - std::max(cell.columnSpan, 1) + 1);
        const int there = grid.At(top, left);
        if (there >= 0 && there != index && !table.cells[static_cast<std::size_t>(there)].label.empty()) {
            cell.label = table.cells[static_cast<std::size_t>(there)].label;
        }
        for (int r = top; r <= cell.row; ++r) {
            for (int c = left; c <= cell.column; ++c) {
                grid.At(r, c) = -1;
            }
        }
        grid.At(top, left) = index;
    }
    return grid;
}

// Cells without a colour of their own take the row's (or column's) alternating colour.
void Alternate(NotesTable &table, Grid &grid) {
    if (table.alternate == kAlternateNone) {
        return;
    }
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.columns; ++c) {
            const int index = grid.At(r, c);
            if (index < 0) {
                continue;
            }
            NotesTableCell &cell = table.cells[static_cast<std::size_t>(index)];
            if (cell.HasBackground()) {
                continue;
            }
            const int position = table.alternate == kAlternateRows ? r : c;
            cell.background = position % 2 == 0 ? table.color1 : table.color2;
            cell.flags |= kCellBackground;
        }
    }
}

void WritePlain(NotesTable &table, Grid &grid, std::string &out) {
    html::AppendTableStart(out, table, {}, {});
    for (int r = 0; r < grid.rows; ++r) {
        out += "\n<tr>";
        for (int c = 0; c < grid.columns; ++c) {
            if (const int index = grid.At(r, c); index >= 0) {
                html::AppendCell(out, table, table.cells[static_cast<std::size_t>(index)]);
            }
        }
        out += "\n</tr>\n";
    }
    out += "</table>";
}

void WriteTabbed(NotesTable &table, Grid &grid, const std::vector<bool> &ownColor,
                 const NotesRtfAdvancedSettings &options, RenderState &state, std::string &out) {
    const int n = ++state.SectionNumber;
    if (!options.RtfAdvancedJavascriptAsLibrary) {
        out += kShowRowScript;
    }
    auto cellAt = [&](int r, int c) -> NotesTableCell * {
        const int index = grid.At(r, c);
        return index < 0 ? nullptr : &table.cells[static_cast<std::size_t>(index)];
    };
    const NotesTableCell *first = cellAt(0, 0);
    char id[32];
    char extra[48];
    std::snprintf(id, sizeof id, "id%d_tabs", n);
    std::snprintf(extra, sizeof extra, "Cellpadding=3 Width=%d", first != nullptr ? first->width : 0);
    html::AppendTableStart(out, table, id, extra);
    out += "\n<tr>";
    NotesFont labelFont = table.labelFont.value_or(NotesFont{FontId{}, StandardFaceName(0)});
    for (int r = 0; r < grid.rows; ++r) {
        const NotesTableCell *f = cellAt(r, 0);
        if (f == nullptr) {
            continue;
        }
        const bool colored = ownColor[static_cast<std::size_t>(grid.At(r, 0))];
        // Alternating colours by row reach the tab of a cell without its own colour.
        const std::string background = colored || table.alternate == kAlternateRows ? f->background : kWhite;
        const std::string bottomColor =
            colored ? (r == 0 ? f->background : kGrey) : (r == 0 ? kWhite : kGrey);
        const int bottomWidth = colored || r != 0 ? 1 : 0;
        Appendf(out,
                "\n<td style=\"border-style: solid; white-space:nowrap; border-color:#C0C0C0; "
                "border-bottom-color: "
                "#%s; border-width: 1px 1px %dpx 1px; background-color: #%s; width: 1%%\" "
                "onClick=\"ShowRow('id%d', "
                "%d)\">",
                bottomColor.c_str(), bottomWidth, background.c_str(), n, r);
        html::AppendTitleSpanOpen(out, labelFont);
        html::AppendEscaped(out, f->label);
        html::AppendSpanClose(out, labelFont.id);
        out += "</td>";
    }
    out +=
        "<td style=\"border-style: solid; border-color:#C0C0C0; border-width: 0px 0px 1px 0px; width=100%\">";
    out += "</td>";
    out += "\n</tr>\n";
    out += "\n</table>";

    std::snprintf(id, sizeof id, "id%d_data", n);
    html::AppendTableStart(out, table, id, {});
    for (int r = 0; r < grid.rows; ++r) {
        out += r == 0 ? "\n<tr>" : "\n<tr style=\"display:none\">";
        for (int c = 0; c < grid.columns; ++c) {
            if (NotesTableCell *cell = cellAt(r, c); cell != nullptr) {
                cell->borderTop = 0;
                cell->borderBottom = 0;
                html::AppendCell(out, table, *cell);
            }
        }
        out += "\n</tr>\n";
    }
    out += "\n<tr>";
    for (int c = 0; c < grid.columns; ++c) {
        const NotesTableCell *cell = cellAt(0, c);
        if (cell == nullptr) {
            continue;
        }
        if (cell->HasBackground()) {
            Appendf(out,
                    "<td style=\"border-style: solid; border-color: #C0C0C0; border-width: 0px 1px 1px 1px; "
                    "background-color: #%s\"></td>",
                    cell->background.c_str());
        } else {
            out +=
                "<td style=\"border-style: solid; border-color: #C0C0C0; border-width: 0px 1px 1px "
                "1px;\"></td>";
        }
    }
    out += "\n</tr>\n";
    out += "</table>";
}

}  // namespace

void HtmlRenderer::WriteTable(NotesTable &table, const NotesRtfAdvancedSettings &options, RenderState &state,
                              std::string &out) {
    table.innerBorderColor = kGrey;
    Grid grid = Layout(table);
    if (grid.rows < 1 || grid.columns < 1) {
        out += "</table>";
        return;
    }
    std::vector<bool> ownColor;
    for (const NotesTableCell &cell : table.cells) {
        ownColor.push_back(cell.HasBackground());
    }
    Alternate(table, grid);
    if (table.tabbed) {
        WriteTabbed(table, grid, ownColor, options, state, out);
        return;
    }
    WritePlain(table, grid, out);
}

}  // namespace richtext
