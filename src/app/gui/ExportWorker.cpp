// The worker thread of an interactive export.
#include "ExportWorker.h"

#include "export/ExportRun.h"
#include "notes/NotesSession.h"

namespace gui {

ExportWorker::ExportWorker(std::unique_ptr<config::DatabaseExportProfile> profile, std::atomic<bool> &cancel,
                           bool scan, QObject *parent)
    : QObject(parent), m_profile(std::move(profile)), m_cancel(cancel), m_scan(scan) {
    qRegisterMetaType<gui::ExportOutcome>();
}

ExportWorker::~ExportWorker() {
    if (m_thread != nullptr) {
        m_thread->wait();
        delete m_thread;
    }
}

void ExportWorker::Start() {
    m_thread = QThread::create([this]() { Run(); });
    m_thread->start(QThread::LowPriority);
}

bool ExportWorker::IsRunning() const {
    return m_thread != nullptr && m_thread->isRunning();
}

void ExportWorker::Run() {
    ExportOutcome outcome;
    outcome.scan = m_scan;
    notes::NotesSession session;
    if (!session.Start(true, "", "")) {
        outcome.error = session.ErrorText();
    } else {
        m_profile->ProcessedTotal = 0;
        m_profile->ExportedTotal = 0;
        {
            exporter::ExportRun run(*m_profile, true);
            outcome.succeeded = run.Run(session, m_cancel, false, true, m_scan);
            outcome.error = run.LastError();
            outcome.foundFieldNames = run.FoundFieldNames();
            outcome.exported = run.ExportedTotal();
        }
        // The record (and any database it still holds) goes before the thread's session ends.
        m_profile.reset();
        session.End(false);
    }
    // Queued to the GUI thread, which owns this object.
    QMetaObject::invokeMethod(
        this, [this, outcome]() { emit finished(outcome); }, Qt::QueuedConnection);
}

}  // namespace gui
