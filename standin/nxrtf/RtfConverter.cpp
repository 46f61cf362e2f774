// The conversion of composite records to RTF, in one pass over the records; the font and colour
// tables are put in front of the body at the end.
#include "RtfConverter.h"

#include <algorithm>
#include <cstdio>

#include "Png.h"
#include "cd/Palette.h"
#include "common/Lmbcs.h"

namespace standin::rtf {

namespace nc = notes::cd;
using cd::Byte;
using cd::Dword;
using cd::Word;

namespace {

const char *const kStandardFaces[] = {"Times New Roman", "Arial", "Arial Unicode MS", "Arial", "Courier New"};

std::string Hex8(DWORD v) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "%08X", v);
    return buf;
}

}  // namespace

bool RtfConverter::Convert(std::string_view records, std::string &rtf, std::string &problem) {
    if (records.size() >= 2 && Word(records, 0) == notes::kTypeComposite) {
        records.remove_prefix(2);
    }
    // Damaged input gives no output at all: check the whole walk first.
    cd::WalkEnd end = cd::WalkRecords(records, [](const cd::Record &) { return true; });
    if (end != cd::WalkEnd::Complete) {
        problem = end == cd::WalkEnd::Truncated ? "a record runs past the end of the data"
                                                : "a record is shorter than its header";
        return false;
    }
    m_fonts.push_back("Arial");  // \f0, the default
    m_fontIndex[nc::kFaceSwiss] = 0;
    (void)cd::WalkRecords(records, [&](const cd::Record &r) {
        Record(r.signature, cd::RecordBytes(records, r));
        return true;
    });
    FinishPicture();
    if (!m_pendingRun.empty()) {
        Run(m_pendingRun, Dword(m_pendingRun, nc::kTextFont));  // a bracket left open at the end
    }
    while (!m_tables.empty()) {
        TableEnd();
    }
    while (!m_hotspots.empty()) {
        HotspotEnd();
    }
    rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (std::size_t i = 0; i < m_fonts.size(); ++i) {
        rtf += "{\\f" + std::to_string(i) + "\\fnil " + m_fonts[i] + ";}";
    }
    rtf += "}{\\colortbl;";
    for (std::uint32_t c : m_colors) {
        rtf += "\\red" + std::to_string(c >> 16) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
               std::to_string(c & 0xFF) + ";";
    }
    rtf += "}\n\\viewkind4\\pard\\plain\\f0\\fs20 ";
    rtf += m_body;
    rtf += "\\par\n}\n";
    return true;
}

int RtfConverter::ColorIndex(std::uint32_t rgb) {
    for (std::size_t i = 0; i < m_colors.size(); ++i) {
        if (m_colors[i] == rgb) {
            return static_cast<int>(i + 1);
        }
    }
    m_colors.push_back(rgb);
    return static_cast<int>(m_colors.size());
}

int RtfConverter::FontIndex(BYTE face) {
    auto found = m_fontIndex.find(face);
    if (found != m_fontIndex.end()) {
        return found->second;
    }
    std::string name = "Arial";
    if (face < nc::kFirstTableFace) {
        name = kStandardFaces[face];
    } else if (static_cast<std::size_t>(face - nc::kFirstTableFace) < m_faceNames.size()) {
        name = m_faceNames[static_cast<std::size_t>(face - nc::kFirstTableFace)];
    }
    // Font names end at a semicolon in RTF; braces and backslashes are not allowed in them.
    name.erase(
        std::remove_if(name.begin(), name.end(),
                       [](char c) { return c == ';' || c == '{' || c == '}' || c == '\\' || c < 0x20; }),
        name.end());
    m_fonts.push_back(name.empty() ? "Arial" : name);
    m_fontIndex[face] = static_cast<int>(m_fonts.size() - 1);
    return m_fontIndex[face];
}

