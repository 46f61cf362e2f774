// The multiple-database export dialog.
#include "DlgMutilDatabase.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QThread>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "CVorlixDlg.h"
#include "DlgSelectDatabase.h"
#include "GuiUserInterface.h"
#include "export/ExportQueue.h"
#include "notes/NotesSession.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"

namespace gui {

namespace {

constexpr const char *kListFilter = "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*||";
constexpr const char *kUnexpectedError = "Unexpected Error Occured";
enum Column { kTitle, kServer, kPath, kExported, kTotal, kStatus, kReturnCode };

QString Q(const std::string &text) {
    return QString::fromStdString(text);
}

void ShowError(const std::string &text, const std::string &caption) {
    platform::Ui().Message(text, caption, platform::MessageIcon::Error, platform::MessageButtons::Ok);
}

// The output path as typed, without one trailing separator.
std::string WithoutTrailingSeparator(std::string path) {
    if (path.size() > 1 && (path.back() == platform::kPathSeparator || path.back() == '\\')) {
        path.pop_back();
    }
    return path;
}

}  // namespace

DlgMutilDatabase::DlgMutilDatabase(CVorlixDlg &owner, GuiUserInterface &ui, const std::string &outputPath,
                                   bool subdirectory)
    : QDialog(&owner), m_owner(owner), m_ui(ui) {
    setWindowTitle("Multiple Database Export");
    BuildLayout();
    m_outputPath->setText(Q(outputPath));
    m_subdirectory->setChecked(subdirectory);
    connect(&m_ui, &GuiUserInterface::statusChanged, this, [this](const QString &text) {
        if (m_running) {
            m_status->setText(text);
        }
    });
    connect(&m_ui, &GuiUserInterface::progressChanged, this, [this](qint64 position, qint64 range) {
        if (m_running) {
            m_progress->setRange(0, static_cast<int>(std::max<qint64>(range, 1)));
            m_progress->setValue(static_cast<int>(std::min(position, std::max<qint64>(range, 1))));
        }
    });
    UpdateCounts();
    SetRunningControls(false);
}

DlgMutilDatabase::~DlgMutilDatabase() {
    if (m_thread != nullptr) {
        m_cancelRequested = true;
        m_thread->wait();
        delete m_thread;
    }
}

void DlgMutilDatabase::BuildLayout() {
    auto *layout = new QVBoxLayout(this);
    auto *menu = new QMenuBar(this);
    layout->setMenuBar(menu);
    QMenu *options = menu->addMenu("&Options");
    m_importAction = options->addAction("Import database list from CSV file");
    m_exportAction = options->addAction("Export database list to CSV file");
    connect(m_importAction, &QAction::triggered, this, &DlgMutilDatabase::ImportList);
    connect(m_exportAction, &QAction::triggered, this, &DlgMutilDatabase::ExportList);

    m_list = new QTreeWidget(this);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels({"LN Title", "LN Server", "LN Filepath", "Exp", "Tot", "Status", "RC"});
    const int widths[] = {120, 70, 90, 50, 50, 250, 50};
    for (int column = 0; column < 7; ++column) {
        m_list->setColumnWidth(column, widths[column]);
    }
    layout->addWidget(m_list);

    auto *buttons = new QHBoxLayout;
    m_add = new QPushButton("Add database", this);
    m_remove = new QPushButton("Remove database", this);
    m_removeAll = new QPushButton("Remove All", this);
    m_reset = new QPushButton("Reset Flags", this);
    for (QPushButton *button : {m_add, m_remove, m_removeAll, m_reset}) {
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(m_add, &QPushButton::clicked, this, &DlgMutilDatabase::AddDatabase);
    connect(m_remove, &QPushButton::clicked, this, &DlgMutilDatabase::RemoveSelected);
    connect(m_removeAll, &QPushButton::clicked, this, &DlgMutilDatabase::RemoveAll);
    connect(m_reset, &QPushButton::clicked, this, &DlgMutilDatabase::ResetFlags);

    auto *counts = new QHBoxLayout;
    m_selectedText = new QLabel(this);
    m_processedText = new QLabel(this);
    counts->addWidget(m_selectedText);
    counts->addWidget(m_processedText);
    layout->addLayout(counts);

    auto *output = new QGridLayout;
    output->addWidget(new QLabel("Output Path", this), 0, 0);
    m_outputPath = new QLineEdit(this);
    output->addWidget(m_outputPath, 0, 1);
    m_browse = new QPushButton("Browse", this);
    output->addWidget(m_browse, 0, 2);
    m_subdirectory = new QCheckBox("Create subdirectory for each database", this);
    output->addWidget(m_subdirectory, 1, 1);
    layout->addLayout(output);
    connect(m_browse, &QPushButton::clicked, this, &DlgMutilDatabase::Browse);

    auto *run = new QHBoxLayout;
    m_export = new QPushButton("Export Selected", this);
    m_cancel = new QPushButton("Cancel", this);
    m_close = new QPushButton("Close", this);
    run->addWidget(m_export);
    run->addWidget(m_cancel);
    run->addStretch();
    run->addWidget(m_close);
    connect(m_export, &QPushButton::clicked, this, &DlgMutilDatabase::ExportSelected);
    connect(m_cancel, &QPushButton::clicked, this, &DlgMutilDatabase::CancelQueue);
    connect(m_close, &QPushButton::clicked, this, &QDialog::hide);
    m_progress = new QProgressBar(this);
    m_status = new QLabel(this);
    layout->addWidget(m_progress);
    layout->addWidget(m_status);
    layout->addLayout(run);
}

bool DlgMutilDatabase::SessionActive() {
    if (m_owner.Session().IsActive()) {
        return true;
    }
    ShowError("This feature is currently unavailable becuase there is no active Lotus Notes Session",
              "Error");
    return false;
}

std::string DlgMutilDatabase::OutputPath() const {
    return m_outputPath->text().toStdString();
}

bool DlgMutilDatabase::Subdirectory() const {
    return m_subdirectory->isChecked();
}

void DlgMutilDatabase::AddDatabase() {
    if (!SessionActive()) {
        return;
    }
    // "Add Now" adds the chosen databases while the selection dialog stays open; OK adds the rest.
    DlgSelectDatabase *selection = nullptr;
    DlgSelectDatabase dialog(
        DlgSelectDatabase::Mode::Multiple, this,
        [this, &selection](const std::vector<std::string> &paths, const std::vector<std::string> &titles) {
            AddDatabases(selection->Server(), paths, titles);
        });
    selection = &dialog;
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    AddDatabases(dialog.Server(), dialog.Paths(), dialog.Titles());
}

void DlgMutilDatabase::AddDatabases(const std::string &server, const std::vector<std::string> &paths,
                                    const std::vector<std::string> &titles) {
    for (std::size_t i = 0; i < paths.size(); ++i) {
        config::NotesExportDatabase entry;
        entry.server = server == "LOCAL" ? std::string() : server;
        entry.path = paths[i];
        entry.title = i < titles.size() ? titles[i] : std::string();
        if (const config::NotesExportDatabase *queued = m_queue.Find(entry.server, entry.path)) {
            ShowError("Duplcate Lotus Notes Database Information for: " + queued->title, "Error");
            continue;
        }
        (void)m_queue.Add(entry);
    }
    Redraw();
    UpdateCounts();
}

void DlgMutilDatabase::RemoveSelected() {
    std::vector<std::size_t> rows;
    for (QTreeWidgetItem *item : m_list->selectedItems()) {
        rows.push_back(static_cast<std::size_t>(m_list->indexOfTopLevelItem(item)));
    }
    m_queue.Remove(rows);
    Redraw();
    UpdateCounts();
    ClearProgress();
}

void DlgMutilDatabase::RemoveAll() {
    m_queue.Clear();
    Redraw();
    UpdateCounts();
    ClearProgress();
}

void DlgMutilDatabase::ResetFlags() {
    m_queue.ResetFlags();
    Redraw();
    UpdateCounts();
    ClearProgress();
}

void DlgMutilDatabase::Browse() {
    const std::string folder = m_ui.FolderName("Output Path", OutputPath());
    if (!folder.empty()) {
        m_outputPath->setText(Q(folder));
    }
}

void DlgMutilDatabase::ImportList() {
    const std::vector<std::string> names =
        m_ui.OpenFileNames("Import database list from CSV file", kListFilter, false);
    if (names.empty()) {
        return;
    }
    m_queue.Clear();
    if (!m_queue.LoadFromFile(names.front())) {
        ShowError(kUnexpectedError, "Error");
        Redraw();
        UpdateCounts();
        m_status->setText(Q(m_queue.LastError()));
        return;
    }
    Redraw();
    UpdateCounts();
    ClearProgress();
}

void DlgMutilDatabase::ExportList() {
    std::string name = m_ui.SaveFileName("Export database list to CSV file", kListFilter, "csv");
    if (name.empty()) {
        return;
    }
    if (platform::FileNameOf(name).find('.') == std::string::npos) {
        name += ".csv";
    }
    if (!m_queue.SaveToFile(name)) {
        ShowError(kUnexpectedError, "Error");
        m_status->setText(Q(m_queue.LastError()));
    }
}

void DlgMutilDatabase::ExportSelected() {
    if (m_running || !SessionActive()) {
        return;
    }
    const std::string outputPath = WithoutTrailingSeparator(OutputPath());
    if (outputPath.empty() || !platform::DirectoryExists(outputPath)) {
        ShowError("Invalid output path specified.", "Error");
        return;
    }
    config::ExportSettings settings;
    if (!m_owner.QueueSettings(settings)) {
        return;
    }
    const bool subdirectory = Subdirectory();
    m_cancelRequested = false;
    m_running = true;
    SetRunningControls(true);
    m_owner.SetQueueRunning(true);
    m_thread = QThread::create([this, settings, outputPath, subdirectory]() {
        notes::NotesSession session;
        std::string error;
        if (!session.Start(true, "", "")) {
            error = session.ErrorText();
        } else {
            exporter::ExportQueue queue(m_queue, settings, outputPath, subdirectory, true);
            (void)queue.Run(session, m_cancelRequested, [this](std::size_t index) {
                // A copy goes to the GUI thread: the worker goes on with the next entry meanwhile.
                config::NotesExportDatabase entry = m_queue.Entry(index);
                QMetaObject::invokeMethod(
                    this, [this, index, entry]() { EntryDone(index, entry); }, Qt::QueuedConnection);
            });
            session.End(false);
        }
        QMetaObject::invokeMethod(
            this,
            [this, error]() {
                QueueDone();
                if (!error.empty()) {
                    m_status->setText(Q(error));
                }
            },
            Qt::QueuedConnection);
    });
    m_thread->start(QThread::LowPriority);
}

void DlgMutilDatabase::CancelQueue() {
    m_cancelRequested = true;
}

void DlgMutilDatabase::EntryDone(std::size_t index, const config::NotesExportDatabase &entry) {
    DrawRow(index, entry);
    int processed = 0;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        processed += m_list->topLevelItem(row)->data(kTitle, Qt::UserRole + 1).toBool() ? 1 : 0;
    }
    m_processedText->setText(QString::asprintf("Total Processed %d", processed));
}

void DlgMutilDatabase::QueueDone() {
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_running = false;
    m_owner.SetQueueRunning(false);
    SetRunningControls(false);
    Redraw();
    UpdateCounts();
    emit queueFinished();
}

void DlgMutilDatabase::SetRunningControls(bool running) {
    m_cancel->setEnabled(running);
    for (QWidget *widget : std::initializer_list<QWidget *>{m_add, m_remove, m_removeAll, m_reset, m_browse,
                                                            m_export, m_outputPath, m_subdirectory}) {
        widget->setEnabled(!running);
    }
    m_importAction->setEnabled(!running);
    m_exportAction->setEnabled(!running);
}

void DlgMutilDatabase::Redraw() {
    m_list->clear();
    for (std::size_t i = 0; i < m_queue.Count(); ++i) {
        m_list->addTopLevelItem(new QTreeWidgetItem);
        DrawRow(i, m_queue.Entry(i));
    }
}

void DlgMutilDatabase::DrawRow(std::size_t index, const config::NotesExportDatabase &entry) {
    QTreeWidgetItem *item = m_list->topLevelItem(static_cast<int>(index));
    if (item == nullptr) {
        return;
    }
    item->setText(kTitle, Q(entry.title));
    item->setText(kServer, entry.server.empty() ? QString("Local") : Q(entry.server));
    item->setText(kPath, Q(entry.path));
    item->setText(kExported, QString::number(entry.exported));
    item->setText(kTotal, QString::number(entry.total));
    item->setText(kStatus, Q(entry.status));
    item->setText(kReturnCode, QString::number(entry.returnCode));
    for (int column : {kExported, kTotal, kReturnCode}) {
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    item->setData(kTitle, Qt::UserRole, entry.image);
    item->setData(kTitle, Qt::UserRole + 1, entry.processed);
    QStyle *style = QApplication::style();
    if (entry.image == config::kQueueImageSucceeded) {
        item->setIcon(kTitle, style->standardIcon(QStyle::SP_DialogApplyButton));
    } else if (entry.image == config::kQueueImageFailed) {
        item->setIcon(kTitle, style->standardIcon(QStyle::SP_MessageBoxCritical));
    } else {
        item->setIcon(kTitle, QIcon());
    }
}

void DlgMutilDatabase::UpdateCounts() {
    m_selectedText->setText(QString::asprintf("Total selected: %d ", static_cast<int>(m_queue.Count())));
    m_processedText->setText(
        QString::asprintf("Total Processed %d", static_cast<int>(m_queue.ProcessedCount())));
}

void DlgMutilDatabase::ClearProgress() {
    m_status->clear();
    m_progress->reset();
}

}  // namespace gui
