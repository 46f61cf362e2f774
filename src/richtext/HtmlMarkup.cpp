// Formatted mark-up pieces of the HTML form of rich text.
#include "richtext/HtmlMarkup.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>

namespace richtext::html {

void Appendf(std::string &out, const char *format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (n < 0) {
        return;
    }
    if (static_cast<std::size_t>(n) < sizeof buffer) {
        out.append(buffer, static_cast<std::size_t>(n));
        return;
    }
    std::string large(static_cast<std::size_t>(n) + 1, '\0');
    va_start(args, format);
    std::vsnprintf(large.data(), large.size(), format, args);
    va_end(args);
    large.pop_back();
    out += large;
}

namespace {

// The entity of a mark-up character; false for any other character.
bool AppendEntity(std::string &out, char c) {
    switch (c) {
        case '&':
            out += "&amp;";
            return true;
        case '<':
            out += "&lt;";
            return true;
        case '>':
            out += "&gt;";
            return true;
        case '"':
            out += "&quot;";
            return true;
        default:
            return false;
    }
}

}  // namespace

void AppendRunText(std::string &out, std::string_view text) {
    if (text == " ") {
        out += "&nbsp;";
        return;
    }
    for (char c : text) {
        if (AppendEntity(out, c)) {
            continue;
        }
        if (c == '\n') {
            out += "<br />";
        } else if (c == '\t') {
            out += "&nbsp;&nbsp;&nbsp;&nbsp;";
        } else {
            out += c;
        }
    }
}

void AppendEscaped(std::string &out, std::string_view text) {
    for (char c : text) {
        if (AppendEntity(out, c)) {
            continue;
        }
        if (c == '\'') {
            out += "&#39;";
        } else {
            out += c;
        }
    }
}

namespace {

void AppendAttributes(std::string &out, const FontId &font) {
    const std::uint8_t a = font.attributes;
    if ((a & kFontBold) != 0) {
        out += "; font-weight: bold;";
    }
    if ((a & kFontItalic) != 0) {
        out += "; font-style: italic;";
    }
    if ((a & kFontUnderline) != 0 && (a & kFontStrike) != 0) {
        out += "; text-decoration: underline line-through;";
    } else if ((a & kFontUnderline) != 0) {
        out += "; text-decoration: underline;";
    } else if ((a & kFontStrike) != 0) {
        out += "; text-decoration: line-through;";
    }
    out += "\">";
    if ((a & kFontSuperscript) != 0) {
        out += "<sup>";
    }
    if ((a & kFontSubscript) != 0) {
        out += "<sub>";
    }
}

}  // namespace

// Written without printf: a span opens every text run.
void AppendRunSpanOpen(std::string &out, const NotesFont &font) {
    out += "<span style=\"font-family: ";
    AppendEscaped(out, font.face);
    out += "; font-size: ";
    char size[8];
    const auto end = std::to_chars(size, size + sizeof size, static_cast<int>(font.id.size)).ptr;
    out.append(size, end);
    out += "pt; color: #";
    out += PaletteColor(font.id.color);
    AppendAttributes(out, font.id);
}

void AppendTitleSpanOpen(std::string &out, const NotesFont &font) {
    out += "<span style=\"font-family: ";
    AppendEscaped(out, font.face);
    Appendf(out, "; color: #%s; font-size: %dpt;", PaletteColor(font.id.color),
            font.id.size == 0 ? 10 : font.id.size);
    AppendAttributes(out, font.id);
}

void AppendSpanClose(std::string &out, const FontId &font) {
    if ((font.attributes & kFontSuperscript) != 0) {
        out += "</sup>";
    }
    if ((font.attributes & kFontSubscript) != 0) {
        out += "</sub>";
    }
    out += "</span>";
}

void AppendTableStart(std::string &out, const NotesTable &table, std::string_view id,
                      std::string_view extra) {
    out += "\n<table";
    if (!id.empty()) {
        out += " id=\"";
        out += id;
        out += '"';
    }
    if (!extra.empty()) {
        out += ' ';
        out += extra;
    }
    out += " style=\"border-collapse:collapse; border-style: solid; border-width: 0px";
    if (table.fullWidth) {
        out += "; width: 100%";
    } else if (table.alignment == kTableCentred) {
        out += "; margin-left: auto; margin-right: auto";
    } else if (table.alignment == kTableRight) {
        out += "; float: right";
    }
    out += "\">";
}

void AppendCell(std::string &out, const NotesTable &table, const NotesTableCell &cell) {
    out += "\n<td";
    if (cell.columnSpan > 1) {
        Appendf(out, " colspan=%d", cell.columnSpan);
    }
    if (cell.rowSpan > 1) {
        Appendf(out, " rowspan=%d", cell.rowSpan);
    }
    if ((cell.flags & kCellMiddle) != 0) {
        out += " valign=\"middle\"";
    } else if ((cell.flags & kCellBottom) != 0) {
        out += " valign=\"bottom\"";
    } else {
        out += " valign=\"top\"";
    }
    if (cell.usePercent) {
        Appendf(out, " style=\"width: %.1f%%", static_cast<double>(cell.percentWidth));
    } else {
        Appendf(out, " style=\"width: %dpx", cell.width);
    }
    if (table.horizontalPadding > 0 || table.verticalPadding >= 1) {
        Appendf(out, "; padding: %dpx %dpx", table.verticalPadding, table.horizontalPadding);
    }
    Appendf(out, "; border-style: solid; border-width: %dpx %dpx %dpx %dpx", cell.borderTop, cell.borderRight,
            cell.borderBottom, cell.borderLeft);
    Appendf(out, "; border-color: #%s", table.innerBorderColor.value_or("C0C0C0").c_str());
    if (cell.HasBackground()) {
        Appendf(out, "; background-color: #%s", cell.background.c_str());
    }
    out += ";\">";
    out += cell.content;
    out += "</td>";
}

}  // namespace richtext::html
