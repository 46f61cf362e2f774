// Defaults of the export settings.
#include "config/ExportSettings.h"

#include "config/ProfileKeys.h"

namespace config {

void ExportSettings::ResetToDefaults() {
    ExportSettings fresh;
    // Fields a reset leaves as they are.
    fresh.CharacterEncoding = CharacterEncoding;
    fresh.NSFSever = std::move(NSFSever);
    fresh.NSFFilePath = std::move(NSFFilePath);
    fresh.ViewName = std::move(ViewName);
    fresh.Query = std::move(Query);
    fresh.FTSearch = std::move(FTSearch);
    fresh.AttCreateSubDirs = AttCreateSubDirs;
    fresh.DetachMethodEvalString = std::move(DetachMethodEvalString);
    fresh.ControlCharCarrigeReturnOption = ControlCharCarrigeReturnOption;
    fresh.ControlCharLineFeedOption = ControlCharLineFeedOption;
    fresh.CarrigeReturnReplaceString = std::move(CarrigeReturnReplaceString);
    fresh.LineFeedReplaceString = std::move(LineFeedReplaceString);
    fresh.DelimiterType = DelimiterType;
    fresh.MVDelimiterType = MVDelimiterType;
    // The rich-text options keep their run-time state and JavaScript-as-library.
    fresh.RtfAdvanced = std::move(RtfAdvanced);
    fresh.RtfAdvanced.ResetStoredFields();
    *this = std::move(fresh);
}

bool ExportSettings::StoredFieldsEqual(const ExportSettings &other) const {
    for (const ProfileKey &key : ProfileKeys::Table()) {
        bool equal = true;
        switch (key.value) {
            case ProfileValue::Bool:
                equal = ProfileKeys::Field<bool>(key, *this) == ProfileKeys::Field<bool>(key, other);
                break;
            case ProfileValue::Int:
                equal = ProfileKeys::Field<std::int32_t>(key, *this) ==
                        ProfileKeys::Field<std::int32_t>(key, other);
                break;
            case ProfileValue::Text:
            case ProfileValue::FieldName:
            case ProfileValue::Delimiter:
                equal = ProfileKeys::Field<std::string>(key, *this) ==
                        ProfileKeys::Field<std::string>(key, other);
                break;
            case ProfileValue::ViewList:
                equal = ProfileKeys::Field<std::vector<std::string>>(key, *this) ==
                        ProfileKeys::Field<std::vector<std::string>>(key, other);
                break;
            case ProfileValue::Columns:
                equal = ProfileKeys::Field<config::OutputItems>(key, *this)
                            .SameColumns(ProfileKeys::Field<config::OutputItems>(key, other));
                break;
        }
        if (!equal) {
            return false;
        }
    }
    return true;
}

}  // namespace config
