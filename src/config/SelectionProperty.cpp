// How field-list entries are shown.
#include "config/SelectionProperty.h"

namespace config {

std::string SelectionProperty::SelectedText() const {
    if (richTextAdvanced != 0) {
        return name + ": RtAdv.";
    }
    return name;
}

std::string SelectionProperty::AvailableText() const {
    return label.empty() ? name : label;
}

}  // namespace config
