// Text @functions: cutting, searching, patterns, case, trimming, conversion to and from text.
#include <cctype>
#include <cmath>
#include <cstdlib>

#include <unicode/uchar.h>

#include "FunctionHelpers.h"
#include "LmbcsText.h"
#include "common/TimeDate.h"

namespace formula {

namespace {

using Chars = std::u32string;

// The second argument of @Left and its kin: a count of characters or a text to look for.
struct Cut {
    bool byCount = true;
    long count = 0;
    Chars text;
};

bool ReadCut(const Value &arg, Cut &cut, Value &error) {
    if (arg.kind == Kind::Number && !arg.numbers.empty()) {
        double n = arg.numbers[0];
        cut.count = std::isfinite(n) ? static_cast<long>(std::max(-1e9, std::min(1e9, n))) : 0;
        return true;
    }
    if (arg.kind == Kind::Text && !arg.texts.empty()) {
        cut.byCount = false;
        cut.text = ToChars(arg.texts[0]);
        return true;
    }
    error = arg.IsError() ? arg : Evaluator::TypeError(Kind::Number);
    return false;
}

std::size_t Clip(long n, std::size_t size) {
    return n <= 0 ? 0 : std::min(static_cast<std::size_t>(n), size);
}

template <typename F>
Value CutFunction(std::vector<Value> &args, F &&f) {
    Cut cut;
    Value error;
    if (!ReadCut(args[1], cut, error)) {
        return error;
    }
    return MapChars(args[0], [&](const Chars &s) { return f(s, cut); });
}

Value Left(Evaluator &, std::vector<Value> &args) {
    return CutFunction(args, [](const Chars &s, const Cut &cut) {
        if (cut.byCount) {
            return s.substr(0, Clip(cut.count, s.size()));
        }
        std::size_t at = s.find(cut.text);
        return at == Chars::npos ? Chars() : s.substr(0, at);
    });
}

Value Right(Evaluator &, std::vector<Value> &args) {
    return CutFunction(args, [](const Chars &s, const Cut &cut) {
        if (cut.byCount) {
            std::size_t n = Clip(cut.count, s.size());
            return s.substr(s.size() - n);
        }
        std::size_t at = s.find(cut.text);
        return at == Chars::npos ? Chars() : s.substr(at + cut.text.size());
    });
}

Value LeftBack(Evaluator &, std::vector<Value> &args) {
    return CutFunction(args, [](const Chars &s, const Cut &cut) {
        if (cut.byCount) {
            return s.substr(0, s.size() - Clip(cut.count, s.size()));
        }
        std::size_t at = s.rfind(cut.text);
        return at == Chars::npos ? Chars() : s.substr(0, at);
    });
}

Value RightBack(Evaluator &, std::vector<Value> &args) {
    return CutFunction(args, [](const Chars &s, const Cut &cut) {
        if (cut.byCount) {
            return s.substr(Clip(cut.count, s.size()));
        }
        std::size_t at = s.rfind(cut.text);
        return at == Chars::npos ? Chars() : s.substr(at + cut.text.size());
    });
}

// @Middle(text; offset or start text; count or end text). A negative count takes characters to the
// left of the start.
Value Middle(Evaluator &, std::vector<Value> &args) {
    Cut start;
    Cut end;
    Value error;
    if (!ReadCut(args[1], start, error) || !ReadCut(args[2], end, error)) {
        return error;
    }
    return MapChars(args[0], [&](const Chars &s) {
        std::size_t from = 0;
        if (start.byCount) {
            from = Clip(start.count, s.size());
        } else {
            std::size_t at = s.find(start.text);
            if (at == Chars::npos) {
                return Chars();
            }
            from = at + start.text.size();
            if (end.byCount && end.count < 0) {
                from = at;
            }
        }
        if (!end.byCount) {
            std::size_t to = s.find(end.text, from);
            return to == Chars::npos ? s.substr(from) : s.substr(from, to - from);
        }
        if (end.count < 0) {
            std::size_t n = Clip(-end.count, from);
            return s.substr(from - n, n);
        }
        return s.substr(from, Clip(end.count, s.size() - from));
    });
}

// Whether any entry of the text relates to any entry of the candidates.
template <typename F>
Value AnyPair(std::vector<Value> &args, F &&test) {
    if (args[0].kind != Kind::Text || args[1].kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    for (const std::string &s : args[0].texts) {
        for (const std::string &candidate : args[1].texts) {
            if (test(ToChars(s), ToChars(candidate))) {
                return Value::Bool(true);
            }
        }
    }
    return Value::Bool(false);
}

Value Contains(Evaluator &, std::vector<Value> &args) {
    return AnyPair(args, [](const Chars &s, const Chars &c) { return s.find(c) != Chars::npos; });
}
Value Begins(Evaluator &, std::vector<Value> &args) {
    return AnyPair(args, [](const Chars &s, const Chars &c) { return s.compare(0, c.size(), c) == 0; });
}
Value Ends(Evaluator &, std::vector<Value> &args) {
    return AnyPair(args, [](const Chars &s, const Chars &c) {
        return c.size() <= s.size() && s.compare(s.size() - c.size(), c.size(), c) == 0;
    });
}

// One element of a wildcard pattern.
struct PatternItem {
    enum Type { Literal, One, Many, Set } type = Literal;
    char32_t c = 0;
    std::vector<std::pair<char32_t, char32_t>> ranges;
    bool negated = false;

    bool Matches(char32_t x) const {
        if (type == One) {
            return true;
        }
        if (type == Literal) {
            return x == c;
        }
        bool in = false;
        for (const auto &r : ranges) {
            in = in || (x >= r.first && x <= r.second);
        }
        return in != negated;
    }
};

// Matches with backtracking to the last "many" item only: linear in practice, quadratic at worst.
bool MatchPattern(const std::vector<PatternItem> &pattern, const Chars &s) {
    std::size_t p = 0;
    std::size_t i = 0;
    std::size_t starP = std::string::npos;
    std::size_t starI = 0;
    while (i < s.size()) {
        if (p < pattern.size() && pattern[p].type == PatternItem::Many) {
            starP = p++;
            starI = i;
        } else if (p < pattern.size() && pattern[p].Matches(s[i])) {
            ++p;
            ++i;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            i = ++starI;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p].type == PatternItem::Many) {
        ++p;
    }
    return p == pattern.size();
}

std::vector<PatternItem> LikePattern(const Chars &text, char32_t escape, bool hasEscape) {
    std::vector<PatternItem> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        PatternItem item;
        if (hasEscape && text[i] == escape && i + 1 < text.size()) {
            item.c = text[++i];
        } else if (text[i] == '%') {
            item.type = PatternItem::Many;
        } else if (text[i] == '_') {
            item.type = PatternItem::One;
        } else {
            item.c = text[i];
        }
        out.push_back(item);
    }
    return out;
}

// Notes patterns: ? one character, * any run, {abc} or {a-z} a set, {!...} outside it, \ escapes.
std::vector<PatternItem> MatchesPattern(const Chars &text) {
    std::vector<PatternItem> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        PatternItem item;
        char32_t c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            item.c = text[++i];
        } else if (c == '?') {
            item.type = PatternItem::One;
        } else if (c == '*') {
            item.type = PatternItem::Many;
        } else if (c == '{' && text.find('}', i + 1) != Chars::npos) {
            std::size_t close = text.find('}', i + 1);
            item.type = PatternItem::Set;
            std::size_t j = i + 1;
            if (j < close && text[j] == '!') {
                item.negated = true;
                ++j;
            }
            for (; j < close; ++j) {
                if (j + 2 < close && text[j + 1] == '-') {
                    item.ranges.emplace_back(text[j], text[j + 2]);
                    j += 2;
                } else {
                    item.ranges.emplace_back(text[j], text[j]);
                }
            }
            i = close;
        } else {
            item.c = c;
        }
        out.push_back(item);
    }
    return out;
}

