// The program's "Save Password" dialog and the add-in's own password dialog: what each refuses, what
// it writes (the settings file owner-only), and the add-in's dialog shown by the add-in inside a GUI
// process when no password is stored.
#include <dlfcn.h>
#include <sys/stat.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <cstdarg>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "addin/qt/DlgPassword.h"
#include "app/gui/DlgPassword.h"
#include "notes/capi/NotesTypes.h"
#include "password/SavedPassword.h"
#include "platform/AppInfo.h"
#include "platform/IniFile.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"
#include "support/TestSupport.h"

namespace {

struct Shown {
    std::string text;
    std::string caption;
    platform::MessageIcon icon;
};

class RecordingUi : public platform::UserInterface {
public:
    platform::MessageAnswer Message(const std::string &text, const std::string &caption,
                                    platform::MessageIcon icon, platform::MessageButtons) override {
        shown.push_back({text, caption, icon});
        return platform::MessageAnswer::Ok;
    }
    void Progress(long, long) override {}
    void Status(const std::string &) override {}
    std::vector<Shown> shown;
};

// The add-in's dialog with its message boxes recorded.
class RecordingAddinDialog : public quorvane::DlgPassword {
public:
    using quorvane::DlgPassword::DlgPassword;
    std::vector<std::pair<QString, QMessageBox::Icon>> shown;

protected:
    void ShowMessage(const QString &text, QMessageBox::Icon icon) override { shown.emplace_back(text, icon); }
};

unsigned Mode(const std::string &path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? (info.st_mode & 0777) : 0;
}

std::string Setting(const std::string &path, const char *key) {
    return platform::ReadIniValue(path, "Quorvane", key, 15000);
}

// A settings file that exists, readable by all, as a user may have made it.
void WriteOpenSettings(const std::string &path) {
    testsupport::WriteFile(path, "[Notes]\nProgramPath=/opt/notes\n");
    chmod(path.c_str(), 0644);
}

// The one registration the add-in makes when loaded into this process.
EMHANDLER g_handler = nullptr;

STATUS RequestPassword(DWORD maxLength, DWORD *length, char *buffer) {
    EMRECORD record{};
    auto call = [&record](EID id, ...) {
        record.EId = id;
        va_start(record.Ap, id);
        const STATUS status = g_handler(&record);
        va_end(record.Ap);
        return status;
    };
    char fileName[] = "user.id";
    return call(notes::kEmGetPassword, maxLength, length, buffer, fileName, fileName, static_cast<DWORD>(0),
                static_cast<BYTE *>(nullptr));
}

}  // namespace

// This process plays the Notes runtime for the add-in loaded into it.
extern "C" __attribute__((visibility("default"))) STATUS EMRegister(EID, DWORD, EMHANDLER handler, WORD,
                                                                    HEMREGISTRATION *ret) {
    g_handler = handler;
    *ret = 1;
    return 0;
}

extern "C" __attribute__((visibility("default"))) STATUS EMDeregister(HEMREGISTRATION) {
    g_handler = nullptr;
    return 0;
}

class PasswordDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init() { platform::SetUi(&m_ui); }
    void cleanup() {
        platform::SetUi(nullptr);
        platform::AppInfo::OverrideModulePath("");
        m_ui.shown.clear();
    }

    void passwordIsCheckedThenSaved_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << "" << password::kEnterPasswordMessage;
        QTest::newRow("beyond Latin-1")
            << QString::fromUtf16(u"pass\u0100word") << password::kUnsupportedCharacterMessage;
        QTest::newRow("Latin-1") << QString::fromUtf16(u"p\u00e4ss") << "";
    }

    // The program's dialog: a refused password leaves the dialog open and the file untouched; a saved
    // one writes Password and Enabled=1 and turns the file owner-only.
    void passwordIsCheckedThenSaved() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        testsupport::TempDir dir;
        platform::AppInfo::OverrideModulePath(dir.File("vorlix"));
        const std::string settings = dir.File("vorlix.ini");
        WriteOpenSettings(settings);
        gui::DlgPassword dialog;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Save Password"));
        QCOMPARE(dialog.SettingsFilePath(), settings);
        QVERIFY(dialog.NoteBox()->isReadOnly());
        QVERIFY(dialog.NoteBox()->toPlainText().contains("EXTMGR_ADDINS=Quorvane"));
        QCOMPARE(dialog.PasswordBox()->echoMode(), QLineEdit::Password);
        dialog.PasswordBox()->setText(typed);
        dialog.accept();
        if (!message.isEmpty()) {
            QCOMPARE(m_ui.shown.size(), std::size_t(1));
            QCOMPARE(QString::fromStdString(m_ui.shown[0].text), message);
            QCOMPARE(m_ui.shown[0].caption, std::string("Error"));
            QVERIFY(m_ui.shown[0].icon == platform::MessageIcon::Exclamation);
            QVERIFY(dialog.isVisible());
            QCOMPARE(Setting(settings, "Password"), std::string());
            QCOMPARE(Mode(settings), 0644u);
            return;
        }
        QVERIFY(m_ui.shown.empty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Setting(settings, "Password"), password::ScramblePassword(typed.toStdU16String()));
        QCOMPARE(Setting(settings, "Enabled"), std::string("1"));
        QCOMPARE(platform::ReadIniValue(settings, "Notes", "ProgramPath", 100), std::string("/opt/notes"));
        QCOMPARE(Mode(settings), 0600u);
    }

    void failedWriteIsShownAndTheDialogStays() {
        testsupport::TempDir dir;
        platform::AppInfo::OverrideModulePath(dir.File("vorlix"));
        std::filesystem::create_directory(dir.File("vorlix.ini"));
        gui::DlgPassword dialog;
        dialog.show();
        dialog.PasswordBox()->setText("secret");
        dialog.accept();
        QCOMPARE(m_ui.shown.size(), std::size_t(1));
        QCOMPARE(m_ui.shown[0].text,
                 "Unable to save password to application ini file '" + dir.File("vorlix.ini") + "'");
        QVERIFY(m_ui.shown[0].icon == platform::MessageIcon::Error);
        QVERIFY(dialog.isVisible());
    }

    void addinDialogRefuses_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("fileInPlace");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::newRow("empty") << "" << true << password::kEnterPasswordMessage << int(QMessageBox::Warning);
        QTest::newRow("beyond Latin-1")
            << QString::fromUtf16(u"\u5bc6\u7801") << true << password::kUnsupportedCharacterMessage
            << int(QMessageBox::Warning);
        QTest::newRow("directory in the file's place")
            << "secret" << false << "Unable to save password to application ini file."
            << int(QMessageBox::Critical);
    }

    // The add-in's dialog stays open with a message, the settings file untouched; what it saves is
    // checked where the add-in shows it (addinAsksInAGuiProcess).
    void addinDialogRefuses() {
        QFETCH(QString, typed);
        QFETCH(bool, fileInPlace);
        QFETCH(QString, message);
        QFETCH(int, icon);
        testsupport::TempDir dir;
        const std::string settings = dir.File("host.ini");
        if (fileInPlace) {
            WriteOpenSettings(settings);
        } else {
            std::filesystem::create_directory(settings);
        }
        RecordingAddinDialog dialog(settings);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QString("Lotus Notes Password"));
        dialog.PasswordBox()->setText(typed);
        dialog.accept();
        QCOMPARE(dialog.shown.size(), std::size_t(1));
        QCOMPARE(dialog.shown[0].first, message);
        QCOMPARE(int(dialog.shown[0].second), icon);
        QVERIFY(dialog.isVisible());
        if (fileInPlace) {
            QCOMPARE(Mode(settings), 0644u);
            QCOMPARE(Setting(settings, "Password"), std::string());
        }
    }

    // The add-in loaded into this GUI process with Enabled=1 and no password stored: on the GUI thread
    // it shows its dialog and answers with the password typed there (saved first); on another thread
    // it shows nothing and lets Notes ask.
    void addinAsksInAGuiProcess() {
        const std::string settings = platform::SettingsFileLocationFor(platform::ModulePath());
        std::filesystem::remove(settings);
        testsupport::WriteFile(settings, "[Quorvane]\nEnabled=1\n");
        void *addin = dlopen((testsupport::ProgramDir() + "/libquorvane.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        QVERIFY2(addin != nullptr, dlerror());
        auto mainEntryPoint = reinterpret_cast<STATUS (*)(void)>(dlsym(addin, "MainEntryPoint"));
        auto extClear = reinterpret_cast<STATUS (*)(void)>(dlsym(addin, "ExtClear"));
        QCOMPARE(mainEntryPoint(), STATUS(0));
        QVERIFY(g_handler != nullptr);

        char buffer[129] = {};
        DWORD length = 0;
        STATUS otherThread = 0;
        std::thread([&]() { otherThread = RequestPassword(128, &length, buffer); }).join();
        QCOMPARE(otherThread, notes::kErrEmContinue);

        bool typed = false;
        QTimer::singleShot(0, [&typed]() {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QLineEdit *box = dialog == nullptr ? nullptr : dialog->findChild<QLineEdit *>();
            if (box != nullptr) {
                box->setText("Sesame42");
                typed = true;
                dialog->accept();
            }
        });
        QCOMPARE(RequestPassword(128, &length, buffer), notes::kErrBsafeExternalPassword);
        QVERIFY(typed);
        QCOMPARE(std::string(buffer), std::string("Sesame42"));
        QCOMPARE(length, DWORD(8));
        QCOMPARE(Setting(settings, "Password"), password::ScramblePassword(u"Sesame42"));
        QCOMPARE(Mode(settings), 0600u);

        QCOMPARE(extClear(), STATUS(0));
        QVERIFY(g_handler == nullptr);
        dlclose(addin);
        std::filesystem::remove(settings);
    }

private:
    RecordingUi m_ui;
};

QTEST_MAIN(PasswordDialogTest)

#include "PasswordDialogTest.moc"
