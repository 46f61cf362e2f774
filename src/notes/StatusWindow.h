// A text control that shows the progress and outcome of a Notes session start (the main dialog's
// status line); the session writes to it only when one is given.
#pragma once

#include <string>

namespace notes {

class StatusWindow {
public:
    virtual ~StatusWindow() = default;
    virtual void Enable(bool enabled) = 0;
    virtual void SetText(const std::string &text) = 0;
};

}  // namespace notes
