// TIMEDATE arithmetic and the US-style text forms of times and numbers.
#include "TimeDate.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace standin {

namespace {

constexpr std::int64_t kTicks = notes::kTicksPerDay;
constexpr DWORD kUnixEpochJulian = 2440588;  // 1 January 1970
constexpr DWORD kFirstJulian = 1721426;      // 1 January 1
constexpr DWORD kLastJulian = 5373484;       // 31 December 9999
constexpr DWORD kDayMask = 0x00FFFFFF;
constexpr DWORD kDstBit = 0x80000000;
constexpr DWORD kEastBit = 0x40000000;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) {
    return a - FloorDiv(a, b) * b;
}

DWORD ZoneBits(int minutesEast, bool dst) {
    DWORD bits = dst ? kDstBit : 0;
    if (minutesEast > 0) {
        bits |= kEastBit;
    }
    int magnitude = minutesEast < 0 ? -minutesEast : minutesEast;
    DWORD hours = static_cast<DWORD>(magnitude / 60) & 0xF;
    DWORD quarters = static_cast<DWORD>((magnitude % 60) / 15) & 0x3;
    return bits | (quarters << 28) | (hours << 24);
}

int ZoneMinutesEast(DWORD innards1) {
    int hours = static_cast<int>((innards1 >> 24) & 0xF);
    int quarters = static_cast<int>((innards1 >> 28) & 0x3);
    int minutes = hours * 60 + quarters * 15;
    return (innards1 & kEastBit) != 0 ? minutes : -minutes;
}

bool IsDateOnly(const TIMEDATE &t) {
    return t.Innards[0] == notes::kAllDay;
}

bool IsTimeOnly(const TIMEDATE &t) {
    return (t.Innards[1] & kDayMask) == notes::kAnyDay;
}

// Hundredths since the start of Julian day 0 in GMT (full values), or of the day (time-only values).
std::int64_t Absolute(const TIMEDATE &t) {
    std::int64_t ticks = IsDateOnly(t) ? 0 : t.Innards[0];
    std::int64_t day = IsTimeOnly(t) ? 0 : (t.Innards[1] & kDayMask);
    return day * kTicks + ticks;
}

void FillClock(CalendarTime &c, std::int64_t ticks) {
    c.hour = static_cast<int>(ticks / 360000);
    c.minute = static_cast<int>(ticks / 6000 % 60);
    c.second = static_cast<int>(ticks / 100 % 60);
    c.hundredth = static_cast<int>(ticks % 100);
}

void FillDate(CalendarTime &c, DWORD julian) {
    DateFromJulianDay(julian, c.year, c.month, c.day);
    c.weekday = static_cast<int>((julian + 1) % 7) + 1;
}

bool ValidDay(DWORD julian) {
    return julian >= kFirstJulian && julian <= kLastJulian;
}

// The Julian day of the nth (1-based; 0 = last) given weekday (0 = Sunday) of a month.
DWORD NthWeekday(int year, int month, int weekday, int nth) {
    if (nth == 0) {
        int nextYear = month == 12 ? year + 1 : year;
        int nextMonth = month == 12 ? 1 : month + 1;
        DWORD last = JulianDay(nextYear, nextMonth, 1) - 1;
        int lastWeekday = static_cast<int>((last + 1) % 7);
        return last - static_cast<DWORD>((lastWeekday - weekday + 7) % 7);
    }
    DWORD first = JulianDay(year, month, 1);
    int firstWeekday = static_cast<int>((first + 1) % 7);
    return first + static_cast<DWORD>((weekday - firstWeekday + 7) % 7) + static_cast<DWORD>(7 * (nth - 1));
}

