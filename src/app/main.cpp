// The vorlix executable: puts the Notes program directory on the loader's path, then runs the
// application object and returns its exit code.
#include <csignal>
#include <string>
#include <vector>

#include "CVorlixApp.h"
#include "LibraryPathStart.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"

int main(int argc, char **argv) {
    // A write past the file-size limit then fails with EFBIG and is reported like any failed write,
    // instead of killing the process with half a row written. The setting survives the re-exec.
    std::signal(SIGXFSZ, SIG_IGN);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() &&
        app::CVorlixApp::InformationRequested(arguments) == app::CVorlixApp::Information::None) {
        app::LibraryPathStart::EnsureOnLibraryPath(
            platform::ReadAppSetting(platform::kSettingsSectionNotes, platform::kSettingsKeyProgramPath),
            argv);
    }
    app::CVorlixApp application;
    return application.Run(arguments);
}
