// The output columns part of the main dialog: the available and selected field lists over the field
// list model, their move buttons, the rich-text advanced flag and the manual entry of a field or formula.
#pragma once

#include <QGroupBox>
#include <string>
#include <vector>

#include "config/FieldListModel.h"

class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace gui {

class FieldListPanel : public QGroupBox {
    Q_OBJECT

public:
    explicit FieldListPanel(QWidget *parent = nullptr);

    config::FieldListModel &Model() { return m_model; }

    // The available list: the computed fields of the catalogue, then these item names.
    void SetAvailableItems(const std::vector<std::string> &itemNames);
    // The available list after a field-name scan: the seven computed fields a scan offers, then the
    // names found ("$" names only when "Show Hidden" is checked).
    void SetScannedItems(const std::vector<std::string> &foundNames);
    void ClearAvailable();
    // The selected list from the model (after the model changed outside the panel).
    void RefreshSelected();

    QListWidget *AvailableList() const { return m_available; }
    QListWidget *SelectedList() const { return m_selected; }
    QCheckBox *ShowHidden() const { return m_showHidden; }
    QCheckBox *ViewFieldsOnly() const { return m_viewFieldsOnly; }
    QCheckBox *RichTextAdvanced() const { return m_richTextAdvanced; }
    QLineEdit *ManualEntryEdit() const { return m_manualEdit; }
    QPushButton *AddButton() const { return m_addButton; }
    QPushButton *ManualAddButton() const { return m_manualAdd; }
    QPushButton *RemoveButton() const { return m_removeButton; }
    QPushButton *AddAllButton() const { return m_addAllButton; }
    QPushButton *RemoveAllButton() const { return m_removeAllButton; }
    QPushButton *UpButton() const { return m_upButton; }
    QPushButton *DownButton() const { return m_downButton; }

signals:
    // "Show Hidden" or "Show View/Folder Fields Only" was clicked; the dialog decides what follows.
    void availableOptionClicked(QCheckBox *box);

private:
    // Copies the list boxes' selections into the model, runs an operation, shows the model again.
    template <typename Operation>
    void Edit(Operation operation);
    void ReadChoices();
    void ShowModel();
    void ManualEntry();
    void RichTextAdvancedClicked(bool checked);

    config::FieldListModel m_model;
    QListWidget *m_available;
    QListWidget *m_selected;
    QCheckBox *m_showHidden;
    QCheckBox *m_viewFieldsOnly;
    QCheckBox *m_richTextAdvanced;
    QLineEdit *m_manualEdit;
    QPushButton *m_manualAdd;
    QPushButton *m_addButton;
    QPushButton *m_removeButton;
    QPushButton *m_addAllButton;
    QPushButton *m_removeAllButton;
    QPushButton *m_upButton;
    QPushButton *m_downButton;
};

}  // namespace gui
