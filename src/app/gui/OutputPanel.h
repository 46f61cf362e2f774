// The outputs part of the main dialog: what an export writes, the encoding, the base path and the
// CSV summary file with their browse buttons, and what happens when the export completes.
#pragma once

#include <QGroupBox>

#include "config/ExportSettings.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace gui {

class OutputPanel : public QGroupBox {
    Q_OBJECT

public:
    // working: the dialog's settings record; each check box and radio button writes its field at once.
    OutputPanel(config::ExportSettings &working, QWidget *parent = nullptr);

    // The record into the controls; the base path, CSV file, "Launch" and "Dialog on Complete" only
    // with locations.
    void Apply(const config::ExportSettings &settings, bool locations);
    // The controls into a record.
    void Collect(config::ExportSettings &settings) const;

    QCheckBox *Attachments() const { return m_attachments; }
    QCheckBox *Ole() const { return m_ole; }
    QCheckBox *CreateCsv() const { return m_csv; }
    QCheckBox *CreateDocs() const { return m_docs; }
    QCheckBox *CreatePdfs() const { return m_pdfs; }
    QCheckBox *CreateRtfs() const { return m_rtfs; }
    QRadioButton *Ansi() const { return m_ansi; }
    QRadioButton *Utf8() const { return m_utf8; }
    QRadioButton *Utf16() const { return m_utf16; }
    QLineEdit *BasePath() const { return m_basePath; }
    QLineEdit *CsvFile() const { return m_csvFile; }
    QCheckBox *Launch() const { return m_launch; }
    QCheckBox *DialogOnComplete() const { return m_dialogOnComplete; }

    // The information shown when rich text files are chosen (also by the advanced options).
    static void ShowRichTextLimitations();

    void BrowseBasePath();
    void BrowseCsvFile();

private:
    void RichTextFilesClicked(bool checked);

    config::ExportSettings &m_working;
    QCheckBox *m_attachments;
    QCheckBox *m_ole;
    QCheckBox *m_csv;
    QCheckBox *m_docs;
    QCheckBox *m_pdfs;
    QCheckBox *m_rtfs;
    QRadioButton *m_ansi;
    QRadioButton *m_utf8;
    QRadioButton *m_utf16;
    QLineEdit *m_basePath;
    QLineEdit *m_csvFile;
    QCheckBox *m_launch;
    QCheckBox *m_dialogOnComplete;
};

}  // namespace gui
