// The advanced export options sheet: Cancel and OK against the main dialog's record, the refusals of
// the PDF time-out and the move folder, the naming rule, the "Code" delimiter, and a round trip of
// every page through a saved profile.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

#include "GuiTestSupport.h"
#include "app/gui/CPropertySheetOptionCopy.h"
#include "app/gui/CPropertySheetOptionMove.h"
#include "app/gui/CPropertySheetOptionOther.h"
#include "app/gui/CPropertySheetOptions.h"
#include "app/gui/DlgSelectDatabase.h"
#include "app/gui/NamingMethodControls.h"
#include "app/gui/OutputPanel.h"
#include "support/TestSupport.h"

namespace {

using gui::CPropertySheetOptions;
using gui::GuiUserInterface;

constexpr int kCsvPage = 2;
constexpr int kPdfPage = 5;
constexpr int kCopyPage = 6;
constexpr int kMovePage = 7;
constexpr int kLogPage = 8;
constexpr int kRichTextAdvancedPage = 9;
constexpr int kControlCharPage = 10;

// A control of a page by its object name, caption or title; "Group/caption" looks inside a group box.
QWidget *Control(QWidget *page, const QString &name) {
    QWidget *root = page;
    QString caption = name;
    if (const auto slash = name.indexOf('/'); slash > 0) {
        for (QGroupBox *group : page->findChildren<QGroupBox *>()) {
            if (group->title() == name.left(slash)) {
                root = group;
                caption = name.mid(slash + 1);
            }
        }
    }
    for (QWidget *widget : root->findChildren<QWidget *>()) {
        const auto *button = qobject_cast<QAbstractButton *>(widget);
        const auto *label = qobject_cast<QLabel *>(widget);
        const auto *group = qobject_cast<QGroupBox *>(widget);
        if (widget->objectName() == caption || (button && button->text() == caption) ||
            (label && label->text() == caption) || (group && group->title() == caption)) {
            return widget;
        }
    }
    return nullptr;
}

// Opens the main dialog's sheet (by open, or directly) and runs act on it while it is up; act closes it.
bool WithSheet(gui::CVorlixDlg &dialog, const std::function<void(CPropertySheetOptions &)> &act,
               const std::function<void()> &open = {}) {
    bool reached = false;
    QTimer::singleShot(0, [&]() {
        auto *sheet = qobject_cast<CPropertySheetOptions *>(QApplication::activeModalWidget());
        if (sheet != nullptr) {
            reached = true;
            act(*sheet);
        }
    });
    if (open) {
        open();
    } else {
        dialog.AdvancedOptions();
    }
    return reached;
}

// Every control of the sheet with what it shows, in widget order.
QStringList Snapshot(const QWidget &sheet) {
    QStringList lines;
    for (const QWidget *widget : sheet.findChildren<QWidget *>()) {
        if (const auto *box = qobject_cast<const QAbstractButton *>(widget); box && box->isCheckable()) {
            lines << box->text() + "=" + (box->isChecked() ? "1" : "0");
        } else if (const auto *combo = qobject_cast<const QComboBox *>(widget)) {
            lines << combo->objectName() + "=" + combo->currentText();
        } else if (const auto *edit = qobject_cast<const QLineEdit *>(widget);
                   edit && !edit->objectName().isEmpty()) {
            lines << edit->objectName() + "=" + edit->text();
        } else if (const auto *text = qobject_cast<const QPlainTextEdit *>(widget)) {
            lines << text->objectName() + "=" + text->toPlainText();
        } else if (const auto *list = qobject_cast<const QListWidget *>(widget);
                   list && list->currentItem()) {
            lines << list->objectName() + "=" + list->currentItem()->text();
        }
    }
    return lines;
}

// Chooses the Copy Data destination as a user does: "Select Destination Database", the server typed
// and listed, a database of it clicked, OK.
void ChooseCopyDestination(CPropertySheetOptions &sheet) {
    sheet.Tabs()->setCurrentIndex(kCopyPage);
    QTimer::singleShot(0, []() {
        auto *select = qobject_cast<gui::DlgSelectDatabase *>(QApplication::activeModalWidget());
        if (select == nullptr) {
            return;
        }
        select->ServerCombo()->setEditText("Hub/Acme");
        select->accept();  // lists the typed server
        QTreeWidget *list = select->DatabaseList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->text(0) == "CLI Copies") {
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->topLevelItem(i)).center());
            }
        }
        select->accept();
    });
    static_cast<gui::CPropertySheetOptionCopy *>(sheet.Page(kCopyPage))->SelectButton()->click();
}

