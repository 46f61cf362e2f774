// The reader's services over an open note, through the Notes C API function table.
#include "richtext/NoteServicesImpl.h"

#include "notes/ByteReader.h"
#include "notes/LmbcsConvert.h"
#include "notes/NoteItemWalk.h"
#include "notes/NotesApi.h"
#include "notes/NotesFormula.h"
#include "notes/NotesNote.h"
#include "notes/capi/CompositeRecords.h"

namespace richtext {

namespace cd = notes::cd;

namespace {

// Status the record handler returns to stop the walk at a damaged record.
constexpr STATUS kStopWalk = notes::kErrOdsEnumComplete;
// $Links: the type word, the entry count, then 40-byte links.
constexpr std::size_t kLinksCount = 2;
constexpr std::size_t kLinksFirst = 4;
// A $FILE value: the type word, then the file object; its name length and name.
constexpr std::size_t kFileObjectType = 2;
constexpr std::size_t kFileNameLength = 2 + 6;
constexpr std::size_t kFileName = 2 + 36;

struct WalkContext {
    CompositeReader *reader;
    bool damaged;
};

// The runtime hands each record with its length; the reader checks every field against that length.
STATUS OnRecord(char *record, WORD signature, DWORD recordLength, void *context) {
    auto *walk = static_cast<WalkContext *>(context);
    if (record == nullptr ||
        !walk->reader->Record(signature, {reinterpret_cast<const std::uint8_t *>(record), recordLength})) {
        walk->damaged = true;
        return kStopWalk;
    }
    return notes::kNoError;
}

struct FontWalk {
    NoteServices *services;
    std::vector<std::string> *faces;
};

STATUS OnFontRecord(char *record, WORD signature, DWORD recordLength, void *context) {
    auto *walk = static_cast<FontWalk *>(context);
    if (signature == cd::kSigFontTable && record != nullptr) {
        std::vector<std::string> faces;
        if (ReadFontTable({reinterpret_cast<const std::uint8_t *>(record), recordLength}, *walk->services,
                          faces)) {
            *walk->faces = std::move(faces);
        }
    }
    return notes::kNoError;
}

STATUS WriteBitmapChunk(void *context, BYTE *bytes, DWORD count, DWORD) {
    auto *file = static_cast<std::FILE *>(context);
    if (bytes != nullptr && count > 0 && std::fwrite(bytes, 1, count, file) != count) {
        return kStopWalk;
    }
    return notes::kNoError;
}

}  // namespace

WalkResult WalkComposite(BLOCKID valueBlock, DWORD valueLength, CompositeReader &reader) {
    auto &fn = notes::Api().fn;
    WalkResult result;
    if (fn.EnumCompositeBuffer == nullptr) {
        return result;
    }
    WalkContext walk{&reader, false};
    const STATUS status = fn.EnumCompositeBuffer(valueBlock, valueLength, &OnRecord, &walk);
    result.damagedRecord = walk.damaged;
    result.status = walk.damaged ? notes::kNoError : status;
    return result;
}

namespace {

// LMBCS bytes 0x20 to 0x7F, tab, line feed and carriage return are single characters that read the same
// in UTF-8; any other byte starts a character of a group and needs the runtime's conversion.
bool PlainAscii(std::string_view lmbcs) {
    for (char c : lmbcs) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 || (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r')) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string NoteServicesImpl::Text(std::string_view lmbcs) {
    if (lmbcs.empty()) {
        return {};
    }
    if (PlainAscii(lmbcs)) {
        return std::string(lmbcs);
    }
    return notes::LmbcsToUnicode(lmbcs.data(), static_cast<int>(lmbcs.size()), false);
}

void NoteServicesImpl::LoadFonts() {
    m_fonts.emplace();
    auto &fn = notes::Api().fn;
    if (fn.EnumCompositeBuffer == nullptr) {
        return;
    }
    (void)notes::ForEachLockedItemOfName(m_note, "$Fonts", [&](const notes::ItemOfName &at, const char *) {
        if (at.type == notes::kTypeComposite) {
            FontWalk walk{this, &*m_fonts};
            (void)fn.EnumCompositeBuffer(at.value, at.valueLength, &OnFontRecord, &walk);
        }
        return true;
    });
}

std::string NoteServicesImpl::TableFace(unsigned face) {
    if (!m_fonts) {
        LoadFonts();
    }
    const std::size_t index = face - kStandardFaceCount;
    return face >= kStandardFaceCount && index < m_fonts->size() ? (*m_fonts)[index] : std::string();
}

bool NoteServicesImpl::Link(std::size_t index, NotesLink &link) {
    bool found = false;
    (void)notes::ForEachLockedItemOfName(m_note, "$Links",
                                         [&](const notes::ItemOfName &item, const char *value) {
                                             const notes::ByteReader r(value, item.valueLength);
                                             const std::size_t count = r.Word(kLinksCount);
                                             const std::size_t at = kLinksFirst + index * cd::kNoteLinkSize;
                                             if (index < count && r.Has(at, cd::kNoteLinkSize)) {
                                                 for (std::size_t i = 0; i < 2; ++i) {
                                                     link.replica[i] = r.Dword(at + 4 * i);
                                                 }
                                                 for (std::size_t i = 0; i < 4; ++i) {
                                                     link.view[i] = r.Dword(at + 8 + 4 * i);
                                                     link.note[i] = r.Dword(at + 24 + 4 * i);
                                                 }
                                                 found = true;
                                             }
                                             return false;  // the first $Links item is the table
                                         });
    return found;
}

void NoteServicesImpl::LoadFileNames() {
    m_fileNames.emplace();
    (void)notes::ForEachLockedItemOfName(
        m_note, "$FILE", [&](const notes::ItemOfName &item, const char *value) {
            const notes::ByteReader r(value, item.valueLength);
            if (item.type == notes::kTypeObject && r.Word(kFileObjectType) == notes::kObjectFile) {
                const std::string_view name = r.Bytes(kFileName, r.Word(kFileNameLength));
                if (!r.Overrun()) {
                    m_fileNames->push_back(Text(name));
                }
            }
            return true;
        });
}

AttachmentLink NoteServicesImpl::Attachment(const std::string &internalName, const std::string &fileName) {
    if (!m_fileNames) {
        LoadFileNames();
    }
    AttachmentLink link;
    link.internalName = internalName;
    link.fileName = fileName;
    for (const std::string &name : *m_fileNames) {
        if (name == internalName || (internalName.empty() && name == fileName)) {
            link.known = true;
            break;
        }
    }
    for (const notes::NotesAttachment &written : m_note.ExtractedFiles()) {
        if (written.StoredName() == internalName) {
            link.known = true;
            link.extracted = true;
            link.extractedPath = written.Path();
            break;
        }
    }
    return link;
}

std::string NoteServicesImpl::EvaluateFormula(std::string_view lmbcsFormula) {
    notes::NotesFormula formula(Text(lmbcsFormula));
    if (!m_note.IsOpen() || !formula.Compile()) {
        return {};
    }
    return formula.Evaluate(m_note.Handle(), "");
}

bool NoteServicesImpl::BitmapAvailable() {
    auto &fn = notes::Api().fn;
    return fn.ConvertNotesBitmapRead != nullptr && fn.ConvertNotesBitmap != nullptr &&
           fn.ConvertNotesBitmapFree != nullptr;
}

void NoteServicesImpl::BitmapRead(std::uint32_t &context, std::uint16_t signature,
                                  std::span<const std::uint8_t> record) {
    if (!BitmapAvailable()) {
        return;
    }
    MEMHANDLE handle = context;
    // The converter takes the record as a non-const pointer but only reads it.
    (void)notes::Api().fn.ConvertNotesBitmapRead(
        &handle, signature, reinterpret_cast<char *>(const_cast<std::uint8_t *>(record.data())),
        static_cast<DWORD>(record.size()));
    context = handle;
}

bool NoteServicesImpl::BitmapWriteGif(std::uint32_t context, std::FILE *file) {
    if (!BitmapAvailable() || context == 0) {
        return false;
    }
    return notes::Api().fn.ConvertNotesBitmap(context, 0, 0, &WriteBitmapChunk, file) == notes::kNoError;
}

void NoteServicesImpl::BitmapFree(std::uint32_t &context) {
    if (context == 0 || !BitmapAvailable()) {
        return;
    }
    MEMHANDLE handle = context;
    (void)notes::Api().fn.ConvertNotesBitmapFree(&handle);
    context = 0;
}

}  // namespace richtext
