// The "Rich Text Advanced" page: how selected rich text fields are rendered to text or HTML, their
// links and markers, and where extracted images go.
#pragma once

#include "OptionsPage.h"

class QGroupBox;
class QLabel;
class QPushButton;

namespace gui {

class CPropertySheetOptionRT2Text : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetOptionRT2Text(config::ExportSettings &sheet, const OptionsContext &context,
                                QWidget *parent = nullptr);

private:
    void UpdateControls();
    void LinksToggled(QCheckBox *changed, bool on);
    void Browse();

    QGroupBox *m_textGroup;
    QGroupBox *m_htmlGroup;
    QCheckBox *m_relativeUrls;
    QCheckBox *m_exportLinks;
    QCheckBox *m_notesUrls;
    QCheckBox *m_images;
    QWidget *m_imageControls;
    QComboBox *m_method;
    QLabel *m_fieldLabel;
    QComboBox *m_field;
    QLabel *m_maxLabel;
    QLineEdit *m_maxLength;
    QLabel *m_pathLabel;
    QLineEdit *m_path;
    QPushButton *m_browse;
};

}  // namespace gui
