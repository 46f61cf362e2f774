// The "Rich Text Advanced" page.
#include "CPropertySheetOptionRT2Text.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/UserInterface.h"

namespace gui {

CPropertySheetOptionRT2Text::CPropertySheetOptionRT2Text(config::ExportSettings &sheet,
                                                         const OptionsContext &context, QWidget *parent)
    : OptionsPage(sheet, parent) {
    richtext::NotesRtfAdvancedSettings &rt = m_sheet.RtfAdvanced;
    auto *text = new QRadioButton("Text", this);
    auto *html = new QRadioButton("HTML", this);
    auto *formats = new QButtonGroup(this);
    formats->addButton(text, richtext::kOutputFormatText);
    formats->addButton(html, richtext::kOutputFormatHtml);
    text->setChecked(rt.RtfAdvancedOutputFormat == richtext::kOutputFormatText);
    html->setChecked(rt.RtfAdvancedOutputFormat == richtext::kOutputFormatHtml);

    m_textGroup = new QGroupBox("Text Only Options", this);
    auto *textOptions = new QVBoxLayout(m_textGroup);
    textOptions->addWidget(BoundCheck(m_textGroup, "Include Table Markers", rt.RtfAdvancedIncludeTableMarks));
    textOptions->addWidget(
        BoundCheck(m_textGroup, "Include Image Markers", rt.RtfAdvancedIncludeImageMarkers));
    textOptions->addStretch();
    m_htmlGroup = new QGroupBox("HTML Only Options", this);
    auto *htmlOptions = new QVBoxLayout(m_htmlGroup);
    htmlOptions->addWidget(
        BoundCheck(m_htmlGroup, "Enable Notes Document Links", rt.RtfAdvancedEnableNotesLinks));
    htmlOptions->addWidget(BoundCheck(m_htmlGroup, "Enable URL Links", rt.RtfAdvancedEnableUrlLinks));
    htmlOptions->addWidget(BoundCheck(m_htmlGroup, "Enable Attachment Links", rt.RtfAdvancedEnableAttLinks));
    m_relativeUrls = new QCheckBox("URL References In Relative Format", m_htmlGroup);
    m_relativeUrls->setChecked(rt.RtfAdvancedUrlRefFormat != 0);
    connect(m_relativeUrls, &QCheckBox::toggled, this,
            [this](bool on) { m_sheet.RtfAdvanced.RtfAdvancedUrlRefFormat = on ? 1 : 0; });
    htmlOptions->addWidget(m_relativeUrls);
    htmlOptions->addWidget(BoundCheck(m_htmlGroup, "Include HTML Doc Elements (<body>, <head> etc)",
                                      rt.RtfAdvancedIncludeDocElements));

    m_exportLinks = BoundCheck(this, "Export Notes Links", rt.RtfAdvancedExportNotesLinks);
    m_notesUrls = BoundCheck(this, "Include as Notes URL", rt.RtfAdvancedIncludeNotesLinks);
    m_images =
        BoundCheck(this, "Extract images to files for GIF and JPEG. Also BMP as GIF but only with Notes 6.0+",
                   rt.RtfAdvancedExportImages);

    m_imageControls = new QWidget(this);
    m_method = BoundChoice(m_imageControls, "RtfAdvancedExtractMethod",
                           {{"To Count Subdir", richtext::kImageDirCount},
                            {"To Universal ID Subdir", richtext::kImageDirUniversalId},
                            {"To Base Export Directory", richtext::kImageDirBase},
                            {"To Directory Named By Field Value", richtext::kImageDirFieldValue},
                            {"To Specific Path", richtext::kImageDirSpecificPath}},
                           rt.RtfAdvancedExtractMethod);
    auto *prefix =
        BoundChoice(m_imageControls, "RtfAdvancedImageFilePrefixMethod",
                    Captions({"None", "Count", "Universal ID"}), rt.RtfAdvancedImageFilePrefixMethod);
    m_fieldLabel = new QLabel("Field Name", m_imageControls);
    m_field = ItemNameCombo(m_imageControls, "RtfAdvancedValueFieldName", context.availableFields,
                            rt.RtfAdvancedValueFieldName);
    m_maxLabel = new QLabel("Maximum Value Length", m_imageControls);
    m_maxLength =
        BoundNumber(m_imageControls, "RtfAdvancedFieldValueMaxLength", rt.RtfAdvancedFieldValueMaxLength);
    m_pathLabel = new QLabel("Specific Path", m_imageControls);
    m_path = BoundText(m_imageControls, "RtfAdvancedExtractPath", rt.RtfAdvancedExtractPath);
    m_browse = new QPushButton("Browse", m_imageControls);

    auto *images = new QGridLayout(m_imageControls);
    images->setContentsMargins(20, 0, 0, 0);
    images->addWidget(new QLabel("Extract Method", m_imageControls), 0, 0);
    images->addWidget(m_method, 0, 1, 1, 2);
    images->addWidget(new QLabel("Prefix Image Filename", m_imageControls), 1, 0);
    images->addWidget(prefix, 1, 1, 1, 2);
    images->addWidget(m_fieldLabel, 2, 0);
    images->addWidget(m_field, 2, 1, 1, 2);
    images->addWidget(m_maxLabel, 3, 0);
    images->addWidget(m_maxLength, 3, 1, Qt::AlignLeft);
    images->addWidget(m_pathLabel, 4, 0);
    images->addWidget(m_path, 4, 1);
    images->addWidget(m_browse, 4, 2);
    images->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("(Applies to selected fields checked for Rich Text Advanced Format)", this));
    auto *formatRow = new QHBoxLayout;
    formatRow->addWidget(new QLabel("Output Format:", this));
    formatRow->addWidget(text);
    formatRow->addWidget(html);
    formatRow->addStretch();
    layout->addLayout(formatRow);
    auto *groups = new QHBoxLayout;
    groups->addWidget(m_textGroup);
    groups->addWidget(m_htmlGroup, 1);
    layout->addLayout(groups);
    layout->addWidget(BoundCheck(this, "Include Attachment Markers", rt.RtfAdvancedIncludeAttMarkers));
    layout->addWidget(m_exportLinks);
    layout->addWidget(m_notesUrls);
    layout->addWidget(BoundCheck(this, "JavaScript in Script Library", rt.RtfAdvancedJavascriptAsLibrary));
    layout->addWidget(m_images);
    layout->addWidget(m_imageControls);
    layout->addStretch();

