// The common ground of the advanced options pages: the page base class, what the sheet hands each
// page, and the small builders that tie a control to a field of the sheet's record.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/ExportSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace gui {

// What the pages need from the main dialog.
struct OptionsContext {
    // The entries of the main dialog's "Available Fields" list.
    std::vector<std::string> availableFields;
    // The folder names of the main dialog's database (all of them when asked for hidden ones too);
    // nothing when no database can be reached (the user has been told why).
    std::function<std::optional<std::vector<std::string>>(bool showHidden)> folders;
};

class OptionsPage : public QWidget {
    Q_OBJECT

public:
    OptionsPage(config::ExportSettings &sheet, QWidget *parent);
    // Called when the page is left and before OK; false keeps the sheet on the page.
    virtual bool CanLeave() { return true; }

protected:
    config::ExportSettings &m_sheet;
};

inline QString ToQ(const std::string &text) {
    return QString::fromStdString(text);
}

// A number edit's text as a decimal integer; text that is not a number reads as 0.
std::int32_t ReadNumber(const QString &text);

// A check box showing the field and writing it whenever its state changes.
QCheckBox *BoundCheck(QWidget *parent, const char *caption, bool &field);
// A line edit showing the text field and writing it on every change.
QLineEdit *BoundText(QWidget *parent, const char *name, std::string &field);
// A line edit showing the number field and writing it (read as ReadNumber) on every change.
QLineEdit *BoundNumber(QWidget *parent, const char *name, std::int32_t &field);
// A drop-down list of captions, each standing for a value; shows the field's value and writes the
// chosen caption's value.
QComboBox *BoundChoice(QWidget *parent, const char *name, const std::vector<std::pair<QString, int>> &choices,
                       std::int32_t &field);
// The captions of an enumeration, each standing for its index.
std::vector<std::pair<QString, int>> Captions(std::initializer_list<const char *> captions);
// An editable combo of item names: the available fields (first noneEntry when given, names that begin
// with "%" left out when skipPercent), the field's value selected and added when missing and not
// empty; writes the field on every change.
QComboBox *ItemNameCombo(QWidget *parent, const char *name, const std::vector<std::string> &names,
                         std::string &field, const char *noneEntry = nullptr, bool skipPercent = false);

}  // namespace gui
