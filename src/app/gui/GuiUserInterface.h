// The user-interface seam of the desktop program: Qt message boxes and file dialogs, and progress and
// status signals that reach the main dialog on the GUI thread whichever thread reports them. Tests
// answer the boxes and pickers instead of a user (scripted mode).
#pragma once

#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "platform/UserInterface.h"

class QWidget;

namespace gui {

class GuiUserInterface : public QObject, public platform::UserInterface {
    Q_OBJECT

public:
    // Must be created on the GUI thread.
    explicit GuiUserInterface(QObject *parent = nullptr);

    // Any thread: a worker's message is shown by the GUI thread and the worker waits for the answer.
    platform::MessageAnswer Message(const std::string &text, const std::string &caption,
                                    platform::MessageIcon icon, platform::MessageButtons buttons) override;
    // Any thread: emitted as signals, delivered on the GUI thread.
    void Progress(long position, long range) override;
    void Status(const std::string &text) override;
    // GUI thread only.
    std::vector<std::string> OpenFileNames(const std::string &caption, const std::string &filter,
                                           bool multiple) override;
    std::string SaveFileName(const std::string &caption, const std::string &filter,
                             const std::string &defaultExtension) override;
    std::string FolderName(const std::string &caption, const std::string &startFolder) override;

    // Opens a file with the desktop's default application (in scripted mode only recorded).
    void OpenWithDefaultApplication(const std::string &path);

    // The window the boxes and pickers belong to (null: none).
    void SetParentWindow(QWidget *window) { m_parentWindow = window; }

    // A filter of the seam ("Text (*.txt)|*.txt|All Files (*.*)|*.*||") as a Qt name filter
    // ("Text (*.txt);;All Files (*)").
    static QString QtNameFilter(const std::string &filter);

    // Scripted mode, for tests: no box or picker is shown. Each message is recorded; a question takes
    // the next queued answer (its cancelling answer when none is queued); a picker takes the next
    // queued file names (nothing, a cancel, when none are queued). Leaving scripted mode clears both
    // queues and the record.
    struct ShownMessage {
        std::string text;
        std::string caption;
        platform::MessageIcon icon;
        platform::MessageButtons buttons;
    };
    static void SetScripted(bool scripted);
    static void SetNextAnswer(platform::MessageAnswer answer);
    static void SetNextFileNames(const std::vector<std::string> &names);
    static std::vector<ShownMessage> ShownMessages();
    static std::vector<std::string> OpenedFiles();
    static void ClearShownMessages();

signals:
    void progressChanged(qint64 position, qint64 range);
    void statusChanged(const QString &text);

private:
    platform::MessageAnswer ShowBox(const std::string &text, const std::string &caption,
                                    platform::MessageIcon icon, platform::MessageButtons buttons);

    QWidget *m_parentWindow = nullptr;
};

}  // namespace gui
