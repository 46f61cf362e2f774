// Exporting a note, or one of its fields, to an RTF file: the content as composite data in this
// process's private CD file, converted by the Notes RTF export filter (libnxrtf.so, ExportRTF), then
// picture groups the filter writes damaged are repaired.
#pragma once

#include <string>

#include "notes/ErrorObject.h"

namespace notes {
class NotesNote;
}

namespace exporter {

// The RTF export filter's file name; it is looked for in the Notes program directory first.
inline constexpr const char kRtfFilterLibrary[] = "libnxrtf.so";

// Error records of an RTF export (code, title; the detail is given where the record is made).
inline constexpr const char kRtfTitle[] = "Lotus Notes Export document to RTF file.";
inline constexpr const char kRtfTitleNoDot[] = "Lotus Notes Export document to RTF file";
inline constexpr const char kRtfTitleItem[] = "Lotus Notes Export document to RTF file. Get NSF item error";
inline constexpr const char kRtfTitleConvert[] =
    "Lotus Notes Export document to RTF file. Converting item to rich text failed.";
inline constexpr const char kRtfTitleExport[] =
    "Lotus Notes Export document to RTF file. Exporting item to rich text file failed.";
inline constexpr const char kRtfTitleRepair[] = "Lotus Notes Rich Text conversion failure.";

// Exports the note to target: with fieldName empty the whole note as Notes renders it through its
// form, else the named field (a text field as one 10-point paragraph per line). False when no RTF was
// written: the reason is recorded on the note, as an error record or in its error text. Only one
// export runs at a time in the process (they share the CD file).
[[nodiscard]] bool ExportNoteToRtf(notes::NotesNote &note, const std::string &fieldName,
                                   const std::string &target);

// Picture repair of RTF text, line by line: in a line holding "{\pict\wbitmap" groups, a group (from
// its "{" to the next "}") whose "}" is not followed by a hexadecimal digit is dropped; the text around
// the groups is kept, and a group whose "}" is not on the line ends the scan with the rest of the line
// kept. Each line keeps its own line break. True when something was dropped (repaired is then the new
// text).
[[nodiscard]] bool RepairPictureGroups(const std::string &rtf, std::string &repaired);

// Applies RepairPictureGroups to the file at path, rewriting it (under a partial name renamed into
// place) only when something was dropped. False with the error record (code 0) when the file cannot
// be read or rewritten.
[[nodiscard]] bool RepairPictureFile(const std::string &path, notes::ErrorObject &error);

}  // namespace exporter
