// Reset, copy and comparison of the stored rich-text rendering options.
#include "richtext/NotesRtfAdvancedSettings.h"

namespace richtext {

void NotesRtfAdvancedSettings::ResetStoredFields() {
    NotesRtfAdvancedSettings fresh;
    fresh.RtfAdvancedJavascriptAsLibrary = RtfAdvancedJavascriptAsLibrary;
    CopyStoredFields(fresh);
}

void NotesRtfAdvancedSettings::CopyStoredFields(const NotesRtfAdvancedSettings &from) {
    RtfAdvancedOutputFormat = from.RtfAdvancedOutputFormat;
    RtfAdvancedExportNotesLinks = from.RtfAdvancedExportNotesLinks;
    RtfAdvancedIncludeNotesLinks = from.RtfAdvancedIncludeNotesLinks;
    RtfAdvancedIncludeTableMarks = from.RtfAdvancedIncludeTableMarks;
    RtfAdvancedIncludeAttMarkers = from.RtfAdvancedIncludeAttMarkers;
    RtfAdvancedExportImages = from.RtfAdvancedExportImages;
    RtfAdvancedIncludeImageMarkers = from.RtfAdvancedIncludeImageMarkers;
    RtfAdvancedEnableNotesLinks = from.RtfAdvancedEnableNotesLinks;
    RtfAdvancedEnableUrlLinks = from.RtfAdvancedEnableUrlLinks;
    RtfAdvancedEnableAttLinks = from.RtfAdvancedEnableAttLinks;
    RtfAdvancedJavascriptAsLibrary = from.RtfAdvancedJavascriptAsLibrary;
    RtfAdvancedUrlRefFormat = from.RtfAdvancedUrlRefFormat;
    RtfAdvancedIncludeDocElements = from.RtfAdvancedIncludeDocElements;
    RtfAdvancedExtractMethod = from.RtfAdvancedExtractMethod;
    RtfAdvancedImageFilePrefixMethod = from.RtfAdvancedImageFilePrefixMethod;
    RtfAdvancedFieldValueAppend = from.RtfAdvancedFieldValueAppend;
    RtfAdvancedValueFieldName = from.RtfAdvancedValueFieldName;
    RtfAdvancedFieldValueMaxLength = from.RtfAdvancedFieldValueMaxLength;
    RtfAdvancedExtractPath = from.RtfAdvancedExtractPath;
}

bool NotesRtfAdvancedSettings::StoredFieldsEqual(const NotesRtfAdvancedSettings &other) const {
    NotesRtfAdvancedSettings mine;
    NotesRtfAdvancedSettings theirs;
    mine.CopyStoredFields(*this);
    theirs.CopyStoredFields(other);
    return mine.RtfAdvancedOutputFormat == theirs.RtfAdvancedOutputFormat &&
           mine.RtfAdvancedExportNotesLinks == theirs.RtfAdvancedExportNotesLinks &&
           mine.RtfAdvancedIncludeNotesLinks == theirs.RtfAdvancedIncludeNotesLinks &&
           mine.RtfAdvancedIncludeTableMarks == theirs.RtfAdvancedIncludeTableMarks &&
           mine.RtfAdvancedIncludeAttMarkers == theirs.RtfAdvancedIncludeAttMarkers &&
           mine.RtfAdvancedExportImages == theirs.RtfAdvancedExportImages &&
           mine.RtfAdvancedIncludeImageMarkers == theirs.RtfAdvancedIncludeImageMarkers &&
           mine.RtfAdvancedEnableNotesLinks == theirs.RtfAdvancedEnableNotesLinks &&
           mine.RtfAdvancedEnableUrlLinks == theirs.RtfAdvancedEnableUrlLinks &&
           mine.RtfAdvancedEnableAttLinks == theirs.RtfAdvancedEnableAttLinks &&
           mine.RtfAdvancedJavascriptAsLibrary == theirs.RtfAdvancedJavascriptAsLibrary &&
           mine.RtfAdvancedUrlRefFormat == theirs.RtfAdvancedUrlRefFormat &&
           mine.RtfAdvancedIncludeDocElements == theirs.RtfAdvancedIncludeDocElements &&
           mine.RtfAdvancedExtractMethod == theirs.RtfAdvancedExtractMethod &&
           mine.RtfAdvancedImageFilePrefixMethod == theirs.RtfAdvancedImageFilePrefixMethod &&
           mine.RtfAdvancedFieldValueAppend == theirs.RtfAdvancedFieldValueAppend &&
           mine.RtfAdvancedValueFieldName == theirs.RtfAdvancedValueFieldName &&
           mine.RtfAdvancedFieldValueMaxLength == theirs.RtfAdvancedFieldValueMaxLength &&
           mine.RtfAdvancedExtractPath == theirs.RtfAdvancedExtractPath;
}

}  // namespace richtext
