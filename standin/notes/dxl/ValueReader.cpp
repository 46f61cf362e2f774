// The value readers: DXL value elements to canonical item bytes.
#include "ValueReader.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "Base64.h"
#include "DxlText.h"

namespace standin::dxl {

namespace {

// Host types of <file hosttype>.
struct HostTypeName {
    const char *name;
    WORD hostType;
};

const HostTypeName kHostTypes[] = {
    {"msdos", 0x0000},
    {"cdstorage", notes::kHostOle},
    {"mac", 0x0200},
    {"unknown", 0x0300},
    {"hpfs", 0x0400},
    {"bytearrayext", notes::kHostByteArrayExt},
    {"bytearraypage", notes::kHostByteArrayPage},
    {"stream", 0x0900},
    {"link", 0x0A00},
};

}  // namespace

bool RichTextValue(const pugi::xml_node &richtext, std::string &value, std::string &problem) {
    // The rich text itself stays in the element kept verbatim; the item's bytes are composite data.
    (void)richtext;
    (void)problem;
    value.clear();
    AppendWord(value, notes::kTypeComposite);
    return true;
}

bool ValueReader::ParseNumber(const char *text, double &value) {
    while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r') {
        ++text;
    }
    if (*text == '\0') {
        return false;
    }
    char *end = nullptr;
    value = std::strtod(text, &end);
    while (end != nullptr && (*end == ' ' || *end == '\t' || *end == '\n' || *end == '\r')) {
        ++end;
    }
    return end != nullptr && *end == '\0';
}

bool ValueReader::TextContent(const pugi::xml_node &text, std::string &lmbcs) {
    std::string utf8;
    for (pugi::xml_node part : text.children()) {
        if (part.type() == pugi::node_pcdata || part.type() == pugi::node_cdata) {
            utf8 += part.value();
        } else if (part.type() == pugi::node_element && LocalName(part.name()) == "break") {
            utf8.push_back('\0');
        } else if (part.type() == pugi::node_element && LocalName(part.name()) == "nonxmlchar") {
            long code = std::strtol(part.attribute("value").value(), nullptr, 0);
            if (code > 0 && code < 0x20) {
                utf8.push_back(static_cast<char>(code));
            }
        }
    }
    // ICU would turn the NUL separators into LMBCS control characters: convert the pieces between them.
    lmbcs.clear();
    std::size_t start = 0;
    while (true) {
        std::size_t nul = utf8.find('\0', start);
        std::string piece;
        if (!Utf8ToLmbcs(std::string_view(utf8).substr(
                             start, nul == std::string::npos ? std::string::npos : nul - start),
                         piece)) {
            return false;
        }
        lmbcs += piece;
        if (nul == std::string::npos) {
            return true;
        }
        lmbcs.push_back('\0');
        start = nul + 1;
    }
}

bool ValueReader::ReadTimeList(const pugi::xml_node &list, std::string &value, std::string &problem) const {
    std::vector<TIMEDATE> times;
    std::vector<std::pair<TIMEDATE, TIMEDATE>> pairs;
    for (pugi::xml_node child : list.children()) {
        std::string_view n = LocalName(child.name());
        if (n == "datetime") {
            TIMEDATE t{};
            if (!DateTimeOf(child, t)) {
                problem = "the datetime '" + std::string(child.child_value()) + "' is not valid";
                return false;
            }
            times.push_back(t);
        } else if (n == "datetimepair") {
            TIMEDATE ends[2]{};
            int count = 0;
            for (pugi::xml_node end : child.children()) {
                if (LocalName(end.name()) != "datetime" || count == 2) {
                    continue;
                }
                if (!DateTimeOf(end, ends[count])) {
                    problem = "the datetime '" + std::string(end.child_value()) + "' is not valid";
                    return false;
                }
                ++count;
            }
            if (count != 2) {
                problem = "a datetimepair needs two datetimes";
                return false;
            }
            pairs.emplace_back(ends[0], ends[1]);
        } else if (child.type() == pugi::node_element) {
            problem = "unknown element <" + std::string(n) + "> in a datetimelist";
            return false;
        }
    }
    if (times.size() > 0xFFFF || pairs.size() > 0xFFFF) {
        problem = "the list has too many entries";
        return false;
    }
    value = TimeRangeValue(times, pairs);
    return true;
}

