// Decoding of composite-data records into model values, one handler per record signature.
#include "richtext/CompositeReader.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "notes/ByteReader.h"
#include "platform/Paths.h"
#include "richtext/CompositeRecords.h"

namespace richtext {

namespace {

using Bytes = std::span<const std::uint8_t>;

// Twips per pixel of the model's measures.
constexpr float kTwipsPerPixel = 15.0f;
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
        case cd::sig::kPabDefinition:
            return ParagraphDefinition(record);
        case cd::sig::kPabReference:
            return ParagraphReference(record);
        case cd::sig::kParagraph:
            m_sink.ParagraphMark();
            return true;
        case cd::sig::kText:
            return TextRecord(record);
        case cd::sig::kTextEffect: {
            const notes::ByteReader r(record);
            m_pendingFont = FontId::FromStored(r.Dword(cd::texteffect::kFont));
            m_hasPendingFont = !r.Overrun();
            return !r.Overrun();
        }
        case cd::sig::kTableBegin:
        case cd::sig::kNestedTableBegin:
            return TableBeginRecord(record);
        case cd::sig::kPreTableBegin:
            return TableExtensionRecord(record);
        case cd::sig::kTableLabelFont:
            return TableLabelFontRecord(record);
        case cd::sig::kTableCell:
        case cd::sig::kNestedTableCell:
            return TableCellRecord(record);
        case cd::sig::kTableLabel:
            return TableLabelRecord(record);
        case cd::sig::kTableEnd:
        case cd::sig::kNestedTableEnd:
            m_sink.TableEnd();
            return true;
        case cd::sig::kBar:
            return SectionBarRecord(record);
        case cd::sig::kButton:
        case cd::sig::kV5HotspotBegin:
        case cd::sig::kHotspotBegin:
        case cd::sig::kV4HotspotBegin:
            return HotspotBegin(record);
        case cd::sig::kV5HotspotEnd:
        case cd::sig::kHotspotEnd:
        case cd::sig::kV4HotspotEnd:
            HotspotEnd();
            return true;
        case cd::sig::kLink2:
            return LinkRecord(record);
        case cd::sig::kLinkExport2:
            return LinkExportRecord(record);
        case cd::sig::kGraphic:
            return !images || GraphicRecord(record);
        case cd::sig::kImageHeader:
            return !images || ImageHeaderRecord(record);
        case cd::sig::kImageSegment:
            return !images || ImageSegmentRecord(record);
        case cd::sig::kBitmapHeader:
            return !images || BitmapHeaderRecord(record);
        case cd::sig::kBitmapSegment:
        case cd::sig::kColorTable:
        case cd::sig::kPatternTable:
        case cd::sig::kTransparentTable:
            if (images) {
                BitmapRecord(signature, record);
            }
            return true;
        case cd::sig::kStorageLink:
            return !images || StorageLinkRecord(record);
        case cd::sig::kAltText:
            return !images || AltTextRecord(record);
        case cd::sig::kBorderInfo:
            return !images || BorderRecord(record);
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
    namespace pd = cd::pabdef;
    const notes::ByteReader r(record);
    const float t = m_options.TwipsPerPixelX;
    auto style = std::make_unique<NotesParagraph>();
    NotesParagraph &p = *style;
    p.id = r.Word(pd::kId);
    p.alignment = r.Word(pd::kAlignment);
    const std::uint16_t flags = r.Word(pd::kFlags);
    p.list = (flags & pd::kFlagBullet) != 0     ? kListBulleted
             : (flags & pd::kFlagNumbered) != 0 ? kListNumbered
                                                : kListNone;
    if (const std::uint16_t spacing = r.Word(pd::kLineSpacing); spacing != 0) {
        p.lineHeight = static_cast<float>((spacing >> 1) + 1);
    }
    if (const std::uint16_t before = r.Word(pd::kSpaceBefore); before != 0) {
        p.spaceBefore = static_cast<float>(before) / 2.0f;
    }
    if (const std::uint16_t after = r.Word(pd::kSpaceAfter); after != 0) {
        p.spaceAfter = static_cast<float>(after) / 2.0f;
    }
    const std::uint16_t flags2 = r.Word(pd::kFlags2);
    if ((flags2 & pd::kFlag2LeftDefault) != 0) {
        p.leftMargin = Pixels(1440, t);
        p.leftKind = kMarginOffset;
        p.leftDefault = true;
    } else if ((flags2 & pd::kFlag2LeftOffset) != 0) {
        p.leftMargin = Pixels(r.Word(pd::kLeftOffset), t);
        p.leftKind = kMarginOffset;
    } else if ((flags2 & pd::kFlag2LeftPercent) != 0) {
        p.leftMargin = r.Word(pd::kLeftPercent);
        p.leftKind = kMarginPercent;
    } else {
        p.leftMargin = Pixels(r.Word(pd::kLeftMargin), t);
        p.leftKind = kMarginAbsolute;
    }
    if ((flags2 & pd::kFlag2FirstDefault) != 0) {
        p.firstLineIndent = 0;
        p.firstLineKind = kMarginOffset;
    } else if ((flags2 & pd::kFlag2FirstOffset) != 0) {
        p.firstLineIndent = Pixels(std::int64_t{r.Word(pd::kFirstLineOffset)} - r.Word(pd::kLeftOffset), t);
        p.firstLineKind = kMarginOffset;
    } else if ((flags2 & pd::kFlag2FirstPercent) != 0) {
        p.firstLineIndent = std::int32_t{r.Word(pd::kFirstLinePercent)} - r.Word(pd::kLeftPercent);
        p.firstLineKind = kMarginPercent;
    } else {
        p.firstLineIndent = Pixels(std::int64_t{r.Word(pd::kFirstLineMargin)} - r.Word(pd::kLeftMargin), t);
        p.firstLineKind = kMarginAbsolute;
    }
    if ((flags2 & pd::kFlag2RightDefault) != 0) {
        p.rightMargin = 0;
        p.rightKind = kMarginOffset;
        p.rightDefault = true;
    } else if ((flags2 & pd::kFlag2RightOffset) != 0) {
        p.rightMargin = Pixels(r.Word(pd::kRightOffset), t);
        p.rightKind = kMarginOffset;
    } else if ((flags2 & pd::kFlag2RightPercent) != 0) {
        p.rightMargin = 100 - std::int32_t{r.Word(pd::kRightPercent)};
        p.rightKind = kMarginPercent;
    } else {
        p.rightMargin = Pixels(r.Word(pd::kRightMargin), t);
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
    const std::uint16_t id = r.Word(cd::pabref::kId);
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
    FontId font = FontId::FromStored(r.Dword(cd::text::kFont));
    const std::string_view lmbcs =
        r.Bytes(cd::text::kText, record.size() - std::min(record.size(), cd::text::kText));
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
    namespace pt = cd::pretable;
    const notes::ByteReader r(record);
    TableExtension extension;
    extension.color1 = RgbAt(r, pt::kColor1);
    extension.color2 = RgbAt(r, pt::kColor2);
    extension.innerBorderColor = RgbAt(r, pt::kInnerBorder);
    extension.tabbed =
        (r.Dword(pt::kFlags) & pt::kFlagTabbed) != 0 || (r.Byte(pt::kFlags2) & pt::kFlag2Tabbed) != 0;
    if (r.Overrun()) {
        return false;
    }
    m_sink.TableExtension(extension);
    return true;
}

bool CompositeReader::TableBeginRecord(Bytes record) {
    namespace tb = cd::tablebegin;
    const notes::ByteReader r(record);
    TableBeginValues values;
    values.leftMargin = r.Word(tb::kLeftMargin);
    values.horizontalPadding = Pixels(r.Word(tb::kHorizPadding), m_options.TwipsPerPixelX);
    values.verticalPadding = Pixels(r.Word(tb::kVertPadding), m_options.TwipsPerPixelY);
    values.flags = r.Word(tb::kFlags);
    if (r.Overrun()) {
        return false;
    }
    values.fullWidth = (values.flags & tb::kFlagFullWidth) != 0;
    values.alignment = (values.flags & tb::kFlagRight) != 0     ? kTableRight
                       : (values.flags & tb::kFlagCentred) != 0 ? kTableCentred
                                                                : kTableLeft;
    values.alternate = (values.flags & tb::kFlagAltColumns) != 0 ? kAlternateColumns
                       : (values.flags & tb::kFlagAltRows) != 0  ? kAlternateRows
                                                                 : kAlternateNone;
    m_sink.TableBegin(values);
    return true;
}

bool CompositeReader::TableLabelFontRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t length = r.Word(cd::labelfont::kLength);
    if (length == 0) {
        Ignore("no label font");
        return !r.Overrun();
    }
    const FontId font = FontId::FromStored(r.Dword(cd::labelfont::kFont));
    if (r.Overrun()) {
        return false;
    }
    m_sink.TableLabelFont(Font(font));
    return true;
}

bool CompositeReader::TableCellRecord(Bytes record) {
    namespace tc = cd::tablecell;
    const notes::ByteReader r(record);
    const float t = m_options.TwipsPerPixelX;
    NotesTableCell cell;
    cell.row = r.Byte(tc::kRow);
    cell.column = r.Byte(tc::kColumn);
    const std::uint16_t left = r.Word(tc::kLeftMargin);
    const std::uint16_t right = r.Word(tc::kRightMargin);
    cell.width = Pixels(std::int64_t{right} - left, t);
    cell.percentWidth = static_cast<float>(r.Word(tc::kWidth)) / 1440.0f * 5.0f;
    cell.leftMargin = static_cast<std::int16_t>(Pixels(left, t));
    cell.rightMargin = static_cast<std::int16_t>(Pixels(right, t));
    cell.flags = r.Byte(tc::kFlags);
    cell.rowSpan = r.Byte(tc::kRowSpan);
    cell.columnSpan = r.Byte(tc::kColumnSpan);
    cell.background = PaletteColor(r.Word(tc::kBackground));
    if ((cell.flags & tc::kFlagV42Border) != 0) {
        const std::uint16_t b = r.Word(tc::kV42Border);
        cell.borderLeft = b & 0xF;
        cell.borderRight = (b >> 4) & 0xF;
        cell.borderTop = (b >> 8) & 0xF;
        cell.borderBottom = (b >> 12) & 0xF;
    } else {
        const std::uint8_t b = r.Byte(tc::kBorder);
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
    const std::string_view label = r.CString(cd::tablelabel::kText);
    const std::uint16_t flags = r.Word(cd::tablelabel::kFlags);
    if (r.Overrun()) {
        return false;
    }
    m_sink.TableLabel(m_services.Text(label), flags);
    return true;
}

bool CompositeReader::SectionBarRecord(Bytes record) {
    namespace b = cd::bar;
    const notes::ByteReader r(record);
    const std::uint32_t flags = r.Dword(b::kFlags);
    NotesSection section;
    section.expanded = (flags & b::kFlagExpanded) != 0;
    section.titleFont = Font(FontId::FromStored(r.Dword(b::kFont)));
    std::size_t titleAt = b::kTitle;
    if ((flags & b::kFlagHasColor) != 0) {
        section.titleColor = r.Word(b::kColor);
        titleAt = b::kTitleColored;
    }
    const std::string_view title = r.Bytes(titleAt, record.size() - std::min(record.size(), titleAt));
    if (r.Overrun()) {
        return false;
    }
    section.title =
        (flags & b::kFlagFormula) != 0 ? m_services.EvaluateFormula(title) : m_services.Text(title);
    section.number = ++m_state.SectionNumber;
    m_sink.SectionBar(section);
    return true;
}

bool CompositeReader::HotspotBegin(Bytes record) {
    namespace h = cd::hotspot;
    const notes::ByteReader r(record);
    const std::uint16_t type = r.Word(h::kType);
    const std::uint32_t flags = r.Dword(h::kFlags);
    const std::uint16_t dataLength = r.Word(h::kDataLength);
    const std::string_view data = r.Bytes(h::kData, dataLength);
    if (r.Overrun()) {
        return false;
    }
    if (type == h::kTypeFile && dataLength != 0) {
        const notes::ByteReader d(data.data(), data.size());
        const std::string_view internalName = d.CString(0);
        const std::string_view fileName = d.CString(std::min(data.size(), internalName.size() + 1));
        m_hotspots.push_back(kHotspotAttachment);
        m_sink.AttachmentBegin(
            m_services.Attachment(m_services.Text(internalName), m_services.Text(fileName)));
        return true;
    }
    if (type == h::kTypeUrl && m_html && m_options.RtfAdvancedEnableUrlLinks) {
        m_hotspots.push_back(kHotspotUrl);
        if ((flags & h::kFlagUrlData) != 0) {
            const std::string url = m_services.Text(data.substr(0, data.find('\0')));
            m_sink.UrlBegin(&url);
        } else {
            m_sink.UrlBegin(nullptr);
        }
        return true;
    }
    if (type == h::kTypeSectionBody) {
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
    const std::uint16_t index = r.Word(cd::link2::kIndex);
    if (r.Overrun()) {
        return false;
    }
    NotesLink link;
    if (!m_services.Link(index, link)) {
        Ignore("no such $Links entry");
        return true;
    }
    const std::size_t at = std::min(record.size(), cd::link2::kComment);
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
    const std::size_t at = cd::linkexport2::kLink;
    for (std::size_t i = 0; i < 2; ++i) {
        link.replica[i] = r.Dword(at + 4 * i);
    }
    for (std::size_t i = 0; i < 4; ++i) {
        link.view[i] = r.Dword(at + 8 + 4 * i);
        link.note[i] = r.Dword(at + 24 + 4 * i);
    }
    if (r.Overrun() || record.size() < cd::linkexport2::kComment) {
        return false;
    }
    EmitLink(std::move(link), r.Bytes(cd::linkexport2::kComment, record.size() - cd::linkexport2::kComment));
    return true;
}

bool CompositeReader::GraphicRecord(Bytes record) {
    const notes::ByteReader r(record);
    auto graphic = std::make_unique<Graphic>();
    graphic->image.width = Pixels(r.Word(cd::graphic::kWidth), m_options.TwipsPerPixelX);
    graphic->image.height = Pixels(r.Word(cd::graphic::kHeight), m_options.TwipsPerPixelY);
    graphic->image.resize = r.Word(cd::graphic::kResize) != 0;
    if (r.Overrun()) {
        return false;
    }
    FinishGraphic();
    m_sink.GraphicBegin();
    m_graphic = std::move(graphic);
    return true;
}

// The image directory is created first; the extract path becomes that directory.
std::string CompositeReader::ImagePath(bool jpeg) {
    std::string directory = m_state.ImageDirectory;
    while (directory.size() > 1 && directory.back() == platform::kPathSeparator) {
        directory.pop_back();
    }
    if (!directory.empty()) {
        std::error_code error;
        std::filesystem::create_directories(directory, error);
    }
    m_state.ExtractPath = directory;
    char number[16];
    std::snprintf(number, sizeof number, "%07d", m_state.ImageCounter);
    return m_state.ExtractPath + platform::kPathSeparator + m_state.ImagePrefix + number +
           (jpeg ? ".jpg" : ".gif");
}

bool CompositeReader::ImageHeaderRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t type = r.Word(cd::imageheader::kType);
    const std::uint32_t segments = r.Dword(cd::imageheader::kSegments);
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
    m_graphic->image.path = ImagePath(type == cd::imageheader::kTypeJpeg);
    return true;
}

bool CompositeReader::ImageSegmentRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t size = r.Word(cd::imagesegment::kDataSize);
    const std::string_view data = r.Bytes(cd::imagesegment::kData, size);
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
        g->file = std::fopen(g->image.path.c_str(), "wb");
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
    m_services.BitmapRead(g->bitmap, cd::sig::kBitmapHeader, record);
    return true;
}

void CompositeReader::BitmapRecord(std::uint16_t signature, Bytes record) {
    if (m_graphic && m_graphic->kind == kGraphicBitmap) {
        m_services.BitmapRead(m_graphic->bitmap, signature, record);
    }
}

bool CompositeReader::StorageLinkRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::uint16_t type = r.Word(cd::storagelink::kType);
    if (r.Overrun()) {
        return false;
    }
    if (!m_graphic) {
        Ignore("storage link without a graphic");
        return true;
    }
    m_graphic->kind = kGraphicLinked;
    if (type == cd::storagelink::kTypePath) {
        const std::string_view path = r.Bytes(cd::storagelink::kPath, r.Word(cd::storagelink::kLength));
        if (r.Overrun()) {
            return false;
        }
        m_graphic->image.path = m_services.Text(path);
    }
    return true;
}

