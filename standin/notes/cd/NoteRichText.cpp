// XML rich-text items of a note to records, with $Fonts and $Links.
#include "NoteRichText.h"

#include <cstring>

#include "../dxl/Bytes.h"
#include "Converter.h"

namespace standin::cd {

namespace nc = notes::cd;

static_assert(sizeof(NOTELINK) == 40);

namespace {

// Replaces an item's value: the new bytes go at the end of the note's data.
void SetValue(dxl::Note &note, std::size_t index, const std::string &value) {
    dxl::ItemRecord &r = note.items[index];
    r.valueOffset = static_cast<std::uint32_t>(note.data.size());
    r.valueLength = static_cast<std::uint32_t>(value.size());
    note.data.append(value);
}

std::vector<NOTELINK> ReadLinks(std::string_view value) {
    std::vector<NOTELINK> links;
    if (value.size() < 4 || Word(value, 0) != notes::kTypeNoteLinkList) {
        return links;
    }
    WORD count = Word(value, 2);
    for (WORD i = 0; i < count && 4 + (i + 1) * nc::kNoteLinkSize <= value.size(); ++i) {
        DWORD words[10];
        std::size_t at = 4 + i * nc::kNoteLinkSize;
        for (std::size_t k = 0; k < 10; ++k) {
            words[k] = Dword(value, at + 4 * k);
        }
        NOTELINK link{};
        std::memcpy(&link, words, sizeof link);
        links.push_back(link);
    }
    return links;
}

std::string LinksValue(const std::vector<NOTELINK> &links) {
    std::string v;
    dxl::AppendWord(v, notes::kTypeNoteLinkList);
    dxl::AppendWord(v, static_cast<WORD>(links.size()));
    for (const NOTELINK &l : links) {
        DWORD words[10];
        std::memcpy(words, &l, sizeof words);
        for (std::size_t k = 0; k < 10; ++k) {
            dxl::AppendDword(v, words[k]);
        }
    }
    return v;
}

// Sets a generated item: the existing one when the note has it, else a new item that is not
// written back (the XML it comes from is), so a database written and read again gets it once.
void Store(dxl::Note &note, const char *name, const std::string &value) {
    long index = note.FindItem(name);
    if (index >= 0) {
        SetValue(note, static_cast<std::size_t>(index), value);
        return;
    }
    note.AddItem(name, 0, value);
    note.items.back().xmlIndex = static_cast<std::int32_t>(note.Extra().preservedXml.size());
    note.Extra().preservedXml.emplace_back();
}

}  // namespace

void BuildRichTextItems(dxl::Note &note, const std::string &where, std::vector<std::string> &diagnostics) {
    RichTextContext context;
    bool any = false;
    std::size_t storedLinks = 0;
    for (std::size_t i = 0; i < note.items.size(); ++i) {
        const dxl::ItemRecord &r = note.items[i];
        if (note.ItemType(i) != notes::kTypeComposite || r.valueLength != 2 || r.xmlIndex < 0) {
            continue;
        }
        if (!any) {
            long fonts = note.FindItem("$Fonts");
            if (fonts >= 0) {
                std::string_view v = note.ItemValue(static_cast<std::size_t>(fonts));
                context.fonts = FontRegistry(ReadFontTable(v.size() >= 2 ? v.substr(2) : std::string_view()));
            }
            long links = note.FindItem("$Links");
            if (links >= 0) {
                context.links = ReadLinks(note.ItemValue(static_cast<std::size_t>(links)));
                storedLinks = context.links.size();
            }
            any = true;
        }
        pugi::xml_document doc;
        const std::string &xml = note.Extra().preservedXml[static_cast<std::size_t>(r.xmlIndex)];
        if (!doc.load_buffer(xml.data(), xml.size(), pugi::parse_default | pugi::parse_ws_pcdata_single,
                             pugi::encoding_utf8)) {
            continue;
        }
        pugi::xml_node value;
        for (pugi::xml_node child : doc.document_element().children()) {
            if (child.type() == pugi::node_element) {
                value = child;
                break;
            }
        }
        std::string records;
        if (LocalName(value) == "compositedata") {
            Converter converter(context);
            converter.CompositeData(value);
            records = converter.m_out.Take();
        } else {
            records = RichTextToRecords(value, context);
        }
        std::string itemValue;
        dxl::AppendWord(itemValue, notes::kTypeComposite);
        itemValue += records;
        SetValue(note, i, itemValue);
        for (const std::string &p : context.problems) {
            diagnostics.push_back(where + ", item '" + std::string(note.ItemName(i)) + "': " + p);
        }
        context.problems.clear();
    }
    // A form's or subform's body becomes its $Body item, which renders documents through the form.
    const std::string &designXml = static_cast<const dxl::Note &>(note).Extra().designXml;
    if (!designXml.empty() && note.FindItem("$Body") < 0) {
        pugi::xml_document doc;
        if (doc.load_buffer(designXml.data(), designXml.size(),
                            pugi::parse_default | pugi::parse_ws_pcdata_single, pugi::encoding_utf8)) {
            for (pugi::xml_node child : doc.document_element().children()) {
                if (LocalName(child) != "body") {
                    continue;
                }
                for (pugi::xml_node rt : child.children()) {
                    if (LocalName(rt) == "richtext") {
                        std::string v;
                        dxl::AppendWord(v, notes::kTypeComposite);
                        v += RichTextToRecords(rt, context);
                        Store(note, "$Body", v);
                        for (const std::string &p : context.problems) {
                            diagnostics.push_back(where + ", the form body: " + p);
                        }
                        context.problems.clear();
                        break;
                    }
                }
                break;
            }
        }
    }
    if (context.fonts.Changed()) {
        std::string v;
        dxl::AppendWord(v, notes::kTypeComposite);
        v += FontTableRecords(context.fonts.Faces());
        Store(note, "$Fonts", v);
    }
    if (context.links.size() != storedLinks) {
        Store(note, "$Links", LinksValue(context.links));
    }
}

}  // namespace standin::cd
