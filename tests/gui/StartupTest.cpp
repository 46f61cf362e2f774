// The interactive start and the shutdown: the deferred Notes start with its discovery hook and version
// check, the default template read at the start and written at the close, the settings written at
// the close, and the "Save Password" box.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "GuiTestSupport.h"
#include "app/gui/DlgPassword.h"
#include "app/gui/InteractiveStartup.h"
#include "app/gui/OutputPanel.h"
#include "app/gui/SelectionPanel.h"
#include "password/SavedPassword.h"
#include "platform/AppSettings.h"

namespace {

namespace fs = std::filesystem;

// Records the status lines a start shows, and where the discovery ran among them.
class StatusRecord : public platform::UserInterface {
public:
    platform::MessageAnswer Message(const std::string &, const std::string &, platform::MessageIcon,
                                    platform::MessageButtons) override {
        return platform::MessageAnswer::Ok;
    }
    void Progress(long, long) override {}
    void Status(const std::string &text) override { lines << QString::fromStdString(text); }
    QStringList lines;
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void missingTemplateIsReportedAndCreatedAtClose() {
        guitest::Environment env;
        gui::CVorlixDlg &dialog = env.OpenDialog();
        QVERIFY(dialog.StartupDone());
        QVERIFY2(dialog.Status()->text().startsWith("Default Template Error: "),
                 qPrintable(dialog.Status()->text()));
        QVERIFY(dialog.Selection()->ViewRadio()->isChecked());
        QVERIFY(dialog.Outputs()->CreateCsv()->isChecked());
        QVERIFY(dialog.Outputs()->Ansi()->isChecked());
        QVERIFY2(!dialog.SavePassword()->isChecked(), "no [Quorvane] section");
        QVERIFY(dialog.ExportNowButton()->isEnabled());
        QVERIFY(guitest::Environment::Messages().empty());
        QVERIFY(!fs::exists(env.File("Vorlix.xpt")));

        QTest::mouseClick(dialog.Selection()->AllDocsRadio(), Qt::LeftButton);
        QTest::mouseClick(dialog.Outputs()->Utf8(), Qt::LeftButton);
        dialog.FileExit();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(fs::exists(env.File("Vorlix.xpt")));
        QVERIFY(!env.Session().IsActive());
        QCOMPARE(platform::ReadAppSetting("Export Settings", "MultiOutputSubdirDb"), std::string("0"));

        // The next start restores the set-up from the template.
        gui::CVorlixDlg &again = env.OpenDialog();
        QVERIFY(again.StartupDone());
        QVERIFY(!again.Status()->text().startsWith("Default Template Error"));
        QVERIFY(again.Selection()->AllDocsRadio()->isChecked());
        QVERIFY(again.Outputs()->Utf8()->isChecked());
    }

    void failedStartsDisableTheNotesCommands_data() {
        QTest::addColumn<bool>("programPath");
        QTest::addColumn<QStringList>("notesLines");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no program path")
            << false << QStringList{}
            << "Unable to start a Lotus Notes session. No Lotus Notes program path was specificed.";
        QTest::newRow("release 4.0.1") << true << QStringList{"StandinRelease=Release 4.0.1|January 1, 1996"}
                                       << "Lotus Notes version must be at least 4.1.0 to run this "
                                          "application. The detected version was only "
                                          "4.0.1";
    }
    void failedStartsDisableTheNotesCommands() {
        QFETCH(bool, programPath);
        QFETCH(QStringList, notesLines);
        QFETCH(QString, reason);
        std::vector<std::string> lines;
        for (const QString &line : notesLines) {
            lines.push_back(line.toStdString());
        }
        guitest::Environment env(lines, programPath);
        gui::CVorlixDlg &dialog = env.OpenDialog();
        QVERIFY(dialog.StartupDone());
        QVERIFY(!env.Session().IsActive());
        QVERIFY(!dialog.ExportNowButton()->isEnabled());
        QVERIFY(!dialog.SelectDatabaseButton()->isEnabled());
        const std::vector<std::string> messages = guitest::Environment::Messages();
        QCOMPARE(messages.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(messages[0]),
                 "Error: Unable to start a Lotus Notes Session Error:" + reason +
                     "\n\nWhile using the configuration file: " + QString::fromStdString(env.NotesIni()) +
                     "\n\nYou may specify a different Notes configuration file in Vorlix.ini in section "
                     "[Notes] using "
                     "variable INIFilePath=");
        dialog.SelectDatabase();
        QCOMPARE(
            QString::fromStdString(guitest::Environment::Messages().back()),
            QString(
                "Error: A Lotus Notes Session has not been established. This is an invalid option at this "
                "time."));
    }

