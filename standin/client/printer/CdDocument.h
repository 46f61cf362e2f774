// Composite-data records laid out as a printed page: a QTextDocument with the records' paragraphs
// (alignment, indents, spacing), fonts (face, size, style, colour), tables (cells, spans, backgrounds,
// nested tables), pictures (GIF, JPEG, PNG and Notes bitmaps), section titles, links and attachments.
#pragma once

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cd/Picture.h"
#include "cd/Records.h"

namespace standin::printer {

class CdDocument {
public:
    // Lays the records out in document (an optional leading TYPE_COMPOSITE word is skipped). False
    // (problem set) when the records are damaged; the document is then left empty.
    [[nodiscard]] bool Build(std::string_view records, QTextDocument &document, std::string &problem);

private:
    struct OpenTable {
        QTextTable *table = nullptr;
        std::map<int, long> widths;  // twips of the cells of each column
    };

    void Record(WORD signature, std::string_view r);
    void Paragraph();
    void Run(std::string_view r, DWORD font);
    void Insert(std::string_view lmbcs, const QTextCharFormat &format);
    QTextCharFormat Format(DWORD font) const;
    void FinishPicture();
    void TableBegin();
    void TableCell(std::string_view r);
    void TableEnd();

    QTextDocument *m_document = nullptr;
    QTextCursor m_cursor;
    bool m_blockStart = true;  // the cursor's block is new and empty: the next paragraph mark starts no block
    std::map<WORD, QTextBlockFormat> m_paragraphs;
    std::vector<QString> m_faceNames;  // faces 5 and up from a font table record
    std::vector<OpenTable> m_tables;
    QString m_linkHref;  // of the URL hotspot open, else empty
    int m_hotspots = 0;
    // A text run in BEGIN/END brackets whose RGB colour record may follow it.
    bool m_bracketRun = false;
    std::string m_pendingRun;
    QColor m_pendingColor;
    std::optional<cd::Picture> m_picture;  // the picture being collected
    int m_pictures = 0;
};

}  // namespace standin::printer
