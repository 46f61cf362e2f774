// Bounds-checked little-endian decoding and encoding of canonical item values.
#include "CanonicalValue.h"

#include <cstdint>
#include <cstring>

#include "../common/Rfc822Text.h"

namespace formula {

namespace {

bool ReadWord(std::string_view bytes, std::size_t offset, WORD &out) {
    if (offset + 2 > bytes.size()) {
        return false;
    }
    out = static_cast<WORD>(static_cast<unsigned char>(bytes[offset]) |
                            (static_cast<unsigned char>(bytes[offset + 1]) << 8));
    return true;
}

bool ReadDword(std::string_view bytes, std::size_t offset, DWORD &out) {
    WORD low = 0;
    WORD high = 0;
    if (!ReadWord(bytes, offset, low) || !ReadWord(bytes, offset + 2, high)) {
        return false;
    }
    out = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
    return true;
}

bool ReadDouble(std::string_view bytes, std::size_t offset, double &out) {
    if (offset + 8 > bytes.size()) {
        return false;
    }
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) {
        bits = (bits << 8) | static_cast<unsigned char>(bytes[offset + static_cast<std::size_t>(i)]);
    }
    std::memcpy(&out, &bits, sizeof(out));
    return true;
}

bool ReadTime(std::string_view bytes, std::size_t offset, TIMEDATE &out) {
    return ReadDword(bytes, offset, out.Innards[0]) && ReadDword(bytes, offset + 4, out.Innards[1]);
}

void PutWord(std::string &out, WORD w) {
    out += static_cast<char>(w & 0xFF);
    out += static_cast<char>(w >> 8);
}

void PutDword(std::string &out, DWORD d) {
    PutWord(out, static_cast<WORD>(d & 0xFFFF));
    PutWord(out, static_cast<WORD>(d >> 16));
}

void PutDouble(std::string &out, double d) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &d, sizeof(bits));
    for (int i = 0; i < 8; ++i) {
        out += static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
}

Value DecodeTextList(std::string_view bytes) {
    WORD count = 0;
    if (!ReadWord(bytes, 0, count)) {
        return Value::Text(std::string());
    }
    std::size_t position = 2 + 2 * static_cast<std::size_t>(count);
    if (position > bytes.size()) {
        return Value::Text(std::string());
    }
    std::vector<std::string> texts;
    for (WORD i = 0; i < count; ++i) {
        WORD length = 0;
        if (!ReadWord(bytes, 2 + 2 * static_cast<std::size_t>(i), length) ||
            position + length > bytes.size()) {
            return Value::Text(std::string());
        }
        texts.emplace_back(bytes.substr(position, length));
        position += length;
    }
    return Value::Texts(std::move(texts));
}

Value DecodeRange(std::string_view bytes, bool times) {
    WORD count = 0;
    WORD ranges = 0;
    if (!ReadWord(bytes, 0, count) || !ReadWord(bytes, 2, ranges)) {
        return Value::Text(std::string());
    }
    std::vector<double> numbers;
    std::vector<TIMEDATE> timeList;
    for (WORD i = 0; i < count; ++i) {
        std::size_t offset = 4 + 8 * static_cast<std::size_t>(i);
        if (times) {
            TIMEDATE t{};
            if (!ReadTime(bytes, offset, t)) {
                return Value::Text(std::string());
            }
            timeList.push_back(t);
        } else {
            double n = 0;
            if (!ReadDouble(bytes, offset, n)) {
                return Value::Text(std::string());
            }
            numbers.push_back(n);
        }
    }
    // A range (pair) contributes its lower bound: formulas see ranges as their starts.
    for (WORD i = 0; i < ranges; ++i) {
        std::size_t offset = 4 + 8 * static_cast<std::size_t>(count) + 16 * static_cast<std::size_t>(i);
        if (times) {
            TIMEDATE t{};
            if (!ReadTime(bytes, offset, t)) {
                break;
            }
            timeList.push_back(t);
        } else {
            double n = 0;
            if (!ReadDouble(bytes, offset, n)) {
                break;
            }
            numbers.push_back(n);
        }
    }
    return times ? Value::Times(std::move(timeList)) : Value::Numbers(std::move(numbers));
}

}  // namespace

Value CanonicalValue::Decode(WORD type, std::string_view bytes) {
    switch (type) {
        case notes::kTypeText:
            return Value::Text(std::string(bytes));
        case notes::kTypeRfc822Text: {
            standin::Rfc822Value rfc;
            if (!standin::DecodeRfc822Text(bytes, rfc)) {
                return Value::Text(std::string());
            }
            return rfc.isTime ? Value::Time(rfc.time) : Value::Texts(std::move(rfc.texts));
        }
        case notes::kTypeTextList:
            return DecodeTextList(bytes);
        case notes::kTypeNumber: {
            double n = 0;
            return ReadDouble(bytes, 0, n) ? Value::Number(n) : Value::Text(std::string());
        }
        case notes::kTypeNumberRange:
            return DecodeRange(bytes, false);
        case notes::kTypeTime: {
            TIMEDATE t{};
            return ReadTime(bytes, 0, t) ? Value::Time(t) : Value::Text(std::string());
        }
        case notes::kTypeTimeRange:
            return DecodeRange(bytes, true);
        default:
            return Value::Text(std::string());
    }
}

void CanonicalValue::Encode(const Value &value, WORD &type, std::string &bytes) {
    bytes.clear();
    switch (value.kind) {
        case Kind::Error:
            type = notes::kTypeError;
            bytes = value.error;
            return;
        case Kind::Text:
            if (value.texts.size() == 1) {
                type = notes::kTypeText;
                bytes = value.texts[0];
                return;
            }
            type = notes::kTypeTextList;
            PutWord(bytes, static_cast<WORD>(value.texts.size()));
            for (const std::string &t : value.texts) {
                PutWord(bytes, static_cast<WORD>(t.size()));
            }
            for (const std::string &t : value.texts) {
                bytes += t;
            }
            return;
        case Kind::Number:
            if (value.numbers.size() == 1) {
                type = notes::kTypeNumber;
                PutDouble(bytes, value.numbers[0]);
                return;
            }
            type = notes::kTypeNumberRange;
            PutWord(bytes, static_cast<WORD>(value.numbers.size()));
            PutWord(bytes, 0);
            for (double n : value.numbers) {
                PutDouble(bytes, n);
            }
            return;
        case Kind::Time:
            if (value.times.size() == 1) {
                type = notes::kTypeTime;
                PutDword(bytes, value.times[0].Innards[0]);
                PutDword(bytes, value.times[0].Innards[1]);
                return;
            }
            type = notes::kTypeTimeRange;
            PutWord(bytes, static_cast<WORD>(value.times.size()));
            PutWord(bytes, 0);
            for (const TIMEDATE &t : value.times) {
                PutDword(bytes, t.Innards[0]);
                PutDword(bytes, t.Innards[1]);
            }
            return;
    }
}

}  // namespace formula
