// Composite-data records to RTF 1.x: paragraphs with alignment and indents, font and colour tables,
// character attributes, tables with cell widths, merged cells and backgrounds, sections as their title
// and body, links as fields, pictures as \pict groups (PNG and JPEG as they are, GIF and Notes bitmaps
// converted to PNG) and attachments as their names.
#pragma once

#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cd/Image.h"
#include "cd/ParagraphFormat.h"
#include "cd/Picture.h"
#include "cd/Records.h"

namespace standin::rtf {

class RtfConverter {
public:
    // Converts the records (an optional leading TYPE_COMPOSITE word is skipped). False (problem set)
    // when the records are damaged; nothing of a damaged input is given out.
    [[nodiscard]] bool Convert(std::string_view records, std::string &rtf, std::string &problem);

private:
    using Paragraph = cd::ParagraphFormat;
    struct Cell {
        int row = 0;
        int column = 0;
        long left = 0;
        long right = 0;
        int rowSpan = 1;
        int columnSpan = 1;
        int background = -1;            // colour table index
        int borders[4] = {1, 1, 1, 1};  // left, right, top, bottom in pixels
        std::string content;
    };
    // Cells and tables live in deques: output targets point into them while more are added.
    struct Table {
        long leftMargin = 0;
        bool nested = false;
        std::deque<Cell> cells;
        std::string *outer = nullptr;  // where the table is written when it ends
        std::size_t hotspots = 0;      // hotspots open when it began
    };
    enum class Hotspot { None, Url, File, Section, Other };
    struct OpenHotspot {
        Hotspot kind = Hotspot::None;
        std::string data;  // the URL, or the attachment's display name
        std::string *outer = nullptr;
        std::string content;
    };

    void Record(WORD signature, std::string_view r);
    void ParagraphStyle(WORD id);
    void Run(std::string_view r, DWORD font);
    void Escape(std::string_view lmbcs);
    int ColorIndex(std::uint32_t rgb);
    int FontIndex(BYTE face);
    void FinishPicture();
    void EmitPicture(std::string_view blipKind, const std::string &bytes, int width, int height);
    void TableCell(std::string_view r, bool nested);
    void TableBegin(std::string_view r);
    void TableEnd();
    void HotspotEnd();
    void Close(const std::string &out);  // drops the innermost table and writes its text
    void Out(std::string_view text) { m_target->append(text); }

    std::string m_body;
    std::string *m_target = &m_body;
    std::map<WORD, Paragraph> m_paragraphs;
    Paragraph m_current;
    bool m_inCell = false;
    bool m_swallowMark = false;
    int m_number = 0;                      // numbered-list counter
    std::vector<std::string> m_faceNames;  // faces 5 and up from a font table record
    std::vector<std::string> m_fonts;      // RTF font table
    std::map<BYTE, int> m_fontIndex;
    std::vector<std::uint32_t> m_colors;  // RTF colour table (index 1 up)
    std::deque<Table> m_tables;
    std::deque<OpenHotspot> m_hotspots;
    DWORD m_pendingColorFont = 0;
    std::string m_pendingRun;  // a text run whose colour record may follow (begin/end brackets)
    bool m_bracketRun = false;
    std::optional<cd::Picture> m_picture;  // the picture being collected
    long m_pictureWidth = 0;               // twips of the picture being written
    long m_pictureHeight = 0;
};

}  // namespace standin::rtf
