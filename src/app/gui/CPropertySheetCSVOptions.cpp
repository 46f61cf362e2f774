// The "CSV Options" page.
#include "CPropertySheetCSVOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace gui {

namespace {

// The edit of a delimiter row as the type shows it: hidden for a fixed character, the text for "Char",
// the hexadecimal form for "Code".
void ShowDelimiter(QLineEdit *edit, const std::string &delimiter, std::int32_t type) {
    const QSignalBlocker block(edit);
    edit->setVisible(type == config::kDelimiterChar || type == config::kDelimiterCode);
    edit->setText(type == config::kDelimiterCode ? CPropertySheetCSVOptions::ToCode(delimiter)
                                                 : ToQ(delimiter));
}

}  // namespace

CPropertySheetCSVOptions::CPropertySheetCSVOptions(config::ExportSettings &sheet, QWidget *parent)
    : OptionsPage(sheet, parent) {
    auto *grid = new QGridLayout(this);
    grid->addWidget(
        BoundCheck(this, "Create Single CSV File (one row for each Notes document)", m_sheet.CreateCSV), 0, 0,
        1, 3);
    grid->addWidget(BoundCheck(this, "Export Field headers", m_sheet.WriteFieldHeaders), 1, 0, 1, 3);
    grid->addWidget(
        BoundCheck(this, "Put double quotes around data (quotes inside the data are repeated twice)",
                   m_sheet.DoubleQuotes),
        2, 0, 1, 3);
    QComboBox *combo = nullptr;
    QLineEdit *edit = nullptr;
    AddDelimiterRow("Delimiter", m_sheet.Delimiter, m_sheet.DelimiterType, combo, edit);
    grid->addWidget(new QLabel("Delimiter", this), 3, 0);
    grid->addWidget(combo, 3, 1);
    grid->addWidget(edit, 3, 2);
    AddDelimiterRow("MVDelimiter", m_sheet.MVDelimiter, m_sheet.MVDelimiterType, combo, edit);
    grid->addWidget(new QLabel("Multivalue field delimiter", this), 4, 0);
    grid->addWidget(combo, 4, 1);
    grid->addWidget(edit, 4, 2);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(5, 1);
}

void CPropertySheetCSVOptions::AddDelimiterRow(const char *name, std::string &delimiter, std::int32_t &type,
                                               QComboBox *&combo, QLineEdit *&edit) {
    combo = new QComboBox(this);
    combo->setObjectName(QString(name) + "Type");
    combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (const char *caption : config::kDelimiterTypeCaptions) {
        combo->addItem(caption);
    }
    edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMaximumWidth(160);
    combo->setCurrentIndex(type >= 0 && type < combo->count() ? type : -1);
    ShowDelimiter(edit, delimiter, type);

    QLineEdit *shown = edit;
    connect(combo, &QComboBox::currentIndexChanged, this, [shown, &delimiter, &type](int index) {
        if (index < 0) {
            return;
        }
        type = index;
        if (index < config::kDelimiterChar) {
            delimiter = config::kDelimiterTypeCaptions[index];
        }
        ShowDelimiter(shown, delimiter, type);
    });
    connect(edit, &QLineEdit::textEdited, this, [&delimiter, &type](const QString &text) {
        if (type == config::kDelimiterChar && !text.isEmpty()) {
            delimiter = text.toStdString();
        } else if (type == config::kDelimiterCode) {
            if (std::optional<std::string> decoded = FromCode(text)) {
                delimiter = *decoded;
            }
        }
    });
    // Text that was not taken goes back to what the record holds once the edit is left, so a code can
    // be typed digit by digit.
    connect(edit, &QLineEdit::editingFinished, this,
            [shown, &delimiter, &type]() { ShowDelimiter(shown, delimiter, type); });
}

QString CPropertySheetCSVOptions::ToCode(const std::string &delimiter) {
    QString code;
    for (char16_t unit : ToQ(delimiter).toStdU16String()) {
        code += QString("%1").arg(static_cast<unsigned>(unit), 4, 16, QChar('0')).toUpper();
    }
    return code;
}

std::optional<std::string> CPropertySheetCSVOptions::FromCode(const QString &code) {
    static const QString digits = "0123456789ABCDEF";
    if (code.isEmpty() || code.size() % 4 != 0) {
        return std::nullopt;
    }
    std::u16string units;
    for (qsizetype pos = 0; pos < code.size(); pos += 4) {
        unsigned unit = 0;
        for (qsizetype i = pos; i < pos + 4; ++i) {
            const qsizetype digit = digits.indexOf(code[i]);
            if (digit < 0) {
                return std::nullopt;
            }
            unit = unit * 16 + static_cast<unsigned>(digit);
        }
        if (unit == 0) {
            return std::nullopt;  // no delimiter can hold a NUL, and the profile file drops it
        }
        units += static_cast<char16_t>(unit);
    }
    return QString::fromStdU16String(units).toStdString();
}

}  // namespace gui
