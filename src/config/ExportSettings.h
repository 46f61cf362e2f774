// The record of every export option; each stored field bears the name of its profile key.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/OutputItems.h"
#include "richtext/NotesRtfAdvancedSettings.h"

namespace config {

// CharacterEncoding: of the CSV and Text/HTML files, and of the profile file itself.
constexpr int kEncodingAnsi = 0;
constexpr int kEncodingUtf16 = 1;
constexpr int kEncodingUtf8 = 2;

// SelectMethod. 0 is set only by a caller that hands the run an explicit table of note IDs.
constexpr int kSelectIdTable = 0;
constexpr int kSelectView = 1;
constexpr int kSelectViews = 2;
constexpr int kSelectQuery = 3;
constexpr int kSelectFtSearch = 4;

// DelimiterType and MVDelimiterType: how the delimiter was chosen on the CSV options page.
constexpr int kDelimiterComma = 0;
constexpr int kDelimiterSemicolon = 1;
constexpr int kDelimiterBar = 2;
constexpr int kDelimiterChar = 3;
constexpr int kDelimiterCode = 4;

// DetachMethod: the directory that receives a document's attachments.
constexpr int kDetachToCountSubdir = 0;
constexpr int kDetachToUniversalIdSubdir = 1;
constexpr int kDetachToBaseDirectory = 2;
constexpr int kDetachToFieldValueDirectory = 3;
constexpr int kDetachToFormulaDirectory = 4;

// AttPrefixOption (and RtfAdvancedImageFilePrefixMethod).
constexpr int kPrefixNone = 0;
constexpr int kPrefixCount = 1;
constexpr int kPrefixUniversalId = 2;

// TextFileNameFormat, RtfFileNameFormat, PdfFormatNameFormat.
constexpr int kNameByCount = 0;
constexpr int kNameByUniversalId = 1;
constexpr int kNameByFieldValue = 2;

// TextFileFormat.
constexpr int kTextFilePlain = 0;
constexpr int kTextFileHtml = 1;

// RtfSource.
constexpr int kRtfSourceDocument = 0;
constexpr int kRtfSourceField = 1;

// ControlCharCarrigeReturnOption, ControlCharLineFeedOption.
constexpr int kControlCharKeep = 0;
constexpr int kControlCharRemove = 1;
constexpr int kControlCharReplace = 2;

// LogLevel and LogOpenMode.
constexpr int kLogLow = 0;
constexpr int kLogMedium = 1;
constexpr int kLogHigh = 2;
constexpr int kLogOpenNew = 0;
constexpr int kLogOpenAppend = 1;

// Captions of the enumerations as the dialogs show them, indexed by value.
inline constexpr const char *kEncodingCaptions[] = {"ANSI", "Unicode UTF-16", "Unicode UTF-8"};
inline constexpr const char *kSelectMethodCaptions[] = {"", "View/Fld", "Views/Flds", "Query", "FT Search"};
inline constexpr const char *kDelimiterTypeCaptions[] = {",", ";", "|", "Char", "Code"};
inline constexpr const char *kDetachMethodCaptions[] = {
    "To Count Subdir", "To Universal ID Subdir", "To Base Export Directory",
    "To Directory Named By Field Value", "To Directory Named By Lotus Notes Formula"};
inline constexpr const char *kImageExtractMethodCaptions[] = {"To Count Subdir",
                                                              "To Universal ID Subdir",
                                                              "To Base Export Directory",
                                                              "To Directory Named By Field Value",
                                                              "",
                                                              "To Specific Path"};
inline constexpr const char *kPrefixCaptions[] = {"None", "Count", "Universal ID"};
inline constexpr const char *kNameFormatCaptions[] = {"Count", "Universal ID", "Field Value"};
inline constexpr const char *kControlCharCaptions[] = {"None", "Remove", "Replace with"};
inline constexpr const char *kLogLevelCaptions[] = {"Low", "Medium", "High"};

// The value "All Docs" sets Query to, and the include-list entry that stands for every view and folder
// not excluded.
inline constexpr const char *kAllNonExcludedViews = "%All non excluded view/folders%";

// The pdfFactory versions and editions, by the names the PDF phase uses.
inline constexpr const char *kPdfVersionDefault = "pdfFactory4";
inline constexpr const char *kPdfEditionStandard = "pdfFactory";
inline constexpr const char *kPdfEditionPro = "pdfFactory Pro";

// Fields in the order of the profile file. Text is UTF-8.
struct ExportSettings {
    std::int32_t CharacterEncoding = kEncodingAnsi;
    std::string NSFSever;
    std::string NSFFilePath;
    bool CreateCSV = true;
    bool CreateDocs = false;
    bool CreatePdfs = false;
    bool DoubleQuotes = true;
    std::int32_t SelectMethod = kSelectView;
    bool CopyDataToDb = false;
    std::string CopyDataToDbServer;
    std::string CopyDataToDbFilename;
    bool MoveToFolder = false;
    std::string MoveToFolderName;
    std::string ViewName;
    std::vector<std::string> IncludeViewFolderNames;
    std::vector<std::string> ExcludeViewFolderNames;
    std::string Query;
    std::string FTSearch;
    bool QueryAllDocs = false;
    config::OutputItems OutputItems;
    bool WriteFieldHeaders = true;
    std::string Delimiter = ",";
    std::int32_t DelimiterType = kDelimiterComma;
    std::string MVDelimiter = ";";
    std::int32_t MVDelimiterType = kDelimiterSemicolon;
    std::int32_t DetachMethod = kDetachToCountSubdir;
    std::int32_t AttPrefixOption = kPrefixNone;
    bool AttCreateSubDirs = false;
    std::string DetachMethodEvalString;
    bool CreateViewFolderHierarchy = false;
    bool ExtractAttachments = false;
    bool ExtractOle = false;
    std::string DetachByFieldName;
    std::int32_t DetachByFieldNameValueMaxLength = 20;
    std::string SummaryFilePath;
    std::string OutputPath;
    std::string OutputFile;
    bool LaunchOnComplete = false;
    bool DialogOnComplete = false;
    std::int32_t TextFileFormat = kTextFilePlain;
    std::int32_t TextFileNameFormat = kNameByCount;
    std::string TextFileFieldAppendFieldName;
    bool TextFileFieldValueAppend = false;
    std::int32_t TextFileFieldValueMaxLength = 20;
    bool CreateRTFs = false;
    std::int32_t RtfFileNameFormat = kNameByCount;
    std::string RtfFileFieldAppendFieldName;
    bool RtfFileFieldValueAppend = false;
    std::int32_t RtfFileFieldValueMaxLength = 20;
    std::int32_t RtfSource = kRtfSourceDocument;
    std::string RtfSourceFieldName;
    std::string RtfFileExtension = ".rtf";
    std::int32_t PdfFormatNameFormat = kNameByCount;
    std::string PdfFormatAppendFieldName;
    bool PdfFormatFieldValueAppend = false;
    std::int32_t PdfFormatFieldValueMaxLength = 20;
    std::int32_t ControlCharCarrigeReturnOption = kControlCharKeep;
    std::int32_t ControlCharLineFeedOption = kControlCharKeep;
    std::string CarrigeReturnReplaceString = "{[CR]}";
    std::string LineFeedReplaceString = "{[LF]}";
    // The RtfAdvanced keys, from RtfAdvancedOutputFormat to RtfAdvancedExtractPath.
    richtext::NotesRtfAdvancedSettings RtfAdvanced;
    std::string PdfVersionString = kPdfVersionDefault;
    std::string PdfEditionString = kPdfEditionPro;
    std::int32_t PdfTimeOut = 8000;
    bool LogExport = false;
    std::int32_t LogLevel = kLogLow;
    std::int32_t LogOpenMode = kLogOpenNew;
    std::string LogFileName;
    std::string LogFieldName = "Subject";
    // A key of this program's own, written only when set: the database list file (CSV) whose entries a
    // command-line run exports one after another with these settings, into OutputPath.
    std::string VorlixDatabaseList;

    // Sets the stored fields to their defaults and empties both view lists and the output items. Leaves
    // CharacterEncoding, NSFSever, NSFFilePath, ViewName, Query, FTSearch, AttCreateSubDirs,
    // DetachMethodEvalString, the four control-character fields, RtfAdvancedJavascriptAsLibrary and
    // the two delimiter types as they are.
    void ResetToDefaults();

    // True when every stored field (output items by kind, name and rich-text advanced value) is equal.
    bool StoredFieldsEqual(const ExportSettings &other) const;
};

}  // namespace config
