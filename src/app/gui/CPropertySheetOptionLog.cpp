// The "Logging" page.
#include "CPropertySheetOptionLog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "GuiUserInterface.h"

namespace gui {

CPropertySheetOptionLog::CPropertySheetOptionLog(config::ExportSettings &sheet, const OptionsContext &context,
                                                 QWidget *parent)
    : OptionsPage(sheet, parent) {
    auto *logExport = BoundCheck(this, "Log Export (will slow export)", m_sheet.LogExport);
    m_details = new QWidget(this);
    m_fileName = BoundText(m_details, "LogFileName", m_sheet.LogFileName);
    auto *browse = new QPushButton("Browse", m_details);
    auto *openLog = new QPushButton("Open Log", m_details);
    auto *append = new QCheckBox("Append", m_details);
    append->setChecked(m_sheet.LogOpenMode == config::kLogOpenAppend);
    auto *level = BoundChoice(m_details, "LogLevel", Captions({"Low", "Medium", "High"}), m_sheet.LogLevel);
    auto *field = ItemNameCombo(m_details, "LogFieldName", context.availableFields, m_sheet.LogFieldName,
                                "[none]", true);
    auto *tip = new QLabel(
        "Tip: If you have trouble with a partiular database you should run the Lotus Notes admin "
        "fixup tool on it to attempt to repair/remove any corrupted indexes and/or documents. See "
        "Help for more information.",
        this);
    tip->setWordWrap(true);

    auto *details = new QGridLayout(m_details);
    details->setContentsMargins(0, 0, 0, 0);
    details->addWidget(new QLabel("Log Filename", m_details), 0, 0, 1, 3);
    details->addWidget(m_fileName, 1, 0);
    details->addWidget(browse, 1, 1);
    details->addWidget(openLog, 1, 2);
    details->addWidget(append, 2, 0, 1, 3);
    details->addWidget(new QLabel("Log Level (Verbosity)", m_details), 3, 0, 1, 3);
    details->addWidget(level, 4, 0, Qt::AlignLeft);
    details->addWidget(new QLabel("Log Values From This Field (max 40 characters)", m_details), 5, 0, 1, 3);
    details->addWidget(field, 6, 0, Qt::AlignLeft);
    details->setColumnStretch(0, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(logExport);
    layout->addWidget(m_details);
    layout->addStretch();
    layout->addWidget(tip);

    connect(append, &QCheckBox::toggled, this,
            [this](bool on) { m_sheet.LogOpenMode = on ? config::kLogOpenAppend : config::kLogOpenNew; });
    connect(browse, &QPushButton::clicked, this, &CPropertySheetOptionLog::Browse);
    connect(openLog, &QPushButton::clicked, this, &CPropertySheetOptionLog::OpenLog);
    connect(logExport, &QCheckBox::toggled, m_details, &QWidget::setVisible);
    m_details->setVisible(logExport->isChecked());
}

void CPropertySheetOptionLog::Browse() {
    const std::vector<std::string> names =
        platform::Ui().OpenFileNames("Log Filename", "Log Files (*.txt)|*.txt|All Files (*.*)|*.*||", false);
    if (!names.empty() && !names.front().empty()) {
        m_fileName->setText(ToQ(names.front()));
    }
}

void CPropertySheetOptionLog::OpenLog() {
    if (auto *ui = dynamic_cast<GuiUserInterface *>(&platform::Ui());
        ui != nullptr && !m_sheet.LogFileName.empty()) {
        ui->OpenWithDefaultApplication(m_sheet.LogFileName);
    }
}

}  // namespace gui