Value Like(Evaluator &, std::vector<Value> &args) {
    if (args[0].kind != Kind::Text || args[1].kind != Kind::Text ||
        (args.size() > 2 && args[2].kind != Kind::Text)) {
        return Evaluator::TypeError(Kind::Text);
    }
    Chars escape = args.size() > 2 ? ToChars(args[2].texts[0]) : Chars();
    std::vector<PatternItem> pattern =
        LikePattern(ToChars(args[1].texts[0]), escape.empty() ? 0 : escape[0], !escape.empty());
    for (const std::string &s : args[0].texts) {
        if (MatchPattern(pattern, ToChars(s))) {
            return Value::Bool(true);
        }
    }
    return Value::Bool(false);
}

Value Matches(Evaluator &, std::vector<Value> &args) {
    if (args[0].kind != Kind::Text || args[1].kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    for (const std::string &p : args[1].texts) {
        std::vector<PatternItem> pattern = MatchesPattern(ToChars(p));
        for (const std::string &s : args[0].texts) {
            if (MatchPattern(pattern, ToChars(s))) {
                return Value::Bool(true);
            }
        }
    }
    return Value::Bool(false);
}

Value UpperCase(Evaluator &, std::vector<Value> &args) {
    return MapChars(args[0], [](Chars s) {
        for (char32_t &c : s) {
            c = static_cast<char32_t>(u_toupper(static_cast<UChar32>(c)));
        }
        return s;
    });
}

Value LowerCase(Evaluator &, std::vector<Value> &args) {
    return MapChars(args[0], [](Chars s) {
        for (char32_t &c : s) {
            c = static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
        }
        return s;
    });
}

// The first letter of each word in upper case, the others in lower case.
Value ProperCase(Evaluator &, std::vector<Value> &args) {
    return MapChars(args[0], [](Chars s) {
        bool wordStart = true;
        for (char32_t &c : s) {
            bool letter = u_isalpha(static_cast<UChar32>(c)) != 0;
            c = static_cast<char32_t>(wordStart ? u_toupper(static_cast<UChar32>(c))
                                                : u_tolower(static_cast<UChar32>(c)));
            wordStart = !letter && !(c == '\'');
        }
        return s;
    });
}

// Leading and trailing spaces go, inner runs of spaces become one; empty entries leave a list.
Value Trim(Evaluator &, std::vector<Value> &args) {
    if (args[0].kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    std::vector<std::string> out;
    for (const std::string &t : args[0].texts) {
        std::string trimmed;
        bool pendingSpace = false;
        for (char c : t) {
            if (c == ' ' || c == '\t') {
                pendingSpace = !trimmed.empty();
                continue;
            }
            if (pendingSpace) {
                trimmed += ' ';
                pendingSpace = false;
            }
            trimmed += c;
        }
        if (!trimmed.empty() || args[0].texts.size() == 1) {
            out.push_back(std::move(trimmed));
        }
    }
    return Value::Texts(std::move(out));
}

Value Length(Evaluator &, std::vector<Value> &args) {
    if (args[0].kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    std::vector<double> out;
    for (const std::string &t : args[0].texts) {
        out.push_back(LmbcsText::Length(t));
    }
    return Value::Numbers(std::move(out));
}

// @Word(text; separator; n): the nth word (from the end when negative), empty when there is none.
Value Word(Evaluator &, std::vector<Value> &args) {
    std::string separatorText;
    double n = 0;
    Value error;
    if (!FirstText(args[1], separatorText, error) || !FirstNumber(args[2], n, error)) {
        return error;
    }
    Chars separator = ToChars(separatorText);
    long index = std::isfinite(n) ? static_cast<long>(n) : 0;
    return MapChars(args[0], [&](const Chars &s) {
        std::vector<Chars> words;
        if (separator.empty()) {
            words.push_back(s);
        } else {
            std::size_t start = 0;
            while (true) {
                std::size_t at = s.find(separator, start);
                words.push_back(s.substr(start, at == Chars::npos ? Chars::npos : at - start));
                if (at == Chars::npos) {
                    break;
                }
                start = at + separator.size();
            }
        }
        long count = static_cast<long>(words.size());
        long pick = index > 0 ? index - 1 : count + index;
        if (index == 0 || pick < 0 || pick >= count) {
            return Chars();
        }
        return words[static_cast<std::size_t>(pick)];
    });
}

// Replaces, scanning left to right, each occurrence of an entry of from by the matching entry of to
// (the last one when to is shorter); replaced text is not scanned again.
Value ReplaceSubstring(Evaluator &, std::vector<Value> &args) {
    if (args[1].kind != Kind::Text || args[2].kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    std::vector<Chars> from;
    std::vector<Chars> to;
    for (const std::string &f : args[1].texts) {
        from.push_back(ToChars(f));
    }
    for (const std::string &t : args[2].texts) {
        to.push_back(ToChars(t));
    }
    std::size_t total = 0;
    Value result = MapChars(args[0], [&](const Chars &s) {
        Chars out;
        for (std::size_t i = 0; i < s.size();) {
            bool replaced = false;
            for (std::size_t k = 0; k < from.size() && !replaced; ++k) {
                if (!from[k].empty() && s.compare(i, from[k].size(), from[k]) == 0) {
                    const Chars &with = to[std::min(k, to.size() - 1)];
                    if (total + out.size() + with.size() <= kMaxValueBytes) {
                        out += with;
                    }
                    i += from[k].size();
                    replaced = true;
                }
            }
            if (!replaced) {
                out += s[i++];
            }
        }
        total += out.size();
        return out;
    });
    if (total > kMaxValueBytes) {
        return Evaluator::TooLarge();
    }
    return result;
}

// Number formats of @Text: G, F, S, C with digits, "," for punctuation, "%" for percent, "()" for
// parentheses around negative numbers.
NFMT NumberFormat(const std::string &spec) {
    NFMT format{};
    format.Format = notes::kNumberGeneral;
    for (std::size_t i = 0; i < spec.size(); ++i) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(spec[i])));
        if (c == 'F' || c == 'S' || c == 'C' || c == 'G') {
            format.Format = c == 'F'   ? notes::kNumberFixed
                            : c == 'S' ? notes::kNumberScientific
                            : c == 'C' ? notes::kNumberCurrency
                                       : notes::kNumberGeneral;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            format.Digits = static_cast<BYTE>(std::min(15, format.Digits * 10 + (c - '0')));
        } else if (c == ',') {
            format.Attributes |= notes::kNumberPunctuated;
        } else if (c == '%') {
            format.Attributes |= notes::kNumberPercent;
        } else if (c == '(') {
            format.Attributes |= notes::kNumberParens;
        }
    }
    return format;
}

// Time formats of @Text: D0-D3 date parts, T0-T1 time parts, Z0-Z2 zone, S0-S3 structure.
TFMT TimeFormat(const std::string &spec) {
    TFMT format{notes::kTimeDateFull, notes::kTimeTimeFull, notes::kTimeZoneNever,
                notes::kTimeStructDateTime};
    for (std::size_t i = 0; i + 1 < spec.size(); ++i) {
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(spec[i])));
        char d = spec[i + 1];
        if (d < '0' || d > '3') {
            continue;
        }
        BYTE n = static_cast<BYTE>(d - '0');
        if (c == 'D') {
            format.Date = n;
        } else if (c == 'T') {
            format.Time = std::min<BYTE>(n, 2);
        } else if (c == 'Z') {
            format.Zone = std::min<BYTE>(n, 2);
        } else if (c == 'S') {
            format.Structure = n;
        }
    }
    return format;
}

