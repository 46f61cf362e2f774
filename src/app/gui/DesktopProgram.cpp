// The desktop program's start: the Qt application, the seam and the main dialog.
#include "DesktopProgram.h"

#include <QApplication>
#include <cstdlib>

#include "CVorlixDlg.h"
#include "DlgNotesSettings.h"
#include "GuiUserInterface.h"
#include "app/CVorlixApp.h"

namespace gui {

namespace {

bool EnvironmentSet(const char *name) {
    const char *value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool CanShowWindows() {
    return EnvironmentSet("DISPLAY") || EnvironmentSet("WAYLAND_DISPLAY") ||
           EnvironmentSet("QT_QPA_PLATFORM");
}

int RunDesktop(int argc, char **argv, app::CVorlixApp &application) {
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName("Vorlix");
    GuiUserInterface ui;
    platform::UserInterface *previous = platform::SetUi(&ui);
    {
        CVorlixDlg dialog(application.Session(), ui, DesktopDiscovery());
        dialog.show();
        dialog.exec();
    }
    platform::SetUi(previous);
    return 0;
}

}  // namespace gui
