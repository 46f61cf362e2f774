// Time @functions: the current time and day, building times from parts, their parts, and adjusting.
#include <cmath>
#include <ctime>

#include "FunctionHelpers.h"
#include "common/TimeDate.h"

namespace formula {

namespace {

using standin::CalendarTime;

// The offset of the process's zone from GMT at that moment, in minutes east, and whether DST applies.
void LocalZone(std::time_t at, int &minutesEast, bool &dst) {
    std::tm local{};
    localtime_r(&at, &local);
    dst = local.tm_isdst > 0;
    // The recorded zone is the standard offset; daylight saving is a flag beside it.
    minutesEast = static_cast<int>(local.tm_gmtoff / 60) - (dst ? 60 : 0);
}

TIMEDATE NowTime() {
    std::timespec now{};
    std::timespec_get(&now, TIME_UTC);
    int minutesEast = 0;
    bool dst = false;
    LocalZone(now.tv_sec, minutesEast, dst);
    return standin::FromUnixSeconds(now.tv_sec, static_cast<int>(now.tv_nsec / 10000000), minutesEast, dst);
}

// Today plus a number of days, as a date without a time.
Value DayFromToday(int days) {
    CalendarTime local;
    if (!standin::SplitTimeDate(NowTime(), local)) {
        return Value::Error("Invalid Time or Date");
    }
    standin::DateFromJulianDay(
        standin::JulianDay(local.year, local.month, local.day) + static_cast<DWORD>(days), local.year,
        local.month, local.day);
    local.hasTime = false;
    return Value::Time(standin::MakeTimeDate(local));
}

Value Now(Evaluator &, std::vector<Value> &) {
    return Value::Time(NowTime());
}
Value Today(Evaluator &, std::vector<Value> &) {
    return DayFromToday(0);
}
Value Yesterday(Evaluator &, std::vector<Value> &) {
    return DayFromToday(-1);
}
Value Tomorrow(Evaluator &, std::vector<Value> &) {
    return DayFromToday(1);
}

bool ValidDate(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
        return false;
    }
    int y = 0;
    int m = 0;
    int d = 0;
    standin::DateFromJulianDay(standin::JulianDay(year, month, day), y, m, d);
    return y == year && m == month && d == day;
}

bool Numbers(const std::vector<Value> &args, std::size_t first, std::size_t count, int *out, Value &error) {
    for (std::size_t i = 0; i < count; ++i) {
        double n = 0;
        if (!FirstNumber(args[first + i], n, error)) {
            return false;
        }
        if (!std::isfinite(n) || std::fabs(n) > 1e7) {
            error = Value::Error("Invalid Time or Date");
            return false;
        }
        out[i] = static_cast<int>(n);
    }
    return true;
}

// The time of a calendar time in the process's zone.
CalendarTime InLocalZone(CalendarTime local) {
    int minutesEast = 0;
    bool dst = false;
    LocalZone(std::time(nullptr), minutesEast, dst);
    local.zoneMinutesEast = minutesEast;
    local.dst = dst;
    return local;
}

// The date or the time part of each time of a value.
Value PartOf(const Value &arg, bool keepDate) {
    if (arg.kind != Kind::Time) {
        return Evaluator::TypeError(Kind::Time);
    }
    std::vector<TIMEDATE> out;
    for (const TIMEDATE &t : arg.times) {
        CalendarTime local;
        if (!standin::SplitTimeDate(t, local)) {
            return Value::Error("Invalid Time or Date");
        }
        if (keepDate) {
            local.hasTime = false;
        } else {
            local.hasDate = false;
        }
        out.push_back(standin::MakeTimeDate(local));
    }
    return Value::Times(std::move(out));
}

// @Date(year; month; day), @Date(year; month; day; hour; minute; second) or @Date(time): a date.
Value Date(Evaluator &, std::vector<Value> &args) {
    if (args.size() == 1) {
        return PartOf(args[0], true);
    }
    if (args.size() != 3 && args.size() != 6) {
        return Value::Error("@Date requires one, three or six arguments");
    }
    int parts[3] = {};
    Value error;
    if (!Numbers(args, 0, 3, parts, error)) {
        return error;
    }
    if (!ValidDate(parts[0], parts[1], parts[2])) {
        return Value::Error("Invalid Time or Date");
    }
    CalendarTime local;
    local.year = parts[0];
    local.month = parts[1];
    local.day = parts[2];
    local.hasTime = false;
    return Value::Time(standin::MakeTimeDate(local));
}

// @Time(hour; minute; second), @Time(year; month; day; hour; minute; second) or @Time(time).
Value Time(Evaluator &, std::vector<Value> &args) {
    if (args.size() == 1) {
        return PartOf(args[0], false);
    }
    if (args.size() != 3 && args.size() != 6) {
        return Value::Error("@Time requires one, three or six arguments");
    }
    int parts[6] = {};
    Value error;
    if (!Numbers(args, 0, args.size(), parts, error)) {
        return error;
    }
    CalendarTime local;
    const int *clock = parts;
    if (args.size() == 6) {
        if (!ValidDate(parts[0], parts[1], parts[2])) {
            return Value::Error("Invalid Time or Date");
        }
        local.year = parts[0];
        local.month = parts[1];
        local.day = parts[2];
        clock = parts + 3;
        local = InLocalZone(local);
    } else {
        local.hasDate = false;
    }
    if (clock[0] < 0 || clock[0] > 23 || clock[1] < 0 || clock[1] > 59 || clock[2] < 0 || clock[2] > 59) {
        return Value::Error("Invalid Time or Date");
    }
    local.hour = clock[0];
    local.minute = clock[1];
    local.second = clock[2];
    return Value::Time(standin::MakeTimeDate(local));
}

enum class Part { Year, Month, Day, Hour, Minute, Second, Weekday };

// One part of each time; -1 where the time lacks it (the date of a time-only value, and so on).
Value PartNumbers(const Value &arg, Part part) {
    if (arg.kind != Kind::Time) {
        return Evaluator::TypeError(Kind::Time);
    }
    std::vector<double> out;
    for (const TIMEDATE &t : arg.times) {
        CalendarTime local;
        if (!standin::SplitTimeDate(t, local)) {
            out.push_back(-1);
            continue;
        }
        bool datePart =
            part == Part::Year || part == Part::Month || part == Part::Day || part == Part::Weekday;
        if ((datePart && !local.hasDate) || (!datePart && !local.hasTime)) {
            out.push_back(-1);
            continue;
        }
        int values[] = {local.year,   local.month,  local.day,    local.hour,
                        local.minute, local.second, local.weekday};
        out.push_back(values[static_cast<int>(part)]);
    }
    return Value::Numbers(std::move(out));
}

Value Year(Evaluator &, std::vector<Value> &args) {
    return PartNumbers(args[0], Part::Year);
}
Value Month(Evaluator &, std::vector<Value> &args) {
    return PartNumbers(args[0], Part::Month);
}
Value Day(Evaluator &, std::vector<Value> &args) {
    return PartNumbers(args[0], Part::Day);
}
Value Hour(Evaluator &, std::vector<Value> &args) {
    return PartNumbers(args[0], Part::Hour);
}
Value Minute(Evaluator &, std::vector<Value> &args) {
    return PartNumbers(args[0], Part::Minute);
}
Value Second(Evaluator &, std::vector<Value> &args) {
    return PartNumbers(args[0], Part::Second);
}
Value Weekday(Evaluator &, std::vector<Value> &args) {
    return PartNumbers(args[0], Part::Weekday);
}

// @Adjust(time; years; months; days; hours; minutes; seconds [; keywords]). A day past the end of the
// month runs into the next one, as in Notes.
Value Adjust(Evaluator &, std::vector<Value> &args) {
    if (args[0].kind != Kind::Time) {
        return Evaluator::TypeError(Kind::Time);
    }
    int by[6] = {};
    Value error;
    if (!Numbers(args, 1, 6, by, error)) {
        return error;
    }
    std::vector<TIMEDATE> out;
    for (const TIMEDATE &t : args[0].times) {
        CalendarTime local;
        if (!standin::SplitTimeDate(t, local)) {
            return Value::Error("Invalid Time or Date");
        }
        TIMEDATE adjusted = t;
        if (local.hasDate) {
            long months = static_cast<long>(local.year) * 12 + (local.month - 1) + by[0] * 12L + by[1];
            int year = static_cast<int>(months / 12);
            int month = static_cast<int>(months % 12) + 1;
            if (year < 1 || year > 9999) {
                return Value::Error("Invalid Time or Date");
            }
            long julian = static_cast<long>(standin::JulianDay(year, month, 1)) + (local.day - 1) + by[2];
            if (julian < 1) {
                return Value::Error("Invalid Time or Date");
            }
            standin::DateFromJulianDay(static_cast<DWORD>(julian), local.year, local.month, local.day);
            if (local.year > 9999) {
                return Value::Error("Invalid Time or Date");
            }
            adjusted = standin::MakeTimeDate(local);
        }
        if (local.hasTime) {
            std::int64_t seconds = by[3] * 3600LL + by[4] * 60LL + by[5];
            adjusted = standin::AddHundredths(adjusted, seconds * 100);
        }
        out.push_back(adjusted);
    }
    return Value::Times(std::move(out));
}

const FunctionSignature kSpecs[] = {
    {"@Now", 0, 0, Now, nullptr, false, false},
    {"@Today", 0, 0, Today, nullptr, false, false},
    {"@Yesterday", 0, 0, Yesterday, nullptr, false, false},
    {"@Tomorrow", 0, 0, Tomorrow, nullptr, false, false},
    {"@Date", 1, 6, Date, nullptr, false, false},
    {"@Time", 1, 6, Time, nullptr, false, false},
    {"@Year", 1, 1, Year, nullptr, false, false},
    {"@Month", 1, 1, Month, nullptr, false, false},
    {"@Day", 1, 1, Day, nullptr, false, false},
    {"@Hour", 1, 1, Hour, nullptr, false, false},
    {"@Minute", 1, 1, Minute, nullptr, false, false},
    {"@Second", 1, 1, Second, nullptr, false, false},
    {"@Weekday", 1, 1, Weekday, nullptr, false, false},
    {"@Adjust", 7, 8, Adjust, nullptr, false, false},
};

}  // namespace

FunctionGroup TimeFunctions() {
    return {kSpecs, sizeof(kSpecs) / sizeof(kSpecs[0])};
}

}  // namespace formula
