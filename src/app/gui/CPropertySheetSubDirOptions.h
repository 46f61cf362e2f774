// The "Subdirectories" page of the advanced options: whether the view and folder hierarchy is recreated.
#pragma once

#include "OptionsPage.h"

namespace gui {

class CPropertySheetSubDirOptions : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetSubDirOptions(config::ExportSettings &sheet, QWidget *parent = nullptr);
};

}  // namespace gui
