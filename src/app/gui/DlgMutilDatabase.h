// The "Multiple Database Export" dialog: a queue of Notes databases exported one after another, on a
// worker thread, with the main dialog's settings; the queue can be saved to and read from a CSV file.
#pragma once

#include <QDialog>
#include <atomic>
#include <string>
#include <vector>

#include "config/NotesDatabaseList.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QTreeWidget;

namespace gui {

class CVorlixDlg;
class GuiUserInterface;

class DlgMutilDatabase : public QDialog {
    Q_OBJECT

public:
    // owner: the main dialog, whose settings, validation and session a run uses; outputPath and
    // subdirectory: the stored multi-database settings.
    DlgMutilDatabase(CVorlixDlg &owner, GuiUserInterface &ui, const std::string &outputPath,
                     bool subdirectory);
    // Cancels a running queue and waits for it.
    ~DlgMutilDatabase() override;

    // The commands of the buttons and menu.
    void AddDatabase();
    // Appends databases of one server (as the selection dialog hands them over); a duplicate is
    // refused with a message naming the queued entry, the others are still added.
    void AddDatabases(const std::string &server, const std::vector<std::string> &paths,
                      const std::vector<std::string> &titles);
    void RemoveSelected();
    void RemoveAll();
    void ResetFlags();
    void Browse();
    void ExportSelected();
    void CancelQueue();
    void ImportList();
    void ExportList();

    bool Running() const { return m_running.load(); }
    std::string OutputPath() const;
    bool Subdirectory() const;
    const config::NotesDatabaseList &Queue() const { return m_queue; }

    QTreeWidget *List() const { return m_list; }
    QLineEdit *OutputPathEdit() const { return m_outputPath; }
    QCheckBox *SubdirectoryBox() const { return m_subdirectory; }
    QPushButton *ExportButton() const { return m_export; }
    QPushButton *CancelButton() const { return m_cancel; }
    QLabel *SelectedText() const { return m_selectedText; }
    QLabel *ProcessedText() const { return m_processedText; }
    QLabel *Status() const { return m_status; }
    QProgressBar *Progress() const { return m_progress; }

signals:
    // A queue run ended and the controls are enabled again.
    void queueFinished();

private:
    void BuildLayout();
    void Redraw();
    void DrawRow(std::size_t index, const config::NotesExportDatabase &entry);
    void UpdateCounts();
    void ClearProgress();
    void SetRunningControls(bool running);
    void EntryDone(std::size_t index, const config::NotesExportDatabase &entry);
    void QueueDone();
    bool SessionActive();

    CVorlixDlg &m_owner;
    GuiUserInterface &m_ui;
    config::NotesDatabaseList m_queue;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_cancelRequested{false};
    QThread *m_thread = nullptr;

    QTreeWidget *m_list = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_removeAll = nullptr;
    QPushButton *m_reset = nullptr;
    QPushButton *m_browse = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_close = nullptr;
    QLineEdit *m_outputPath = nullptr;
    QCheckBox *m_subdirectory = nullptr;
    QLabel *m_selectedText = nullptr;
    QLabel *m_processedText = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_progress = nullptr;
    QAction *m_importAction = nullptr;
    QAction *m_exportAction = nullptr;
};

}  // namespace gui
