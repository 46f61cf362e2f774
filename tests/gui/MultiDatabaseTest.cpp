// The multiple-database dialog driven as a user drives it: adding with duplicates, a queue with a
// missing database on the worker, processed entries and Reset Flags, the list file through the menu,
// and the output settings written at close.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>

#include "GuiTestSupport.h"
#include "app/gui/DlgMutilDatabase.h"
#include "platform/AppSettings.h"

namespace {

namespace fs = std::filesystem;
using gui::DlgMutilDatabase;
using gui::GuiUserInterface;

constexpr int kRunTimeout = 60000;

QStringList Messages() {
    QStringList texts;
    for (const std::string &text : guitest::Environment::Messages()) {
        texts << QString::fromStdString(text);
    }
    return texts;
}

QString Cell(const DlgMutilDatabase &dialog, int row, int column) {
    return dialog.List()->topLevelItem(row)->text(column);
}

}  // namespace

class MultiDatabaseTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<guitest::Environment> m_env;

    // The main dialog with a profile that exports view Orders; its multiple-database dialog shown.
    DlgMutilDatabase &OpenQueue() {
        const std::string profile = m_env->WriteProfile(
            "orders.xpp", "orders.nsf",
            {"SelectMethod=1", "ViewName=Orders", "OutputItems=OrderNumber,Subject",
             "SummaryFilePath=" + m_env->File("single.csv"), "OutputPath=" + m_env->File("")});
        gui::CVorlixDlg &dialog = m_env->OpenDialog();
        GuiUserInterface::SetNextFileNames({profile});
        dialog.FileOpen(true);
        QAction *entry = guitest::MenuAction(dialog.Menu(), "&Select Multiple Databases");
        Q_ASSERT(entry != nullptr && entry->isEnabled());
        entry->trigger();
        DlgMutilDatabase &queue = *dialog.MultiDatabase();
        Q_ASSERT(queue.isVisible());
        queue.AddDatabases("", {"orders.nsf", "missing.nsf", "west.nsf"}, {"East", "Lost", "West"});
        fs::create_directories(m_env->File("multi"));
        queue.OutputPathEdit()->setText(QString::fromStdString(m_env->File("multi") + "/"));
        queue.SubdirectoryBox()->setChecked(true);
        GuiUserInterface::ClearShownMessages();
        return queue;
    }

