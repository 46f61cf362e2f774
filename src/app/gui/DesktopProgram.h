// The desktop program: the Qt application with the main dialog, for a start without arguments.
#pragma once

namespace app {
class CVorlixApp;
}

namespace gui {

// Whether windows can be shown: a display (X11 or Wayland) or a Qt platform is named in the
// environment. Without one a start without arguments prints how to use the program instead.
bool CanShowWindows();

// Runs the main dialog until it closes; returns the process exit code.
int RunDesktop(int argc, char **argv, app::CVorlixApp &application);

}  // namespace gui
