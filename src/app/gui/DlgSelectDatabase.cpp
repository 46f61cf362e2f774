// Choosing a Notes database by server and directory.
#include "DlgSelectDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "notes/NotesDatabase.h"
#include "notes/NotesServerBrowser.h"
#include "platform/UserInterface.h"

namespace gui {

namespace {

constexpr const char *kLocal = "Local";

QString Q(const std::string &text) {
    return QString::fromStdString(text);
}

std::string Trimmed(const QString &text) {
    return text.trimmed().toStdString();
}

// "LOCAL" in any case means the local data directory, which Notes names by an empty server.
std::string ServerName(const std::string &text) {
    return QString::fromStdString(text).toUpper() == "LOCAL" ? std::string() : text;
}

std::string Quoted(const std::vector<std::string> &paths) {
    std::string text;
    for (const std::string &path : paths) {
        if (!text.empty()) {
            text += " ";
        }
        text += "\"" + path + "\"";
    }
    return text;
}

}  // namespace

DlgSelectDatabase::DlgSelectDatabase(Mode mode, QWidget *parent, AddAction addAction)
    : QDialog(parent),
      m_mode(mode),
      m_addAction(std::move(addAction)),
      m_serverCombo(new QComboBox(this)),
      m_directoryEdit(new QLineEdit(this)),
      m_list(new QTreeWidget(this)),
      m_fileNameEdit(new QLineEdit(this)),
      m_selectAll(new QPushButton("Select All", this)),
      m_deselectAll(new QPushButton("Deselect All", this)),
      m_addNow(new QPushButton("Add Now", this)) {
    setWindowTitle("Select Database");
    m_serverCombo->setEditable(true);
    m_serverCombo->setInsertPolicy(QComboBox::NoInsert);
    m_directoryEdit->setReadOnly(true);
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({"Notes Databases"});
    m_list->setColumnWidth(0, 300);
    m_list->setRootIsDecorated(false);
    m_list->setIconSize(QSize(16, 16));
    m_list->setSelectionMode(mode == Mode::Multiple ? QAbstractItemView::ExtendedSelection
                                                    : QAbstractItemView::SingleSelection);

    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel("Server (or type server or IP address):", this), 0, 0);
    grid->addWidget(m_serverCombo, 0, 1);
    grid->addWidget(new QLabel("Directory:", this), 1, 0);
    grid->addWidget(m_directoryEdit, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addWidget(new QLabel("Database:", this));
    layout->addWidget(m_list, 1);
    auto *fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel("Filename:", this));
    fileRow->addWidget(m_fileNameEdit, 1);
    layout->addLayout(fileRow);

    auto *buttonRow = new QHBoxLayout;
    auto *browse = new QPushButton("Browse Folders", this);
    buttonRow->addWidget(browse);
    buttonRow->addWidget(m_selectAll);
    buttonRow->addWidget(m_deselectAll);
    buttonRow->addWidget(m_addNow);
    buttonRow->addStretch();
    auto *box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttonRow->addWidget(box);
    layout->addLayout(buttonRow);

    m_selectAll->setVisible(mode == Mode::Multiple);
    m_deselectAll->setVisible(mode == Mode::Multiple);
    m_addNow->setVisible(static_cast<bool>(m_addAction));

    connect(box, &QDialogButtonBox::accepted, this, &DlgSelectDatabase::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse, &QPushButton::clicked, this, &DlgSelectDatabase::BrowseFolders);
    connect(m_selectAll, &QPushButton::clicked, this, &DlgSelectDatabase::SelectAll);
    connect(m_deselectAll, &QPushButton::clicked, this, &DlgSelectDatabase::DeselectAll);
    connect(m_addNow, &QPushButton::clicked, this, &DlgSelectDatabase::AddNow);
    connect(m_list, &QTreeWidget::itemClicked, this, &DlgSelectDatabase::ItemClicked);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &DlgSelectDatabase::ItemDoubleClicked);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &DlgSelectDatabase::SelectionChanged);
    connect(m_serverCombo, &QComboBox::activated, this, &DlgSelectDatabase::ServerChosen);

    (void)m_session.Start(true, "", "");
    FillServers();
    (void)ListDirectory("", "");
    resize(520, 460);
}

