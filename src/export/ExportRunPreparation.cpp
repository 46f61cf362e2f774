// The preparation of an export run: its settings checked, the source database opened, the views to
// walk resolved and its outputs opened, before the first document.
#include "export/ExportRunState.h"

#include "export/CreateDirectoryPath.h"
#include "export/SanitizeFileName.h"
#include "export/ViewNameFilter.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"

namespace exporter {

namespace {

constexpr int kMaxFormulaErrors = 10;

}  // namespace

bool ExportRun::State::Prepare() {
    FindComputedColumns();
    Csv().SetEncoding(m_settings.CharacterEncoding);
    if (m_run.m_showProgress) {
        SetProgress(0, 1);
        ShowStatus("");
    }
    if (!CompileFormulaColumns()) {
        return false;
    }
    RegisterControlCharacterRules();
    if (!OpenSourceDatabase()) {
        return false;
    }
    m_context.db = DbHandle();
    if (m_run.m_showProgress) {
        m_title = m_db->Title();
        ShowStatus(m_title);
    }
    if (!m_moveToFolder.FindFolder(m_context)) {
        return Fail(m_moveToFolder.LastError());
    }
    if (!BuildViewList()) {
        return false;
    }
    if (!m_copy.Open(m_settings)) {
        return Fail(m_copy.LastError());
    }
    m_cancel.store(false);
    ComputeBasePath();
    const std::string conflict = OutputPathConflict(m_settings, m_settings.CreateCSV && !m_scan);
    if (!conflict.empty()) {
        return Fail(conflict);
    }
    if (m_settings.CreateCSV && !m_scan && !m_csvRow.Open(m_context)) {
        return Fail(m_csvRow.LastError());
    }
    if (!BeginLog()) {
        return false;
    }
    if (m_columns.Selected(ComputedColumn::kInViews) && !ScanDesign(false)) {
        return false;
    }
    if (m_columns.Selected(ComputedColumn::kInFolders) && !ScanDesign(true)) {
        return false;
    }
    return EachStep(&DocumentStep::Prepare);
}

void ExportRun::State::FindComputedColumns() {
    m_columns.Find(m_items);
    // Values the run sets start empty, whatever an earlier run on this profile left in them.
    for (std::size_t i = 0; i < m_items.Count(); ++i) {
        if (m_items.Item(i).Kind() == config::kItemEngineValue) {
            m_items.Item(i).SetValue({});
        }
    }
}

bool ExportRun::State::CompileFormulaColumns() {
    const std::string errors = m_items.FormulaFailures(kMaxFormulaErrors);
    return errors.empty() || Fail("Export cancelled. Error found in formula(s)\n\n" + errors);
}

void ExportRun::State::RegisterControlCharacterRules() {
    m_items.ClearReplacements();
    m_items.SetControlCharReplacements(
        m_settings.ControlCharCarrigeReturnOption, m_settings.CarrigeReturnReplaceString,
        m_settings.ControlCharLineFeedOption, m_settings.LineFeedReplaceString);
    const config::ReplaceControl *pairs = m_items.Replacements();
    Csv().SetReplacements(pairs != nullptr ? pairs->Pairs()
                                           : std::vector<std::pair<std::string, std::string>>{});
}

bool ExportRun::State::OpenSourceDatabase() {
    if (m_settings.SelectMethod == config::kSelectIdTable) {
        // The caller's database is only borrowed: never opened or closed here.
        if (m_profile.SuppliedDatabase == notes::kNullHandle ||
            m_profile.SuppliedIdTable == notes::kNullHandle) {
            return Fail("No documents were supplied to export.");
        }
        m_callerDb.Adopt(m_profile.SuppliedDatabase);
        m_db = &m_callerDb;
        return true;
    }
    auto &source = m_profile.SourceDatabase;
    if (m_profile.DatabaseSupplied) {
        source = std::make_shared<notes::NotesDatabase>();
        source->Adopt(m_profile.SuppliedDatabase);
        m_db = source.get();
        return true;
    }
    if (m_reuseOpenDatabase && source != nullptr && source->IsOpen()) {
        m_db = source.get();
        return true;
    }
    source = std::make_shared<notes::NotesDatabase>();
    if (!source->Open(m_settings.NSFSever, m_settings.NSFFilePath)) {
        const std::string server = m_settings.NSFSever.empty() ? "Local" : m_settings.NSFSever;
        m_run.m_lastStatus = kStatusDatabaseNotOpened;
        const std::string reason = source->LastError();
        source.reset();
        return Fail("Unable to open database \"" + m_settings.NSFFilePath + "\" on server \"" + server +
                    "\" for reason:" + reason);
    }
    m_db = source.get();
    return true;
}

bool ExportRun::State::BuildViewList() {
    switch (m_settings.SelectMethod) {
        case config::kSelectIdTable:
        case config::kSelectView:
            if (!m_settings.ViewName.empty()) {
                m_viewList.push_back({m_settings.ViewName, 0});
            }
            break;
        case config::kSelectViews:
            if (!ResolveIncludeExclude()) {
                return false;
            }
            break;
        case config::kSelectQuery:
            m_viewList.push_back({QueryText(), 0});
            break;
        default:
            return Fail(
                "Full text search is not supported as a Selection Method. Please choose a Selection "
                "Method of 'View/Fld', 'View(s)/Fld(s)' or 'Query'.");
    }
    const bool byView =
        m_settings.SelectMethod == config::kSelectView || m_settings.SelectMethod == config::kSelectViews;
    if (byView && m_viewList.empty()) {
        m_run.m_lastStatus = kStatusNothingToExport;
        return Fail(m_scan ? "Please select a view or folder to scan before continuing."
                           : "No Views or Folders to export");
    }
    if (m_settings.SelectMethod == config::kSelectQuery && m_settings.CreatePdfs) {
        return Fail(
            "PDF export not supported in 'Query' mode or 'All Docs' mode. Please choose a Selection "
            "Method "
            "of 'View/Fld' or 'View(s)/Fld(s)'.");
    }
    return true;
}

bool ExportRun::State::ResolveIncludeExclude() {
    notes::NotesDesignColl design;
    if (!m_db->DesignList(notes::kNoteClassView, 0, false, 2, design)) {
        return Fail(design.LastError());
    }
    const ViewNameFilter filter(m_settings.IncludeViewFolderNames, m_settings.ExcludeViewFolderNames);
    for (const auto &element : design) {
        std::string name = ViewNameFromTitle(element.Title());
        if (filter.Takes(name)) {
            m_viewList.push_back({std::move(name), element.NoteId()});
        }
    }
    return true;
}

void ExportRun::State::ComputeBasePath() {
    std::string base = m_settings.OutputPath;
    if (m_settings.CreateViewFolderHierarchy) {
        const std::string levels =
            RelativeDirectoryPath(SanitizeFileName(m_profile.CurrentViewName, kReservedWithoutBackslash));
        if (!levels.empty()) {
            base = platform::JoinPath(base, levels);
        }
    }
    if (!base.empty()) {
        const std::string created = CreateDirectoryPath(base);
        if (!created.empty()) {
            base = created;
        }
    }
    m_run.m_basePath = base;
}

bool ExportRun::State::BeginLog() {
    m_log.Configure(m_settings.LogExport, m_settings.LogLevel, m_settings.LogOpenMode, m_settings.LogFileName,
                    m_settings.LogFieldName);
    if (!m_settings.LogExport) {
        return true;
    }
    if (!m_log.Open() || !m_log.WriteBegin()) {
        return Fail(m_log.LastError());
    }
    for (const std::string &warning : m_profile.Warnings()) {
        if (!Log(warning + "\n", logging::kLogLevelLow)) {
            return false;
        }
    }
    return true;
}

bool ExportRun::State::ScanDesign(bool folders) {
    NoteViewFolderTable &table = folders ? m_inFolders : m_inViews;
    notes::NotesDesignColl design;
    if (!m_db->DesignList(notes::kNoteClassView, 'F', folders, 2, design)) {
        return true;  // nothing to scan
    }
    for (const auto &element : design) {
        if (m_cancel.load()) {
            return Cancelled(kExportCancelled);  // either scan: never an empty reason
        }
        const std::string name = ViewNameFromTitle(element.Title());
        notes::NotesView view;
        if (!view.OpenById(m_db->Handle(), element.NoteId(), name)) {
            continue;
        }
        if (!Log(folders ? logging::LogManager::ScanningFolderLine(name)
                         : logging::LogManager::ScanningViewLine(name),
                 logging::kLogLevelLow)) {
            return false;
        }
        if (m_run.m_showProgress) {
            ShowStatus((folders ? "Scanning Folders. Folder:" : "Scanning Views. View:") + name);
        }
        table.MarkScanned();
        for (NOTEID id = view.First(); id != 0; id = view.Next()) {
            table.Record(id, name);
            if (m_cancel.load()) {
                return Cancelled(kExportCancelled);  // either scan: never an empty reason
            }
        }
    }
    return true;
}

}  // namespace exporter
