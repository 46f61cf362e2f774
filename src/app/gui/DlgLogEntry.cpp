// The "Log Entry Detail" dialog.
#include "DlgLogEntry.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace gui {

DlgLogEntry::DlgLogEntry(const logging::LogEntry &entry, QWidget *parent)
    : QDialog(parent),
      m_description(new QLineEdit(this)),
      m_severity(new QLabel(this)),
      m_detail(new QPlainTextEdit(this)) {
    setWindowTitle("Log Entry Detail");
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Description", this));
    m_description->setReadOnly(true);
    m_description->setText(QString::fromStdString(entry.title));
    layout->addWidget(m_description);
    layout->addWidget(m_severity);
    m_detail->setReadOnly(true);
    layout->addWidget(m_detail, 1);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton("Close", QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    const bool hasDetail =
        entry.severity == logging::kSeverityWarning || entry.severity == logging::kSeverityError;
    m_severity->setVisible(hasDetail);
    m_detail->setVisible(hasDetail);
    if (hasDetail) {
        m_severity->setText(entry.severity == logging::kSeverityWarning ? "Warning" : "Error");
        m_detail->setPlainText(DetailText(entry));
    }
    resize(hasDetail ? QSize(460, 300) : QSize(460, 120));
}

QString DlgLogEntry::DetailText(const logging::LogEntry &entry) {
    if (entry.detail.empty()) {
        return "Please expand log entry to see detailed results from child log entries";
    }
    return QString::fromStdString(entry.detail);
}

int DlgLogEntry::Show(const logging::LogEntry &entry, QWidget *parent) {
    DlgLogEntry dialog(entry, parent);
    return dialog.exec();
}

}  // namespace gui
