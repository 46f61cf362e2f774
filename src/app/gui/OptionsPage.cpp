// The advanced options pages' base class and the builders that bind controls to record fields.
#include "OptionsPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace gui {

OptionsPage::OptionsPage(config::ExportSettings &sheet, QWidget *parent) : QWidget(parent), m_sheet(sheet) {}

std::int32_t ReadNumber(const QString &text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

QCheckBox *BoundCheck(QWidget *parent, const char *caption, bool &field) {
    auto *box = new QCheckBox(caption, parent);
    box->setChecked(field);
    QObject::connect(box, &QCheckBox::toggled, parent, [&field](bool on) { field = on; });
    return box;
}

QLineEdit *BoundText(QWidget *parent, const char *name, std::string &field) {
    auto *edit = new QLineEdit(ToQ(field), parent);
    edit->setObjectName(name);
    QObject::connect(edit, &QLineEdit::textChanged, parent,
                     [&field](const QString &text) { field = text.toStdString(); });
    return edit;
}

QLineEdit *BoundNumber(QWidget *parent, const char *name, std::int32_t &field) {
    auto *edit = new QLineEdit(QString::number(field), parent);
    edit->setObjectName(name);
    edit->setMaximumWidth(90);
    QObject::connect(edit, &QLineEdit::textChanged, parent,
                     [&field](const QString &text) { field = ReadNumber(text); });
    return edit;
}

QComboBox *BoundChoice(QWidget *parent, const char *name, const std::vector<std::pair<QString, int>> &choices,
                       std::int32_t &field) {
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    for (const auto &[caption, value] : choices) {
        combo->addItem(caption, value);
    }
    // A value without a caption shows no choice until one is made.
    combo->setCurrentIndex(combo->findData(field));
    QObject::connect(combo, &QComboBox::currentIndexChanged, parent, [combo, &field](int index) {
        if (index >= 0) {
            field = combo->itemData(index).toInt();
        }
    });
    return combo;
}

std::vector<std::pair<QString, int>> Captions(std::initializer_list<const char *> captions) {
    std::vector<std::pair<QString, int>> choices;
    for (const char *caption : captions) {
        choices.emplace_back(caption, static_cast<int>(choices.size()));
    }
    return choices;
}

QComboBox *ItemNameCombo(QWidget *parent, const char *name, const std::vector<std::string> &names,
                         std::string &field, const char *noneEntry, bool skipPercent) {
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumContentsLength(24);
    combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (noneEntry != nullptr) {
        combo->addItem(noneEntry);
    }
    for (const std::string &item : names) {
        if (!(skipPercent && !item.empty() && item[0] == '%')) {
            combo->addItem(ToQ(item));
        }
    }
    const QString current = ToQ(field);
    if (!current.isEmpty() && combo->findText(current, Qt::MatchFixedString | Qt::MatchCaseSensitive) < 0) {
        combo->addItem(current);
    }
    combo->setCurrentIndex(
        current.isEmpty() ? -1 : combo->findText(current, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    combo->setEditText(current);
    QObject::connect(combo, &QComboBox::currentTextChanged, parent,
                     [&field](const QString &text) { field = text.toStdString(); });
    return combo;
}

}  // namespace gui
