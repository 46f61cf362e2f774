// Composite data made from notes: compound text (CompoundTextCreate, AddRenderedNote, Close, Discard),
// text items as paragraphs (ConvertItemToComposite and its Ext form) and a body written to a file
// (MailGetMessageBodyComposite).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../Export.h"
#include "../Runtime.h"
#include "DbStatus.h"
#include "NoteHandle.h"
#include "Security.h"
#include "cd/CdStatus.h"
#include "cd/Records.h"
#include "cd/RichTextXml.h"
#include "common/Lmbcs.h"
#include "dxl/Bytes.h"

using namespace standin;

namespace nc = notes::cd;

namespace {

constexpr DWORD kDefaultFont = 0x0A000001;    // Swiss, plain, black, 10 points
constexpr std::size_t kBufferLimit = 0xFFFF;  // compound text below this comes back in memory

// A compound text being built; a memory handle so that the counters show one left open.
class CompoundContext : public MemoryBlock {
public:
    CompoundContext() : MemoryBlock(0) {}
    std::string records;
    std::string fonts;  // the font table record of the first note added
};

CompoundContext *FindCompound(DHANDLE handle) {
    return dynamic_cast<CompoundContext *>(Handles::Memory(handle));
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Lines of a text or text-list value: split at the delimiter and at stored line breaks (NUL).
bool TextLines(std::string_view value, std::string_view delimiter, std::vector<std::string> &lines) {
    WORD type = value.size() >= 2 ? dxl::ReadWord(value, 0) : 0;
    std::vector<std::string> entries;
    if (type == notes::kTypeText) {
        entries.emplace_back(value.substr(2));
    } else if (type == notes::kTypeTextList) {
        entries = TextEntries(value);
    } else {
        return false;
    }
    for (const std::string &entry : entries) {
        std::size_t at = 0;
        while (true) {
            std::size_t next = delimiter.empty() ? std::string::npos : entry.find(delimiter, at);
            std::size_t nul = entry.find('\0', at);
            std::size_t end = std::min(next, nul);
            if (end == std::string::npos) {
                lines.push_back(entry.substr(at));
                break;
            }
            lines.push_back(entry.substr(at, end - at));
            at = end + (end == next ? delimiter.size() : 1);
        }
    }
    return true;
}

// The note's font table record, or nothing.
std::string FontTableOf(const NoteHandle &h) {
    long i = h.note.FindItem("$Fonts");
    if (i < 0) {
        return std::string();
    }
    std::string_view v = h.Served(static_cast<std::size_t>(i));
    std::vector<cd::FontFace> faces = cd::ReadFontTable(v.size() >= 2 ? v.substr(2) : std::string_view());
    return faces.empty() ? std::string() : cd::FontTableRecords(faces);
}

// The records with each document link (an index into the note's $Links) turned into an exported link
// that carries its target, as rich text does when it leaves its note.
std::string ExportLinks(const NoteHandle &h, std::string_view records) {
    long linksItem = h.note.FindItem("$Links");
    if (linksItem < 0) {
        return std::string(records);
    }
    std::string_view links = h.Served(static_cast<std::size_t>(linksItem));
    WORD count = links.size() >= 4 && dxl::ReadWord(links, 0) == notes::kTypeNoteLinkList
                     ? dxl::ReadWord(links, 2)
                     : 0;
    std::string out;
    cd::WalkEnd end = cd::WalkRecords(records, [&](const cd::Record &r) {
        std::string_view bytes = cd::RecordBytes(records, r);
        WORD index = cd::Word(bytes, nc::kLink2Index);
        std::size_t at = 4 + static_cast<std::size_t>(index) * nc::kNoteLinkSize;
        if (r.signature == nc::kSigLink2 && index < count && at + nc::kNoteLinkSize <= links.size() &&
            bytes.size() >= nc::kLink2Comment) {
            cd::RecordWriter w;
            w.Begin(nc::kSigLinkExport2);
            w.PutBytes(links.substr(at, nc::kNoteLinkSize));
            w.PutBytes(bytes.substr(nc::kLink2Comment));
            w.End();
            out += w.Take();
            return true;
        }
        out += bytes;
        if ((r.length & 1) != 0) {
            out.push_back('\0');
        }
        return true;
    });
    return end == cd::WalkEnd::Complete ? out : std::string(records);
}

// The records of a form's field filled with the note's item of that name.
std::string FieldValue(NoteHandle &h, std::string_view field) {
    std::string name(cd::LmbcsFieldName(field));
    DWORD font = cd::Dword(field, nc::kFieldFont);
    std::string out;
    std::vector<std::string> lines;
    for (long i = h.note.FindItem(name); i >= 0; i = h.note.FindItem(name, static_cast<std::size_t>(i) + 1)) {
        std::string_view v = h.Served(static_cast<std::size_t>(i));
        if (v.size() >= 2 && dxl::ReadWord(v, 0) == notes::kTypeComposite) {
            out += ExportLinks(h, v.substr(2));
        } else if (TextLines(v, std::string_view(), lines)) {
            continue;
        } else if (v.size() >= 2) {
            char buf[2048];
            const ItemSlot &s = h.slots[static_cast<std::size_t>(i)];
            WORD n = NSFItemConvertValueToText(dxl::ReadWord(v, 0), BLOCKID{s.pool, s.valueBlock},
                                               s.valueLength, buf, sizeof buf, ',');
            lines.emplace_back(buf, n);
        }
    }
    std::string joined;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        joined += (k > 0 ? ", " : "") + lines[k];
    }
    if (!joined.empty()) {
        cd::RecordWriter w;
        w.Begin(nc::kSigText);
        w.PutDword(font == 0 ? kDefaultFont : font);
        w.PutBytes(joined.substr(0, LmbcsFitLength(joined, 60000)));
        w.End();
        out = w.Take() + out;
    }
    return out;
}

// The form a note is rendered through: the one given, else the form its Form item names.
const dxl::Note *FormOf(const NoteHandle &h, NOTEHANDLE formHandle) {
    if (formHandle != 0) {
        NoteHandle *f = FindNote(formHandle);
        return f == nullptr ? nullptr : &f->note;
    }
    long formItem = h.note.FindItem("Form");
    if (formItem < 0 || h.file == nullptr) {
        return nullptr;
    }
    std::vector<std::string> wanted = TextEntries(h.note.ItemValue(static_cast<std::size_t>(formItem)));
    if (wanted.empty()) {
        return nullptr;
    }
    for (const dxl::Note &n : h.file->db.notes) {
        long title = n.FindItem("$TITLE");
        if (n.deleted || (n.noteClass & notes::kNoteClassForm) == 0 || title < 0) {
            continue;
        }
        for (const std::string &t : TextEntries(n.ItemValue(static_cast<std::size_t>(title)))) {
            std::size_t at = 0;
            while (at <= t.size()) {
                std::size_t bar = t.find('|', at);
                std::string_view alias =
                    std::string_view(t).substr(at, bar == std::string::npos ? t.size() - at : bar - at);
                if (dxl::EqualsNoCase(alias, wanted[0])) {
                    return &n;
                }
                if (bar == std::string::npos) {
                    break;
                }
                at = bar + 1;
            }
        }
    }
    return nullptr;
}

}  // namespace

