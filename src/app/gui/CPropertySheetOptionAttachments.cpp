// The "Attachments/OLE" page.
#include "CPropertySheetOptionAttachments.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/UserInterface.h"

namespace gui {

namespace {

std::vector<std::pair<QString, int>> MethodChoices() {
    std::vector<std::pair<QString, int>> choices;
    for (const char *caption : config::kDetachMethodCaptions) {
        choices.emplace_back(caption, static_cast<int>(choices.size()));
    }
    return choices;
}

}  // namespace

CPropertySheetOptionAttachments::CPropertySheetOptionAttachments(config::ExportSettings &sheet,
                                                                 const OptionsContext &context,
                                                                 QWidget *parent)
    : OptionsPage(sheet, parent) {
    m_attachments = BoundCheck(this, "Extract attachments", m_sheet.ExtractAttachments);
    m_ole = BoundCheck(this, "OLE", m_sheet.ExtractOle);
    m_methodLabel = new QLabel("Extract Method", this);
    m_method = BoundChoice(this, "DetachMethod", MethodChoices(), m_sheet.DetachMethod);
    m_prefixLabel = new QLabel("Prefix Attachment Name", this);
    m_prefix = BoundChoice(this, "AttPrefixOption", Captions({"None", "Count", "Universal ID"}),
                           m_sheet.AttPrefixOption);
    m_fieldLabel = new QLabel("Field Name", this);
    m_fieldName =
        ItemNameCombo(this, "DetachByFieldName", context.availableFields, m_sheet.DetachByFieldName);
    m_maxLabel = new QLabel("Maximum Value Length", this);
    m_maxLength =
        BoundNumber(this, "DetachByFieldNameValueMaxLength", m_sheet.DetachByFieldNameValueMaxLength);
    m_formulaLabel = new QLabel("Lotus Notes Formula to Compute Relative Path Name", this);
    m_formula = new QPlainTextEdit(ToQ(m_sheet.DetachMethodEvalString), this);
    m_formula->setObjectName("DetachMethodEvalString");
    m_subdirs = BoundCheck(
        this, "Create subdirectories for each backslash (\\) in the field or fomula computed value",
        m_sheet.AttCreateSubDirs);

    auto *grid = new QGridLayout(this);
    grid->addWidget(m_attachments, 0, 0, 1, 2);
    grid->addWidget(m_ole, 1, 0, 1, 2);
    grid->addWidget(m_methodLabel, 2, 0);
    grid->addWidget(m_method, 2, 1);
    grid->addWidget(m_prefixLabel, 3, 0);
    grid->addWidget(m_prefix, 3, 1);
    grid->addWidget(m_fieldLabel, 4, 0);
    grid->addWidget(m_fieldName, 4, 1);
    grid->addWidget(m_maxLabel, 5, 0);
    grid->addWidget(m_maxLength, 5, 1, Qt::AlignLeft);
    grid->addWidget(m_formulaLabel, 6, 0, 1, 2);
    grid->addWidget(m_formula, 7, 0, 1, 3);
    grid->addWidget(m_subdirs, 8, 0, 1, 2);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(9, 1);

    connect(m_formula, &QPlainTextEdit::textChanged, this,
            [this]() { m_sheet.DetachMethodEvalString = m_formula->toPlainText().toStdString(); });
    connect(m_attachments, &QCheckBox::toggled, this, &CPropertySheetOptionAttachments::UpdateVisibility);
    connect(m_ole, &QCheckBox::toggled, this, &CPropertySheetOptionAttachments::UpdateVisibility);
    connect(m_method, &QComboBox::currentIndexChanged, this,
            &CPropertySheetOptionAttachments::UpdateVisibility);
    connect(m_ole, &QCheckBox::clicked, this, [](bool checked) {
        if (checked) {
            platform::Ui().Message(
                "OLE export extracts the raw OLE information to an *.OLE file from\n"
                "which you can extract the original file (Tif, Doc etc).\n"
                "Usually you search for binary characters or a fixed offset to remove the "
                "OLE layer.",
                "OLE Information", platform::MessageIcon::Information, platform::MessageButtons::Ok);
        }
    });
    UpdateVisibility();
}

void CPropertySheetOptionAttachments::UpdateVisibility() {
    const bool any = m_attachments->isChecked() || m_ole->isChecked();
    const int method = m_sheet.DetachMethod;
    const bool byField = any && method == config::kDetachToFieldValueDirectory;
    const bool byFormula = any && method == config::kDetachToFormulaDirectory;
    const bool prefix = any && !byField && !byFormula && m_attachments->isChecked();
    m_methodLabel->setVisible(any);
    m_method->setVisible(any);
    m_prefixLabel->setVisible(prefix);
    m_prefix->setVisible(prefix);
    m_fieldLabel->setVisible(byField);
    m_fieldName->setVisible(byField);
    m_maxLabel->setVisible(byField);
    m_maxLength->setVisible(byField);
    m_formulaLabel->setVisible(byFormula);
    m_formula->setVisible(byFormula);
    m_subdirs->setVisible(byField || byFormula);
}

}  // namespace gui
