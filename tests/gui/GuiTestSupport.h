// The GUI tests' surroundings: a program directory of the test's own (settings file, notes.ini, data
// directory with stand-in databases), the scripted seam, and the main dialog after its deferred start.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/gui/CVorlixDlg.h"
#include "app/gui/GuiUserInterface.h"
#include "notes/NotesSession.h"
#include "support/TestSupport.h"

class QAction;
class QMenuBar;

namespace guitest {

struct TestClass {
    const char *name;
    std::function<std::unique_ptr<QObject>()> create;
};
std::vector<TestClass> &TestClasses();

// Registers a QTest class under its name; used once per test file.
template <typename T>
struct Register {
    explicit Register(const char *name) {
        TestClasses().push_back({name, []() { return std::unique_ptr<QObject>(new T); }});
    }
};

class Environment {
public:
    // notesLines: lines added to notes.ini; programPath: whether the settings file names the stand-in.
    explicit Environment(const std::vector<std::string> &notesLines = {}, bool programPath = true);
    ~Environment();

    std::string File(const std::string &name) const { return m_dir.File(name); }
    std::string Data() const { return m_dir.File("data"); }
    std::string NotesIni() const { return m_dir.File("notes.ini"); }
    // Copies a repository file into the data directory (name may hold a subdirectory).
    void AddDatabase(const std::string &repositoryPath, const std::string &name);
    // Writes a profile naming a database of the data directory; lines follow the database keys.
    std::string WriteProfile(const std::string &name, const std::string &database,
                             const std::vector<std::string> &lines);

    // Creates the main dialog and waits for its deferred start (check StartupDone).
    gui::CVorlixDlg &OpenDialog();
    gui::CVorlixDlg &Dialog() { return *m_dialog; }
    // Starts the process session without the dialog.
    bool StartSession();
    notes::NotesSession &Session() { return m_session; }
    gui::GuiUserInterface &Ui() { return m_ui; }

    // The messages shown so far, as "caption: text".
    static std::vector<std::string> Messages();

private:
    testsupport::TempDir m_dir;
    gui::GuiUserInterface m_ui;
    platform::UserInterface *m_previousUi;
    notes::NotesSession m_session;
    std::unique_ptr<gui::CVorlixDlg> m_dialog;
};

// The entry of a menu bar's menus with that text (mnemonic included), or null.
QAction *MenuAction(QMenuBar *bar, const QString &text);

// Every file below a directory with its bytes, by relative path.
std::vector<std::pair<std::string, std::string>> TreeContents(const std::string &directory);

}  // namespace guitest