DlgSelectDatabase::~DlgSelectDatabase() {
    m_session.End(false);
}

void DlgSelectDatabase::FillServers() {
    std::vector<std::string> servers;
    notes::NotesServerBrowser browser;
    if (m_session.IsActive() && browser.SavedServers(servers)) {
        std::sort(servers.begin(), servers.end());
    }
    m_serverCombo->clear();
    m_serverCombo->addItem(kLocal);
    for (const std::string &server : servers) {
        m_serverCombo->addItem(Q(server));
    }
    m_serverCombo->setCurrentIndex(0);
}

bool DlgSelectDatabase::ListDirectory(const std::string &server, const std::string &directory) {
    bool listed = false;
    try {
        listed = FillList(ServerName(server), directory);
        if (!listed) {
            (void)FillList(m_server, m_directory);
        }
    } catch (const std::exception &) {
        platform::Ui().Message(
            "Unexpected Error Occured in DlgOpenDatabase::UpdateDatabaseList. You should stop and start this "
            "application",
            "Vorlix", platform::MessageIcon::Error, platform::MessageButtons::Ok);
    }
    return listed;
}

bool DlgSelectDatabase::FillList(const std::string &server, const std::string &directory) {
    std::vector<notes::NotesDirectoryEntry> directories;
    std::vector<notes::NotesDirectoryEntry> databases;
    notes::NotesServerBrowser browser;
    if (!browser.BrowseServer(server, directory, directories, databases)) {
        return false;
    }
    std::stable_sort(databases.begin(), databases.end(),
                     [](const auto &a, const auto &b) { return a.title < b.title; });
    std::stable_sort(directories.begin(), directories.end(),
                     [](const auto &a, const auto &b) { return a.name < b.name; });
    m_server = server;
    m_directory = directory;
    m_serverCombo->setEditText(server.empty() ? kLocal : Q(server));
    m_directoryEdit->setText(Q(directory));

    const QSignalBlocker blocker(m_list);
    m_list->clear();
    QStyle *style = m_list->style();
    if (!directory.empty()) {
        auto *up = new QTreeWidgetItem(m_list);
        up->setIcon(0, style->standardIcon(QStyle::SP_FileDialogToParent));
        up->setData(0, kKindRole, kUpEntry);
    }
    for (const notes::NotesDirectoryEntry &database : databases) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, Q(database.title.empty() ? database.name : database.title));
        item->setToolTip(0, Q(database.name));
        item->setIcon(0, style->standardIcon(QStyle::SP_FileIcon));
        item->setData(0, kKindRole, kDatabaseEntry);
        item->setData(0, kPathRole, Q(ChildPath(database.name)));
        item->setData(0, kTitleRole, Q(database.title));
    }
    for (const notes::NotesDirectoryEntry &sub : directories) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, Q(sub.name));
        item->setIcon(0, style->standardIcon(QStyle::SP_DirIcon));
        item->setData(0, kKindRole, kDirectoryEntry);
        item->setData(0, kPathRole, Q(ChildPath(sub.name)));
    }
    return true;
}

std::string DlgSelectDatabase::ChildPath(const std::string &name) const {
    return m_directory.empty() ? name : m_directory + "/" + name;
}

void DlgSelectDatabase::ItemClicked(QTreeWidgetItem *item) {
    if (item == nullptr) {
        return;
    }
    const int kind = item->data(0, kKindRole).toInt();
    if (kind == kUpEntry) {
        const std::size_t slash = m_directory.find_last_of('/');
        (void)ListDirectory(m_server, slash == std::string::npos ? "" : m_directory.substr(0, slash));
        return;
    }
    if (kind == kDatabaseEntry && m_mode == Mode::Single) {
        m_resultServer = m_server;
        m_resultPath = item->data(0, kPathRole).toString().toStdString();
        m_resultTitle = item->data(0, kTitleRole).toString().toStdString();
        m_fileNameEdit->setText(Q(m_resultPath));
    }
}

