// XML rich text to records: fonts and the font table, paragraph definitions, paragraphs and runs.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "../common/Lmbcs.h"
#include "Converter.h"

namespace standin::cd {

namespace nc = notes::cd;

namespace {

// The standard faces by the names DXL gives them.
struct StandardFace {
    const char *name;
    BYTE face;
};
// DXL writes the generic names; the names the Notes client shows are accepted too.
const StandardFace kStandardFaces[] = {
    {"serif", nc::kFaceRoman},
    {"sans-serif", nc::kFaceSwiss},
    {"multilingual", nc::kFaceUnicode},
    {"monospace", nc::kFaceTypewriter},
    {"default serif", nc::kFaceRoman},
    {"default sans serif", nc::kFaceSwiss},
    {"default multi-lingual", nc::kFaceUnicode},
    {"default user interface", nc::kFaceUserInterface},
    {"default monospace", nc::kFaceTypewriter},
};

std::string Lower(std::string_view text) {
    std::string out;
    for (char c : text) {
        out.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    }
    return out;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Text of a run without the indentation of hand-formatted DXL: leading and trailing white space is
// dropped when it holds a line end, and a line end with its indentation inside becomes one space.
std::string RunText(std::string_view text) {
    auto strip = [](std::string_view t, bool front) {
        std::size_t n = 0;
        bool newline = false;
        while (n < t.size() && IsSpace(front ? t[n] : t[t.size() - 1 - n])) {
            newline = newline || (front ? t[n] : t[t.size() - 1 - n]) == '\n';
            ++n;
        }
        return newline ? n : 0;
    };
    std::size_t lead = strip(text, true);
    text.remove_prefix(lead);
    std::size_t trail = strip(text, false);
    text.remove_suffix(trail);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            while (i + 1 < text.size() && IsSpace(text[i + 1])) {
                ++i;
            }
            out.push_back(' ');
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

WORD ClampWord(long v) {
    return static_cast<WORD>(v < 0 ? 0 : (v > 0xFFFF ? 0xFFFF : v));
}

// Line spacing in DXL ("1", "1.25", "1.5", "2") to the record's units: 2 * (spacing - 1).
WORD SpacingUnits(const pugi::xml_attribute &a) {
    if (!a) {
        return 0;
    }
    double v = std::strtod(a.value(), nullptr);
    return v > 1.0 ? ClampWord(std::lround((v - 1.0) * 2.0)) : 0;
}

bool HasToken(std::string_view list, std::string_view token) {
    std::size_t at = 0;
    while (at < list.size()) {
        std::size_t end = list.find(' ', at);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        if (list.substr(at, end - at) == token) {
            return true;
        }
        at = end + 1;
    }
    return false;
}

}  // namespace

bool HoldsBlocks(const pugi::xml_node &node) {
    for (pugi::xml_node c : node.children()) {
        std::string_view n = LocalName(c);
        if (n == "par" || n == "pardef" || n == "table" || n == "section" || n == "richtext") {
            return true;
        }
        if (c.type() == pugi::node_element && n != "font" && n != "run" && HoldsBlocks(c)) {
            return true;
        }
    }
    return false;
}

std::string_view LocalName(const pugi::xml_node &node) {
    std::string_view name = node.name();
    std::size_t colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool ParseLength(std::string_view text, long &twips, bool &percent) {
    std::string s(text);
    char *end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (end == s.c_str() || !std::isfinite(v) || std::fabs(v) > 1e6) {
        return false;
    }
    std::string unit = Lower(end);
    percent = unit == "%";
    double factor = 1440.0;
    if (unit == "cm") {
        factor = 1440.0 / 2.54;
    } else if (unit == "mm") {
        factor = 144.0 / 2.54;
    } else if (unit == "pt") {
        factor = 20.0;
    } else if (unit == "px") {
        factor = 15.0;
    } else if (percent) {
        factor = 1.0;
    } else if (!unit.empty() && unit != "in") {
        return false;
    }
    twips = std::lround(v * factor);
    return true;
}

std::string Lmbcs(std::string_view utf8) {
    return Utf8ToLmbcs(utf8);
}

BYTE FontRegistry::FaceFor(std::string_view utf8Name) {
    std::string lower = Lower(utf8Name);
    for (const StandardFace &f : kStandardFaces) {
        if (lower == f.name) {
            return f.face;
        }
    }
    std::string name = Lmbcs(utf8Name).substr(0, nc::kFaceNameSize - 1);
    BYTE next = nc::kFirstTableFace;
    for (const FontFace &f : m_faces) {
        if (Lower(f.name) == Lower(name)) {
            return f.face;
        }
        next = static_cast<BYTE>(std::max<int>(next, f.face + 1));
    }
    if (next == 0xFF || name.empty()) {
        return nc::kFaceSwiss;  // the table is full: the standard sans-serif face stands in
    }
    bool fixed = lower.find("courier") != std::string::npos || lower.find("mono") != std::string::npos;
    m_faces.push_back(FontFace{next, static_cast<BYTE>(fixed ? 0x31 : 0x22), name});
    m_changed = true;
    return next;
}

std::string FontTableRecords(const std::vector<FontFace> &faces) {
    RecordWriter w;
    w.Begin(nc::kSigFontTable);
    w.PutWord(static_cast<WORD>(faces.size()));
    for (const FontFace &f : faces) {
        w.PutByte(f.face);
        w.PutByte(f.family);
        std::string name = f.name.substr(0, nc::kFaceNameSize - 1);
        w.PutBytes(name);
        w.PutZeros(nc::kFaceNameSize - name.size());
    }
    w.End();
    return w.Take();
}

std::vector<FontFace> ReadFontTable(std::string_view records) {
    std::vector<FontFace> faces;
    (void)WalkRecords(records, [&](const Record &r) {
        if (r.signature != nc::kSigFontTable) {
            return true;
        }
        std::string_view rec = RecordBytes(records, r);
        WORD count = Word(rec, nc::kFontTableCount);
        for (WORD i = 0; i < count; ++i) {
            std::size_t at = nc::kFontTableFaces + i * nc::kFaceEntrySize;
            if (at + nc::kFaceEntrySize > rec.size()) {
                break;
            }
            std::string_view name = rec.substr(at + nc::kFaceEntryName, nc::kFaceNameSize);
            name = name.substr(0, name.find('\0'));
            faces.push_back(FontFace{Byte(rec, at), Byte(rec, at + nc::kFaceEntryFamily), std::string(name)});
        }
        return true;
    });
    return faces;
}

std::string RichTextToRecords(const pugi::xml_node &richtext, RichTextContext &context) {
    Converter converter(context);
    return converter.Run(richtext);
}

std::string_view LmbcsFieldName(std::string_view field) {
    std::size_t at = nc::kFieldSize + Word(field, nc::kFieldDvLength) + Word(field, nc::kFieldItLength) +
                     Word(field, nc::kFieldIvLength);
    return at > field.size() ? std::string_view() : field.substr(at, Word(field, nc::kFieldNameLength));
}

std::string PlainParagraphs(const std::vector<std::string> &lines, DWORD font) {
    RichTextContext context;
    Converter converter(context);
    converter.DefaultPardef();
    for (const std::string &line : lines) {
        converter.StartParagraph(1);
        converter.RawText(line, font);
    }
    return converter.m_out.Take();
}

void Converter::RawText(std::string_view lmbcs, DWORD font) {
    std::string_view rest = lmbcs;
    do {
        std::size_t n = LmbcsFitLength(rest, 10000);
        if (n == 0 && !rest.empty()) {
            n = std::min<std::size_t>(rest.size(), 3);
        }
        m_out.Begin(nc::kSigText);
        m_out.PutDword(font);
        m_out.PutBytes(rest.substr(0, n));
        m_out.End();
        rest.remove_prefix(n);
    } while (!rest.empty());
    m_textInParagraph = true;
}

std::string Converter::Run(const pugi::xml_node &richtext) {
    Blocks(richtext);
    return m_out.Take();
}

void Converter::Blocks(const pugi::xml_node &parent) {
    for (pugi::xml_node child : parent.children()) {
        if (child.type() != pugi::node_element) {
            continue;
        }
        std::string_view n = LocalName(child);
        if (n == "pardef") {
            Pardef(child);
        } else if (n == "par") {
            Par(child);
        } else if (n == "table") {
            Table(child);
        } else if (n == "section") {
            Section(child);
        } else if (n == "block" || n == "richtext" || (n != "subformref" && HoldsBlocks(child))) {
            Blocks(child);
        } else if (n == "compositedata") {
            CompositeData(child);
        } else if (n == "sectiontitle" || n == "code" || n == "cellbackground" || n == "border") {
            continue;  // read by their parents
        } else {
            Problem("the rich-text element <" + std::string(n) + "> is not converted");
        }
    }
}

void Converter::Pardef(const pugi::xml_node &node) {
    long id = std::strtol(node.attribute("id").value(), nullptr, 10);
    if (id <= 0 || id > 0xFFFF) {
        Problem("a <pardef> has no usable id");
        return;
    }
    // Domino's defaults: margins by default, offsets and percentages of zero, the extended flags.
    WORD justify = nc::kJustifyLeft;
    std::string_view align = node.attribute("align").value();
    if (align == "right") {
        justify = nc::kJustifyRight;
    } else if (align == "full") {
        justify = nc::kJustifyBlock;
    } else if (align == "center") {
        justify = nc::kJustifyCenter;
    } else if (align == "none") {
        justify = nc::kJustifyNone;
    }
    WORD flags = nc::kPabFlagHideUnlink;
    WORD flags2 = nc::kPabFlag2MoreFlags | nc::kPabFlag2RmDefault | nc::kPabFlag2FirstDefault |
                  nc::kPabFlag2LmDefault | nc::kPabFlag2RmPercent | nc::kPabFlag2FirstOffset |
                  nc::kPabFlag2LmOffset;
    WORD left = 1440;
    WORD right = 0;
    WORD first = 1440;
    WORD ext[6] = {0, 0, 0, 0, 0, 0};  // offsets and percentages at 70-80
    long v = 0;
    bool percent = false;
    if (ParseLength(node.attribute("leftmargin").value(), v, percent)) {
        flags2 &= static_cast<WORD>(~(nc::kPabFlag2LmDefault | nc::kPabFlag2LmOffset));
        if (percent) {
            flags2 |= nc::kPabFlag2LmPercent;
            ext[1] = ClampWord(v);
        } else {
            left = ClampWord(v);
        }
        first = left;
        flags2 &= static_cast<WORD>(~(nc::kPabFlag2FirstDefault | nc::kPabFlag2FirstOffset));
    }
    if (ParseLength(node.attribute("firstlineleftmargin").value(), v, percent)) {
        flags2 &= static_cast<WORD>(~(nc::kPabFlag2FirstDefault | nc::kPabFlag2FirstOffset));
        if (percent) {
            flags2 |= nc::kPabFlag2FirstPercent;
            ext[3] = ClampWord(v);
        } else {
            first = ClampWord(v);
        }
    }
    if (ParseLength(node.attribute("rightmargin").value(), v, percent)) {
        flags2 &= static_cast<WORD>(~(nc::kPabFlag2RmDefault | nc::kPabFlag2RmPercent));
        if (percent) {
            flags2 |= nc::kPabFlag2RmPercent;
            ext[5] = ClampWord(100 - v);
        } else {
            right = ClampWord(v);
        }
    }
    std::string_view list = node.attribute("list").value();
    if (list == "bullet" || list == "circle" || list == "square" || list == "uncheck" || list == "check") {
        flags |= nc::kPabFlagBullet;
        if (list == "circle") {
            flags2 |= nc::kPabFlag2CircleList;
        } else if (list == "square") {
            flags2 |= nc::kPabFlag2SquareList;
        } else if (list == "uncheck") {
            flags2 |= nc::kPabFlag2UncheckedList;
        } else if (list == "check") {
            flags2 |= nc::kPabFlag2CheckedList;
        }
    } else if (list == "number" || list == "alphaupper" || list == "alphalower" || list == "romanupper" ||
               list == "romanlower") {
        flags |= nc::kPabFlagNumberedList;
        if (list == "alphaupper") {
            flags2 |= nc::kPabFlag2SquareList | nc::kPabFlag2CircleList;
        } else if (list == "alphalower") {
            flags2 |= nc::kPabFlag2CheckedList | nc::kPabFlag2SquareList | nc::kPabFlag2CircleList;
        } else if (list == "romanupper") {
            flags2 |= nc::kPabFlag2CheckedList | nc::kPabFlag2CircleList;
        } else if (list == "romanlower") {
            flags2 |= nc::kPabFlag2CheckedList | nc::kPabFlag2SquareList;
        }
    }
    if (node.attribute("newpage").as_bool()) {
        flags |= nc::kPabFlagPaginateBefore;
    }
    if (node.attribute("keepwithnext").as_bool()) {
        flags |= nc::kPabFlagKeepWithNext;
    }
    if (node.attribute("keeptogether").as_bool()) {
        flags |= nc::kPabFlagKeepTogether;
    }
    std::string_view hide = node.attribute("hide").value();
    const std::pair<const char *, WORD> kHide[] = {
        {"read", nc::kPabFlagHideRead},       {"edit", nc::kPabFlagHideEdit},
        {"print", nc::kPabFlagHidePrint},     {"copy", nc::kPabFlagHideCopy},
        {"preview", nc::kPabFlagHidePreview}, {"previewedit", nc::kPabFlagHidePreviewEdit},
        {"notes", nc::kPabFlagHideNotes},
    };
    for (const auto &h : kHide) {
        if (HasToken(hide, h.first)) {
            flags |= h.second;
        }
    }
    if (HasToken(hide, "web")) {
        flags2 |= nc::kPabFlag2HideWeb;
    }
    // Tab stops: L (left), R (right), D (decimal), C (centre) followed by a length.
    std::vector<std::pair<short, int>> tabs;
    std::string_view tabText = node.attribute("tabs").value();
    std::size_t at = 0;
    while (at < tabText.size() && tabs.size() < nc::kPabMaxTabs) {
        std::size_t end = tabText.find(' ', at);
        if (end == std::string_view::npos) {
            end = tabText.size();
        }
        std::string_view tab = tabText.substr(at, end - at);
        at = end + 1;
        if (tab.size() < 2 || !ParseLength(tab.substr(1), v, percent) || percent) {
            continue;
        }
        int type = tab[0] == 'R' ? 1 : (tab[0] == 'D' ? 2 : (tab[0] == 'C' ? 3 : 0));
        short pos = static_cast<short>(std::min<long>(v, 0x7FFF));
        tabs.emplace_back(type == 2 ? static_cast<short>(-pos) : pos, type);
    }
    m_out.Begin(nc::kSigPabDefinition);
    m_out.PutWord(static_cast<WORD>(id));
    m_out.PutWord(justify);
    m_out.PutWord(SpacingUnits(node.attribute("linespacing")));
    m_out.PutWord(SpacingUnits(node.attribute("spacebefore")));
    m_out.PutWord(SpacingUnits(node.attribute("spaceafter")));
    m_out.PutWord(left);
    m_out.PutWord(right);
    m_out.PutWord(first);
    m_out.PutWord(static_cast<WORD>(tabs.size()));
    DWORD tabTypes = 0;
    for (std::size_t i = 0; i < nc::kPabMaxTabs; ++i) {
        m_out.PutWord(i < tabs.size() ? static_cast<WORD>(tabs[i].first) : 0);
        if (i < tabs.size() && i < 16) {
            tabTypes |= static_cast<DWORD>(tabs[i].second) << (2 * i);
        }
    }
    m_out.PutWord(flags);
    m_out.PutDword(tabTypes);
    m_out.PutWord(flags2);
    for (WORD e : ext) {
        m_out.PutWord(e);
    }
    m_out.PutDword(1);  // extended flags as Domino writes them
    m_out.PutDword(4);
    m_out.End();
    m_defined[static_cast<WORD>(id)] = true;
    m_lastPabId = static_cast<WORD>(id);
}

void Converter::DefaultPardef() {
    WORD id = 1;
    while (m_defined.count(id) != 0) {
        ++id;
    }
    pugi::xml_document doc;
    pugi::xml_node pd = doc.append_child("pardef");
    pd.append_attribute("id") = static_cast<unsigned>(id);
    Pardef(pd);
}

WORD Converter::PabIdFor(const pugi::xml_node &par) {
    long id = std::strtol(par.attribute("def").value(), nullptr, 10);
    if (id > 0 && id <= 0xFFFF && m_defined.count(static_cast<WORD>(id)) != 0) {
        return static_cast<WORD>(id);
    }
    if (m_lastPabId == 0) {
        DefaultPardef();
    }
    return m_lastPabId;
}

WORD Converter::CurrentPabId() {
    if (m_currentPabId != 0) {
        return m_currentPabId;
    }
    if (m_lastPabId == 0) {
        DefaultPardef();
    }
    return m_lastPabId;
}

void Converter::StartParagraph(WORD pabId) {
    m_currentPabId = pabId;
    if (m_anyParagraph) {
        m_out.Begin(nc::kSigParagraph);
        m_out.End();
    }
    m_anyParagraph = true;
    ++m_paragraphs;
    m_textInParagraph = false;
    m_out.Begin(nc::kSigPabReference);
    m_out.PutWord(pabId);
    m_out.End();
}

void Converter::Par(const pugi::xml_node &node) {
    StartParagraph(PabIdFor(node));
    m_lastFont = RunFont();
    Inline(node, m_lastFont);
    if (!m_textInParagraph) {
        Text("", m_lastFont);  // an empty paragraph keeps its font in an empty run, as Domino writes it
    }
}

RunFont Converter::FontOf(const pugi::xml_node &font, RunFont base) {
    if (!font) {
        return base;
    }
    if (pugi::xml_attribute name = font.attribute("name")) {
        base.face = m_context.fonts.FaceFor(name.value());
    }
    if (pugi::xml_attribute size = font.attribute("size")) {
        long v = std::strtol(size.value(), nullptr, 10);
        base.size = static_cast<BYTE>(v < 1 ? 1 : (v > 255 ? 255 : v));
    }
    if (pugi::xml_attribute color = font.attribute("color")) {
        Rgb rgb;
        if (ParseDxlColor(color.value(), rgb)) {
            base.color = NearestPaletteColor(rgb);
            base.hasRgb = base.color != 0;
            base.rgb = rgb;
        } else {
            base.color = 0;
            base.hasRgb = false;
        }
    }
    if (pugi::xml_attribute style = font.attribute("style")) {
        std::string_view s = style.value();
        base.attrib = 0;
        const std::pair<const char *, BYTE> kStyles[] = {
            {"bold", nc::kAttribBold},           {"italic", nc::kAttribItalic},
            {"underline", nc::kAttribUnderline}, {"strikethrough", nc::kAttribStrike},
            {"superscript", nc::kAttribSuper},   {"subscript", nc::kAttribSub},
        };
        for (const auto &st : kStyles) {
            if (HasToken(s, st.first)) {
                base.attrib |= st.second;
            }
        }
    }
    return base;
}

void Converter::Text(std::string_view utf8, const RunFont &font) {
    std::string lmbcs = Lmbcs(utf8);
    m_textInParagraph = true;
    // Long runs are split into records of at most 10,000 bytes on character boundaries.
    std::string_view rest = lmbcs;
    do {
        std::size_t n = LmbcsFitLength(rest, 10000);
        if (n == 0 && !rest.empty()) {
            n = std::min<std::size_t>(rest.size(), 3);
        }
        if (font.hasRgb) {
            m_out.Begin(nc::kSigBegin);
            m_out.PutWord(0);
            m_out.PutWord(nc::kSigText);
            m_out.End();
        }
        m_out.Begin(nc::kSigText);
        m_out.PutDword(font.Id());
        m_out.PutBytes(rest.substr(0, n));
        m_out.End();
        if (font.hasRgb) {
            m_out.Begin(nc::kSigColor);
            m_out.PutWord(nc::kColorIsRgb);
            m_out.PutByte(font.rgb.r);
            m_out.PutByte(font.rgb.g);
            m_out.PutByte(font.rgb.b);
            m_out.PutByte(0);
            m_out.End();
            m_out.Begin(nc::kSigEnd);
            m_out.PutWord(0);
            m_out.PutWord(nc::kSigText);
            m_out.End();
        }
        rest.remove_prefix(n);
    } while (!rest.empty());
}

void Converter::Field(const pugi::xml_node &node, const RunFont &font) {
    std::string name = Lmbcs(node.attribute("name").value()).substr(0, 0x100);
    if (m_context.field) {
        m_out.Append(m_context.field(name));
        m_textInParagraph = true;
        return;
    }
    // A form keeps its fields as field records, which a document rendered through the form fills in.
    std::string_view type = node.attribute("type").value();
    WORD dataType = notes::kTypeText;
    if (type == "richtext" || type == "richtextlite") {
        dataType = notes::kTypeComposite;
    } else if (type == "number") {
        dataType = notes::kTypeNumber;
    } else if (type == "datetime") {
        dataType = notes::kTypeTime;
    }
    m_out.Begin(nc::kSigField);
    m_out.PutWord(0);
    m_out.PutWord(dataType);
    m_out.PutWord(0);
    m_out.PutZeros(8);
    m_out.PutDword(font.Id());
    m_out.PutWord(0);
    m_out.PutWord(0);
    m_out.PutWord(0);
    m_out.PutWord(0);
    m_out.PutWord(static_cast<WORD>(name.size()));
    m_out.PutWord(0);
    m_out.PutWord(0);
    m_out.PutBytes(name);
    m_out.End();
    m_textInParagraph = true;
}

void Converter::Inline(const pugi::xml_node &parent, const RunFont &inherited) {
    RunFont font = FontOf(parent.child("font"), inherited);
    m_lastFont = font;
    for (pugi::xml_node child : parent.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            std::string text = RunText(child.value());
            if (!text.empty()) {
                Text(text, font);
            }
            continue;
        }
        if (child.type() != pugi::node_element) {
            continue;
        }
        std::string_view n = LocalName(child);
        if (n == "font") {
            continue;
        }
        if (n == "run") {
            Inline(child, font);
        } else if (n == "break") {
            Text(std::string_view("\0", 1), font);  // a line break inside the paragraph
        } else if (n == "urllink") {
            UrlLink(child, font);
        } else if (n == "doclink" || n == "viewlink" || n == "databaselink") {
            NoteLink(child, font);
        } else if (n == "attachmentref") {
            AttachmentRef(child, font);
        } else if (n == "picture") {
            Picture(child);
        } else if (n == "compositedata") {
            CompositeData(child);
        } else if (n == "field") {
            Field(child, font);
        } else if (n == "horizrule") {
            m_out.Begin(nc::kSigHorizontalRule);
            m_out.PutZeros(28);
            m_out.End();
        } else if (n == "anchor" || n == "border" || n == "code") {
            continue;
        } else if (HoldsBlocks(child)) {
            Blocks(child);  // layers and other containers of whole paragraphs
        } else {
            Inline(child, font);  // unknown inline wrappers keep their text
        }
    }
}

}  // namespace standin::cd
