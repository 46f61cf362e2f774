// Text conversions of the DXL reader through ICU, over the runtime's per-thread converters.
#include "DxlText.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include "common/Lmbcs.h"

namespace standin::dxl {

namespace {

UConverter *Cached(const std::string &name) {
    return ThreadConverter(name.c_str());
}

// Text that LMBCS and UTF-8 spell alike: printable ASCII, tab, line feed and carriage return.
bool IsPlainAscii(std::string_view text) {
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x80 || (c < 0x20 && c != '\t' && c != '\n' && c != '\r')) {
            return false;
        }
    }
    return true;
}

// Where a substituting conversion records the offsets of the bytes it replaced.
struct BadBytes {
    const char *base = nullptr;
    std::vector<std::size_t> *offsets = nullptr;
};

void RecordAndSubstitute(const void *context, UConverterToUnicodeArgs *args, const char *codeUnits,
                         int32_t length, UConverterCallbackReason reason, UErrorCode *status) {
    (void)codeUnits;
    if (reason > UCNV_IRREGULAR) {
        return;
    }
    const auto *bad = static_cast<const BadBytes *>(context);
    std::ptrdiff_t offset = args->source - bad->base - length;
    bad->offsets->push_back(offset < 0 ? 0 : static_cast<std::size_t>(offset));
    static const UChar kReplacement = 0xFFFD;
    *status = U_ZERO_ERROR;
    ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, status);
}

// from -> UTF-16 -> to. With bad set, undecodable input becomes U+FFFD and is recorded; without it,
// with stopOnError, the conversion fails on it.
bool Convert(const char *to, const char *from, std::string_view in, std::string &out, bool stopOnError,
             BadBytes *bad = nullptr) {
    out.clear();
    if (in.empty()) {
        return true;
    }
    UConverter *source = Cached(from);
    UConverter *target = Cached(to);
    if (source == nullptr || target == nullptr) {
        return false;
    }
    UErrorCode status = U_ZERO_ERROR;
    if (bad != nullptr) {
        bad->base = in.data();
        ucnv_setToUCallBack(source, RecordAndSubstitute, bad, nullptr, nullptr, &status);
    } else {
        ucnv_setToUCallBack(source, stopOnError ? UCNV_TO_U_CALLBACK_STOP : UCNV_TO_U_CALLBACK_SUBSTITUTE,
                            nullptr, nullptr, nullptr, &status);
    }
    ucnv_setFromUCallBack(target, stopOnError ? UCNV_FROM_U_CALLBACK_STOP : UCNV_FROM_U_CALLBACK_SUBSTITUTE,
                          nullptr, nullptr, nullptr, &status);
    std::u16string units(in.size() + 1, u'\0');
    status = U_ZERO_ERROR;
    int32_t unitCount = ucnv_toUChars(source, units.data(), static_cast<int32_t>(units.size()), in.data(),
                                      static_cast<int32_t>(in.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return false;
    }
    out.resize(static_cast<std::size_t>(unitCount) * 4 + 4);
    status = U_ZERO_ERROR;
    int32_t length = ucnv_fromUChars(target, out.data(), static_cast<int32_t>(out.size()), units.data(),
                                     unitCount, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return false;
    }
    out.resize(static_cast<std::size_t>(length));
    return true;
}

// The length of the valid UTF-8 sequence at the start of the bytes, or 0 when it is not one.
std::size_t Utf8SequenceLength(const unsigned char *p, std::size_t available) {
    unsigned char c = p[0];
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (c < 0x80) {
        return 1;
    }
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (available < length || p[1] < low || p[1] > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF) {
            return 0;
        }
    }
    return length;
}

}  // namespace

bool Utf8ToLmbcs(std::string_view utf8, std::string &out) {
    if (IsPlainAscii(utf8)) {
        out.assign(utf8);
        return true;
    }
    return Convert("LMBCS-1", "UTF-8", utf8, out, true);
}

std::string LmbcsToUtf8(std::string_view lmbcs) {
    if (IsPlainAscii(lmbcs)) {
        return std::string(lmbcs);
    }
    std::string out;
    if (!Convert("UTF-8", "LMBCS-1", lmbcs, out, false)) {
        return std::string();
    }
    return out;
}

bool CharsetToUtf8(std::string_view bytes, const std::string &charset, std::string &out, std::string &error,
                   std::vector<std::size_t> &badOffsets) {
    if (Cached(charset) == nullptr) {
        error = "unknown encoding '" + charset + "'";
        return false;
    }
    BadBytes bad;
    bad.offsets = &badOffsets;
    if (!Convert("UTF-8", charset.c_str(), bytes, out, false, &bad)) {
        error = "the bytes cannot be converted from " + charset;
        return false;
    }
    return true;
}

std::size_t FirstInvalidUtf8(std::string_view bytes, std::size_t from) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    std::size_t i = from;
    while (i < bytes.size()) {
        if (p[i] < 0x80) {
            ++i;
            continue;
        }
        std::size_t n = Utf8SequenceLength(p + i, bytes.size() - i);
        if (n == 0) {
            return i;
        }
        i += n;
    }
    return std::string_view::npos;
}

std::string RepairUtf8(std::string_view bytes, std::vector<std::size_t> &badOffsets) {
    std::string out;
    out.reserve(bytes.size() + 16);
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t bad = FirstInvalidUtf8(bytes, i);
        std::size_t end = bad == std::string_view::npos ? bytes.size() : bad;
        out.append(bytes.substr(i, end - i));
        if (bad == std::string_view::npos) {
            break;
        }
        badOffsets.push_back(bad);
        out += "\xEF\xBF\xBD";
        // One replacement for a lead byte and the continuation bytes that follow it.
        i = bad + 1;
        while (i < bytes.size() && p[i] >= 0x80 && p[i] <= 0xBF) {
            ++i;
        }
    }
    return out;
}

}  // namespace standin::dxl
