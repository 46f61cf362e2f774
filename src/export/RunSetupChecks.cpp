// The checks and look-ups of an export run's preparation.
#include "RunSetupChecks.h"

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

}  // namespace

void ComputedColumns::Find(const config::OutputItems &items) {
    attachNames = items.IndexOf(config::kFieldAttachNames);
    extractedNames = items.IndexOf(config::kFieldExtractedAttNames);
    count = items.IndexOf(config::kFieldCount);
    universalId = items.IndexOf(config::kFieldUniversalId);
    viewName = items.IndexOf(config::kFieldViewFolderName);
    hasOle = items.IndexOf(config::kFieldHasOle);
    errors = items.IndexOf(config::kFieldErrors);
    mailTime = items.IndexOf(config::kFieldMailTime);
    textFile = items.IndexOf(config::kFieldTextFileName);
    rtfFile = items.IndexOf(config::kFieldRtfFileName);
    otherFile = items.IndexOf(config::kFieldOtherFormatFileName);
    inViews = items.IndexOf(config::kFieldInViews);
    inFolders = items.IndexOf(config::kFieldInFolders);
}

std::string ViewNameFromTitle(const std::string &title) {
    return title.substr(0, title.find('|'));
}

std::string UnavailableOption(const config::ExportSettings &settings) {
    if (settings.ExtractAttachments) {
        return "ExtractAttachments";
    }
    if (settings.ExtractOle) {
        return "ExtractOle";
    }
    if (settings.CreateDocs) {
        return "CreateDocs";
    }
    if (settings.CreateRTFs) {
        return "CreateRTFs";
    }
    if (settings.CreatePdfs) {
        return "CreatePdfs";
    }
    return {};
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
