// The "Log Entry Detail" dialog: the title of a log entry and, for a warning or an error, its detail.
#pragma once

#include <QDialog>

#include "log/LogEntry.h"

class QLabel;
class QPlainTextEdit;
class QLineEdit;

namespace gui {

class DlgLogEntry : public QDialog {
    Q_OBJECT

public:
    DlgLogEntry(const logging::LogEntry &entry, QWidget *parent = nullptr);

    // Shows the entry modally and returns the dialog result.
    static int Show(const logging::LogEntry &entry, QWidget *parent = nullptr);

    // The text the detail box shows for an entry: its detail, or the hint to expand the entry when
    // the detail is empty.
    static QString DetailText(const logging::LogEntry &entry);

    QLineEdit *DescriptionBox() const { return m_description; }
    QLabel *SeverityLabel() const { return m_severity; }
    QPlainTextEdit *DetailBox() const { return m_detail; }

private:
    QLineEdit *m_description;
    QLabel *m_severity;
    QPlainTextEdit *m_detail;
};

}  // namespace gui
