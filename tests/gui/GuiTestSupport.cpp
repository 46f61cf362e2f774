// The GUI tests' surroundings.
#include "GuiTestSupport.h"

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "platform/AppInfo.h"

namespace guitest {

namespace fs = std::filesystem;

std::vector<TestClass> &TestClasses() {
    static std::vector<TestClass> classes;
    return classes;
}

Environment::Environment(const std::vector<std::string> &notesLines, bool programPath) {
    fs::create_directories(Data());
    std::vector<std::string> ini = {"Directory=" + Data()};
    ini.insert(ini.end(), notesLines.begin(), notesLines.end());
    testsupport::WriteNotesIni(m_dir.Path(), ini);
    testsupport::WriteFile(File("vorlix.ini"), "[Notes]\nProgramPath=" +
                                                   (programPath ? testsupport::ProgramDir() : std::string()) +
                                                   "\nIniFilePath=" + NotesIni() + "\n");
    platform::AppInfo::OverrideModulePath(File("vorlix"));
    gui::GuiUserInterface::SetScripted(true);
    m_previousUi = platform::SetUi(&m_ui);
}

Environment::~Environment() {
    m_dialog.reset();
    m_session.End(false);
    platform::SetUi(m_previousUi);
    gui::GuiUserInterface::SetScripted(false);
    platform::AppInfo::OverrideModulePath("");
}

void Environment::AddDatabase(const std::string &repositoryPath, const std::string &name) {
    const fs::path target = fs::path(Data()) / name;
    fs::create_directories(target.parent_path());
    fs::copy_file(testsupport::SourcePath(repositoryPath), target, fs::copy_options::overwrite_existing);
}

std::string Environment::WriteProfile(const std::string &name, const std::string &database,
                                      const std::vector<std::string> &lines) {
    std::string text =
        "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\nNSFFilePath=" + database +
        "\r\n";
    for (const std::string &line : lines) {
        text += line + "\r\n";
    }
    testsupport::WriteFile(File(name), text);
    return File(name);
}

gui::CVorlixDlg &Environment::OpenDialog() {
    m_dialog = std::make_unique<gui::CVorlixDlg>(m_session, m_ui);
    m_dialog->show();
    (void)QTest::qWaitFor([this]() { return m_dialog->StartupDone(); }, 20000);
    return *m_dialog;
}

bool Environment::StartSession() {
    return m_session.Start(false, testsupport::ProgramDir(), NotesIni());
}

std::vector<std::string> Environment::Messages() {
    std::vector<std::string> texts;
    for (const auto &message : gui::GuiUserInterface::ShownMessages()) {
        texts.push_back(message.caption + ": " + message.text);
    }
    return texts;
}

QAction *MenuAction(QMenuBar *bar, const QString &text) {
    for (QAction *menu : bar->actions()) {
        for (QAction *action : menu->menu()->actions()) {
            if (action->text() == text) {
                return action;
            }
        }
    }
    return nullptr;
}

std::vector<std::pair<std::string, std::string>> TreeContents(const std::string &directory) {
    std::vector<std::pair<std::string, std::string>> files;
    if (!fs::exists(directory)) {
        return files;
    }
    for (const auto &entry : fs::recursive_directory_iterator(directory)) {
        if (entry.is_regular_file()) {
            files.emplace_back(fs::relative(entry.path(), directory).string(),
                               testsupport::ReadFile(entry.path().string()));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace guitest
