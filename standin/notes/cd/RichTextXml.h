// DXL's XML rich text (<richtext> and what it holds) to the composite-data records Domino keeps for
// the same content: paragraph definitions and references, text runs with their fonts, tables,
// sections, links, attachment hotspots, pictures and raw <compositedata> fragments.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <pugixml.hpp>

#include "Palette.h"
#include "Records.h"

namespace standin::cd {

// One entry of a note's font table ($Fonts): faces 5 and up.
struct FontFace {
    BYTE face = 0;
    BYTE family = 0;
    std::string name;  // LMBCS
};

// The face numbers of a note: the five standard faces by their DXL names, the rest through the
// note's font table, which grows when rich text names a face it does not hold yet.
class FontRegistry {
public:
    FontRegistry() = default;
    explicit FontRegistry(std::vector<FontFace> faces) : m_faces(std::move(faces)) {}
    // The face number of a DXL font name (UTF-8); unknown names are added to the table.
    BYTE FaceFor(std::string_view utf8Name);
    const std::vector<FontFace> &Faces() const { return m_faces; }
    bool Changed() const { return m_changed; }

private:
    std::vector<FontFace> m_faces;
    bool m_changed = false;
};

// The records of a CDFONTTABLE for the faces, and the faces of such a record.
std::string FontTableRecords(const std::vector<FontFace> &faces);
std::vector<FontFace> ReadFontTable(std::string_view records);

// What the conversion reads and adds beyond the item itself.
struct RichTextContext {
    FontRegistry fonts;
    std::vector<NOTELINK> links;  // the note's $Links entries; document links index into them
    // Gives the records that stand in place of a <field> of a form (nothing when not set).
    std::function<std::string(std::string_view fieldName)> field;
    std::vector<std::string> problems;  // elements skipped, with the reason
};

// The item name (LMBCS) of a CDFIELD record; empty when the record is too short.
std::string_view LmbcsFieldName(std::string_view field);

// Paragraphs of plain LMBCS lines in one font, after a default paragraph definition (id 1).
std::string PlainParagraphs(const std::vector<std::string> &lines, DWORD font);

// Converts the content of a <richtext> (or any element holding rich-text blocks) to records,
// without the item's type word.
std::string RichTextToRecords(const pugi::xml_node &richtext, RichTextContext &context);

}  // namespace standin::cd
