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

struct Row {
    const dxl::Note *note = nullptr;
    std::vector<std::string> values;
    SortKey category;
};

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
    for (const dxl::ViewColumn &c : view.columns) {
        std::string compiled = c.compiledFormula;
        // A formula that only names the column's item reads the item itself.
        if (compiled.empty() && !c.formula.empty() && !dxl::EqualsNoCase(c.formula, c.itemName)) {
            formula::CompileError error;
            if (!formula::Compile(c.formula, compiled, error)) {
                status = error.status;
                return false;
            }
        }
        compiledColumns.push_back(compiled);
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
                entry.values.push_back(v);
            } else {
                entry.noteId = n->noteId;
                entry.noteClass = n->noteClass;
                entry.unid = n->unid;
                if (!valuesOf(*n, entry.values)) {
                    return false;
                }
            }
            entries.push_back(std::move(entry));
        }
        return true;
    }
    // Each selected document is read once: its selection and its column values together.
    std::vector<Row> candidates;
    if (view.isFolder) {
        for (NOTEID id : view.members) {
            const dxl::Note *n = db.Find(id);
            if (usable(n)) {
                Row row;
                row.note = n;
                if (!valuesOf(*n, row.values)) {
                    return false;
                }
                candidates.push_back(std::move(row));
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
            Row row;
            row.note = &header;
            row.values.resize(view.columns.size());
            for (std::size_t c = 0; c < view.columns.size(); ++c) {
                if (!ColumnValue(view.columns[c], compiledColumns[c], data, *n, server, row.values[c],
                                 status)) {
                    return false;
                }
            }
            candidates.push_back(std::move(row));
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Row &a, const Row &b) { return a.note->noteId < b.note->noteId; });
    bool categorized = !view.columns.empty() && view.columns[0].categorized;
    std::vector<Row> rows;
    for (Row &row : candidates) {
        if (categorized) {
            std::vector<SortKey> keys = Keys(row.values[0]);
            if (keys.empty()) {
                keys.emplace_back();
            }
            if (!view.columns[0].separateMultipleValues) {
                keys.resize(1);
            }
            for (const SortKey &k : keys) {
                Row copy = row;
                copy.category = k;
                rows.push_back(std::move(copy));
            }
        } else {
            rows.push_back(std::move(row));
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [&](const Row &a, const Row &b) {
        for (std::size_t c = 0; c < view.columns.size(); ++c) {
            const dxl::ViewColumn &col = view.columns[c];
            if (!col.sorted) {
                continue;
            }
            int r = 0;
            if (c == 0 && categorized) {
                r = Compare(a.category, b.category);
            } else {
                std::vector<SortKey> ka = Keys(a.values[c]);
                std::vector<SortKey> kb = Keys(b.values[c]);
                r = Compare(ka.empty() ? SortKey() : ka[0], kb.empty() ? SortKey() : kb[0]);
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
    for (const Row &row : rows) {
        if (categorized && (current == nullptr || Compare(*current, row.category) != 0)) {
            current = &row.category;
            ViewEntry category;
            category.noteId = notes::kNoteIdCategory | ++categories;
            category.tumbler = {++top};
            std::string v;
            dxl::AppendWord(v, notes::kTypeText);
            v += CategoryTitle(row.values[0], row.category);
            category.values.push_back(v);
            category.values.resize(view.columns.size());
            entries.push_back(std::move(category));
            inCategory = 0;
        }
        ViewEntry entry;
        entry.noteId = row.note->noteId;
        entry.noteClass = row.note->noteClass;
        entry.unid = row.note->unid;
        entry.values = row.values;
        entry.tumbler = categorized ? std::vector<DWORD>{top, ++inCategory} : std::vector<DWORD>{++top};
        entries.push_back(std::move(entry));
    }
    return true;
}

}  // namespace standin
