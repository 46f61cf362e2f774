// Builds DXL database text for tests: N documents with chosen items, views and folders.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

class DxlBuilder {
public:
    explicit DxlBuilder(std::string title = "Generated") : m_title(std::move(title)) {}

    // A document with the next note ID (4, 8, 12, ...); items are added to the last document.
    DxlBuilder &Document(const std::string &form = "Doc");
    DxlBuilder &Text(const std::string &name, const std::string &value);
    DxlBuilder &TextList(const std::string &name, const std::vector<std::string> &values);
    DxlBuilder &Number(const std::string &name, double value);
    DxlBuilder &DateTime(const std::string &name, const std::string &dxlValue);
    // A rich-text item whose content is DXL as given ("<par>text</par>").
    DxlBuilder &RichText(const std::string &name, const std::string &dxlContent);
    // n documents, document i (from 1) with Subject "Doc <i>" and Index i.
    DxlBuilder &Documents(int n, const std::string &form = "Doc");
    // A view with a selection formula and one sorted column per item name given.
    DxlBuilder &View(const std::string &name, const std::string &selection,
                     const std::vector<std::string> &sortedColumns = {}, bool categorizeFirst = false);
    DxlBuilder &Folder(const std::string &name, const std::vector<unsigned> &memberNoteIds = {});
    // The note ID of the last document added.
    unsigned LastNoteId() const { return m_nextId - 4; }
    std::string Build() const;

private:
    void CloseDocument();
    std::string m_title;
    std::string m_body;
    bool m_open = false;
    unsigned m_nextId = 4;
    unsigned m_nextDesignId = 0x40000000;
};

// Text escaped for XML.
std::string XmlEscape(const std::string &text);

}  // namespace testsupport