// Sets every control away from its default: check boxes turned over, the last radio button of each
// group, the last entry of each list, "Subject" in each item-name combo, and every edit typed into.
void ChangeEverything(CPropertySheetOptions &sheet) {
    for (QCheckBox *box : sheet.findChildren<QCheckBox *>()) {
        if (box->text() != "Show Hi&dden") {
            box->setChecked(!box->isChecked());
        }
    }
    for (QRadioButton *radio : sheet.findChildren<QRadioButton *>()) {
        if (radio->group() != nullptr && radio->group()->buttons().last() == radio) {
            radio->click();
        }
    }
    for (QComboBox *combo : sheet.findChildren<QComboBox *>()) {
        if (combo->isEditable()) {
            combo->setEditText("Subject");
        } else if (!combo->objectName().endsWith("DelimiterType")) {
            combo->setCurrentIndex(combo->count() - 1);
        }
    }
    sheet.findChild<QComboBox *>("DelimiterType")->setCurrentIndex(4);    // "Code"
    sheet.findChild<QComboBox *>("MVDelimiterType")->setCurrentIndex(3);  // "Char"
    for (QLineEdit *edit : sheet.findChildren<QLineEdit *>()) {
        if (edit->isReadOnly() || edit->objectName().isEmpty()) {
            continue;
        }
        const bool number = edit->maximumWidth() <= 90;
        QString value = number ? "321" : "x " + edit->objectName();
        if (edit->objectName() == "Delimiter") {
            value = "0009";
        } else if (edit->objectName() == "MVDelimiter") {
            value = "//";
        }
        edit->setText(value);
        emit edit->textEdited(value);
        emit edit->editingFinished();
    }
    for (QPlainTextEdit *text : sheet.findChildren<QPlainTextEdit *>()) {
        text->setPlainText("@Text(Form)");
    }
    ChooseCopyDestination(sheet);
    sheet.Tabs()->setCurrentIndex(kMovePage);
    auto *folders = sheet.findChild<QListWidget *>("MoveToFolderName");
    folders->setCurrentRow(folders->count() - 1);
}

}  // namespace

class OptionsSheetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<guitest::Environment> m_env;

