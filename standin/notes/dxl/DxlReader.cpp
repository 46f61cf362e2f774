// The DXL reader: the file's encoding, the index scan over the root's children, each note element
// read by the note-fragment reader, identities for notes that lack them, and folder members and view
// entries resolved once every note is known. Documents of an indexed database keep only what the
// index needs; Database::Load reads the rest back by byte range.
#include "DxlReader.h"

#include <algorithm>
#include <pugixml.hpp>

#include "Bytes.h"
#include "DxlScan.h"
#include "DxlText.h"
#include "NoteReader.h"
#include "common/IdSet.h"
#include "common/TimeDate.h"

namespace standin::dxl {

namespace {

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

// A note's bytes as UTF-8 for the parser: invalid sequences become U+FFFD (offsets relative to the
// fragment go to badOffsets).
std::string_view ParserInput(std::string_view fragment, std::string &repaired,
                             std::vector<std::size_t> &badOffsets) {
    if (FirstInvalidUtf8(fragment) == std::string_view::npos) {
        return fragment;
    }
    repaired = RepairUtf8(fragment, badOffsets);
    return repaired;
}

constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_ws_pcdata_single;

// Items an index keeps of a document that is not resident: those of security and response hierarchy.
// False when none is left, so that the note's record alone stands for it.
bool StripToIndex(Note &note) {
    Note kept;
    for (std::size_t i = 0; i < note.items.size(); ++i) {
        WORD flags = note.items[i].flags;
        if ((flags & (notes::kItemReaders | notes::kItemReadWriters)) != 0 ||
            EqualsNoCase(note.ItemName(i), "$REF")) {
            kept.AddItem(note.ItemName(i), flags, note.ItemValue(i));
        }
    }
    note.data = std::move(kept.data);
    note.items = std::move(kept.items);
    note.data.shrink_to_fit();
    note.items.shrink_to_fit();
    note.DropExtra();
    note.resident = false;
    return !note.items.empty();
}

bool IsIndexable(const Note &note) {
    return note.noteClass == notes::kNoteClassDocument && !note.view && note.Extra().designXml.empty();
}

// A note without a UNID or times gets them from its position and the file name, so reading the same
// file twice gives the same ones. Done before the note is indexed, so that its record is final.
void DefaultIdentity(Note &n, std::size_t position, std::uint64_t fileHash) {
    if (n.unid.File.Innards[0] == 0 && n.unid.File.Innards[1] == 0 && n.unid.Note.Innards[0] == 0 &&
        n.unid.Note.Innards[1] == 0) {
        std::uint64_t h = Hash64(std::to_string(position), fileHash);
        n.unid.File.Innards[0] = static_cast<DWORD>(fileHash);
        n.unid.File.Innards[1] = static_cast<DWORD>(fileHash >> 32);
        n.unid.Note.Innards[0] = static_cast<DWORD>(h);
        n.unid.Note.Innards[1] = static_cast<DWORD>(h >> 32);
    }
    auto isSet = [](const TIMEDATE &t) { return t.Innards[0] != 0 || t.Innards[1] != 0; };
    TIMEDATE base = FromUnixSeconds(946684800 + static_cast<std::int64_t>(position));
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

// Notes without note IDs, and the later notes of an ID used twice, get IDs from their position that
// no other note uses; the database without a replica ID gets one from the file name.
void AssignNoteIds(Database &db, std::uint64_t fileHash) {
    // The IDs the file names (a compact set: a large file has many); of a duplicate the first note keeps
    // it, the later one gets a fresh ID.
    IdSet used;
    std::vector<std::size_t> unnamed;
    for (std::size_t i = 0; i < db.notes.size(); ++i) {
        NOTEID id = db.notes.Record(i).noteId;
        if (id == 0 || !used.Insert(id)) {
            unnamed.push_back(i);
        }
    }
    for (std::size_t i : unnamed) {
        NoteRecord r = db.notes.Record(i);
        NOTEID candidate = static_cast<NOTEID>(0x100 + 4 * (i + 1));
        while (used.Contains(candidate)) {
            candidate += 4;
        }
        (void)used.Insert(candidate);
        r.noteId = candidate;
        r.flags = static_cast<std::uint16_t>(r.flags & ~kRecordSourceIdentity);
        db.notes.SetRecord(i, r);
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

void ReportBadBytes(const std::string &fileName, const std::vector<std::size_t> &badOffsets,
                    std::vector<std::string> &diagnostics) {
    if (badOffsets.empty()) {
        return;
    }
    std::string where;
    for (std::size_t i = 0; i < badOffsets.size() && i < 10; ++i) {
        where += (i > 0 ? ", " : "") + std::to_string(badOffsets[i]);
    }
    if (badOffsets.size() > 10) {
        where += " and " + std::to_string(badOffsets.size() - 10) + " more";
    }
    diagnostics.push_back(
        fileName + ": bytes that are not valid in the file's encoding were read as U+FFFD at byte offset " +
        where);
}

}  // namespace

bool DxlReader::Read(std::string_view bytes, const std::string &fileName, Database &db) {
    return Index(bytes, fileName, nullptr, db);
}

bool DxlReader::Index(std::string_view bytes, const std::string &fileName, std::shared_ptr<NoteSource> source,
                      Database &db) {
    m_error.clear();
    m_diagnostics.clear();
    db = Database();
    std::string converted;
    std::string_view input = bytes;
    std::vector<std::size_t> badOffsets;
    std::size_t from = 0;
    bool hasBom16 = bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') ||
                                          (bytes[0] == '\xFE' && bytes[1] == '\xFF'));
    bool wide = bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0');
    std::string charset;
    if (hasBom16 || wide) {
        charset = hasBom16 ? "UTF-16" : (bytes[0] == '\0' ? "UTF-16BE" : "UTF-16LE");
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        from = 3;
    } else {
        std::string declared = DeclaredEncoding(bytes);
        if (declared == "latin1" || declared == "latin-1") {
            charset = "ISO-8859-1";
        } else if (!IsUtf8Name(declared)) {
            charset = declared;
        }
    }
    if (!charset.empty()) {
        std::string problem;
        if (!CharsetToUtf8(bytes, charset, converted, problem, badOffsets)) {
            m_error = fileName + ": " + problem;
            return false;
        }
        ReportBadBytes(fileName, badOffsets, m_diagnostics);
        badOffsets.clear();
        if (converted.substr(0, 3) == "\xEF\xBB\xBF") {
            from = 3;
        }
        if (source) {
            // The notes are read back from the converted text, which the source keeps.
            auto memory = std::make_shared<MemorySource>(std::move(converted));
            input = memory->Bytes();
            source = memory;
        } else {
            input = converted;
        }
    }
    ScanRoot root;
    std::string scanError;
    std::size_t scanOffset = 0;
    OurPrefixes ours;
    NoteReader reader(fileName, m_diagnostics, ours);
    const std::uint64_t fileHash = Hash64(fileName);
    std::vector<std::pair<std::size_t, std::vector<ExplicitEntry>>> pendingMembers;
    bool rootIsDatabase = false;
    bool rootIsDxl = false;
    bool failed = false;
    // Reads one element at [start, end) of the input; false (m_error set) when its XML is broken.
    auto readElement = [&](std::size_t start, std::size_t end, bool isRoot) -> bool {
        std::string repaired;
        std::vector<std::size_t> bad;
        std::string_view fragment = ParserInput(input.substr(start, end - start), repaired, bad);
        for (std::size_t &b : bad) {
            badOffsets.push_back(start + b);
        }
        pugi::xml_document doc;
        pugi::xml_parse_result parsed =
            doc.load_buffer(fragment.data(), fragment.size(), kParseFlags, pugi::encoding_utf8);
        if (!parsed) {
            m_error = fileName + ": malformed XML at byte " +
                      std::to_string(start + static_cast<std::size_t>(parsed.offset)) + ": " +
                      parsed.description();
            failed = true;
            return false;
        }
        pugi::xml_node element = doc.document_element();
        std::string_view name = LocalName(element.name());
        bool keepUnknown = isRoot ? rootIsDxl : Prefix(element.name()).empty() && !IsDatabaseSetting(name);
        Note note;
        reader.PendingMembers().clear();
        if (!reader.ReadNote(element, db.notes.size(), note, keepUnknown)) {
            if (isRoot) {
                m_error = fileName + ": the root element <" + std::string(name) +
                          "> is neither a database nor a note";
                failed = true;
                return false;
            }
            if (name == "databaseinfo") {
                DBID dbid{};
                if (ParseReplica(element.attribute("dbid").value(), dbid)) {
                    db.dbId = dbid;
                }
            }
            db.otherXml.push_back(NodeXml(element));
            return true;
        }
        if (!reader.PendingMembers().empty()) {
            pendingMembers.emplace_back(db.notes.size(), reader.PendingMembers());
        }
        note.sourceIdentity =
            note.noteId != 0 && (note.unid.File.Innards[0] != 0 || note.unid.File.Innards[1] != 0 ||
                                 note.unid.Note.Innards[0] != 0 || note.unid.Note.Innards[1] != 0);
        bool hold = true;
        if (source && IsIndexable(note) && end - start <= 0xFFFFFFFFULL) {
            note.sourceOffset = start;
            note.sourceLength = static_cast<std::uint32_t>(end - start);
            hold = StripToIndex(note);
        }
        DefaultIdentity(note, db.notes.size(), fileHash);
        db.notes.Append(std::move(note), hold);
        if (m_progress) {
            m_progress(end);
        }
        return true;
    };
    // The root's start tag, closed, gives its name and attributes (and our namespace's prefixes) before
    // its first child is read.
    bool rootParsed = false;
    auto parseRoot = [&]() -> bool {
        rootParsed = true;
        std::string rootXml(input.substr(root.start, root.tagEnd - root.start));
        if (!root.selfClosing) {
            rootXml.append("</").append(root.name).append(">");
        }
        pugi::xml_document rootDoc;
        pugi::xml_parse_result parsed =
            rootDoc.load_buffer(rootXml.data(), rootXml.size(), kParseFlags, pugi::encoding_utf8);
        if (!parsed) {
            m_error = fileName + ": malformed XML at byte " +
                      std::to_string(root.start + static_cast<std::size_t>(parsed.offset)) + ": " +
                      parsed.description();
            return false;
        }
        pugi::xml_node rootNode = rootDoc.document_element();
        std::string_view rootName = LocalName(rootNode.name());
        rootIsDxl = std::string_view(rootNode.attribute("xmlns").value()) == kDxlNamespace;
        rootIsDatabase = rootName == "database";
        db.rootElement = std::string(rootName);
        for (pugi::xml_attribute a : rootNode.attributes()) {
            db.rootAttributes.append(" ")
                .append(a.name())
                .append("='")
                .append(EscapeXml(a.value()))
                .append("'");
        }
        DBID replica{};
        if (ParseReplica(rootNode.attribute("replicaid").value(), replica)) {
            db.replicaId = replica;
        }
        std::string title;
        if (rootIsDatabase && Utf8ToLmbcs(rootNode.attribute("title").value(), title)) {
            db.title = title;
        }
        ours.Collect(rootNode);
        return true;
    };
    bool scanned = ScanDxl(
        input, from, root,
        [&](std::size_t start, std::size_t end) {
            if (!rootParsed && !parseRoot()) {
                failed = true;
                return false;
            }
            return !rootIsDatabase || readElement(start, end, false);
        },
        scanError, scanOffset);
    if (failed) {
        return false;
    }
    if (!scanned) {
        m_error = fileName + ": malformed XML at byte " + std::to_string(scanOffset) + ": " + scanError;
        return false;
    }
    if (!rootParsed && !parseRoot()) {
        return false;
    }
    if (!rootIsDatabase && !readElement(root.start, root.end, true)) {
        return false;
    }
    ReportBadBytes(fileName, badOffsets, m_diagnostics);
    if (source) {
        source->fileName = fileName;
        source->ourPrefixes = ours.Prefixes();
        db.source = source;
    }
    AssignNoteIds(db, fileHash);
    db.Reindex();
    for (auto &[index, entries] : pendingMembers) {
        ViewDesign *view = db.notes.Held(index).view.get();
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
    for (Note &n : db.notes.HeldNotes()) {
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

bool ReadNoteFragment(const NoteSource &source, const Note &indexed, Note &note, std::string &error) {
    std::string bytes;
    if (!source.Read(indexed.sourceOffset, indexed.sourceLength, bytes)) {
        error = source.fileName + ": the note " + std::to_string(indexed.noteId) +
                " cannot be read back from the file";
        return false;
    }
    std::string repaired;
    std::vector<std::size_t> bad;
    std::string_view input = ParserInput(bytes, repaired, bad);
    pugi::xml_document doc;
    pugi::xml_parse_result parsed =
        doc.load_buffer(input.data(), input.size(), kParseFlags, pugi::encoding_utf8);
    if (!parsed) {
        error = source.fileName + ": the note at byte " + std::to_string(indexed.sourceOffset) +
                " changed in the file";
        return false;
    }
    OurPrefixes ours;
    for (const std::string &prefix : source.ourPrefixes) {
        ours.Add(prefix);
    }
    std::vector<std::string> diagnostics;  // reported when the database was indexed
    NoteReader reader(source.fileName, diagnostics, ours);
    note = Note();
    if (!reader.ReadNote(doc.document_element(), 0, note, false)) {
        error =
            source.fileName + ": the note at byte " + std::to_string(indexed.sourceOffset) + " is not a note";
        return false;
    }
    note.noteId = indexed.noteId;
    note.unid = indexed.unid;
    note.noteClass = indexed.noteClass;
    note.sequence = indexed.sequence;
    note.sequenceTime = indexed.sequenceTime;
    note.created = indexed.created;
    note.modified = indexed.modified;
    note.accessed = indexed.accessed;
    note.addedToFile = indexed.addedToFile;
    note.deleted = indexed.deleted;
    note.resident = true;
    note.sourceIdentity = indexed.sourceIdentity;
    note.sourceOffset = indexed.sourceOffset;
    note.sourceLength = indexed.sourceLength;
    if (note.isSigned && indexed.isSigned) {
        note.signedAt = indexed.signedAt;
    }
    return true;
}

}  // namespace standin::dxl
