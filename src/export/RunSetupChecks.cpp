// The checks and look-ups of an export run's preparation.
#include "RunSetupChecks.h"

#include <iterator>
#include <utility>

#include "config/ComputedFieldCatalogue.h"

#include "platform/OutputFile.h"

namespace exporter {

namespace {

// The local database path when it can be compared with a file path (a path relative to the Notes
// data directory, or one on a server, cannot).
std::string LocalDatabasePath(const std::string &server, const std::string &path) {
    return server.empty() && !path.empty() && path.front() == '/' ? path : std::string();
}

std::string Conflict(const std::string &output, const std::string &prefix,
                     const config::ExportSettings &settings) {
    if (platform::SameFile(output, LocalDatabasePath(settings.NSFSever, settings.NSFFilePath))) {
        return prefix + "\"" + output + "\": it is the source database";
    }
    if (settings.CopyDataToDb &&
        platform::SameFile(output,
                           LocalDatabasePath(settings.CopyDataToDbServer, settings.CopyDataToDbFilename))) {
        return prefix + "\"" + output + "\": it is the 'Copy To' database";
    }
    return {};
}

// Each computed column with the catalogue name it is found by.
constexpr std::pair<ComputedColumn, const char *> kComputedColumnNames[] = {
    {ComputedColumn::kAttachNames, config::kFieldAttachNames},
    {ComputedColumn::kExtractedNames, config::kFieldExtractedAttNames},
    {ComputedColumn::kCount, config::kFieldCount},
    {ComputedColumn::kUniversalId, config::kFieldUniversalId},
    {ComputedColumn::kViewName, config::kFieldViewFolderName},
    {ComputedColumn::kHasOle, config::kFieldHasOle},
    {ComputedColumn::kErrors, config::kFieldErrors},
    {ComputedColumn::kMailTime, config::kFieldMailTime},
    {ComputedColumn::kTextFile, config::kFieldTextFileName},
    {ComputedColumn::kRtfFile, config::kFieldRtfFileName},
    {ComputedColumn::kOtherFile, config::kFieldOtherFormatFileName},
    {ComputedColumn::kInViews, config::kFieldInViews},
    {ComputedColumn::kInFolders, config::kFieldInFolders},
};
static_assert(std::size(kComputedColumnNames) == kComputedColumnCount);

}  // namespace

void ComputedColumns::Find(const config::OutputItems &items) {
    for (const auto &[column, name] : kComputedColumnNames) {
        positions[static_cast<std::size_t>(column)] = items.IndexOf(name);
    }
}

std::string ViewNameFromTitle(const std::string &title) {
    return title.substr(0, title.find('|'));
}

std::string OutputPathConflict(const config::ExportSettings &settings, bool writesSummary) {
    if (writesSummary) {
        const std::string conflict =
            Conflict(settings.SummaryFilePath, "Unable to create or open output file ", settings);
        if (!conflict.empty()) {
            return conflict;
        }
    }
    if (!settings.LogExport) {
        return {};
    }
    const std::string prefix = "Unable to create or open log file ";
    if (writesSummary && platform::SameFile(settings.LogFileName, settings.SummaryFilePath)) {
        return prefix + "\"" + settings.LogFileName + "\": it is the summary file";
    }
    return Conflict(settings.LogFileName, prefix, settings);
}

}  // namespace exporter
