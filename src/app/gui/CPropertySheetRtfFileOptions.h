// The "Rich Text Files" page: one rich text file per document, its source, naming and extension.
#pragma once

#include "OptionsPage.h"

class QLabel;

namespace gui {

class NamingMethodControls;

class CPropertySheetRtfFileOptions : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetRtfFileOptions(config::ExportSettings &sheet, const OptionsContext &context,
                                 QWidget *parent = nullptr);

    NamingMethodControls *Naming() const { return m_naming; }

private:
    void UpdateVisibility();

    QCheckBox *m_create;
    QWidget *m_details;
    NamingMethodControls *m_naming;
    QLabel *m_fieldLabel;
    QComboBox *m_field;
};

}  // namespace gui
