// The "CSV Options" page: the CSV summary file, its headers, quoting and the two delimiters.
#pragma once

#include "OptionsPage.h"

namespace gui {

class CPropertySheetCSVOptions : public OptionsPage {
    Q_OBJECT

public:
    CPropertySheetCSVOptions(config::ExportSettings &sheet, QWidget *parent = nullptr);

    // A delimiter in the "Code" form: four upper-case hexadecimal digits per UTF-16 unit.
    static QString ToCode(const std::string &delimiter);
    // The delimiter a "Code" text stands for; nothing unless every character is one of "0123456789ABCDEF",
    // the length is a multiple of four, the text is not empty and no group is 0000.
    static std::optional<std::string> FromCode(const QString &code);

private:
    // One delimiter row: the combo and the edit of "Delimiter" or "Multivalue field delimiter".
    void AddDelimiterRow(const char *name, std::string &delimiter, std::int32_t &type, QComboBox *&combo,
                         QLineEdit *&edit);
};

}  // namespace gui
