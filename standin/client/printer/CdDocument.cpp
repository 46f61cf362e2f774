// The layout of composite records as a QTextDocument, in one pass over the records.
#include "CdDocument.h"

#include <QImage>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextImageFormat>
#include <QTextLength>
#include <QTextTableCellFormat>
#include <QUrl>
#include <algorithm>

#include "cd/Palette.h"
#include "cd/ParagraphFormat.h"
#include "cd/RichTextXml.h"
#include "common/Lmbcs.h"

namespace standin::printer {

namespace nc = notes::cd;
using cd::Byte;
using cd::Dword;
using cd::Word;

namespace {

constexpr double kTwipsPerPixel = 15.0;  // the document is laid out at 96 dots per inch
constexpr int kMaxTableCells = 255;

const char *const kStandardFaces[] = {"Times New Roman", "Arial", "Arial Unicode MS", "Arial", "Courier New"};

QColor FromRgb(cd::Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QImage FromPixels(const cd::Image &image) {
    QImage out(image.width, image.height, QImage::Format_ARGB32);
    for (int y = 0; y < image.height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < image.width; ++x) {
            line[x] = image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) +
                                   static_cast<std::size_t>(x)];
        }
    }
    return out;
}

}  // namespace

bool CdDocument::Build(std::string_view records, QTextDocument &document, std::string &problem) {
    if (records.size() >= 2 && Word(records, 0) == notes::kTypeComposite) {
        records.remove_prefix(2);
    }
    cd::WalkEnd end = cd::WalkRecords(records, [](const cd::Record &) { return true; });
    if (end != cd::WalkEnd::Complete) {
        problem = end == cd::WalkEnd::Truncated ? "a record runs past the end of the data"
                                                : "a record is shorter than its header";
        return false;
    }
    m_document = &document;
    m_cursor = QTextCursor(&document);
    QTextCharFormat base;
    base.setFontFamilies({QString::fromLatin1(kStandardFaces[nc::kFaceSwiss])});
    base.setFontPointSize(10);
    m_cursor.setCharFormat(base);
    (void)cd::WalkRecords(records, [&](const cd::Record &r) {
        Record(r.signature, cd::RecordBytes(records, r));
        return true;
    });
    FinishPicture();
    if (!m_pendingRun.empty()) {
        Run(m_pendingRun, Dword(m_pendingRun, nc::kTextFont));
    }
    while (!m_tables.empty()) {
        TableEnd();
    }
    return true;
}

QTextCharFormat CdDocument::Format(DWORD font) const {
    BYTE face = static_cast<BYTE>(font & 0xFF);
    BYTE attrib = static_cast<BYTE>((font >> 8) & 0xFF);
    BYTE color = static_cast<BYTE>((font >> 16) & 0xFF);
    BYTE size = static_cast<BYTE>(font >> 24);
    QString family = QString::fromLatin1(kStandardFaces[nc::kFaceSwiss]);
    if (face < nc::kFirstTableFace) {
        family = QString::fromLatin1(kStandardFaces[face]);
    } else if (static_cast<std::size_t>(face - nc::kFirstTableFace) < m_faceNames.size() &&
               !m_faceNames[face - nc::kFirstTableFace].isEmpty()) {
        family = m_faceNames[face - nc::kFirstTableFace];
    }
    QTextCharFormat f;
    f.setFontFamilies({family});
    f.setFontPointSize(size == 0 ? 10 : size);
    f.setFontWeight((attrib & nc::kAttribBold) != 0 ? QFont::Bold : QFont::Normal);
    f.setFontItalic((attrib & nc::kAttribItalic) != 0);
    f.setFontUnderline((attrib & nc::kAttribUnderline) != 0);
    f.setFontStrikeOut((attrib & nc::kAttribStrike) != 0);
    if ((attrib & nc::kAttribSuper) != 0) {
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else if ((attrib & nc::kAttribSub) != 0) {
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    }
    f.setForeground(FromRgb(cd::PaletteColor(color)));
    if (!m_linkHref.isEmpty()) {
        f.setAnchor(true);
        f.setAnchorHref(m_linkHref);
        f.setForeground(QColor(0, 0, 255));
        f.setFontUnderline(true);
    }
    return f;
}

void CdDocument::Insert(std::string_view lmbcs, const QTextCharFormat &format) {
    std::u16string text = LmbcsToUtf16(lmbcs);
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char16_t c : text) {
        if (c == 0 || c == u'\n') {
            out += QChar(QChar::LineSeparator);
        } else if (c == u'\t' || c >= 0x20) {
            out += QChar(c);
        }
    }
    if (!out.isEmpty()) {
        m_cursor.insertText(out, format);
        m_blockStart = false;
    }
}

