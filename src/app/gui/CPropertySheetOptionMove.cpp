// The "Move Data" page.
#include "CPropertySheetOptionMove.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

#include "platform/UserInterface.h"

namespace gui {

CPropertySheetOptionMove::CPropertySheetOptionMove(config::ExportSettings &sheet,
                                                   const OptionsContext &context, QWidget *parent)
    : OptionsPage(sheet, parent), m_context(context) {
    m_folders = new QListWidget(this);
    m_folders->setObjectName("MoveToFolderName");
    m_showHidden = new QCheckBox("Show Hi&dden", this);

    auto *grid = new QGridLayout(this);
    grid->addWidget(BoundCheck(this, "Move to Specific Folder After Processing", m_sheet.MoveToFolder), 0, 0,
                    1, 2);
    grid->addWidget(new QLabel("Destination Folder", this), 1, 0);
    grid->addWidget(m_showHidden, 1, 1, Qt::AlignRight);
    grid->addWidget(m_folders, 2, 0, 1, 2);

    connect(m_showHidden, &QCheckBox::toggled, this, &CPropertySheetOptionMove::FillFolders);
    connect(m_folders, &QListWidget::currentTextChanged, this, [this](const QString &text) {
        if (!text.isEmpty()) {
            m_sheet.MoveToFolderName = text.toStdString();
        }
    });
}

void CPropertySheetOptionMove::showEvent(QShowEvent *event) {
    OptionsPage::showEvent(event);
    // The folders are read when the page is first shown, so the database is only asked for (and its
    // absence only reported) when the user comes to this page.
    if (!m_filled) {
        m_filled = true;
        FillFolders();
    }
}

void CPropertySheetOptionMove::FillFolders() {
    const QSignalBlocker block(m_folders);
    m_folders->clear();
    if (!m_context.folders) {
        return;
    }
    const bool all = m_showHidden->isChecked();
    const std::optional<std::vector<std::string>> names = m_context.folders(all);
    if (!names) {
        return;
    }
    for (const std::string &name : *names) {
        if (all || name.empty() || name[0] != '(') {
            m_folders->addItem(ToQ(name));
        }
    }
    const QList<QListWidgetItem *> current =
        m_folders->findItems(ToQ(m_sheet.MoveToFolderName), Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (!current.isEmpty()) {
        m_folders->setCurrentItem(current.front());
    }
}

bool CPropertySheetOptionMove::CanLeave() {
    if (!m_sheet.MoveToFolder || !m_sheet.MoveToFolderName.empty()) {
        return true;
    }
    platform::Ui().Message("Please select a destination folder or deselect the move to folder option.",
                           "Data Error", platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
    return false;
}

}  // namespace gui
