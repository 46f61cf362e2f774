// One interactive export (or field-name scan) on a worker thread of its own: a thread-level Notes
// session and a settings record of its own; progress goes through the user-interface seam, the
// outcome comes back to the GUI thread as a signal.
#pragma once

#include <QObject>
#include <QThread>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "config/DatabaseExportProfile.h"

namespace gui {

struct ExportOutcome {
    bool succeeded = false;
    bool scan = false;
    std::string error;
    std::vector<std::string> foundFieldNames;
    long exported = 0;
};

class ExportWorker : public QObject {
    Q_OBJECT

public:
    // profile: the run's own record (taken over); cancel: the dialog's flag, polled by the run.
    ExportWorker(std::unique_ptr<config::DatabaseExportProfile> profile, std::atomic<bool> &cancel, bool scan,
                 QObject *parent = nullptr);
    // Waits for the thread when it is still running.
    ~ExportWorker() override;

    // Starts the thread at below-normal priority.
    void Start();
    bool IsRunning() const;

signals:
    // Delivered on the thread that owns the worker (the GUI thread) once the run has ended.
    void finished(const gui::ExportOutcome &outcome);

private:
    void Run();

    std::unique_ptr<config::DatabaseExportProfile> m_profile;
    std::atomic<bool> &m_cancel;
    bool m_scan;
    QThread *m_thread = nullptr;
};

}  // namespace gui

Q_DECLARE_METATYPE(gui::ExportOutcome)
