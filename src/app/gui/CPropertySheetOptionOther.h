// The "Create PDFs" page: one PDF per document through pdfFactory, its version, edition, time-out and
// file naming.
#pragma once

#include "OptionsPage.h"

namespace gui {

class NamingMethodControls;

class CPropertySheetOptionOther : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetOptionOther(config::ExportSettings &sheet, const OptionsContext &context,
                              QWidget *parent = nullptr);

    // Takes the time-out edit as leaving it does.
    bool CanLeave() override;

    NamingMethodControls *Naming() const { return m_naming; }
    QLineEdit *TimeOut() const { return m_timeOut; }

private:
    void TakeTimeOut();

    QCheckBox *m_create;
    QWidget *m_details;
    QLineEdit *m_timeOut;
    NamingMethodControls *m_naming;
};

}  // namespace gui
