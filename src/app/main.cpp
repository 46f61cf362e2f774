// The vorlix executable: puts the Notes program directory on the loader's path, then runs the
// application object and returns its exit code.
#include <string>
#include <vector>

#include "CVorlixApp.h"
#include "LibraryPathStart.h"
#include "platform/AppInfo.h"
#include "platform/AppSettings.h"

int main(int argc, char **argv) {
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