void CdDocument::Run(std::string_view r, DWORD font) {
    QTextCharFormat f = Format(font);
    if (m_pendingColor.isValid()) {
        f.setForeground(m_pendingColor);
    }
    Insert(r.substr(std::min(r.size(), nc::kTextChars)), f);
}

void CdDocument::Paragraph() {
    if (m_blockStart) {
        return;
    }
    m_cursor.insertBlock();
    m_blockStart = true;
}

void CdDocument::Record(WORD s, std::string_view r) {
    if (m_picture && !cd::Picture::Continues(s)) {
        FinishPicture();
    }
    switch (s) {
        case nc::kSigFontTable:
            for (const cd::FontFace &f : cd::ReadFontTable(r)) {
                if (f.face >= nc::kFirstTableFace) {
                    std::size_t index = static_cast<std::size_t>(f.face - nc::kFirstTableFace);
                    m_faceNames.resize(std::max(m_faceNames.size(), index + 1));
                    m_faceNames[index] = QString::fromStdString(LmbcsToUtf8(f.name));
                }
            }
            break;
        case nc::kSigPabDefinition: {
            // A later definition of the same number replaces the earlier one: compound text joins rich
            // text of several items, each numbering its paragraph formats from 1.
            cd::ParagraphFormat p = cd::ReadParagraphFormat(r);
            QTextBlockFormat b;
            b.setAlignment(p.justify == nc::kJustifyRight    ? Qt::AlignRight
                           : p.justify == nc::kJustifyCenter ? Qt::AlignHCenter
                           : p.justify == nc::kJustifyBlock  ? Qt::AlignJustify
                                                             : Qt::AlignLeft);
            b.setLeftMargin(static_cast<double>(p.left) / kTwipsPerPixel);
            b.setTextIndent(static_cast<double>(p.first) / kTwipsPerPixel);
            b.setTopMargin(static_cast<double>(p.before) / kTwipsPerPixel);
            b.setBottomMargin(static_cast<double>(p.after) / kTwipsPerPixel);
            m_paragraphs[Word(r, nc::kPabId)] = b;
            break;
        }
        case nc::kSigPabReference: {
            auto found = m_paragraphs.find(Word(r, nc::kPabRefId));
            m_cursor.setBlockFormat(found != m_paragraphs.end() ? found->second : QTextBlockFormat());
            break;
        }
        case nc::kSigParagraph:
            Paragraph();
            break;
        case nc::kSigText:
            if (m_bracketRun) {
                m_pendingRun.assign(r);
            } else {
                Run(r, Dword(r, nc::kTextFont));
            }
            break;
        case nc::kSigBegin:
            m_bracketRun = Word(r, nc::kBeginSignature) == nc::kSigText;
            m_pendingRun.clear();
            m_pendingColor = QColor();
            break;
        case nc::kSigColor:
            if (m_bracketRun && (Word(r, nc::kColorRecordColor) & nc::kColorIsRgb) != 0) {
                m_pendingColor = QColor(Byte(r, 4), Byte(r, 5), Byte(r, 6));
            }
            break;
        case nc::kSigEnd:
            if (m_bracketRun) {
                m_bracketRun = false;
                if (!m_pendingRun.empty()) {
                    Run(m_pendingRun, Dword(m_pendingRun, nc::kTextFont));
                }
                m_pendingRun.clear();
                m_pendingColor = QColor();
            }
            break;
        case nc::kSigBar: {
            // A section: its title on a line of its own, bold, then the section's content.
            DWORD flags = Dword(r, nc::kBarFlags);
            std::size_t title = nc::kBarTitle + ((flags & nc::kBarFlagHasColor) != 0 ? 2 : 0);
            Paragraph();
            Insert(r.substr(std::min(title, r.size())),
                   Format(Dword(r, nc::kBarFont) | nc::kAttribBold << 8));
            Paragraph();
            break;
        }
        case nc::kSigHorizontalRule: {
            Paragraph();
            QTextBlockFormat rule = m_cursor.blockFormat();
            rule.setProperty(QTextFormat::BlockTrailingHorizontalRulerWidth,
                             QTextLength(QTextLength::PercentageLength, 100));
            m_cursor.setBlockFormat(rule);
            m_cursor.insertBlock(QTextBlockFormat());
            m_blockStart = true;
            break;
        }
        case nc::kSigHotspotBegin:
        case nc::kSigV4HotspotBegin:
        case nc::kSigV5HotspotBegin:
        case nc::kSigV6HotspotBegin: {
            ++m_hotspots;
            WORD type = Word(r, nc::kHotspotType);
            std::string_view data = r.substr(std::min(r.size(), nc::kHotspotData));
            data = data.substr(0, std::min<std::size_t>(Word(r, nc::kHotspotDataLength), data.size()));
            if (type == nc::kHotspotHotLink) {
                m_linkHref = QString::fromStdString(LmbcsToUtf8(data.substr(0, data.find('\0'))));
            } else if (type == nc::kHotspotFile) {
                // An attachment prints as its name.
                std::string_view display = data.substr(std::min(data.size(), data.find('\0') + 1));
                std::string_view name = display.substr(0, display.find('\0'));
                if (name.empty()) {
                    name = data.substr(0, data.find('\0'));
                }
                QTextCharFormat f = Format(0x0A000001 | nc::kAttribBold << 8);
                Insert("[", f);
                Insert(name, f);
                Insert("]", f);
            }
            break;
        }
        case nc::kSigHotspotEnd:
        case nc::kSigV4HotspotEnd:
        case nc::kSigV5HotspotEnd:
            if (m_hotspots > 0) {
                --m_hotspots;
                m_linkHref.clear();
            }
            break;
        case nc::kSigLink2:
        case nc::kSigLinkExport2: {
            std::size_t at = s == nc::kSigLink2 ? nc::kLink2Comment : nc::kLinkExportComment;
            std::string_view comment = r.substr(std::min(r.size(), at));
            QTextCharFormat f = Format(0x0A000001);
            f.setForeground(QColor(0, 0, 255));
            f.setFontUnderline(true);
            Insert(comment.substr(0, comment.find('\0')), f);
            break;
        }
        case nc::kSigGraphic:
            m_picture.emplace(r);
            break;
        case nc::kSigImageHeader:
        case nc::kSigImageSegment:
        case nc::kSigBitmapHeader:
        case nc::kSigBitmapSegment:
        case nc::kSigColorTable:
        case nc::kSigPatternTable:
        case nc::kSigTransparentTable:
            if (m_picture) {
                m_picture->Add(s, r);
            }
            break;
        case nc::kSigCaption: {
            std::string_view text = r.substr(std::min(r.size(), nc::kCaptionText));
            m_cursor.insertText(QString(QChar::LineSeparator));
            Insert(text.substr(0, Word(r, nc::kCaptionLength)), Format(0x0A000001));
            break;
        }
        case nc::kSigTableBegin:
        case nc::kSigNestedTableBegin:
            TableBegin();
            break;
        case nc::kSigTableCell:
        case nc::kSigNestedTableCell:
            TableCell(r);
            break;
        case nc::kSigTableEnd:
        case nc::kSigNestedTableEnd:
            if (!m_tables.empty()) {
                TableEnd();
            }
            break;
        default:
            break;
    }
}

