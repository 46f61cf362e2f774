// The "Logging" page: whether an export log is written, where, how verbose, and which field it names.
#pragma once

#include "OptionsPage.h"

namespace gui {

class CPropertySheetOptionLog : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetOptionLog(config::ExportSettings &sheet, const OptionsContext &context,
                            QWidget *parent = nullptr);

private:
    void Browse();
    void OpenLog();

    QWidget *m_details;
    QLineEdit *m_fileName;
};

}  // namespace gui
