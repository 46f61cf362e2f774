// Code-page conversions through ICU converters.
#include "CodePage.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unordered_map>
#include <vector>

namespace platform {

namespace {

constexpr char kDefaultAnsiCodePage[] = "windows-1252";
constexpr UChar32 kReplacementCharacter = 0xFFFD;
constexpr std::size_t kKeptUnits = 0x10000;  // UTF-16 units of a per-thread buffer kept between calls

struct ConverterCloser {
    void operator()(UConverter *converter) const { ucnv_close(converter); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

constexpr std::size_t kBmpUnits = 0x10000;
constexpr char16_t kNoByte = 0xFFFF;

// An open converter and, for a code page of one byte per character, the byte each UTF-16 unit other
// than a surrogate becomes (empty otherwise, or until first asked for).
struct CachedCodePage {
    ConverterPtr converter;
    std::u16string fromBmp{};  // a byte, or kNoByte for a character that writes nothing
    bool tableTried = false;
};

// Opening an ICU converter costs far more than most conversions, and a converter must not be shared
// between threads: each thread keeps the converters it has opened, by name, for its lifetime.
// Characters a code page cannot hold become "?", as the Windows conversions write them, rather than
// ICU's substitute (0x1A, a control character, for the Windows code pages).
CachedCodePage *CachedEntry(const std::string &name) {
    if (name.empty()) {
        return nullptr;  // ICU would open its default converter for an empty name
    }
    thread_local std::unordered_map<std::string, CachedCodePage> converters;
    const auto found = converters.find(name);
    if (found != converters.end()) {
        return &found->second;
    }
    UErrorCode status = U_ZERO_ERROR;
    ConverterPtr converter(ucnv_open(name.c_str(), &status));
    if (U_FAILURE(status)) {
        return nullptr;  // not cached: a name that fails stays rare
    }
    UErrorCode substStatus = U_ZERO_ERROR;
    ucnv_setSubstChars(converter.get(), "?", 1, &substStatus);
    return &converters.emplace(name, CachedCodePage{std::move(converter)}).first->second;
}

UConverter *CachedConverter(const std::string &name) {
    CachedCodePage *entry = CachedEntry(name);
    return entry != nullptr ? entry->converter.get() : nullptr;
}

bool IsSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDFFF;
}

// The from-Unicode table of a single-byte code page, made once by the converter itself from every
// BMP character but the surrogates, so that it writes exactly what the converter writes: "?" where the
// code page has no character, and nothing for a character the converter drops (ICU drops the default
// ignorable ones, such as U+200B, rather than substitute them). Null for a code page of more bytes per
// character, or when the converter does not give at most one byte for each character.
const std::u16string *SingleByteTable(CachedCodePage &entry) {
    if (entry.tableTried) {
        return entry.fromBmp.empty() ? nullptr : &entry.fromBmp;
    }
    entry.tableTried = true;
    UConverter *converter = entry.converter.get();
    if (ucnv_getMaxCharSize(converter) != 1) {
        return nullptr;
    }
    std::u16string units(kBmpUnits, u'?');  // a surrogate's slot is never read
    for (std::size_t unit = 0; unit < kBmpUnits; ++unit) {
        if (!IsSurrogate(static_cast<char16_t>(unit))) {
            units[unit] = static_cast<char16_t>(unit);
        }
    }
    std::string bytes(kBmpUnits, '\0');
    std::vector<int32_t> offsets(kBmpUnits, -1);
    char *target = bytes.data();
    const char16_t *source = units.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter);
    ucnv_fromUnicode(converter, &target, bytes.data() + bytes.size(), &source, units.data() + units.size(),
                     offsets.data(), 1, &status);
    ucnv_resetFromUnicode(converter);
    if (U_FAILURE(status) || source != units.data() + units.size()) {
        return nullptr;
    }
    std::u16string table(kBmpUnits, kNoByte);
    for (std::size_t at = 0; at < static_cast<std::size_t>(target - bytes.data()); ++at) {
        const int32_t unit = offsets[at];
        if (unit < 0 || static_cast<std::size_t>(unit) >= kBmpUnits || table[unit] != kNoByte) {
            return nullptr;  // not one byte per character
        }
        table[unit] = static_cast<unsigned char>(bytes[at]);
    }
    entry.fromBmp = std::move(table);
    return &entry.fromBmp;
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

// Appends utf8 in a single-byte code page to out through its table; a character beyond the BMP (a
// surrogate pair) goes through the converter. False as AppendInCodePage.
bool AppendThroughTable(std::string_view utf8, const std::u16string &table, UConverter *converter,
                        std::string &out) {
    thread_local std::u16string units;
    Utf8IntoUtf16(utf8, units);
    if (units.empty()) {
        return utf8.empty();
    }
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (!IsSurrogate(unit)) {
            const char16_t byte = table[unit];
            if (byte != kNoByte) {
                out.push_back(static_cast<char>(byte));
            }
            continue;
        }
        const std::size_t count = i + 1 < units.size() && IsSurrogate(units[i + 1]) ? 2 : 1;
        char bytes[8];
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = ucnv_fromUChars(converter, bytes, sizeof bytes, units.data() + i,
                                               static_cast<int32_t>(count), &status);
        if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
            return false;
        }
        out.append(bytes, static_cast<std::size_t>(length));
        i += count - 1;
    }
    if (units.capacity() > kKeptUnits) {
        std::u16string().swap(units);
    }
    return true;
}

// The BMP character of the well-formed two- or three-byte UTF-8 sequence at text[at] (not a
// surrogate), and its length in bytes; 0 for anything else (four bytes, or not UTF-8).
std::size_t DecodeBmp(std::string_view text, std::size_t at, char16_t &unit) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const auto continuation = [&](std::size_t i) { return at + i < text.size() && (byte(i) & 0xC0) == 0x80; };
    const unsigned lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF && continuation(1)) {
        unit = static_cast<char16_t>(((lead & 0x1F) << 6) | (byte(1) & 0x3F));
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF && continuation(1) && continuation(2)) {
        const unsigned c = ((lead & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        if (c >= 0x800 && !IsSurrogate(static_cast<char16_t>(c))) {
            unit = static_cast<char16_t>(c);
            return 3;
        }
    }
    return 0;
}

// Appends a run of non-ASCII UTF-8 in a single-byte code page: well-formed characters of the BMP
// straight through the table; from the first other sequence on, the rest of the run goes the general
// way, so that broken input gets exactly the converter's substitutes.
bool AppendRunThroughTable(std::string_view run, const std::u16string &table, UConverter *converter,
                           std::string &out) {
    std::size_t at = 0;
    char16_t unit = 0;
    while (at < run.size()) {
        const std::size_t length = DecodeBmp(run, at, unit);
        if (length == 0) {
            return AppendThroughTable(run.substr(at), table, converter, out);
        }
        if (table[unit] != kNoByte) {
            out.push_back(static_cast<char>(table[unit]));
        }
        at += length;
    }
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
    // Written here rather than by ICU: every value exported passes through, most of them short, and a
    // plain loop over the units costs less than the library call around it.
    const std::size_t at = out.size();
    out.resize(at + utf16.size() * 3);  // at most three bytes per UTF-16 unit
    char *target = out.data() + at;
    for (std::size_t i = 0; i < utf16.size(); ++i) {
        // Four ASCII units at a time: most text is ASCII, and most of the rest has runs of it.
        std::uint64_t four = 0;
        if (i + 4 <= utf16.size()) {
            std::memcpy(&four, utf16.data() + i, sizeof four);
            if ((four & 0xFF80FF80FF80FF80ULL) == 0) {
                for (int k = 0; k < 4; ++k) {
                    *target++ = static_cast<char>(utf16[i + static_cast<std::size_t>(k)]);
                }
                i += 3;
                continue;
            }
        }
        char32_t c = utf16[i];
        if (c < 0x80) {
            *target++ = static_cast<char>(c);
            continue;
        }
        if (c < 0x800) {
            *target++ = static_cast<char>(0xC0 | (c >> 6));
            *target++ = static_cast<char>(0x80 | (c & 0x3F));
            continue;
        }
        if (IsSurrogate(static_cast<char16_t>(c))) {
            const bool paired =
                c <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] <= 0xDFFF;
            if (!paired) {
                c = kReplacementCharacter;
            } else {
                c = 0x10000 + ((c - 0xD800) << 10) + (utf16[++i] - 0xDC00);
                // Four bytes from two units: within the three bytes per unit reserved.
                *target++ = static_cast<char>(0xF0 | (c >> 18));
                *target++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
                *target++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                *target++ = static_cast<char>(0x80 | (c & 0x3F));
                continue;
            }
        }
        *target++ = static_cast<char>(0xE0 | (c >> 12));
        *target++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *target++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    out.resize(static_cast<std::size_t>(target - out.data()));
}

std::string AnsiCodePageName() {
    const char *name = std::getenv("VORLIX_ANSI_CODEPAGE");
    if (name != nullptr && CachedConverter(name) != nullptr) {
        return name;
    }
    return kDefaultAnsiCodePage;
}

namespace {

// The cached entry of the ANSI code page: every CSV row in ANSI comes here, so the name is worked out
// again only when the environment's choice has changed since the thread last asked.
CachedCodePage *AnsiEntry() {
    const char *chosen = std::getenv("VORLIX_ANSI_CODEPAGE");
    thread_local bool known = false;
    thread_local bool wasChosen = false;
    thread_local std::string lastChosen;
    thread_local CachedCodePage *entry = nullptr;
    if (known && wasChosen == (chosen != nullptr) && (chosen == nullptr || lastChosen == chosen)) {
        return entry;
    }
    entry = CachedEntry(AnsiCodePageName());
    known = true;
    wasChosen = chosen != nullptr;
    lastChosen = chosen != nullptr ? chosen : "";
    return entry;
}

}  // namespace

bool AppendUtf8AsAnsi(std::string_view utf8, std::string &out) {
    // Every ANSI code page holds ASCII as it is: most text needs no converter at all, and in the rest
    // only the runs of other characters go through it (a UTF-8 sequence never holds an ASCII byte).
    auto run = std::find_if_not(utf8.begin(), utf8.end(), IsAscii);
    out.append(utf8.begin(), run);
    if (run == utf8.end()) {
        return true;
    }
    CachedCodePage *entry = AnsiEntry();
    UConverter *converter = entry != nullptr ? entry->converter.get() : nullptr;
    const std::u16string *table = entry != nullptr ? SingleByteTable(*entry) : nullptr;
    while (run != utf8.end()) {
        const auto ascii = std::find_if(run, utf8.end(), IsAscii);
        const std::string_view piece(&*run, static_cast<std::size_t>(ascii - run));
        if (!(table != nullptr ? AppendRunThroughTable(piece, *table, converter, out)
                               : AppendInCodePage(piece, converter, out))) {
            return false;
        }
        run = std::find_if_not(ascii, utf8.end(), IsAscii);
        out.append(ascii, run);
    }
    return true;
}

std::string Utf8ToAnsi(const std::string &utf8) {
    std::string out;
    if (!AppendUtf8AsAnsi(utf8, out)) {
        return {};
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