private slots:
    void init() {
        m_env = std::make_unique<guitest::Environment>();
        m_env->AddDatabase("tests/cli/data/orders.nsf", "orders.nsf");
        m_env->AddDatabase("tests/cli/data/orders.nsf", "west.nsf");
    }
    void cleanup() { m_env.reset(); }

    void duplicateIsRefusedByNameAndTheOthersAdded() {
        DlgMutilDatabase &queue = OpenQueue();
        queue.AddDatabases("LOCAL", {"north.nsf", "ORDERS.NSF"}, {"North", "Again"});
        QCOMPARE(Messages(), QStringList{"Error: Duplcate Lotus Notes Database Information for: East"});
        QCOMPARE(queue.List()->topLevelItemCount(), 4);
        QCOMPARE(Cell(queue, 3, 0), QString("North"));
        QCOMPARE(Cell(queue, 3, 1), QString("Local"));
        QCOMPARE(queue.SelectedText()->text(), QString("Total selected: 4 "));
        queue.List()->topLevelItem(1)->setSelected(true);
        queue.List()->topLevelItem(3)->setSelected(true);
        queue.RemoveSelected();
        QCOMPARE(Cell(queue, 1, 0), QString("West"));
        QCOMPARE(queue.SelectedText()->text(), QString("Total selected: 2 "));
    }

    void queueWithAMissingDatabaseExportsTheOthers() {
        DlgMutilDatabase &queue = OpenQueue();
        gui::CVorlixDlg &main = m_env->Dialog();
        QTest::mouseClick(queue.ExportButton(), Qt::LeftButton);
        QVERIFY(main.ExportInProgress());
        QVERIFY(!main.ExportNowButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!queue.Running(), kRunTimeout);
        QVERIFY(!main.ExportInProgress());
        QVERIFY(queue.ExportButton()->isEnabled());
        QCOMPARE(Cell(queue, 0, 5), QString("OK"));
        QCOMPARE(Cell(queue, 2, 5), QString("OK"));
        QVERIFY2(Cell(queue, 1, 5).contains("missing.nsf"), qPrintable(Cell(queue, 1, 5)));
        QCOMPARE(queue.List()->topLevelItem(1)->data(0, Qt::UserRole).toInt(), 5);
        QCOMPARE(queue.List()->topLevelItem(0)->data(0, Qt::UserRole).toInt(), 4);
        QVERIFY(Cell(queue, 0, 3).toInt() > 0);
        QCOMPARE(Cell(queue, 0, 3), Cell(queue, 2, 4));
        QCOMPARE(queue.ProcessedText()->text(), QString("Total Processed 3"));
        const std::string east = testsupport::ReadFile(m_env->File("multi/orders/orders.csv"));
        QVERIFY(east.find("OrderNumber") != std::string::npos);
        QCOMPARE(testsupport::ReadFile(m_env->File("multi/west/west.csv")), east);
        QVERIFY(Messages().isEmpty());

        // Everything is processed: a second run exports nothing until the flags are reset.
        fs::remove_all(m_env->File("multi/west"));
        QTest::mouseClick(queue.ExportButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!queue.Running(), kRunTimeout);
        QVERIFY(!fs::exists(m_env->File("multi/west")));
        queue.ResetFlags();
        QCOMPARE(queue.ProcessedText()->text(), QString("Total Processed 0"));
        QCOMPARE(Cell(queue, 0, 5), QString());
        QTest::mouseClick(queue.ExportButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!queue.Running(), kRunTimeout);
        QVERIFY(fs::exists(m_env->File("multi/west/west.csv")));
    }

    void invalidOutputPathStartsNothing() {
        DlgMutilDatabase &queue = OpenQueue();
        queue.OutputPathEdit()->setText(QString::fromStdString(m_env->File("nowhere")));
        queue.ExportSelected();
        QCOMPARE(Messages(), QStringList{"Error: Invalid output path specified."});
        QVERIFY(!queue.Running());
    }

    void listFileRoundTripThroughTheMenu() {
        DlgMutilDatabase &queue = OpenQueue();
        queue.AddDatabases("Hub/Acme", {"sales\\eu.nsf"}, {"Ventes, \"Europe\" – 販売"});
        GuiUserInterface::SetNextFileNames({m_env->File("queue")});
        queue.ExportList();
        QVERIFY(fs::exists(m_env->File("queue.csv")));
        queue.RemoveAll();
        QCOMPARE(queue.List()->topLevelItemCount(), 0);
        GuiUserInterface::SetNextFileNames({m_env->File("queue.csv")});
        queue.ImportList();
        QCOMPARE(queue.List()->topLevelItemCount(), 4);
        QCOMPARE(Cell(queue, 3, 0), QString::fromUtf8("Ventes, \"Europe\" – 販売"));
        QCOMPARE(Cell(queue, 3, 1), QString("Hub/Acme"));
        QCOMPARE(queue.SelectedText()->text(), QString("Total selected: 4 "));

        testsupport::WriteFile(m_env->File("bad.csv"), "\"open,,x.nsf\n");
        GuiUserInterface::SetNextFileNames({m_env->File("bad.csv")});
        queue.ImportList();
        QCOMPARE(Messages(), QStringList{"Error: Unexpected Error Occured"});
    }

    void outputSettingsAreWrittenAtClose() {
        DlgMutilDatabase &queue = OpenQueue();
        QVERIFY(m_env->Dialog().TryClose());
        QCOMPARE(
            platform::ReadAppSetting(platform::kSettingsSectionExport, platform::kSettingsKeyMultiOutputPath),
            m_env->File("multi") + "/");
        QCOMPARE(platform::ReadAppSetting(platform::kSettingsSectionExport,
                                          platform::kSettingsKeyMultiOutputSubdirDb),
                 std::string("1"));
        (void)queue;
    }
};

static guitest::Register<MultiDatabaseTest> registration("MultiDatabaseTest");

#include "MultiDatabaseTest.moc"
