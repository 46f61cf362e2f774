// The main dialog driven as a user drives it, against stand-in databases: Export Now and its
// questions and validation, the selection methods, profiles and templates, manual entry, the field
// scan, closing during an export, and a whole export compared with the command line's.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <regex>

#include "GuiTestSupport.h"
#include "app/CommandLineRun.h"
#include "app/CommandLineUserInterface.h"
#include "app/gui/FieldListPanel.h"
#include "app/gui/OutputPanel.h"
#include "app/gui/SelectionPanel.h"
#include "export/PdfPhase.h"
#include "platform/Registry.h"

namespace {

namespace fs = std::filesystem;
using gui::GuiUserInterface;
using platform::MessageAnswer;

constexpr int kRunTimeout = 60000;

void OpenProfile(gui::CVorlixDlg &dialog, const std::string &path, bool profile = true) {
    GuiUserInterface::SetNextFileNames({path});
    dialog.FileOpen(profile);
}

QStringList Texts(const QListWidget *list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

QStringList Messages() {
    QStringList texts;
    for (const std::string &text : guitest::Environment::Messages()) {
        texts << QString::fromStdString(text);
    }
    return texts;
}

// The log's "Begin export at" line carries the time of the run.
std::string WithoutRunTimes(const std::string &text) {
    static const std::regex beginLine("Begin export at [ 0-9]{2}:[ 0-9]{2}:[ 0-9]{2}");
    return std::regex_replace(text, beginLine, "Begin export at hh:mm:ss");
}

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<guitest::Environment> m_env;

    // The orders database with a profile choosing its "Orders" view and two columns.
    std::string OrdersProfile(const std::vector<std::string> &extra = {}) {
        std::vector<std::string> lines = {
            "SelectMethod=1", "ViewName=Orders", "OutputItems=OrderNumber,Subject",
            "SummaryFilePath=" + m_env->File("csv/out.csv"), "OutputPath=" + m_env->File("base")};
        lines.insert(lines.end(), extra.begin(), extra.end());
        return m_env->WriteProfile("orders.xpp", "orders.nsf", lines);
    }

private slots:
    void init() {
        m_env = std::make_unique<guitest::Environment>();
        m_env->AddDatabase("tests/cli/data/orders.nsf", "orders.nsf");
    }
    void cleanup() { m_env.reset(); }

    void exportNowWithoutDatabaseStartsNothing() {
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        QVERIFY(dialog.StartupDone());
        QVERIFY(dialog.ExportNowButton()->isEnabled());
        GuiUserInterface::ClearShownMessages();
        QTest::mouseClick(dialog.ExportNowButton(), Qt::LeftButton);
        QCOMPARE(
            Messages(),
            QStringList{"More Information Required: Please select a database for export before continuing."});
        QVERIFY(!dialog.ExportInProgress());
    }

    void pathQuestionsComeBeforeValidation_data() {
        QTest::addColumn<QList<int>>("answers");  // 1 yes, 0 no
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("baseCreated");
        QTest::addColumn<bool>("csvDirectoryCreated");
        QTest::addColumn<bool>("started");
        QTest::newRow("no to the base path") << QList<int>{0} << 1 << false << false << false;
        QTest::newRow("no to the CSV path") << QList<int>{1, 0} << 2 << true << false << false;
        QTest::newRow("yes to both") << QList<int>{1, 1} << 2 << true << true << true;
    }
    void pathQuestionsComeBeforeValidation() {
        QFETCH(QList<int>, answers);
        QFETCH(int, questions);
        QFETCH(bool, baseCreated);
        QFETCH(bool, csvDirectoryCreated);
        QFETCH(bool, started);
        // No columns: validation would refuse, so a message after the questions shows it was reached.
        const std::string profile =
            m_env->WriteProfile("p.xpp", "orders.nsf",
                                {"SelectMethod=1", "ViewName=Orders",
                                 "OutputItems=", "SummaryFilePath=" + m_env->File("csv/out.csv"),
                                 "OutputPath=" + m_env->File("base/deep")});
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        OpenProfile(dialog, profile);
        GuiUserInterface::ClearShownMessages();
        for (int answer : answers) {
            GuiUserInterface::SetNextAnswer(answer == 1 ? MessageAnswer::Yes : MessageAnswer::No);
        }
        dialog.ExportNow();
        const QStringList shown = Messages();
        QCOMPARE(shown.size(), started ? questions + 1 : questions);
        QCOMPARE(shown[0], QString::fromStdString("Create Path: Base path '" + m_env->File("base/deep") +
                                                  "' does not exists. You you like to create it?"));
        if (questions > 1) {
            QCOMPARE(shown[1],
                     QString::fromStdString("Create Path: CSV filename path '" + m_env->File("csv") +
                                            "' does not exists. You you like to create it?"));
        }
        if (started) {
            QCOMPARE(shown.last(),
                     QString("Validation Error: Please select fields for export before continuing."));
        }
        QCOMPARE(fs::is_directory(m_env->File("base/deep")), baseCreated);
        QCOMPARE(fs::is_directory(m_env->File("csv")), csvDirectoryCreated);
        QVERIFY(!dialog.ExportInProgress());
    }

    void validationRefusesWithItsMessage_data() {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("message");
        QTest::newRow("no view") << QStringList{"SelectMethod=1", "ViewName=", "OutputItems=Subject"}
                                 << "Validation Error: Please select a view for export before continuing.";
        QTest::newRow("bad formula") << QStringList{"SelectMethod=3",
                                                    "Query=SELECT Subject = ", "OutputItems=Subject"}
                                     << "Validation Error: Invalid Formula:\n\n";
        QTest::newRow("no columns") << QStringList{"SelectMethod=1", "ViewName=Orders", "OutputItems="}
                                    << "Validation Error: Please select fields for export before continuing.";
    }
    void validationRefusesWithItsMessage() {
        QFETCH(QStringList, lines);
        QFETCH(QString, message);
        std::vector<std::string> profileLines = {"SummaryFilePath=" + m_env->File("out.csv"),
                                                 "OutputPath=" + m_env->Data()};
        for (const QString &line : lines) {
            profileLines.push_back(line.toStdString());
        }
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        OpenProfile(dialog, m_env->WriteProfile("p.xpp", "orders.nsf", profileLines));
        GuiUserInterface::ClearShownMessages();
        dialog.ExportNow();
        const QStringList shown = Messages();
        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown[0].startsWith(message), qPrintable(shown[0]));
        if (message.contains("Formula")) {
            QVERIFY2(shown[0].contains("\n\nError at position "), qPrintable(shown[0]));
        }
        QVERIFY(!dialog.ExportInProgress());
    }

