// The file-naming controls the Text/HTML, Rich Text and PDF pages share: "Naming Method", "Append
// Field Value", "Field Name" and "Maximum Value Length", with their show and hide rule.
#pragma once

#include <QWidget>
#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace gui {

class NamingMethodControls : public QWidget {
    Q_OBJECT

public:
    // The naming fields of one output kind: method, append flag, field name and value length.
    NamingMethodControls(QWidget *parent, const std::vector<std::string> &availableFields,
                         std::int32_t &nameFormat, bool &append, std::string &fieldName,
                         std::int32_t &maxLength);

    QComboBox *NamingMethod() const { return m_method; }
    QCheckBox *AppendFieldValue() const { return m_append; }
    QComboBox *FieldName() const { return m_fieldName; }
    QLineEdit *MaximumLength() const { return m_maxLength; }

private:
    void UpdateVisibility();

    QComboBox *m_method;
    QCheckBox *m_append;
    QLabel *m_fieldLabel;
    QComboBox *m_fieldName;
    QLabel *m_maxLabel;
    QLineEdit *m_maxLength;
};

}  // namespace gui
