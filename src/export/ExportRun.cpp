// One export run: the views and folders to walk, the per-document pipeline and the ending with its
// clean-up on every path.
#include "ExportRun.h"

#include "export/ExportRunState.h"
#include "export/PdfStep.h"
#include "export/RtfFileStep.h"
#include "export/TextFileStep.h"
#include "platform/UserInterface.h"
#include "richtext/NotesItem.h"

namespace exporter {

namespace {

// The computed columns the steps fill: each document starts with them empty.
constexpr ComputedColumn kFilledBySteps[] = {ComputedColumn::kExtractedNames, ComputedColumn::kTextFile,
                                             ComputedColumn::kRtfFile, ComputedColumn::kOtherFile};

}  // namespace

void ExportRun::State::BuildPipeline() {
    m_steps.push_back(&m_attachmentNames);
    if (m_scan) {
        m_steps.push_back(&m_fieldNames);
        return;
    }
    if (m_settings.CreatePdfs) {
        Add<PdfStep>(m_run.m_showProgress);
    }
    m_steps.push_back(&m_copy);
    // Attachments and OLE objects share the directory rule and its formula, compiled once.
    const auto attachmentDirectory = std::make_shared<AttachmentDirectory>();
    Add<ExtractAttachmentsStep>(attachmentDirectory);
    Add<ExtractOleStep>(attachmentDirectory);
    m_steps.push_back(&m_imageDirectory);
    Add<TextFileStep>();
    Add<RtfFileStep>();
    m_steps.push_back(&m_csvRow);
    m_steps.push_back(&m_moveToFolder);
}

bool ExportRun::State::Steps() {
    if (!Prepare()) {
        return false;
    }
    for (const ViewEntry &entry : m_viewList) {
        if (!ExportView(entry)) {
            return false;
        }
        if (m_cancel.load()) {
            if (!Log(logging::LogManager::CancelledLine(kExportCancelled), logging::kLogLevelLow)) {
                return false;
            }
            break;
        }
    }
    // F.1: the Notes client opens the source database itself to print from it.
    if (!m_scan && m_settings.CreatePdfs && !CloseSourceDatabase()) {
        return false;
    }
    if (!EachStep(&DocumentStep::FinishRun)) {
        return false;
    }
    return Finish();
}

bool ExportRun::State::CloseSourceDatabase() {
    m_note.Close();
    m_context.view = nullptr;
    m_view.reset();
    m_context.db = notes::kNullHandle;
    const auto &source = m_profile.SourceDatabase;
    if (m_settings.SelectMethod == config::kSelectIdTable || source == nullptr || source->CloseChecked()) {
        return true;
    }
    return Fail(SaveFailure(*source));
}

std::string ExportRun::State::SaveFailure(const notes::NotesDatabase &source) const {
    return "Unable to save database \"" + m_settings.NSFFilePath + "\". Error: " + source.LastError();
}

bool ExportRun::State::Cancelled(const char *text) {
    return Log(logging::LogManager::CancelledLine(text), logging::kLogLevelLow) && Fail(text);
}

bool ExportRun::State::ExportView(const ViewEntry &view) {
    const std::string &entry = view.name;
    m_profile.CurrentViewName = entry;
    m_run.m_currentViewName = entry;
    m_context.viewName = entry;
    if (!EachStep(&DocumentStep::BeginView)) {
        return false;
    }
    if (!m_scan && !Log(logging::LogManager::ExportingViewLine(entry), logging::kLogLevelMedium)) {
        return false;
    }
    if (!m_scan && m_settings.CreateViewFolderHierarchy) {
        ComputeBasePath();
    }
    switch (m_settings.SelectMethod) {
        case config::kSelectView:
        case config::kSelectViews:
            if (!WalkView(view)) {
                return false;
            }
            break;
        case config::kSelectQuery:
            if (!WalkSearch(entry)) {
                return false;
            }
            break;
        default:
            if (!WalkSuppliedTable()) {
                return false;
            }
            break;
    }
    return true;
}

bool ExportRun::State::WalkView(const ViewEntry &entry) {
    const std::string &name = entry.name;
    m_view = std::make_unique<notes::NotesView>();
    const bool opened = entry.noteId != 0 ? m_view->OpenById(DbHandle(), entry.noteId, name)
                                          : m_db->OpenViewInto(*m_view, name);
    if (!opened) {
        return Fail(entry.noteId != 0 ? m_view->LastError() : m_db->LastError());
    }
    m_context.view = m_view.get();
    m_items.SetValue(m_columns[ComputedColumn::kViewName], name);
    // The range is the view's entry count from the start; an empty view shows an empty range.
    DWORD entries = 0;
    if (!m_view->EntryCount(entries)) {
        return Fail(m_view->LastError());
    }
    SetProgress(0, static_cast<long>(entries));
    DocumentContext document = NewDocument(m_note);
    for (NOTEID id = m_view->First(); id != 0; id = m_view->Next()) {
        (void)m_note.Open(DbHandle(), id, true);
        if (!ProcessDocument(document, id, m_view->EntriesPassed())) {
            return false;
        }
    }
    // A read that failed part way would otherwise pass for the end of the view.
    if (m_view->LastStatus() != 0) {
        return Fail(m_view->LastError());
    }
    if (!EachStep(&DocumentStep::EndView)) {
        return false;
    }
    m_context.view = nullptr;
    m_view.reset();
    return true;
}

bool ExportRun::State::WalkSearch(const std::string &query) {
    m_search = m_db->SearchToCollection(query);
    if (m_search == nullptr) {
        return Fail(m_db->LastError());
    }
    m_items.SetValue(m_columns[ComputedColumn::kViewName], query);
    if (!WalkCollection(*m_search) || !EachStep(&DocumentStep::EndView)) {
        return false;
    }
    m_search.reset();
    return true;
}

bool ExportRun::State::WalkSuppliedTable() {
    m_supplied = std::make_unique<notes::NotesNoteCollection>();
    m_supplied->Attach(m_profile.SuppliedDatabase, m_profile.SuppliedIdTable);
    if (!WalkCollection(*m_supplied) || !EachStep(&DocumentStep::EndView)) {
        return false;
    }
    m_supplied.reset();
    return true;
}

bool ExportRun::State::WalkCollection(notes::NotesNoteCollection &collection) {
    SetProgress(0, static_cast<long>(collection.Count()));
    DocumentContext document = NewDocument(collection.Current());
    for (bool more = collection.First(); more; more = collection.Next()) {
        if (!ProcessDocument(document, collection.CurrentId(), collection.Visited())) {
            return false;
        }
    }
    return true;
}

bool ExportRun::State::EachStep(bool (DocumentStep::*phase)(RunContext &)) {
    for (DocumentStep *step : m_steps) {
        if (!(step->*phase)(m_context)) {
            return Fail(step->LastError());
        }
    }
    return true;
}

bool ExportRun::State::Log(const std::string &line, int level) {
    if (!m_log.Accepts(level) || m_log.Write(line, level)) {
        return true;
    }
    return Fail(m_log.LastError());
}

DocumentContext ExportRun::State::NewDocument(notes::NotesNote &note) const {
    DocumentContext document{.note = note};
    document.basePath = m_run.m_basePath;
    return document;
}

bool ExportRun::State::ProcessDocument(DocumentContext &document, NOTEID noteId, long position) {
    notes::NotesNote &note = document.note;
    ++m_count;
    m_items.SetValue(m_columns[ComputedColumn::kCount], std::to_string(m_count));
    // The line is built only when the log takes it: this runs once for every document.
    if (m_log.Accepts(logging::kLogLevelMedium) &&
        !Log(logging::LogManager::ProcessingDocumentLine(m_count), logging::kLogLevelMedium)) {
        note.Close();
        return false;
    }
    BeginDocument(document, noteId);
    for (DocumentStep *step : m_steps) {
        const StepOutcome outcome = step->Process(m_context, document);
        if (outcome != StepOutcome::kNext) {
            note.Close();
            // A skipped document is not processed further; it still counts.
            return outcome == StepOutcome::kSkipDocument || Fail(step->LastError());
        }
    }

    if (!LogProcessed(note)) {
        note.Close();
        return false;
    }
    ++m_profile.ProcessedTotal;
    ++m_profile.ExportedTotal;
    if (m_run.m_showProgress) {
        SetProgress(position, m_range);
        m_lastDocumentStatus = DocumentStatus();
        ShowStatus(m_lastDocumentStatus);
    }
    note.Close();
    if (m_cancel.load()) {
        m_run.m_lastStatus = kStatusNothingToExport;
        return Cancelled(m_scan ? kScanCancelled : kExportCancelled);
    }
    return true;
}

void ExportRun::State::BeginDocument(DocumentContext &document, NOTEID noteId) {
    const notes::NotesNote &note = document.note;
    document.noteId = noteId;
    document.count = m_count;
    document.universalId.Forget();
    document.errors.Clear();
    for (const auto &record : note.ErrorRecords()) {
        document.errors.Append(record);
    }
    document.errors.Append(note.ErrorText());
    document.columnsEvaluated = false;
    document.renderErrors.Clear();
    for (const ComputedColumn column : kFilledBySteps) {
        m_items.SetValue(m_columns[column], {});
    }
    if (m_inViews.Scanned()) {
        m_items.SetValue(m_columns[ComputedColumn::kInViews], m_inViews.NamesOf(noteId));
    }
    if (m_inFolders.Scanned()) {
        m_items.SetValue(m_columns[ComputedColumn::kInFolders], m_inFolders.NamesOf(noteId));
    }
}

bool ExportRun::State::LogProcessed(const notes::NotesNote &note) {
    if (!m_log.Accepts(logging::kLogLevelLow)) {
        return true;
    }
    if (logging::LogManager::IsNoFieldName(m_settings.LogFieldName)) {
        return Log(logging::LogManager::ProcessedDocumentLineWithoutField(m_count), logging::kLogLevelLow);
    }
    std::string value;
    if (note.IsOpen() && !m_settings.LogFieldName.empty()) {
        value = richtext::NotesItem::Render(note, m_settings.LogFieldName, ";", nullptr).text;
    }
    return Log(logging::LogManager::ProcessedDocumentLine(m_count, value), logging::kLogLevelLow);
}

std::string ExportRun::State::DocumentStatus() const {
    const std::string count = std::to_string(m_count);
    if (m_scan) {
        return "Scanned " + count + " :" + m_title;
    }
    if (m_settings.SelectMethod == config::kSelectIdTable) {
        return "Exported " + count + " :" + m_title;
    }
    return "Exported " + count + ":" + m_title;
}

bool ExportRun::State::Finish() {
    const std::string count = std::to_string(m_count);
    m_run.m_statusText = (m_scan ? "Total Scanned " : "Total Exported ") + count + " :" + m_title;
    m_succeeded = true;
    return true;
}

bool ExportRun::State::CloseOutputs(bool succeeded) {
    bool result = succeeded;
    const auto failure = [this, &result](const std::string &text) {
        m_run.m_lastError = result ? text : m_run.m_lastError + "\n" + text;
        result = false;
    };
    if (!Csv().Finish(m_columns[ComputedColumn::kErrors])) {
        failure(Csv().LastError());
    }
    if (!m_copy.Close()) {
        failure(m_copy.LastError());
    }
    m_note.Close();
    m_context.view = nullptr;
    m_view.reset();
    m_search.reset();
    m_supplied.reset();
    const auto &source = m_profile.SourceDatabase;
    if (m_settings.SelectMethod != config::kSelectIdTable && m_closeDatabase && source != nullptr &&
        !source->CloseChecked()) {
        failure(SaveFailure(*source));
    }
    if (!m_log.Close()) {
        failure(m_log.LastError());
    }
    m_succeeded = result;
    return result;
}

void ExportRun::State::CleanUp() {
    if (m_settings.SelectMethod != config::kSelectIdTable && m_closeDatabase) {
        m_profile.SourceDatabase.reset();
    }
    m_callerDb.Close();
    m_db = nullptr;
    m_context.db = notes::kNullHandle;
    m_context.attachmentFormula = nullptr;
    m_copy.Release();
    m_moveToFolder.Release();
    if (m_run.m_showProgress) {
        SetProgress(0, m_range);
        if (!m_succeeded) {
            m_run.m_statusText = m_lastDocumentStatus;
        }
        ShowStatus(m_run.m_statusText);
    }
}

void ExportRun::State::SetProgress(long position, long range) {
    m_range = range;
    if (m_run.m_showProgress) {
        platform::Ui().Progress(position, range);
    }
}

void ExportRun::State::ShowStatus(const std::string &text) {
    if (m_run.m_showProgress) {
        platform::Ui().Status(text);
    }
}

ExportRun::ExportRun(config::DatabaseExportProfile &profile, bool showProgress)
    : m_profile(profile), m_showProgress(showProgress && profile.ShowProgress) {}

ExportRun::~ExportRun() = default;

bool ExportRun::Run(notes::NotesSession &session, std::atomic<bool> &cancelFlag, bool reuseOpenDatabase,
                    bool closeDatabase, bool scanFieldNames) {
    m_profile.Session = &session;
    m_lastError.clear();
    m_lastStatus = m_profile.LastStatus;
    m_statusText.clear();
    m_basePath.clear();
    m_profile.FoundFieldNames.clear();
    bool result = false;
    {
        State state(*this, cancelFlag, reuseOpenDatabase, closeDatabase, scanFieldNames);
        result = state.Execute();
    }
    m_profile.SetLastError(m_lastError);
    m_profile.LastStatus = m_lastStatus;
    m_processedTotal = m_profile.ProcessedTotal;
    m_exportedTotal = m_profile.ExportedTotal;
    m_foundFieldNames = m_profile.FoundFieldNames;
    m_currentViewName = m_profile.CurrentViewName;
    return result;
}

}  // namespace exporter
