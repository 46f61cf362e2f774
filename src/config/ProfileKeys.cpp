// The table of profile keys in file order.
#include "config/ProfileKeys.h"

#include <unordered_map>

namespace config {

namespace {

#define VORLIX_KEY(name, value, group)                                 \
    ProfileKey {                                                       \
#name, ProfileValue::value, ProfileGroup::group,               \
            [](ExportSettings & s) -> ProfileField { return &s.name; } \
    }
// An enumeration: an Int key whose values are the bits of `allowed`.
#define VORLIX_ENUM(name, group, allowed)                                       \
    ProfileKey {                                                                \
#name, ProfileValue::Int, ProfileGroup::group,                          \
            [](ExportSettings & s) -> ProfileField { return &s.name; }, allowed \
    }
#define VORLIX_RTF_KEY(name, value)                                                \
    ProfileKey {                                                                   \
#name, ProfileValue::value, ProfileGroup::Always,                          \
            [](ExportSettings & s) -> ProfileField { return &s.RtfAdvanced.name; } \
    }
#define VORLIX_RTF_ENUM(name, allowed)                                                      \
    ProfileKey {                                                                            \
#name, ProfileValue::Int, ProfileGroup::Always,                                     \
            [](ExportSettings & s) -> ProfileField { return &s.RtfAdvanced.name; }, allowed \
    }

// The values first to last, as bits.
constexpr std::uint32_t Range(int first, int last) {
    std::uint32_t bits = 0;
    for (int n = first; n <= last; ++n) {
        bits |= 1u << n;
    }
    return bits;
}

std::vector<ProfileKey> BuildTable() {
    return {
        VORLIX_ENUM(CharacterEncoding, Always, Range(0, 2)),
        VORLIX_KEY(NSFSever, Text, ProfileOnly),
        VORLIX_KEY(NSFFilePath, Text, ProfileOnly),
        VORLIX_KEY(CreateCSV, Bool, Always),
        VORLIX_KEY(CreateDocs, Bool, Always),
        VORLIX_KEY(CreatePdfs, Bool, Always),
        VORLIX_KEY(DoubleQuotes, Bool, Always),
        VORLIX_ENUM(SelectMethod, Always, Range(1, 4)),
        VORLIX_KEY(CopyDataToDb, Bool, Always),
        VORLIX_KEY(CopyDataToDbServer, Text, Always),
        VORLIX_KEY(CopyDataToDbFilename, Text, Always),
        VORLIX_KEY(MoveToFolder, Bool, Always),
        VORLIX_KEY(MoveToFolderName, Text, Always),
        VORLIX_KEY(ViewName, Text, SelectView),
        VORLIX_KEY(IncludeViewFolderNames, ViewList, SelectViews),
        VORLIX_KEY(ExcludeViewFolderNames, ViewList, SelectViews),
        VORLIX_KEY(Query, Text, SelectQuery),
        VORLIX_KEY(FTSearch, Text, SelectFtSearch),
        VORLIX_KEY(QueryAllDocs, Bool, Always),
        VORLIX_KEY(OutputItems, Columns, WithColumns),
        VORLIX_KEY(WriteFieldHeaders, Bool, Always),
        VORLIX_KEY(Delimiter, Delimiter, Always),
        VORLIX_ENUM(DelimiterType, Always, Range(0, 4)),
        VORLIX_KEY(MVDelimiter, Delimiter, Always),
        VORLIX_ENUM(MVDelimiterType, Always, Range(0, 4)),
        VORLIX_ENUM(DetachMethod, Always, Range(0, 4)),
        VORLIX_ENUM(AttPrefixOption, Always, Range(0, 2)),
        VORLIX_KEY(AttCreateSubDirs, Bool, Always),
        VORLIX_KEY(DetachMethodEvalString, Text, Always),
        VORLIX_KEY(CreateViewFolderHierarchy, Bool, Always),
        VORLIX_KEY(ExtractAttachments, Bool, Always),
        VORLIX_KEY(ExtractOle, Bool, Always),
        VORLIX_KEY(DetachByFieldName, FieldName, Always),
        VORLIX_KEY(DetachByFieldNameValueMaxLength, Int, Always),
        VORLIX_KEY(SummaryFilePath, Text, ProfileOnly),
        VORLIX_KEY(OutputPath, Text, ProfileOnly),
        VORLIX_KEY(OutputFile, Text, ProfileOnly),
        VORLIX_KEY(LaunchOnComplete, Bool, ProfileOnly),
        VORLIX_KEY(DialogOnComplete, Bool, ProfileOnly),
        VORLIX_ENUM(TextFileFormat, Always, Range(0, 1)),
        VORLIX_ENUM(TextFileNameFormat, Always, Range(0, 2)),
        VORLIX_KEY(TextFileFieldAppendFieldName, FieldName, Always),
        VORLIX_KEY(TextFileFieldValueAppend, Bool, Always),
        VORLIX_KEY(TextFileFieldValueMaxLength, Int, Always),
        VORLIX_KEY(CreateRTFs, Bool, WithRtf),
        VORLIX_ENUM(RtfFileNameFormat, WithRtf, Range(0, 2)),
        VORLIX_KEY(RtfFileFieldAppendFieldName, FieldName, WithRtf),
        VORLIX_KEY(RtfFileFieldValueAppend, Bool, WithRtf),
        VORLIX_KEY(RtfFileFieldValueMaxLength, Int, WithRtf),
        VORLIX_ENUM(RtfSource, WithRtf, Range(0, 1)),
        VORLIX_KEY(RtfSourceFieldName, FieldName, WithRtf),
        VORLIX_KEY(RtfFileExtension, Text, WithRtf),
        VORLIX_KEY(CreatePdfs, Bool, WithPdf),
        VORLIX_ENUM(PdfFormatNameFormat, WithPdf, Range(0, 2)),
        VORLIX_KEY(PdfFormatAppendFieldName, FieldName, WithPdf),
        VORLIX_KEY(PdfFormatFieldValueAppend, Bool, WithPdf),
        VORLIX_KEY(PdfFormatFieldValueMaxLength, Int, WithPdf),
        VORLIX_ENUM(ControlCharCarrigeReturnOption, Always, Range(0, 2)),
        VORLIX_ENUM(ControlCharLineFeedOption, Always, Range(0, 2)),
        VORLIX_KEY(CarrigeReturnReplaceString, Text, Always),
        VORLIX_KEY(LineFeedReplaceString, Text, Always),
        VORLIX_RTF_ENUM(RtfAdvancedOutputFormat, Range(0, 1)),
        VORLIX_RTF_KEY(RtfAdvancedExportNotesLinks, Bool),
        VORLIX_RTF_KEY(RtfAdvancedIncludeNotesLinks, Bool),
        VORLIX_RTF_KEY(RtfAdvancedIncludeTableMarks, Bool),
        VORLIX_RTF_KEY(RtfAdvancedIncludeAttMarkers, Bool),
        VORLIX_RTF_KEY(RtfAdvancedExportImages, Bool),
        VORLIX_RTF_KEY(RtfAdvancedIncludeImageMarkers, Bool),
        VORLIX_RTF_KEY(RtfAdvancedEnableNotesLinks, Bool),
        VORLIX_RTF_KEY(RtfAdvancedEnableUrlLinks, Bool),
        VORLIX_RTF_KEY(RtfAdvancedEnableAttLinks, Bool),
        VORLIX_RTF_KEY(RtfAdvancedJavascriptAsLibrary, Bool),
        VORLIX_RTF_ENUM(RtfAdvancedUrlRefFormat, Range(0, 1)),
        VORLIX_RTF_KEY(RtfAdvancedIncludeDocElements, Bool),
        VORLIX_RTF_ENUM(RtfAdvancedExtractMethod, Range(0, 3) | Range(5, 5)),
        VORLIX_RTF_ENUM(RtfAdvancedImageFilePrefixMethod, Range(0, 2)),
        VORLIX_RTF_KEY(RtfAdvancedFieldValueAppend, Bool),
        VORLIX_RTF_KEY(RtfAdvancedValueFieldName, Text),
        VORLIX_RTF_KEY(RtfAdvancedFieldValueMaxLength, Int),
        VORLIX_RTF_KEY(RtfAdvancedExtractPath, Text),
        VORLIX_KEY(PdfVersionString, Text, Always),
        VORLIX_KEY(PdfEditionString, Text, Always),
        VORLIX_KEY(PdfTimeOut, Int, Always),
        VORLIX_KEY(LogExport, Bool, Always),
        VORLIX_ENUM(LogLevel, Always, Range(0, 2)),
        VORLIX_ENUM(LogOpenMode, Always, Range(0, 1)),
        VORLIX_KEY(LogFileName, Text, Always),
        VORLIX_KEY(LogFieldName, Text, Always),
        VORLIX_KEY(VorlixDatabaseList, Text, OwnWhenSet),
    };
}

#undef VORLIX_KEY
#undef VORLIX_RTF_KEY
#undef VORLIX_ENUM
#undef VORLIX_RTF_ENUM

}  // namespace

const std::vector<ProfileKey> &ProfileKeys::Table() {
    static const std::vector<ProfileKey> table = BuildTable();
    return table;
}

const ProfileKey *ProfileKeys::Find(const std::string &key) {
    static const std::unordered_map<std::string, const ProfileKey *> index = [] {
        std::unordered_map<std::string, const ProfileKey *> map;
        for (const ProfileKey &entry : Table()) {
            map.emplace(entry.key, &entry);
        }
        return map;
    }();
    auto found = index.find(key);
    return found == index.end() ? nullptr : found->second;
}

}  // namespace config
