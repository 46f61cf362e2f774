// TIMEDATE arithmetic and the US-style text forms of times and numbers, shared by the runtime's entry
// points, the DXL reader and the formula language.
#pragma once

#include <cstdint>
#include <string>

#include "../../../src/notes/capi/NotesTypes.h"

namespace standin {

// A calendar time in the zone that the TIMEDATE records (local to that zone). zoneMinutesEast is the
// zone's standard offset; dst means daylight saving time is in effect, one hour ahead of it (a DXL
// time "...-04" with dst='true' is zoneMinutesEast -300, dst true). A TIMEDATE records only that its
// zone observes daylight saving time; SplitTimeDate decides whether it is in effect with the US rules
// west of GMT and the European rules elsewhere. Date-only and time-only values carry no zone: they
// are stored as given.
struct CalendarTime {
    int year = 0;
    int month = 0;  // 1-12
    int day = 0;    // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int hundredth = 0;
    int weekday = 0;          // 1 = Sunday
    int zoneMinutesEast = 0;  // offset of the recorded zone from GMT, east positive
    bool dst = false;
    bool hasDate = true;  // false for a time-only value (ANYDAY)
    bool hasTime = true;  // false for a date-only value (ALLDAY)
};

// Julian day number of a Gregorian date.
DWORD JulianDay(int year, int month, int day);
// The Gregorian date of a Julian day number.
void DateFromJulianDay(DWORD julian, int &year, int &month, int &day);

// A TIMEDATE from a calendar time given in the zone of its own zoneMinutesEast/dst (converted to GMT
// for the stored ticks and day). Date-only and time-only values use ALLDAY / ANYDAY.
TIMEDATE MakeTimeDate(const CalendarTime &local);
// The calendar time of a TIMEDATE in the zone it records; false when it is not a valid TIMEDATE.
bool SplitTimeDate(const TIMEDATE &t, CalendarTime &local);

// Seconds since 1970-01-01 UTC, and back (zone: GMT with no DST recorded unless given).
std::int64_t ToUnixSeconds(const TIMEDATE &t);
TIMEDATE FromUnixSeconds(std::int64_t seconds, int hundredths = 0, int zoneMinutesEast = 0, bool dst = false);

// Differences and adjustments in hundredths of a second.
std::int64_t DifferenceHundredths(const TIMEDATE &a, const TIMEDATE &b);  // a - b
TIMEDATE AddHundredths(const TIMEDATE &t, std::int64_t hundredths);

// The text of a time as a Notes client with US settings writes it ("12/16/91 06:13:32 PM"; years
// outside 1950-1999 with four digits), in the local zone of the process (TZ). A null format means date
// and time in full, no zone. Empty when the TIMEDATE is not valid.
std::string FormatTimeDate(const TIMEDATE &t, const TFMT *format);
// Parses a US date/time text ("12/16/1991 06:13:32 PM", "12/16/91", "18:13"); false when it is none.
bool ParseTimeDate(const std::string &text, TIMEDATE &out);

// The text of a number as a Notes client with US settings writes it; a null format is General.
std::string FormatNumber(double value, const NFMT *format);

}  // namespace standin