void CdDocument::FinishPicture() {
    if (!m_picture) {
        return;
    }
    cd::Picture picture = std::move(*m_picture);
    m_picture.reset();
    QImage image;
    cd::Image pixels;
    const std::string &data = picture.ImageData();
    if ((picture.ImageType() == nc::kImageJpeg || picture.ImageType() == nc::kImagePng) && !data.empty()) {
        image.loadFromData(reinterpret_cast<const uchar *>(data.data()), static_cast<int>(data.size()));
    } else if (picture.Pixels(pixels)) {
        image = FromPixels(pixels);
    }
    if (image.isNull() ||
        static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()) > cd::kMaxPixels) {
        return;
    }
    QString name = QStringLiteral("cd-picture-%1").arg(++m_pictures);
    m_document->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(picture.Width() > 0 ? static_cast<double>(picture.Width()) / kTwipsPerPixel : image.width());
    f.setHeight(picture.Height() > 0 ? static_cast<double>(picture.Height()) / kTwipsPerPixel
                                     : image.height());
    m_cursor.insertImage(f);
    m_blockStart = false;
}

void CdDocument::TableBegin() {
    QTextTableFormat format;
    format.setBorder(1);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderBrush(QColor(0x80, 0x80, 0x80));
    format.setCellSpacing(0);
    format.setBorderCollapse(true);
    format.setCellPadding(3);
    if (!m_blockStart) {
        m_cursor.insertBlock();
    }
    OpenTable t;
    t.table = m_cursor.insertTable(1, 1, format);
    m_tables.push_back(std::move(t));
    m_blockStart = true;
}