// Whether daylight saving time is in effect at a GMT instant (hundredths since Julian day 0) in a
// zone that observes it: the US rules west of GMT, the European rules elsewhere.
bool DstInEffect(std::int64_t gmtTotal, int minutesEast) {
    std::int64_t standardTotal = gmtTotal + static_cast<std::int64_t>(minutesEast) * 6000;
    int year = 0, month = 0, day = 0;
    DateFromJulianDay(static_cast<DWORD>(FloorDiv(standardTotal, kTicks)), year, month, day);
    std::int64_t start = 0, end = 0;
    if (minutesEast < 0) {
        // 2:00 local standard time on the start day; 2:00 local daylight time (1:00 standard) at the end.
        DWORD startDay = year >= 2007
                             ? NthWeekday(year, 3, 0, 2)
                             : (year >= 1987 ? NthWeekday(year, 4, 0, 1) : NthWeekday(year, 4, 0, 0));
        DWORD endDay = year >= 2007 ? NthWeekday(year, 11, 0, 1) : NthWeekday(year, 10, 0, 0);
        start = static_cast<std::int64_t>(startDay) * kTicks + 2 * 360000;
        end = static_cast<std::int64_t>(endDay) * kTicks + 1 * 360000;
    } else {
        // 1:00 GMT on the last Sundays of March and October, expressed in local standard time.
        std::int64_t offset = static_cast<std::int64_t>(minutesEast) * 6000;
        start = static_cast<std::int64_t>(NthWeekday(year, 3, 0, 0)) * kTicks + 360000 + offset;
        end = static_cast<std::int64_t>(NthWeekday(year, 10, 0, 0)) * kTicks + 360000 + offset;
    }
    return standardTotal >= start && standardTotal < end;
}

std::string TwoDigits(int v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", v);
    return buf;
}

std::string YearText(int year, bool fourDigits) {
    if (!fourDigits && year >= 1950 && year <= 1999) {
        return TwoDigits(year % 100);
    }
    return std::to_string(year);
}

std::string DateText(const CalendarTime &c, BYTE dateFormat, int currentYear) {
    std::string md = TwoDigits(c.month) + "/" + TwoDigits(c.day);
    switch (dateFormat) {
        case notes::kTimeDateCPartial:
            return c.year == currentYear ? md : md + "/" + YearText(c.year, false);
        case notes::kTimeDatePartial:
            return md;
        case notes::kTimeDateDPartial:
            return TwoDigits(c.month) + "/" + YearText(c.year, false);
        case notes::kTimeDateFull4:
            return md + "/" + std::to_string(c.year);
        default:
            return md + "/" + YearText(c.year, false);
    }
}

std::string ClockText(const CalendarTime &c, BYTE timeFormat) {
    int hour12 = c.hour % 12 == 0 ? 12 : c.hour % 12;
    std::string suffix = c.hour < 12 ? " AM" : " PM";
    switch (timeFormat) {
        case notes::kTimeTimeHour:
            return TwoDigits(hour12) + suffix;
        case notes::kTimeTimePartial:
            return TwoDigits(hour12) + ":" + TwoDigits(c.minute) + suffix;
        default:
            return TwoDigits(hour12) + ":" + TwoDigits(c.minute) + ":" + TwoDigits(c.second) + suffix;
    }
}

// The name Notes gives a zone: the US zones by name, GMT, else ZE/ZW with the offset.
std::string ZoneName(int minutesEast, bool dst) {
    static const char *const kUs[][2] = {{"EST", "EDT"}, {"CST", "CDT"}, {"MST", "MDT"}, {"PST", "PDT"}};
    if (minutesEast <= -300 && minutesEast >= -480 && minutesEast % 60 == 0) {
        return kUs[(-minutesEast / 60) - 5][dst ? 1 : 0];
    }
    if (minutesEast == 0) {
        return dst ? "BST" : "GMT";
    }
    int magnitude = minutesEast < 0 ? -minutesEast : minutesEast;
    std::string name = minutesEast > 0 ? "ZE" : "ZW";
    name += std::to_string(magnitude / 60);
    if (magnitude % 60 != 0) {
        name += ":" + TwoDigits(magnitude % 60);
    }
    return name;
}

