// Code-page conversions through ICU converters.
#include "CodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <unordered_map>

namespace platform {

namespace {

constexpr char kDefaultAnsiCodePage[] = "windows-1252";
constexpr UChar32 kReplacementCharacter = 0xFFFD;
constexpr std::size_t kKeptUnits = 0x10000;  // UTF-16 units of a per-thread buffer kept between calls

struct ConverterCloser {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// Opening an ICU converter costs far more than most conversions, and a converter must not be shared
// between threads: each thread keeps the converters it has opened, by name, for its lifetime.
// Characters a code page cannot hold become "?", as the Windows conversions write them, rather than
// ICU's substitute (0x1A, a control character, for the Windows code pages).
UConverter *CachedConverter(const std::string &name) {
    if (name.empty()) {
        return nullptr;  // ICU would open its default converter for an empty name
    }
    thread_local std::unordered_map<std::string, ConverterPtr> converters;
    const auto found = converters.find(name);
    if (found != converters.end()) {
        return found->second.get();
    }
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(name.c_str(), &status));
    if (U_FAILURE(status)) {
        return nullptr;  // not cached: a name that fails stays rare
    }
    UErrorCode substStatus = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), "?", 1, &substStatus);
    return converters.emplace(name, std::move(converter)).first->second.get();
}

bool FitsIcuLength(std::size_t size) {
    return size <= static_cast<std::size_t>(INT32_MAX / 4);
}

// utf8 as UTF-16 in out, which keeps its capacity (empty when the text cannot be converted).
void Utf8IntoUtf16(std::string_view utf8, std::u16string &out) {
    out.clear();
    if (utf8.empty() || !FitsIcuLength(utf8.size())) {
        return;
    }
    out.resize(utf8.size());  // never more UTF-16 units than UTF-8 bytes
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), kReplacementCharacter, nullptr, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        length = 0;
    }
    out.resize(static_cast<std::size_t>(length));
}

bool IsAscii(char c) {
    return static_cast<unsigned char>(c) < 0x80;
}

// Appends utf8 in the converter's code page to out; false when there is no converter or ICU fails
// (out then holds what it held before). The default from-Unicode callback writes the substitute ("?")
// for an unmappable character.
bool AppendInCodePage(std::string_view utf8, UConverter *converter, std::string &out) {
    if (converter == nullptr) {
        return false;
    }
    // Kept per thread: a CSV written in ANSI passes every row through here.
    thread_local std::u16string units;
    Utf8IntoUtf16(utf8, units);
    if (units.empty()) {
        return utf8.empty();
    }
    const std::size_t at = out.size();
    const std::size_t capacity = units.size() * static_cast<std::size_t>(ucnv_getMaxCharSize(converter));
    if (!FitsIcuLength(capacity)) {
        return false;
    }
    out.resize(at + capacity);
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_fromUChars(converter, out.data() + at, static_cast<int32_t>(capacity), units.data(),
                                     static_cast<int32_t>(units.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        out.resize(at + static_cast<std::size_t>(length));
        status = U_ZERO_ERROR;
        length = ucnv_fromUChars(converter, out.data() + at, length, units.data(),
                                 static_cast<int32_t>(units.size()), &status);
    }
    if (units.capacity() > kKeptUnits) {
        std::u16string().swap(units);  // a rare long text does not stay with the thread
    }
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        out.resize(at);
        return false;
    }
    out.resize(at + static_cast<std::size_t>(length));
    return true;
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string &utf8) {
    std::u16string out;
    Utf8IntoUtf16(utf8, out);
    return out;
}

std::string Utf16ToUtf8(const std::u16string &utf16) {
    std::string out;
    AppendUtf16AsUtf8(utf16, out);
    return out;
}

void AppendUtf16AsUtf8(std::u16string_view utf16, std::string &out) {
    if (utf16.empty() || !FitsIcuLength(utf16.size())) {
        return;
    }
    const std::size_t at = out.size();
    out.resize(at + utf16.size() * 3);  // at most three bytes per UTF-16 unit
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data() + at, static_cast<int32_t>(utf16.size() * 3), &length, utf16.data(),
                       static_cast<int32_t>(utf16.size()), kReplacementCharacter, nullptr, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        length = 0;
    }
    out.resize(at + static_cast<std::size_t>(length));
}

std::string AnsiCodePageName() {
    const char *name = std::getenv("VORLIX_ANSI_CODEPAGE");
    if (name != nullptr && CachedConverter(name) != nullptr) {
        return name;
    }
    return kDefaultAnsiCodePage;
}

std::string Utf8ToAnsi(const std::string &utf8) {
    // Every ANSI code page holds ASCII as it is: most text needs no converter at all, and in the rest
    // only the runs of other characters go through it (a UTF-8 sequence never holds an ASCII byte).
    auto run = std::find_if_not(utf8.begin(), utf8.end(), IsAscii);
    if (run == utf8.end()) {
        return utf8;
    }
    UConverter *converter = CachedConverter(AnsiCodePageName());
    std::string out(utf8.begin(), run);
    while (run != utf8.end()) {
        const auto ascii = std::find_if(run, utf8.end(), IsAscii);
        if (!AppendInCodePage(std::string_view(&*run, static_cast<std::size_t>(ascii - run)), converter,
                              out)) {
            return {};
        }
        run = std::find_if_not(ascii, utf8.end(), IsAscii);
        out.append(ascii, run);
    }
    return out;
}

std::string AnsiToUtf8(const std::string &ansi) {
    std::string out;
    if (!CodePageToUtf8(ansi, AnsiCodePageName(), out)) {
        return {};
    }
    return out;
}

bool Utf8ToCodePage(const std::string &utf8, const std::string &codePage, std::string &out) {
    out.clear();
    UConverter *converter = CachedConverter(codePage);
    if (!AppendInCodePage(utf8, converter, out)) {
        out.clear();
        return false;
    }
    return true;
}

bool CodePageToUtf8(const std::string &bytes, const std::string &codePage, std::string &out) {
    out.clear();
    UConverter *converter = CachedConverter(codePage);
    if (converter == nullptr) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    // Two units per byte covers every code page ICU knows; a larger need is met by a second pass.
    const std::size_t capacity = bytes.size() * 2;
    if (!FitsIcuLength(capacity)) {
        return false;
    }
    std::u16string units(capacity, u'\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()), bytes.data(),
                                   static_cast<int32_t>(bytes.size()), &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
        units.resize(static_cast<std::size_t>(length));
        status = U_ZERO_ERROR;
        length = ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()), bytes.data(),
                               static_cast<int32_t>(bytes.size()), &status);
    }
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return false;
    }
    units.resize(static_cast<std::size_t>(length));
    out = Utf16ToUtf8(units);
    return true;
}

std::string Utf8ToUtf16LeBytes(const std::string &utf8) {
    const std::u16string units = Utf8ToUtf16(utf8);
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

std::string Utf16LeBytesToUtf8(const std::string &bytes) {
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[i]);
        const auto high = static_cast<unsigned char>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    if (bytes.size() % 2 != 0) {
        units.push_back(static_cast<char16_t>(kReplacementCharacter));  // a dangling half unit
    }
    return Utf16ToUtf8(units);
}

}  // namespace platform
