// The main dialog.
#include "CVorlixDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "CPropertySheetOptions.h"
#include "DlgAbout.h"
#include "DlgIncludeViews.h"
#include "DlgMutilDatabase.h"
#include "DlgNotesSettings.h"
#include "DlgPassword.h"
#include "DlgSelectDatabase.h"
#include "ExportWorker.h"
#include "FieldListPanel.h"
#include "GuiUserInterface.h"
#include "OutputPanel.h"
#include "SelectionPanel.h"
#include "app/CVorlixApp.h"
#include "export/CreateDirectoryPath.h"
#include "notes/NotesDatabase.h"
#include "notes/NotesDesignColl.h"
#include "notes/NotesFormula.h"
#include "notes/NotesSession.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/UserInterface.h"

namespace gui {

namespace {

constexpr const char *kProfileFilter = "Export Profile (*.xpp)|*.xpp|All Files (*.*)|*.*||";
constexpr const char *kTemplateFilter =
    "Export Template (*.xpt)|*.xpt|Export Profile (*.xpp)|*.xpp|All Files (*.*)|*.*||";
constexpr const char *kSaveAsFilter =
    "Export Profile (*.xpp)|*.xpp|Export Template (*.xpt)|*.xpt|All Files (*.*)|*.*||";

QString Q(const std::string &text) {
    return QString::fromStdString(text);
}

void Warn(const std::string &text, const std::string &caption) {
    platform::Ui().Message(text, caption, platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
}

void Error(const std::string &text, const std::string &caption) {
    platform::Ui().Message(text, caption, platform::MessageIcon::Error, platform::MessageButtons::Ok);
}

// A view's name from its design title, which may carry aliases after "|".
std::string ViewName(const std::string &title) {
    return title.substr(0, title.find('|'));
}

bool EndsWithXpt(const std::string &path) {
    return QString::fromStdString(path).endsWith(".xpt", Qt::CaseInsensitive);
}

}  // namespace

CVorlixDlg::CVorlixDlg(notes::NotesSession &session, GuiUserInterface &ui,
                       InteractiveStartup::Discovery discovery, QWidget *parent)
    : QDialog(parent), m_session(session), m_ui(ui), m_discovery(std::move(discovery)) {
    setWindowTitle(Q(app::CVorlixApp::TitleText()));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    BuildLayout();
    BuildMenu();
    m_ui.SetParentWindow(this);
    connect(&m_ui, &GuiUserInterface::statusChanged, m_status, &QLabel::setText);
    connect(&m_ui, &GuiUserInterface::progressChanged, this, [this](qint64 position, qint64 range) {
        m_progress->setRange(0, static_cast<int>(std::max<qint64>(range, 1)));
        m_progress->setValue(static_cast<int>(std::min(position, std::max<qint64>(range, 1))));
    });

    m_multiOutputPath =
        platform::ReadAppSetting(platform::kSettingsSectionExport, platform::kSettingsKeyMultiOutputPath);
    const std::string subdir =
        platform::ReadAppSetting(platform::kSettingsSectionExport, platform::kSettingsKeyMultiOutputSubdirDb);
    m_multiOutputSubdirDb = !subdir.empty() && subdir[0] == '1';
    m_multiDatabase = new DlgMutilDatabase(*this, m_ui, m_multiOutputPath, m_multiOutputSubdirDb);
    const std::string passwordEnabled =
        platform::ReadAppSetting(platform::kSettingsSectionPassword, platform::kSettingsKeyEnabled);
    m_savePassword->setChecked(!passwordEnabled.empty() && passwordEnabled[0] == '1');

    m_exportInProgress = false;
    m_cancelRequested = false;
    UpdateControls();
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(0);
    connect(&m_startTimer, &QTimer::timeout, this, &CVorlixDlg::DeferredStart);
    m_startTimer.start();
}

CVorlixDlg::~CVorlixDlg() {
    m_ui.SetParentWindow(nullptr);
    if (m_worker) {
        m_cancelRequested = true;
        m_worker.reset();
    }
}

std::string CVorlixDlg::DefaultTemplatePath() {
    // Beside the settings file: the program directory, or the user's configuration directory where the
    // program directory cannot be written (an installed program), so the set-up is kept either way.
    return platform::JoinPath(platform::DirectoryOf(platform::AppInfo::SettingsFilePath()), "Vorlix.xpt");
}

void CVorlixDlg::BuildLayout() {
    m_selection = new SelectionPanel(m_profile.Settings, this);
    m_fields = new FieldListPanel(this);
    m_output = new OutputPanel(m_profile.Settings, this);
    m_selectDatabase = new QPushButton("Se&lect database", this);
    m_databaseEdit = new QLineEdit(this);
    m_databaseEdit->setReadOnly(true);
    m_exportNow = new QPushButton("Export No&w", this);
    m_cancel = new QPushButton("Cancel", this);
    m_advancedOptions = new QPushButton("Advanced &Options", this);
    m_savePassword = new QCheckBox("Save Password", this);
    m_progress = new QProgressBar(this);
    m_progress->setTextVisible(false);
    m_status = new QLabel(this);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_status->setMinimumWidth(200);

    auto *layout = new QVBoxLayout(this);
    auto *databaseRow = new QHBoxLayout;
    databaseRow->addWidget(m_selectDatabase);
    databaseRow->addWidget(m_databaseEdit, 1);
    layout->addLayout(databaseRow);
    auto *middle = new QHBoxLayout;
    middle->addWidget(m_selection, 2);
    middle->addWidget(m_fields, 3);
    layout->addLayout(middle, 1);
    layout->addWidget(m_output);
    auto *runRow = new QHBoxLayout;
    runRow->addWidget(m_advancedOptions);
    runRow->addWidget(m_savePassword);
    runRow->addStretch();
    runRow->addWidget(m_exportNow);
    runRow->addWidget(m_cancel);
    layout->addLayout(runRow);
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(m_progress, 1);
    statusRow->addWidget(m_status, 1);
    layout->addLayout(statusRow);

    m_exportNow->setDefault(true);

    connect(m_selectDatabase, &QPushButton::clicked, this, &CVorlixDlg::SelectDatabase);
    connect(m_exportNow, &QPushButton::clicked, this, [this]() { ExportNow(false); });
    connect(m_cancel, &QPushButton::clicked, this, &CVorlixDlg::CancelExport);
    connect(m_advancedOptions, &QPushButton::clicked, this, &CVorlixDlg::AdvancedOptions);
    connect(m_savePassword, &QCheckBox::clicked, this, &CVorlixDlg::SavePasswordClicked);
    connect(m_selection, &SelectionPanel::listDialogRequested, this, &CVorlixDlg::IncludeListRequested);
    connect(m_fields, &FieldListPanel::availableOptionClicked, this, &CVorlixDlg::AvailableOptionClicked);
    resize(960, 680);
}

void CVorlixDlg::BuildMenu() {
    m_menu = new QMenuBar(this);
    layout()->setMenuBar(m_menu);
    QMenu *file = m_menu->addMenu("&File");
    connect(file->addAction("&New"), &QAction::triggered, this, &CVorlixDlg::FileNew);
    connect(file->addAction("&Open Export Profile"), &QAction::triggered, this, [this]() { FileOpen(true); });
    connect(file->addAction("Open Export &Template"), &QAction::triggered, this,
            [this]() { FileOpen(false); });
    connect(file->addAction("&Save"), &QAction::triggered, this, &CVorlixDlg::FileSave);
    connect(file->addAction("Save &As"), &QAction::triggered, this, &CVorlixDlg::FileSaveAs);
    file->addSeparator();
    connect(file->addAction("E&xit"), &QAction::triggered, this, &CVorlixDlg::FileExit);

    QMenu *multi = m_menu->addMenu("&Multi-Database");
    connect(multi->addAction("&Select Multiple Databases"), &QAction::triggered, this, [this]() {
        m_multiDatabase->show();
        m_multiDatabase->raise();
    });
    QMenu *options = m_menu->addMenu("&Options");
    connect(options->addAction("Lotus Notes program Settings"), &QAction::triggered, this, [this]() {
        NotesSettingsCommand(m_session, m_startupStatus, this);
        UpdateControls();
    });
    connect(options->addAction("Advanced &Export Options"), &QAction::triggered, this,
            &CVorlixDlg::AdvancedOptions);
    QMenu *help = m_menu->addMenu("&Help");
    connect(help->addAction("Help &Topics"), &QAction::triggered, this, &CVorlixDlg::HelpTopics);
    connect(help->addAction("&About"), &QAction::triggered, this, &CVorlixDlg::About);
}

void CVorlixDlg::UpdateControls() {
    const bool running = m_exportInProgress.load();
    const bool active = m_session.IsActive();
    m_exportNow->setEnabled(active && !running);
    m_selectDatabase->setEnabled(active && !running);
    m_cancel->setEnabled(running);
    m_fields->ViewFieldsOnly()->setEnabled(!running);
    m_fields->ShowHidden()->setEnabled(!running);
}

void CVorlixDlg::DeferredStart() {
    m_startTimer.stop();
    InteractiveStartup startup(m_session, m_ui, m_discovery);
    startup.Run();
    m_programPath = startup.ProgramPath();
    m_iniFilePath = startup.IniFilePath();
    m_startupStatus = startup.StartupStatus();

    const bool loaded = m_profile.LoadFromFile(DefaultTemplatePath(), platform::AppInfo::Name(),
                                               platform::AppInfo::VersionText());
    SettingsToDialog(m_profile.Settings, false);
    if (!loaded) {
        m_status->setText(Q("Default Template Error: " + m_profile.LastError()));
    }
    UpdateControls();
    m_startupDone = true;
    if (!m_session.IsActive()) {
        Error("Unable to start a Lotus Notes Session Error:" + m_session.ErrorText() +
                  "\n\nWhile using the configuration file: " + m_iniFilePath +
                  "\n\nYou may specify a different Notes configuration file in Vorlix.ini in section [Notes] "
                  "using variable INIFilePath=",
              "Error");
    }
}

bool CVorlixDlg::OpenDatabase(const std::string &server, const std::string &path, bool refill) {
    auto database = std::make_unique<notes::NotesDatabase>();
    if (!database->Open(server, path)) {
        Error("Unable open the selected database \"" + path + "\" on " +
                  (server.empty() ? std::string("Local") : "Server " + server) +
                  ".\n\nReason: " + database->LastError(),
              "Open Database Error");
        return false;
    }
    m_database = std::move(database);
    m_fields->ViewFieldsOnly()->setChecked(false);
    m_fields->ShowHidden()->setChecked(false);
    m_server = server;
    m_path = path;
    const std::string title = m_database->Title();
    m_databaseEdit->setText(
        Q(title + (server.empty() ? " (" + path + ")" : " (" + server + " : " + path + ")")));
    if (!refill) {
        return true;
    }
    notes::NotesDesignColl design;
    std::vector<std::string> views;
    if (m_database->DesignList(notes::kNoteClassView, 0, false, 2, design)) {
        for (const notes::NotesDesignElement &element : design) {
            views.push_back(ViewName(element.Title()));
        }
    }
    m_selection->SetDatabaseViews(views);
    RefillAvailableFromDesign();
    return true;
}

void CVorlixDlg::RefillAvailableFromDesign() {
    std::vector<notes::NotesFieldName> names;
    std::vector<std::string> items;
    if (m_database && m_database->FieldNames(m_fields->ShowHidden()->isChecked(), names)) {
        for (const notes::NotesFieldName &name : names) {
            items.push_back(name.name);
        }
    }
    m_fields->SetAvailableItems(items);
}

bool CVorlixDlg::DatabaseReady() {
    if (m_path.empty()) {
        platform::Ui().Message("You must select a database before continuing", "Warning",
                               platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        return false;
    }
    if (m_database && m_database->IsOpen()) {
        return true;
    }
    auto database = std::make_unique<notes::NotesDatabase>();
    if (!database->Open(m_server, m_path)) {
        Error("Open Database Error: " + database->LastError(), "Open Database Error");
        return false;
    }
    m_database = std::move(database);
    return true;
}

void CVorlixDlg::SelectDatabase() {
    if (!m_session.IsActive()) {
        Warn("A Lotus Notes Session has not been established. This is an invalid option at this time.",
             "Error");
        return;
    }
    DlgSelectDatabase dialog(DlgSelectDatabase::Mode::Single, this);
    if (dialog.exec() != QDialog::Accepted || dialog.Path().empty()) {
        return;
    }
    (void)OpenDatabase(dialog.Server(), dialog.Path(), true);
}

void CVorlixDlg::IncludeListRequested(bool include) {
    if (!DatabaseReady()) {
        return;
    }
    DlgIncludeViews dialog(include ? DlgIncludeViews::Mode::Include : DlgIncludeViews::Mode::Exclude,
                           m_selection->DatabaseViews(),
                           include ? m_selection->IncludeNames() : m_selection->ExcludeNames(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    if (include) {
        m_selection->SetIncludeNames(dialog.Chosen());
        m_profile.Settings.IncludeViewFolderNames = dialog.Chosen();
    } else {
        m_selection->SetExcludeNames(dialog.Chosen());
        m_profile.Settings.ExcludeViewFolderNames = dialog.Chosen();
    }
}

void CVorlixDlg::AvailableOptionClicked(QCheckBox *box) {
    if (m_path.empty()) {
        box->setChecked(!box->isChecked());
        return;
    }
    if (!m_fields->ViewFieldsOnly()->isChecked()) {
        RefillAvailableFromDesign();
        return;
    }
    const platform::MessageAnswer answer = platform::Ui().Message(
        "Please confirm you wish to scan all documents in the selected view/folders for field names now?\n\n"
        "This may take a while depnding on the view/folder size.",
        "Check View/Folders for field names", platform::MessageIcon::Question,
        platform::MessageButtons::OkCancel);
    if (answer != platform::MessageAnswer::Ok) {
        box->setChecked(!box->isChecked());
        return;
    }
    ExportNow(true);
}

void CVorlixDlg::DialogToSettings(config::ExportSettings &settings) const {
    m_selection->Collect(settings);
    m_output->Collect(settings);
    m_fields->Model().ToOutputItems(settings.OutputItems);
}

void CVorlixDlg::SettingsToDialog(const config::ExportSettings &settings, bool locations) {
    const config::ExportSettings copy = settings;
    m_profile.Settings = copy;
    m_selection->Apply(copy);
    m_fields->Model().FromOutputItems(copy.OutputItems);
    m_fields->RefreshSelected();
    m_output->Apply(copy, locations);
}

bool CVorlixDlg::CreateMissingDirectory(const std::string &path, const char *question) {
    // An empty path names no directory to create; the question would come back for ever.
    while (!path.empty() && !platform::DirectoryExists(path)) {
        std::string text = question;
        text.replace(text.find("%s"), 2, path);
        if (platform::Ui().Message(text, "Create Path", platform::MessageIcon::Question,
                                   platform::MessageButtons::YesNo) != platform::MessageAnswer::Yes) {
            return false;
        }
        (void)exporter::CreateDirectoryPath(path);
    }
    return true;
}

bool CVorlixDlg::Validate(const config::ExportSettings &settings, bool scan) {
    if (settings.SelectMethod == config::kSelectView && settings.ViewName.empty()) {
        Warn("Please select a view for export before continuing.", "Validation Error");
        return false;
    }
    if (settings.SelectMethod == config::kSelectQuery) {
        notes::NotesFormula formula(settings.QueryAllDocs ? "SELECT @ALL" : settings.Query);
        if (!formula.Compile()) {
            Warn("Invalid Formula:\n\n" + formula.LastError() + "\n\nError at position " +
                     std::to_string(formula.ErrorOffset()),
                 "Validation Error");
            return false;
        }
    }
    if (!scan && (settings.CreateCSV || settings.CreateDocs) && settings.OutputItems.Empty()) {
        Warn("Please select fields for export before continuing.", "Validation Error");
        return false;
    }
    return true;
}

bool CVorlixDlg::ConfirmPdfPrinter() {
    const char *const keys[] = {"Software\\Microsoft\\Windows\\CurrentVersion\\Windows",
                                "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"};
    std::string device;
    for (const char *key : keys) {
        device =
            platform::Registry::GetString(platform::RegistryHive::CurrentUser, key, "Device").value_or("");
        if (!device.empty()) {
            break;
        }
    }
    const std::size_t comma = device.find(',');
    if (comma == std::string::npos || device.substr(0, comma) == "pdfFactory") {
        return true;
    }
    return platform::Ui().Message(
               "Please confirm the pdfFactory printer is the default printer. This is required "
               "for PDF creation.\n\nPLEASE NOTE: All Lotus Notes documents in the selected "
               "views/folders are printed to the default printer.",
               "Confirm", platform::MessageIcon::Information,
               platform::MessageButtons::OkCancel) == platform::MessageAnswer::Ok;
}

void CVorlixDlg::ExportNow(bool scan) {
    if (m_exportInProgress) {
        return;
    }
    if (m_path.empty()) {
        Warn("Please select a database for export before continuing.", "More Information Required");
        return;
    }
    auto run = std::make_unique<config::DatabaseExportProfile>();
    run->Settings = m_profile.Settings;
    DialogToSettings(run->Settings);
    if (!scan) {
        if (!CreateMissingDirectory(run->Settings.OutputPath,
                                    "Base path '%s' does not exists. You you like to create it?")) {
            return;
        }
        const std::size_t separator = run->Settings.SummaryFilePath.find_last_of('/');
        if (separator != std::string::npos && separator > 0 &&
            !CreateMissingDirectory(run->Settings.SummaryFilePath.substr(0, separator),
                                    "CSV filename path '%s' does not exists. You you like to create it?")) {
            return;
        }
    }
    if (!Validate(run->Settings, scan)) {
        return;
    }
    if (run->Settings.CreatePdfs && !ConfirmPdfPrinter()) {
        return;
    }
    run->Settings.NSFSever = m_server;
    run->Settings.NSFFilePath = m_path;
    run->ShowProgress = true;
    m_scanMode = scan;
    m_cancelRequested = false;
    m_exportInProgress = true;
    UpdateControls();
    m_worker = std::make_unique<ExportWorker>(std::move(run), m_cancelRequested, scan);
    connect(m_worker.get(), &ExportWorker::finished, this, &CVorlixDlg::ExportDone);
    m_worker->Start();
}

bool CVorlixDlg::QueueSettings(config::ExportSettings &settings) {
    settings = m_profile.Settings;
    DialogToSettings(settings);
    return Validate(settings, false);
}

void CVorlixDlg::SetQueueRunning(bool running) {
    m_exportInProgress = running;
    UpdateControls();
}

void CVorlixDlg::ExportDone(const ExportOutcome &outcome) {
    // This runs inside the worker's own signal: it is deleted once the signal has returned.
    m_worker.release()->deleteLater();
    if (!outcome.succeeded) {
        if (!outcome.error.empty()) {
            Warn(outcome.error, "Export Status");
        }
    } else if (outcome.scan) {
        m_fields->SetScannedItems(outcome.foundFieldNames);
    } else {
        OutputPanel &output = *m_output;
        if (output.CreateCsv()->isChecked() && output.Launch()->isChecked()) {
            m_ui.OpenWithDefaultApplication(output.CsvFile()->text().toStdString());
        }
        if (output.DialogOnComplete()->isChecked()) {
            platform::Ui().Message("Export Complete", "Export Complete", platform::MessageIcon::Information,
                                   platform::MessageButtons::Ok);
        }
    }
    m_exportInProgress = false;
    m_scanMode = false;
    UpdateControls();
    emit exportFinished();
}

void CVorlixDlg::CancelExport() {
    m_cancelRequested = true;
    if (m_multiDatabase->Running()) {
        m_multiDatabase->CancelQueue();
    }
}

void CVorlixDlg::FileNew() {
    m_profile.ResetToDefaults();
    m_selection->SetDatabaseViews({});
    m_fields->ClearAvailable();
    m_database.reset();
    m_server.clear();
    m_path.clear();
    m_databaseEdit->clear();
    m_fields->ShowHidden()->setChecked(false);
    m_selection->ShowHiddenViews()->setChecked(false);
    SettingsToDialog(m_profile.Settings, true);
}

void CVorlixDlg::FileOpen(bool profile) {
    const std::vector<std::string> files =
        platform::Ui().OpenFileNames(profile ? "Open Export Profile" : "Open Export Template",
                                     profile ? kProfileFilter : kTemplateFilter, false);
    if (files.empty()) {
        return;
    }
    config::DatabaseExportProfile loaded;
    if (!loaded.LoadFromFile(files.front(), platform::AppInfo::Name(), platform::AppInfo::VersionText())) {
        Error("Unable to Open Export Profile. " + loaded.LastError(), "Export Profile Open Error");
        return;
    }
    m_profilePath = files.front();
    if (profile && !loaded.Settings.NSFFilePath.empty()) {
        (void)OpenDatabase(loaded.Settings.NSFSever, loaded.Settings.NSFFilePath, true);
    }
    SettingsToDialog(loaded.Settings, profile);
}

void CVorlixDlg::FileSave() {
    if (m_profilePath.empty()) {
        FileSaveAs();
        return;
    }
    config::DatabaseExportProfile saved;
    saved.Settings = m_profile.Settings;
    DialogToSettings(saved.Settings);
    saved.Settings.NSFSever = m_server;
    saved.Settings.NSFFilePath = m_path;
    if (!saved.SaveToFile(m_profilePath, platform::AppInfo::Name(), platform::AppInfo::VersionText(),
                          EndsWithXpt(m_profilePath))) {
        Error("Unable to Save Export Profile. " + saved.LastError(), "Export Profile Save Error");
    }
}

void CVorlixDlg::FileSaveAs() {
    const std::string path = platform::Ui().SaveFileName("Save As", kSaveAsFilter, "xpp");
    if (path.empty()) {
        return;
    }
    m_profilePath = path;
    FileSave();
}

void CVorlixDlg::AdvancedOptions() {
    // The sheet edits a copy; the locations and completion actions are the main dialog's alone.
    m_profile.CopySettings(m_optionsProfile, true);
    OptionsContext context;
    for (int i = 0; i < m_fields->AvailableList()->count(); ++i) {
        context.availableFields.push_back(m_fields->AvailableList()->item(i)->text().toStdString());
    }
    // Every folder; the page leaves out the hidden ones unless asked.
    context.folders = [this](bool) -> std::optional<std::vector<std::string>> {
        if (!DatabaseReady()) {
            return std::nullopt;
        }
        std::vector<std::string> names;
        notes::NotesDesignColl design;
        if (m_database->DesignList(notes::kNoteClassView, 0, false, 2, design)) {
            for (const notes::NotesDesignElement &element : design) {
                if (element.IsFolder()) {
                    names.push_back(ViewName(element.Title()));
                }
            }
        }
        return names;
    };
    CPropertySheetOptions sheet(m_optionsProfile.Settings, std::move(context), this);
    if (sheet.exec() != QDialog::Accepted) {
        return;
    }
    m_optionsProfile.CopySettings(m_profile, true);
    m_output->Apply(m_profile.Settings, false);
}

void CVorlixDlg::About() {
    DlgAbout about(this);
    about.exec();
}

void CVorlixDlg::HelpTopics() {
    platform::Ui().Message(
        "1. Select a database with \"Select database\".\n"
        "2. Choose how documents are selected: one view or folder, several views and folders, a query "
        "formula, or all documents.\n"
        "3. Move the fields to export from \"Available Fields\" to \"Selected Fields\", or type a field name "
        "or formula under \"Manual Entry\".\n"
        "4. Choose the outputs, the base path and the CSV summary file.\n"
        "5. Click \"Export Now\".\n\n"
        "File - Save As keeps the set-up as a profile (.xpp), which also runs from the command line: "
        "vorlix PROFILE [/nomsg].",
        "Help Topics", platform::MessageIcon::Information, platform::MessageButtons::Ok);
}

void CVorlixDlg::SavePasswordClicked(bool checked) {
    if (checked) {
        // The dialog stores the password and Enabled; cancelled, it stores nothing and the box clears.
        DlgPassword dialog(this);
        m_savePassword->setChecked(dialog.exec() == QDialog::Accepted);
    } else if (!platform::WriteAppSetting(platform::kSettingsSectionPassword, platform::kSettingsKeyEnabled,
                                          "0")) {
        Error("Unable to save settings to settings file: " + platform::AppInfo::SettingsFilePath(),
              platform::AppInfo::Name());
    }
    UpdateControls();
}

void CVorlixDlg::WriteMultiDatabaseSettings() {
    m_multiOutputPath = m_multiDatabase->OutputPath();
    m_multiOutputSubdirDb = m_multiDatabase->Subdirectory();
    if (platform::WriteAppSetting(platform::kSettingsSectionExport, platform::kSettingsKeyMultiOutputPath,
                                  m_multiOutputPath)) {
        (void)platform::WriteAppSetting(platform::kSettingsSectionExport,
                                        platform::kSettingsKeyMultiOutputSubdirDb,
                                        m_multiOutputSubdirDb ? "1" : "0");
    }
}

bool CVorlixDlg::TryClose() {
    if (m_closed) {
        return true;
    }
    if (m_exportInProgress) {
        Warn("You can not exit while an export is in progress. Please cancel the export before exiting.",
             "Infortmation");
        return false;
    }
    config::DatabaseExportProfile defaults;
    defaults.Settings = m_profile.Settings;
    DialogToSettings(defaults.Settings);
    (void)exporter::CreateDirectoryPath(platform::DirectoryOf(DefaultTemplatePath()));
    (void)defaults.SaveToFile(DefaultTemplatePath(), platform::AppInfo::Name(),
                              platform::AppInfo::VersionText(), true);
    WriteMultiDatabaseSettings();
    if (m_session.IsActive()) {
        m_database.reset();
        m_session.End(false);
    }
    m_closed = true;
    return true;
}

void CVorlixDlg::FileExit() {
    if (TryClose()) {
        done(QDialog::Accepted);
    }
}

void CVorlixDlg::closeEvent(QCloseEvent *event) {
    if (!TryClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CVorlixDlg::reject() {
    if (TryClose()) {
        QDialog::reject();
    }
}

}  // namespace gui
