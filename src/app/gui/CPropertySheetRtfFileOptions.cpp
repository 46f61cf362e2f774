// The "Rich Text Files" page.
#include "CPropertySheetRtfFileOptions.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "NamingMethodControls.h"
#include "OutputPanel.h"

namespace gui {

CPropertySheetRtfFileOptions::CPropertySheetRtfFileOptions(config::ExportSettings &sheet,
                                                           const OptionsContext &context, QWidget *parent)
    : OptionsPage(sheet, parent) {
    m_create =
        BoundCheck(this, "Create Rich Text Files (one file for each Notes document)", m_sheet.CreateRTFs);
    m_details = new QWidget(this);
    m_naming = new NamingMethodControls(m_details, context.availableFields, m_sheet.RtfFileNameFormat,
                                        m_sheet.RtfFileFieldValueAppend, m_sheet.RtfFileFieldAppendFieldName,
                                        m_sheet.RtfFileFieldValueMaxLength);
    auto *whole = new QRadioButton("Whole Lotus Notes Document including Form", m_details);
    auto *specific = new QRadioButton("Only Specific Rich Text (RTF) Field", m_details);
    auto *sources = new QButtonGroup(this);
    sources->addButton(whole, config::kRtfSourceDocument);
    sources->addButton(specific, config::kRtfSourceField);
    whole->setChecked(m_sheet.RtfSource == config::kRtfSourceDocument);
    specific->setChecked(m_sheet.RtfSource == config::kRtfSourceField);
    m_fieldLabel = new QLabel("Rich Text Field", m_details);
    m_field =
        ItemNameCombo(m_details, "RtfSourceFieldName", context.availableFields, m_sheet.RtfSourceFieldName);
    auto *extension = new QComboBox(m_details);
    extension->setObjectName("RtfFileExtension");
    extension->addItems({".rtf", ".doc"});
    extension->setCurrentIndex(extension->findText(ToQ(m_sheet.RtfFileExtension)));

    auto *details = new QGridLayout(m_details);
    details->setContentsMargins(0, 0, 0, 0);
    details->addWidget(m_naming, 0, 0, 1, 3);
    details->addWidget(whole, 1, 0, 1, 3);
    details->addWidget(specific, 2, 0, 1, 3);
    details->addWidget(m_fieldLabel, 3, 0);
    details->addWidget(m_field, 3, 1);
    details->addWidget(new QLabel("Save File Extension", m_details), 4, 0);
    details->addWidget(extension, 4, 1, Qt::AlignLeft);
    details->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_create);
    layout->addWidget(m_details);
    layout->addStretch();

    connect(sources, &QButtonGroup::idClicked, this, [this](int id) {
        m_sheet.RtfSource = id;
        UpdateVisibility();
    });
    connect(extension, &QComboBox::currentTextChanged, this,
            [this](const QString &text) { m_sheet.RtfFileExtension = text.toStdString(); });
    connect(m_create, &QCheckBox::toggled, this, &CPropertySheetRtfFileOptions::UpdateVisibility);
    connect(m_create, &QCheckBox::clicked, this, [](bool checked) {
        if (checked) {
            OutputPanel::ShowRichTextLimitations();
        }
    });
    UpdateVisibility();
}

void CPropertySheetRtfFileOptions::UpdateVisibility() {
    m_details->setVisible(m_create->isChecked());
    const bool field = m_sheet.RtfSource == config::kRtfSourceField;
    m_fieldLabel->setVisible(field);
    m_field->setVisible(field);
}

}  // namespace gui
