// Linux has no Notes client window: the Escape sequence finds no window and sends nothing.
#include "ForeignWindow.h"

namespace platform {

bool SendEscapeToWindowOfClass(const std::string &windowClass) {
    static_cast<void>(windowClass);
    return false;
}

}  // namespace platform
