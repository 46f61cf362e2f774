// The shared file-naming controls of the per-document output pages.
#include "NamingMethodControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "OptionsPage.h"

namespace gui {

NamingMethodControls::NamingMethodControls(QWidget *parent, const std::vector<std::string> &availableFields,
                                           std::int32_t &nameFormat, bool &append, std::string &fieldName,
                                           std::int32_t &maxLength)
    : QWidget(parent) {
    m_method =
        BoundChoice(this, "NamingMethod", Captions({"Count", "Universal ID", "Field Value"}), nameFormat);
    m_append = BoundCheck(this, "Append Field Value", append);
    m_fieldLabel = new QLabel("Field Name", this);
    m_fieldName = ItemNameCombo(this, "FieldName", availableFields, fieldName);
    m_maxLabel = new QLabel("Maximum Value Length", this);
    m_maxLength = BoundNumber(this, "MaximumValueLength", maxLength);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel("Naming Method", this), 0, 0);
    grid->addWidget(m_method, 0, 1);
    grid->addWidget(m_append, 1, 1);
    grid->addWidget(m_fieldLabel, 2, 0);
    grid->addWidget(m_fieldName, 2, 1);
    grid->addWidget(m_maxLabel, 3, 0);
    grid->addWidget(m_maxLength, 3, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);

    connect(m_method, &QComboBox::currentIndexChanged, this, [this]() {
        // A name made of the field value has nothing left to append it to.
        if (m_method->currentData().toInt() == config::kNameByFieldValue) {
            m_append->setChecked(false);
        }
        UpdateVisibility();
    });
    connect(m_append, &QCheckBox::toggled, this, &NamingMethodControls::UpdateVisibility);
    UpdateVisibility();
}

void NamingMethodControls::UpdateVisibility() {
    const bool byValue = m_method->currentData().toInt() == config::kNameByFieldValue;
    m_append->setVisible(!byValue);
    const bool field = byValue || m_append->isChecked();
    m_fieldLabel->setVisible(field);
    m_fieldName->setVisible(field);
    m_maxLabel->setVisible(field);
    m_maxLength->setVisible(field);
}

}  // namespace gui
