// The "Control Characters" page: what becomes of carriage returns and line feeds in exported values.
#pragma once

#include "OptionsPage.h"

namespace gui {

class ProperySheetOptionReplace : public OptionsPage {
    Q_OBJECT

public:
    ProperySheetOptionReplace(config::ExportSettings &sheet, QWidget *parent = nullptr);

private:
    // One group of three radio buttons with its replacement edit.
    QWidget *OptionGroup(const char *title, const char *name, std::int32_t &option, std::string &replacement);
};

}  // namespace gui