bool ValueReader::ReadFileObject(const pugi::xml_node &object, std::string &value, std::string &file,
                                 std::string &problem) const {
    pugi::xml_node f;
    for (pugi::xml_node child : object.children()) {
        if (LocalName(child.name()) == "file") {
            f = child;
        }
    }
    if (!f) {
        problem = "an <object> without a <file>";
        return false;
    }
    FileObjectInfo info;
    if (!Utf8ToLmbcs(f.attribute("name").value(), info.name)) {
        problem = "the file name is not valid UTF-8";
        return false;
    }
    std::string host = ToLowerAscii(f.attribute("hosttype").value());
    info.hostType = 0x0300;
    for (const HostTypeName &h : kHostTypes) {
        if (host == h.name) {
            info.hostType = h.hostType;
        }
    }
    pugi::xml_attribute ourHost = m_ours.Attribute(f, "hosttype");
    if (ourHost) {
        info.hostType = static_cast<WORD>(std::strtoul(ourHost.value(), nullptr, 16));
    }
    std::string compression = ToLowerAscii(f.attribute("compression").value());
    if (!compression.empty() && compression != "none") {
        problem = "compressed file data (" + compression + ") is not supported";
        return false;
    }
    std::string flags = ToLowerAscii(f.attribute("flags").value());
    if (flags.find("sign") != std::string::npos) {
        info.flags |= notes::kFileFlagSign;
    }
    if (flags.find("storedindoc") != std::string::npos) {
        info.flags |= notes::kFileFlagInDoc;
    }
    if (flags.find("mime") != std::string::npos) {
        info.flags |= notes::kFileFlagMime;
    }
    std::string attributes = ToLowerAscii(f.attribute("attribute").value());
    if (attributes.find("readonly") != std::string::npos) {
        info.attributes |= 1;
    }
    if (attributes.find("private") != std::string::npos) {
        info.attributes |= 2;
    }
    for (pugi::xml_node child : f.children()) {
        std::string_view n = LocalName(child.name());
        if (n == "created" || n == "modified") {
            TIMEDATE t{};
            if (DateTimeOf(child.first_child(), t)) {
                (n == "created" ? info.created : info.modified) = t;
            }
        } else if (n == "filedata") {
            if (!DecodeBase64(child.child_value(), file)) {
                problem = "the base64 content of <filedata> is not valid";
                return false;
            }
        }
    }
    pugi::xml_attribute size = f.attribute("size");
    if (size && std::strtoull(size.value(), nullptr, 10) != file.size()) {
        problem = "the file size " + std::string(size.value()) + " does not match its data (" +
                  std::to_string(file.size()) + " bytes)";
        return false;
    }
    if (file.size() > 0xFFFFFFFFULL) {
        problem = "the file is too large";
        return false;
    }
    info.size = static_cast<DWORD>(file.size());
    value = FileObjectValue(info);
    return true;
}

bool ValueReader::ReadValue(const pugi::xml_node &node, std::string &value, bool &defaultSummary,
                            bool &keepXml, std::string &file, bool &hasFile, std::string &problem) const {
    std::string_view n = LocalName(node.name());
    if (n == "text") {
        std::string text;
        if (!TextContent(node, text)) {
            problem = "the text is not valid UTF-8";
            return false;
        }
        value = TextValue(text);
        return true;
    }
    if (n == "textlist") {
        std::vector<std::string> texts;
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            if (LocalName(child.name()) != "text") {
                problem = "unknown element <" + std::string(LocalName(child.name())) + "> in a textlist";
                return false;
            }
            texts.emplace_back();
            if (!TextContent(child, texts.back())) {
                problem = "the text is not valid UTF-8";
                return false;
            }
        }
        if (!TextListValue(texts, value)) {
            problem = "the text list is too long";
            return false;
        }
        return true;
    }
    if (n == "number") {
        double d = 0;
        if (!ParseNumber(node.child_value(), d)) {
            problem = "the number '" + std::string(node.child_value()) + "' is not valid";
            return false;
        }
        value = NumberValue(d);
        return true;
    }
    if (n == "numberlist") {
        std::vector<double> numbers;
        for (pugi::xml_node child : node.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            double d = 0;
            if (LocalName(child.name()) != "number" || !ParseNumber(child.child_value(), d)) {
                problem = "a numberlist entry is not a valid number";
                return false;
            }
            numbers.push_back(d);
        }
        if (numbers.size() > 0xFFFF) {
            problem = "the list has too many entries";
            return false;
        }
        value = NumberRangeValue(numbers);
        return true;
    }
    if (n == "datetime") {
        TIMEDATE t{};
        if (!DateTimeOf(node, t)) {
            problem = "the datetime '" + std::string(node.child_value()) + "' is not valid";
            return false;
        }
        value = TimeValue(t);
        return true;
    }
    if (n == "datetimelist") {
        return ReadTimeList(node, value, problem);
    }
    if (n == "rawitemdata" || n == "itemdata") {
        const char *typeText = node.attribute("type").value();
        char *end = nullptr;
        unsigned long type = std::strtoul(typeText, &end, 16);
        if (*typeText == '\0' || *end != '\0' || type > 0xFFFF) {
            problem = "the rawitemdata type '" + std::string(typeText) + "' is not a hexadecimal type";
            return false;
        }
        std::string bytes;
        if (!DecodeBase64(node.child_value(), bytes)) {
            problem = "the base64 content of the rawitemdata is not valid";
            return false;
        }
        if (!CheckRawLength(static_cast<WORD>(type), bytes, problem)) {
            return false;
        }
        value.clear();
        AppendWord(value, static_cast<WORD>(type));
        value += bytes;
        defaultSummary = false;
        return true;
    }
    if (n == "richtext" || n == "compositedata") {
        if (!RichTextValue(node, value, problem)) {
            return false;
        }
        defaultSummary = false;
        keepXml = true;
        return true;
    }
    if (n == "object") {
        if (!ReadFileObject(node, value, file, problem)) {
            return false;
        }
        hasFile = true;
        keepXml = true;
        return true;
    }
    if (n == "formula") {
        std::string text;
        if (!Utf8ToLmbcs(node.child_value(), text)) {
            problem = "the formula is not valid UTF-8";
            return false;
        }
        value.clear();
        AppendWord(value, notes::kTypeFormula);
        value += text;
        defaultSummary = false;
        keepXml = true;
        return true;
    }
    problem = "unknown value element <" + std::string(n) + ">";
    return false;
}

}  // namespace standin::dxl
