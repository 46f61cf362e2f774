// The options of rich-text rendering (the "Rich Text Advanced" settings of an output column) and the
// per-document state that rendering keeps in them.
#pragma once

#include <cstdint>
#include <string>

namespace notes {
class NotesNote;
}

namespace richtext {

// RtfAdvancedOutputFormat.
constexpr int kOutputFormatText = 0;
constexpr int kOutputFormatHtml = 1;

// RtfAdvancedExtractMethod: where the images of a document go.
constexpr int kImageDirCount = 0;
constexpr int kImageDirUniversalId = 1;
constexpr int kImageDirBase = 2;
constexpr int kImageDirFieldValue = 3;
constexpr int kImageDirFormula = 4;
constexpr int kImageDirSpecificPath = 5;

// RtfAdvancedImageFilePrefixMethod.
constexpr int kImagePrefixNone = 0;
constexpr int kImagePrefixCount = 1;
constexpr int kImagePrefixUniversalId = 2;

// CharsetMark: which meta line the HTML head carries.
constexpr int kCharsetMarkNone = 0;
constexpr int kCharsetMarkUtf16 = 1;
constexpr int kCharsetMarkUtf8 = 2;

// Fields are in declaration order of the record; stored fields bear their profile key names. The
// defaults are those of a newly created record (plain text, every flag off).
struct NotesRtfAdvancedSettings {
    std::int32_t CharsetMark = kCharsetMarkNone;
    std::int32_t RtfAdvancedOutputFormat = kOutputFormatText;
    bool RtfAdvancedExportNotesLinks = false;
    bool RtfAdvancedIncludeNotesLinks = false;
    bool RtfAdvancedIncludeTableMarks = false;
    bool RtfAdvancedIncludeAttMarkers = false;
    bool RtfAdvancedExportImages = false;
    bool RtfAdvancedIncludeImageMarkers = false;
    bool RtfAdvancedEnableNotesLinks = false;
    bool RtfAdvancedEnableUrlLinks = false;
    bool RtfAdvancedEnableAttLinks = false;
    std::int32_t RtfAdvancedUrlRefFormat = 0;  // stored only; rendering does not read it
    bool RtfAdvancedIncludeDocElements = false;
    bool RtfAdvancedJavascriptAsLibrary = false;
    float TwipsPerPixelX = 15.0f;  // not stored
    float TwipsPerPixelY = 15.0f;  // not stored
    std::int32_t RtfAdvancedExtractMethod = kImageDirCount;
    bool RtfAdvancedFieldValueAppend = false;  // stored only; rendering does not read it
    std::int32_t RtfAdvancedImageFilePrefixMethod = kImagePrefixNone;
    std::string RtfAdvancedValueFieldName;
    std::int32_t RtfAdvancedFieldValueMaxLength = 40;

    // Run time, per document.
    std::string ImageDirectory;              // directory chosen for this document's images
    std::string RtfAdvancedExtractPath;      // stored; overwritten with the created image directory
    std::int32_t ImageCounter = 0;           // number of the last image file of the document
    std::int32_t ImagesInItem = 0;           // images met
    std::string ImagePrefix;                 // file-name prefix of this document's images
    std::int32_t SectionNumber = 0;          // last number given to a section or tabbed table
    const notes::NotesNote *Note = nullptr;  // the note being rendered

    // Sets the stored fields to their defaults, except RtfAdvancedJavascriptAsLibrary, which a reset
    // of the export settings leaves as it is.
    void ResetStoredFields();
    // Copies the stored fields (not the run-time state) from another record.
    void CopyStoredFields(const NotesRtfAdvancedSettings &from);
    // True when the stored fields of both records are equal.
    bool StoredFieldsEqual(const NotesRtfAdvancedSettings &other) const;
};

}  // namespace richtext
