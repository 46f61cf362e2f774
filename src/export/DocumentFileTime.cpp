// Reading a document's mail time and giving it to the files written for the document.
#include "export/DocumentFileTime.h"

#include "notes/NotesApi.h"
#include "notes/NotesNote.h"
#include "notes/ValueText.h"
#include "platform/Paths.h"

namespace exporter {

namespace {

bool ItemSeconds(const notes::NotesNote &note, const char *name, std::int64_t &seconds) {
    auto &fn = notes::Api().fn;
    TIMEDATE time{};
    return fn.NSFItemGetTime != nullptr && fn.NSFItemGetTime(note.Handle(), name, &time) != 0 &&
           notes::TimeDateToUnixSeconds(time, seconds);
}

}  // namespace

bool MailTimeSeconds(const notes::NotesNote &note, std::int64_t &seconds) {
    auto &fn = notes::Api().fn;
    if (!note.IsOpen()) {
        return false;
    }
    if (ItemSeconds(note, "DeliveredDate", seconds) || ItemSeconds(note, "PostedDate", seconds)) {
        return true;
    }
    if (fn.NSFNoteGetInfo == nullptr) {
        return false;
    }
    ORIGINATORID oid{};
    fn.NSFNoteGetInfo(note.Handle(), notes::kNoteOid, &oid);
    return notes::TimeDateToUnixSeconds(oid.SequenceTime, seconds);
}

bool SetFileToMailTime(const std::string &path, const notes::NotesNote &note) {
    std::int64_t seconds = 0;
    if (!platform::FileExists(path) || !MailTimeSeconds(note, seconds)) {
        return true;
    }
    return platform::SetFileModifiedTime(path, seconds);
}

}  // namespace exporter