    void discoveryRunsBeforeOrAfterTheFirstStart_data() {
        QTest::addColumn<QString>("programPath");
        QTest::addColumn<bool>("discoveryStarts");
        QTest::addColumn<QStringList>("lines");
        const QString noPath =
            "Unable to start a Lotus Notes session. No Lotus Notes program path was specificed.";
        const QString notStarted =
            "Unable to start a Lotus Notes session with Lotus Notes configuration file: '";
        QTest::newRow("empty path, discovery fails")
            << "" << false << QStringList{"discovery", "Initializing a Lotus Notes session", noPath};
        QTest::newRow("empty path, discovery starts")
            << "" << true << QStringList{"discovery", "Initializing a Lotus Notes session", ""};
        // The library stays loaded between tests, so a wrong configuration file makes the start fail.
        QTest::newRow("paths that do not work, discovery fails")
            << "wrong" << false
            << QStringList{"Initializing a Lotus Notes session", notStarted, "discovery",
                           "Initializing a Lotus Notes session", notStarted};
    }
    void discoveryRunsBeforeOrAfterTheFirstStart() {
        QFETCH(QString, programPath);
        QFETCH(bool, discoveryStarts);
        QFETCH(QStringList, lines);
        guitest::Environment env;
        if (programPath == "wrong") {
            QVERIFY(platform::WriteAppSetting("Notes", "IniFilePath", env.File("missing/notes.ini")));
        } else {
            QVERIFY(platform::WriteAppSetting("Notes", "ProgramPath", programPath.toStdString()));
        }
        StatusRecord record;
        const std::string ini = env.NotesIni();
        gui::InteractiveStartup startup(
            env.Session(), record,
            [&](notes::NotesSession &session, std::string &, platform::UserInterface &statusLine) {
                record.lines << "discovery";
                return discoveryStarts && session.Start(false, testsupport::ProgramDir(), ini, &statusLine);
            });
        startup.Run();
        QVERIFY(startup.DiscoveryRan());
        QCOMPARE(env.Session().IsActive(), discoveryStarts);
        QCOMPARE(record.lines.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QVERIFY2(record.lines[i].startsWith(lines[i]), qPrintable(record.lines[i]));
        }
        if (!discoveryStarts) {
            QVERIFY(QString::fromStdString(startup.StartupStatus())
                        .endsWith("\n \nPlease make sure Lotus Notes is installed and setup correctly (run "
                                  "at least once)."));
        }
    }

    void clearingSavePasswordWritesDisabled() {
        guitest::Environment env;
        QVERIFY(platform::WriteAppSetting("Quorvane", "Enabled", "1"));
        gui::CVorlixDlg &dialog = env.OpenDialog();
        QVERIFY(dialog.SavePassword()->isChecked());
        QVERIFY(dialog.SavePassword()->isEnabled());
        QTest::mouseClick(dialog.SavePassword(), Qt::LeftButton);
        QCOMPARE(platform::ReadAppSetting("Quorvane", "Enabled"), std::string("0"));
        QVERIFY(!dialog.SavePassword()->isChecked());
    }

    void checkingSavePasswordOpensThePasswordDialog_data() {
        QTest::addColumn<bool>("accepted");
        QTest::newRow("OK") << true;
        QTest::newRow("Cancel") << false;
    }

    // OK saves the password and Enabled=1 and leaves the box checked; Cancel saves nothing and clears it.
    void checkingSavePasswordOpensThePasswordDialog() {
        QFETCH(bool, accepted);
        guitest::Environment env;
        gui::CVorlixDlg &dialog = env.OpenDialog();
        QVERIFY(!dialog.SavePassword()->isChecked());
        QVERIFY(dialog.SavePassword()->isEnabled());
        bool shown = false;
        QTimer::singleShot(0, [&shown, accepted]() {
            auto *password = qobject_cast<gui::DlgPassword *>(QApplication::activeModalWidget());
            if (password == nullptr) {
                return;
            }
            shown = true;
            password->PasswordBox()->setText("Sesame42");
            accepted ? password->accept() : password->reject();
        });
        QTest::mouseClick(dialog.SavePassword(), Qt::LeftButton);
        QVERIFY(shown);
        QCOMPARE(dialog.SavePassword()->isChecked(), accepted);
        QCOMPARE(platform::ReadAppSetting("Quorvane", "Enabled"), std::string(accepted ? "1" : ""));
        QCOMPARE(platform::ReadAppSetting("Quorvane", "Password"),
                 accepted ? password::ScramblePassword(u"Sesame42") : std::string());
    }
};

static guitest::Register<StartupTest> registration("StartupTest");

#include "StartupTest.moc"
