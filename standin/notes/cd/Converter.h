// The state of one XML rich-text conversion, shared by the files that convert paragraphs and runs,
// tables and sections, and pictures and links.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include <pugixml.hpp>

#include "RichTextXml.h"

namespace standin::cd {

// The element name without a namespace prefix.
std::string_view LocalName(const pugi::xml_node &node);
// True when the element holds paragraphs or tables somewhere below it (layers and the like).
bool HoldsBlocks(const pugi::xml_node &node);
// A DXL length ("1in", "2.5cm", "12pt", "30px", "1440" twips when unitless is false: inches) in twips.
bool ParseLength(std::string_view text, long &twips, bool &percent);
// The LMBCS form of UTF-8 text.
std::string Lmbcs(std::string_view utf8);

// A font as the conversion carries it: the FONTID and, for colours outside the standard sixteen,
// the RGB value that a CDCOLOR record gives.
struct RunFont {
    BYTE face = notes::cd::kFaceSwiss;
    BYTE attrib = 0;
    BYTE color = 0;
    BYTE size = 10;
    bool hasRgb = false;
    Rgb rgb;
    DWORD Id() const {
        return static_cast<DWORD>(face) | (static_cast<DWORD>(attrib) << 8) |
               (static_cast<DWORD>(color) << 16) | (static_cast<DWORD>(size) << 24);
    }
};

class Converter {
public:
    explicit Converter(RichTextContext &context) : m_context(context) {}
    std::string Run(const pugi::xml_node &richtext);

    // Blocks: paragraphs, definitions, tables, sections, nested blocks.
    void Blocks(const pugi::xml_node &parent);
    void Pardef(const pugi::xml_node &node);
    void Par(const pugi::xml_node &node);
    void Table(const pugi::xml_node &node);
    void Section(const pugi::xml_node &node);
    // Inline content of a paragraph, run or link, in the given font.
    void Inline(const pugi::xml_node &parent, const RunFont &font);
    void Text(std::string_view utf8, const RunFont &font);
    RunFont FontOf(const pugi::xml_node &font, RunFont base);
    void Picture(const pugi::xml_node &node);
    void Field(const pugi::xml_node &node, const RunFont &font);
    void UrlLink(const pugi::xml_node &node, const RunFont &font);
    void NoteLink(const pugi::xml_node &node, const RunFont &font);
    void AttachmentRef(const pugi::xml_node &node, const RunFont &font);
    void CompositeData(const pugi::xml_node &node);
    void Problem(const std::string &text) { m_context.problems.push_back(text); }

    // Starts a paragraph: the paragraph mark between paragraphs, then the style reference.
    void StartParagraph(WORD pabId);
    // The id of a paragraph's definition; a default definition is written when none was.
    WORD PabIdFor(const pugi::xml_node &par);
    void DefaultPardef();
    // Appends a text record of LMBCS text in a font.
    void RawText(std::string_view lmbcs, DWORD font);
    // The style of the paragraph in progress, for tables and sections that start a paragraph.
    WORD CurrentPabId();
    void BeginHotspot(WORD signature, WORD type, DWORD flags, std::string_view data);
    void EndHotspot(WORD signature);

    RecordWriter m_out;
    RichTextContext &m_context;
    bool m_anyParagraph = false;
    std::size_t m_paragraphs = 0;
    bool m_textInParagraph = false;
    WORD m_lastPabId = 0;
    WORD m_currentPabId = 0;
    RunFont m_lastFont;              // the font of the last run, which an empty paragraph keeps
    std::map<WORD, bool> m_defined;  // paragraph ids written so far
    int m_depth = 0;                 // nesting of tables and sections, bounded
};

}  // namespace standin::cd
