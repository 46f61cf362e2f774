// Decoding of composite-data records into model values, one handler per record signature.
#include "richtext/CompositeReader.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "notes/ByteReader.h"
#include "notes/capi/CompositeRecords.h"
#include "platform/Paths.h"

namespace richtext {

namespace cd = notes::cd;

namespace {

using Bytes = std::span<const std::uint8_t>;

// Layout fields the shared header leaves out.
constexpr std::size_t kBarTitleAfterColor = cd::kBarTitle + 2;  // CDBAR title after the colour word
constexpr std::size_t kBorderTop = 10;                          // WORD CDBORDERINFO top width, pixels
constexpr std::size_t kBorderLeft = 12;                         // WORD left width
constexpr std::size_t kBorderBottom = 14;                       // WORD bottom width
constexpr std::size_t kBorderRight = 16;                        // WORD right width

// Hotspot kinds with an end action.
constexpr int kHotspotNone = 0;
constexpr int kHotspotSectionBody = 1;
constexpr int kHotspotUrl = 2;
constexpr int kHotspotAttachment = 3;
// Graphic kinds.
constexpr int kGraphicNone = 0;
constexpr int kGraphicSegments = 1;
constexpr int kGraphicBitmap = 2;
constexpr int kGraphicLinked = 3;

std::int32_t Pixels(std::int64_t twips, float twipsPerPixel) {
    return static_cast<std::int32_t>(static_cast<float>(twips) / twipsPerPixel);
}

std::string RgbAt(const notes::ByteReader &r, std::size_t offset) {
    return RgbColor(r.Byte(offset), r.Byte(offset + 1), r.Byte(offset + 2));
}

// The server hint of a link: "CN=" and everything from the first "/" after it removed.
std::string ServerHint(std::string hint) {
    if (hint.rfind("CN=", 0) != 0) {
        return hint;
    }
    hint.erase(0, 3);
    const std::size_t slash = hint.find('/');
    if (slash != std::string::npos) {
        hint.erase(slash);
    }
    return hint;
}

}  // namespace

struct CompositeReader::Graphic {
    int kind = kGraphicNone;
    std::uint32_t segmentCount = 0;
    std::uint16_t imageType = 0;
    std::uint32_t segmentsWritten = 0;
    bool fileFailed = false;
    std::FILE *file = nullptr;
    std::uint32_t bitmap = 0;
    NotesImage image;