bool CompositeReader::AltTextRecord(Bytes record) {
    const notes::ByteReader r(record);
    const std::string_view text = r.Bytes(cd::alttext::kText, r.Word(cd::alttext::kLength));
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
    namespace b = cd::border;
    const notes::ByteReader r(record);
    NotesBorder border;
    border.top = r.Word(b::kTop);
    border.right = r.Word(b::kRight);
    border.bottom = r.Word(b::kBottom);
    border.left = r.Word(b::kLeft);
    if ((r.Word(b::kColorFlags) & b::kColorIsRgb) != 0) {
        border.color = RgbAt(r, b::kColorRgb);
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
        std::FILE *file = std::fopen(g->image.path.c_str(), "wb");
        if (file != nullptr) {
            (void)m_services.BitmapWriteGif(g->bitmap, file);
            std::fclose(file);
        }
        m_services.BitmapFree(g->bitmap);
    }
    m_sink.Image(g->image);
}

bool ReadFontTable(Bytes record, NoteServices &services, std::vector<std::string> &faces) {
    namespace ft = cd::fonttable;
    const notes::ByteReader r(record);
    const std::uint16_t count = r.Word(ft::kCount);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = ft::kEntries + i * ft::kEntrySize;
        if (!r.Has(entry, ft::kEntrySize)) {
            return false;
        }
        faces.push_back(services.Text(r.CString(entry + ft::kEntryName, ft::kNameSize)));
    }
    return !r.Overrun();
}

}  // namespace richtext
