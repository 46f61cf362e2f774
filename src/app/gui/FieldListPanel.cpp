// The field lists of the main dialog.
#include "FieldListPanel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "config/ComputedFieldCatalogue.h"

namespace gui {

namespace {

// The computed fields a field-name scan offers before the names it found, in this order.
constexpr const char *kScanComputedFields[] = {config::kFieldAttachNames,    config::kFieldExtractedAttNames,
                                               config::kFieldCount,          config::kFieldUniversalId,
                                               config::kFieldViewFolderName, config::kFieldHasOle,
                                               config::kFieldErrors};

void ShowEntries(QListWidget *list, const std::vector<config::FieldListEntry> &entries, bool selectedTexts) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (const config::FieldListEntry &entry : entries) {
        auto *item =
            new QListWidgetItem(QString::fromStdString(selectedTexts ? entry.property.SelectedText()
                                                                     : entry.property.AvailableText()),
                                list);
        item->setSelected(entry.chosen);
    }
}

void ReadChosen(const QListWidget *list, std::vector<config::FieldListEntry> &entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QListWidgetItem *item = list->item(static_cast<int>(i));
        entries[i].chosen = item != nullptr && item->isSelected();
    }
}

QPushButton *SmallButton(const char *caption, QWidget *parent) {
    auto *button = new QPushButton(caption, parent);
    button->setMinimumWidth(button->fontMetrics().horizontalAdvance("u>>p") + 20);
    button->setMaximumWidth(button->fontMetrics().horizontalAdvance("u>>p") + 36);
    return button;
}

}  // namespace

FieldListPanel::FieldListPanel(QWidget *parent)
    : QGroupBox("Fields", parent),
      m_available(new QListWidget(this)),
      m_selected(new QListWidget(this)),
      m_showHidden(new QCheckBox("Show &Hidden", this)),
      m_viewFieldsOnly(new QCheckBox("Show &View/Folder Fields Only", this)),
      m_richTextAdvanced(new QCheckBox("Rich Text Advanced", this)),
      m_manualEdit(new QLineEdit(this)),
      m_manualAdd(new QPushButton("Add", this)),
      m_addButton(SmallButton("&>", this)),
      m_removeButton(SmallButton("&<", this)),
      m_addAllButton(SmallButton(">>", this)),
      m_removeAllButton(SmallButton("<<", this)),
      m_upButton(SmallButton("u&p", this)),
      m_downButton(SmallButton("d&w", this)) {
    m_available->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_selected->setSelectionMode(QAbstractItemView::ExtendedSelection);

    auto *grid = new QGridLayout(this);
    auto *options = new QHBoxLayout;
    options->addWidget(m_showHidden);
    options->addWidget(m_viewFieldsOnly);
    options->addStretch();
    grid->addLayout(options, 0, 0, 1, 3);
    grid->addWidget(new QLabel("Available Fields", this), 1, 0);
    auto *selectedHead = new QHBoxLayout;
    selectedHead->addWidget(new QLabel("Selected Fields", this), 1);
    selectedHead->addWidget(m_richTextAdvanced);
    grid->addLayout(selectedHead, 1, 2);
    grid->addWidget(m_available, 2, 0);
    auto *buttons = new QVBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {m_addButton, m_removeButton, m_addAllButton, m_removeAllButton}) {
        buttons->addWidget(button);
    }
    buttons->addSpacing(12);
    buttons->addWidget(m_upButton);
    buttons->addWidget(m_downButton);
    buttons->addStretch();
    grid->addLayout(buttons, 2, 1);
    grid->addWidget(m_selected, 2, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(2, 1);
    grid->addWidget(new QLabel("Manual Entry Field Name or Lotus Notes Formula", this), 3, 0, 1, 3);
    auto *manualRow = new QHBoxLayout;
    manualRow->addWidget(m_manualEdit, 1);
    manualRow->addWidget(m_manualAdd);
    grid->addLayout(manualRow, 4, 0, 1, 3);

    connect(m_addButton, &QPushButton::clicked, this,
            [this]() { Edit([this]() { m_model.AddFromAvailable(false); }); });
    connect(m_addAllButton, &QPushButton::clicked, this,
            [this]() { Edit([this]() { m_model.AddFromAvailable(true); }); });
    connect(m_removeButton, &QPushButton::clicked, this,
            [this]() { Edit([this]() { m_model.RemoveFromSelected(false); }); });
    connect(m_removeAllButton, &QPushButton::clicked, this,
            [this]() { Edit([this]() { m_model.RemoveFromSelected(true); }); });
    connect(m_upButton, &QPushButton::clicked, this, [this]() { Edit([this]() { m_model.MoveUp(); }); });
    connect(m_downButton, &QPushButton::clicked, this, [this]() { Edit([this]() { m_model.MoveDown(); }); });
    connect(m_available, &QListWidget::itemDoubleClicked, this, [this]() {
        Edit([this]() {
            for (auto &entry : m_model.Selected()) {
                entry.chosen = false;
            }
            m_model.AddFromAvailable(false);
        });
    });
    connect(m_selected, &QListWidget::itemDoubleClicked, this,
            [this]() { Edit([this]() { m_model.RemoveFromSelected(false); }); });
    connect(m_manualAdd, &QPushButton::clicked, this, &FieldListPanel::ManualEntry);
    connect(m_manualEdit, &QLineEdit::returnPressed, this, &FieldListPanel::ManualEntry);
    connect(m_richTextAdvanced, &QCheckBox::clicked, this, &FieldListPanel::RichTextAdvancedClicked);
    connect(m_showHidden, &QCheckBox::clicked, this, [this]() { emit availableOptionClicked(m_showHidden); });
    connect(m_viewFieldsOnly, &QCheckBox::clicked, this,
            [this]() { emit availableOptionClicked(m_viewFieldsOnly); });
}

