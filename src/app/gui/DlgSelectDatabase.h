// The "Select Database" dialog: picks one Notes database (or several) by server and directory, or a
// database file from the file system. It runs a thread-level Notes session of its own.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "notes/NotesDirectoryEntry.h"
#include "notes/NotesSession.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace gui {

class DlgSelectDatabase : public QDialog {
    Q_OBJECT

public:
    enum class Mode { Single, Multiple };
    // Receives the chosen paths and titles when "Add Now" is clicked.
    using AddAction =
        std::function<void(const std::vector<std::string> &paths, const std::vector<std::string> &titles)>;

    explicit DlgSelectDatabase(Mode mode, QWidget *parent = nullptr, AddAction addAction = {});
    ~DlgSelectDatabase() override;

    // The result of single mode (empty path: nothing chosen) and of multiple mode.
    const std::string &Server() const { return m_resultServer; }
    const std::string &Path() const { return m_resultPath; }
    const std::string &Title() const { return m_resultTitle; }
    const std::vector<std::string> &Paths() const { return m_resultPaths; }
    const std::vector<std::string> &Titles() const { return m_resultTitles; }

    // Lists a directory of a server ("" or "LOCAL": the local data directory; "" directory: its top).
    // On failure the previous listing is shown again and false is returned.
    bool ListDirectory(const std::string &server, const std::string &directory);
    const std::string &CurrentServer() const { return m_server; }
    const std::string &CurrentDirectory() const { return m_directory; }

    QComboBox *ServerCombo() const { return m_serverCombo; }
    QLineEdit *DirectoryEdit() const { return m_directoryEdit; }
    QTreeWidget *DatabaseList() const { return m_list; }
    QLineEdit *FileNameEdit() const { return m_fileNameEdit; }
    QPushButton *SelectAllButton() const { return m_selectAll; }
    QPushButton *DeselectAllButton() const { return m_deselectAll; }
    QPushButton *AddNowButton() const { return m_addNow; }

    // OK: closes only when the server in the combo box is the one listed; a server typed by the user
    // is listed instead.
    void accept() override;

    void SelectAll();
    void DeselectAll();
    void BrowseFolders();

private:
    enum Role { kKindRole = Qt::UserRole, kPathRole, kTitleRole };
    enum Kind { kUpEntry, kDatabaseEntry, kDirectoryEntry };

    void FillServers();
    bool FillList(const std::string &server, const std::string &directory);
    void ItemClicked(QTreeWidgetItem *item);
    void ItemDoubleClicked(QTreeWidgetItem *item);
    void SelectionChanged();
    void ServerChosen(int index);
    void AddNow();
    void ShowMultipleResult();
    std::string ChildPath(const std::string &name) const;

    Mode m_mode;
    AddAction m_addAction;
    notes::NotesSession m_session;
    std::string m_server;     // "" for local
    std::string m_directory;  // relative to the data directory; "" at the top
    std::string m_resultServer;
    std::string m_resultPath;
    std::string m_resultTitle;
    std::vector<std::string> m_resultPaths;
    std::vector<std::string> m_resultTitles;

    QComboBox *m_serverCombo;
    QLineEdit *m_directoryEdit;
    QTreeWidget *m_list;
    QLineEdit *m_fileNameEdit;
    QPushButton *m_selectAll;
    QPushButton *m_deselectAll;
    QPushButton *m_addNow;
};

}  // namespace gui
