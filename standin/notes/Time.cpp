// Time and number entry points: TimeConstruct, TimeGMToLocalZone, OSCurrentTimeZone and the text
// forms of times and numbers with a Notes client's US defaults.
#include <cmath>
#include <cstring>
#include <ctime>

#include "CoreStatus.h"
#include "Export.h"
#include "Runtime.h"
#include "common/TimeDate.h"

using namespace standin;

namespace {

const MessageEntry kTimeMessages[] = {
    {kStsInvalidTime, "Invalid time or date encountered"},
    {kStsInvalidNumber, "Invalid number encountered"},
};
const MessageRegistrar kTime(kTimeMessages, sizeof(kTimeMessages) / sizeof(kTimeMessages[0]));

// A TIME zone: hours west of GMT plus 100 per quarter hour, negative east of GMT.
int MinutesEastOfZone(int zone) {
    int magnitude = zone < 0 ? -zone : zone;
    int minutes = (magnitude % 100) * 60 + (magnitude / 100) * 15;
    return zone < 0 ? minutes : -minutes;
}

int ZoneOfMinutesEast(int minutesEast) {
    int magnitude = minutesEast < 0 ? -minutesEast : minutesEast;
    int zone = magnitude / 60 + 100 * ((magnitude % 60) / 15);
    return minutesEast > 0 ? -zone : zone;
}

STATUS PutText(const std::string &text, char *buf, WORD len, WORD *retLen) {
    std::size_t n = std::min<std::size_t>(text.size(), len);
    std::memcpy(buf, text.data(), n);
    if (retLen != nullptr) {
        *retLen = static_cast<WORD>(n);
    }
    return notes::kNoError;
}

}  // namespace

extern "C" {

// A TIMEDATE of the given Julian day and hundredths since midnight GMT, without zone information.
NOTES_EXPORT void TimeConstruct(DWORD julianDay, DWORD ticks, TIMEDATE *ret) {
    ApiLock lock(ApiMutex());
    if (EnterCall("TimeConstruct") != 0 || ret == nullptr) {
        return;
    }
    ret->Innards[0] = ticks;
    ret->Innards[1] = julianDay & 0x00FFFFFF;
}

// Breaks time->GM into calendar fields in the zone time->zone (hours west, plus 100 per quarter
// hour), one hour later when time->dst is set. Returns FALSE on success and TRUE on error, as Notes.
NOTES_EXPORT BOOL TimeGMToLocalZone(TIME *time) {
    ApiLock lock(ApiMutex());
    if (EnterCall("TimeGMToLocalZone") != 0 || time == nullptr) {
        return 1;
    }
    CalendarTime gmt;
    TIMEDATE gm = time->GM;
    if (gm.Innards[0] != notes::kAllDay && (gm.Innards[1] & 0x00FFFFFF) != notes::kAnyDay) {
        // Strip the recorded zone: the fields come from the zone the caller gives.
        gm.Innards[1] &= 0x00FFFFFF;
        gm = AddHundredths(
            gm, static_cast<std::int64_t>(MinutesEastOfZone(time->zone) + (time->dst ? 60 : 0)) * 6000);
    }
    if (!SplitTimeDate(gm, gmt)) {
        return 1;
    }
    time->year = gmt.year;
    time->month = gmt.month;
    time->day = gmt.day;
    time->weekday = gmt.weekday;
    time->hour = gmt.hour;
    time->minute = gmt.minute;
    time->second = gmt.second;
    time->hundredth = gmt.hundredth;
    return 0;
}

// The process's zone (TZ) in Notes' form: hours west of GMT, and whether it observes daylight saving.
NOTES_EXPORT void OSCurrentTimeZone(int *zone, int *dst) {
    ApiLock lock(ApiMutex());
    if (EnterCall("OSCurrentTimeZone") != 0) {
        return;
    }
    tzset();
    if (zone != nullptr) {
        *zone = ZoneOfMinutesEast(static_cast<int>(-timezone / 60));
    }
    if (dst != nullptr) {
        *dst = daylight != 0 ? 1 : 0;
    }
}

NOTES_EXPORT STATUS ConvertTIMEDATEToText(const void *intl, const TFMT *fmt, const TIMEDATE *t, char *buf,
                                          WORD len, WORD *retLen) {
    (void)intl;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("ConvertTIMEDATEToText")) {
        return s;
    }
    if (t == nullptr || buf == nullptr) {
        return kStsBadArgument;
    }
    std::string text = FormatTimeDate(*t, fmt);
    if (text.empty()) {
        return kStsInvalidTime;
    }
    return PutText(text, buf, len, retLen);
}

NOTES_EXPORT STATUS ConvertFLOATToText(const void *intl, const NFMT *fmt, NUMBER *n, char *buf, WORD len,
                                       WORD *retLen) {
    (void)intl;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("ConvertFLOATToText")) {
        return s;
    }
    if (n == nullptr || buf == nullptr) {
        return kStsBadArgument;
    }
    if (!std::isfinite(*n)) {
        return kStsInvalidNumber;
    }
    return PutText(FormatNumber(*n, fmt), buf, len, retLen);
}

}  // extern "C"