    ~Graphic() {
        if (file != nullptr) {
            std::fclose(file);
        }
    }
};

CompositeReader::CompositeReader(const NotesRtfAdvancedSettings &options, RenderState &state,
                                 NoteServices &services, RichTextSink &sink, RecordObserver *observer)
    : m_options(options),
      m_state(state),
      m_services(services),
      m_sink(sink),
      m_observer(observer),
      m_html(options.RtfAdvancedOutputFormat == kOutputFormatHtml) {}

CompositeReader::~CompositeReader() {
    if (m_graphic && m_graphic->bitmap != 0) {
        m_services.BitmapFree(m_graphic->bitmap);
    }
}

bool CompositeReader::Record(std::uint16_t signature, Bytes record) {
    if (m_observer != nullptr) {
        m_observer->Record(signature, record.size());
    }
    const bool images = m_options.RtfAdvancedExportImages;
    switch (signature) {
        case cd::kSigPabDefinition:
            return ParagraphDefinition(record);
        case cd::kSigPabReference:
            return ParagraphReference(record);
        case cd::kSigParagraph:
            m_sink.ParagraphMark();
            return true;
        case cd::kSigText:
            return TextRecord(record);
        case cd::kSigTextEffect: {
            const notes::ByteReader r(record);
            m_pendingFont = FontId::FromStored(r.Dword(cd::kTextEffectFont));
            m_hasPendingFont = !r.Overrun();
            return !r.Overrun();
        }
        case cd::kSigTableBegin:
        case cd::kSigNestedTableBegin:
            return TableBeginRecord(record);
        case cd::kSigPreTableBegin:
            return TableExtensionRecord(record);
        case cd::kSigTableDataExtension:
            return TableLabelFontRecord(record);
        case cd::kSigTableCell:
        case cd::kSigNestedTableCell:
            return TableCellRecord(record);
        case cd::kSigTableLabel:
            return TableLabelRecord(record);
        case cd::kSigTableEnd:
        case cd::kSigNestedTableEnd:
            m_sink.TableEnd();
            return true;
        case cd::kSigBar:
            return SectionBarRecord(record);
        case cd::kSigV6HotspotBegin:
        case cd::kSigV5HotspotBegin:
        case cd::kSigHotspotBegin:
        case cd::kSigV4HotspotBegin:
            return HotspotBegin(record);
        case cd::kSigV5HotspotEnd:
        case cd::kSigHotspotEnd:
        case cd::kSigV4HotspotEnd:
            HotspotEnd();
            return true;
        case cd::kSigLink2:
            return LinkRecord(record);
        case cd::kSigLinkExport2:
            return LinkExportRecord(record);
        case cd::kSigGraphic:
            return !images || GraphicRecord(record);
        case cd::kSigImageHeader:
            return !images || ImageHeaderRecord(record);
        case cd::kSigImageSegment:
            return !images || ImageSegmentRecord(record);
        case cd::kSigBitmapHeader:
            return !images || BitmapHeaderRecord(record);
        case cd::kSigBitmapSegment:
        case cd::kSigColorTable:
        case cd::kSigPatternTable:
        case cd::kSigTransparentTable:
            if (images) {
                BitmapRecord(signature, record);
            }
            return true;
        case cd::kSigStorageLink:
            return !images || StorageLinkRecord(record);
        case cd::kSigAltText:
            return !images || AltTextRecord(record);
        case cd::kSigBorderInfo:
            return !images || BorderRecord(record);
        case cd::kSigOleObjInfo: {
            // The "$FILE" object holding the OLE object's storage is named after the fixed part.
            const notes::ByteReader r(record);
            const std::string_view name = r.Bytes(cd::kOleObjInfoSize, r.Word(cd::kOleInfoFileNameLength));
            if (r.Overrun()) {
                return false;
            }
            m_sink.OleObject(m_services.Text(name));
            return true;
        }
        default:
            Ignore("ignored");
            return true;
    }
}

void CompositeReader::Finish() {
    FinishGraphic();
}

void CompositeReader::Ignore(std::string_view what) {
    if (m_observer != nullptr) {
        m_observer->Note(what);
    }
}

std::string CompositeReader::FaceName(unsigned face) {
    if (face < kStandardFaceCount) {
        return StandardFaceName(face);
    }
    std::string name = m_services.TableFace(face);
    return name.empty() ? kFallbackFace : name;
}

NotesFont CompositeReader::Font(FontId id) {
    return NotesFont{id, FaceName(id.face)};
}

bool CompositeReader::ParagraphDefinition(Bytes record) {
    const notes::ByteReader r(record);
    const float t = m_options.TwipsPerPixelX;
    auto style = std::make_unique<NotesParagraph>();
    NotesParagraph &p = *style;
    p.id = r.Word(cd::kPabId);
    p.alignment = r.Word(cd::kPabJustify);
    const std::uint16_t flags = r.Word(cd::kPabFlags);
    p.list = (flags & cd::kPabFlagBullet) != 0         ? kListBulleted
             : (flags & cd::kPabFlagNumberedList) != 0 ? kListNumbered
                                                       : kListNone;
    if (const std::uint16_t spacing = r.Word(cd::kPabLineSpacing); spacing != 0) {
        p.lineHeight = static_cast<float>((spacing >> 1) + 1);
    }
    if (const std::uint16_t before = r.Word(cd::kPabSpacingBefore); before != 0) {
        p.spaceBefore = static_cast<float>(before) / 2.0f;
    }
    if (const std::uint16_t after = r.Word(cd::kPabSpacingAfter); after != 0) {
        p.spaceAfter = static_cast<float>(after) / 2.0f;
    }
    const std::uint16_t flags2 = r.Word(cd::kPabFlags2);
    if ((flags2 & cd::kPabFlag2LmDefault) != 0) {
        p.leftMargin = Pixels(1440, t);
        p.leftKind = kMarginOffset;
        p.leftDefault = true;
    } else if ((flags2 & cd::kPabFlag2LmOffset) != 0) {
        p.leftMargin = Pixels(r.Word(cd::kPabLeftOffset), t);
        p.leftKind = kMarginOffset;
    } else if ((flags2 & cd::kPabFlag2LmPercent) != 0) {
        p.leftMargin = r.Word(cd::kPabLeftPercent);
        p.leftKind = kMarginPercent;
    } else {
        p.leftMargin = Pixels(r.Word(cd::kPabLeftMargin), t);
        p.leftKind = kMarginAbsolute;
    }
    if ((flags2 & cd::kPabFlag2FirstDefault) != 0) {
        p.firstLineIndent = 0;
        p.firstLineKind = kMarginOffset;
    } else if ((flags2 & cd::kPabFlag2FirstOffset) != 0) {
        p.firstLineIndent = Pixels(std::int64_t{r.Word(cd::kPabFirstOffset)} - r.Word(cd::kPabLeftOffset), t);
        p.firstLineKind = kMarginOffset;
    } else if ((flags2 & cd::kPabFlag2FirstPercent) != 0) {
        p.firstLineIndent = std::int32_t{r.Word(cd::kPabFirstPercent)} - r.Word(cd::kPabLeftPercent);
        p.firstLineKind = kMarginPercent;
    } else {
        p.firstLineIndent =
            Pixels(std::int64_t{r.Word(cd::kPabFirstLineMargin)} - r.Word(cd::kPabLeftMargin), t);
        p.firstLineKind = kMarginAbsolute;
    }
    if ((flags2 & cd::kPabFlag2RmDefault) != 0) {
        p.rightMargin = 0;
        p.rightKind = kMarginOffset;
        p.rightDefault = true;
    } else if ((flags2 & cd::kPabFlag2RmOffset) != 0) {
        p.rightMargin = Pixels(r.Word(cd::kPabRightOffset), t);
        p.rightKind = kMarginOffset;
    } else if ((flags2 & cd::kPabFlag2RmPercent) != 0) {
        p.rightMargin = 100 - std::int32_t{r.Word(cd::kPabRightPercent)};
        p.rightKind = kMarginPercent;
    } else {
        p.rightMargin = Pixels(r.Word(cd::kPabRightMargin), t);
        p.rightKind = kMarginAbsolute;
    }
    p.defaultRightMargin = Pixels(1440, t);
    if (r.Overrun()) {
        return false;
    }
    m_styles.push_back(std::move(style));
    Ignore("paragraph style defined");
    return true;
}

bool CompositeReader::ParagraphReference(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t id = r.Word(cd::kPabRefId);
    if (r.Overrun()) {
        return false;
    }
    for (const auto &style : m_styles) {
        if (style->id == id) {
            m_sink.ParagraphStyle(*style);
            return true;
        }
    }
    m_sink.ParagraphStyle(NotesParagraph::Default());
    return true;
}

bool CompositeReader::TextRecord(Bytes record) {
    const notes::ByteReader r(record);
    FontId font = FontId::FromStored(r.Dword(cd::kTextFont));
    const std::string_view lmbcs =
        r.Bytes(cd::kTextChars, record.size() - std::min(record.size(), cd::kTextChars));
    if (r.Overrun()) {
        return false;
    }
    if (m_hasPendingFont) {
        font = m_pendingFont;
        m_hasPendingFont = false;
    }
    if (m_options.RtfAdvancedExportImages) {
        FinishGraphic();
    }
    m_sink.TextRun(Font(font), m_services.Text(lmbcs));
    return true;
}

bool CompositeReader::TableExtensionRecord(Bytes record) {
    const notes::ByteReader r(record);
    TableExtension extension;
    extension.color1 = RgbAt(r, cd::kPreTableColor1);
    extension.color2 = RgbAt(r, cd::kPreTableColor2);
    extension.innerBorderColor = RgbAt(r, cd::kPreTableInnerBorder + cd::kColorValueRed);
    extension.tabbed = (r.Dword(cd::kPreTableFlags) & cd::kPreTableFlagTabbed) != 0 ||
                       (r.Byte(cd::kPreTableViewerType) & cd::kTableViewerTabs) != 0;
    if (r.Overrun()) {
        return false;
    }
    m_sink.TableExtension(extension);
    return true;
}

bool CompositeReader::TableBeginRecord(Bytes record) {
    const notes::ByteReader r(record);
    TableBeginValues values;
    values.leftMargin = r.Word(cd::kTableLeftMargin);
    values.horizontalPadding = Pixels(r.Word(cd::kTableV4HorizSpace), m_options.TwipsPerPixelX);
    values.verticalPadding = Pixels(r.Word(cd::kTableV4VertSpace), m_options.TwipsPerPixelY);
    values.flags = r.Word(cd::kTableFlags);
    if (r.Overrun()) {
        return false;
    }
    values.fullWidth = (values.flags & cd::kTableFlagAutoCellWidth) != 0;
    values.alignment = (values.flags & cd::kTableFlagAlignedRight) != 0    ? kTableRight
                       : (values.flags & cd::kTableFlagAlignedCenter) != 0 ? kTableCentred
                                                                           : kTableLeft;
    values.alternate = (values.flags & cd::kTableFlagAlternatingCols) != 0   ? kAlternateColumns
                       : (values.flags & cd::kTableFlagAlternatingRows) != 0 ? kAlternateRows
                                                                             : kAlternateNone;
    m_sink.TableBegin(values);
    return true;
}

bool CompositeReader::TableLabelFontRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t length = r.Word(cd::kTableExtLabelFontLength);
    if (length == 0) {
        Ignore("no label font");
        return !r.Overrun();
    }
    const FontId font = FontId::FromStored(r.Dword(cd::kTableExtLabelFont));
    if (r.Overrun()) {
        return false;
    }
    m_sink.TableLabelFont(Font(font));
    return true;
}

