// Canonical item values and DXL datetimes.
#include "ItemValues.h"

#include <cstdio>

#include "Bytes.h"
#include "common/TimeDate.h"

namespace standin::dxl {

std::string TextValue(std::string_view lmbcs) {
    std::string v;
    v.reserve(lmbcs.size() + 2);
    AppendWord(v, notes::kTypeText);
    v.append(lmbcs);
    return v;
}

bool TextListValue(const std::vector<std::string> &lmbcs, std::string &value) {
    if (lmbcs.size() > 0xFFFF) {
        return false;
    }
    value.clear();
    AppendWord(value, notes::kTypeTextList);
    AppendWord(value, static_cast<WORD>(lmbcs.size()));
    for (const std::string &t : lmbcs) {
        if (t.size() > 0xFFFF) {
            return false;
        }
        AppendWord(value, static_cast<WORD>(t.size()));
    }
    for (const std::string &t : lmbcs) {
        value += t;
    }
    return true;
}

std::string NumberValue(double number) {
    std::string v;
    AppendWord(v, notes::kTypeNumber);
    AppendDouble(v, number);
    return v;
}

std::string NumberRangeValue(const std::vector<double> &numbers) {
    std::string v;
    AppendWord(v, notes::kTypeNumberRange);
    AppendWord(v, static_cast<WORD>(numbers.size()));
    AppendWord(v, 0);
    for (double d : numbers) {
        AppendDouble(v, d);
    }
    return v;
}

std::string TimeValue(const TIMEDATE &t) {
    std::string v;
    AppendWord(v, notes::kTypeTime);
    AppendTimeDate(v, t);
    return v;
}

std::string TimeRangeValue(const std::vector<TIMEDATE> &times,
                           const std::vector<std::pair<TIMEDATE, TIMEDATE>> &pairs) {
    std::string v;
    AppendWord(v, notes::kTypeTimeRange);
    AppendWord(v, static_cast<WORD>(times.size()));
    AppendWord(v, static_cast<WORD>(pairs.size()));
    for (const TIMEDATE &t : times) {
        AppendTimeDate(v, t);
    }
    for (const auto &[lower, upper] : pairs) {
        AppendTimeDate(v, lower);
        AppendTimeDate(v, upper);
    }
    return v;
}

// FILEOBJECT, packed: ObjectType@0 RRV@2 FileNameLength@6 HostType@8 CompressionType@10
// FileAttributes@12 Flags@14 FileSize@16 FileCreated@20 FileModified@28, name from @36.
std::string FileObjectValue(const FileObjectInfo &info) {
    std::string v;
    AppendWord(v, notes::kTypeObject);
    AppendWord(v, notes::kObjectFile);
    AppendDword(v, 0);
    AppendWord(v, static_cast<WORD>(info.name.size()));
    AppendWord(v, info.hostType);
    AppendWord(v, info.compression);
    AppendWord(v, info.attributes);
    AppendWord(v, info.flags);
    AppendDword(v, info.size);
    AppendTimeDate(v, info.created);
    AppendTimeDate(v, info.modified);
    v += info.name;
    return v;
}

bool ParseFileObject(std::string_view value, FileObjectInfo &info) {
    if (value.size() < 2 + kFileObjectFixedSize || ReadWord(value, 0) != notes::kTypeObject) {
        return false;
    }
    std::string_view o = value.substr(2);
    if (ReadWord(o, 0) != notes::kObjectFile) {
        return false;
    }
    WORD nameLength = ReadWord(o, 6);
    if (kFileObjectFixedSize + nameLength > o.size()) {
        return false;
    }
    info.hostType = ReadWord(o, 8);
    info.compression = ReadWord(o, 10);
    info.attributes = ReadWord(o, 12);
    info.flags = ReadWord(o, 14);
    info.size = ReadDword(o, 16);
    info.created = {{ReadDword(o, 20), ReadDword(o, 24)}};
    info.modified = {{ReadDword(o, 28), ReadDword(o, 32)}};
    info.name = std::string(o.substr(kFileObjectFixedSize, nameLength));
    return true;
}

bool CheckRawLength(WORD type, std::string_view bytes, std::string &problem) {
    char typeText[8];
    std::snprintf(typeText, sizeof typeText, "%x", type);
    auto fail = [&](const std::string &why) {
        problem = "rawitemdata of type " + std::string(typeText) + " has an impossible length of " +
                  std::to_string(bytes.size()) + " bytes (" + why + ")";
        return false;
    };
    std::size_t n = bytes.size();
    switch (type) {
        case notes::kTypeNumber:
        case notes::kTypeTime:
            return n == 8 ? true : fail("expected 8");
        case notes::kTypeNumberRange:
        case notes::kTypeTimeRange: {
            if (n < 4) {
                return fail("shorter than its counts");
            }
            std::size_t entry = type == notes::kTypeNumberRange ? 8 : 8;
            std::size_t want = 4 + ReadWord(bytes, 0) * entry + ReadWord(bytes, 2) * 2 * entry;
            return n == want ? true : fail("its counts need " + std::to_string(want));
        }
        case notes::kTypeTextList: {
            if (n < 2) {
                return fail("shorter than its count");
            }
            std::size_t count = ReadWord(bytes, 0);
            if (2 + 2 * count > n) {
                return fail("its count needs more lengths than there are bytes");
            }
            std::size_t total = 2 + 2 * count;
            for (std::size_t i = 0; i < count; ++i) {
                total += ReadWord(bytes, 2 + 2 * i);
            }
            return total == n ? true : fail("its lengths need " + std::to_string(total));
        }
        case notes::kTypeNoteRefList: {
            if (n < 2) {
                return fail("shorter than its count");
            }
            std::size_t want = 2 + ReadWord(bytes, 0) * sizeof(UNID);
            return n == want ? true : fail("its count needs " + std::to_string(want));
        }
        case notes::kTypeObject: {
            if (n < kFileObjectFixedSize) {
                return fail("shorter than a file object");
            }
            return kFileObjectFixedSize + ReadWord(bytes, 6) <= n ? true : fail("its name runs past the end");
        }
        case notes::kTypeUserData: {
            if (n < 1) {
                return fail("no format name length");
            }
            return 1u + static_cast<unsigned char>(bytes[0]) <= n ? true
                                                                  : fail("its format name runs past the end");
        }
        default:
            return true;
    }
}

namespace {

bool Digits(std::string_view text, std::size_t at, std::size_t count, int &value) {
    if (at + count > text.size()) {
        return false;
    }
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() &&
           (text.front() == ' ' || text.front() == '\n' || text.front() == '\r' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() &&
           (text.back() == ' ' || text.back() == '\n' || text.back() == '\r' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

}  // namespace

bool IsWildcardTime(const TIMEDATE &t) {
    return t.Innards[0] == notes::kAllDay && t.Innards[1] == notes::kAnyDay;
}

bool ParseDxlDateTime(std::string_view text, TIMEDATE &t) {
    return ParseDxlDateTime(text, false, t);
}

bool ParseDxlDateTime(std::string_view input, bool dst, TIMEDATE &t) {
    std::string_view text = Trim(input);
    if (text.empty()) {
        t.Innards[0] = notes::kAllDay;
        t.Innards[1] = notes::kAnyDay;
        return true;
    }
    CalendarTime c;
    c.dst = dst;
    std::size_t at = 0;
    c.hasDate = text[0] != 'T';
    if (c.hasDate) {
        if (!Digits(text, 0, 4, c.year) || !Digits(text, 4, 2, c.month) || !Digits(text, 6, 2, c.day)) {
            return false;
        }
        if (c.month < 1 || c.month > 12 || c.day < 1 || c.day > 31 || c.year < 1) {
            return false;
        }
        at = 8;
    }
    c.hasTime = at < text.size() && text[at] == 'T';
    if (c.hasTime) {
        if (!Digits(text, at + 1, 2, c.hour) || !Digits(text, at + 3, 2, c.minute) ||
            !Digits(text, at + 5, 2, c.second)) {
            return false;
        }
        if (c.hour > 23 || c.minute > 59 || c.second > 59) {
            return false;
        }
        at += 7;
        if (at < text.size() && (text[at] == ',' || text[at] == '.')) {
            if (!Digits(text, at + 1, 2, c.hundredth)) {
                return false;
            }
            at += 3;
        }
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
            int sign = text[at] == '-' ? -1 : 1;
            int hours = 0;
            int minutes = 0;
            if (!Digits(text, at + 1, 2, hours)) {
                return false;
            }
            at += 3;
            if (at + 2 <= text.size() && Digits(text, at, 2, minutes)) {
                at += 2;
            }
            if (hours > 14 || minutes > 59) {
                return false;
            }
            c.zoneMinutesEast = sign * (hours * 60 + minutes);
        } else if (at < text.size() && text[at] == 'Z') {
            ++at;
        }
    }
    if (at != text.size() || (!c.hasDate && !c.hasTime)) {
        return false;
    }
    t = MakeTimeDate(c);
    return true;
}

std::string FormatDxlDateTime(const TIMEDATE &t, bool &dst) {
    dst = false;
    if (IsWildcardTime(t)) {
        return std::string();
    }
    CalendarTime c;
    if (!SplitTimeDate(t, c)) {
        return std::string();
    }
    dst = c.dst;
    char buf[48];
    std::string out;
    if (c.hasDate) {
        std::snprintf(buf, sizeof buf, "%04d%02d%02d", c.year, c.month, c.day);
        out += buf;
    }
    if (c.hasTime) {
        int zone = c.zoneMinutesEast < 0 ? -c.zoneMinutesEast : c.zoneMinutesEast;
        std::snprintf(buf, sizeof buf, "T%02d%02d%02d,%02d%c%02d", c.hour, c.minute, c.second, c.hundredth,
                      c.zoneMinutesEast < 0 ? '-' : '+', zone / 60);
        out += buf;
        if (zone % 60 != 0) {
            std::snprintf(buf, sizeof buf, "%02d", zone % 60);
            out += buf;
        }
    }
    return out;
}

}  // namespace standin::dxl
