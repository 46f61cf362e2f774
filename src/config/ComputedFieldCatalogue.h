// The fixed catalogue of the sixteen computed fields an export can write as columns.
#pragma once

#include <string>
#include <vector>

#include "config/OutputItem.h"

namespace config {

// Names of the computed fields, as stored in profiles and used as column titles.
inline constexpr const char *kFieldCount = "%Count";
inline constexpr const char *kFieldAttachNames = "%Attach_Names";
inline constexpr const char *kFieldExtractedAttNames = "%Extr_Att_Names";
inline constexpr const char *kFieldUniversalId = "%Universal_ID";
inline constexpr const char *kFieldViewFolderName = "%View_Folder_Name";
inline constexpr const char *kFieldHasOle = "%Has_OLE";
inline constexpr const char *kFieldErrors = "%Errors";
inline constexpr const char *kFieldMailTime = "%Mail_Time";
inline constexpr const char *kFieldTextFileName = "%TF_Name";
inline constexpr const char *kFieldRtfFileName = "%RTF_Name";
inline constexpr const char *kFieldOtherFormatFileName = "%OF_Name";
inline constexpr const char *kFieldInViews = "%In_Views";
inline constexpr const char *kFieldInFolders = "%In_Folders";

struct ComputedField {
    std::string label;  // as shown in the field lists
    std::string name;   // as stored
    int kind;           // 1 formula, 2 set by the run, 4 computed by valueFunction
    ValueFunction valueFunction;
};

class ComputedFieldCatalogue {
public:
    // The entries in their fixed order; built on first use and kept for the life of the process.
    static const std::vector<ComputedField> &Entries();
    // The entry of a name, compared without regard to case; null when there is none.
    static const ComputedField *Find(const std::string &name);

    // The value functions of the kind 4 entries.
    static std::string UniversalId(const notes::NotesNote &note);
    static std::string HasOle(const notes::NotesNote &note);
    static std::string MailTime(const notes::NotesNote &note);
};

}  // namespace config
