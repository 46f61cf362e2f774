// The note-fragment reader: note elements, noteinfo identities, design notes and our namespace.
#include "NoteReader.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "../cd/NoteRichText.h"
#include "Base64.h"
#include "DxlText.h"
#include "ItemValues.h"
#include "ValueReader.h"
#include "ViewFormat.h"

namespace standin::dxl {

namespace {

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
    {"databasescript", notes::kNoteClassFilter, "t"},
    {"appletresource", notes::kNoteClassForm, "@"},
    {"dataconnection", notes::kNoteClassForm, "k"},
    {"navigator", notes::kNoteClassView, "G"},
    {"webservice", notes::kNoteClassFilter, "{"},
    {"agentdata", notes::kNoteClassFilter, "X"},
    {"db2accessview", notes::kNoteClassForm, "z"},
};

}  // namespace

bool IsDatabaseSetting(std::string_view name) {
    return name == "databaseinfo" || name == "acl" || name == "fulltextsettings" ||
           name == "launchsettings" || name == "profiledocument";
}

namespace {

// A design element the runtime does not know, at the root of a file: kept as a design note so that the
// file opens and writes back whole.
const NoteElement kUnknownDesign = {"", notes::kNoteClassForm, ""};

const NoteElement *FindNoteElement(std::string_view name) {
    for (const NoteElement &e : kNoteElements) {
        if (name == e.name) {
            return &e;
        }
    }
    return nullptr;
}

}  // namespace

class NoteReader::Impl {
public:
    Impl(const std::string &fileName, std::vector<std::string> &diagnostics, OurPrefixes &ours)
        : m_fileName(fileName), m_diagnostics(diagnostics), m_ours(ours), m_values(ours) {}

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
    bool ReadNote(const pugi::xml_node &element, std::size_t position, Note &note, bool keepUnknown) {
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
            if (kind == nullptr && keepUnknown) {
                kind = &kUnknownDesign;
                m_diagnostics.push_back(
                    m_fileName + ": note " + std::to_string(position + 1) + ": <" + std::string(local) +
                    "> is a design element the runtime does not serve; kept as a design note");
            }
            if (kind == nullptr) {
                return false;
            }
            note.noteClass = kind->noteClass;
        }
        if (local != "document") {
            note.Extra().elementName = std::string(local);
        }
        m_ours.Collect(element);
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
            if (m_ours.IsOurs(child, "sealed")) {
                note.Extra().sealKey = child.attribute("key").value();
            } else if (m_ours.IsOurs(child, "signature")) {
                note.isSigned = true;
                note.Extra().signer = child.attribute("signer").value();
                TIMEDATE when{};
                if (ParseDxlDateTime(child.attribute("time").value(), when)) {
                    note.signedAt = when;
                }
            } else if (Prefix(child.name()).empty() && childName == "item") {
                ReadItem(child, note);
            } else if (childName == "wassignedby" && !note.isSigned) {
                note.isSigned = true;
                note.Extra().signer = child.child_value("name");
                if (note.Extra().signer.empty()) {
                    note.Extra().signer = child.first_child().child_value();
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
        if (kind == nullptr && note.noteClass == notes::kNoteClassView) {
            std::vector<std::string> problems;
            ViewFromItems(note, problems);
            for (const std::string &p : problems) {
                m_diagnostics.push_back(m_fileName + ": note " + std::to_string(m_position + 1) + ": " + p);
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
                if (m_ours.IsOurs(child, "members") || m_ours.IsOurs(child, "entries")) {
                    ours.push_back(child);
                }
            }
            for (pugi::xml_node &child : ours) {
                kept.remove_child(child);
            }
            note.Extra().designXml = NodeXml(kept);
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
        bool isPrivate = IsTrue(m_ours.Attribute(element, "private")) || IsTrue(element.attribute("private"));
        if (isPrivate) {
            flags += "V";
        }
        if (note.noteClass == notes::kNoteClassView && std::string_view(kind.name) != "sharedcolumn" &&
            std::string_view(kind.name) != "navigator") {
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
            } else if (m_ours.IsOurs(child, "members")) {
                for (pugi::xml_node member : child.children()) {
                    if (m_ours.IsOurs(member, "member")) {
                        ExplicitEntry e;
                        ReadEntryTarget(member, e);
                        m_pendingMembers.push_back(e);
                    }
                }
            } else if (m_ours.IsOurs(child, "entries")) {
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
            if (m_ours.IsOurs(child, "category")) {
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
            } else if (m_ours.IsOurs(child, "entry")) {
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
        note.items.back().fileIndex = static_cast<std::int32_t>(note.Extra().files.size());
        note.Extra().files.push_back(std::move(bytes));
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
        // seal='true' only marks the item for encryption; sealed='true' says the value is encrypted.
        bool encrypted = IsTrue(item.attribute("sealed"));
        if (encrypted || IsTrue(item.attribute("seal"))) {
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
        } else if (!m_values.ReadValue(valueNode, value, defaultSummary, keepXml, file, hasFile, problem)) {
            Warn(note, name, problem);
            return;
        }
        if (summary ? IsTrue(summary) : defaultSummary) {
            flags |= notes::kItemSummary;
        }
        note.AddItem(name, flags, value);
        note.items.back().encrypted = encrypted;
        if (hasFile) {
            note.items.back().fileIndex = static_cast<std::int32_t>(note.Extra().files.size());
            note.Extra().files.push_back(std::move(file));
        }
        if (keepXml) {
            note.items.back().xmlIndex = static_cast<std::int32_t>(note.Extra().preservedXml.size());
            note.Extra().preservedXml.push_back(NodeXml(item));
        }
    }

    std::string m_fileName;
    std::vector<std::string> &m_diagnostics;
    OurPrefixes &m_ours;
    ValueReader m_values;
    std::size_t m_position = 0;

public:
    std::vector<ExplicitEntry> m_pendingMembers;
};

NoteReader::NoteReader(const std::string &fileName, std::vector<std::string> &diagnostics, OurPrefixes &ours)
    : m_impl(std::make_unique<Impl>(fileName, diagnostics, ours)) {}

NoteReader::~NoteReader() = default;

bool NoteReader::ReadNote(const pugi::xml_node &element, std::size_t position, Note &note, bool keepUnknown) {
    return m_impl->ReadNote(element, position, note, keepUnknown);
}

std::vector<ExplicitEntry> &NoteReader::PendingMembers() {
    return m_impl->m_pendingMembers;
}

}  // namespace standin::dxl
