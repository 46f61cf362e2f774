// The "Text / HTML Files" page: one text or simple HTML file per document and how it is named.
#pragma once

#include "OptionsPage.h"

class QRadioButton;

namespace gui {

class NamingMethodControls;

class CPropertySheetOptionTextFile : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetOptionTextFile(config::ExportSettings &sheet, const OptionsContext &context,
                                 QWidget *parent = nullptr);

    NamingMethodControls *Naming() const { return m_naming; }

private:
    QCheckBox *m_create;
    QWidget *m_details;
    NamingMethodControls *m_naming;
};

}  // namespace gui
