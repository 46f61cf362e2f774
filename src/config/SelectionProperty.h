// An entry of the dialogs' field lists: an item, formula or computed field that can become a column.
#pragma once

#include <string>

#include "config/OutputItem.h"

namespace config {

struct SelectionProperty {
    int kind = kItemField;
    std::string name;
    std::string label;
    ValueFunction valueFunction = nullptr;
    int richTextAdvanced = 0;

    // As the selected list shows it: the name, with ": RtAdv." when the rich-text advanced flag is set.
    std::string SelectedText() const;
    // As the available list shows it: the label of a computed field, else the name.
    std::string AvailableText() const;
};

}  // namespace config
