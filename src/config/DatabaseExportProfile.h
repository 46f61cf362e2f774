// An export profile: the export settings with their profile and template files, the last error of a
// file operation, and the run-time fields an export run keeps with them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "config/ExportSettings.h"
#include "notes/capi/NotesTypes.h"
#include "richtext/RenderState.h"

namespace notes {
class NotesDatabase;
class NotesSession;
}  // namespace notes

namespace config {

class DatabaseExportProfile {
public:
    // Every field takes its default.
    DatabaseExportProfile();

    // Sets the stored fields to their defaults (see ExportSettings::ResetToDefaults).
    void ResetToDefaults();

    // Copies the settings into another record. SummaryFilePath, OutputPath, OutputFile,
    // LaunchOnComplete and DialogOnComplete only when templateOnly is false; the source database, the
    // view selection (ViewName, both lists, Query, FTSearch) and the output columns never.
    void CopySettings(DatabaseExportProfile &target, bool templateOnly) const;

    // Writes the profile (asTemplate: without the source database and the location and completion
    // keys) through a temporary file and a rename, so a failed write leaves any older file whole. With
    // CharacterEncoding 1, or when the ANSI code page cannot hold every value, the file is UTF-16.
    [[nodiscard]] bool SaveToFile(const std::string &path, const std::string &productName,
                                  const std::string &productVersion, bool asTemplate);
    // Reads a profile or template into this record. On failure sets LastError and changes nothing else.
    [[nodiscard]] bool LoadFromFile(const std::string &path, const std::string &productName,
                                    const std::string &productVersion);

    // The file's bytes, as SaveToFile writes them.
    std::string SaveToBytes(const std::string &productName, const std::string &productVersion,
                            bool asTemplate) const;
    // Reads a file's bytes; path is only named in messages.
    [[nodiscard]] bool LoadFromBytes(const std::string &bytes, const std::string &path,
                                     const std::string &productName, const std::string &productVersion);

    const std::string &LastError() const { return m_lastError; }
    // What the last successful load read but did not expect, one line each naming the key and the value
    // ("Warning: profile key SelectMethod has the value \"99\", which is not one of 1, 2, 3 or 4."):
    // enumerations out of range, booleans other than 0 or 1, delimiter codes that are no character, no
    // output columns. Each value keeps the meaning the format gives it. The command line writes them
    // to standard error and the export run to its log.
    const std::vector<std::string> &Warnings() const { return m_warnings; }
    void SetLastError(std::string text) { m_lastError = std::move(text); }

    ExportSettings Settings;

    // Run-time fields of an export (never stored in a file). Progress and status go through the
    // user-interface seam; ShowProgress false means no progress or status is shown.
    bool ShowProgress = true;
    int LastStatus = 0;  // 1 source database not opened, 2 nothing to export or cancelled
    long ProcessedTotal = 0;
    long ExportedTotal = 0;
    std::vector<std::string> FoundFieldNames;
    std::string CurrentViewName;
    notes::NotesSession *Session = nullptr;  // lent for a run
    std::shared_ptr<notes::NotesDatabase> SourceDatabase;
    // Selection method 0: a caller-supplied ID table and database handle (then the run neither opens
    // nor closes the database).
    DHANDLE SuppliedIdTable = notes::kNullHandle;
    DBHANDLE SuppliedDatabase = notes::kNullHandle;
    bool DatabaseSupplied = false;
    // The rich-text render state of the run: the current document's image directory, prefix and
    // counters, and the section number that runs on over the run.
    richtext::RenderState RenderState;

private:
    std::string m_lastError;
    std::vector<std::string> m_warnings;
};

}  // namespace config