bool CompositeReader::TableCellRecord(Bytes record) {
    const notes::ByteReader r(record);
    const float t = m_options.TwipsPerPixelX;
    NotesTableCell cell;
    cell.row = r.Byte(cd::kCellRow);
    cell.column = r.Byte(cd::kCellColumn);
    const std::uint16_t left = r.Word(cd::kCellLeftMargin);
    const std::uint16_t right = r.Word(cd::kCellRightMargin);
    cell.width = Pixels(std::int64_t{right} - left, t);
    cell.percentWidth = static_cast<float>(r.Word(cd::kCellFractionalWidth)) / 1440.0f * 5.0f;
    cell.leftMargin = static_cast<std::int16_t>(Pixels(left, t));
    cell.rightMargin = static_cast<std::int16_t>(Pixels(right, t));
    cell.flags = r.Byte(cd::kCellFlags);
    cell.rowSpan = r.Byte(cd::kCellRowSpan);
    cell.columnSpan = r.Byte(cd::kCellColumnSpan);
    cell.background = PaletteColor(r.Word(cd::kCellBackground));
    if ((cell.flags & cd::kCellFlagV42Borders) != 0) {
        const std::uint16_t b = r.Word(cd::kCellV42Border);
        cell.borderLeft = b & 0xF;
        cell.borderRight = (b >> 4) & 0xF;
        cell.borderTop = (b >> 8) & 0xF;
        cell.borderBottom = (b >> 12) & 0xF;
    } else {
        const std::uint8_t b = r.Byte(cd::kCellBorder);
        cell.borderLeft = b & 0x3;
        cell.borderRight = (b >> 2) & 0x3;
        cell.borderTop = (b >> 4) & 0x3;
        cell.borderBottom = (b >> 6) & 0x3;
    }
    if (r.Overrun()) {
        return false;
    }
    m_sink.TableCell(cell);
    return true;
}