void RtfConverter::Escape(std::string_view lmbcs) {
    std::u16string text = LmbcsToUtf16(lmbcs);
    std::string out;
    for (char16_t c : text) {
        if (c == u'\\' || c == u'{' || c == u'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == 0 || c == u'\n') {
            out += "\\line ";
        } else if (c == u'\t') {
            out += "\\tab ";
        } else if (c == u'\r') {
            continue;
        } else if (c < 0x20) {
            continue;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += "\\u" + std::to_string(static_cast<int>(static_cast<std::int16_t>(c))) + "?";
        }
    }
    Out(out);
}

void RtfConverter::Run(std::string_view r, DWORD font) {
    BYTE face = static_cast<BYTE>(font & 0xFF);
    BYTE attrib = static_cast<BYTE>((font >> 8) & 0xFF);
    BYTE color = static_cast<BYTE>((font >> 16) & 0xFF);
    BYTE size = static_cast<BYTE>(font >> 24);
    std::string group =
        "{\\f" + std::to_string(FontIndex(face)) + "\\fs" + std::to_string(2 * (size == 0 ? 10 : size));
    std::uint32_t rgb = 0;
    if (m_pendingColorFont != 0) {
        rgb = m_pendingColorFont & 0xFFFFFF;
    } else {
        cd::Rgb c = cd::PaletteColor(color);
        rgb = (static_cast<std::uint32_t>(c.r) << 16) | (static_cast<std::uint32_t>(c.g) << 8) | c.b;
    }
    if (rgb != 0) {
        group += "\\cf" + std::to_string(ColorIndex(rgb));
    }
    const std::pair<BYTE, const char *> kAttributes[] = {
        {nc::kAttribBold, "\\b"},        {nc::kAttribItalic, "\\i"},    {nc::kAttribUnderline, "\\ul"},
        {nc::kAttribStrike, "\\strike"}, {nc::kAttribSuper, "\\super"}, {nc::kAttribSub, "\\sub"},
    };
    for (const auto &a : kAttributes) {
        if ((attrib & a.first) != 0) {
            group += a.second;
        }
    }
    Out(group + " ");
    Escape(r.substr(std::min(r.size(), nc::kTextChars)));
    Out("}");
}

void RtfConverter::ParagraphStyle(WORD id) {
    auto found = m_paragraphs.find(id);
    m_current = found != m_paragraphs.end() ? found->second : Paragraph();
    std::string props = m_inCell ? "\\pard\\intbl" : "\\pard";
    const char *const kAlign[] = {"\\ql", "\\qr", "\\qj", "\\qc", "\\ql"};
    props += kAlign[m_current.justify < 5 ? m_current.justify : 0];
    props += "\\li" + std::to_string(m_current.left) + "\\fi" + std::to_string(m_current.first);
    if (m_current.right > 0) {
        props += "\\ri" + std::to_string(m_current.right);
    }
    if (m_current.before > 0) {
        props += "\\sb" + std::to_string(m_current.before);
    }
    if (m_current.after > 0) {
        props += "\\sa" + std::to_string(m_current.after);
    }
    Out(props + " ");
    if (m_current.list == 1) {
        Out("\\bullet\\tab ");
    } else if (m_current.list == 2) {
        Out(std::to_string(++m_number) + ".\\tab ");
    } else {
        m_number = 0;
    }
}

