// Fuzz target of the XML rich-text converter: any bytes as the XML of a <richtext>. What comes out
// walks completely and stays within a bound of the input's size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <pugixml.hpp>

#include "cd/Records.h"
#include "cd/RichTextXml.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    pugi::xml_document doc;
    if (!doc.load_buffer(data, size, pugi::parse_default | pugi::parse_ws_pcdata_single)) {
        return 0;
    }
    standin::cd::RichTextContext context;
    std::string records = standin::cd::RichTextToRecords(doc.document_element(), context);
    if (standin::cd::WalkRecords(records, [](const standin::cd::Record &) { return true; }) !=
        standin::cd::WalkEnd::Complete) {
        std::abort();  // the converter wrote a damaged record
    }
    if (records.size() > 200 * size + 4096) {
        std::abort();
    }
    std::string fonts = standin::cd::FontTableRecords(context.fonts.Faces());
    if (standin::cd::ReadFontTable(fonts).size() != context.fonts.Faces().size()) {
        std::abort();  // the font table reads back
    }
    return 0;
}
