// The "Subdirectories" page.
#include "CPropertySheetSubDirOptions.h"

#include <QCheckBox>
#include <QVBoxLayout>

namespace gui {

CPropertySheetSubDirOptions::CPropertySheetSubDirOptions(config::ExportSettings &sheet, QWidget *parent)
    : OptionsPage(sheet, parent) {
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(BoundCheck(this, "Recreate View/Folder Hierarchy ", m_sheet.CreateViewFolderHierarchy));
    layout->addStretch();
}

}  // namespace gui