void RtfConverter::Record(WORD s, std::string_view r) {
    if (m_picture && !cd::Picture::Continues(s)) {
        FinishPicture();
    }
    switch (s) {
        case nc::kSigFontTable: {
            WORD count = Word(r, nc::kFontTableCount);
            for (WORD i = 0; i < count; ++i) {
                std::size_t at = nc::kFontTableFaces + i * nc::kFaceEntrySize;
                if (at + nc::kFaceEntrySize > r.size()) {
                    break;
                }
                std::string_view name = r.substr(at + nc::kFaceEntryName, nc::kFaceNameSize);
                BYTE face = Byte(r, at);
                if (face >= nc::kFirstTableFace) {
                    m_faceNames.resize(
                        std::max<std::size_t>(m_faceNames.size(), face - nc::kFirstTableFace + 1u));
                    m_faceNames[face - nc::kFirstTableFace] = LmbcsToUtf8(name.substr(0, name.find('\0')));
                }
            }
            break;
        }
        case nc::kSigPabDefinition:
            m_paragraphs.emplace(Word(r, nc::kPabId), cd::ReadParagraphFormat(r));
            break;
        case nc::kSigPabReference:
            ParagraphStyle(Word(r, nc::kPabRefId));
            break;
        case nc::kSigParagraph:
            if (m_swallowMark) {
                m_swallowMark = false;
            } else {
                Out("\\par\n");
            }
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
            m_pendingColorFont = 0;
            break;
        case nc::kSigColor:
            if (m_bracketRun && (Word(r, nc::kColorRecordColor) & nc::kColorIsRgb) != 0) {
                m_pendingColorFont = 0x1000000u | (static_cast<DWORD>(Byte(r, 4)) << 16) |
                                     (static_cast<DWORD>(Byte(r, 5)) << 8) | Byte(r, 6);
            }
            break;
        case nc::kSigEnd:
            if (m_bracketRun) {
                m_bracketRun = false;
                if (!m_pendingRun.empty()) {
                    Run(m_pendingRun, Dword(m_pendingRun, nc::kTextFont));
                }
                m_pendingColorFont = 0;
                m_pendingRun.clear();
            }
            break;
        case nc::kSigBar: {
            DWORD flags = Dword(r, nc::kBarFlags);
            std::size_t title = nc::kBarTitle + ((flags & nc::kBarFlagHasColor) != 0 ? 2 : 0);
            DWORD font = Dword(r, nc::kBarFont) | nc::kAttribBold << 8;
            std::string record =
                std::string(nc::kTextChars, '\0') + std::string(r.substr(std::min(title, r.size())));
            Run(record, font);
            break;
        }
        case nc::kSigHotspotBegin:
        case nc::kSigV4HotspotBegin:
        case nc::kSigV5HotspotBegin:
        case nc::kSigV6HotspotBegin: {
            OpenHotspot h;
            WORD type = Word(r, nc::kHotspotType);
            WORD length = Word(r, nc::kHotspotDataLength);
            std::string_view data = r.substr(std::min(r.size(), nc::kHotspotData));
            data = data.substr(0, std::min<std::size_t>(length, data.size()));
            if (type == nc::kHotspotHotLink) {
                h.kind = Hotspot::Url;
                h.data = LmbcsToUtf8(data.substr(0, data.find('\0')));
            } else if (type == nc::kHotspotFile) {
                h.kind = Hotspot::File;
                std::string_view display = data.substr(std::min(data.size(), data.find('\0') + 1));
                h.data = std::string(display.substr(0, display.find('\0')));
                if (h.data.empty()) {
                    h.data = std::string(data.substr(0, data.find('\0')));
                }
            } else {
                h.kind =
                    type == nc::kHotspotBundle || type == nc::kHotspotSection || type == nc::kHotspotV4Section
                        ? Hotspot::Section
                        : Hotspot::Other;
            }
            h.outer = m_target;
            m_hotspots.push_back(std::move(h));
            if (m_hotspots.back().kind == Hotspot::Url || m_hotspots.back().kind == Hotspot::File) {
                m_target = &m_hotspots.back().content;
            }
            break;
        }
        case nc::kSigHotspotEnd:
        case nc::kSigV4HotspotEnd:
        case nc::kSigV5HotspotEnd:
            // A hotspot that began outside the innermost table cannot end inside it.
            if (m_hotspots.size() > (m_tables.empty() ? 0 : m_tables.back().hotspots)) {
                HotspotEnd();
            }
            break;
        case nc::kSigLink2: {
            std::string_view comment = r.substr(std::min(r.size(), nc::kLink2Comment));
            Escape(comment.substr(0, comment.find('\0')));
            break;
        }
        case nc::kSigLinkExport2: {
            if (r.size() < nc::kLinkExportComment) {
                break;
            }
            DWORD w[10];
            for (std::size_t k = 0; k < 10; ++k) {
                w[k] = Dword(r, nc::kLinkExportLink + 4 * k);
            }
            std::string_view comment = r.substr(nc::kLinkExportComment);
            std::string_view hint = comment.substr(std::min(comment.size(), comment.find('\0') + 1));
            std::string server = LmbcsToUtf8(hint.substr(0, hint.find('\0')));
            std::string url = "notes://" + server + "/" + Hex8(w[1]) + Hex8(w[0]) + "/" + Hex8(w[3]) +
                              Hex8(w[2]) + Hex8(w[5]) + Hex8(w[4]) + "/" + Hex8(w[7]) + Hex8(w[6]) +
                              Hex8(w[9]) + Hex8(w[8]);
            url.erase(std::remove_if(url.begin(), url.end(),
                                     [](char c) { return c == '"' || c == '\\' || c == '{' || c == '}'; }),
                      url.end());
            Out("{\\field{\\*\\fldinst HYPERLINK \"" + url + "\"}{\\fldrslt ");
            Escape(comment.substr(0, comment.find('\0')));
            Out("}}");
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
            WORD length = Word(r, nc::kCaptionLength);
            std::string_view text = r.substr(std::min(r.size(), nc::kCaptionText));
            Out("\\line ");
            Escape(text.substr(0, length));
            break;
        }
        case nc::kSigPreTableBegin:
            break;
        case nc::kSigTableBegin:
        case nc::kSigNestedTableBegin:
            TableBegin(r);
            break;
        case nc::kSigTableCell:
        case nc::kSigNestedTableCell:
            TableCell(r, s == nc::kSigNestedTableCell);
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

void RtfConverter::HotspotEnd() {
    OpenHotspot h = std::move(m_hotspots.back());
    m_hotspots.pop_back();
    m_target = h.outer;
    if (h.kind == Hotspot::Url) {
        std::string url;
        for (char c : h.data) {
            if (c != '"' && c != '\\' && c != '{' && c != '}' && static_cast<unsigned char>(c) >= 0x20) {
                url += c;
            }
        }
        Out("{\\field{\\*\\fldinst HYPERLINK \"" + url + "\"}{\\fldrslt " + h.content + "}}");
    } else if (h.kind == Hotspot::File) {
        Out("{\\b ");
        Escape(h.data);
        Out("}");
    }
}

void RtfConverter::FinishPicture() {
    if (!m_picture) {
        return;
    }
    cd::Picture picture = std::move(*m_picture);
    m_picture.reset();
    m_pictureWidth = picture.Width();
    m_pictureHeight = picture.Height();
    cd::Image image;
    const std::string &data = picture.ImageData();
    if (picture.ImageType() == nc::kImageJpeg && !data.empty()) {
        EmitPicture("\\jpegblip", data, 0, 0);
    } else if (picture.ImageType() == nc::kImagePng && !data.empty()) {
        EmitPicture("\\pngblip", data, 0, 0);
    } else if (picture.Pixels(image)) {
        EmitPicture("\\pngblip", EncodePng(image), image.width, image.height);
    }
}

void RtfConverter::EmitPicture(std::string_view blipKind, const std::string &bytes, int width, int height) {
    std::string out = "{\\pict";
    out += blipKind;
    if (width > 0 && height > 0) {
        out += "\\picw" + std::to_string(width) + "\\pich" + std::to_string(height);
    }
    long w = m_pictureWidth > 0 ? m_pictureWidth : 15L * width;
    long h = m_pictureHeight > 0 ? m_pictureHeight : 15L * height;
    if (w > 0 && h > 0) {
        out += "\\picwgoal" + std::to_string(w) + "\\pichgoal" + std::to_string(h);
    }
    out += "\n";
    static const char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        out += kDigits[c >> 4];
        out += kDigits[c & 0xF];
        if (i % 64 == 63) {
            out += '\n';
        }
    }
    out += "}";
    Out(out);
}

}  // namespace standin::rtf
