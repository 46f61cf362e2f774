// The "Select Database" dialog over a stand-in data directory: the listing with its up entry, servers
// typed by hand, several databases in multiple mode and "Browse Folders".
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "GuiTestSupport.h"
#include "app/gui/DlgSelectDatabase.h"

namespace {

using gui::DlgSelectDatabase;

QStringList Rows(const QTreeWidget *list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        rows << list->topLevelItem(i)->text(0);
    }
    return rows;
}

QTreeWidgetItem *Row(const QTreeWidget *list, const QString &text) {
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        if (list->topLevelItem(i)->text(0) == text) {
            return list->topLevelItem(i);
        }
    }
    return nullptr;
}

// Double-clicks a row as a user does.
void DoubleClick(QTreeWidget *list, QTreeWidgetItem *item) {
    QVERIFY(item != nullptr);
    const QRect rect = list->visualItemRect(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class SelectDatabaseTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<guitest::Environment> m_env;

private slots:
    void init() {
        m_env = std::make_unique<guitest::Environment>(
            std::vector<std::string>{"StandinServer1=Hub/Acme|" + testsupport::SourcePath("tests/cli/data")});
        m_env->AddDatabase("tests/cli/data/orders.nsf", "orders.nsf");
        m_env->AddDatabase("tests/cli/data/copy.nsf", "copy.nsf");
        m_env->AddDatabase("examples/demo/support-copy.nsf", "archive/tickets.nsf");
        QVERIFY(m_env->StartSession());
    }
    void cleanup() { m_env.reset(); }

    void subdirectoriesStartWithTheUpEntry() {
        DlgSelectDatabase dialog(DlgSelectDatabase::Mode::Single);
        dialog.show();
        QCOMPARE(dialog.ServerCombo()->currentText(), QString("Local"));
        QCOMPARE(Rows(dialog.DatabaseList()), (QStringList{"CLI Copies", "CLI Orders", "archive"}));
        DoubleClick(dialog.DatabaseList(), Row(dialog.DatabaseList(), "archive"));
        QCOMPARE(dialog.DirectoryEdit()->text(), QString("archive"));
        QCOMPARE(Rows(dialog.DatabaseList()), (QStringList{"", "Vorlix Demo: Copied Tickets"}));
        QVERIFY(!dialog.DatabaseList()->topLevelItem(0)->icon(0).isNull());

        QTest::mouseClick(dialog.DatabaseList()->viewport(), Qt::LeftButton, {},
                          dialog.DatabaseList()
                              ->visualItemRect(Row(dialog.DatabaseList(), "Vorlix Demo: Copied Tickets"))
                              .center());
        QCOMPARE(dialog.FileNameEdit()->text(), QString("archive/tickets.nsf"));
        QCOMPARE(dialog.Path(), std::string("archive/tickets.nsf"));
        QCOMPARE(dialog.Title(), std::string("Vorlix Demo: Copied Tickets"));

        QTest::mouseClick(
            dialog.DatabaseList()->viewport(), Qt::LeftButton, {},
            dialog.DatabaseList()->visualItemRect(dialog.DatabaseList()->topLevelItem(0)).center());
        QCOMPARE(dialog.CurrentDirectory(), std::string());
        QCOMPARE(Rows(dialog.DatabaseList()), (QStringList{"CLI Copies", "CLI Orders", "archive"}));
    }

    void doubleClickingADatabaseChoosesItInSingleMode() {
        DlgSelectDatabase dialog(DlgSelectDatabase::Mode::Single);
        dialog.show();
        QVERIFY(!dialog.SelectAllButton()->isVisible());
        QVERIFY(!dialog.AddNowButton()->isVisible());
        DoubleClick(dialog.DatabaseList(), Row(dialog.DatabaseList(), "CLI Orders"));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Path(), std::string("orders.nsf"));
        QCOMPARE(dialog.Server(), std::string());
    }

    void typedServerIsListedBeforeOkCloses_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("server");
        QTest::newRow("unknown server") << "Nowhere"
                                        << "Lotus Notes Error: Unable to find path to server: Nowhere"
                                        << "";
        QTest::newRow("known server") << "  Hub/Acme "
                                      << ""
                                      << "Hub/Acme";
    }
    void typedServerIsListedBeforeOkCloses() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, server);
        DlgSelectDatabase dialog(DlgSelectDatabase::Mode::Single);
        dialog.show();
        dialog.ServerCombo()->setEditText(typed);
        dialog.accept();
        QVERIFY2(dialog.isVisible(), "OK lists a typed server instead of closing");
        const std::vector<std::string> messages = guitest::Environment::Messages();
        QCOMPARE(QString::fromStdString(messages.empty() ? "" : messages.front()), message);
        QCOMPARE(QString::fromStdString(dialog.CurrentServer()), server);
        const QStringList expectedRows = server.isEmpty() ? QStringList{"CLI Copies", "CLI Orders", "archive"}
                                                          : QStringList{"CLI Copies", "CLI Orders"};
        QCOMPARE(Rows(dialog.DatabaseList()), expectedRows);
        if (!server.isEmpty()) {
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
    }

    void multipleModeQuotesEveryChosenPath() {
        DlgSelectDatabase dialog(DlgSelectDatabase::Mode::Multiple);
        dialog.show();
        QVERIFY(dialog.SelectAllButton()->isVisible());
        Row(dialog.DatabaseList(), "CLI Orders")->setSelected(true);
        Row(dialog.DatabaseList(), "CLI Copies")->setSelected(true);
        QCOMPARE(dialog.FileNameEdit()->text(), QString("\"copy.nsf\" \"orders.nsf\""));
        QCOMPARE(dialog.Titles(), (std::vector<std::string>{"CLI Copies", "CLI Orders"}));
        dialog.DeselectAll();
        QVERIFY(dialog.Paths().empty());
        QCOMPARE(dialog.FileNameEdit()->text(), QString());
        dialog.SelectAll();
        QCOMPARE(dialog.Paths(), (std::vector<std::string>{"copy.nsf", "orders.nsf"}));
        QVERIFY(!Row(dialog.DatabaseList(), "archive")->isSelected());
    }

    void browseFoldersReadsTitles() {
        testsupport::WriteFile(m_env->File("broken.nsf"), "not a database");
        DlgSelectDatabase dialog(DlgSelectDatabase::Mode::Multiple);
        gui::GuiUserInterface::SetNextFileNames({m_env->Data() + "/orders.nsf", m_env->File("broken.nsf")});
        dialog.BrowseFolders();
        QCOMPARE(dialog.Titles(), (std::vector<std::string>{"CLI Orders", "!Could not open database!"}));
        QCOMPARE(dialog.FileNameEdit()->text(),
                 QString::fromStdString("\"" + m_env->Data() + "/orders.nsf\" \"" +
                                        m_env->File("broken.nsf") + "\""));
    }
};

static guitest::Register<SelectDatabaseTest> registration("SelectDatabaseTest");

#include "SelectDatabaseTest.moc"