bool CompositeReader::TableLabelRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::string_view label = r.CString(cd::kTableLabelText);
    const std::uint16_t flags = r.Word(cd::kTableLabelFlags);
    if (r.Overrun()) {
        return false;
    }
    m_sink.TableLabel(m_services.Text(label), flags);
    return true;
}

bool CompositeReader::SectionBarRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint32_t flags = r.Dword(cd::kBarFlags);
    NotesSection section;
    section.expanded = (flags & cd::kBarFlagExpanded) != 0;
    section.titleFont = Font(FontId::FromStored(r.Dword(cd::kBarFont)));
    std::size_t titleAt = cd::kBarTitle;
    if ((flags & cd::kBarFlagHasColor) != 0) {
        section.titleColor = r.Word(cd::kBarTitle);
        titleAt = kBarTitleAfterColor;
    }
    const std::string_view title = r.Bytes(titleAt, record.size() - std::min(record.size(), titleAt));
    if (r.Overrun()) {
        return false;
    }
    section.title =
        (flags & cd::kBarFlagIsFormula) != 0 ? m_services.EvaluateFormula(title) : m_services.Text(title);
    section.number = ++m_state.SectionNumber;
    m_sink.SectionBar(section);
    return true;
}

bool CompositeReader::HotspotBegin(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t type = r.Word(cd::kHotspotType);
    const std::uint32_t flags = r.Dword(cd::kHotspotFlags);
    const std::uint16_t dataLength = r.Word(cd::kHotspotDataLength);
    const std::string_view data = r.Bytes(cd::kHotspotData, dataLength);
    if (r.Overrun()) {
        return false;
    }
    if (type == cd::kHotspotFile && dataLength != 0) {
        const notes::ByteReader d(data.data(), data.size());
        const std::string_view internalName = d.CString(0);
        const std::string_view fileName = d.CString(std::min(data.size(), internalName.size() + 1));
        m_hotspots.push_back(kHotspotAttachment);
        m_sink.AttachmentBegin(
            m_services.Attachment(m_services.Text(internalName), m_services.Text(fileName)));
        return true;
    }
    if (type == cd::kHotspotHotLink && m_html && m_options.RtfAdvancedEnableUrlLinks) {
        m_hotspots.push_back(kHotspotUrl);
        if ((flags & cd::kHotspotFlagInotes) != 0) {
            const std::string url = m_services.Text(data.substr(0, data.find('\0')));
            m_sink.UrlBegin(&url);
        } else {
            m_sink.UrlBegin(nullptr);
        }
        return true;
    }
    if (type == cd::kHotspotBundle) {
        m_hotspots.push_back(kHotspotSectionBody);
        m_sink.SectionBodyBegin();
        return true;
    }
    // Other hotspots (and links the options leave out) only need their end matched.
    m_hotspots.push_back(kHotspotNone);
    Ignore("hotspot without output");
    return true;
}

