// The "Attachments/OLE" page: attachment and OLE extraction, where attachments go and how they are named.
#pragma once

#include "OptionsPage.h"

class QLabel;
class QPlainTextEdit;

namespace gui {

class CPropertySheetOptionAttachments : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetOptionAttachments(config::ExportSettings &sheet, const OptionsContext &context,
                                    QWidget *parent = nullptr);

private:
    void UpdateVisibility();

    QCheckBox *m_attachments;
    QCheckBox *m_ole;
    QLabel *m_methodLabel;
    QComboBox *m_method;
    QLabel *m_prefixLabel;
    QComboBox *m_prefix;
    QLabel *m_fieldLabel;
    QComboBox *m_fieldName;
    QLabel *m_maxLabel;
    QLineEdit *m_maxLength;
    QLabel *m_formulaLabel;
    QPlainTextEdit *m_formula;
    QCheckBox *m_subdirs;
};

}  // namespace gui
