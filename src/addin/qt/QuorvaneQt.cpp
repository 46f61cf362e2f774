// The exports of the add-in's Qt part: its password dialog and message boxes, used only on the thread
// of the process's QApplication.
#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "DlgPassword.h"

namespace {

bool OnGuiThread() {
    const auto *application = qobject_cast<QApplication *>(QCoreApplication::instance());
    return application != nullptr && QThread::currentThread() == application->thread();
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int QuorvaneQtPromptPassword(const char *settingsPath) {
    if (settingsPath == nullptr || !OnGuiThread()) {
        return -1;
    }
    quorvane::DlgPassword dialog(settingsPath, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted ? 1 : 0;
}

__attribute__((visibility("default"))) int QuorvaneQtShowMessage(const char *text, const char *caption) {
    if (text == nullptr || caption == nullptr || !OnGuiThread()) {
        return -1;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
    return 1;
}

}  // extern "C"