void CompositeReader::HotspotEnd() {
    if (m_hotspots.empty()) {
        Ignore("hotspot end without a begin");
        return;
    }
    const int kind = m_hotspots.back();
    m_hotspots.pop_back();
    switch (kind) {
        case kHotspotSectionBody:
            m_sink.SectionBodyEnd();
            return;
        case kHotspotUrl:
            FinishGraphic();
            m_sink.UrlEnd();
            return;
        case kHotspotAttachment:
            if (m_html && m_options.RtfAdvancedEnableAttLinks) {
                FinishGraphic();
            }
            m_sink.AttachmentEnd();
            return;
        default:
            Ignore("end of a hotspot without output");
            return;
    }
}

// The comment starts at tail's beginning; the server hint follows its NUL when the record holds one.
void CompositeReader::EmitLink(NotesLink link, std::string_view tail) {
    const notes::ByteReader t(tail.data(), tail.size());
    const std::string_view comment = t.CString(0);
    link.comment = m_services.Text(comment);
    if (comment.size() < tail.size()) {
        link.server = ServerHint(m_services.Text(t.CString(comment.size() + 1)));
    }
    m_sink.NotesLinkRef(link);
}

bool CompositeReader::LinkRecord(Bytes record) {
    if (!m_options.RtfAdvancedExportNotesLinks) {
        Ignore("document links not exported");
        return true;
    }
    const notes::ByteReader r(record);
    const std::uint16_t index = r.Word(cd::kLink2Index);
    if (r.Overrun()) {
        return false;
    }
    NotesLink link;
    if (!m_services.Link(index, link)) {
        Ignore("no such $Links entry");
        return true;
    }
    const std::size_t at = std::min(record.size(), cd::kLink2Comment);
    EmitLink(std::move(link), r.Bytes(at, record.size() - at));
    return true;
}

