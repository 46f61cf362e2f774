// Reads a formula result's canonical bytes back into text for comparisons in tests.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

#include "common/Lmbcs.h"
#include "common/TimeDate.h"
#include "formula/Formula.h"

namespace formulatest {

inline unsigned Word(const std::string &b, std::size_t at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

inline double Double(const std::string &b, std::size_t at) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = (bits << 8) | static_cast<unsigned char>(b[at + static_cast<std::size_t>(i)]);
    }
    double d = 0;
    std::memcpy(&d, &bits, 8);
    return d;
}

inline std::string TimeText(const std::string &b, std::size_t at) {
    TIMEDATE t{};
    t.Innards[0] = Word(b, at) | (Word(b, at + 2) << 16);
    t.Innards[1] = Word(b, at + 4) | (Word(b, at + 6) << 16);
    standin::CalendarTime c;
    if (!standin::SplitTimeDate(t, c)) {
        return "<bad time>";
    }
    char text[64];
    if (!c.hasTime) {
        std::snprintf(text, sizeof(text), "%04d-%02d-%02d", c.year, c.month, c.day);
    } else if (!c.hasDate) {
        std::snprintf(text, sizeof(text), "%02d:%02d:%02d", c.hour, c.minute, c.second);
    } else {
        std::snprintf(text, sizeof(text), "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour,
                      c.minute, c.second);
    }
    return text;
}

inline std::string NumberText(double d) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.10g", d);
    return text;
}

// Text of the value: list entries joined with ";", errors as "ERR:" and their message.
inline std::string Render(const formula::Result &r) {
    const std::string &b = r.value;
    std::string out;
    switch (r.type) {
        case notes::kTypeText:
            return standin::LmbcsToUtf8(b);
        case notes::kTypeError:
            return "ERR:" + b;
        case notes::kTypeNumber:
            return b.size() == 8 ? NumberText(Double(b, 0)) : "<bad number>";
        case notes::kTypeTime:
            return b.size() == 8 ? TimeText(b, 0) : "<bad time>";
        case notes::kTypeTextList: {
            unsigned count = Word(b, 0);
            std::size_t pos = 2 + 2 * count;
            for (unsigned i = 0; i < count; ++i) {
                unsigned len = Word(b, 2 + 2 * i);
                out += (i ? ";" : "") + standin::LmbcsToUtf8(b.substr(pos, len));
                pos += len;
            }
            return pos == b.size() ? out : "<bad text list>";
        }
        case notes::kTypeNumberRange:
        case notes::kTypeTimeRange: {
            unsigned count = Word(b, 0);
            if (Word(b, 2) != 0 || b.size() != 4 + 8 * count) {
                return "<bad range>";
            }
            for (unsigned i = 0; i < count; ++i) {
                out += (i ? ";" : "") + (r.type == notes::kTypeNumberRange ? NumberText(Double(b, 4 + 8 * i))
                                                                           : TimeText(b, 4 + 8 * i));
            }
            return out;
        }
        default:
            return "<type " + std::to_string(r.type) + ">";
    }
}

}  // namespace formulatest