    connect(formats, &QButtonGroup::idClicked, this, [this](int id) {
        m_sheet.RtfAdvanced.RtfAdvancedOutputFormat = id;
        UpdateControls();
    });
    connect(m_exportLinks, &QCheckBox::toggled, this, [this](bool on) { LinksToggled(m_exportLinks, on); });
    connect(m_notesUrls, &QCheckBox::toggled, this, [this](bool on) { LinksToggled(m_notesUrls, on); });
    connect(m_images, &QCheckBox::toggled, this, &CPropertySheetOptionRT2Text::UpdateControls);
    connect(m_images, &QCheckBox::clicked, this, [](bool checked) {
        if (checked) {
            platform::Ui().Message(
                "NOTE: Images are only extracted from the rich text fields you selected.\n\n"
                "I.e. Rich text fields selected in the 'Export fields' list (main screen)",
                "Information", platform::MessageIcon::Information, platform::MessageButtons::Ok);
        }
    });
    connect(m_method, &QComboBox::currentIndexChanged, this, &CPropertySheetOptionRT2Text::UpdateControls);
    connect(m_browse, &QPushButton::clicked, this, &CPropertySheetOptionRT2Text::Browse);
    UpdateControls();
}

void CPropertySheetOptionRT2Text::LinksToggled(QCheckBox *changed, bool on) {
    // With text output the two link options go together; with HTML a Notes URL needs exported links.
    const bool html = m_sheet.RtfAdvanced.RtfAdvancedOutputFormat == richtext::kOutputFormatHtml;
    if (!html) {
        (changed == m_exportLinks ? m_notesUrls : m_exportLinks)->setChecked(on);
    } else if (changed == m_notesUrls && on) {
        m_exportLinks->setChecked(true);
    } else if (changed == m_exportLinks && !on) {
        m_notesUrls->setChecked(false);
    }
}

void CPropertySheetOptionRT2Text::UpdateControls() {
    const bool html = m_sheet.RtfAdvanced.RtfAdvancedOutputFormat == richtext::kOutputFormatHtml;
    m_textGroup->setEnabled(!html);
    m_htmlGroup->setEnabled(html);
    // The relative form of URL references is not offered in either format.
    m_relativeUrls->setEnabled(false);
    const bool images = m_images->isChecked();
    const int method = m_sheet.RtfAdvanced.RtfAdvancedExtractMethod;
    m_imageControls->setVisible(images);
    const bool byField = method == richtext::kImageDirFieldValue;
    m_fieldLabel->setVisible(byField);
    m_field->setVisible(byField);
    m_maxLabel->setVisible(byField);
    m_maxLength->setVisible(byField);
    const bool specific = method == richtext::kImageDirSpecificPath;
    m_pathLabel->setVisible(specific);
    m_path->setVisible(specific);
    m_browse->setVisible(specific);
}

void CPropertySheetOptionRT2Text::Browse() {
    const std::string folder =
        platform::Ui().FolderName("Specific Path", m_sheet.RtfAdvanced.RtfAdvancedExtractPath);
    if (!folder.empty()) {
        m_path->setText(ToQ(folder));
    }
}

}  // namespace gui
