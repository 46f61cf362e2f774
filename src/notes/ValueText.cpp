// Display text of item values.
#include "ValueText.h"

#include <vector>

#include "ByteReader.h"
#include "LmbcsConvert.h"
#include "NotesApi.h"

namespace notes {

namespace {

void ReplaceFrom(std::string &text, std::size_t from, char what, const std::string &with) {
    if (text.find(what, from) == std::string::npos) {
        return;  // the common case: nothing to replace, nothing to copy
    }
    std::string tail;
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == what) {
            tail += with;
        } else {
            tail += text[i];
        }
    }
    text.replace(from, std::string::npos, tail);
}

}  // namespace

void AppendAnyValueText(WORD type, BLOCKID value, DWORD valueLen, const std::string &separator,
                        std::string &text) {
    if (Api().fn.NSFItemConvertValueToText == nullptr) {
        return;
    }
    constexpr WORD kBufferSize = 0xFFFF;
    // One buffer per thread: zeroing 64 KB for every value cost more than converting most values.
    thread_local std::vector<char> buffer(kBufferSize + 1, '\0');
    WORD length = Api().fn.NSFItemConvertValueToText(type, value, valueLen, buffer.data(), kBufferSize, ';');
    std::size_t start = text.size();
    // On failure the message has been shown; what was converted is all there is.
    static_cast<void>(AppendLmbcsAsUnicode(
        buffer.data(), static_cast<int>(std::min<WORD>(length, kBufferSize)), false, nullptr, text));
    ReplaceFrom(text, start, ';', separator);
}

bool TimeDateText(const TIMEDATE &time, std::string &text) {
    if (Api().fn.ConvertTIMEDATEToText == nullptr) {
        return false;
    }
    constexpr WORD kBufferSize = 80;
    char buffer[kBufferSize + 1] = {};
    WORD length = 0;
    if (Api().fn.ConvertTIMEDATEToText(nullptr, nullptr, &time, buffer, kBufferSize, &length) != 0) {
        return false;
    }
    text = LmbcsToUnicode(buffer, std::min<WORD>(length, kBufferSize));
    return true;
}

bool TimeDateToUnixSeconds(const TIMEDATE &time, std::int64_t &seconds) {
    constexpr DWORD kTicksPerDay = 8640000;
    constexpr std::int64_t kJulianDayOf1970 = 2440588;
    const DWORD day = time.Innards[1] & 0x00FFFFFF;
    if (time.Innards[0] == kAllDay || time.Innards[0] >= kTicksPerDay || day == kAnyDay || day == 0) {
        return false;
    }
    seconds = (static_cast<std::int64_t>(day) - kJulianDayOf1970) * 86400 + time.Innards[0] / 100;
    return true;
}

void AppendTimeListText(const char *value, std::size_t valueLen, const std::string &separator,
                        std::string &text) {
    if (value == nullptr || valueLen < 6) {
        return;
    }
    const ByteReader bytes(value, valueLen);
    std::size_t entries = bytes.Word(2) + 2 * static_cast<std::size_t>(bytes.Word(4));
    for (std::size_t i = 0; i < entries; ++i) {
        std::size_t at = 6 + 8 * i;
        if (!bytes.Has(at, 8)) {
            break;
        }
        TIMEDATE t{{bytes.Dword(at), bytes.Dword(at + 4)}};
        std::string entry;
        if (!TimeDateText(t, entry)) {
            continue;
        }
        if (i > 0) {
            text += separator;
        }
        text += entry;
    }
}

void AppendTimeItemText(NOTEHANDLE note, const std::string &itemName, std::string &text) {
    TIMEDATE t{};
    std::string entry;
    std::string name = UnicodeToLmbcs(itemName);
    if (Api().fn.NSFItemGetTime == nullptr || !Api().fn.NSFItemGetTime(note, name.c_str(), &t) ||
        !TimeDateText(t, entry)) {
        text += "Invalid Date Time";
        return;
    }
    text += entry;
}

void AppendSignatureText(NOTEHANDLE note, std::string &text) {
    if (Api().fn.NSFNoteVerifySignature == nullptr) {
        return;
    }
    TIMEDATE when{};
    char signer[kMaxUserName + 1] = {};
    char certifier[kMaxUserName + 1] = {};
    if (Api().fn.NSFNoteVerifySignature(note, nullptr, &when, signer, certifier) != 0) {
        return;
    }
    signer[kMaxUserName] = '\0';
    std::string name = LmbcsToUnicode(signer, -1);
    std::string time;
    if (TimeDateText(when, time)) {
        text += "Signed by " + name + " on " + time;
    } else {
        text += "Signed by " + name;
    }
}

void AppendTextListText(const char *value, std::size_t valueLen, const std::string &separator,
                        std::string &text) {
    if (value == nullptr || valueLen < 4) {
        return;
    }
    const ByteReader bytes(value, valueLen);
    std::size_t entries = bytes.Word(2);
    std::size_t at = 4 + 2 * entries;
    for (std::size_t i = 0; i < entries; ++i) {
        std::size_t lengthAt = 4 + 2 * i;
        if (!bytes.Has(lengthAt, 2)) {
            return;
        }
        std::size_t length = bytes.Word(lengthAt);
        if (!bytes.Has(at, length)) {
            return;
        }
        if (i > 0) {
            text += separator;
        }
        static_cast<void>(AppendLmbcsAsUnicode(value + at, static_cast<int>(length), true, nullptr, text));
        at += length;
    }
}

void AppendTextText(const char *value, std::size_t valueLen, std::string &text) {
    if (value == nullptr || valueLen <= 2) {
        return;
    }
    static_cast<void>(AppendLmbcsAsUnicode(value + 2, static_cast<int>(valueLen - 2), true, nullptr, text));
}

}  // namespace notes
