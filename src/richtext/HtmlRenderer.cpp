// The HTML form of rich text: document head and tail, the paragraph state of each output node, runs,
// links, images, sections, and the node stack of tables and cells.
#include "richtext/HtmlRenderer.h"

#include "richtext/HtmlMarkup.h"

namespace richtext {

namespace {

using html::AppendEscaped;
using html::Appendf;

constexpr int kNodeTop = 0;
constexpr int kNodeTable = 1;
constexpr int kNodeCell = 2;
constexpr int kNodeSectionBody = 3;

constexpr char kDocumentStart[] =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
    "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n"
    "<head>"
    "<title>Lotus Notes data</title>\n";
constexpr char kCharsetUtf16[] = "<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-16\">\n";
constexpr char kCharsetUtf8[] = "<meta http-equiv=\"content-type\" content=\"text/html; charset=UTF-8\" />";
constexpr char kScriptLibrary[] =
    "<script language=\"javascript\" type=\"text/javascript\" src=\"/scriptlib.js\">\n</script>\n";
constexpr char kHeadEnd[] = "</head>\n<body>\n";
constexpr char kDocumentEnd[] = "</body>\n</html>";
constexpr char kLinkIcon[] =
    "<span style=\"font-family: Wingdings; color: #777777; font-size: 16px\">&#51;</span>";

constexpr char kToggleSectionScript[] =
    "<script language=\"javascript\" type=\"text/javascript\">\n"
    "function ToggleSection(BaseId) {\n"
    "\tvar Data = document.getElementById(BaseId + '_d');\n"
    "\tvar Twisty = document.getElementById(BaseId + '_t');\n"
    "\tif (Data.style.display == 'none') {\n"
    "\t\tData.style.display = '';\n"
    "\t\tTwisty.innerHTML = String.fromCharCode(218);\n"
    "\t} else {\n"
    "\t\tData.style.display = 'none';\n"
    "\t\tTwisty.innerHTML = String.fromCharCode(216);\n"
    "\t}\n"
    "}\n"
    "</script>\n";

const char *AlignmentWord(int alignment) {
    switch (alignment) {
        case kAlignRight:
            return "right;";
        case kAlignJustify:
            return "justify;";
        case kAlignCenter:
            return "center;";
        default:
            return "left";
    }
}

std::int32_t LessListIndent(const NotesParagraph &style, std::int32_t value) {
    if (!style.IsList()) {
        return value;
    }
    return value - 30 < 0 ? 0 : value - 30;
}

}  // namespace

struct HtmlRenderer::Node {
    int kind = kNodeTop;
    std::string text;
    const NotesParagraph *enclosing = nullptr;
    const NotesParagraph *style = &NotesParagraph::Default();
    bool paragraphOpen = false;
    bool listItemOpen = false;
    bool breakPending = false;
    bool swallowMark = false;
    bool inCell = false;
    std::unique_ptr<NotesTable> table;
    std::unique_ptr<NotesSection> section;
};

HtmlRenderer::HtmlRenderer(const NotesRtfAdvancedSettings &options, RenderState &state)
    : m_options(options), m_state(state) {
    m_nodes.push_back(std::make_unique<Node>());
}

HtmlRenderer::~HtmlRenderer() = default;

const std::string &HtmlRenderer::Text() const {
    return m_nodes.front()->text;
}

std::string HtmlRenderer::TakeText() {
    return std::move(m_nodes.front()->text);
}

void HtmlRenderer::Begin() {
    if (!m_options.RtfAdvancedIncludeDocElements) {
        return;
    }
    std::string &out = Top().text;
    out += kDocumentStart;
    if (m_state.CharsetMark == kCharsetMarkUtf16) {
        out += kCharsetUtf16;
    } else if (m_state.CharsetMark == kCharsetMarkUtf8) {
        out += kCharsetUtf8;
    }
    if (m_options.RtfAdvancedJavascriptAsLibrary) {
        out += kScriptLibrary;
    }
    out += kHeadEnd;
}

void HtmlRenderer::End() {
    CloseOpenNodes();
    CloseParagraph(Top());
    if (m_options.RtfAdvancedIncludeDocElements) {
        Top().text += kDocumentEnd;
    }
}

// Nodes left open by a truncated or damaged item are closed as their end records would close them,
// so that nothing already rendered is lost.
void HtmlRenderer::CloseOpenNodes() {
    while (m_nodes.size() > 1) {
        switch (Top().kind) {
            case kNodeCell:
            case kNodeTable:
                TableEnd();
                break;
            case kNodeSectionBody:
                SectionBodyEnd();
                break;
            default:
                CloseParagraph(Top());
                PopInto(false);
        }
    }
}

HtmlRenderer::Node &HtmlRenderer::Push(int kind) {
    auto node = std::make_unique<Node>();
    node->kind = kind;
    node->enclosing = Top().style;
    node->style = Top().style;
    m_nodes.push_back(std::move(node));
    return Top();
}

// Appends the top node's text to its parent and pops it.
void HtmlRenderer::PopInto(bool swallow) {
    std::unique_ptr<Node> node = std::move(m_nodes.back());
    m_nodes.pop_back();
    Top().text += node->text;
    if (swallow) {
        Top().swallowMark = true;
    }
}

void HtmlRenderer::PlainText(std::string_view text) {
    Top().text += text;
}

void HtmlRenderer::WriteBreak(Node &node) {
    float total = 0.0f;
    if (node.style->spaceBefore != kUnset) {
        total += node.style->spaceBefore;
    }
    if (node.style->spaceAfter != kUnset) {
        total += node.style->spaceAfter;
    }
    if (total <= 0.0f) {
        node.text += "<br />\n";
        return;
    }
    Appendf(node.text, "\n<div style=\"height: %.1fem\"></div>", static_cast<double>(total));
}

void HtmlRenderer::ContentStart() {
    Node &node = Top();
    if (node.breakPending) {
        WriteBreak(node);
        node.breakPending = false;
    }
    if (!node.paragraphOpen) {
        OpenParagraph(node);
    }
    if (node.style->IsList() && !node.listItemOpen) {
        node.text += "<li>";
        node.listItemOpen = true;
    }
}

void HtmlRenderer::OpenParagraph(Node &node) {
    AppendStyleElement(node, node.text);
    node.paragraphOpen = true;
}

void HtmlRenderer::CloseParagraph(Node &node) {
    if (!node.paragraphOpen) {
        return;
    }
    node.breakPending = false;
    switch (node.style->list) {
        case kListBulleted:
            node.text += "</ul></div>";
            break;
        case kListNumbered:
            node.text += "</ol></div>";
            break;
        default:
            node.text += "</div>";
    }
    node.paragraphOpen = false;
    // A list item left open ends with its list; the next paragraph starts its own.
    node.listItemOpen = false;
}

const NotesTableCell *HtmlRenderer::CellOf(const Node &node) const {
    if (!node.inCell || m_nodes.size() < 2) {
        return nullptr;
    }
    for (std::size_t i = m_nodes.size(); i-- > 1;) {
        if (m_nodes[i].get() == &node) {
            const NotesTable *table = m_nodes[i - 1]->table.get();
            return table != nullptr && !table->cells.empty() ? &table->cells.back() : nullptr;
        }
    }
    return nullptr;
}

void HtmlRenderer::AppendStyleElement(const Node &node, std::string &out) const {
    const NotesParagraph &s = *node.style;
    const NotesParagraph *e = node.enclosing;
    const NotesTableCell *c = CellOf(node);
    const bool top = node.kind == kNodeTop;
    Appendf(out, "<div style=\"text-align: %s; min-height: 1em", AlignmentWord(s.alignment));
    if (s.leftMargin != 0) {
        if (s.leftKind == kMarginOffset) {
            if (c == nullptr || !s.leftDefault) {
                const std::int32_t v = e != nullptr ? s.leftMargin - e->leftMargin : s.leftMargin;
                Appendf(out, "; margin-left: %dpx", LessListIndent(s, v));
            }
        } else if (s.leftKind == kMarginPercent) {
            Appendf(out, "; margin-left: %d%%", s.leftMargin);
        } else {
            const std::int32_t v = e != nullptr   ? s.leftMargin - e->leftMargin
                                   : c != nullptr ? s.leftMargin - c->leftMargin
                                                  : s.leftMargin;
            Appendf(out, "; margin-left: %dpx", LessListIndent(s, v));
        }
    }
    if (s.firstLineIndent != 0) {
        if (s.firstLineKind == kMarginOffset) {
            Appendf(out, "; text-indent: %dpx",
                    e != nullptr ? s.firstLineIndent - e->leftMargin : s.firstLineIndent);
        } else if (s.firstLineKind == kMarginPercent) {
            Appendf(out, "; text-indent: %d%%", s.firstLineIndent);
        } else {
            const std::int32_t v = e != nullptr   ? s.firstLineIndent - e->leftMargin
                                   : c != nullptr ? s.firstLineIndent - c->leftMargin
                                                  : s.firstLineIndent;
            Appendf(out, "; text-indent: %dpx", v);
        }
    }
    if (s.rightMargin != 0) {
        if (s.rightKind == kMarginOffset) {
            if (c != nullptr) {
                if (!s.rightDefault) {
                    Appendf(out, "; margin-right: %dpx", c->width - s.rightMargin);
                }
            } else {
                Appendf(out, "; width: %dpx", s.rightMargin - s.leftMargin);
            }
        } else if (s.rightKind == kMarginPercent) {
            Appendf(out, "; margin-right: %d%%", s.rightMargin);
        } else if (c != nullptr) {
            Appendf(out, "; margin-right: %dpx", c->rightMargin - s.rightMargin);
        } else {
            Appendf(out, "; width: %dpx", s.rightMargin - s.leftMargin);
        }
    } else if (top) {
        Appendf(out, "; margin-right: %dpx", s.defaultRightMargin);
    }
    if (s.lineHeight != kUnset) {
        Appendf(out, "; line-height: %.1fem", static_cast<double>(s.lineHeight));
    }
    if (s.spaceBefore != kUnset) {
        Appendf(out, "; margin-top: %.1fem", static_cast<double>(s.spaceBefore));
    }
    if (s.spaceAfter != kUnset) {
        Appendf(out, "; margin-bottom: %.1fem", static_cast<double>(s.spaceAfter));
    }
    out += "\">";
    if (s.list == kListBulleted) {
        out += "<ul>";
    } else if (s.list == kListNumbered) {
        out += "<ol>";
    }
}

void HtmlRenderer::ParagraphStyle(const NotesParagraph &style) {
    Node &node = Top();
    if (node.style == &style) {
        return;
    }
    CloseParagraph(node);
    node.style = &style;
    OpenParagraph(node);
}

void HtmlRenderer::ParagraphMark() {
    Node &node = Top();
    if (node.swallowMark) {
        node.swallowMark = false;
        return;
    }
    if (node.listItemOpen && node.style->IsList()) {
        node.text += "</li>";
        node.listItemOpen = false;
        return;
    }
    if (node.breakPending) {
        WriteBreak(node);
    }
    node.breakPending = true;
}

void HtmlRenderer::TextRun(const NotesFont &font, std::string_view text) {
    ContentStart();
    std::string &out = Top().text;
    html::AppendRunSpanOpen(out, font);
    html::AppendRunText(out, text);
    html::AppendSpanClose(out, font.id);
}

void HtmlRenderer::TableExtension(const richtext::TableExtension &extension) {
    ContentStart();
    Node &node = Push(kNodeTable);
    node.table = std::make_unique<NotesTable>();
    node.table->color1 = extension.color1;
    node.table->color2 = extension.color2;
    node.table->innerBorderColor = extension.innerBorderColor;
    node.table->tabbed = extension.tabbed;
}

void HtmlRenderer::TableBegin(const TableBeginValues &values) {
    if (!Top().table) {
        ContentStart();
        Push(kNodeTable).table = std::make_unique<NotesTable>();
    }
    NotesTable &table = *Top().table;
    table.leftMargin = values.leftMargin;
    table.horizontalPadding = values.horizontalPadding;
    table.verticalPadding = values.verticalPadding;
    table.flags = values.flags;
    table.fullWidth = values.fullWidth;
    table.alignment = values.alignment;
    table.alternate = values.alternate;
}

NotesTable *HtmlRenderer::NearestTable() {
    for (std::size_t i = m_nodes.size(); i-- > 0;) {
        if (m_nodes[i]->table) {
            return m_nodes[i]->table.get();
        }
    }
    return nullptr;
}

void HtmlRenderer::TableLabelFont(const NotesFont &font) {
    if (NotesTable *table = NearestTable(); table != nullptr) {
        table->labelFont = font;
    }
}

// Closes the open cell: its paragraph, its content stored with the cell, its node popped.
void HtmlRenderer::CloseCell() {
    Node &cell = Top();
    CloseParagraph(cell);
    std::string content = std::move(cell.text);
    m_nodes.pop_back();
    NotesTable *table = Top().table.get();
    if (table != nullptr && !table->cells.empty()) {
        table->cells.back().content = std::move(content);
    }
}

void HtmlRenderer::TableCell(const NotesTableCell &cell) {
    if (Top().kind == kNodeCell) {
        CloseCell();
    }
    if (!Top().table) {
        ContentStart();
        Push(kNodeTable).table = std::make_unique<NotesTable>();
    }
    ContentStart();
    NotesTable &table = *Top().table;
    table.cells.push_back(cell);
    table.cells.back().usePercent = table.fullWidth;
    Node &node = Push(kNodeCell);
    node.swallowMark = true;
    node.inCell = true;
}

void HtmlRenderer::TableLabel(const std::string &label, std::uint16_t flags) {
    if (Top().kind != kNodeCell || m_nodes.size() < 2) {
        return;
    }
    NotesTable *table = m_nodes[m_nodes.size() - 2]->table.get();
    if (table == nullptr || table->cells.empty()) {
        return;
    }
    table->cells.back().label = label;
    table->cells.back().labelFlags = flags;
}

void HtmlRenderer::TableEnd() {
    if (Top().kind == kNodeCell) {
        CloseCell();
    }
    if (!Top().table || m_nodes.size() < 2) {
        return;
    }
    std::unique_ptr<Node> node = std::move(m_nodes.back());
    m_nodes.pop_back();
    WriteTable(*node->table, m_options, m_state, Top().text);
    Top().swallowMark = true;
}

void HtmlRenderer::SectionBar(const NotesSection &section) {
    std::string &out = Top().text;
    if (!m_options.RtfAdvancedJavascriptAsLibrary) {
        out += kToggleSectionScript;
    }
    const int n = section.number;
    Appendf(out, "<!--Section id%d start--><div onClick=\"ToggleSection('id%d')\">", n, n);
    Appendf(out,
            "<span id=\"id%d_t\" style=\"font-family: Wingdings; font-size: 18; color: #%s\">&#%d</span> ", n,
            PaletteColor(section.titleColor), section.expanded ? 218 : 216);
    html::AppendTitleSpanOpen(out, section.titleFont);
    AppendEscaped(out, section.title);
    html::AppendSpanClose(out, section.titleFont.id);
    out += "</div>\n";
    Appendf(out, "<div id=\"id%d_d\"%s>", n, section.expanded ? "" : " style=\"display: none\"");
    Top().section = std::make_unique<NotesSection>(section);
}

void HtmlRenderer::SectionBodyBegin() {
    ContentStart();
    Push(kNodeSectionBody);
}

void HtmlRenderer::SectionBodyEnd() {
    while (m_nodes.size() > 1 && Top().kind != kNodeSectionBody) {
        Top().kind == kNodeTop ? PopInto(false) : TableEnd();
    }
    if (m_nodes.size() < 2) {
        return;
    }
    Node &body = Top();
    CloseParagraph(body);
    // The bar normally comes inside the body; a bar met just before it belongs to the parent.
    std::unique_ptr<NotesSection> &section =
        body.section ? body.section : m_nodes[m_nodes.size() - 2]->section;
    if (section) {
        Appendf(body.text, "</div><!--Section id%d end-->\n", section->number);
        section.reset();
    }
    PopInto(true);
}

void HtmlRenderer::UrlBegin(const std::string *url) {
    m_urlAnchors.push_back(url != nullptr);
    if (url == nullptr) {
        return;
    }
    std::string &out = Top().text;
    out += "<a href=\"";
    AppendEscaped(out, *url);
    out += "\">";
}

void HtmlRenderer::UrlEnd() {
    if (m_urlAnchors.empty()) {
        return;
    }
    const bool opened = m_urlAnchors.back();
    m_urlAnchors.pop_back();
    if (opened) {
        Top().text += "</a>";
    }
}

void HtmlRenderer::AttachmentBegin(const AttachmentLink &attachment) {
    std::string &out = Top().text;
    if (m_options.RtfAdvancedEnableAttLinks) {
        if (attachment.known && attachment.extracted) {
            out += "<a href=\"";
            AppendEscaped(out, attachment.extractedPath);
            out += "\" title=\"";
            AppendEscaped(out, attachment.DisplayName());
            out += "\">";
        } else {
            out += "<a title=\"";
            if (attachment.known) {
                AppendEscaped(out, attachment.DisplayName());
            }
            out += "\">";
        }
    }
    if (m_options.RtfAdvancedIncludeAttMarkers) {
        out += "{attachment: ";
        AppendEscaped(out, attachment.fileName);
        out += "}";
    }
}

void HtmlRenderer::AttachmentEnd() {
    if (m_options.RtfAdvancedEnableAttLinks) {
        Top().text += "</a>";
    }
}

void HtmlRenderer::NotesLinkRef(const NotesLink &link) {
    std::string &out = Top().text;
    const std::string url = link.Url();
    if (m_options.RtfAdvancedEnableNotesLinks) {
        out += "<a href=\"";
        AppendEscaped(out, url);
        out += "\">";
    }
    if (m_options.RtfAdvancedIncludeNotesLinks) {
        AppendEscaped(out, url);
    } else {
        out += kLinkIcon;
    }
    if (m_options.RtfAdvancedEnableNotesLinks) {
        out += "</a>";
    }
}

void HtmlRenderer::GraphicBegin() {
    ContentStart();
}

void HtmlRenderer::Image(const NotesImage &image) {
    std::string &out = Top().text;
    out += "<img src=\"";
    AppendEscaped(out, image.path);
    out += "\" style=\"";
    if (image.border) {
        const NotesBorder &b = *image.border;
        Appendf(out, " border-style: solid; border-width: %dpx %dpx %dpx %dpx; border-color: solid;", b.top,
                b.right, b.bottom, b.left);
        Appendf(out, " border-color: #%s", b.color.c_str());
    } else {
        out += "border-width: 0";
    }
    out += "\"";
    if (image.resize) {
        Appendf(out, " height=\"%d\" width=\"%d\"", image.height, image.width);
    }
    if (!image.altText.empty()) {
        out += " alt=\"";
        AppendEscaped(out, image.altText);
        out += "\"";
    }
    out += " />";
}

}  // namespace richtext
