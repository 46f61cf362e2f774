// Small pieces of the HTML form of rich text shared by the renderer and the table layout: formatted
// appends, escaping, font spans and the table and cell elements.
#pragma once

#include <string>
#include <string_view>

#include "richtext/RichTextModel.h"

namespace richtext::html {

// Appends printf-formatted text.
void Appendf(std::string &out, const char *format, ...) __attribute__((format(printf, 2, 3)));

// Run text: a single space becomes "&nbsp;"; otherwise & < > " are entities, a line feed is a
// break and a tab four non-breaking spaces.
void AppendRunText(std::string &out, std::string_view text);
// Document text inside an attribute value or between elements: & < > " ' as entities.
void AppendEscaped(std::string &out, std::string_view text);

// The span of a text run (font-size as stored, also 0) and its closing tags.
void AppendRunSpanOpen(std::string &out, const NotesFont &font);
// The span of a section title or tab label (font-size 10 when the font has 0).
void AppendTitleSpanOpen(std::string &out, const NotesFont &font);
void AppendSpanClose(std::string &out, const FontId &font);

// The table element's start tag: id and extra attributes are left out when empty.
void AppendTableStart(std::string &out, const NotesTable &table, std::string_view id, std::string_view extra);
// A cell element with its content and "</td>".
void AppendCell(std::string &out, const NotesTable &table, const NotesTableCell &cell);

}  // namespace richtext::html
