// The choice dialogs of the Notes detection.
#include "DlgNotesPathSel.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "platform/UserInterface.h"

namespace gui {

DlgNotesCandidateSel::DlgNotesCandidateSel(const QString &title, const QString &prompt,
                                           const std::string &emptyMessage,
                                           const std::vector<std::string> &candidates,
                                           std::optional<std::size_t> current, QWidget *parent)
    : QDialog(parent), m_list(new QListWidget(this)), m_emptyMessage(emptyMessage) {
    setWindowTitle(title);
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(prompt, this);
    label->setWordWrap(true);
    layout->addWidget(label);
    for (const std::string &candidate : candidates) {
        m_list->addItem(QString::fromStdString(candidate));
    }
    if (current && *current < candidates.size()) {
        m_list->setCurrentRow(static_cast<int>(*current));
    } else {
        m_list->setCurrentRow(-1);
    }
    layout->addWidget(m_list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &DlgNotesCandidateSel::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &DlgNotesCandidateSel::accept);
    layout->addWidget(buttons);
    setMinimumWidth(480);
}

std::optional<std::size_t> DlgNotesCandidateSel::Selected() const {
    const QList<QListWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(m_list->row(selected.front()));
}

void DlgNotesCandidateSel::accept() {
    if (!Selected()) {
        platform::Ui().Message(m_emptyMessage, "Selection Error", platform::MessageIcon::Exclamation,
                               platform::MessageButtons::Ok);
        return;
    }
    QDialog::accept();
}

DlgNotesProgPathSel::DlgNotesProgPathSel(const std::vector<std::string> &candidates,
                                         std::optional<std::size_t> current, QWidget *parent)
    : DlgNotesCandidateSel("Select Lotus Notes Program Path",
                           "Multiple Lotus Notes program paths were detected. Please select the appropriate "
                           "path and click OK or cancel.",
                           "Select a program path or choose cancel", candidates, current, parent) {}

DlgNotesConfigFileSel::DlgNotesConfigFileSel(const std::vector<std::string> &candidates,
                                             std::optional<std::size_t> current, QWidget *parent)
    : DlgNotesCandidateSel(
          "Select Lotus Notes Configuration File",
          "Multiple Lotus Notes configuration files (notes.ini) were detected. Please select "
          "the appropriate file and click OK or cancel.",
          "Select a configuration file (notes.ini) or choose cancel", candidates, current, parent) {}

}  // namespace gui