extern "C" {

NOTES_EXPORT STATUS CompoundTextCreate(NOTEHANDLE note, char *item, DHANDLE *ret) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("CompoundTextCreate")) {
        return s;
    }
    (void)item;
    if (ret == nullptr) {
        return kStsBadArgument;
    }
    if (note != 0) {
        Diagnostic("CompoundTextCreate: only stand-alone compound text (no note) is served");
        return kStsNotImplemented;
    }
    *ret = Handles::Add(std::make_unique<CompoundContext>());
    return 0;
}

NOTES_EXPORT STATUS CompoundTextAddRenderedNote(DHANDLE compound, NOTEHANDLE note, NOTEHANDLE form,
                                                DWORD flags) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("CompoundTextAddRenderedNote")) {
        return s;
    }
    (void)flags;
    CompoundContext *context = FindCompound(compound);
    NoteHandle *h = FindNote(note);
    if (context == nullptr || h == nullptr) {
        return kStsInvalidHandle;
    }
    std::string records;
    const dxl::Note *formNote = FormOf(*h, form);
    long body = formNote == nullptr ? -1 : formNote->FindItem("$Body");
    if (body >= 0) {
        std::string_view v = formNote->ItemValue(static_cast<std::size_t>(body));
        std::string_view formRecords = v.size() >= 2 ? v.substr(2) : std::string_view();
        (void)cd::WalkRecords(formRecords, [&](const cd::Record &r) {
            std::string_view bytes = cd::RecordBytes(formRecords, r);
            if (r.signature == nc::kSigField) {
                records += FieldValue(*h, bytes);
            } else {
                records += bytes;
                if ((r.length & 1) != 0) {
                    records.push_back('\0');
                }
            }
            return true;
        });
    } else {
        // Without its form: every summary item as "name: value", then the rich text of the note.
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < h->note.items.size(); ++i) {
            if ((h->note.items[i].flags & notes::kItemSummary) == 0) {
                continue;
            }
            std::string_view v = h->Served(i);
            char buf[2048] = {};
            WORD n = v.size() >= 2
                         ? NSFItemConvertValueToText(dxl::ReadWord(v, 0),
                                                     BLOCKID{h->slots[i].pool, h->slots[i].valueBlock},
                                                     h->slots[i].valueLength, buf, sizeof buf, ',')
                         : 0;
            lines.push_back(std::string(h->note.ItemName(i)) + ": " + std::string(buf, n));
        }
        records = cd::PlainParagraphs(lines, kDefaultFont);
        for (std::size_t i = 0; i < h->note.items.size(); ++i) {
            std::string_view v = h->Served(i);
            if ((h->note.items[i].flags & notes::kItemSummary) == 0 && v.size() > 2 &&
                dxl::ReadWord(v, 0) == notes::kTypeComposite && h->note.ItemName(i).substr(0, 1) != "$") {
                cd::RecordWriter w;
                w.Begin(nc::kSigParagraph);
                w.End();
                records += w.Take();
                records += ExportLinks(*h, v.substr(2));
                if ((records.size() & 1) != 0) {
                    records.push_back('\0');
                }
            }
        }
    }
    if (context->fonts.empty()) {
        context->fonts = FontTableOf(*h);
    }
    context->records += records;
    return 0;
}

