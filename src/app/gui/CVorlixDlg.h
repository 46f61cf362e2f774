// The main dialog: opens a Notes database, sets up an export (selection, columns, outputs), opens and
// saves profiles and templates, runs the export on a worker thread with progress and Cancel, and
// performs the interactive Notes start-up and the shutdown.
#pragma once

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "InteractiveStartup.h"
#include "config/DatabaseExportProfile.h"

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QProgressBar;
class QPushButton;

namespace notes {
class NotesDatabase;
class NotesSession;
}  // namespace notes

namespace gui {

class DlgMutilDatabase;
class ExportWorker;
class FieldListPanel;
class GuiUserInterface;
class OutputPanel;
class SelectionPanel;
struct ExportOutcome;

class CVorlixDlg : public QDialog {
    Q_OBJECT

public:
    // session: the process session (started by the deferred start, ended at close); ui: the seam the
    // dialog shows progress and status through. The deferred start runs once the event loop runs.
    CVorlixDlg(notes::NotesSession &session, GuiUserInterface &ui,
               InteractiveStartup::Discovery discovery = {}, QWidget *parent = nullptr);
    ~CVorlixDlg() override;

    // The default template "Vorlix.xpt", in the directory of the settings file.
    static std::string DefaultTemplatePath();

    // Opens a database and shows it; with refill the view and field lists are read from it.
    bool OpenDatabase(const std::string &server, const std::string &path, bool refill);
    // The record into the controls (the base path, CSV file, "Launch" and "Dialog on Complete" only
    // with locations), and the controls into a record.
    void SettingsToDialog(const config::ExportSettings &settings, bool locations);
    void DialogToSettings(config::ExportSettings &settings) const;

    // The commands of the buttons and menus.
    void SelectDatabase();
    void ExportNow(bool scan = false);
    void CancelExport();
    void FileNew();
    void FileOpen(bool profile);
    void FileSave();
    void FileSaveAs();
    void FileExit();
    // Opens the advanced export options sheet on a copy of the working record.
    void AdvancedOptions();
    void About();
    void HelpTopics();
    // The closing procedure; false when closing is refused.
    bool TryClose();

    // For the multiple-database dialog: the dialog's settings, validated (false: the message was shown),
    // the running mark of its queue, and the process session.
    bool QueueSettings(config::ExportSettings &settings);
    void SetQueueRunning(bool running);
    notes::NotesSession &Session() { return m_session; }
    DlgMutilDatabase *MultiDatabase() const { return m_multiDatabase; }

    bool ExportInProgress() const { return m_exportInProgress.load(); }
    bool StartupDone() const { return m_startupDone; }
    const config::ExportSettings &Working() const { return m_profile.Settings; }
    const std::string &ProfilePath() const { return m_profilePath; }
    const std::string &Server() const { return m_server; }
    const std::string &DatabasePath() const { return m_path; }
    const std::string &StartupStatus() const { return m_startupStatus; }

    SelectionPanel *Selection() const { return m_selection; }
    FieldListPanel *Fields() const { return m_fields; }
    OutputPanel *Outputs() const { return m_output; }
    QPushButton *SelectDatabaseButton() const { return m_selectDatabase; }
    QLineEdit *DatabaseEdit() const { return m_databaseEdit; }
    QPushButton *ExportNowButton() const { return m_exportNow; }
    QPushButton *CancelButton() const { return m_cancel; }
    QPushButton *AdvancedOptionsButton() const { return m_advancedOptions; }
    QCheckBox *SavePassword() const { return m_savePassword; }
    QProgressBar *Progress() const { return m_progress; }
    QLabel *Status() const { return m_status; }
    QMenuBar *Menu() const { return m_menu; }

signals:
    // An export or scan run ended and its outcome was shown.
    void exportFinished();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void BuildMenu();
    void BuildLayout();
    void DeferredStart();
    void UpdateControls();
    bool DatabaseReady();
    void IncludeListRequested(bool include);
    void AvailableOptionClicked(QCheckBox *box);
    void RefillAvailableFromDesign();
    bool CreateMissingDirectory(const std::string &path, const char *question);
    bool Validate(const config::ExportSettings &settings, bool scan);
    bool ConfirmPdfPrinter();
    void ExportDone(const ExportOutcome &outcome);
    void SavePasswordClicked(bool checked);
    void WriteMultiDatabaseSettings();

    notes::NotesSession &m_session;
    GuiUserInterface &m_ui;
    InteractiveStartup::Discovery m_discovery;
    config::DatabaseExportProfile m_profile;         // the working record
    config::DatabaseExportProfile m_optionsProfile;  // the record the options sheet edits
    std::string m_profilePath;
    std::unique_ptr<notes::NotesDatabase> m_database;
    std::string m_server;
    std::string m_path;
    std::string m_programPath;
    std::string m_iniFilePath;
    std::string m_startupStatus;
    // The multiple-database output settings, kept from the settings file until their dialog exists.
    std::string m_multiOutputPath;
    bool m_multiOutputSubdirDb = false;
    std::atomic<bool> m_exportInProgress{false};
    std::atomic<bool> m_cancelRequested{false};
    bool m_scanMode = false;
    bool m_startupDone = false;
    bool m_closed = false;
    QTimer m_startTimer;
    std::unique_ptr<ExportWorker> m_worker;

    QMenuBar *m_menu = nullptr;
    DlgMutilDatabase *m_multiDatabase = nullptr;
    SelectionPanel *m_selection = nullptr;
    FieldListPanel *m_fields = nullptr;
    OutputPanel *m_output = nullptr;
    QPushButton *m_selectDatabase = nullptr;
    QLineEdit *m_databaseEdit = nullptr;
    QPushButton *m_exportNow = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_advancedOptions = nullptr;
    QCheckBox *m_savePassword = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_status = nullptr;
};

}  // namespace gui