// The calendar time of a full TIMEDATE in the process's local zone (TZ).
bool LocalCalendar(const TIMEDATE &t, CalendarTime &c, int &currentYear) {
    std::int64_t seconds = ToUnixSeconds(t);
    std::time_t whole = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (localtime_r(&whole, &tm) == nullptr) {
        return false;
    }
    c.year = tm.tm_year + 1900;
    c.month = tm.tm_mon + 1;
    c.day = tm.tm_mday;
    c.hour = tm.tm_hour;
    c.minute = tm.tm_min;
    c.second = tm.tm_sec;
    c.hundredth = static_cast<int>(t.Innards[0] % 100);
    c.weekday = tm.tm_wday + 1;
    c.dst = tm.tm_isdst > 0;
    c.zoneMinutesEast = static_cast<int>(tm.tm_gmtoff / 60) - (c.dst ? 60 : 0);
    std::time_t now = std::time(nullptr);
    std::tm nowTm{};
    localtime_r(&now, &nowTm);
    currentYear = nowTm.tm_year + 1900;
    return true;
}

bool SameDay(const CalendarTime &c) {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return c.year == tm.tm_year + 1900 && c.month == tm.tm_mon + 1 && c.day == tm.tm_mday;
}

}  // namespace

DWORD JulianDay(int year, int month, int day) {
    int a = (14 - month) / 12;
    long y = year + 4800 - a;
    long m = month + 12 * a - 3;
    long jdn = day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
    return jdn < 0 ? 0 : static_cast<DWORD>(jdn);
}

void DateFromJulianDay(DWORD julian, int &year, int &month, int &day) {
    long a = static_cast<long>(julian) + 32044;
    long b = (4 * a + 3) / 146097;
    long c = a - 146097 * b / 4;
    long d = (4 * c + 3) / 1461;
    long e = c - 1461 * d / 4;
    long m = (5 * e + 2) / 153;
    day = static_cast<int>(e - (153 * m + 2) / 5 + 1);
    month = static_cast<int>(m + 3 - 12 * (m / 10));
    year = static_cast<int>(100 * b + d - 4800 + m / 10);
}

TIMEDATE MakeTimeDate(const CalendarTime &local) {
    TIMEDATE t{};
    std::int64_t clock =
        ((static_cast<std::int64_t>(local.hour) * 60 + local.minute) * 60 + local.second) * 100 +
        local.hundredth;
    if (!local.hasDate && !local.hasTime) {
        t.Innards[0] = notes::kAllDay;
        t.Innards[1] = notes::kAnyDay;
        return t;
    }
    if (!local.hasTime) {
        t.Innards[0] = notes::kAllDay;
        t.Innards[1] = JulianDay(local.year, local.month, local.day) & kDayMask;
        return t;
    }
    if (!local.hasDate) {
        t.Innards[0] = static_cast<DWORD>(FloorMod(clock, kTicks));
        t.Innards[1] = notes::kAnyDay;
        return t;
    }
    std::int64_t offset = static_cast<std::int64_t>(local.zoneMinutesEast + (local.dst ? 60 : 0)) * 6000;
    std::int64_t total =
        static_cast<std::int64_t>(JulianDay(local.year, local.month, local.day)) * kTicks + clock - offset;
    t.Innards[0] = static_cast<DWORD>(FloorMod(total, kTicks));
    t.Innards[1] =
        (static_cast<DWORD>(FloorDiv(total, kTicks)) & kDayMask) | ZoneBits(local.zoneMinutesEast, local.dst);
    return t;
}

bool SplitTimeDate(const TIMEDATE &t, CalendarTime &local) {
    local = CalendarTime{};
    bool dateOnly = IsDateOnly(t);
    bool timeOnly = IsTimeOnly(t);
    if (!dateOnly && t.Innards[0] >= kTicks) {
        return false;
    }
    if (dateOnly && timeOnly) {
        local.hasDate = false;
        local.hasTime = false;
        return true;
    }
    if (timeOnly) {
        local.hasDate = false;
        FillClock(local, t.Innards[0]);
        return true;
    }
    DWORD day = t.Innards[1] & kDayMask;
    if (!ValidDay(day)) {
        return false;
    }
    if (dateOnly) {
        local.hasTime = false;
        FillDate(local, day);
        return true;
    }
    local.zoneMinutesEast = ZoneMinutesEast(t.Innards[1]);
    // The DST bit says the zone observes daylight saving time; whether it is in effect depends on the date.
    local.dst = (t.Innards[1] & kDstBit) != 0 && DstInEffect(Absolute(t), local.zoneMinutesEast);
    std::int64_t offset = static_cast<std::int64_t>(local.zoneMinutesEast + (local.dst ? 60 : 0)) * 6000;
    std::int64_t total = Absolute(t) + offset;
    FillDate(local, static_cast<DWORD>(FloorDiv(total, kTicks)));
    FillClock(local, FloorMod(total, kTicks));
    return true;
}

