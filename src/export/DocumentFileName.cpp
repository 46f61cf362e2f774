// Naming the per-document Text/HTML, RTF and PDF files.
#include "export/DocumentFileName.h"

#include <cstdio>

#include "config/ExportSettings.h"
#include "export/DocumentStep.h"
#include "export/EvaluateString.h"
#include "export/SanitizeFileName.h"
#include "log/LogManager.h"
#include "notes/NotesNote.h"
#include "platform/AsciiText.h"
#include "platform/Paths.h"
#include "richtext/NotesItem.h"

namespace exporter {

namespace {

// The named field rendered as text (multiple values joined by a blank), cut and sanitised.
std::string FieldValueName(const notes::NotesNote &note, const DocumentFileNaming &naming) {
    if (!note.IsOpen() || naming.fieldName.empty()) {
        return {};
    }
    const std::string value = richtext::NotesItem::Render(note, naming.fieldName, " ", nullptr).text;
    return SanitizeFileName(platform::FirstUtf8Characters(value, naming.maxLength));
}

std::string Stem(const notes::NotesNote &note, const DocumentFileNaming &naming, long count,
                 std::string *error) {
    switch (naming.nameFormat) {
        case config::kNameByUniversalId:
            return note.UniversalId();
        case config::kNameByFieldValue:
            return FieldValueName(note, naming);
        case kNameByEvaluateString: {
            const EvaluateResult result = EvaluateFileNameString(naming.evaluateString, note);
            if (error != nullptr) {
                *error = result.error;
            }
            const std::string name = SanitizeFileName(result.text);
            return name.empty() ? kEvaluateError : name;
        }
        default: {
            char text[24];
            std::snprintf(text, sizeof text, "%07ld", count);
            return text;
        }
    }
}

}  // namespace

DocumentFileNaming TextFileNaming(const config::ExportSettings &settings) {
    return {settings.TextFileNameFormat,
            settings.TextFileFieldAppendFieldName,
            settings.TextFileFieldValueMaxLength,
            settings.TextFileFieldValueAppend,
            {},
            settings.TextFileFormat == config::kTextFileHtml ? ".htm" : ".txt"};
}

DocumentFileNaming RtfFileNaming(const config::ExportSettings &settings) {
    return {settings.RtfFileNameFormat,
            settings.RtfFileFieldAppendFieldName,
            settings.RtfFileFieldValueMaxLength,
            settings.RtfFileFieldValueAppend,
            {},
            settings.RtfFileExtension};
}

DocumentFileNaming PdfFileNaming(const config::ExportSettings &settings) {
    return {settings.PdfFormatNameFormat,
            settings.PdfFormatAppendFieldName,
            settings.PdfFormatFieldValueMaxLength,
            settings.PdfFormatFieldValueAppend,
            {},
            ".pdf"};
}

std::string DocumentFileName(const notes::NotesNote &note, const DocumentFileNaming &naming,
                             const std::string &basePath, long count, std::string *error) {
    if (error != nullptr) {
        error->clear();
    }
    std::string name = Stem(note, naming, count, error);
    if (naming.append) {
        name += " " + FieldValueName(note, naming);
    }
    // Sanitised once more as a whole: the extension comes from the profile, and a separator in it must
    // not make a directory, nor may the name be "." or "..".
    return platform::JoinPath(basePath, SanitizeFileName(platform::TrimBlanks(name) + naming.extension));
}

bool ClaimDocumentFileName(RunContext &run, const DocumentFileNaming &naming, const char *kind,
                           std::string &path) {
    const bool fromValues = naming.append || naming.nameFormat == config::kNameByFieldValue ||
                            naming.nameFormat == kNameByEvaluateString;
    if (!fromValues) {
        run.names.Record(path);
        return true;
    }
    const std::string wanted = path;
    path = run.names.Claim(wanted);
    if (!run.names.LastClaimRenamed() || !run.log.Accepts(logging::kLogLevelLow)) {
        return true;
    }
    return run.log.Write(
        std::string("......") + kind + " file \"" + wanted +
            "\" was written for an earlier document of this run: this document's file is \"" + path + "\"\n",
        logging::kLogLevelLow);
}

}  // namespace exporter