Value Text(Evaluator &, std::vector<Value> &args) {
    std::string spec;
    if (args.size() > 1) {
        Value error;
        if (!FirstText(args[1], spec, error)) {
            return error;
        }
    }
    const Value &v = args[0];
    std::vector<std::string> out;
    switch (v.kind) {
        case Kind::Text:
            return v;
        case Kind::Number: {
            NFMT format = NumberFormat(spec);
            for (double n : v.numbers) {
                out.push_back(standin::FormatNumber(n, spec.empty() ? nullptr : &format));
            }
            break;
        }
        case Kind::Time: {
            TFMT format = TimeFormat(spec);
            for (const TIMEDATE &t : v.times) {
                out.push_back(standin::FormatTimeDate(t, spec.empty() ? nullptr : &format));
            }
            break;
        }
        case Kind::Error:
            return v;
    }
    return Value::Texts(std::move(out));
}

Value TextToNumber(Evaluator &, std::vector<Value> &args) {
    const Value &v = args[0];
    if (v.kind == Kind::Number) {
        return v;
    }
    if (v.kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    std::vector<double> out;
    for (const std::string &t : v.texts) {
        std::string text = t;
        std::size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos) {
            return Value::Error("The value cannot be converted to a Number.");
        }
        const char *begin = text.c_str() + first;
        char *end = nullptr;
        double n = std::strtod(begin, &end);
        if (end == begin || !std::isfinite(n)) {
            return Value::Error("The value cannot be converted to a Number.");
        }
        out.push_back(n);
    }
    return Value::Numbers(std::move(out));
}

