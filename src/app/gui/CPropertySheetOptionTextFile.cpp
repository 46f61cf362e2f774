// The "Text / HTML Files" page.
#include "CPropertySheetOptionTextFile.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "NamingMethodControls.h"

namespace gui {

CPropertySheetOptionTextFile::CPropertySheetOptionTextFile(config::ExportSettings &sheet,
                                                           const OptionsContext &context, QWidget *parent)
    : OptionsPage(sheet, parent) {
    m_create = BoundCheck(this, "Create Files (one file for each Notes document)", m_sheet.CreateDocs);
    m_details = new QWidget(this);
    auto *text = new QRadioButton("Text", m_details);
    auto *html = new QRadioButton("Simple HTML", m_details);
    auto *formats = new QButtonGroup(this);
    formats->addButton(text, config::kTextFilePlain);
    formats->addButton(html, config::kTextFileHtml);
    text->setChecked(m_sheet.TextFileFormat == config::kTextFilePlain);
    html->setChecked(m_sheet.TextFileFormat == config::kTextFileHtml);
    connect(formats, &QButtonGroup::idClicked, this, [this](int id) { m_sheet.TextFileFormat = id; });
    m_naming = new NamingMethodControls(
        m_details, context.availableFields, m_sheet.TextFileNameFormat, m_sheet.TextFileFieldValueAppend,
        m_sheet.TextFileFieldAppendFieldName, m_sheet.TextFileFieldValueMaxLength);

    auto *details = new QVBoxLayout(m_details);
    details->setContentsMargins(0, 0, 0, 0);
    auto *formatRow = new QHBoxLayout;
    formatRow->addWidget(text);
    formatRow->addWidget(html);
    formatRow->addStretch();
    details->addLayout(formatRow);
    details->addWidget(m_naming);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_create);
    layout->addWidget(m_details);
    layout->addStretch();
    connect(m_create, &QCheckBox::toggled, m_details, &QWidget::setVisible);
    m_details->setVisible(m_create->isChecked());
}

}  // namespace gui
