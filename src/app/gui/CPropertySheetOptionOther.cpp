// The "Create PDFs" page.
#include "CPropertySheetOptionOther.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "NamingMethodControls.h"
#include "platform/UserInterface.h"

namespace gui {

namespace {

constexpr int kMinimumTimeOut = 100;
constexpr int kFirstVersion = 2;
constexpr int kLastVersion = 8;

}  // namespace

CPropertySheetOptionOther::CPropertySheetOptionOther(config::ExportSettings &sheet,
                                                     const OptionsContext &context, QWidget *parent)
    : OptionsPage(sheet, parent) {
    m_create =
        BoundCheck(this, "Create PDF File Type (one file for each Notes document)", m_sheet.CreatePdfs);
    m_details = new QWidget(this);

    // Versions show as "2.X" to "8.X" and are stored as "pdfFactory2" to "pdfFactory8"; a stored name
    // outside them shows as the default version.
    auto *version = new QComboBox(m_details);
    version->setObjectName("PdfVersionString");
    for (int major = kFirstVersion; major <= kLastVersion; ++major) {
        version->addItem(QString("%1.X").arg(major), QString("pdfFactory%1").arg(major));
    }
    int versionIndex = version->findData(ToQ(m_sheet.PdfVersionString));
    version->setCurrentIndex(versionIndex >= 0 ? versionIndex
                                               : version->findData(config::kPdfVersionDefault));
    auto *edition = new QComboBox(m_details);
    edition->setObjectName("PdfEditionString");
    edition->addItem("Standard", config::kPdfEditionStandard);
    edition->addItem("Professional", config::kPdfEditionPro);
    edition->setCurrentIndex(m_sheet.PdfEditionString == config::kPdfEditionStandard ? 0 : 1);
    m_timeOut = new QLineEdit(QString::number(m_sheet.PdfTimeOut), m_details);
    m_timeOut->setObjectName("PdfTimeOut");
    m_timeOut->setMaximumWidth(90);
    m_naming = new NamingMethodControls(m_details, context.availableFields, m_sheet.PdfFormatNameFormat,
                                        m_sheet.PdfFormatFieldValueAppend, m_sheet.PdfFormatAppendFieldName,
                                        m_sheet.PdfFormatFieldValueMaxLength);

    auto *details = new QGridLayout(m_details);
    details->setContentsMargins(0, 0, 0, 0);
    details->addWidget(new QLabel("pdfFactory Version", m_details), 0, 0);
    details->addWidget(version, 0, 1, Qt::AlignLeft);
    details->addWidget(new QLabel("pdfFactory Edition", m_details), 1, 0);
    details->addWidget(edition, 1, 1, Qt::AlignLeft);
    details->addWidget(new QLabel("pdfFactory Timeout (milliseconds)", m_details), 2, 0);
    details->addWidget(m_timeOut, 2, 1, Qt::AlignLeft);
    details->addWidget(m_naming, 3, 0, 1, 3);
    details->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_create);
    layout->addWidget(m_details);
    layout->addStretch();

    connect(version, &QComboBox::currentIndexChanged, this, [this, version](int index) {
        m_sheet.PdfVersionString =
            index >= 0 ? version->itemData(index).toString().toStdString() : config::kPdfVersionDefault;
    });
    connect(edition, &QComboBox::currentIndexChanged, this, [this, edition](int index) {
        if (index >= 0) {
            m_sheet.PdfEditionString = edition->itemData(index).toString().toStdString();
        }
    });
    connect(m_timeOut, &QLineEdit::editingFinished, this, &CPropertySheetOptionOther::TakeTimeOut);
    connect(m_create, &QCheckBox::toggled, m_details, &QWidget::setVisible);
    m_details->setVisible(m_create->isChecked());
}

bool CPropertySheetOptionOther::CanLeave() {
    TakeTimeOut();
    return true;
}

void CPropertySheetOptionOther::TakeTimeOut() {
    const std::int32_t value = ReadNumber(m_timeOut->text());
    if (value >= kMinimumTimeOut) {
        m_sheet.PdfTimeOut = value;
        return;
    }
    m_sheet.PdfTimeOut = kMinimumTimeOut;
    m_timeOut->setText(QString::number(kMinimumTimeOut));
    platform::Ui().Message("Minimum Pdf time out has been reset to the minimum of 100 milliseconds",
                           "Invalid Value", platform::MessageIcon::Exclamation, platform::MessageButtons::Ok);
}

}  // namespace gui
