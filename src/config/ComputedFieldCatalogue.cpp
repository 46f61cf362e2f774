// The computed-field catalogue and the value functions of its note-computed entries.
#include "config/ComputedFieldCatalogue.h"

#include "notes/NotesApi.h"
#include "notes/NotesFileObject.h"
#include "notes/NotesNote.h"
#include "notes/ValueText.h"
#include "platform/AsciiText.h"

namespace config {

namespace {

// The time of a time item of the note; false when the note has none.
bool ItemTime(const notes::NotesNote &note, const char *itemName, TIMEDATE &time) {
    auto &fn = notes::Api().fn;
    if (fn.NSFItemGetTime == nullptr) {
        return false;
    }
    return fn.NSFItemGetTime(note.Handle(), itemName, &time) != 0;
}

}  // namespace

const std::vector<ComputedField> &ComputedFieldCatalogue::Entries() {
    static const std::vector<ComputedField> entries = {
        {"Count", kFieldCount, kItemEngineValue, nullptr},
        {"Attachments", kFieldAttachNames, kItemEngineValue, nullptr},
        {"Extracted Attachments", kFieldExtractedAttNames, kItemEngineValue, nullptr},
        {"Universal Id", kFieldUniversalId, kItemNoteValue, &ComputedFieldCatalogue::UniversalId},
        {"View/Folder Name", kFieldViewFolderName, kItemEngineValue, nullptr},
        {"Has OLE Object(s)", kFieldHasOle, kItemNoteValue, &ComputedFieldCatalogue::HasOle},
        {"Errors", kFieldErrors, kItemEngineValue, nullptr},
        {"Mail Time", kFieldMailTime, kItemNoteValue, &ComputedFieldCatalogue::MailTime},
        {"Text File", kFieldTextFileName, kItemEngineValue, nullptr},
        {"RT File", kFieldRtfFileName, kItemEngineValue, nullptr},
        {"Other Format File", kFieldOtherFormatFileName, kItemEngineValue, nullptr},
        {"In Views", kFieldInViews, kItemEngineValue, nullptr},
        {"In Folders", kFieldInFolders, kItemEngineValue, nullptr},
        {"Modified", "@Modified", kItemFormula, nullptr},
        {"Created", "@Created", kItemFormula, nullptr},
        {"Accessed", "@Accessed", kItemFormula, nullptr},
    };
    return entries;
}

const ComputedField *ComputedFieldCatalogue::Find(const std::string &name) {
    for (const ComputedField &entry : Entries()) {
        if (platform::EqualsIgnoringAsciiCase(entry.name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

std::string ComputedFieldCatalogue::UniversalId(const notes::NotesNote &note) {
    return note.UniversalId();
}

// "1" when a $FILE item of the note is an OLE object rather than a file.
std::string ComputedFieldCatalogue::HasOle(const notes::NotesNote &note) {
    bool found = false;
    notes::ForEachFileObject(note, [&found](BLOCKID, const notes::FileObjectHeader &header) {
        found = notes::IsNonFileHost(header.hostType);
        return !found;
    });
    return found ? "1" : "0";
}

// DeliveredDate, else PostedDate, else the creation time of the note's originator ID.
std::string ComputedFieldCatalogue::MailTime(const notes::NotesNote &note) {
    auto &fn = notes::Api().fn;
    if (!note.IsOpen()) {
        return std::string();
    }
    TIMEDATE time{};
    if (!ItemTime(note, "DeliveredDate", time) && !ItemTime(note, "PostedDate", time)) {
        if (fn.NSFNoteGetInfo == nullptr) {
            return std::string();
        }
        ORIGINATORID oid{};
        fn.NSFNoteGetInfo(note.Handle(), notes::kNoteOid, &oid);
        time = oid.Note;
    }
    std::string text;
    if (!notes::TimeDateText(time, text)) {
        return std::string();
    }
    return text;
}

}  // namespace config