Value TextToTime(Evaluator &, std::vector<Value> &args) {
    const Value &v = args[0];
    if (v.kind == Kind::Time) {
        return v;
    }
    if (v.kind != Kind::Text) {
        return Evaluator::TypeError(Kind::Text);
    }
    std::vector<TIMEDATE> out;
    for (const std::string &t : v.texts) {
        TIMEDATE time{};
        if (standin::ParseTimeDate(t, time)) {
            out.push_back(time);
        }
    }
    return Value::Times(std::move(out));
}

Value Char(Evaluator &, std::vector<Value> &args) {
    return args[0].kind != Kind::Number ? Evaluator::TypeError(Kind::Number) : [&] {
        std::vector<std::string> out;
        for (double n : args[0].numbers) {
            long code = std::isfinite(n) ? static_cast<long>(n) : 0;
            Chars c;
            if (code > 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
                c += static_cast<char32_t>(code);
            }
            out.push_back(FromChars(c));
        }
        return Value::Texts(std::move(out));
    }();
}

Value NewLine(Evaluator &, std::vector<Value> &) {
    return Value::Text("\n");
}

const FunctionSignature kSpecs[] = {
    {"@Left", 2, 2, Left, nullptr, false, false},
    {"@Right", 2, 2, Right, nullptr, false, false},
    {"@LeftBack", 2, 2, LeftBack, nullptr, false, false},
    {"@RightBack", 2, 2, RightBack, nullptr, false, false},
    {"@Middle", 3, 3, Middle, nullptr, false, false},
    {"@Contains", 2, 2, Contains, nullptr, false, false},
    {"@Begins", 2, 2, Begins, nullptr, false, false},
    {"@Ends", 2, 2, Ends, nullptr, false, false},
    {"@Like", 2, 3, Like, nullptr, false, false},
    {"@Matches", 2, 2, Matches, nullptr, false, false},
    {"@UpperCase", 1, 1, UpperCase, nullptr, false, false},
    {"@LowerCase", 1, 1, LowerCase, nullptr, false, false},
    {"@ProperCase", 1, 1, ProperCase, nullptr, false, false},
    {"@Trim", 1, 1, Trim, nullptr, false, false},
    {"@Length", 1, 1, Length, nullptr, false, false},
    {"@Word", 3, 3, Word, nullptr, false, false},
    {"@ReplaceSubstring", 3, 3, ReplaceSubstring, nullptr, false, false},
    {"@Text", 1, 2, Text, nullptr, false, false},
    {"@TextToNumber", 1, 1, TextToNumber, nullptr, false, false},
    {"@TextToTime", 1, 1, TextToTime, nullptr, false, false},
    {"@Char", 1, 1, Char, nullptr, false, false},
    {"@NewLine", 0, 0, NewLine, nullptr, false, false},
};

}  // namespace

FunctionGroup TextFunctions() {
    return {kSpecs, sizeof(kSpecs) / sizeof(kSpecs[0])};
}

}  // namespace formula