    void pdfNeedsTheFactoryAsDefaultPrinter_data() {
        QTest::addColumn<QString>("device");
        QTest::addColumn<bool>("asked");
        QTest::newRow("pdfFactory") << "pdfFactory,winspool,Ne00:" << false;
        QTest::newRow("another printer") << "Office Laser,winspool,Ne01:" << true;
        QTest::newRow("prefix is not enough") << "pdfFactory Pro,winspool,Ne02:" << true;
        QTest::newRow("no comma") << "pdfFactory" << false;
    }
    void pdfNeedsTheFactoryAsDefaultPrinter() {
        QFETCH(QString, device);
        QFETCH(bool, asked);
        qputenv("VORLIX_REGISTRY", QByteArray::fromStdString(m_env->File("registry.ini")));
        QVERIFY(platform::Registry::SetString(platform::RegistryHive::CurrentUser,
                                              "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
                                              "Device", device.toStdString()));
        fs::create_directories(m_env->File("base"));
        fs::create_directories(m_env->File("csv"));
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        OpenProfile(dialog, OrdersProfile({"CreatePdfs=1"}));
        GuiUserInterface::ClearShownMessages();
        exporter::SetPdfDriverSettleTimeForTests(0);  // a run that starts goes on to its PDF phase
        dialog.ExportNow();                           // the cancelling answer when asked
        qunsetenv("VORLIX_REGISTRY");
        const QStringList shown = Messages();
        QCOMPARE(
            !shown.isEmpty() && shown[0].startsWith("Confirm: Please confirm the pdfFactory printer is the "
                                                    "default printer. This is required for PDF creation."),
            asked);
        QCOMPARE(dialog.ExportInProgress(), !asked);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.ExportInProgress(), kRunTimeout);
        exporter::SetPdfDriverSettleTimeForTests(exporter::kPdfDriverSettleMilliseconds);
    }

    void browseButtonsAndAFailedOpen() {
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        OpenProfile(dialog, OrdersProfile());
        GuiUserInterface::SetNextFileNames({"/data/exports"});
        dialog.Outputs()->BrowseBasePath();
        QCOMPARE(dialog.Outputs()->BasePath()->text(), QString("/data/exports"));
        GuiUserInterface::SetNextFileNames({"/data/summary.csv"});
        dialog.Outputs()->BrowseCsvFile();
        QCOMPARE(dialog.Outputs()->CsvFile()->text(), QString("/data/summary.csv"));
        dialog.Outputs()->BrowseCsvFile();  // cancelled: nothing changes
        QCOMPARE(dialog.Outputs()->CsvFile()->text(), QString("/data/summary.csv"));

        GuiUserInterface::ClearShownMessages();
        OpenProfile(dialog, m_env->File("missing.xpp"));
        QCOMPARE(Messages().size(), 1);
        QVERIFY2(Messages()[0].startsWith("Export Profile Open Error: Unable to Open Export Profile. "),
                 qPrintable(Messages()[0]));
        QCOMPARE(dialog.ProfilePath(), m_env->File("orders.xpp"));
        QCOMPARE(dialog.DatabasePath(), std::string("orders.nsf"));
        QCOMPARE(dialog.Outputs()->CsvFile()->text(), QString("/data/summary.csv"));

        dialog.FileNew();
        QCOMPARE(dialog.DatabasePath(), std::string());
        QCOMPARE(dialog.DatabaseEdit()->text(), QString());
        QCOMPARE(dialog.Fields()->AvailableList()->count(), 0);
        QCOMPARE(dialog.Outputs()->CsvFile()->text(), QString());
    }

    void radioButtonsStoreTheirValues() {
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        gui::SelectionPanel *selection = dialog.Selection();
        QTest::mouseClick(selection->AllDocsRadio(), Qt::LeftButton);
        QCOMPARE(selection->QueryEdit()->toPlainText(), QString("SELECT @ALL"));
        QVERIFY(selection->QueryEdit()->isReadOnly());
        QVERIFY(selection->QueryEdit()->isVisible());
        QVERIFY(!selection->ViewList()->isVisible());
        QCOMPARE(dialog.Working().SelectMethod, config::kSelectQuery);
        QVERIFY(dialog.Working().QueryAllDocs);
        QTest::mouseClick(selection->QueryRadio(), Qt::LeftButton);
        QVERIFY(!selection->QueryEdit()->isReadOnly());
        QVERIFY(!dialog.Working().QueryAllDocs);

        QTest::mouseClick(dialog.Outputs()->Utf8(), Qt::LeftButton);
        QCOMPARE(dialog.Working().CharacterEncoding, config::kEncodingUtf8);
        QTest::mouseClick(dialog.Outputs()->Utf16(), Qt::LeftButton);
        QCOMPARE(dialog.Working().CharacterEncoding, config::kEncodingUtf16);
    }

    void templateKeepsTheDatabaseAndLocations() {
        const std::string profile = OrdersProfile({"LaunchOnComplete=1", "DialogOnComplete=1"});
        const std::string templatePath = m_env->WriteProfile(
            "t.xpt", "",
            {"FileType=ExportTemplate", "SelectMethod=3", "Query=SELECT Form = \"Order\"",
             "OutputItems=Customer,%Count", "SummaryFilePath=/elsewhere.csv", "OutputPath=/elsewhere"});
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        OpenProfile(dialog, profile);
        QCOMPARE(dialog.DatabasePath(), std::string("orders.nsf"));
        QCOMPARE(dialog.DatabaseEdit()->text(), QString("CLI Orders (orders.nsf)"));
        OpenProfile(dialog, templatePath, false);
        QCOMPARE(dialog.DatabasePath(), std::string("orders.nsf"));
        QCOMPARE(dialog.Outputs()->BasePath()->text(), QString::fromStdString(m_env->File("base")));
        QCOMPARE(dialog.Outputs()->CsvFile()->text(), QString::fromStdString(m_env->File("csv/out.csv")));
        QVERIFY(dialog.Outputs()->Launch()->isChecked());
        QVERIFY(dialog.Outputs()->DialogOnComplete()->isChecked());
        QVERIFY(dialog.Selection()->QueryRadio()->isChecked());
        QCOMPARE(Texts(dialog.Fields()->SelectedList()), (QStringList{"Customer", "%Count"}));
    }

    void saveAsWritesAProfileOrATemplate_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("hasDatabase");
        QTest::newRow("profile") << "saved.xpp" << true;
        QTest::newRow("template") << "saved.xpt" << false;
        QTest::newRow("template, upper case") << "SAVED.XPT" << false;
    }
    void saveAsWritesAProfileOrATemplate() {
        QFETCH(QString, name);
        QFETCH(bool, hasDatabase);
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        OpenProfile(dialog, OrdersProfile());
        const std::string target = m_env->File(name.toStdString());
        GuiUserInterface::SetNextFileNames({target});
        dialog.FileSaveAs();
        QCOMPARE(dialog.ProfilePath(), target);
        const std::string saved = testsupport::ReadFile(target);
        QVERIFY(!saved.empty());
        config::DatabaseExportProfile loaded;
        QVERIFY(loaded.LoadFromFile(target, "Vorlix", "6.0.15"));
        QCOMPARE(loaded.Settings.NSFFilePath, std::string(hasDatabase ? "orders.nsf" : ""));
        QCOMPARE(loaded.Settings.ViewName, std::string("Orders"));
        QCOMPARE(loaded.Settings.OutputItems.Count(), std::size_t{2});
    }

    void manualEntryFindsComputedNamesBeforeCompiling() {
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        gui::FieldListPanel *fields = dialog.Fields();
        GuiUserInterface::ClearShownMessages();
        for (const char *text : {"%Count", " Subject ", "@Left(Subject; 3)", "%NoSuchField"}) {
            fields->ManualEntryEdit()->setText(text);
            QTest::mouseClick(fields->ManualAddButton(), Qt::LeftButton);
        }
        QCOMPARE(Texts(fields->SelectedList()), (QStringList{"%Count", "Subject", "@Left(Subject; 3)"}));
        QCOMPARE(Messages().size(), 1);
        QVERIFY2(Messages()[0].startsWith("Manual Entry Error: "), qPrintable(Messages()[0]));
    }

    void fieldScanListsComputedNamesFirst() {
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        OpenProfile(dialog, OrdersProfile());
        gui::FieldListPanel *fields = dialog.Fields();
        QVERIFY(Texts(fields->AvailableList()).contains("Customer"));
        GuiUserInterface::SetNextAnswer(MessageAnswer::Cancel);
        QTest::mouseClick(fields->ViewFieldsOnly(), Qt::LeftButton);
        QVERIFY2(!fields->ViewFieldsOnly()->isChecked(), "Cancel clears the box again");
        QVERIFY(!dialog.ExportInProgress());

        GuiUserInterface::SetNextAnswer(MessageAnswer::Ok);
        QTest::mouseClick(fields->ViewFieldsOnly(), Qt::LeftButton);
        QVERIFY(dialog.ExportInProgress());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.ExportInProgress(), kRunTimeout);
        std::vector<std::string> names;
        for (const auto &entry : fields->Model().Available()) {
            names.push_back(entry.property.name);
        }
        QVERIFY(names.size() > 7);
        QCOMPARE(std::vector<std::string>(names.begin(), names.begin() + 7),
                 (std::vector<std::string>{"%Attach_Names", "%Extr_Att_Names", "%Count", "%Universal_ID",
                                           "%View_Folder_Name", "%Has_OLE", "%Errors"}));
        QVERIFY(std::find(names.begin() + 7, names.end(), "OrderNumber") != names.end());
        for (auto it = names.begin() + 7; it != names.end(); ++it) {
            QVERIFY2((*it)[0] != '$', it->c_str());
        }
        QVERIFY2(!fs::exists(m_env->File("csv/out.csv")), "a scan writes no files");
    }

    void cancellingTheDatabaseChoiceKeepsTheDatabase() {
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        OpenProfile(dialog, OrdersProfile());
        QTimer::singleShot(0, []() {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal != nullptr) {
                static_cast<QDialog *>(modal)->reject();
            }
        });
        dialog.SelectDatabase();
        QCOMPARE(dialog.DatabasePath(), std::string("orders.nsf"));
        QCOMPARE(dialog.DatabaseEdit()->text(), QString("CLI Orders (orders.nsf)"));
    }

    void closingDuringAnExportIsRefused() {
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        fs::create_directories(m_env->File("base"));
        fs::create_directories(m_env->File("csv"));
        OpenProfile(dialog, OrdersProfile({"DialogOnComplete=1"}));
        GuiUserInterface::ClearShownMessages();
        dialog.ExportNow();
        // The flag stays set until the GUI thread has taken the worker's outcome, so this is mid-run.
        QVERIFY(dialog.ExportInProgress());
        QVERIFY(!dialog.CancelButton()->isVisible() || dialog.CancelButton()->isEnabled());
        QVERIFY(!dialog.ExportNowButton()->isEnabled());
        QVERIFY(!dialog.close());
        QVERIFY(dialog.isVisible());
        QCOMPARE(Messages(),
                 QStringList{"Infortmation: You can not exit while an export is in progress. Please "
                             "cancel the export before exiting."});
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.ExportInProgress(), kRunTimeout);
        QCOMPARE(Messages().last(), QString("Export Complete: Export Complete"));
        QVERIFY(fs::file_size(m_env->File("csv/out.csv")) > 0);
        QVERIFY(dialog.ExportNowButton()->isEnabled());
        QVERIFY(dialog.close());
        QVERIFY(fs::exists(gui::CVorlixDlg::DefaultTemplatePath()));
    }

    void dialogExportWritesWhatTheCommandLineWrites() {
        m_env.reset();
        m_env = std::make_unique<guitest::Environment>(std::vector<std::string>{"KeyFilename=demo.id"});
        m_env->AddDatabase("examples/demo/sales.nsf", "sales.nsf");
        m_env->AddDatabase("examples/demo/demo.id", "demo.id");
        const std::string out = m_env->File("out");
        fs::create_directories(out);
        const std::string profile = m_env->WriteProfile(
            "sales.xpp", "sales.nsf",
            {"CharacterEncoding=2", "SelectMethod=2",
             "IncludeViewFolderNames=%All non excluded view/folders%",
             "ExcludeViewFolderNames=%Exclude all hidden view/folders%",
             "OutputItems=%Count,%View_Folder_Name,Form,Subject,CompanyName,Amount,%Attach_Names,%Extr_Att_"
             "Names,"
             "%Universal_ID",
             "CreateCSV=1", "CreateViewFolderHierarchy=1", "ControlCharLineFeedOption=2", "LogExport=1",
             "LogLevel=1", "SummaryFilePath=" + out + "/sales.csv", "OutputPath=" + out + "/files",
             "LogFileName=" + out + "/export.log"});
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        OpenProfile(dialog, profile);
        QCOMPARE(dialog.DatabasePath(), std::string("sales.nsf"));
        GuiUserInterface::ClearShownMessages();
        GuiUserInterface::SetNextAnswer(MessageAnswer::Yes);  // create the base path
        dialog.ExportNow();
        QVERIFY(dialog.ExportInProgress());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.ExportInProgress(), kRunTimeout);
        QVERIFY2(dialog.Status()->text().startsWith("Total Exported "),
                 qPrintable(dialog.Status()->text() + " / " + Messages().join(" / ")));
        QVERIFY(dialog.close());
        fs::rename(out, m_env->File("dialog-out"));
        fs::create_directories(out + "/files");

        notes::NotesSession session;
        app::CommandLineUserInterface console(true);
        app::CommandLineRun run(session, console);
        QCOMPARE(run.Run({profile, "/nomsg"}), app::kExitSuccess);
        session.End(false);

        const auto fromDialog = guitest::TreeContents(m_env->File("dialog-out"));
        const auto fromCommandLine = guitest::TreeContents(out);
        QVERIFY(fromDialog.size() >= 2);
        QCOMPARE(fromDialog.size(), fromCommandLine.size());
        for (std::size_t i = 0; i < fromDialog.size(); ++i) {
            QCOMPARE(fromDialog[i].first, fromCommandLine[i].first);
            QVERIFY2(WithoutRunTimes(fromDialog[i].second) == WithoutRunTimes(fromCommandLine[i].second),
                     fromDialog[i].first.c_str());
        }
    }
};

static guitest::Register<MainDialogTest> registration("MainDialogTest");

#include "MainDialogTest.moc"
