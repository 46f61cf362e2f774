// Decoding $VIEWFORMAT: VIEW_TABLE_FORMAT {VIEW_FORMAT_HEADER {BYTE Version; BYTE ViewStyle}; WORD
// Columns; WORD ItemSequenceNumber; WORD Flags; WORD Flags2} (10 bytes), one VIEW_COLUMN_FORMAT (32
// bytes) per column, then per column its item name, title, compiled formula and constant value.
#include "ViewFormat.h"

#include "Bytes.h"

namespace standin::dxl {

namespace {

constexpr std::size_t kTableSize = 10;
constexpr std::size_t kColumnSize = 32;
constexpr WORD kSort = 0x0001;
constexpr WORD kCategorize = 0x0002;
constexpr WORD kDescending = 0x0004;
constexpr char kOurCompiledForm[] = "VXF1";

// The text of a text or text-list item, entries joined by '|' (the title and its aliases).
std::string ItemText(const Note &note, const char *name) {
    long i = note.FindItem(name);
    if (i < 0) {
        return std::string();
    }
    std::string_view v = note.ItemValue(static_cast<std::size_t>(i));
    WORD type = v.size() >= 2 ? ReadWord(v, 0) : 0;
    if (type == notes::kTypeText || type == notes::kTypeFormula) {
        return std::string(v.substr(2));
    }
    if (type != notes::kTypeTextList || v.size() < 4) {
        return std::string();
    }
    std::size_t count = ReadWord(v, 2);
    std::size_t at = 4 + 2 * count;
    std::string out;
    for (std::size_t k = 0; k < count && at <= v.size() && 4 + 2 * k + 2 <= v.size(); ++k) {
        std::size_t length = ReadWord(v, 4 + 2 * k);
        if (length > v.size() - at) {
            break;
        }
        out += (k > 0 ? "|" : "") + std::string(v.substr(at, length));
        at += length;
    }
    return out;
}

}  // namespace

void ViewFromItems(Note &note, std::vector<std::string> &problems) {
    auto view = std::make_unique<ViewDesign>();
    std::string flags = ItemText(note, "$Flags");
    view->isFolder = flags.find('F') != std::string::npos;
    view->isPrivate = flags.find('V') != std::string::npos;
    std::string title = ItemText(note, "$TITLE");
    view->selectionFormula = ItemText(note, "$Formula");
    if (view->selectionFormula.substr(0, 4) == kOurCompiledForm) {
        view->compiledSelection = std::move(view->selectionFormula);
        view->selectionFormula.clear();
    } else if (view->selectionFormula.find_first_of(std::string("\0\x01\x02\x03\x04\x05\x06\x07\x08", 9)) !=
               std::string::npos) {
        problems.push_back("view '" + title +
                           "': the selection formula is compiled by another program; the view selects every "
                           "document");
        view->selectionFormula.clear();
    }
    long at = note.FindItem("$VIEWFORMAT");
    std::string_view format =
        at < 0 ? std::string_view() : note.ItemValue(static_cast<std::size_t>(at)).substr(2);
    if (at >= 0 && note.ItemType(static_cast<std::size_t>(at)) != notes::kTypeViewFormat) {
        problems.push_back("view '" + title + "': $VIEWFORMAT is not a view format item");
        format = std::string_view();
    }
    if (format.size() >= kTableSize) {
        std::size_t count = ReadWord(format, 2);
        std::size_t data = kTableSize + count * kColumnSize;
        if (data > format.size()) {
            problems.push_back("view '" + title + "': $VIEWFORMAT is shorter than its " +
                               std::to_string(count) + " columns");
            count = 0;
        }
        for (std::size_t c = 0; c < count; ++c) {
            std::size_t fixed = kTableSize + c * kColumnSize;
            WORD flags1 = ReadWord(format, fixed + 2);
            std::size_t sizes[4] = {ReadWord(format, fixed + 4), ReadWord(format, fixed + 6),
                                    ReadWord(format, fixed + 8), ReadWord(format, fixed + 10)};
            if (sizes[0] + sizes[1] + sizes[2] + sizes[3] > format.size() - data) {
                problems.push_back("view '" + title + "': column " + std::to_string(c + 1) +
                                   " runs past the end of $VIEWFORMAT");
                break;
            }
            ViewColumn column;
            column.itemName.assign(format.substr(data, sizes[0]));
            std::string_view compiled = format.substr(data + sizes[0] + sizes[1], sizes[2]);
            data += sizes[0] + sizes[1] + sizes[2] + sizes[3];
            column.sorted = (flags1 & (kSort | kCategorize)) != 0;
            column.categorized = (flags1 & kCategorize) != 0;
            column.descending = (flags1 & kDescending) != 0;
            if (compiled.substr(0, 4) == kOurCompiledForm) {
                column.compiledFormula.assign(compiled);
            } else if (!compiled.empty()) {
                problems.push_back("view '" + title + "': the formula of column " + std::to_string(c + 1) +
                                   " is compiled by another program; the column shows item '" +
                                   column.itemName + "'");
            }
            view->columns.push_back(std::move(column));
        }
    } else if (at >= 0) {
        problems.push_back("view '" + title + "': $VIEWFORMAT is too short");
    }
    note.view = std::move(view);
}

}  // namespace standin::dxl