template <typename Operation>
void FieldListPanel::Edit(Operation operation) {
    ReadChoices();
    operation();
    ShowModel();
}

void FieldListPanel::ReadChoices() {
    ReadChosen(m_available, m_model.Available());
    ReadChosen(m_selected, m_model.Selected());
}

void FieldListPanel::ShowModel() {
    ShowEntries(m_available, m_model.Available(), false);
    ShowEntries(m_selected, m_model.Selected(), true);
}

void FieldListPanel::RefreshSelected() {
    ShowEntries(m_selected, m_model.Selected(), true);
}

void FieldListPanel::SetAvailableItems(const std::vector<std::string> &itemNames) {
    m_model.SetAvailable(itemNames);
    ShowEntries(m_available, m_model.Available(), false);
}

void FieldListPanel::SetScannedItems(const std::vector<std::string> &foundNames) {
    std::vector<config::FieldListEntry> &available = m_model.Available();
    available.clear();
    for (const char *name : kScanComputedFields) {
        const config::ComputedField *field = config::ComputedFieldCatalogue::Find(name);
        if (field != nullptr) {
            available.push_back(
                {config::SelectionProperty{field->kind, field->name, field->label, field->valueFunction, 0},
                 false});
        }
    }
    const bool hidden = m_showHidden->isChecked();
    for (const std::string &name : foundNames) {
        if (hidden || name.empty() || name[0] != '$') {
            available.push_back({config::SelectionProperty{config::kItemField, name, "", nullptr, 0}, false});
        }
    }
    ShowEntries(m_available, available, false);
}

void FieldListPanel::ClearAvailable() {
    m_model.Available().clear();
    m_available->clear();
}

void FieldListPanel::ManualEntry() {
    ReadChoices();
    std::string text = m_manualEdit->text().toStdString();
    const bool added = m_model.ManualEntry(text);
    m_manualEdit->setText(QString::fromStdString(text));
    if (added) {
        ShowModel();
    }
}

void FieldListPanel::RichTextAdvancedClicked(bool checked) {
    ReadChoices();
    if (!m_model.SetRichTextAdvanced(checked)) {
        m_richTextAdvanced->setChecked(!checked);
        return;
    }
    ShowModel();
}

}  // namespace gui