NOTES_EXPORT STATUS CompoundTextClose(DHANDLE compound, DHANDLE *retBuffer, DWORD *retSize, char *retFile,
                                      WORD retFileSize) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("CompoundTextClose")) {
        return s;
    }
    CompoundContext *context = FindCompound(compound);
    if (context == nullptr) {
        return kStsCompoundClosed;
    }
    std::string data;
    dxl::AppendWord(data, notes::kTypeComposite);
    data += context->fonts;
    data += context->records;
    if (retFile != nullptr && retFileSize > 0) {
        retFile[0] = '\0';
    }
    if (data.size() < kBufferLimit && retBuffer != nullptr) {
        *retBuffer = Handles::AllocMemory(data.data(), data.size());
    } else {
        // Too large for a buffer: a private temporary file, named back to the caller.
        const char *tmp = std::getenv("TMPDIR");
        std::string path = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vorlix-ctXXXXXX";
        if (retFile == nullptr || path.size() + 1 > retFileSize) {
            return kStsBadArgument;
        }
        int fd = mkstemp(path.data());
        if (fd < 0) {
            return kStsTempFileFailed;
        }
        bool ok = WriteAll(fd, data);
        ok = close(fd) == 0 && ok;
        if (!ok) {
            unlink(path.c_str());
            return kStsTempFileFailed;
        }
        std::string lmbcs = Utf8ToLmbcs(path);
        std::memcpy(retFile, lmbcs.c_str(), std::min<std::size_t>(lmbcs.size() + 1, retFileSize));
        retFile[retFileSize - 1] = '\0';
        if (retBuffer != nullptr) {
            *retBuffer = 0;
        }
    }
    if (retSize != nullptr) {
        *retSize = static_cast<DWORD>(data.size());
    }
    Handles::Remove(compound, HandleKind::Memory);
    return 0;
}

