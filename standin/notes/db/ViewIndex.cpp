// Building view entries.
#include "ViewIndex.h"

#include <algorithm>
#include <map>

#include "../common/TimeDate.h"
#include "../formula/Formula.h"
#include "DbStatus.h"
#include "DxlNoteContext.h"
#include "Security.h"
#include "dxl/Bytes.h"

namespace standin {

namespace {

// A column value reduced to what sorting compares.
struct SortKey {
    int kind = 0;  // 0 none, 1 number, 2 time, 3 text
    double number = 0;
    std::string text;
};

std::vector<SortKey> Keys(std::string_view value) {
    std::vector<SortKey> out;
    if (value.size() < 2) {
        return out;
    }
    WORD type = dxl::ReadWord(value, 0);
    std::string_view body = value.substr(2);
    auto number = [&](std::size_t at) {
        SortKey k;
        k.kind = 1;
        k.number = dxl::ReadDouble(body, at);
        return k;
    };
    auto time = [&](std::size_t at) {
        SortKey k;
        k.kind = 2;
        TIMEDATE t{{dxl::ReadDword(body, at), dxl::ReadDword(body, at + 4)}};
        k.number = static_cast<double>(ToUnixSeconds(t)) * 100.0;
        return k;
    };
    switch (type) {
        case notes::kTypeText:
        case notes::kTypeTextList:
            for (const std::string &t : TextEntries(value)) {
                SortKey k;
                k.kind = 3;
                k.text = dxl::ToLowerAscii(t);
                out.push_back(k);
            }
            break;
        case notes::kTypeNumber:
            if (body.size() >= 8) {
                out.push_back(number(0));
            }
            break;
        case notes::kTypeTime:
            if (body.size() >= 8) {
                out.push_back(time(0));
            }
            break;
        case notes::kTypeNumberRange:
        case notes::kTypeTimeRange:
            if (body.size() >= 4) {
                std::size_t n = dxl::ReadWord(body, 0);
                for (std::size_t i = 0; i < n && 4 + 8 * (i + 1) <= body.size(); ++i) {
                    out.push_back(type == notes::kTypeNumberRange ? number(4 + 8 * i) : time(4 + 8 * i));
                }
            }
            break;
        default:
            break;
    }
    return out;
}

int Compare(const SortKey &a, const SortKey &b) {
    if (a.kind != b.kind) {
        return a.kind < b.kind ? -1 : 1;
    }
    if (a.kind == 3) {
        return a.text.compare(b.text) < 0 ? -1 : (a.text == b.text ? 0 : 1);
    }
    return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
}

// The text of a category value.
std::string CategoryTitle(std::string_view value, const SortKey &key) {
    WORD type = value.size() >= 2 ? dxl::ReadWord(value, 0) : 0;
    if (key.kind == 0) {
        return "(Not Categorized)";
    }
    if (key.kind == 3) {
        for (const std::string &t : TextEntries(value)) {
            if (dxl::ToLowerAscii(t) == key.text) {
                return t;
            }
        }
    }
    if (key.kind == 1) {
        return FormatNumber(key.number, nullptr);
    }
    (void)type;
    return FormatTimeDate(FromUnixSeconds(static_cast<std::int64_t>(key.number / 100.0)), nullptr);
}

// A document of the view while its order is worked out: the first sort key of each sorted column
// other than a categorised first one (the first inline: most views sort on one column) and, when
// categorised, the index of its first column's value.
struct Row {
    NOTEID noteId = 0;
    WORD noteClass = 0;
    UNID unid{};
    SortKey first;
    std::vector<SortKey> more;
    std::uint32_t categoryValue = 0;
    const SortKey &Key(std::size_t k) const { return k == 0 ? first : more[k - 1]; }
};

SortKey FirstKey(std::string_view value) {
    std::vector<SortKey> keys = Keys(value);
    return keys.empty() ? SortKey() : keys[0];
}

bool ColumnValue(const dxl::ViewColumn &column, const std::string &compiled, const DatabaseFile &data,
                 const dxl::Note &note, const std::string &server, std::string &value, STATUS &status) {
    value.clear();
    if (compiled.empty()) {
        long i = note.FindItem(column.itemName);
        if (i >= 0 && !note.IsItemEncrypted(static_cast<std::size_t>(i))) {
            value.assign(note.ItemValue(static_cast<std::size_t>(i)));
        }
        return true;
    }
    DxlNoteContext context(note, data, server, std::string(), false);
    formula::Result result;
    if (!formula::Evaluate(compiled, context, result, status)) {
        return false;
    }
    dxl::AppendWord(value, result.type);
    value += result.value;
    return true;
}

}  // namespace

bool ViewIndex::CompileColumns(const dxl::ViewDesign &view, std::vector<std::string> &compiled,
                               STATUS &status) {
    compiled.clear();
    for (const dxl::ViewColumn &c : view.columns) {
        std::string one = c.compiledFormula;
        // A formula that only names the column's item reads the item itself.
        if (one.empty() && !c.formula.empty() && !dxl::EqualsNoCase(c.formula, c.itemName)) {
            formula::CompileError error;
            if (!formula::Compile(c.formula, one, error)) {
                status = error.status;
                return false;
            }
        }
        compiled.push_back(one);
    }
    return true;
}

bool ViewIndex::EntryValues(const DatabaseFile &data, const dxl::ViewDesign &view,
                            const std::vector<std::string> &compiledColumns, NOTEID noteId,
                            const std::string &server, std::vector<std::string> &values, STATUS &status) {
    values.clear();
    const dxl::Note *header = data.db.Find(noteId);
    if (header == nullptr) {
        status = kStsNoteNotFound;
        return false;
    }
    dxl::Note loaded;
    std::string error;
    const dxl::Note *n = data.db.Load(*header, loaded, error);
    if (n == nullptr) {
        status = FailWith(kStsDxlInvalid, error);
        return false;
    }
    values.resize(view.columns.size());
    for (std::size_t c = 0; c < view.columns.size() && c < compiledColumns.size(); ++c) {
        if (!ColumnValue(view.columns[c], compiledColumns[c], data, *n, server, values[c], status)) {
            return false;
        }
    }
    return true;
}

bool ViewIndex::Selects(const std::string &compiled, const DatabaseFile &data, const dxl::Note &note,
                        const std::string &server, bool &selected, STATUS &status) {
    selected = true;
    if (compiled.empty()) {
        return true;
    }
    DxlNoteContext context(note, data, server, std::string(), false);
    formula::Result result;
    if (!formula::Evaluate(compiled, context, result, status)) {
        return false;
    }
    selected = result.matches;
    return true;
}

bool ViewIndex::Build(const DatabaseFile &data, const dxl::Note &viewNote, const std::string &server,
                      std::vector<ViewEntry> &entries, STATUS &status) {
    entries.clear();
    status = 0;
    const dxl::ViewDesign &view = *viewNote.view;
    const dxl::Database &db = data.db;
    auto usable = [&](const dxl::Note *n) { return n != nullptr && !n->deleted && CanRead(*n); };
    std::vector<std::string> compiledColumns;
    if (!CompileColumns(view, compiledColumns, status)) {
        return false;
    }
    // The column values of a note, read in full for them when the index holds only its header.
    auto valuesOf = [&](const dxl::Note &header, std::vector<std::string> &values) {
        dxl::Note loaded;
        std::string error;
        const dxl::Note *full = db.Load(header, loaded, error);
        if (full == nullptr) {
            status = FailWith(kStsDxlInvalid, error);
            return false;
        }
        const dxl::Note &n = *full;
        values.resize(view.columns.size());
        for (std::size_t c = 0; c < view.columns.size(); ++c) {
            if (!ColumnValue(view.columns[c], compiledColumns[c], data, n, server, values[c], status)) {
                return false;
            }
        }
        return true;
    };
    if (view.hasExplicitEntries) {
        std::vector<DWORD> counters;
        DWORD categories = 0;
        for (const dxl::ExplicitEntry &e : view.entries) {
            const dxl::Note *n = e.isCategory ? nullptr : db.Find(e.noteId);
            if (!e.isCategory && !usable(n)) {
                continue;
            }
            WORD level = std::min<WORD>(e.level, static_cast<WORD>(counters.size()));
            counters.resize(level + 1u, 0);
            ++counters[level];
            ViewEntry entry;
            entry.tumbler = counters;
            if (e.isCategory) {
                entry.noteId = notes::kNoteIdCategory | ++categories;
                std::string v;
                dxl::AppendWord(v, notes::kTypeText);
                v += e.categoryTitle;
                entry.values = std::make_unique<std::vector<std::string>>(1, v);
            } else {
                entry.noteId = n->noteId;
                entry.noteClass = n->noteClass;
                entry.unid = n->unid;
                entry.values = std::make_unique<std::vector<std::string>>();
                if (!valuesOf(*n, *entry.values)) {
                    return false;
                }
            }
            entries.push_back(std::move(entry));
        }
        return true;
    }
    // Each selected document is read once: its selection and its column values together; what its
    // order needs is kept.
    bool categorized = !view.columns.empty() && view.columns[0].categorized;
    std::vector<std::string> categoryValues;  // the first column's values, when categorised
    auto toRow = [&](const dxl::Note &header, const std::vector<std::string> &values) {
        Row row;
        row.noteId = header.noteId;
        row.noteClass = header.noteClass;
        row.unid = header.unid;
        std::size_t k = 0;
        for (std::size_t c = 0; c < view.columns.size(); ++c) {
            if (view.columns[c].sorted && !(c == 0 && categorized)) {
                (k++ == 0 ? row.first : row.more.emplace_back()) = FirstKey(values[c]);
            }
        }
        if (categorized) {
            row.categoryValue = static_cast<std::uint32_t>(categoryValues.size());
            categoryValues.push_back(values[0]);
        }
        return row;
    };
    std::vector<Row> candidates;
    if (view.isFolder) {
        for (NOTEID id : view.members) {
            const dxl::Note *n = db.Find(id);
            if (usable(n)) {
                std::vector<std::string> values;
                if (!valuesOf(*n, values)) {
                    return false;
                }
                candidates.push_back(toRow(*n, values));
            }
        }
    } else {
        std::string compiled = view.compiledSelection;
        if (compiled.empty() && !view.selectionFormula.empty()) {
            formula::CompileError error;
            if (!formula::Compile(view.selectionFormula, compiled, error)) {
                status = error.status;
                return false;
            }
        }
        for (const dxl::Note &header : db.notes) {
            if (header.noteClass != notes::kNoteClassDocument || !usable(&header)) {
                continue;
            }
            dxl::Note loaded;
            std::string loadError;
            const dxl::Note *n = db.Load(header, loaded, loadError);
            if (n == nullptr) {
                status = FailWith(kStsDxlInvalid, loadError);
                return false;
            }
            bool selected = false;
            if (!Selects(compiled, data, *n, server, selected, status)) {
                return false;
            }
            if (!selected) {
                continue;
            }
            std::vector<std::string> values(view.columns.size());
            for (std::size_t c = 0; c < view.columns.size(); ++c) {
                if (!ColumnValue(view.columns[c], compiledColumns[c], data, *n, server, values[c], status)) {
                    return false;
                }
            }
            candidates.push_back(toRow(header, values));
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Row &a, const Row &b) { return a.noteId < b.noteId; });
    std::vector<Row> rows;
    std::vector<SortKey> categoryOf;  // the category key of each row, when categorised
    if (!categorized) {
        rows.swap(candidates);
    }
    for (const Row &row : candidates) {
        // A categorised document appears under each of its categories when the column separates
        // multiple values.
        std::vector<SortKey> keys = Keys(categoryValues[row.categoryValue]);
        if (keys.empty()) {
            keys.emplace_back();
        }
        if (!view.columns[0].separateMultipleValues) {
            keys.resize(1);
        }
        for (const SortKey &k : keys) {
            rows.push_back(row);
            categoryOf.push_back(k);
        }
    }
    candidates.clear();
    candidates.shrink_to_fit();
    // Sorted through an order of row numbers, so the category keys stay with their rows.
    std::vector<std::uint32_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = static_cast<std::uint32_t>(i);
    }
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        std::size_t k = 0;
        for (std::size_t c = 0; c < view.columns.size(); ++c) {
            const dxl::ViewColumn &col = view.columns[c];
            if (!col.sorted) {
                continue;
            }
            int r = 0;
            if (c == 0 && categorized) {
                r = Compare(categoryOf[a], categoryOf[b]);
            } else {
                r = Compare(rows[a].Key(k), rows[b].Key(k));
                ++k;
            }
            if (r != 0) {
                return col.descending ? r > 0 : r < 0;
            }
        }
        return false;
    });
    DWORD top = 0;
    DWORD inCategory = 0;
    DWORD categories = 0;
    const SortKey *current = nullptr;
    entries.reserve(rows.size());
    for (std::uint32_t index : order) {
        const Row &row = rows[index];
        if (categorized && (current == nullptr || Compare(*current, categoryOf[index]) != 0)) {
            current = &categoryOf[index];
            ViewEntry category;
            category.noteId = notes::kNoteIdCategory | ++categories;
            category.tumbler = {++top};
            std::string v;
            dxl::AppendWord(v, notes::kTypeText);
            v += CategoryTitle(categoryValues[row.categoryValue], categoryOf[index]);
            category.values = std::make_unique<std::vector<std::string>>(view.columns.size());
            (*category.values)[0] = v;
            entries.push_back(std::move(category));
            inCategory = 0;
        }
        ViewEntry entry;
        entry.noteId = row.noteId;
        entry.noteClass = row.noteClass;
        entry.unid = row.unid;
        entry.valuesPending = true;
        entry.tumbler = categorized ? std::vector<DWORD>{top, ++inCategory} : std::vector<DWORD>{++top};
        entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace standin
