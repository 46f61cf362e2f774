// What an export run works out before it writes anything: the positions of the computed columns it
// fills and whether its output paths are sound (neither the summary file nor the log may be the source
// database, the 'Copy To' database or the other file, which the run would otherwise overwrite).
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "config/ExportSettings.h"
#include "config/OutputItems.h"

namespace exporter {

// The computed columns the run fills itself.
enum class ComputedColumn {
    kAttachNames,
    kExtractedNames,
    kCount,
    kUniversalId,
    kViewName,
    kHasOle,
    kErrors,
    kMailTime,
    kTextFile,
    kRtfFile,
    kOtherFile,
    kInViews,
    kInFolders,
};
inline constexpr std::size_t kComputedColumnCount = static_cast<std::size_t>(ComputedColumn::kInFolders) + 1;

// Positions in OutputItems of the computed columns the run sets (-1: the column is not selected).
struct ComputedColumns {
    ComputedColumns() { positions.fill(-1); }

    std::array<int, kComputedColumnCount> positions;

    int operator[](ComputedColumn column) const { return positions[static_cast<std::size_t>(column)]; }
    bool Selected(ComputedColumn column) const { return (*this)[column] >= 0; }
    void Find(const config::OutputItems &items);
};

// The name of a view or folder from its "$TITLE": the text before the first "|" (what follows are
// its aliases, which Notes does not accept as part of a name).
std::string ViewNameFromTitle(const std::string &title);

// "" when the set-up is sound; otherwise the failure text, which names the output file and what it
// is: "Unable to create or open output file \"%s\": it is the source database" (or "the 'Copy To'
// database"), and for the log "Unable to create or open log file \"%s\": ..." (or "it is the summary
// file"). Only local databases given by a full path can be compared.
std::string OutputPathConflict(const config::ExportSettings &settings, bool writesSummary);

}  // namespace exporter
