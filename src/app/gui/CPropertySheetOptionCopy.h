// The "Copy Data" page: whether documents are copied to another database, and which one.
#pragma once

#include "OptionsPage.h"

class QPushButton;

namespace gui {

class CPropertySheetOptionCopy : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetOptionCopy(config::ExportSettings &sheet, QWidget *parent = nullptr);

    QPushButton *SelectButton() const { return m_select; }
    QLineEdit *Destination() const { return m_destination; }

private:
    void SelectDestination();

    QPushButton *m_select;
    QLineEdit *m_destination;
};

}  // namespace gui
