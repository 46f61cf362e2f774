// The "Control Characters" page.
#include "ProperySheetOptionReplace.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace gui {

ProperySheetOptionReplace::ProperySheetOptionReplace(config::ExportSettings &sheet, QWidget *parent)
    : OptionsPage(sheet, parent) {
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(OptionGroup("Carriage Return Option", "CarrigeReturnReplaceString",
                                  m_sheet.ControlCharCarrigeReturnOption,
                                  m_sheet.CarrigeReturnReplaceString));
    layout->addWidget(OptionGroup("Line Feed Option", "LineFeedReplaceString",
                                  m_sheet.ControlCharLineFeedOption, m_sheet.LineFeedReplaceString));
    layout->addStretch();
}

QWidget *ProperySheetOptionReplace::OptionGroup(const char *title, const char *name, std::int32_t &option,
                                                std::string &replacement) {
    auto *group = new QGroupBox(title, this);
    auto *buttons = new QButtonGroup(group);
    auto *row = new QHBoxLayout(group);
    for (int value = 0; value < 3; ++value) {
        auto *button = new QRadioButton(config::kControlCharCaptions[value], group);
        button->setChecked(option == value);
        buttons->addButton(button, value);
        row->addWidget(button);
    }
    QLineEdit *edit = BoundText(group, name, replacement);
    row->addWidget(edit, 1);
    row->addStretch(1);
    edit->setVisible(option == config::kControlCharReplace);
    connect(buttons, &QButtonGroup::idClicked, this, [&option, edit](int id) {
        option = id;
        edit->setVisible(id == config::kControlCharReplace);
    });
    return group;
}

}  // namespace gui
