// Another program's top-level window, found by its window class: how the PDF phase closes the view
// that the Notes client has open.
#pragma once

#include <string>

namespace platform {

// Finds the top-level window of windowClass, brings it to the foreground, sends it one Escape key
// press (key down, key up) and brings this program's main window back to the foreground. False when
// no window of that class exists; nothing is sent then. Linux has no window classes of that kind and
// no Notes client window to find: the result is always false there.
[[nodiscard]] bool SendEscapeToWindowOfClass(const std::string &windowClass);

}  // namespace platform