bool CompositeReader::LinkExportRecord(Bytes record) {
    if (!m_options.RtfAdvancedIncludeNotesLinks) {
        Ignore("exported links not included");
        return true;
    }
    const notes::ByteReader r(record);
    NotesLink link;
    const std::size_t at = cd::kLinkExportLink;
    for (std::size_t i = 0; i < 2; ++i) {
        link.replica[i] = r.Dword(at + 4 * i);
    }
    for (std::size_t i = 0; i < 4; ++i) {
        link.view[i] = r.Dword(at + 8 + 4 * i);
        link.note[i] = r.Dword(at + 24 + 4 * i);
    }
    if (r.Overrun() || record.size() < cd::kLinkExportComment) {
        return false;
    }
    EmitLink(std::move(link), r.Bytes(cd::kLinkExportComment, record.size() - cd::kLinkExportComment));
    return true;
}

bool CompositeReader::GraphicRecord(Bytes record) {
    const notes::ByteReader r(record);
    auto graphic = std::make_unique<Graphic>();
    graphic->image.width = Pixels(r.Word(cd::kGraphicDestWidth), m_options.TwipsPerPixelX);
    graphic->image.height = Pixels(r.Word(cd::kGraphicDestHeight), m_options.TwipsPerPixelY);
    graphic->image.resize = r.Word(cd::kGraphicResize) != 0;
    if (r.Overrun()) {
        return false;
    }
    FinishGraphic();
    m_sink.GraphicBegin();
    m_graphic = std::move(graphic);
    return true;
}

// The image directory is created first; the extract path becomes that directory. Without an image
// directory (no export run chose one) there is no file: the path is empty.
std::string CompositeReader::ImagePath(bool jpeg) {
    std::string directory = m_state.ImageDirectory;
    while (directory.size() > 1 && directory.back() == platform::kPathSeparator) {
        directory.pop_back();
    }
    if (directory.empty()) {
        return {};
    }
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    m_state.ExtractPath = directory;
    char number[16];
    std::snprintf(number, sizeof number, "%07d", m_state.ImageCounter);
    return m_state.ExtractPath + platform::kPathSeparator + m_state.ImagePrefix + number +
           (jpeg ? ".jpg" : ".gif");
}

bool CompositeReader::ImageHeaderRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t type = r.Word(cd::kImageType);
    const std::uint32_t segments = r.Dword(cd::kImageSegCount);
    if (r.Overrun()) {
        return false;
    }
    ++m_state.ImageCounter;
    ++m_state.ImagesInItem;
    if (!m_graphic) {
        Ignore("image header without a graphic");
        return true;
    }
    m_graphic->kind = kGraphicSegments;
    m_graphic->imageType = type;
    m_graphic->segmentCount = segments;
    m_graphic->image.path = ImagePath(type == cd::kImageJpeg);
    return true;
}

bool CompositeReader::ImageSegmentRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t size = r.Word(cd::kSegmentDataSize);
    const std::string_view data = r.Bytes(cd::kSegmentData, size);
    if (r.Overrun()) {
        return false;
    }
    Graphic *g = m_graphic.get();
    if (g == nullptr || g->kind != kGraphicSegments || g->fileFailed ||
        g->segmentsWritten >= g->segmentCount) {
        Ignore("segment dropped");
        return true;
    }
    if (g->file == nullptr) {
        g->file = g->image.path.empty() ? nullptr : std::fopen(g->image.path.c_str(), "wb");
        if (g->file == nullptr) {
            g->fileFailed = true;
            Ignore("image file not created");
            return true;
        }
    }
    if (std::fwrite(data.data(), 1, data.size(), g->file) != data.size()) {
        g->fileFailed = true;
    }
    ++g->segmentsWritten;
    return true;
}

