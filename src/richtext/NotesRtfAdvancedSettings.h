// The options of rich-text rendering (the "Rich Text Advanced" settings of an output column). The
// renderers only read them; the run-time state of rendering is a RenderState of the export run.
#pragma once

#include <cstdint>
#include <string>

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

// Fields are in declaration order of the record; stored fields bear their profile key names. The
// defaults are those of a newly created record (plain text, every flag off).
struct NotesRtfAdvancedSettings {
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
    std::string RtfAdvancedExtractPath;  // the chosen folder of "To Specific Path"

    // Sets the stored fields to their defaults, except RtfAdvancedJavascriptAsLibrary, which a reset
    // of the export settings leaves as it is.
    void ResetStoredFields();
    // Copies the stored fields from another record.
    void CopyStoredFields(const NotesRtfAdvancedSettings &from);
    // True when the stored fields of both records are equal.
    bool StoredFieldsEqual(const NotesRtfAdvancedSettings &other) const;
};

}  // namespace richtext
