// The path of a document's Text/HTML, RTF or PDF file: a stem chosen by the name format inside the
// run's output directory, an optional field value appended, then the extension.
#pragma once

#include <string>

namespace config {
struct ExportSettings;
}

namespace notes {
class NotesNote;
}

namespace exporter {

// TextFileNameFormat, RtfFileNameFormat, PdfFormatNameFormat: 0 the count ("%07d"), 1 the universal ID,
// 2 the field's value, 3 the evaluate string (not offered by the option pages).
inline constexpr int kNameByEvaluateString = 3;
// The stem of a file named by an evaluate string that gives nothing.
inline constexpr const char *kEvaluateError = "{Evaluate Error}";

// How one kind of per-document file is named.
struct DocumentFileNaming {
    int nameFormat = 0;
    std::string fieldName;  // the "Field Value" stem and the appended value
    int maxLength = 20;     // characters of the field value kept (negative: none)
    bool append = false;    // add a blank and the field value to the stem
    std::string evaluateString;
    std::string extension;  // with its dot
};

// The TextFile..., RtfFile... and PdfFormat... settings of a profile.
DocumentFileNaming TextFileNaming(const config::ExportSettings &settings);
DocumentFileNaming RtfFileNaming(const config::ExportSettings &settings);
DocumentFileNaming PdfFileNaming(const config::ExportSettings &settings);

// basePath joined with the file name: the stem by naming.nameFormat (an unknown format names by the
// count), " " and the field value when naming.append is set, trimmed of blanks, then the extension.
// Field values and evaluate results are cut and sanitised, so the name never leaves basePath; an empty
// name leaves the extension alone. error receives the evaluate string's error text, if any.
std::string DocumentFileName(const notes::NotesNote &note, const DocumentFileNaming &naming,
                             const std::string &basePath, long count, std::string *error = nullptr);

struct RunContext;

// Takes path in the run's registry of written files before a document's file is written. A name made
// from a field value or an evaluate string that a file of an earlier document of this run already has
// is numbered (OutputNameRegistry::Claim), and the log says so, naming the kind of file ("Text",
// "HTML", "RTF"); a count or universal-ID name is taken as it is. False when the log line cannot be
// written (the log's LastError says why).
[[nodiscard]] bool ClaimDocumentFileName(RunContext &run, const DocumentFileNaming &naming, const char *kind,
                                         std::string &path);

}  // namespace exporter
