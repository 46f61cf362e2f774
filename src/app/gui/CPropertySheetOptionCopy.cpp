// The "Copy Data" page.
#include "CPropertySheetOptionCopy.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DlgSelectDatabase.h"

namespace gui {

namespace {

QString DestinationText(const std::string &server, const std::string &path) {
    return path.empty() && server.empty() ? QString() : ToQ(server + ":" + path);
}

}  // namespace

CPropertySheetOptionCopy::CPropertySheetOptionCopy(config::ExportSettings &sheet, QWidget *parent)
    : OptionsPage(sheet, parent) {
    m_select = new QPushButton("Select Destination Database", this);
    m_destination =
        new QLineEdit(DestinationText(m_sheet.CopyDataToDbServer, m_sheet.CopyDataToDbFilename), this);
    m_destination->setObjectName("CopyDestination");
    m_destination->setReadOnly(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(BoundCheck(this, "Copy lotus notes documents", m_sheet.CopyDataToDb), 0, 0, 1, 2);
    grid->addWidget(m_select, 1, 0, Qt::AlignLeft);
    grid->addWidget(new QLabel("Destination Database:", this), 2, 0, 1, 2);
    grid->addWidget(m_destination, 3, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    connect(m_select, &QPushButton::clicked, this, &CPropertySheetOptionCopy::SelectDestination);
}

void CPropertySheetOptionCopy::SelectDestination() {
    DlgSelectDatabase dialog(DlgSelectDatabase::Mode::Single, this);
    if (dialog.exec() != QDialog::Accepted || dialog.Path().empty()) {
        return;
    }
    m_sheet.CopyDataToDbServer = dialog.Server();
    m_sheet.CopyDataToDbFilename = dialog.Path();
    m_destination->setText(DestinationText(dialog.Server(), dialog.Path()));
}

}  // namespace gui
