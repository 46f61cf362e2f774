// Qt message boxes and file dialogs behind the user-interface seam, with the scripted mode of tests.
#include "GuiUserInterface.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>
#include <QThread>
#include <QUrl>
#include <deque>
#include <mutex>

namespace gui {

namespace {

struct Script {
    std::mutex mutex;
    bool scripted = false;
    std::deque<platform::MessageAnswer> answers;
    std::deque<std::vector<std::string>> fileNames;
    std::vector<GuiUserInterface::ShownMessage> shown;
    std::vector<std::string> opened;
};

Script &TheScript() {
    static Script script;
    return script;
}

platform::MessageAnswer CancellingAnswer(platform::MessageButtons buttons) {
    switch (buttons) {
        case platform::MessageButtons::Ok:
            return platform::MessageAnswer::Ok;
        case platform::MessageButtons::YesNo:
            return platform::MessageAnswer::No;
        case platform::MessageButtons::OkCancel:
        case platform::MessageButtons::YesNoCancel:
        case platform::MessageButtons::RetryCancel:
            return platform::MessageAnswer::Cancel;
    }
    return platform::MessageAnswer::Cancel;
}

QMessageBox::Icon BoxIcon(platform::MessageIcon icon) {
    switch (icon) {
        case platform::MessageIcon::None:
            return QMessageBox::NoIcon;
        case platform::MessageIcon::Information:
            return QMessageBox::Information;
        case platform::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case platform::MessageIcon::Error:
            return QMessageBox::Critical;
        case platform::MessageIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(platform::MessageButtons buttons) {
    switch (buttons) {
        case platform::MessageButtons::Ok:
            return QMessageBox::Ok;
        case platform::MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case platform::MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case platform::MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case platform::MessageButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

platform::MessageAnswer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return platform::MessageAnswer::Ok;
        case QMessageBox::Yes:
            return platform::MessageAnswer::Yes;
        case QMessageBox::No:
            return platform::MessageAnswer::No;
        case QMessageBox::Retry:
            return platform::MessageAnswer::Retry;
        default:
            return platform::MessageAnswer::Cancel;
    }
}

// In scripted mode: true, with the next queued file names (empty when none are queued).
bool ScriptedFileNames(std::vector<std::string> &names) {
    Script &script = TheScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    if (!script.scripted) {
        return false;
    }
    names.clear();
    if (!script.fileNames.empty()) {
        names = script.fileNames.front();
        script.fileNames.pop_front();
    }
    return true;
}

QString Q(const std::string &text) {
    return QString::fromStdString(text);
}

}  // namespace

GuiUserInterface::GuiUserInterface(QObject *parent) : QObject(parent) {}

platform::MessageAnswer GuiUserInterface::Message(const std::string &text, const std::string &caption,
                                                  platform::MessageIcon icon,
                                                  platform::MessageButtons buttons) {
    {
        Script &script = TheScript();
        std::lock_guard<std::mutex> lock(script.mutex);
        if (script.scripted) {
            script.shown.push_back(ShownMessage{text, caption, icon, buttons});
            if (buttons == platform::MessageButtons::Ok) {
                return platform::MessageAnswer::Ok;
            }
            if (script.answers.empty()) {
                return CancellingAnswer(buttons);
            }
            const platform::MessageAnswer answer = script.answers.front();
            script.answers.pop_front();
            return answer;
        }
    }
    if (QThread::currentThread() == thread()) {
        return ShowBox(text, caption, icon, buttons);
    }
    platform::MessageAnswer answer = CancellingAnswer(buttons);
    QMetaObject::invokeMethod(
        this, [&]() { answer = ShowBox(text, caption, icon, buttons); }, Qt::BlockingQueuedConnection);
    return answer;
}

platform::MessageAnswer GuiUserInterface::ShowBox(const std::string &text, const std::string &caption,
                                                  platform::MessageIcon icon,
                                                  platform::MessageButtons buttons) {
    QMessageBox box(BoxIcon(icon), Q(caption), Q(text), BoxButtons(buttons), m_parentWindow);
    return AnswerOf(box.exec());
}

void GuiUserInterface::Progress(long position, long range) {
    emit progressChanged(position, range);
}

void GuiUserInterface::Status(const std::string &text) {
    emit statusChanged(Q(text));
}

QString GuiUserInterface::QtNameFilter(const std::string &filter) {
    const QStringList parts = Q(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) {
            break;
        }
        QString description = parts[i];
        const qsizetype paren = description.indexOf('(');
        if (paren >= 0) {
            description = description.left(paren).trimmed();
        }
        QStringList patterns = parts[i + 1].split(';', Qt::SkipEmptyParts);
        for (QString &pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == "*.*") {
                pattern = "*";
            }
        }
        filters << description + " (" + patterns.join(' ') + ")";
    }
    return filters.join(";;");
}

std::vector<std::string> GuiUserInterface::OpenFileNames(const std::string &caption,
                                                         const std::string &filter, bool multiple) {
    std::vector<std::string> names;
    if (ScriptedFileNames(names)) {
        return names;
    }
    QStringList chosen;
    if (multiple) {
        chosen = QFileDialog::getOpenFileNames(m_parentWindow, Q(caption), QString(), QtNameFilter(filter));
    } else {
        const QString one =
            QFileDialog::getOpenFileName(m_parentWindow, Q(caption), QString(), QtNameFilter(filter));
        if (!one.isEmpty()) {
            chosen << one;
        }
    }
    for (const QString &name : chosen) {
        names.push_back(name.toStdString());
    }
    return names;
}

std::string GuiUserInterface::SaveFileName(const std::string &caption, const std::string &filter,
                                           const std::string &defaultExtension) {
    std::vector<std::string> names;
    if (ScriptedFileNames(names)) {
        return names.empty() ? std::string() : names.front();
    }
    QFileDialog dialog(m_parentWindow, Q(caption), QString(), QtNameFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(Q(defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return "";
    }
    return dialog.selectedFiles().front().toStdString();
}

std::string GuiUserInterface::FolderName(const std::string &caption, const std::string &startFolder) {
    std::vector<std::string> names;
    if (ScriptedFileNames(names)) {
        return names.empty() ? std::string() : names.front();
    }
    return QFileDialog::getExistingDirectory(m_parentWindow, Q(caption), Q(startFolder)).toStdString();
}

void GuiUserInterface::SetScripted(bool scripted) {
    Script &script = TheScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    script.scripted = scripted;
    script.answers.clear();
    script.fileNames.clear();
    script.shown.clear();
    script.opened.clear();
}

void GuiUserInterface::SetNextAnswer(platform::MessageAnswer answer) {
    Script &script = TheScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    script.answers.push_back(answer);
}

void GuiUserInterface::SetNextFileNames(const std::vector<std::string> &names) {
    Script &script = TheScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    script.fileNames.push_back(names);
}

std::vector<GuiUserInterface::ShownMessage> GuiUserInterface::ShownMessages() {
    Script &script = TheScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    return script.shown;
}

std::vector<std::string> GuiUserInterface::OpenedFiles() {
    Script &script = TheScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    return script.opened;
}

void GuiUserInterface::OpenWithDefaultApplication(const std::string &path) {
    {
        Script &script = TheScript();
        std::lock_guard<std::mutex> lock(script.mutex);
        if (script.scripted) {
            script.opened.push_back(path);
            return;
        }
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(Q(path)));
}

void GuiUserInterface::ClearShownMessages() {
    Script &script = TheScript();
    std::lock_guard<std::mutex> lock(script.mutex);
    script.shown.clear();
}

}  // namespace gui