NOTES_EXPORT void CompoundTextDiscard(DHANDLE compound) {
    ApiLock lock(ApiMutex());
    EnterCall("CompoundTextDiscard");
    if (FindCompound(compound) != nullptr) {
        Handles::Remove(compound, HandleKind::Memory);
    }
}

NOTES_EXPORT STATUS ConvertItemToCompositeExt(BLOCKID value, DWORD valueLen, FONTID font, char *lineDelimiter,
                                              WORD paraFlags, DHANDLE *retBuffer, DWORD *retLen,
                                              NLS_PINFO info, int fd, BOOL append) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("ConvertItemToCompositeExt")) {
        return s;
    }
    (void)paraFlags;
    (void)info;
    (void)append;
    MemoryBlock *block = Handles::Lockable(value.pool);
    if (block == nullptr) {
        return kStsInvalidHandle;
    }
    if (value.block > block->bytes.size() || valueLen > block->bytes.size() - value.block) {
        return kStsBadArgument;
    }
    std::vector<std::string> lines;
    std::string_view delimiter = lineDelimiter == nullptr ? std::string_view("\r\n") : lineDelimiter;
    if (!TextLines(std::string_view(block->bytes.data() + value.block, valueLen), delimiter, lines)) {
        return kStsItemNotText;
    }
    std::string records = cd::PlainParagraphs(lines, font);
    if (fd > 0) {
        if (!WriteAll(fd, records)) {
            return kStsFileCreateFailed;
        }
        if (retBuffer != nullptr) {
            *retBuffer = 0;
        }
    } else if (retBuffer != nullptr) {
        *retBuffer = Handles::AllocMemory(records.data(), records.size());
    } else {
        return kStsBadArgument;
    }
    if (retLen != nullptr) {
        *retLen = static_cast<DWORD>(records.size());
    }
    return 0;
}

NOTES_EXPORT STATUS ConvertItemToComposite(BLOCKID value, DWORD valueLen, FONTID font, char *lineDelimiter,
                                           WORD paraFlags, DHANDLE *retBuffer, DWORD *retLen) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("ConvertItemToComposite")) {
        return s;
    }
    return ConvertItemToCompositeExt(value, valueLen, font, lineDelimiter, paraFlags, retBuffer, retLen,
                                     nullptr, 0, 0);
}

NOTES_EXPORT STATUS MailGetMessageBodyComposite(DHANDLE note, char *itemName, char *outFile, DWORD *retSize) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("MailGetMessageBodyComposite")) {
        return s;
    }
    NoteHandle *h = FindNote(note);
    if (h == nullptr) {
        return kStsInvalidHandle;
    }
    if (outFile == nullptr) {
        return kStsBadArgument;
    }
    std::string name = itemName == nullptr ? std::string("Body") : std::string(itemName);
    std::string records;
    bool found = false;
    for (long i = h->note.FindItem(name); i >= 0;
         i = h->note.FindItem(name, static_cast<std::size_t>(i) + 1)) {
        std::string_view v = h->Served(static_cast<std::size_t>(i));
        std::vector<std::string> lines;
        if (v.size() >= 2 && dxl::ReadWord(v, 0) == notes::kTypeComposite) {
            records += ExportLinks(*h, v.substr(2));
            found = true;
        } else if (!found && TextLines(v, "\r\n", lines)) {
            records = cd::PlainParagraphs(lines, kDefaultFont);
            found = true;
            break;
        }
    }
    if (!found) {
        return notes::kErrItemNotFound;
    }
    std::string data;
    dxl::AppendWord(data, notes::kTypeComposite);
    data += FontTableOf(*h);
    data += records;
    std::string path = LmbcsToUtf8(outFile);
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return FailWith(kStsFileCreateFailed, "Unable to create the file " + path);
    }
    bool ok = WriteAll(fd, data);
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(path.c_str());
        return FailWith(kStsFileCreateFailed, "Unable to write the file " + path);
    }
    if (retSize != nullptr) {
        *retSize = static_cast<DWORD>(data.size());
    }
    return 0;
}

}  // extern "C"