bool CompositeReader::BitmapHeaderRecord(Bytes record) {
    ++m_state.ImageCounter;
    ++m_state.ImagesInItem;
    Graphic *g = m_graphic.get();
    if (g == nullptr || g->kind == kGraphicLinked || !m_services.BitmapAvailable()) {
        Ignore("bitmap not converted");
        return true;
    }
    g->kind = kGraphicBitmap;
    g->image.path = ImagePath(false);
    m_services.BitmapRead(g->bitmap, cd::kSigBitmapHeader, record);
    return true;
}

void CompositeReader::BitmapRecord(std::uint16_t signature, Bytes record) {
    if (m_graphic && m_graphic->kind == kGraphicBitmap) {
        m_services.BitmapRead(m_graphic->bitmap, signature, record);
    }
}

bool CompositeReader::StorageLinkRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t type = r.Word(cd::kStorageType);
    if (r.Overrun()) {
        return false;
    }
    if (!m_graphic) {
        Ignore("storage link without a graphic");
        return true;
    }
    m_graphic->kind = kGraphicLinked;
    if (type == cd::kStorageUrl) {
        const std::string_view path = r.Bytes(cd::kStorageData, r.Word(cd::kStorageDataLength));
        if (r.Overrun()) {
            return false;
        }
        m_graphic->image.path = m_services.Text(path);
    }
    return true;
}

bool CompositeReader::AltTextRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::string_view text = r.Bytes(cd::kAltTextText, r.Word(cd::kAltTextLength));
    if (r.Overrun()) {
        return false;
    }
    if (!m_graphic) {
        Ignore("alternative text without a graphic");
        return true;
    }
    m_graphic->image.altText = m_services.Text(text);
    return true;
}

bool CompositeReader::BorderRecord(Bytes record) {
    const notes::ByteReader r(record);
    NotesBorder border;
    border.top = r.Word(kBorderTop);
    border.right = r.Word(kBorderRight);
    border.bottom = r.Word(kBorderBottom);
    border.left = r.Word(kBorderLeft);
    if ((r.Word(cd::kBorderColor + cd::kColorValueFlags) & cd::kColorIsRgb) != 0) {
        border.color = RgbAt(r, cd::kBorderColor + cd::kColorValueRed);
    }
    if (r.Overrun()) {
        return false;
    }
    if (!m_graphic) {
        Ignore("border without a graphic");
        return true;
    }
    m_graphic->image.border = border;
    return true;
}

void CompositeReader::FinishGraphic() {
    if (!m_graphic) {
        return;
    }
    std::unique_ptr<Graphic> g = std::move(m_graphic);
    if (g->kind == kGraphicSegments && g->file != nullptr) {
        std::fclose(g->file);
        g->file = nullptr;
    }
    if (g->kind == kGraphicBitmap) {
        std::FILE *file = g->image.path.empty() ? nullptr : std::fopen(g->image.path.c_str(), "wb");
        if (file != nullptr) {
            (void)m_services.BitmapWriteGif(g->bitmap, file);
            std::fclose(file);
        }
        m_services.BitmapFree(g->bitmap);
    }
    m_sink.Image(g->image);
}

bool ReadFontTable(Bytes record, NoteServices &services, std::vector<std::string> &faces) {
    const notes::ByteReader r(record);
    const std::uint16_t count = r.Word(cd::kFontTableCount);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = cd::kFontTableFaces + i * cd::kFaceEntrySize;
        if (!r.Has(entry, cd::kFaceEntrySize)) {
            return false;
        }
        faces.push_back(services.Text(r.CString(entry + cd::kFaceEntryName, cd::kFaceNameSize)));
    }
    return !r.Overrun();
}

}  // namespace richtext
