// Writing an in-memory database back as DXL: design notes as they were read (with our membership
// and entry elements regenerated), documents with their identities and every item (kept XML verbatim,
// text as DXL text, everything else as rawitemdata of its canonical bytes).
#include "DxlWriter.h"

#include <cstdio>

#include "Base64.h"
#include "Bytes.h"
#include "DxlNamespace.h"
#include "DxlText.h"
#include "ItemValues.h"

namespace standin::dxl {

namespace {

std::string Hex(DWORD value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x", value);
    return buf;
}

const char *ClassName(WORD noteClass) {
    switch (noteClass) {
        case notes::kNoteClassInfo:
            return "info";
        case notes::kNoteClassForm:
            return "form";
        case notes::kNoteClassView:
            return "view";
        case notes::kNoteClassIcon:
            return "icon";
        case notes::kNoteClassDesign:
            return "design";
        case notes::kNoteClassAcl:
            return "acl";
        case notes::kNoteClassHelpIndex:
            return "helpindex";
        case notes::kNoteClassHelp:
            return "help";
        case notes::kNoteClassFilter:
            return "filter";
        case notes::kNoteClassField:
            return "field";
        case notes::kNoteClassReplFormula:
            return "replicationformula";
        case notes::kNoteClassPrivate:
            return "privatedesign";
        default:
            return "document";
    }
}

void WriteTime(std::string &out, const char *element, const TIMEDATE &t) {
    bool dst = false;
    std::string text = FormatDxlDateTime(t, dst);
    out += "<";
    out += element;
    out += "><datetime";
    if (dst) {
        out += " dst='true'";
    }
    out += ">" + text + "</datetime></";
    out += element;
    out += ">";
}

std::string Utf8Text(std::string_view lmbcs) {
    std::string out;
    std::size_t start = 0;
    while (true) {
        std::size_t nul = lmbcs.find('\0', start);
        out += EscapeXml(LmbcsToUtf8(lmbcs.substr(start, nul == std::string_view::npos ? nul : nul - start)));
        if (nul == std::string_view::npos) {
            return out;
        }
        out += "<break/>";
        start = nul + 1;
    }
}

void WriteItem(std::string &out, const Note &note, std::size_t index) {
    const ItemRecord &r = note.items[index];
    if (r.xmlIndex >= 0 && static_cast<std::size_t>(r.xmlIndex) < note.Extra().preservedXml.size()) {
        out += note.Extra().preservedXml[static_cast<std::size_t>(r.xmlIndex)];
        out += "\n";
        return;
    }
    std::string_view value = note.ItemValue(index);
    out += "<item name='" + EscapeXml(LmbcsToUtf8(note.ItemName(index))) + "'";
    out += (r.flags & notes::kItemSummary) != 0 ? " summary='true'" : " summary='false'";
    struct Flag {
        WORD bit;
        const char *attribute;
    };
    const Flag flags[] = {{notes::kItemSign, "sign"},
                          {notes::kItemSeal, "seal"},
                          {notes::kItemReaders, "readers"},
                          {notes::kItemReadWriters, "authors"},
                          {notes::kItemProtected, "protected"}};
    bool nameFlagImplied = false;
    for (const Flag &f : flags) {
        if ((r.flags & f.bit) != 0) {
            out += " " + std::string(f.attribute) + "='true'";
            nameFlagImplied =
                nameFlagImplied || f.bit == notes::kItemReaders || f.bit == notes::kItemReadWriters;
        }
    }
    if ((r.flags & notes::kItemNames) != 0 && !nameFlagImplied) {
        out += " names='true'";
    }
    if (r.encrypted) {
        out += " sealed='true'";
    }
    out += ">";
    WORD type = value.size() >= 2 ? ReadWord(value, 0) : 0;
    std::string_view body = value.size() >= 2 ? value.substr(2) : std::string_view();
    if (type == notes::kTypeText) {
        out += "<text>" + Utf8Text(body) + "</text>";
    } else {
        out += "<rawitemdata type='" + Hex(type) + "'>\n" + EncodeBase64(body) + "\n</rawitemdata>";
    }
    out += "</item>\n";
}

std::string MembershipXml(const ViewDesign &view, const Database &db) {
    std::string out;
    if (view.isFolder && !view.members.empty()) {
        out += "<vx:members>";
        for (NOTEID id : view.members) {
            const Note *n = db.Find(id);
            if (n == nullptr || n->deleted) {
                continue;
            }
            out += "<vx:member noteid='" + Hex(id) + "' unid='" + UnidText(n->unid) + "'/>";
        }
        out += "</vx:members>";
    }
    if (view.hasExplicitEntries) {
        out += "<vx:entries>";
        std::vector<WORD> open;  // levels of open categories
        for (const ExplicitEntry &e : view.entries) {
            while (!open.empty() && open.back() >= e.level) {
                out += "</vx:category>";
                open.pop_back();
            }
            if (e.isCategory) {
                out += "<vx:category title='" + EscapeXml(LmbcsToUtf8(e.categoryTitle)) + "'>";
                open.push_back(e.level);
            } else {
                out += "<vx:entry noteid='" + Hex(e.noteId) + "'/>";
            }
        }
        for (std::size_t i = 0; i < open.size(); ++i) {
            out += "</vx:category>";
        }
        out += "</vx:entries>";
    }
    return out;
}

void WriteDesign(std::string &out, const Note &note, const Database &db) {
    std::string xml = note.Extra().designXml;
    // The design note keeps its element as read; only its note ID may have changed (a copy).
    std::size_t info = xml.find("<noteinfo");
    if (info != std::string::npos) {
        std::size_t at = xml.find("noteid=\"", info);
        std::size_t close = at == std::string::npos ? at : xml.find('"', at + 8);
        if (close != std::string::npos && xml.find('>', info) > at) {
            xml.replace(at + 8, close - at - 8, Hex(note.noteId));
        }
    }
    std::string inner = note.view ? MembershipXml(*note.view, db) : std::string();
    if (!inner.empty()) {
        std::size_t end = xml.rfind("</");
        if (xml.size() >= 2 && xml.compare(xml.size() - 2, 2, "/>") == 0) {
            xml.erase(xml.size() - 2);
            while (!xml.empty() && xml.back() == ' ') {
                xml.pop_back();
            }
            xml += ">" + inner + "</" + note.Extra().elementName + ">";
        } else if (end != std::string::npos) {
            xml.insert(end, inner);
        }
    }
    out += xml;
    out += "\n";
}

void WriteDocument(std::string &out, const Note &note) {
    bool isNote = note.Extra().elementName != "document" || note.noteClass != notes::kNoteClassDocument;
    out += isNote ? "<note class='" + std::string(ClassName(note.noteClass)) + "'>" : "<document>";
    out += "\n<noteinfo noteid='" + Hex(note.noteId) + "' unid='" + UnidText(note.unid) + "' sequence='" +
           std::to_string(note.sequence) + "'>";
    WriteTime(out, "created", note.created);
    WriteTime(out, "modified", note.modified);
    WriteTime(out, "revised", note.sequenceTime);
    WriteTime(out, "lastaccessed", note.accessed);
    WriteTime(out, "addedtofile", note.addedToFile);
    out += "</noteinfo>\n";
    if (!note.Extra().sealKey.empty()) {
        out += "<vx:sealed key='" + EscapeXml(note.Extra().sealKey) + "'/>\n";
    }
    if (note.isSigned) {
        bool dst = false;
        out += "<vx:signature signer='" + EscapeXml(note.Extra().signer) + "' time='" +
               FormatDxlDateTime(note.signedAt, dst) + "'/>\n";
    }
    for (std::size_t i = 0; i < note.items.size(); ++i) {
        WriteItem(out, note, i);
    }
    out += isNote ? "</note>\n" : "</document>\n";
}

}  // namespace

std::string DxlWriter::Write(const Database &db) {
    std::string out;
    std::string problem;
    if (!Write(
            db,
            [&out](std::string_view piece) {
                out += piece;
                return true;
            },
            problem)) {
        return std::string();
    }
    return out;
}

bool DxlWriter::Write(const Database &db, const std::function<bool(std::string_view)> &sink,
                      std::string &problem) {
    std::string out = "<?xml version='1.0' encoding='utf-8'?>\n<database";
    if (db.rootElement == "database") {
        out += db.rootAttributes;
    } else {
        out += " xmlns='http://www.lotus.com/dxl'";
    }
    if (db.rootAttributes.find(std::string("xmlns:") + kOurPrefix + "=") == std::string::npos) {
        out += std::string(" xmlns:") + kOurPrefix + "='" + kOurNamespace + "'";
    }
    if (db.rootElement != "database" || db.rootAttributes.find(" replicaid=") == std::string::npos) {
        out += " replicaid='" + ReplicaText(db.replicaId) + "'";
    }
    out += ">\n";
    for (const std::string &xml : db.otherXml) {
        out += xml;
        out += "\n";
    }
    for (const Note &note : db.notes) {
        if (note.deleted) {
            continue;
        }
        if (!note.resident && note.sourceIdentity && db.source) {
            std::string bytes;
            if (!db.source->Read(note.sourceOffset, note.sourceLength, bytes)) {
                problem = "the note " + std::to_string(note.noteId) + " cannot be read back from the file";
                return false;
            }
            out += bytes;
            out += "\n";
        } else {
            Note loaded;
            const Note *full = db.Load(note, loaded, problem);
            if (full == nullptr) {
                return false;
            }
            if (!full->Extra().designXml.empty()) {
                WriteDesign(out, *full, db);
            } else {
                WriteDocument(out, *full);
            }
        }
        if (out.size() >= (std::size_t{1} << 20)) {
            if (!sink(out)) {
                return false;
            }
            out.clear();
        }
    }
    out += "</database>\n";
    return sink(out);
}

}  // namespace standin::dxl
