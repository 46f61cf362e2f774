// Character-set translation: OSTranslate, NLS_goto_prev and the LMBCS character-set information.
#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>

#include <cstring>

#include "Export.h"
#include "Runtime.h"
#include "common/Lmbcs.h"

using namespace standin;

namespace {

// What OSGetLMBCSCLS hands out: an opaque block of our own; callers only pass its address back.
struct LmbcsInfo {
    char tag[8] = "LMBCS-1";
};
LmbcsInfo g_lmbcsInfo;

std::u16string UnitsOf(const char *in, WORD inLen) {
    std::u16string units(inLen / 2, u'\0');
    if (!units.empty()) {
        std::memcpy(units.data(), in, units.size() * 2);
    }
    return units;
}

// Copies UTF-16 units as host-order bytes, at most outLen bytes, never splitting a surrogate pair.
WORD PutUnits(const std::u16string &units, char *out, WORD outLen) {
    std::size_t n = std::min<std::size_t>(units.size(), outLen / 2);
    if (n > 0 && n < units.size() && U16_IS_LEAD(units[n - 1])) {
        --n;
    }
    if (n > 0) {
        std::memcpy(out, units.data(), n * 2);
    }
    return static_cast<WORD>(n * 2);
}

WORD PutLmbcs(const std::string &lmbcs, char *out, WORD outLen) {
    std::size_t n = LmbcsFitLength(lmbcs, outLen);
    std::memcpy(out, lmbcs.data(), n);
    return static_cast<WORD>(n);
}

WORD PutUtf8(const std::string &utf8, char *out, WORD outLen) {
    std::size_t n = std::min<std::size_t>(utf8.size(), outLen);
    while (n > 0 && n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) {
        --n;
    }
    std::memcpy(out, utf8.data(), n);
    return static_cast<WORD>(n);
}

WORD PutBytes(const std::string &bytes, char *out, WORD outLen) {
    std::size_t n = std::min<std::size_t>(bytes.size(), outLen);
    std::memcpy(out, bytes.data(), n);
    return static_cast<WORD>(n);
}

std::u16string CaseMapped(const std::u16string &text, bool upper) {
    std::u16string out(text.size() * 3 + 1, u'\0');
    UErrorCode error = U_ZERO_ERROR;
    int32_t n = upper ? u_strToUpper(out.data(), static_cast<int32_t>(out.size()), text.data(),
                                     static_cast<int32_t>(text.size()), "", &error)
                      : u_strToLower(out.data(), static_cast<int32_t>(out.size()), text.data(),
                                     static_cast<int32_t>(text.size()), "", &error);
    if (U_FAILURE(error)) {
        return text;
    }
    out.resize(static_cast<std::size_t>(n));
    return out;
}

std::u16string Unaccented(const std::u16string &text) {
    UErrorCode error = U_ZERO_ERROR;
    const UNormalizer2 *nfd = unorm2_getNFDInstance(&error);
    if (U_FAILURE(error)) {
        return text;
    }
    std::u16string decomposed(text.size() * 4 + 1, u'\0');
    int32_t n = unorm2_normalize(nfd, text.data(), static_cast<int32_t>(text.size()), decomposed.data(),
                                 static_cast<int32_t>(decomposed.size()), &error);
    if (U_FAILURE(error)) {
        return text;
    }
    std::u16string out;
    for (int32_t i = 0; i < n; ++i) {
        if (u_getCombiningClass(decomposed[static_cast<std::size_t>(i)]) == 0) {
            out.push_back(decomposed[static_cast<std::size_t>(i)]);
        }
    }
    return out;
}

}  // namespace

extern "C" {

NOTES_EXPORT NLS_PINFO OSGetLMBCSCLS(void) {
    ApiLock lock(ApiMutex());
    if (EnterCall("OSGetLMBCSCLS") != 0) {
        return nullptr;
    }
    return &g_lmbcsInfo;
}

// Returns the number of bytes written to out (at most outLen); the output is not NUL-terminated.
// An output that does not fit is cut at a character boundary.
NOTES_EXPORT WORD OSTranslate(WORD mode, const char *in, WORD inLen, char *out, WORD outLen) {
    ApiLock lock(ApiMutex());
    if (EnterCall("OSTranslate") != 0) {
        return 0;
    }
    if (in == nullptr || out == nullptr || inLen == 0 || outLen == 0) {
        return 0;
    }
    std::string_view input(in, inLen);
    std::string native = NativeCodePage();
    std::u16string units;
    std::string bytes;
    switch (mode) {
        case notes::kTranslateNativeToLmbcs:
            if (!CodePageToUtf16(input, native.c_str(), units)) {
                return 0;
            }
            return PutLmbcs(Utf16ToLmbcs(units), out, outLen);
        case notes::kTranslateLmbcsToNative:
            if (!Utf16ToCodePage(LmbcsToUtf16(input), native.c_str(), bytes)) {
                return 0;
            }
            return PutBytes(bytes, out, outLen);
        case notes::kTranslateLowerToUpper:
        case notes::kTranslateUpperToLower:
            return PutLmbcs(
                Utf16ToLmbcs(CaseMapped(LmbcsToUtf16(input), mode == notes::kTranslateLowerToUpper)), out,
                outLen);
        case notes::kTranslateUnaccent:
            return PutLmbcs(Utf16ToLmbcs(Unaccented(LmbcsToUtf16(input))), out, outLen);
        case notes::kTranslateLmbcsToUnicode:
            return PutUnits(LmbcsToUtf16(input), out, outLen);
        case notes::kTranslateUnicodeToLmbcs:
            return PutLmbcs(Utf16ToLmbcs(UnitsOf(in, inLen)), out, outLen);
        case notes::kTranslateLmbcsToUtf8:
            return PutUtf8(LmbcsToUtf8(input), out, outLen);
        case notes::kTranslateUtf8ToLmbcs:
            return PutLmbcs(Utf8ToLmbcs(input), out, outLen);
        default:
            Diagnostic("OSTranslate: unknown mode " + std::to_string(mode));
            return 0;
    }
}

NOTES_EXPORT WORD NLS_goto_prev(BYTE **ppString, const BYTE *pStart, NLS_PINFO info) {
    (void)info;
    ApiLock lock(ApiMutex());
    if (EnterCall("NLS_goto_prev") != 0) {
        return 0;
    }
    if (ppString == nullptr || *ppString == nullptr || pStart == nullptr || *ppString <= pStart) {
        return 0;
    }
    std::size_t position = static_cast<std::size_t>(*ppString - pStart);
    // Only the bytes before the position are read: the caller's pointer may be the end of its text.
    std::string_view text(reinterpret_cast<const char *>(pStart), position);
    std::size_t length = 0;
    std::size_t start = LmbcsPreviousCharacter(text, position, length);
    if (start == std::string::npos) {
        return 0;
    }
    // A character that runs past the position counts whole: its length follows from its group byte
    // (and, for a double-byte group, the byte after it when that lies before the position).
    bool doubleByteGroup = pStart[start] >= 0x10 && pStart[start] <= 0x13;
    if (doubleByteGroup && position - start < 2) {
        length = 2;
    } else {
        length = LmbcsCharLength(pStart + start, 3);  // reads at most the byte after the group byte
    }
    *ppString = const_cast<BYTE *>(pStart) + start;
    return static_cast<WORD>(length);
}

}  // extern "C"