private slots:
    void init() {
        m_env = std::make_unique<guitest::Environment>(
            std::vector<std::string>{"StandinServer1=Hub/Acme|" + testsupport::SourcePath("tests/cli/data")});
        m_env->AddDatabase("tests/cli/data/orders.nsf", "orders.nsf");
        QVERIFY(m_env->OpenDialog().StartupDone());
        QVERIFY(m_env->Dialog().OpenDatabase("", "orders.nsf", true));
    }
    void cleanup() { m_env.reset(); }

    void cancelAfterManyEditsChangesNothing() {
        gui::CVorlixDlg &dialog = m_env->Dialog();
        const config::ExportSettings before = dialog.Working();
        QStringList changed;
        QVERIFY(WithSheet(dialog, [&](CPropertySheetOptions &sheet) {
            const QStringList shown = Snapshot(sheet);
            ChangeEverything(sheet);
            changed = Snapshot(sheet);
            changed.removeIf([&shown](const QString &line) { return shown.contains(line); });
            sheet.Buttons()->button(QDialogButtonBox::Cancel)->click();
        }));
        QVERIFY2(changed.size() > 40, qPrintable(changed.join("\n")));
        QVERIFY(changed.contains("CopyDestination=Hub/Acme:copy.nsf"));
        QVERIFY(dialog.Working().StoredFieldsEqual(before));
        QCOMPARE(dialog.Outputs()->CreatePdfs()->isChecked(), before.CreatePdfs);
    }

    void pdfTimeOutHasAMinimum_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("message");
        QTest::newRow("50 is raised") << "50" << 100 << true;
        QTest::newRow("99 is raised") << "99" << 100 << true;
        QTest::newRow("100 is taken") << "100" << 100 << false;
        QTest::newRow("text reads as 0") << "soon" << 100 << true;
        QTest::newRow("larger is taken") << "2500" << 2500 << false;
    }
    void pdfTimeOutHasAMinimum() {
        QFETCH(QString, typed);
        QFETCH(int, stored);
        QFETCH(bool, message);
        config::ExportSettings record;
        record.CreatePdfs = true;
        CPropertySheetOptions sheet(record, {});
        auto *page = static_cast<gui::CPropertySheetOptionOther *>(sheet.Page(kPdfPage));
        GuiUserInterface::ClearShownMessages();
        page->TimeOut()->setText(typed);
        emit page->TimeOut()->editingFinished();
        QCOMPARE(record.PdfTimeOut, stored);
        QCOMPARE(page->TimeOut()->text(), QString::number(stored));
        const auto shown = GuiUserInterface::ShownMessages();
        QCOMPARE(shown.size(), std::size_t(message ? 1 : 0));
        if (message) {
            QCOMPARE(shown[0].text,
                     std::string("Minimum Pdf time out has been reset to the minimum of 100 milliseconds"));
            QCOMPARE(shown[0].caption, std::string("Invalid Value"));
            QVERIFY(shown[0].icon == platform::MessageIcon::Exclamation);
        }
    }

    void fieldValueNamingClearsAndHidesAppend_data() {
        QTest::addColumn<int>("page");
        QTest::newRow("Text / HTML Files") << 3;
        QTest::newRow("Rich Text Files") << 4;
        QTest::newRow("Create PDFs") << 5;
    }
    void fieldValueNamingClearsAndHidesAppend() {
        QFETCH(int, page);
        config::ExportSettings record;
        record.CreateDocs = record.CreateRTFs = record.CreatePdfs = true;
        record.TextFileFieldValueAppend = record.RtfFileFieldValueAppend = record.PdfFormatFieldValueAppend =
            true;
        CPropertySheetOptions sheet(record, {});
        sheet.Tabs()->setCurrentIndex(page);
        sheet.show();
        auto *naming = sheet.Page(page)->findChild<gui::NamingMethodControls *>();
        QVERIFY(naming->AppendFieldValue()->isVisible());
        QVERIFY(naming->FieldName()->isVisible());
        naming->NamingMethod()->setCurrentIndex(config::kNameByFieldValue);
        QVERIFY(!naming->AppendFieldValue()->isChecked());
        QVERIFY(!naming->AppendFieldValue()->isVisible());
        QVERIFY(naming->FieldName()->isVisible());
        QVERIFY(!record.TextFileFieldValueAppend || page != 3);
        QVERIFY(!record.RtfFileFieldValueAppend || page != 4);
        QVERIFY(!record.PdfFormatFieldValueAppend || page != 5);
        // Back to a count: append shows again, cleared, and the field controls go with it.
        naming->NamingMethod()->setCurrentIndex(config::kNameByCount);
        QVERIFY(naming->AppendFieldValue()->isVisible());
        QVERIFY(!naming->FieldName()->isVisible());
    }

    void moveNeedsAFolderBeforeLeavingOrOk() {
        gui::CVorlixDlg &dialog = m_env->Dialog();
        QStringList hidden;
        QStringList all;
        bool stayed = false;
        QVERIFY(WithSheet(dialog, [&](CPropertySheetOptions &sheet) {
            sheet.Tabs()->setCurrentIndex(kMovePage);
            auto *page = static_cast<gui::CPropertySheetOptionMove *>(sheet.Page(kMovePage));
            for (int i = 0; i < page->Folders()->count(); ++i) {
                hidden << page->Folders()->item(i)->text();
            }
            for (QCheckBox *box : page->findChildren<QCheckBox *>()) {
                if (box->text() == "Move to Specific Folder After Processing") {
                    box->setChecked(true);
                }
            }
            GuiUserInterface::ClearShownMessages();
            sheet.Tabs()->setCurrentIndex(0);
            sheet.Buttons()->button(QDialogButtonBox::Ok)->click();
            stayed = sheet.isVisible() && sheet.Tabs()->currentIndex() == kMovePage;
            page->ShowHidden()->setChecked(true);
            for (int i = 0; i < page->Folders()->count(); ++i) {
                all << page->Folders()->item(i)->text();
            }
            page->Folders()->setCurrentRow(0);
            sheet.Buttons()->button(QDialogButtonBox::Ok)->click();
        }));
        QVERIFY(stayed);
        const std::vector<std::string> shown = guitest::Environment::Messages();
        QCOMPARE(shown.size(), std::size_t(2));
        QCOMPARE(shown[0],
                 std::string("Data Error: Please select a destination folder or deselect the move to folder "
                             "option."));
        QCOMPARE(hidden, QStringList({"Follow Up"}));
        QVERIFY(all.size() >= hidden.size());
        QVERIFY(dialog.Working().MoveToFolder);
        QCOMPARE(dialog.Working().MoveToFolderName, all[0].toStdString());
    }

    void codeShowsTheDelimiterInHexadecimal() {
        config::ExportSettings record;
        CPropertySheetOptions sheet(record, {});
        sheet.Tabs()->setCurrentIndex(kCsvPage);
        sheet.show();
        auto *type = sheet.findChild<QComboBox *>("DelimiterType");
        auto *edit = sheet.findChild<QLineEdit *>("Delimiter");
        QVERIFY(!edit->isVisible());
        type->setCurrentIndex(config::kDelimiterCode);
        QVERIFY(edit->isVisible());
        QCOMPARE(edit->text(), QString("002C"));
        QCOMPARE(record.DelimiterType, config::kDelimiterCode);
        // Typed digit by digit: taken once whole, and text that is no code goes back when left.
        edit->clear();
        QTest::keyClicks(edit, "0009");
        QCOMPARE(record.Delimiter, std::string("\t"));
        for (const char *bad : {"003b", "003", "00G1", "0000"}) {
            edit->clear();
            QTest::keyClicks(edit, bad);
            emit edit->editingFinished();
            QCOMPARE(record.Delimiter, std::string("\t"));
            QCOMPARE(edit->text(), QString("0009"));
        }
        type->setCurrentIndex(config::kDelimiterBar);
        QCOMPARE(record.Delimiter, std::string("|"));
        QVERIFY(!edit->isVisible());
    }

    void buttonAndMenuEntryOpenTheSheet_data() {
        QTest::addColumn<bool>("menu");
        QTest::newRow("Advanced &Options") << false;
        QTest::newRow("Advanced &Export Options") << true;
    }
    void buttonAndMenuEntryOpenTheSheet() {
        QFETCH(bool, menu);
        gui::CVorlixDlg &dialog = m_env->Dialog();
        QAction *entry = guitest::MenuAction(dialog.Menu(), "Advanced &Export Options");
        QVERIFY(entry != nullptr && entry->isEnabled());
        QString title;
        bool csvShown = false;
        const bool before = dialog.Working().CreateCSV;
        QVERIFY(WithSheet(
            dialog,
            [&](CPropertySheetOptions &sheet) {
                title = sheet.windowTitle();
                csvShown = sheet.Tabs()->count() == 11 && sheet.Tabs()->tabText(kCsvPage) == "CSV Options";
                sheet.Tabs()->setCurrentIndex(kCsvPage);
                for (QCheckBox *box : sheet.Page(kCsvPage)->findChildren<QCheckBox *>()) {
                    box->setChecked(!box->isChecked());
                }
                sheet.Buttons()->button(QDialogButtonBox::Cancel)->click();
            },
            [&]() {
                if (menu) {
                    entry->trigger();
                } else {
                    QTest::mouseClick(dialog.AdvancedOptionsButton(), Qt::LeftButton);
                }
            }));
        QCOMPARE(title, QString("Advanced Export Options"));
        QVERIFY(csvShown);
        QCOMPARE(dialog.Working().CreateCSV, before);
        QVERIFY(dialog.isVisible() && QApplication::activeModalWidget() == nullptr);
    }

    // Steps are "control=value" (a check or radio button set or clicked, a combo's index); expected
    // entries are "shown:", "hidden:", "enabled:" or "disabled:" followed by a control.
    void pagesShowAndHideTheirDependentControls_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        const int att = 1;
        QTest::newRow("attachments: nothing extracted")
            << att << QStringList{"Extract attachments=0", "OLE=0"}
            << QStringList{"hidden:Extract Method", "hidden:DetachMethod", "hidden:AttPrefixOption"};
        QTest::newRow("attachments: OLE only has no prefix")
            << att << QStringList{"OLE=1", "DetachMethod=0"}
            << QStringList{"shown:DetachMethod", "hidden:AttPrefixOption", "hidden:DetachByFieldName"};
        QTest::newRow("attachments: by count with prefix")
            << att << QStringList{"Extract attachments=1", "DetachMethod=1"}
            << QStringList{"shown:Extract Method",
                           "shown:Prefix Attachment Name",
                           "shown:AttPrefixOption",
                           "hidden:DetachByFieldName",
                           "hidden:DetachMethodEvalString",
                           "hidden:Create subdirectories for each backslash (\\) in the field or fomula "
                           "computed value"};
        QTest::newRow("attachments: by field value")
            << att << QStringList{"Extract attachments=1", "DetachMethod=3"}
            << QStringList{"shown:DetachByFieldName", "shown:DetachByFieldNameValueMaxLength",
                           "shown:Create subdirectories for each backslash (\\) in the field or fomula "
                           "computed value",
                           "hidden:AttPrefixOption", "hidden:DetachMethodEvalString"};
        QTest::newRow("attachments: by formula")
            << att << QStringList{"Extract attachments=1", "DetachMethod=4"}
            << QStringList{"shown:DetachMethodEvalString",
                           "shown:Lotus Notes Formula to Compute Relative Path Name",
                           "shown:Create subdirectories for each backslash (\\) in the field or fomula "
                           "computed value",
                           "hidden:DetachByFieldName", "hidden:AttPrefixOption"};
        QTest::newRow("attachments: formula hidden again when extraction is cleared")
            << att << QStringList{"Extract attachments=1", "DetachMethod=4", "Extract attachments=0"}
            << QStringList{"hidden:DetachMethodEvalString", "hidden:DetachMethod",
                           "hidden:Create subdirectories for each backslash (\\) in the field or fomula "
                           "computed value"};
        QTest::newRow("logging on") << kLogPage << QStringList{"Log Export (will slow export)=1"}
                                    << QStringList{"shown:LogFileName", "shown:Open Log", "shown:Append",
                                                   "shown:LogLevel", "shown:LogFieldName"};
        QTest::newRow("logging off again")
            << kLogPage << QStringList{"Log Export (will slow export)=1", "Log Export (will slow export)=0"}
            << QStringList{"hidden:LogFileName",  "hidden:Browse",
                           "hidden:Append",       "hidden:LogLevel",
                           "hidden:LogFieldName", "shown:Log Export (will slow export)"};
        const int rta = kRichTextAdvancedPage;
        const QString images =
            "Extract images to files for GIF and JPEG. Also BMP as GIF but only with Notes 6.0+";
        QTest::newRow("rich text: text output")
            << rta << QStringList{"HTML=1", "Text=1"}
            << QStringList{"enabled:Include Table Markers", "enabled:Include Image Markers",
                           "disabled:Enable URL Links",
                           "disabled:Include HTML Doc Elements (<body>, <head> etc)",
                           "disabled:URL References In Relative Format"};
        QTest::newRow("rich text: HTML output")
            << rta << QStringList{"HTML=1"}
            << QStringList{"disabled:Include Table Markers", "enabled:Enable Notes Document Links",
                           "enabled:Enable Attachment Links", "disabled:URL References In Relative Format"};
        QTest::newRow("rich text: images to a count subdirectory")
            << rta << QStringList{images + "=1", "RtfAdvancedExtractMethod=0"}
            << QStringList{"shown:RtfAdvancedExtractMethod", "shown:RtfAdvancedImageFilePrefixMethod",
                           "hidden:RtfAdvancedValueFieldName", "hidden:RtfAdvancedExtractPath"};
        QTest::newRow("rich text: images by field value")
            << rta << QStringList{images + "=1", "RtfAdvancedExtractMethod=3"}
            << QStringList{"shown:RtfAdvancedValueFieldName", "shown:RtfAdvancedFieldValueMaxLength",
                           "hidden:RtfAdvancedExtractPath", "hidden:Browse"};
        QTest::newRow("rich text: images to a specific path")
            << rta << QStringList{images + "=1", "RtfAdvancedExtractMethod=4"}
            << QStringList{"shown:RtfAdvancedExtractPath", "shown:Browse", "shown:Specific Path",
                           "hidden:RtfAdvancedValueFieldName"};
        QTest::newRow("rich text: no images")
            << rta << QStringList{images + "=1", "RtfAdvancedExtractMethod=3", images + "=0"}
            << QStringList{"hidden:RtfAdvancedExtractMethod", "hidden:RtfAdvancedValueFieldName"};
        QTest::newRow("control characters: replace line feeds")
            << kControlCharPage << QStringList{"Line Feed Option/Replace with=1"}
            << QStringList{"shown:LineFeedReplaceString", "hidden:CarrigeReturnReplaceString"};
        QTest::newRow("control characters: replacement dropped again")
            << kControlCharPage
            << QStringList{"Carriage Return Option/Replace with=1", "Carriage Return Option/Remove=1"}
            << QStringList{"hidden:CarrigeReturnReplaceString", "hidden:LineFeedReplaceString"};
    }
    void pagesShowAndHideTheirDependentControls() {
        QFETCH(int, page);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        config::ExportSettings record;
        CPropertySheetOptions sheet(record, {});
        sheet.Tabs()->setCurrentIndex(page);
        sheet.show();
        QWidget *root = sheet.Page(page);
        for (const QString &step : steps) {
            const QString name = step.section('=', 0, -2);
            const int value = step.section('=', -1).toInt();
            QWidget *control = Control(root, name);
            QVERIFY2(control != nullptr, qPrintable(name));
            if (auto *combo = qobject_cast<QComboBox *>(control)) {
                combo->setCurrentIndex(value);
            } else if (auto *radio = qobject_cast<QRadioButton *>(control)) {
                radio->click();
            } else {
                static_cast<QAbstractButton *>(control)->setChecked(value != 0);
            }
        }
        for (const QString &entry : expected) {
            const QString state = entry.section(':', 0, 0);
            const QString name = entry.section(':', 1);
            const QWidget *control = Control(root, name);
            QVERIFY2(control != nullptr, qPrintable(name));
            const bool holds = state == "shown"     ? control->isVisible()
                               : state == "hidden"  ? !control->isVisible()
                               : state == "enabled" ? control->isEnabled()
                                                    : !control->isEnabled();
            QVERIFY2(holds, qPrintable(entry));
        }
    }

    void everyPageSurvivesOkSaveAndReopen() {
        gui::CVorlixDlg &dialog = m_env->Dialog();
        QStringList set;
        QVERIFY(WithSheet(dialog, [&](CPropertySheetOptions &sheet) {
            ChangeEverything(sheet);
            set = Snapshot(sheet);
            sheet.Buttons()->button(QDialogButtonBox::Ok)->click();
        }));
        const config::ExportSettings after = dialog.Working();
        QVERIFY(after.CreatePdfs && after.CreateDocs && after.CreateRTFs && !after.CreateCSV);
        QCOMPARE(after.Delimiter, std::string("\t"));
        QCOMPARE(after.MVDelimiter, std::string("//"));
        QCOMPARE(after.CopyDataToDbServer, std::string("Hub/Acme"));
        QCOMPARE(after.CopyDataToDbFilename, std::string("copy.nsf"));
        QVERIFY(set.contains("CopyDestination=Hub/Acme:copy.nsf"));
        QVERIFY(dialog.Outputs()->CreatePdfs()->isChecked());

        const std::string first = m_env->File("first.xpp");
        GuiUserInterface::SetNextFileNames({first});
        dialog.FileSaveAs();
        dialog.FileNew();
        GuiUserInterface::SetNextFileNames({first});
        dialog.FileOpen(true);
        config::ExportSettings saved = after;
        saved.NSFFilePath = "orders.nsf";  // a profile carries its database
        QVERIFY(dialog.Working().StoredFieldsEqual(saved));
        QStringList reopened;
        QVERIFY(WithSheet(dialog, [&](CPropertySheetOptions &sheet) {
            sheet.Tabs()->setCurrentIndex(kMovePage);
            reopened = Snapshot(sheet);
            sheet.Buttons()->button(QDialogButtonBox::Ok)->click();
        }));
        // Showing a page raises it among its siblings, so the order of pages depends on which were shown.
        reopened.sort();
        set.sort();
        QCOMPARE(reopened, set);
        const std::string second = m_env->File("second.xpp");
        GuiUserInterface::SetNextFileNames({second});
        dialog.FileSaveAs();
        QCOMPARE(testsupport::ReadFile(second), testsupport::ReadFile(first));
    }
};

static guitest::Register<OptionsSheetTest> registration("OptionsSheetTest");

#include "OptionsSheetTest.moc"