std::int64_t ToUnixSeconds(const TIMEDATE &t) {
    if (IsTimeOnly(t)) {
        return IsDateOnly(t) ? 0 : t.Innards[0] / 100;
    }
    std::int64_t day = static_cast<std::int64_t>(t.Innards[1] & kDayMask) - kUnixEpochJulian;
    std::int64_t ticks = IsDateOnly(t) ? 0 : t.Innards[0];
    return day * 86400 + ticks / 100;
}

TIMEDATE FromUnixSeconds(std::int64_t seconds, int hundredths, int zoneMinutesEast, bool dst) {
    std::int64_t total = (seconds + static_cast<std::int64_t>(kUnixEpochJulian) * 86400) * 100 + hundredths;
    TIMEDATE t{};
    t.Innards[0] = static_cast<DWORD>(FloorMod(total, kTicks));
    t.Innards[1] = (static_cast<DWORD>(FloorDiv(total, kTicks)) & kDayMask) | ZoneBits(zoneMinutesEast, dst);
    return t;
}

std::int64_t DifferenceHundredths(const TIMEDATE &a, const TIMEDATE &b) {
    return Absolute(a) - Absolute(b);
}

TIMEDATE AddHundredths(const TIMEDATE &t, std::int64_t hundredths) {
    TIMEDATE r = t;
    if (IsTimeOnly(t)) {
        if (!IsDateOnly(t)) {
            r.Innards[0] =
                static_cast<DWORD>(FloorMod(static_cast<std::int64_t>(t.Innards[0]) + hundredths, kTicks));
        }
        return r;
    }
    if (IsDateOnly(t)) {
        std::int64_t day = static_cast<std::int64_t>(t.Innards[1] & kDayMask) + FloorDiv(hundredths, kTicks);
        r.Innards[1] = (t.Innards[1] & ~kDayMask) | (static_cast<DWORD>(day) & kDayMask);
        return r;
    }
    std::int64_t total = Absolute(t) + hundredths;
    r.Innards[0] = static_cast<DWORD>(FloorMod(total, kTicks));
    r.Innards[1] = (t.Innards[1] & ~kDayMask) | (static_cast<DWORD>(FloorDiv(total, kTicks)) & kDayMask);
    return r;
}

std::string FormatTimeDate(const TIMEDATE &t, const TFMT *format) {
    TFMT f{notes::kTimeDateFull, notes::kTimeTimeFull, notes::kTimeZoneNever, notes::kTimeStructDateTime};
    if (format != nullptr) {
        f = *format;
    }
    CalendarTime own;
    if (!SplitTimeDate(t, own)) {
        return std::string();
    }
    if (!own.hasDate && !own.hasTime) {
        return std::string();
    }
    CalendarTime shown = own;
    int currentYear = 0;
    bool zoneShown = false;
    if (own.hasDate && own.hasTime) {
        CalendarTime local;
        if (!LocalCalendar(t, local, currentYear)) {
            return std::string();
        }
        bool differs = local.zoneMinutesEast != own.zoneMinutesEast || local.dst != own.dst;
        zoneShown = f.Zone == notes::kTimeZoneAlways || (f.Zone == notes::kTimeZoneSometimes && differs);
        if (!zoneShown) {
            shown = local;
        }
    } else {
        std::time_t now = std::time(nullptr);
        std::tm nowTm{};
        localtime_r(&now, &nowTm);
        currentYear = nowTm.tm_year + 1900;
    }
    bool wantDate = f.Structure != notes::kTimeStructTime;
    bool wantTime = f.Structure != notes::kTimeStructDate;
    if (f.Structure == notes::kTimeStructCDateTime && shown.hasDate && shown.hasTime && SameDay(shown)) {
        wantDate = false;
    }
    std::string text;
    if (wantDate && shown.hasDate) {
        text = DateText(shown, f.Date, currentYear);
    }
    if (wantTime && shown.hasTime) {
        if (!text.empty()) {
            text += ' ';
        }
        text += ClockText(shown, f.Time);
        if (zoneShown) {
            text += ' ' + ZoneName(own.zoneMinutesEast, own.dst);
        }
    }
    if (text.empty()) {
        // A format that asks for the part the value lacks shows the part it has.
        text = shown.hasDate ? DateText(shown, f.Date, currentYear) : ClockText(shown, f.Time);
    }
    return text;
}