void CdDocument::TableCell(std::string_view r) {
    if (m_tables.empty()) {
        TableBegin();  // a cell without a table begin opens a table of default values
    }
    OpenTable &t = m_tables.back();
    int row = Byte(r, nc::kCellRow);
    int column = Byte(r, nc::kCellColumn);
    int rowSpan = std::max(1, static_cast<int>(Byte(r, nc::kCellRowSpan)));
    int columnSpan = std::max(1, static_cast<int>(Byte(r, nc::kCellColumnSpan)));
    int lastRow = std::min(kMaxTableCells, row + rowSpan);
    int lastColumn = std::min(kMaxTableCells, column + columnSpan);
    if (t.table->rows() < lastRow) {
        t.table->appendRows(lastRow - t.table->rows());
    }
    if (t.table->columns() < lastColumn) {
        t.table->appendColumns(lastColumn - t.table->columns());
    }
    if (rowSpan > 1 || columnSpan > 1) {
        t.table->mergeCells(row, column, lastRow - row, lastColumn - column);
    }
    long width = static_cast<long>(Word(r, nc::kCellRightMargin)) - Word(r, nc::kCellLeftMargin);
    if (columnSpan == 1 && width > 0) {
        t.widths[column] = width;
    }
    QTextTableCell cell = t.table->cellAt(row, column);
    if ((Byte(r, nc::kCellFlags) & nc::kCellFlagUseBackground) != 0) {
        QTextTableCellFormat f = cell.format().toTableCellFormat();
        f.setBackground(
            FromRgb(cd::PaletteColor(static_cast<std::uint8_t>(Word(r, nc::kCellBackground) & 0xFF))));
        cell.setFormat(f);
    }
    m_cursor = cell.firstCursorPosition();
    m_cursor.setBlockFormat(QTextBlockFormat());  // a cell's text starts in the default paragraph format
    m_blockStart = true;
}

void CdDocument::TableEnd() {
    OpenTable t = std::move(m_tables.back());
    m_tables.pop_back();
    long total = 0;
    for (const auto &entry : t.widths) {
        total += entry.second;
    }
    if (total > 0 && static_cast<int>(t.widths.size()) == t.table->columns()) {
        QTextTableFormat f = t.table->format();
        QList<QTextLength> widths;
        for (const auto &entry : t.widths) {
            widths.append(
                QTextLength(QTextLength::FixedLength, static_cast<double>(entry.second) / kTwipsPerPixel));
        }
        f.setColumnWidthConstraints(widths);
        t.table->setFormat(f);
    }
    m_cursor.setPosition(t.table->lastPosition() + 1);
    m_blockStart = true;
}

}  // namespace standin::printer