void DlgSelectDatabase::ItemDoubleClicked(QTreeWidgetItem *item) {
    if (item == nullptr) {
        return;
    }
    const int kind = item->data(0, kKindRole).toInt();
    if (kind == kDirectoryEntry) {
        (void)ListDirectory(m_server, item->data(0, kPathRole).toString().toStdString());
        return;
    }
    if (kind == kUpEntry) {
        ItemClicked(item);
        return;
    }
    if (m_mode == Mode::Single) {
        ItemClicked(item);
        QDialog::accept();
    }
}

void DlgSelectDatabase::SelectionChanged() {
    if (m_mode == Mode::Multiple) {
        ShowMultipleResult();
    }
}

void DlgSelectDatabase::ShowMultipleResult() {
    m_resultServer = m_server;
    m_resultPaths.clear();
    m_resultTitles.clear();
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        if (item->isSelected() && item->data(0, kKindRole).toInt() == kDatabaseEntry) {
            m_resultPaths.push_back(item->data(0, kPathRole).toString().toStdString());
            m_resultTitles.push_back(item->data(0, kTitleRole).toString().toStdString());
        }
    }
    m_fileNameEdit->setText(Q(Quoted(m_resultPaths)));
}

void DlgSelectDatabase::SelectAll() {
    const QSignalBlocker blocker(m_list);
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = m_list->topLevelItem(i);
        item->setSelected(item->data(0, kKindRole).toInt() == kDatabaseEntry);
    }
    ShowMultipleResult();
}

void DlgSelectDatabase::DeselectAll() {
    const QSignalBlocker blocker(m_list);
    m_list->clearSelection();
    m_resultPaths.clear();
    m_resultTitles.clear();
    m_fileNameEdit->clear();
}

void DlgSelectDatabase::AddNow() {
    if (m_addAction) {
        m_addAction(m_resultPaths, m_resultTitles);
    }
    DeselectAll();
}

void DlgSelectDatabase::ServerChosen(int index) {
    const std::string server = m_serverCombo->itemText(index).toStdString();
    if (!ListDirectory(server, "")) {
        platform::Ui().Message("Unable to find path to server", "Lotus Notes Error",
                               platform::MessageIcon::Error, platform::MessageButtons::Ok);
    }
}

void DlgSelectDatabase::accept() {
    const std::string typed = ServerName(Trimmed(m_serverCombo->currentText()));
    if (typed == m_server) {
        QDialog::accept();
        return;
    }
    if (!ListDirectory(typed, "")) {
        m_serverCombo->setEditText(Q(typed));
        platform::Ui().Message("Unable to find path to server: " + typed, "Lotus Notes Error",
                               platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
        m_serverCombo->setFocus();
        m_serverCombo->lineEdit()->selectAll();
    }
}

void DlgSelectDatabase::BrowseFolders() {
    try {
        const std::vector<std::string> files = platform::Ui().OpenFileNames(
            "Browse Folders", "Notes Database (*.nsf)|*.nsf;*.ns4|Notes Template (*.ntf)|*.ntf||",
            m_mode == Mode::Multiple);
        if (files.empty()) {
            return;
        }
        std::vector<std::string> titles;
        for (const std::string &file : files) {
            notes::NotesDatabase database;
            titles.push_back(database.Open("", file) ? database.Title() : "!Could not open database!");
        }
        m_resultServer.clear();
        m_resultPaths = files;
        m_resultTitles = titles;
        m_resultPath = files.front();
        m_resultTitle = titles.front();
        if (!m_server.empty()) {
            (void)ListDirectory("", "");
        }
        m_fileNameEdit->setText(Q(files.size() == 1 ? files.front() : Quoted(files)));
    } catch (const std::exception &) {
        platform::Ui().Message("Unexpected error in DlgSelectDatabase", "Vorlix",
                               platform::MessageIcon::Error, platform::MessageButtons::Ok);
    }
}

}  // namespace gui
