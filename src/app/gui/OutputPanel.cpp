// The outputs part of the main dialog.
#include "OutputPanel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/UserInterface.h"

namespace gui {

namespace {

// A check box that writes its field of the working record whenever it is clicked.
QCheckBox *BoundCheckBox(const char *caption, bool &field, QWidget *parent) {
    auto *box = new QCheckBox(caption, parent);
    QObject::connect(box, &QCheckBox::toggled, parent, [&field](bool on) { field = on; });
    return box;
}

}  // namespace

OutputPanel::OutputPanel(config::ExportSettings &working, QWidget *parent)
    : QGroupBox("Output", parent),
      m_working(working),
      m_attachments(BoundCheckBox("&Attachments", working.ExtractAttachments, this)),
      m_ole(BoundCheckBox("&OLE", working.ExtractOle, this)),
      m_csv(BoundCheckBox("Create &CSV File", working.CreateCSV, this)),
      m_docs(BoundCheckBox("Create &Text/HTML Files", working.CreateDocs, this)),
      m_pdfs(BoundCheckBox("Create PDF", working.CreatePdfs, this)),
      m_rtfs(BoundCheckBox("Create &Rich Text Files", working.CreateRTFs, this)),
      m_ansi(new QRadioButton("ANSI", this)),
      m_utf8(new QRadioButton("Unicode UTF-8", this)),
      m_utf16(new QRadioButton("Unicode UTF-16", this)),
      m_basePath(new QLineEdit(this)),
      m_csvFile(new QLineEdit(this)),
      m_launch(new QCheckBox("Launc&h", this)),
      m_dialogOnComplete(new QCheckBox("&Dialog on Complete", this)) {
    auto *grid = new QGridLayout(this);
    grid->addWidget(m_attachments, 0, 0);
    grid->addWidget(m_csv, 0, 1);
    grid->addWidget(m_pdfs, 0, 2);
    grid->addWidget(m_ole, 1, 0);
    grid->addWidget(m_docs, 1, 1);
    grid->addWidget(m_rtfs, 1, 2);

    auto *encodingRow = new QHBoxLayout;
    encodingRow->addWidget(new QLabel("Encoding:", this));
    encodingRow->addWidget(m_ansi);
    encodingRow->addWidget(m_utf8);
    encodingRow->addWidget(m_utf16);
    encodingRow->addStretch();
    grid->addLayout(encodingRow, 2, 0, 1, 3);
    auto *encodings = new QButtonGroup(this);
    encodings->addButton(m_ansi, config::kEncodingAnsi);
    encodings->addButton(m_utf16, config::kEncodingUtf16);
    encodings->addButton(m_utf8, config::kEncodingUtf8);
    connect(encodings, &QButtonGroup::idClicked, this, [this](int id) { m_working.CharacterEncoding = id; });

    auto *paths = new QGridLayout;
    paths->addWidget(new QLabel("Base Path (for folders, attachments & text files)", this), 0, 0, 1, 3);
    paths->addWidget(m_basePath, 1, 0, 1, 2);
    auto *browseBase = new QPushButton("Browse", this);
    paths->addWidget(browseBase, 1, 2);
    paths->addWidget(new QLabel("CSV Summary Filename", this), 2, 0, 1, 3);
    paths->addWidget(m_csvFile, 3, 0);
    paths->addWidget(m_launch, 3, 1);
    auto *browseCsv = new QPushButton("Browse", this);
    paths->addWidget(browseCsv, 3, 2);
    paths->setColumnStretch(0, 1);
    grid->addLayout(paths, 3, 0, 1, 3);
    grid->addWidget(m_dialogOnComplete, 4, 0, 1, 3);

    connect(browseBase, &QPushButton::clicked, this, &OutputPanel::BrowseBasePath);
    connect(browseCsv, &QPushButton::clicked, this, &OutputPanel::BrowseCsvFile);
    connect(m_rtfs, &QCheckBox::clicked, this, &OutputPanel::RichTextFilesClicked);
}

void OutputPanel::Apply(const config::ExportSettings &settings, bool locations) {
    m_attachments->setChecked(settings.ExtractAttachments);
    m_ole->setChecked(settings.ExtractOle);
    m_csv->setChecked(settings.CreateCSV);
    m_docs->setChecked(settings.CreateDocs);
    m_pdfs->setChecked(settings.CreatePdfs);
    m_rtfs->setChecked(settings.CreateRTFs);
    m_ansi->setChecked(settings.CharacterEncoding == config::kEncodingAnsi);
    m_utf16->setChecked(settings.CharacterEncoding == config::kEncodingUtf16);
    m_utf8->setChecked(settings.CharacterEncoding == config::kEncodingUtf8);
    if (locations) {
        m_basePath->setText(QString::fromStdString(settings.OutputPath));
        m_csvFile->setText(QString::fromStdString(settings.SummaryFilePath));
        m_launch->setChecked(settings.LaunchOnComplete);
        m_dialogOnComplete->setChecked(settings.DialogOnComplete);
    }
}

void OutputPanel::Collect(config::ExportSettings &settings) const {
    settings.ExtractAttachments = m_attachments->isChecked();
    settings.ExtractOle = m_ole->isChecked();
    settings.CreateCSV = m_csv->isChecked();
    settings.CreateDocs = m_docs->isChecked();
    settings.CreatePdfs = m_pdfs->isChecked();
    settings.CreateRTFs = m_rtfs->isChecked();
    if (m_ansi->isChecked()) {
        settings.CharacterEncoding = config::kEncodingAnsi;
    } else if (m_utf16->isChecked()) {
        settings.CharacterEncoding = config::kEncodingUtf16;
    } else if (m_utf8->isChecked()) {
        settings.CharacterEncoding = config::kEncodingUtf8;
    }
    settings.OutputPath = m_basePath->text().toStdString();
    settings.SummaryFilePath = m_csvFile->text().toStdString();
    settings.LaunchOnComplete = m_launch->isChecked();
    settings.DialogOnComplete = m_dialogOnComplete->isChecked();
}

void OutputPanel::BrowseBasePath() {
    const std::string folder = platform::Ui().FolderName("Base Path", m_basePath->text().toStdString());
    if (!folder.empty()) {
        m_basePath->setText(QString::fromStdString(folder));
    }
}

void OutputPanel::BrowseCsvFile() {
    const std::string file = platform::Ui().SaveFileName(
        "CSV Summary Filename", "Comma Delimited (*.csv)|*.csv|Text (*.txt)|*.txt|All Files (*.*)|*.*||", "");
    if (!file.empty()) {
        m_csvFile->setText(QString::fromStdString(file));
    }
}

void OutputPanel::RichTextFilesClicked(bool checked) {
    if (checked) {
        ShowRichTextLimitations();
    }
}

void OutputPanel::ShowRichTextLimitations() {
    platform::Ui().Message(
        "Rich Text files are made by the Lotus Notes export routines, the same that the Notes client uses "
        "for 'File - Export' as 'Microsoft RTF'.\n\n"
        "Not all formatting is preserved, and some documents may not be converted at all. A document that "
        "fails to convert shows the failure in the %Errors column.\n\n"
        "For rich text fields, the \"Rich Text Advanced\" rendering of the selected fields is the "
        "alternative.",
        "Rich Text File Limitations", platform::MessageIcon::Information, platform::MessageButtons::Ok);
}

}  // namespace gui
