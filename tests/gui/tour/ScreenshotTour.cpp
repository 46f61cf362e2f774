// Takes the README's screenshots of real windows on an X display (run under Xvfb by
// docs/screenshots/take-screenshots.sh): the main dialog with the demo database open, an export in
// progress, the database selection dialog and each page of the advanced options. Each picture is taken with
// ImageMagick's import.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QProgressBar>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <filesystem>

#include "app/gui/CPropertySheetOptions.h"
#include "app/gui/CVorlixDlg.h"
#include "app/gui/DlgSelectDatabase.h"
#include "app/gui/GuiUserInterface.h"
#include "app/gui/SelectionPanel.h"
#include "notes/NotesSession.h"
#include "platform/AppInfo.h"
#include "support/TestSupport.h"

namespace {

namespace fs = std::filesystem;

// Captures the screen rectangle of the given windows (the union of their frames).
bool Capture(const std::vector<QWidget *> &windows, const std::string &file) {
    QRect area;
    for (QWidget *window : windows) {
        window->repaint();
        area = area.united(window->frameGeometry());
    }
    QApplication::sync();
    const QString crop =
        QString("%1x%2+%3+%4").arg(area.width()).arg(area.height()).arg(area.x()).arg(area.y());
    const int status = QProcess::execute(
        "import", {"-window", "root", "-crop", crop, "+repage", QString::fromStdString(file)});
    std::printf("%s: %s\n", file.c_str(), status == 0 ? "taken" : "FAILED");
    return status == 0;
}

void Settle(int milliseconds = 400) {
    QTest::qWait(milliseconds);
}

void Write(const std::string &path, const std::string &text) {
    testsupport::WriteFile(path, text);
}

// Ticks the sheet's check box of that caption.
void Tick(QWidget &sheet, const QString &caption) {
    for (QCheckBox *box : sheet.findChildren<QCheckBox *>()) {
        if (box->text() == caption) {
            box->setChecked(true);
        }
    }
}

// Every page of the advanced options sheet, with its dependent controls shown, then Cancel.
int TourOptionsSheet(gui::CVorlixDlg &dialog, const std::string &output) {
    int failures = 0;
    QTimer::singleShot(0, [&]() {
        auto *sheet = qobject_cast<gui::CPropertySheetOptions *>(QApplication::activeModalWidget());
        if (sheet == nullptr) {
            ++failures;
            return;
        }
        sheet->move(dialog.frameGeometry().topLeft() + QPoint(0, 40));
        for (const char *caption :
             {"Extract attachments", "Create Files (one file for each Notes document)",
              "Create Rich Text Files (one file for each Notes document)",
              "Create PDF File Type (one file for each Notes document)", "Append Field Value",
              "Copy lotus notes documents", "Log Export (will slow export)",
              "Extract images to files for GIF and JPEG. Also BMP as GIF but only with Notes 6.0+"}) {
            Tick(*sheet, caption);
        }
        sheet->findChild<QComboBox *>("DetachMethod")->setCurrentIndex(3);
        sheet->findChild<QComboBox *>("DelimiterType")->setCurrentIndex(4);
        sheet->findChild<QComboBox *>("RtfAdvancedExtractMethod")->setCurrentIndex(3);
        for (int page = 0; page < sheet->Tabs()->count(); ++page) {
            sheet->Tabs()->setCurrentIndex(page);
            if (page == 7) {
                auto *folders = sheet->findChild<QListWidget *>("MoveToFolderName");
                folders->setCurrentRow(0);
                Tick(*sheet, "Move to Specific Folder After Processing");
            }
            Settle(250);
            char name[64];
            std::snprintf(name, sizeof name, "/options-%02d.png", page + 1);
            failures += Capture({sheet}, output + name) ? 0 : 1;
        }
        sheet->reject();
    });
    dialog.AdvancedOptions();
    return failures;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vorlix_screenshot_tour WORK_DIR OUTPUT_DIR\n");
        return 2;
    }
    QApplication application(argc, argv);
    const std::string work = fs::absolute(argv[1]).string();
    const std::string output = fs::absolute(argv[2]).string();
    fs::remove_all(work);
    fs::create_directories(work + "/data/archive");
    fs::create_directories(output);
    fs::copy_file(testsupport::SourcePath("examples/demo/sales.nsf"), work + "/data/sales.nsf");
    fs::copy_file(testsupport::SourcePath("examples/demo/demo.id"), work + "/data/demo.id");
    fs::copy_file(testsupport::SourcePath("examples/demo/support-copy.nsf"), work + "/data/support-copy.nsf");
    fs::copy_file(testsupport::SourcePath("tests/cli/data/orders.nsf"),
                  work + "/data/archive/orders-2019.nsf");
    Write(work + "/notes.ini", "[Notes]\nDirectory=" + work + "/data\nKeyFilename=demo.id\n");
    Write(work + "/vorlix.ini",
          "[Notes]\nProgramPath=" + testsupport::ProgramDir() + "\nIniFilePath=" + work + "/notes.ini\n");
    platform::AppInfo::OverrideModulePath(work + "/vorlix");
    // A default template from an earlier session, so the start is a quiet one.
    fs::copy_file(testsupport::SourcePath("examples/all-documents.xpt"), work + "/Vorlix.xpt");
    Write(work + "/sales.xpp",
          "ProductName=Vorlix\r\nProductVersion=6.0.15\r\nFileType=ExportProfile\r\nNSFFilePath=sales.nsf\r\n"
          "CharacterEncoding=2\r\nSelectMethod=1\r\nViewName=Orders\\By Status\r\n"
          "OutputItems=%Count,Subject,CompanyName,Country,Status,Amount,%Universal_ID\r\n"
          "SummaryFilePath=" +
              work + "/exports/sales-summary.csv\r\nOutputPath=" + work +
              "/exports/sales\r\nDialogOnComplete=1\r\n");

