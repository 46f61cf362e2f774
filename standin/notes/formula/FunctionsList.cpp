// List @functions: counting, subsets, joining and splitting, membership, uniqueness and sorting.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "FunctionHelpers.h"
#include "LmbcsText.h"

namespace formula {

namespace {

// The value with only the entries at the given positions.
Value Pick(const Value &v, const std::vector<std::size_t> &positions) {
    Value out;
    out.kind = v.kind;
    for (std::size_t p : positions) {
        switch (v.kind) {
            case Kind::Text:
                out.texts.push_back(v.texts[p]);
                break;
            case Kind::Number:
                out.numbers.push_back(v.numbers[p]);
                break;
            case Kind::Time:
                out.times.push_back(v.times[p]);
                break;
            case Kind::Error:
                return v;
        }
    }
    if (out.Size() == 0) {
        return Value::Text(std::string());
    }
    return out;
}

bool SameEntry(const Value &a, std::size_t i, const Value &b, std::size_t j) {
    switch (a.kind) {
        case Kind::Text:
            return a.texts[i] == b.texts[j];
        case Kind::Number:
            return a.numbers[i] == b.numbers[j];
        case Kind::Time:
            return a.times[i].Innards[0] == b.times[j].Innards[0] &&
                   a.times[i].Innards[1] == b.times[j].Innards[1];
        case Kind::Error:
            return false;
    }
    return false;
}

// A key per entry that is equal exactly when the entries are, for sets of entries.
std::string EntryKey(const Value &v, std::size_t i) {
    switch (v.kind) {
        case Kind::Text:
            return v.texts[i];
        case Kind::Number: {
            double n = v.numbers[i] == 0 ? 0.0 : v.numbers[i];
            return std::string(reinterpret_cast<const char *>(&n), sizeof(n));
        }
        case Kind::Time:
            return std::string(reinterpret_cast<const char *>(v.times[i].Innards),
                               sizeof(v.times[i].Innards));
        case Kind::Error:
            break;
    }
    return std::string();
}

std::unordered_set<std::string> KeySet(const Value &v) {
    std::unordered_set<std::string> keys;
    for (std::size_t i = 0; i < v.Size() && !v.IsError(); ++i) {
        keys.insert(EntryKey(v, i));
    }
    return keys;
}

Value Elements(Evaluator &, std::vector<Value> &args) {
    const Value &v = args[0];
    if (v.kind == Kind::Text && v.texts.size() == 1 && v.texts[0].empty()) {
        return Value::Number(0);
    }
    return Value::Number(static_cast<double>(v.Size()));
}

Value Subset(Evaluator &, std::vector<Value> &args) {
    double n = 0;
    Value error;
    if (!FirstNumber(args[1], n, error)) {
        return error;
    }
    long count = std::isfinite(n) ? static_cast<long>(std::max(-1e9, std::min(1e9, n))) : 0;
    if (count == 0) {
        return Value::Error("The second argument to @Subset must not be zero");
    }
    std::size_t size = args[0].Size();
    std::size_t take = std::min(static_cast<std::size_t>(std::labs(count)), size);
    std::vector<std::size_t> positions;
    std::size_t first = count > 0 ? 0 : size - take;
    for (std::size_t i = 0; i < take; ++i) {
        positions.push_back(first + i);
    }
    return Pick(args[0], positions);
}

Value Implode(Evaluator &, std::vector<Value> &args) {
    if (args[0].kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    std::string separator = " ";
    if (args.size() > 1) {
        Value error;
        if (!FirstText(args[1], separator, error)) {
            return error;
        }
    }
    std::string out;
    for (std::size_t i = 0; i < args[0].texts.size(); ++i) {
        if (i > 0) {
            out += separator;
        }
        out += args[0].texts[i];
        if (out.size() > kMaxValueBytes) {
            return Evaluator::TooLarge();
        }
    }
    return Value::Text(out);
}

// @Explode(text; separators; include empty; newline separates): every character of separators
// separates; empty entries are kept only when asked.
Value Explode(Evaluator &, std::vector<Value> &args) {
    if (args[0].kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    std::u32string separators = ToChars(" ,;");
    bool includeEmpty = false;
    bool newlineSeparates = true;
    Value error;
    if (args.size() > 1) {
        std::string text;
        if (!FirstText(args[1], text, error)) {
            return error;
        }
        separators = ToChars(text);
    }
    double flag = 0;
    if (args.size() > 2) {
        if (!FirstNumber(args[2], flag, error)) {
            return error;
        }
        includeEmpty = flag != 0;
    }
    if (args.size() > 3) {
        if (!FirstNumber(args[3], flag, error)) {
            return error;
        }
        newlineSeparates = flag != 0;
    }
    if (newlineSeparates) {
        separators += U"\n\r";
    }
    std::vector<std::string> out;
    for (const std::string &t : args[0].texts) {
        std::u32string chars = ToChars(t);
        std::u32string current;
        for (char32_t c : chars) {
            if (separators.find(c) == std::u32string::npos) {
                current += c;
                continue;
            }
            if (!current.empty() || includeEmpty) {
                out.push_back(FromChars(current));
            }
            current.clear();
            if (out.size() > kMaxEntries) {
                return Evaluator::TooLarge();
            }
        }
        if (!current.empty() || includeEmpty) {
            out.push_back(FromChars(current));
        }
    }
    return Value::Texts(std::move(out));
}

Value Member(Evaluator &, std::vector<Value> &args) {
    const Value &list = args[1];
    if (args[0].kind != list.kind) {
        return Value::Number(0);
    }
    for (std::size_t j = 0; j < list.Size(); ++j) {
        if (SameEntry(args[0], 0, list, j)) {
            return Value::Number(static_cast<double>(j + 1));
        }
    }
    return Value::Number(0);
}

// How many entries of the first argument the second argument holds.
std::size_t MembersFound(const std::vector<Value> &args) {
    if (args[0].kind != args[1].kind) {
        return 0;
    }
    std::unordered_set<std::string> keys = KeySet(args[1]);
    std::size_t found = 0;
    for (std::size_t i = 0; i < args[0].Size(); ++i) {
        found += keys.count(EntryKey(args[0], i));
    }
    return found;
}

Value IsMember(Evaluator &, std::vector<Value> &args) {
    return Value::Bool(MembersFound(args) == args[0].Size());
}

Value IsNotMember(Evaluator &, std::vector<Value> &args) {
    return Value::Bool(MembersFound(args) == 0);
}

// @Unique(list) drops repeated entries; @Unique alone gives a text unique within the process.
Value Unique(Evaluator &, std::vector<Value> &args) {
    if (args.empty()) {
        static std::atomic<unsigned> counter{0};
        auto now = std::chrono::system_clock::now().time_since_epoch();
        unsigned long long ticks = static_cast<unsigned long long>(
            std::chrono::duration_cast<std::chrono::microseconds>(now).count());
        char text[32];
        std::snprintf(text, sizeof(text), "VXF-%06llX%04X", ticks & 0xFFFFFF, counter.fetch_add(1) & 0xFFFF);
        return Value::Text(text);
    }
    const Value &v = args[0];
    std::vector<std::size_t> positions;
    std::unordered_set<std::string> seen;
    for (std::size_t i = 0; i < v.Size(); ++i) {
        if (seen.insert(EntryKey(v, i)).second) {
            positions.push_back(i);
        }
    }
    return Pick(v, positions);
}

Value Sort(Evaluator &, std::vector<Value> &args) {
    bool descending = false;
    bool caseInsensitive = false;
    if (args.size() > 1) {
        if (args[1].kind != Kind::Text) {
            return Evaluator::TypeError(Kind::Text);
        }
        for (const std::string &option : args[1].texts) {
            std::string o = UpperAscii(option);
            descending = o == "[DESCENDING]" ? true : (o == "[ASCENDING]" ? false : descending);
            caseInsensitive =
                o == "[CASEINSENSITIVE]" ? true : (o == "[CASESENSITIVE]" ? false : caseInsensitive);
        }
    }
    const Value &v = args[0];
    std::vector<std::size_t> positions(v.Size());
    for (std::size_t i = 0; i < positions.size(); ++i) {
        positions[i] = i;
    }
    auto less = [&](std::size_t a, std::size_t b) {
        switch (v.kind) {
            case Kind::Text:
                return caseInsensitive ? LmbcsText::CompareNoCase(v.texts[a], v.texts[b]) < 0
                                       : v.texts[a] < v.texts[b];
            case Kind::Number:
                return v.numbers[a] < v.numbers[b];
            case Kind::Time:
                return (static_cast<unsigned long long>(v.times[a].Innards[1]) << 32 |
                        v.times[a].Innards[0]) <
                       (static_cast<unsigned long long>(v.times[b].Innards[1]) << 32 | v.times[b].Innards[0]);
            case Kind::Error:
                return false;
        }
        return false;
    };
    std::stable_sort(positions.begin(), positions.end(),
                     [&](std::size_t a, std::size_t b) { return descending ? less(b, a) : less(a, b); });
    return Pick(v, positions);
}

Value Replace(Evaluator &, std::vector<Value> &args) {
    const Value &source = args[0];
    const Value &from = args[1];
    const Value &to = args[2];
    if (source.kind != from.kind) {
        return source;
    }
    std::unordered_map<std::string, std::size_t> firstOf;
    for (std::size_t k = 0; k < from.Size(); ++k) {
        firstOf.emplace(EntryKey(from, k), k);
    }
    Value out = source;
    for (std::size_t i = 0; i < source.Size(); ++i) {
        auto found = firstOf.find(EntryKey(source, i));
        if (found == firstOf.end()) {
            continue;
        }
        std::size_t k = found->second;
        if (source.kind == Kind::Text) {
            out.texts[i] = to.kind == Kind::Text && k < to.texts.size() ? to.texts[k] : std::string();
        } else if (source.kind == Kind::Number && to.kind == Kind::Number && k < to.numbers.size()) {
            out.numbers[i] = to.numbers[k];
        } else if (source.kind == Kind::Time && to.kind == Kind::Time && k < to.times.size()) {
            out.times[i] = to.times[k];
        }
    }
    return out;
}

const FunctionSignature kSpecs[] = {
    {"@Elements", 1, 1, Elements, nullptr, false, false},
    {"@Subset", 2, 2, Subset, nullptr, false, false},
    {"@Implode", 1, 2, Implode, nullptr, false, false},
    {"@Explode", 1, 4, Explode, nullptr, false, false},
    {"@Member", 2, 2, Member, nullptr, false, false},
    {"@IsMember", 2, 2, IsMember, nullptr, false, false},
    {"@IsNotMember", 2, 2, IsNotMember, nullptr, false, false},
    {"@Unique", 0, 1, Unique, nullptr, false, false},
    {"@Sort", 1, 2, Sort, nullptr, false, false},
    {"@Replace", 3, 3, Replace, nullptr, false, false},
};

}  // namespace

FunctionGroup ListFunctions() {
    return {kSpecs, sizeof(kSpecs) / sizeof(kSpecs[0])};
}

}  // namespace formula
