// The choice dialogs of the Notes detection and the "Lotus Notes Program Settings" dialog.
#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "GuiTestSupport.h"
#include "app/gui/DlgNotesPathSel.h"
#include "app/gui/DlgNotesSettings.h"
#include "platform/AppSettings.h"

namespace {

void ClickOk(QDialog &dialog) {
    QTest::mouseClick(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

std::string Setting(const char *key) {
    return platform::ReadAppSetting("Notes", key);
}

// A search environment with nothing in it but what a test puts there.
notes::InstallSearchEnvironment EmptyEnvironment(const guitest::Environment &environment) {
    std::filesystem::create_directories(environment.File("root"));
    std::filesystem::create_directories(environment.File("proc"));
    notes::InstallSearchEnvironment search;
    search.root = environment.File("root");
    search.procDirectory = environment.File("proc");
    search.home = environment.File("home");
    return search;
}

}  // namespace

class NotesSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void choiceDialogsInsistOnASelection_data() {
        QTest::addColumn<bool>("program");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("emptyMessage");
        QTest::newRow("program path") << true << "Select Lotus Notes Program Path"
                                      << "Selection Error: Select a program path or choose cancel";
        QTest::newRow("configuration file")
            << false << "Select Lotus Notes Configuration File"
            << "Selection Error: Select a configuration file (notes.ini) or choose cancel";
    }
    void choiceDialogsInsistOnASelection() {
        QFETCH(bool, program);
        QFETCH(QString, title);
        QFETCH(QString, emptyMessage);
        guitest::Environment environment;
        const std::vector<std::string> candidates = {"/opt/hcl/notes12", "/opt/ibm/notes"};
        std::unique_ptr<gui::DlgNotesCandidateSel> dialog;
        if (program) {
            dialog = std::make_unique<gui::DlgNotesProgPathSel>(candidates, std::nullopt);
        } else {
            dialog = std::make_unique<gui::DlgNotesConfigFileSel>(candidates, std::nullopt);
        }
        QCOMPARE(dialog->windowTitle(), title);
        QCOMPARE(dialog->List()->count(), 2);
        QCOMPARE(dialog->List()->item(0)->text(), QString("/opt/hcl/notes12"));
        dialog->show();
        ClickOk(*dialog);
        QCOMPARE(guitest::Environment::Messages(), std::vector<std::string>{emptyMessage.toStdString()});
        QVERIFY(dialog->isVisible());
        dialog->List()->setCurrentRow(1);
        ClickOk(*dialog);
        QTRY_COMPARE(dialog->isVisible(), false);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->Selected(), std::optional<std::size_t>(1));
    }

    void theDiscoveryChoiceIsPreselected() {
        guitest::Environment environment;
        gui::DlgNotesProgPathSel dialog({"/a", "/b", "/c"}, std::size_t{2});
        QCOMPARE(dialog.Selected(), std::optional<std::size_t>(2));
        dialog.show();
        ClickOk(dialog);
        QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(guitest::Environment::Messages().empty());
    }

    void settingsDialogShowsBrowsesAndWritesThePaths() {
        guitest::Environment environment;
        gui::GuiDiscoveryDialogs dialogs(nullptr);
        gui::DlgNotesSettings dialog(environment.Session(), dialogs, EmptyEnvironment(environment));
        QCOMPARE(dialog.ProgramPathBox()->text().toStdString(), testsupport::ProgramDir());
        QCOMPARE(dialog.IniFilePathBox()->text().toStdString(), environment.NotesIni());
        dialog.show();
        gui::GuiUserInterface::SetNextFileNames({"/opt/ibm/notes"});
        QTest::mouseClick(dialog.SelectProgramButton(), Qt::LeftButton);
        gui::GuiUserInterface::SetNextFileNames({"/home/u/notes/data/notes.ini"});
        QTest::mouseClick(dialog.SelectIniFileButton(), Qt::LeftButton);
        QTest::mouseClick(dialog.SelectProgramButton(), Qt::LeftButton);  // cancelled: box kept
        QCOMPARE(dialog.ProgramPathBox()->text(), QString("/opt/ibm/notes"));
        QCOMPARE(dialog.IniFilePathBox()->text(), QString("/home/u/notes/data/notes.ini"));
        QCOMPARE(Setting("ProgramPath"), testsupport::ProgramDir());  // nothing written before OK
        ClickOk(dialog);
        QTRY_COMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Setting("ProgramPath"), std::string("/opt/ibm/notes"));
        QCOMPARE(Setting("IniFilePath"), std::string("/home/u/notes/data/notes.ini"));
    }

    void detectingWithNothingInstalledAsksForRetryThenExplains() {
        guitest::Environment environment;
        gui::GuiDiscoveryDialogs dialogs(nullptr);
        gui::DlgNotesSettings dialog(environment.Session(), dialogs, EmptyEnvironment(environment));
        dialog.show();
        QTest::mouseClick(dialog.DetectButton(), Qt::LeftButton);
        const std::vector<std::string> messages = guitest::Environment::Messages();
        QCOMPARE(messages.size(), std::size_t{2});
        QCOMPARE(messages[0], std::string(notes::kDetectionCaption) + ": " + notes::kNoInstallationFound);
        QVERIFY(messages[1].rfind("Lotus Notes Program Settings Error: Lotus Notes settings could not be "
                                  "automatically determined.",
                                  0) == 0);
        QVERIFY(!environment.Session().IsActive());
        QCOMPARE(dialog.ProgramPathBox()->text().toStdString(), testsupport::ProgramDir());  // keys kept
        QCOMPARE(dialog.StatusLine()->text(), QString());
    }

    void detectingFindsTheInstallationStartsNotesAndReloadsTheBoxes() {
        guitest::Environment environment;
        QVERIFY(platform::WriteAppSetting("Notes", "ProgramPath", ""));
        QVERIFY(platform::WriteAppSetting("Notes", "IniFilePath", ""));
        notes::InstallSearchEnvironment search = EmptyEnvironment(environment);
        search.pathVariable = testsupport::ProgramDir();
        search.home = environment.File("home");
        std::filesystem::create_directories(environment.File("home/notes/data"));
        const std::string ini = testsupport::WriteNotesIni(environment.File("home/notes/data"),
                                                           {"Directory=" + environment.Data()});
        gui::GuiDiscoveryDialogs dialogs(nullptr, search);
        gui::DlgNotesSettings dialog(environment.Session(), dialogs, search);
        dialog.show();
        QCOMPARE(dialog.ProgramPathBox()->text(), QString());
        QTest::mouseClick(dialog.DetectButton(), Qt::LeftButton);
        QVERIFY(environment.Session().IsActive());
        QCOMPARE(dialog.ProgramPathBox()->text().toStdString(), testsupport::ProgramDir());
        QCOMPARE(dialog.IniFilePathBox()->text().toStdString(), ini);
        QVERIFY(guitest::Environment::Messages().empty());
    }

    void theMenuEntryIsEnabled() {
        guitest::Environment environment;
        gui::CVorlixDlg &dialog = environment.OpenDialog();
        QAction *entry = nullptr;
        for (QAction *action : dialog.findChildren<QAction *>()) {
            if (action->text() == "Lotus Notes program Settings") {
                entry = action;
            }
        }
        QVERIFY(entry != nullptr);
        QVERIFY(entry->isEnabled());
    }
};

static guitest::Register<NotesSettingsTest> registration("NotesSettingsTest");

#include "NotesSettingsTest.moc"
