// NSFItemConvertValueToText: the display text of an item value held in a memory block.
#include <cstdio>
#include <cstring>

#include "Export.h"
#include "Runtime.h"
#include "common/Lmbcs.h"
#include "common/Rfc822Text.h"
#include "common/TimeDate.h"

using namespace standin;

namespace {

// Bounds-checked little-endian reads over the value bytes.
class Reader {
public:
    Reader(const char *data, std::size_t size) : m_data(data), m_size(size) {}
    bool Word(std::size_t at, WORD &v) const {
        if (at + 2 > m_size) {
            return false;
        }
        v = static_cast<WORD>(Byte(at) | (Byte(at + 1) << 8));
        return true;
    }
    bool Dword(std::size_t at, DWORD &v) const {
        WORD lo = 0, hi = 0;
        if (!Word(at, lo) || !Word(at + 2, hi)) {
            return false;
        }
        v = lo | (static_cast<DWORD>(hi) << 16);
        return true;
    }
    bool Number(std::size_t at, double &v) const {
        if (at + 8 > m_size) {
            return false;
        }
        std::uint64_t bits = 0;
        for (int i = 7; i >= 0; --i) {
            bits = (bits << 8) | Byte(at + static_cast<std::size_t>(i));
        }
        std::memcpy(&v, &bits, sizeof v);
        return true;
    }
    bool Time(std::size_t at, TIMEDATE &t) const {
        return Dword(at, t.Innards[0]) && Dword(at + 4, t.Innards[1]);
    }
    bool Text(std::size_t at, std::size_t length, std::string &out) const {
        if (at > m_size || length > m_size - at) {
            return false;
        }
        out.assign(m_data + at, length);
        return true;
    }
    std::size_t Size() const { return m_size; }

private:
    unsigned Byte(std::size_t at) const { return static_cast<unsigned char>(m_data[at]); }
    const char *m_data;
    std::size_t m_size;
};

std::string HexUnid(const Reader &r, std::size_t at) {
    DWORD parts[4] = {};
    // UNID: File (Innards[0], Innards[1]) then Note; written high word of each first.
    if (!r.Dword(at + 4, parts[0]) || !r.Dword(at, parts[1]) || !r.Dword(at + 12, parts[2]) ||
        !r.Dword(at + 8, parts[3])) {
        return std::string();
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%08X%08X%08X%08X", parts[0], parts[1], parts[2], parts[3]);
    return buf;
}

// A list of entries and range pairs (number and time lists): RANGE {entries; ranges} after the type.
template <typename Entry>
bool RangeText(const Reader &r, std::size_t entrySize, char separator, Entry entry, std::string &out) {
    WORD entries = 0, ranges = 0;
    if (!r.Word(2, entries) || !r.Word(4, ranges)) {
        return false;
    }
    std::size_t at = 6;
    for (WORD i = 0; i < entries; ++i, at += entrySize) {
        std::string text;
        if (!entry(at, text)) {
            return false;
        }
        out += i > 0 ? std::string(1, separator) : std::string();
        out += text;
    }
    for (WORD i = 0; i < ranges; ++i, at += 2 * entrySize) {
        std::string low, high;
        if (!entry(at, low) || !entry(at + entrySize, high)) {
            return false;
        }
        out += (entries > 0 || i > 0) ? std::string(1, separator) : std::string();
        out += low + " - " + high;
    }
    return true;
}

bool ValueText(WORD type, const Reader &r, char separator, std::string &out) {
    auto number = [&r](std::size_t at, std::string &text) {
        double v = 0;
        if (!r.Number(at, v)) {
            return false;
        }
        text = FormatNumber(v, nullptr);
        return true;
    };
    auto time = [&r](std::size_t at, std::string &text) {
        TIMEDATE t{};
        if (!r.Time(at, t)) {
            return false;
        }
        text = FormatTimeDate(t, nullptr);
        return true;
    };
    switch (type) {
        case notes::kTypeText:
            return r.Text(2, r.Size() - 2, out);
        case notes::kTypeTextList: {
            WORD entries = 0;
            if (!r.Word(2, entries)) {
                return false;
            }
            std::size_t at = 4 + 2 * static_cast<std::size_t>(entries);
            for (WORD i = 0; i < entries; ++i) {
                WORD length = 0;
                std::string text;
                if (!r.Word(4 + 2 * static_cast<std::size_t>(i), length) || !r.Text(at, length, text)) {
                    return false;
                }
                out += i > 0 ? std::string(1, separator) : std::string();
                out += text;
                at += length;
            }
            return true;
        }
        case notes::kTypeRfc822Text: {
            Rfc822Value rfc;
            std::string body;
            if (!r.Text(2, r.Size() - 2, body) || !DecodeRfc822Text(body, rfc)) {
                return false;
            }
            if (rfc.isTime) {
                out = FormatTimeDate(rfc.time, nullptr);
                return true;
            }
            for (std::size_t i = 0; i < rfc.texts.size(); ++i) {
                out += (i > 0 ? std::string(1, separator) : std::string()) + rfc.texts[i];
            }
            return true;
        }
        case notes::kTypeNumber:
            return number(2, out);
        case notes::kTypeTime:
            return time(2, out);
        case notes::kTypeNumberRange:
            return RangeText(r, 8, separator, number, out);
        case notes::kTypeTimeRange:
            return RangeText(r, 8, separator, time, out);
        case notes::kTypeNoteRefList: {
            WORD entries = 0;
            if (!r.Word(2, entries)) {
                return false;
            }
            for (WORD i = 0; i < entries; ++i) {
                std::string unid = HexUnid(r, 4 + 16 * static_cast<std::size_t>(i));
                if (unid.empty()) {
                    return false;
                }
                out += i > 0 ? std::string(1, separator) : std::string();
                out += unid;
            }
            return true;
        }
        default:
            return true;
    }
}

}  // namespace

extern "C" {

// Writes the value's text, NUL-terminated, in at most len bytes (cut at a character boundary) and
// returns its length. valueLen counts the type word at the start of the value.
NOTES_EXPORT WORD NSFItemConvertValueToText(WORD type, BLOCKID value, DWORD valueLen, char *buf, WORD len,
                                            char separator) {
    ApiLock lock(ApiMutex());
    if (EnterCall("NSFItemConvertValueToText") != 0) {
        return 0;
    }
    if (buf == nullptr || len == 0) {
        return 0;
    }
    buf[0] = '\0';
    MemoryBlock *block = Handles::Lockable(value.pool);
    if (block == nullptr || value.block > block->bytes.size() || valueLen < 2 ||
        valueLen > block->bytes.size() - value.block) {
        Diagnostic("NSFItemConvertValueToText: the value block lies outside its memory");
        return 0;
    }
    Reader reader(block->bytes.data() + value.block, valueLen);
    std::string text;
    if (!ValueText(type, reader, separator == 0 ? ';' : separator, text)) {
        Diagnostic("NSFItemConvertValueToText: value of type " + std::to_string(type) + " is damaged");
        text.clear();
    }
    std::size_t n = LmbcsFitLength(text, len - 1u);
    std::memcpy(buf, text.data(), n);
    buf[n] = '\0';
    return static_cast<WORD>(n);
}

}  // extern "C"