    gui::GuiUserInterface ui;
    platform::SetUi(&ui);
    gui::GuiUserInterface::SetScripted(true);
    notes::NotesSession session;
    int failures = 0;
    {
        gui::CVorlixDlg dialog(session, ui);
        dialog.move(40, 40);
        dialog.show();
        if (!QTest::qWaitFor([&]() { return dialog.StartupDone(); }, 20000) || !session.IsActive()) {
            std::fprintf(stderr, "the Notes session did not start: %s\n", session.ErrorText().c_str());
            return 1;
        }
        gui::GuiUserInterface::SetNextFileNames({work + "/sales.xpp"});
        dialog.FileOpen(true);
        Settle();
        failures += Capture({&dialog}, output + "/main-dialog.png") ? 0 : 1;

        // An export of every view and folder, pictured once a third of the documents are done.
        gui::GuiUserInterface::SetNextFileNames({work + "/all.xpt"});
        bool taken = false;
        QObject::connect(&ui, &gui::GuiUserInterface::progressChanged, &dialog,
                         [&](qint64 position, qint64 range) {
                             if (!taken && range > 30 && position * 3 >= range) {
                                 taken = true;
                                 failures += Capture({&dialog}, output + "/export-running.png") ? 0 : 1;
                             }
                         });
        QTest::mouseClick(dialog.Selection()->ViewsRadio(), Qt::LeftButton);
        dialog.Selection()->SetIncludeNames({"%All non excluded view/folders%"});
        dialog.Selection()->SetExcludeNames({"%Exclude all hidden view/folders%"});
        gui::GuiUserInterface::SetNextAnswer(platform::MessageAnswer::Yes);
        gui::GuiUserInterface::SetNextAnswer(platform::MessageAnswer::Yes);
        dialog.ExportNow();
        (void)QTest::qWaitFor([&]() { return !dialog.ExportInProgress(); }, 60000);
        if (!taken) {
            std::fprintf(stderr, "the export ended before a picture was taken\n");
            ++failures;
        }
        Settle();

        gui::DlgSelectDatabase select(gui::DlgSelectDatabase::Mode::Single, &dialog);
        select.show();
        select.move(dialog.frameGeometry().center() - select.rect().center());
        Settle();
        QTreeWidget *list = select.DatabaseList();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (list->topLevelItem(i)->text(0).contains("Sales")) {
                list->setCurrentItem(list->topLevelItem(i));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                  list->visualItemRect(list->topLevelItem(i)).center());
            }
        }
        Settle();
        failures += Capture({&dialog, &select}, output + "/select-database.png") ? 0 : 1;
        select.reject();
        failures += TourOptionsSheet(dialog, output);
        dialog.FileExit();
    }
    session.End(false);
    platform::SetUi(nullptr);
    return failures == 0 ? 0 : 1;
}