namespace {

// A small cursor over the text being parsed.
struct Scanner {
    const std::string &s;
    std::size_t i = 0;
    void Spaces() {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) {
            ++i;
        }
    }
    bool Number(int &value, int &digits) {
        digits = 0;
        value = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && digits < 9) {
            value = value * 10 + (s[i] - '0');
            ++i;
            ++digits;
        }
        return digits > 0;
    }
    bool Take(char c) {
        if (i < s.size() && s[i] == c) {
            ++i;
            return true;
        }
        return false;
    }
    bool Done() const { return i >= s.size(); }
};

bool ParseDate(Scanner &sc, CalendarTime &c) {
    std::size_t start = sc.i;
    int month = 0, day = 0, year = 0, digits = 0;
    if (!sc.Number(month, digits) || !sc.Take('/') || !sc.Number(day, digits)) {
        sc.i = start;
        return false;
    }
    time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    year = tm.tm_year + 1900;
    if (sc.Take('/')) {
        if (!sc.Number(year, digits)) {
            sc.i = start;
            return false;
        }
        if (digits <= 2) {
            year += year >= 50 ? 1900 : 2000;
        }
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1 || year > 9999) {
        sc.i = start;
        return false;
    }
    int y = 0, m = 0, d = 0;
    DateFromJulianDay(JulianDay(year, month, day), y, m, d);
    if (d != day) {
        sc.i = start;
        return false;
    }
    c.year = year;
    c.month = month;
    c.day = day;
    return true;
}

bool ParseClock(Scanner &sc, CalendarTime &c) {
    std::size_t start = sc.i;
    int hour = 0, minute = 0, second = 0, hundredth = 0, digits = 0;
    if (!sc.Number(hour, digits) || !sc.Take(':') || !sc.Number(minute, digits)) {
        sc.i = start;
        return false;
    }
    if (sc.Take(':')) {
        if (!sc.Number(second, digits)) {
            sc.i = start;
            return false;
        }
        if (sc.Take('.') || sc.Take(',')) {
            if (!sc.Number(hundredth, digits)) {
                sc.i = start;
                return false;
            }
            if (digits == 1) {
                hundredth *= 10;
            }
            while (digits-- > 2) {
                hundredth /= 10;
            }
        }
    }
    sc.Spaces();
    std::size_t mark = sc.i;
    if (sc.i + 1 < sc.s.size() && std::toupper(static_cast<unsigned char>(sc.s[sc.i + 1])) == 'M') {
        char ap = static_cast<char>(std::toupper(static_cast<unsigned char>(sc.s[sc.i])));
        if (ap == 'A' || ap == 'P') {
            if (hour < 1 || hour > 12) {
                sc.i = start;
                return false;
            }
            hour = hour % 12 + (ap == 'P' ? 12 : 0);
            sc.i += 2;
            mark = sc.i;
        }
    }
    sc.i = mark;
    if (hour > 23 || minute > 59 || second > 59) {
        sc.i = start;
        return false;
    }
    c.hour = hour;
    c.minute = minute;
    c.second = second;
    c.hundredth = hundredth;
    return true;
}

}  // namespace

