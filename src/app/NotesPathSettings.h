// The Notes program directory and configuration file that the settings file names ([Notes]
// ProgramPath and IniFilePath), trimmed of blanks; read by both the command line and the dialog.
#pragma once

#include <string>

namespace app {

struct NotesPathSettings {
    std::string programPath;
    std::string iniFilePath;

    static NotesPathSettings Read();
};

}  // namespace app
