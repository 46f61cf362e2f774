// The last-write time of a document's Text/HTML and RTF files: the document's mail time.
#pragma once

#include <cstdint>
#include <string>

namespace notes {
class NotesNote;
}

namespace exporter {

// The item DeliveredDate, else the item PostedDate, else the modification time of the note's
// originator ID, in seconds since 1970 UTC; false when none can be read.
[[nodiscard]] bool MailTimeSeconds(const notes::NotesNote &note, std::int64_t &seconds);

// When path names an existing file, its last-write time becomes the note's mail time (the instant,
// which the system shows in the local time zone); its other times stay. False when the time could not
// be set (a missing file or a note without a readable time is not a failure).
[[nodiscard]] bool SetFileToMailTime(const std::string &path, const notes::NotesNote &note);

}  // namespace exporter