bool ParseTimeDate(const std::string &text, TIMEDATE &out) {
    Scanner sc{text};
    CalendarTime c;
    sc.Spaces();
    c.hasDate = ParseDate(sc, c);
    sc.Spaces();
    c.hasTime = ParseClock(sc, c);
    sc.Spaces();
    if (!sc.Done() || (!c.hasDate && !c.hasTime)) {
        return false;
    }
    if (c.hasDate && c.hasTime) {
        // A text without a zone is a time of the process's local zone.
        std::tm tm{};
        tm.tm_year = c.year - 1900;
        tm.tm_mon = c.month - 1;
        tm.tm_mday = c.day;
        tm.tm_hour = c.hour;
        tm.tm_min = c.minute;
        tm.tm_sec = c.second;
        tm.tm_isdst = -1;
        std::time_t seconds = std::mktime(&tm);
        bool dst = tm.tm_isdst > 0;
        int zone = static_cast<int>(tm.tm_gmtoff / 60) - (dst ? 60 : 0);
        out = FromUnixSeconds(static_cast<std::int64_t>(seconds), c.hundredth, zone, dst);
        return true;
    }
    out = MakeTimeDate(c);
    return true;
}

namespace {

std::string Punctuate(const std::string &digits) {
    // digits: an unsigned number text "1234567.89"; thousands separators in the whole part.
    std::size_t point = digits.find('.');
    std::string whole = digits.substr(0, point);
    std::string rest = point == std::string::npos ? std::string() : digits.substr(point);
    std::string out;
    int count = 0;
    for (std::size_t i = whole.size(); i > 0; --i) {
        out.insert(out.begin(), whole[i - 1]);
        if (++count % 3 == 0 && i > 1) {
            out.insert(out.begin(), ',');
        }
    }
    return out + rest;
}

std::string GeneralText(double magnitude) {
    char buf[64];
    if (magnitude != 0 && (magnitude >= 1e15 || magnitude < 1e-4)) {
        std::snprintf(buf, sizeof buf, "%.14E", magnitude);
        std::string s = buf;
        // Drop trailing zeros of the mantissa: 1.50000000000000E+20 -> 1.5E+20.
        std::size_t e = s.find('E');
        std::string mantissa = s.substr(0, e);
        while (!mantissa.empty() && mantissa.back() == '0') {
            mantissa.pop_back();
        }
        if (!mantissa.empty() && mantissa.back() == '.') {
            mantissa.pop_back();
        }
        return mantissa + s.substr(e);
    }
    std::snprintf(buf, sizeof buf, "%.15g", magnitude);
    return buf;
}

std::string FixedText(double magnitude, int digits) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", digits, magnitude);
    return buf;
}

}  // namespace

std::string FormatNumber(double value, const NFMT *format) {
    if (std::isnan(value) || std::isinf(value)) {
        return value > 0 ? "+INF" : (value < 0 ? "-INF" : "NAN");
    }
    NFMT f{0, notes::kNumberGeneral, 0, 0};
    if (format != nullptr) {
        f = *format;
    }
    int digits = f.Digits > 15 ? 15 : f.Digits;
    bool percent = (f.Attributes & notes::kNumberPercent) != 0;
    double shown = percent ? value * 100 : value;
    bool negative = shown < 0;
    double magnitude = negative ? -shown : shown;
    std::string body;
    bool punctuate = (f.Attributes & notes::kNumberPunctuated) != 0;
    switch (f.Format) {
        case notes::kNumberFixed:
            body = FixedText(magnitude, digits);
            break;
        case notes::kNumberScientific: {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.*E", digits, magnitude);
            body = buf;
            punctuate = false;
            break;
        }
        case notes::kNumberCurrency:
            body = FixedText(magnitude, digits);
            punctuate = true;
            break;
        case notes::kNumberBytes: {
            static const char *const kUnits[] = {"", "K", "M", "G", "T"};
            int unit = 0;
            while (magnitude >= 1024 && unit < 4) {
                magnitude /= 1024;
                ++unit;
            }
            body = (unit == 0 ? GeneralText(magnitude) : FixedText(magnitude, digits)) + kUnits[unit];
            punctuate = false;
            break;
        }
        default:
            body = GeneralText(magnitude);
            if (body.find('E') != std::string::npos) {
                punctuate = false;
            }
            break;
    }
    if (punctuate) {
        body = Punctuate(body);
    }
    if (f.Format == notes::kNumberCurrency) {
        body = "$" + body;
    }
    if (percent) {
        body += "%";
    }
    if (negative && body.find_first_of("123456789") != std::string::npos) {
        body = (f.Attributes & notes::kNumberParens) != 0 ? "(" + body + ")" : "-" + body;
    }
    return body;
}

}  // namespace standin
