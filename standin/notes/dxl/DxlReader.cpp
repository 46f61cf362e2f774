// The DXL reader: encodings, the database and note elements, noteinfo identities, every item value
// type in its canonical bytes, $FILE objects, design notes and our own namespace.
#include "DxlReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pugixml.hpp>
#include <set>
#include <sstream>

#include "../cd/NoteRichText.h"
#include "Base64.h"
#include "Bytes.h"
#include "DxlNamespace.h"
#include "DxlText.h"
#include "ItemValues.h"
#include "common/TimeDate.h"

namespace standin::dxl {

namespace {

// The local part of an element or attribute name ("dxl:item" -> "item").
std::string_view LocalName(const char *name) {
    std::string_view n(name);
    std::size_t colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

std::string_view Prefix(const char *name) {
    std::string_view n(name);
    std::size_t colon = n.find(':');
    return colon == std::string_view::npos ? std::string_view() : n.substr(0, colon);
}

bool IsTrue(const pugi::xml_attribute &a) {
    std::string v = ToLowerAscii(a.value());
    return v == "true" || v == "yes" || v == "1";
}

// A <datetime> element with its dst attribute.
bool DateTimeOf(const pugi::xml_node &node, TIMEDATE &t) {
    return ParseDxlDateTime(node.child_value(), IsTrue(node.attribute("dst")), t);
}

struct NoteClassName {
    const char *name;
    WORD noteClass;
};

// The class attribute of <note>.
const NoteClassName kNoteClasses[] = {
    {"document", notes::kNoteClassDocument},
    {"info", notes::kNoteClassInfo},
    {"form", notes::kNoteClassForm},
    {"view", notes::kNoteClassView},
    {"icon", notes::kNoteClassIcon},
    {"design", notes::kNoteClassDesign},
    {"acl", notes::kNoteClassAcl},
    {"helpindex", notes::kNoteClassHelpIndex},
    {"help", notes::kNoteClassHelp},
    {"filter", notes::kNoteClassFilter},
    {"field", notes::kNoteClassField},
    {"replicationformula", notes::kNoteClassReplFormula},
    {"privatedesign", notes::kNoteClassPrivate},
};

// Note elements of a database other than <note>, with their class and design flags.
struct NoteElement {
    const char *name;
    WORD noteClass;
    const char *flags;
};

const NoteElement kNoteElements[] = {
    {"document", notes::kNoteClassDocument, nullptr},
    {"view", notes::kNoteClassView, ""},
    {"folder", notes::kNoteClassView, "F"},
    {"form", notes::kNoteClassForm, ""},
    {"subform", notes::kNoteClassForm, "U"},
    {"page", notes::kNoteClassForm, "W"},
    {"frameset", notes::kNoteClassForm, "#"},
    {"fileresource", notes::kNoteClassForm, "g"},
    {"imageresource", notes::kNoteClassForm, "i"},
    {"stylesheetresource", notes::kNoteClassForm, "="},
    {"sharedactions", notes::kNoteClassForm, "y"},
    {"sharedfield", notes::kNoteClassField, ""},
    {"sharedcolumn", notes::kNoteClassView, "^"},
    {"agent", notes::kNoteClassFilter, "f"},
    {"scriptlibrary", notes::kNoteClassFilter, "s"},
    {"outline", notes::kNoteClassFilter, "m"},
    {"helpaboutdocument", notes::kNoteClassInfo, nullptr},
    {"helpusingdocument", notes::kNoteClassHelp, nullptr},
    {"databaseicon", notes::kNoteClassIcon, nullptr},
    {"replicationformula", notes::kNoteClassReplFormula, nullptr},
};

const NoteElement *FindNoteElement(std::string_view name) {
    for (const NoteElement &e : kNoteElements) {
        if (name == e.name) {
            return &e;
        }
    }
    return nullptr;
}

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

class StringWriter : public pugi::xml_writer {
public:
    explicit StringWriter(std::string &out) : m_out(out) {}
    void write(const void *data, size_t size) override {
        m_out.append(static_cast<const char *>(data), size);
    }

private:
    std::string &m_out;
};

std::string NodeXml(const pugi::xml_node &node) {
    std::string out;
    StringWriter writer(out);
    node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return out;
}

// The encoding named in the XML declaration, lower-cased; empty when there is none.
std::string DeclaredEncoding(std::string_view bytes) {
    if (bytes.substr(0, 5) != "<?xml") {
        return std::string();
    }
    std::size_t end = bytes.find("?>");
    if (end == std::string_view::npos || end > 400) {
        return std::string();
    }
    std::string_view decl = bytes.substr(0, end);
    std::size_t at = decl.find("encoding");
    if (at == std::string_view::npos) {
        return std::string();
    }
    std::size_t quote = decl.find_first_of("'\"", at);
    if (quote == std::string_view::npos) {
        return std::string();
    }
    std::size_t close = decl.find(decl[quote], quote + 1);
    if (close == std::string_view::npos) {
        return std::string();
    }
    return ToLowerAscii(decl.substr(quote + 1, close - quote - 1));
}

bool IsUtf8Name(const std::string &encoding) {
    return encoding.empty() || encoding == "utf-8" || encoding == "utf8" || encoding == "us-ascii" ||
           encoding == "ascii" || encoding == "utf-16" || encoding == "utf16";
}

class NoteReader {
public:
    NoteReader(const std::string &fileName, std::vector<std::string> &diagnostics,
               std::set<std::string> &prefixes)
        : m_fileName(fileName), m_diagnostics(diagnostics), m_prefixes(prefixes) {}

    void CollectPrefixes(const pugi::xml_node &node) {
        for (pugi::xml_attribute a : node.attributes()) {
            std::string_view name(a.name());
            if (name.substr(0, 6) == "xmlns:" && std::strcmp(a.value(), kOurNamespace) == 0) {
                m_prefixes.insert(std::string(name.substr(6)));
            }
        }
    }

    // An element of our namespace with that local name.
    bool IsOurs(const pugi::xml_node &node, std::string_view local) const {
        std::string_view prefix = Prefix(node.name());
        return !prefix.empty() && m_prefixes.count(std::string(prefix)) != 0 &&
               LocalName(node.name()) == local;
    }

    pugi::xml_attribute OurAttribute(const pugi::xml_node &node, std::string_view local) const {
        for (pugi::xml_attribute a : node.attributes()) {
            std::string_view prefix = Prefix(a.name());
            if (!prefix.empty() && m_prefixes.count(std::string(prefix)) != 0 &&
                LocalName(a.name()) == local) {
                return a;
            }
        }
        return pugi::xml_attribute();
    }

    void Warn(const Note &note, std::string_view itemName, const std::string &problem) {
        std::ostringstream line;
        line << m_fileName << ": note " << m_position + 1;
        if (!itemName.empty()) {
            line << ", item '" << itemName << "'";
        }
        line << ": " << problem << "; skipped";
        (void)note;
        m_diagnostics.push_back(line.str());
    }

    // Reads one note element; false when it is not a note (the caller keeps it verbatim).
    bool ReadNote(const pugi::xml_node &element, std::size_t position, Note &note) {
        m_position = position;
        std::string_view local = LocalName(element.name());
        const NoteElement *kind = nullptr;
        if (local == "note") {
            std::string cls = ToLowerAscii(element.attribute("class").value());
            note.noteClass = notes::kNoteClassDocument;
            for (const NoteClassName &c : kNoteClasses) {
                if (cls == c.name) {
                    note.noteClass = c.noteClass;
                }
            }
        } else {
            kind = FindNoteElement(local);
            if (kind == nullptr) {
                return false;
            }
            note.noteClass = kind->noteClass;
        }
        note.elementName = std::string(local);
        CollectPrefixes(element);
        ReadNoteInfo(element, note);
        bool isDesign = kind != nullptr && kind->flags != nullptr;
        if (isDesign) {
            ReadDesign(element, *kind, note);
        }
        for (pugi::xml_node child : element.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            std::string_view childName = LocalName(child.name());
            if (IsOurs(child, "sealed")) {
                note.sealKey = child.attribute("key").value();
            } else if (IsOurs(child, "signature")) {
                note.isSigned = true;
                note.signer = child.attribute("signer").value();
                TIMEDATE when{};
                if (ParseDxlDateTime(child.attribute("time").value(), when)) {
                    note.signedAt = when;
                }
            } else if (Prefix(child.name()).empty() && childName == "item") {
                ReadItem(child, note);
            } else if (childName == "wassignedby" && !note.isSigned) {
                note.isSigned = true;
                note.signer = child.child_value("name");
                if (note.signer.empty()) {
                    note.signer = child.first_child().child_value();
                }
            } else if (isDesign && (childName == "filedata" || childName == "gif" || childName == "jpeg" ||
                                    childName == "png")) {
                ReadResourceFile(element, child, note);
            }
        }
        // <document form='X'> stands for the Form item when the document does not list one.
        pugi::xml_attribute form = element.attribute("form");
        if (form && note.FindItem("Form") < 0) {
            std::string formName;
            if (Utf8ToLmbcs(form.value(), formName)) {
                note.AddItem("Form", notes::kItemSummary, TextValue(formName));
            }
        }
        if (note.isSigned && note.signedAt.Innards[0] == 0 && note.signedAt.Innards[1] == 0) {
            note.signedAt = note.modified;
        }
        if (isDesign) {
            pugi::xml_document copy;
            pugi::xml_node kept = copy.append_copy(element);
            std::vector<pugi::xml_node> ours;
            for (pugi::xml_node child : kept.children()) {
                if (IsOurs(child, "members") || IsOurs(child, "entries")) {
                    ours.push_back(child);
                }
            }
            for (pugi::xml_node &child : ours) {
                kept.remove_child(child);
            }
            note.designXml = NodeXml(kept);
        }
        cd::BuildRichTextItems(note, m_fileName + ": note " + std::to_string(m_position + 1), m_diagnostics);
        return true;
    }

private:
    void ReadNoteInfo(const pugi::xml_node &element, Note &note) {
        pugi::xml_node info;
        for (pugi::xml_node child : element.children()) {
            if (LocalName(child.name()) == "noteinfo") {
                info = child;
                break;
            }
        }
        if (!info) {
            return;
        }
        const char *id = info.attribute("noteid").value();
        char *end = nullptr;
        errno = 0;
        unsigned long value = std::strtoul(id, &end, 16);
        if (*id != '\0' && end != nullptr && *end == '\0' && errno == 0 && value > 0 &&
            value <= 0x7FFFFFFFUL) {
            note.noteId = static_cast<NOTEID>(value);
        }
        UNID unid{};
        if (ParseUnid(info.attribute("unid").value(), unid)) {
            note.unid = unid;
        }
        const char *seq = info.attribute("sequence").value();
        unsigned long sequence = std::strtoul(seq, &end, 10);
        if (*seq != '\0' && *end == '\0' && sequence <= 0xFFFFFFFFUL) {
            note.sequence = static_cast<DWORD>(sequence);
        }
        struct Stamp {
            const char *name;
            TIMEDATE *target;
        };
        Stamp stamps[] = {{"created", &note.created},
                          {"modified", &note.modified},
                          {"lastaccessed", &note.accessed},
                          {"addedtofile", &note.addedToFile},
                          {"revised", &note.sequenceTime}};
        for (const Stamp &s : stamps) {
            pugi::xml_node holder = info.child(s.name);
            if (!holder) {
                for (pugi::xml_node child : info.children()) {
                    if (LocalName(child.name()) == s.name) {
                        holder = child;
                    }
                }
            }
            TIMEDATE t{};
            if (holder && DateTimeOf(holder.first_child(), t) && !IsWildcardTime(t)) {
                *s.target = t;
            }
        }
    }

    void ReadDesign(const pugi::xml_node &element, const NoteElement &kind, Note &note) {
        std::string name;
        if (!Utf8ToLmbcs(element.attribute("name").value(), name)) {
            name.clear();
        }
        std::string alias;
        if (!Utf8ToLmbcs(element.attribute("alias").value(), alias)) {
            alias.clear();
        }
        std::string title = name;
        if (!alias.empty()) {
            title += "|" + alias;
        }
        std::string flags = kind.flags;
        bool isPrivate = IsTrue(OurAttribute(element, "private")) || IsTrue(element.attribute("private"));
        if (isPrivate) {
            flags += "V";
        }
        if (note.noteClass == notes::kNoteClassView && std::string_view(kind.name) != "sharedcolumn") {
            auto view = std::make_unique<ViewDesign>();
            view->isFolder = std::string_view(kind.name) == "folder";
            view->isPrivate = isPrivate;
            ReadViewDesign(element, *view);
            note.view = std::move(view);
        }
        if (note.FindItem("$TITLE") < 0) {
            note.AddItem("$TITLE", notes::kItemSummary, TextValue(title));
        }
        if (note.FindItem("$Flags") < 0) {
            note.AddItem("$Flags", notes::kItemSummary, TextValue(flags));
        }
        if (note.view && !note.view->selectionFormula.empty() && note.FindItem("$FormulaText") < 0) {
            note.AddItem("$FormulaText", 0, TextValue(note.view->selectionFormula));
        }
    }

    static std::string FormulaOf(const pugi::xml_node &holder, const char *event) {
        for (pugi::xml_node code : holder.children()) {
            if (LocalName(code.name()) == "code" &&
                std::strcmp(code.attribute("event").value(), event) == 0) {
                std::string text;
                if (Utf8ToLmbcs(code.child_value("formula"), text)) {
                    return text;
                }
            }
        }
        return std::string();
    }

    void ReadViewDesign(const pugi::xml_node &element, ViewDesign &view) {
        view.selectionFormula = FormulaOf(element, "selection");
        for (pugi::xml_node child : element.children()) {
            std::string_view name = LocalName(child.name());
            if (Prefix(child.name()).empty() && name == "column") {
                ViewColumn column;
                if (!Utf8ToLmbcs(child.attribute("itemname").value(), column.itemName)) {
                    column.itemName.clear();
                }
                column.formula = FormulaOf(child, "value");
                std::string sort = ToLowerAscii(child.attribute("sort").value());
                column.sorted = sort == "ascending" || sort == "descending";
                column.descending = sort == "descending";
                column.categorized = IsTrue(child.attribute("categorized"));
                if (column.categorized) {
                    column.sorted = true;
                }
                column.separateMultipleValues = IsTrue(child.attribute("separatemultiplevalues"));
                view.columns.push_back(column);
            } else if (IsOurs(child, "members")) {
                for (pugi::xml_node member : child.children()) {
                    if (IsOurs(member, "member")) {
                        ExplicitEntry e;
                        ReadEntryTarget(member, e);
                        m_pendingMembers.push_back(e);
                    }
                }
            } else if (IsOurs(child, "entries")) {
                view.hasExplicitEntries = true;
                ReadEntries(child, 0, view);
            }
        }
    }

    void ReadEntryTarget(const pugi::xml_node &node, ExplicitEntry &entry) {
        entry.unidText = node.attribute("unid").value();
        const char *id = node.attribute("noteid").value();
        entry.noteId = static_cast<NOTEID>(std::strtoul(id, nullptr, 16));
    }

    void ReadEntries(const pugi::xml_node &holder, WORD level, ViewDesign &view) {
        for (pugi::xml_node child : holder.children()) {
            if (IsOurs(child, "category")) {
                ExplicitEntry e;
                e.isCategory = true;
                e.level = level;
                if (!Utf8ToLmbcs(child.attribute("title").value(), e.categoryTitle)) {
                    e.categoryTitle.clear();
                }
                view.entries.push_back(e);
                if (level < 31) {
                    ReadEntries(child, static_cast<WORD>(level + 1), view);
                }
            } else if (IsOurs(child, "entry")) {
                ExplicitEntry e;
                e.level = level;
                ReadEntryTarget(child, e);
                view.entries.push_back(e);
            }
        }
    }

    void ReadResourceFile(const pugi::xml_node &element, const pugi::xml_node &data, Note &note) {
        std::string bytes;
        if (!DecodeBase64(data.child_value(), bytes)) {
            Warn(note, "$FILE",
                 "the base64 content of <" + std::string(LocalName(data.name())) + "> is not valid");
            return;
        }
        std::string name;
        if (!Utf8ToLmbcs(element.attribute("name").value(), name)) {
            name.clear();
        }
        FileObjectInfo info;
        info.name = name;
        info.size = static_cast<DWORD>(bytes.size());
        info.created = note.created;
        info.modified = note.modified;
        note.AddItem("$FILE", notes::kItemSummary, FileObjectValue(info));
        note.items.back().fileIndex = static_cast<std::int32_t>(note.files.size());
        note.files.push_back(std::move(bytes));
    }

    static bool ParseNumber(const char *text, double &value) {
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

    // Text content of <text> with <break/> as the line separator Notes stores (a NUL byte).
    static bool TextContent(const pugi::xml_node &text, std::string &lmbcs) {
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

    void ReadItem(const pugi::xml_node &item, Note &note) {
        std::string name;
        if (!Utf8ToLmbcs(item.attribute("name").value(), name) || name.empty()) {
            Warn(note, item.attribute("name").value(), "the item has no usable name");
            return;
        }
        WORD flags = 0;
        if (IsTrue(item.attribute("sign"))) {
            flags |= notes::kItemSign;
        }
        if (IsTrue(item.attribute("seal"))) {
            flags |= notes::kItemSeal;
        }
        if (IsTrue(item.attribute("names"))) {
            flags |= notes::kItemNames;
        }
        if (IsTrue(item.attribute("readers"))) {
            flags |= notes::kItemReaders | notes::kItemNames;
        }
        if (IsTrue(item.attribute("authors"))) {
            flags |= notes::kItemReadWriters | notes::kItemNames;
        }
        if (IsTrue(item.attribute("protected"))) {
            flags |= notes::kItemProtected;
        }
        pugi::xml_attribute summary = item.attribute("summary");
        pugi::xml_node valueNode;
        for (pugi::xml_node child : item.children()) {
            if (child.type() == pugi::node_element) {
                valueNode = child;
                break;
            }
        }
        std::string value;
        bool defaultSummary = true;
        bool keepXml = false;
        std::string problem;
        std::string file;
        bool hasFile = false;
        if (!valueNode) {
            value = TextValue("");
        } else if (!ReadValue(valueNode, value, defaultSummary, keepXml, file, hasFile, problem)) {
            Warn(note, name, problem);
            return;
        }
        if (summary ? IsTrue(summary) : defaultSummary) {
            flags |= notes::kItemSummary;
        }
        note.AddItem(name, flags, value);
        if (hasFile) {
            note.items.back().fileIndex = static_cast<std::int32_t>(note.files.size());
            note.files.push_back(std::move(file));
        }
        if (keepXml) {
            note.items.back().xmlIndex = static_cast<std::int32_t>(note.preservedXml.size());
            note.preservedXml.push_back(NodeXml(item));
        }
    }

    bool ReadTimeList(const pugi::xml_node &list, std::string &value, std::string &problem) {
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

    bool ReadFileObject(const pugi::xml_node &object, std::string &value, std::string &file,
                        std::string &problem) {
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
        pugi::xml_attribute ourHost = OurAttribute(f, "hosttype");
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

    bool ReadValue(const pugi::xml_node &node, std::string &value, bool &defaultSummary, bool &keepXml,
                   std::string &file, bool &hasFile, std::string &problem) {
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
            value.clear();
            AppendWord(value, notes::kTypeComposite);
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

    std::string m_fileName;
    std::vector<std::string> &m_diagnostics;
    std::set<std::string> &m_prefixes;
    std::size_t m_position = 0;

public:
    std::vector<ExplicitEntry> m_pendingMembers;
};

// Notes without identities get them from their position and the file name, so reading the same file
// twice gives the same IDs.
void AssignIdentities(Database &db, const std::string &fileName) {
    std::set<NOTEID> used;
    for (const Note &n : db.notes) {
        if (n.noteId != 0) {
            used.insert(n.noteId);
        }
    }
    std::set<NOTEID> seen;
    std::uint64_t fileHash = Hash64(fileName);
    for (std::size_t i = 0; i < db.notes.size(); ++i) {
        Note &n = db.notes[i];
        if (n.noteId != 0 && !seen.insert(n.noteId).second) {
            n.noteId = 0;  // a duplicate note ID: the later note gets a fresh one
        }
        if (n.noteId == 0) {
            NOTEID candidate = static_cast<NOTEID>(0x100 + 4 * (i + 1));
            while (used.count(candidate) != 0) {
                candidate += 4;
            }
            n.noteId = candidate;
            used.insert(candidate);
            seen.insert(candidate);
        }
        if (n.unid.File.Innards[0] == 0 && n.unid.File.Innards[1] == 0 && n.unid.Note.Innards[0] == 0 &&
            n.unid.Note.Innards[1] == 0) {
            std::uint64_t h = Hash64(std::to_string(i), fileHash);
            n.unid.File.Innards[0] = static_cast<DWORD>(fileHash);
            n.unid.File.Innards[1] = static_cast<DWORD>(fileHash >> 32);
            n.unid.Note.Innards[0] = static_cast<DWORD>(h);
            n.unid.Note.Innards[1] = static_cast<DWORD>(h >> 32);
        }
        TIMEDATE base = FromUnixSeconds(946684800 + static_cast<std::int64_t>(i));
        auto isSet = [](const TIMEDATE &t) { return t.Innards[0] != 0 || t.Innards[1] != 0; };
        if (!isSet(n.modified)) {
            n.modified = isSet(n.created) ? n.created : base;
        }
        if (!isSet(n.created)) {
            n.created = n.modified;
        }
        if (!isSet(n.accessed)) {
            n.accessed = n.modified;
        }
        if (!isSet(n.addedToFile)) {
            n.addedToFile = n.created;
        }
        if (!isSet(n.sequenceTime)) {
            n.sequenceTime = n.modified;
        }
    }
    if (db.replicaId.Innards[0] == 0 && db.replicaId.Innards[1] == 0) {
        db.replicaId.Innards[0] = static_cast<DWORD>(fileHash);
        db.replicaId.Innards[1] = static_cast<DWORD>(fileHash >> 32);
    }
    if (db.dbId.Innards[0] == 0 && db.dbId.Innards[1] == 0) {
        db.dbId = db.replicaId;
    }
}

NOTEID ResolveTarget(const Database &db, const ExplicitEntry &e) {
    UNID unid{};
    if (!e.unidText.empty() && ParseUnid(e.unidText, unid)) {
        const Note *n = db.FindByUnid(unid);
        return n == nullptr ? 0 : n->noteId;
    }
    return db.Find(e.noteId) == nullptr ? 0 : e.noteId;
}

}  // namespace

bool DxlReader::Read(std::string_view bytes, const std::string &fileName, Database &db) {
    m_error.clear();
    m_diagnostics.clear();
    db = Database();
    pugi::xml_encoding encoding = pugi::encoding_auto;
    std::string converted;
    std::string_view input = bytes;
    bool hasBom = bytes.size() >= 2 &&
                  ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF') ||
                   (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF"));
    bool wide = bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0');
    if (!hasBom && !wide) {
        std::string declared = DeclaredEncoding(bytes);
        if (declared == "iso-8859-1" || declared == "latin1" || declared == "latin-1") {
            encoding = pugi::encoding_latin1;
        } else if (!IsUtf8Name(declared)) {
            std::string problem;
            if (!CharsetToUtf8(bytes, declared, converted, problem)) {
                m_error = fileName + ": " + problem;
                return false;
            }
            input = converted;
            encoding = pugi::encoding_utf8;
        } else {
            encoding = pugi::encoding_utf8;
        }
    }
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer(
        input.data(), input.size(), pugi::parse_default | pugi::parse_ws_pcdata_single, encoding);
    if (!parsed) {
        m_error = fileName + ": malformed XML at byte " + std::to_string(parsed.offset) + ": " +
                  parsed.description();
        return false;
    }
    pugi::xml_node root = doc.document_element();
    if (!root) {
        m_error = fileName + ": the file holds no XML element";
        return false;
    }
    std::set<std::string> prefixes;
    NoteReader reader(fileName, m_diagnostics, prefixes);
    reader.CollectPrefixes(root);
    std::string_view rootName = LocalName(root.name());
    db.rootElement = std::string(rootName);
    for (pugi::xml_attribute a : root.attributes()) {
        db.rootAttributes += " " + std::string(a.name()) + "='" + EscapeXml(a.value()) + "'";
    }
    std::vector<std::pair<std::size_t, std::vector<ExplicitEntry>>> pendingMembers;
    auto readOne = [&](const pugi::xml_node &element) -> bool {
        Note note;
        reader.m_pendingMembers.clear();
        if (!reader.ReadNote(element, db.notes.size(), note)) {
            return false;
        }
        if (!reader.m_pendingMembers.empty()) {
            pendingMembers.emplace_back(db.notes.size(), reader.m_pendingMembers);
        }
        db.notes.push_back(std::move(note));
        return true;
    };
    if (rootName == "database") {
        std::string title;
        if (Utf8ToLmbcs(root.attribute("title").value(), title)) {
            db.title = title;
        }
        DBID replica{};
        if (ParseReplica(root.attribute("replicaid").value(), replica)) {
            db.replicaId = replica;
        }
        for (pugi::xml_node child : root.children()) {
            if (child.type() != pugi::node_element) {
                continue;
            }
            if (!readOne(child)) {
                if (LocalName(child.name()) == "databaseinfo") {
                    DBID dbid{};
                    if (ParseReplica(child.attribute("dbid").value(), dbid)) {
                        db.dbId = dbid;
                    }
                }
                db.otherXml.push_back(NodeXml(child));
            }
        }
    } else {
        DBID replica{};
        if (ParseReplica(root.attribute("replicaid").value(), replica)) {
            db.replicaId = replica;
        }
        if (!readOne(root)) {
            m_error = fileName + ": the root element <" + std::string(rootName) +
                      "> is neither a database nor a note";
            return false;
        }
    }
    AssignIdentities(db, fileName);
    db.Reindex();
    for (auto &[index, entries] : pendingMembers) {
        ViewDesign *view = db.notes[index].view.get();
        if (view == nullptr) {
            continue;
        }
        for (const ExplicitEntry &e : entries) {
            NOTEID id = ResolveTarget(db, e);
            if (id == 0) {
                m_diagnostics.push_back(fileName + ": a folder member names no note of the file; skipped");
            } else if (std::find(view->members.begin(), view->members.end(), id) == view->members.end()) {
                view->members.push_back(id);
            }
        }
    }
    for (Note &n : db.notes) {
        if (!n.view) {
            continue;
        }
        std::vector<ExplicitEntry> kept;
        for (ExplicitEntry &e : n.view->entries) {
            if (!e.isCategory) {
                e.noteId = ResolveTarget(db, e);
                if (e.noteId == 0) {
                    m_diagnostics.push_back(fileName + ": a view entry names no note of the file; skipped");
                    continue;
                }
            }
            kept.push_back(e);
        }
        n.view->entries = std::move(kept);
    }
    return true;
}

}  // namespace standin::dxl
