// The vorlix executable: puts the Notes program directory on the loader's path, then opens the main
// dialog (no arguments, in a build with the dialogs) or runs the application object's command-line
// mode, and returns the exit code.
#include <csignal>
#include <string>
#include <vector>

#include "CVorlixApp.h"
#include "LibraryPathStart.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"
#ifdef VORLIX_WITH_GUI
#include "gui/DesktopProgram.h"
#endif

int main(int argc, char **argv) {
    // A write past the file-size limit then fails with EFBIG and is reported like any failed write,
    // instead of killing the process with half a row written. The setting survives the re-exec.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (app::CVorlixApp::InformationRequested(arguments) == app::CVorlixApp::Information::None) {
        app::LibraryPathStart::EnsureOnLibraryPath(
            platform::ReadAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyProgramPath),
            argv);
    }
    app::CVorlixApp application;
#ifdef VORLIX_WITH_GUI
    // Without arguments the main dialog opens; without a display, or in a build without the dialogs,
    // the program prints how to use it.
    if (arguments.empty() && gui::CanShowWindows()) {
        return gui::RunDesktop(argc, argv, application);
    }
#endif
    return application.Run(arguments);
}
