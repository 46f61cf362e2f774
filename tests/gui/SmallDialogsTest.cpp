// The "Log Entry Detail" dialog, the include/exclude dialog's lists and the seam's file filters.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>

#include "GuiTestSupport.h"
#include "app/gui/DlgIncludeViews.h"
#include "app/gui/DlgLogEntry.h"

namespace {

QStringList Texts(const QListWidget *list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) {
        texts << list->item(i)->text();
    }
    return texts;
}

}  // namespace

class SmallDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void logEntryShowsDetailByItsSeverity_data() {
        QTest::addColumn<int>("severity");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<bool>("detailShown");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("shownDetail");
        QTest::newRow("none") << 0 << "hidden text" << false << ""
                              << "";
        QTest::newRow("warning without detail")
            << 2 << "" << true << "Warning"
            << "Please expand log entry to see detailed results from child log entries";
        QTest::newRow("error with detail") << 3 << "ini not found" << true << "Error"
                                           << "ini not found";
    }
    void logEntryShowsDetailByItsSeverity() {
        QFETCH(int, severity);
        QFETCH(QString, detail);
        QFETCH(bool, detailShown);
        QFETCH(QString, label);
        QFETCH(QString, shownDetail);
        logging::LogEntry entry;
        entry.title = "Notes settings";
        entry.severity = severity;
        entry.detail = detail.toStdString();
        gui::DlgLogEntry dialog(entry);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Log Entry Detail"));
        QCOMPARE(dialog.DescriptionBox()->text(), QString("Notes settings"));
        QVERIFY(dialog.DescriptionBox()->isReadOnly());
        QCOMPARE(dialog.SeverityLabel()->isVisible(), detailShown);
        QCOMPARE(dialog.DetailBox()->isVisible(), detailShown);
        if (detailShown) {
            QCOMPARE(dialog.SeverityLabel()->text(), label);
            QCOMPARE(dialog.DetailBox()->toPlainText(), shownDetail);
        }
    }

    void includeDialogOffersItsSpecialEntryOnce_data() {
        QTest::addColumn<bool>("include");
        QTest::addColumn<QStringList>("chosen");
        QTest::addColumn<QStringList>("available");
        QTest::newRow("include, empty")
            << true << QStringList{}
            << QStringList{"%All non excluded view/folders%", "Orders", "(Lookup)", "Follow Up"};
        QTest::newRow("include, already included")
            << true << QStringList{"%All non excluded view/folders%", "Orders"}
            << QStringList{"(Lookup)", "Follow Up"};
        QTest::newRow("exclude, empty")
            << false << QStringList{}
            << QStringList{"%Exclude all hidden view/folders%", "Orders", "(Lookup)", "Follow Up"};
        QTest::newRow("exclude, already excluded")
            << false << QStringList{"%Exclude all hidden view/folders%"}
            << QStringList{"Orders", "(Lookup)", "Follow Up"};
    }
    void includeDialogOffersItsSpecialEntryOnce() {
        QFETCH(bool, include);
        QFETCH(QStringList, chosen);
        QFETCH(QStringList, available);
        std::vector<std::string> names;
        for (const QString &name : chosen) {
            names.push_back(name.toStdString());
        }
        gui::DlgIncludeViews dialog(
            include ? gui::DlgIncludeViews::Mode::Include : gui::DlgIncludeViews::Mode::Exclude,
            {"Orders", "(Lookup)", "Follow Up"}, names);
        QCOMPARE(dialog.windowTitle(),
                 QString(include ? "Include Views & Folders" : "Exclude Views & Folders"));
        QCOMPARE(Texts(dialog.AvailableList()), available);
        QCOMPARE(Texts(dialog.ChosenList()), chosen);
    }

    void includeDialogMovesAndMatches() {
        gui::DlgIncludeViews dialog(gui::DlgIncludeViews::Mode::Include, {"Orders", "Urgent"}, {});
        dialog.AvailableList()->item(1)->setSelected(true);
        dialog.AddSelected();
        QCOMPARE(Texts(dialog.ChosenList()), QStringList{"Orders"});
        dialog.MatchEdit()->setText("Urg*");
        dialog.AddMatch();
        dialog.AddMatch();
        dialog.MatchEdit()->clear();
        dialog.AddMatch();
        QCOMPARE(Texts(dialog.ChosenList()), (QStringList{"Orders", "Urg*"}));
        dialog.RemoveAll();
        QVERIFY(dialog.Chosen().empty());
        dialog.AddAll();
        QCOMPARE(dialog.Chosen().size(), std::size_t{4});
    }

    // A worker's question is asked by a box on the GUI thread while the worker waits for the answer.
    void workerQuestionsAreAskedOnTheGuiThread() {
        gui::GuiUserInterface ui;
        std::atomic<int> answer{-1};
        QThread *boxThread = nullptr;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, [&]() {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (box != nullptr) {
                boxThread = box->thread();
                QCOMPARE(box->text(), QString("Create it?"));
                box->button(QMessageBox::Yes)->click();
            }
        });
        answerer.start(10);
        std::thread worker([&]() {
            answer = static_cast<int>(ui.Message("Create it?", "Create Path", platform::MessageIcon::Question,
                                                 platform::MessageButtons::YesNo));
        });
        QTRY_COMPARE_WITH_TIMEOUT(answer.load(), static_cast<int>(platform::MessageAnswer::Yes), 20000);
        worker.join();
        QCOMPARE(boxThread, QApplication::instance()->thread());
    }

    void filtersBecomeQtNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        QTest::newRow("csv") << "Comma Delimited (*.csv)|*.csv|Text (*.txt)|*.txt|All Files (*.*)|*.*||"
                             << "Comma Delimited (*.csv);;Text (*.txt);;All Files (*)";
        QTest::newRow("two patterns") << "Notes Database (*.nsf)|*.nsf;*.ns4|Notes Template (*.ntf)|*.ntf||"
                                      << "Notes Database (*.nsf *.ns4);;Notes Template (*.ntf)";
        QTest::newRow("no terminator") << "Export Profile (*.xpp)|*.xpp"
                                       << "Export Profile (*.xpp)";
        QTest::newRow("empty") << ""
                               << "";
    }
    void filtersBecomeQtNameFilters() {
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(gui::GuiUserInterface::QtNameFilter(filter.toStdString()), expected);
    }
};

static guitest::Register<SmallDialogsTest> registration("SmallDialogsTest");

#include "SmallDialogsTest.moc"
