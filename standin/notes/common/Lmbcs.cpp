// LMBCS conversions over ICU. Converters are opened once per thread and kept: opening one looks its
// name up in ICU's tables, which costs more than most conversions.
#include "Lmbcs.h"

#include <unicode/ucnv.h>

#include <cstdlib>
#include <map>
#include <memory>

namespace standin {

namespace {

struct ConverterCloser {
    void operator()(UConverter *c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

UConverter *Open(const char *name) {
    return ThreadConverter(name);
}

constexpr const char *kLmbcs = "LMBCS-1";

}  // namespace

UConverter *ThreadConverter(const char *name) {
    thread_local std::map<std::string, Converter, std::less<>> converters;
    auto it = converters.find(std::string_view(name));
    if (it == converters.end()) {
        UErrorCode error = U_ZERO_ERROR;
        Converter c(ucnv_open(name, &error));
        if (U_FAILURE(error)) {
            c.reset();
        }
        it = converters.emplace(name, std::move(c)).first;
    }
    UConverter *c = it->second.get();
    if (c != nullptr) {
        ucnv_reset(c);
        UErrorCode error = U_ZERO_ERROR;
        ucnv_setToUCallBack(c, UCNV_TO_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &error);
        ucnv_setFromUCallBack(c, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr, &error);
    }
    return c;
}

bool CodePageToUtf16(std::string_view bytes, const char *codePage, std::u16string &out) {
    out.clear();
    UConverter *c = Open(codePage);
    if (c == nullptr) {
        return false;
    }
    if (bytes.empty()) {
        return true;
    }
    std::u16string buffer(bytes.size() * 2 + 4, u'\0');
    UErrorCode error = U_ZERO_ERROR;
    int32_t n = ucnv_toUChars(c, buffer.data(), static_cast<int32_t>(buffer.size()), bytes.data(),
                              static_cast<int32_t>(bytes.size()), &error);
    if (error == U_BUFFER_OVERFLOW_ERROR) {
        buffer.assign(static_cast<std::size_t>(n) + 1, u'\0');
        error = U_ZERO_ERROR;
        n = ucnv_toUChars(c, buffer.data(), static_cast<int32_t>(buffer.size()), bytes.data(),
                          static_cast<int32_t>(bytes.size()), &error);
    }
    if (U_FAILURE(error)) {
        return false;
    }
    out.assign(buffer.data(), static_cast<std::size_t>(n));
    return true;
}

bool Utf16ToCodePage(std::u16string_view utf16, const char *codePage, std::string &out) {
    out.clear();
    UConverter *c = Open(codePage);
    if (c == nullptr) {
        return false;
    }
    if (utf16.empty()) {
        return true;
    }
    std::string buffer(utf16.size() * 4 + 8, '\0');
    UErrorCode error = U_ZERO_ERROR;
    int32_t n = ucnv_fromUChars(c, buffer.data(), static_cast<int32_t>(buffer.size()), utf16.data(),
                                static_cast<int32_t>(utf16.size()), &error);
    if (error == U_BUFFER_OVERFLOW_ERROR) {
        buffer.assign(static_cast<std::size_t>(n) + 1, '\0');
        error = U_ZERO_ERROR;
        n = ucnv_fromUChars(c, buffer.data(), static_cast<int32_t>(buffer.size()), utf16.data(),
                            static_cast<int32_t>(utf16.size()), &error);
    }
    if (U_FAILURE(error) && error != U_STRING_NOT_TERMINATED_WARNING) {
        return false;
    }
    out.assign(buffer.data(), static_cast<std::size_t>(n));
    return true;
}

std::u16string LmbcsToUtf16(std::string_view lmbcs) {
    std::u16string out;
    if (!CodePageToUtf16(lmbcs, kLmbcs, out)) {
        out.clear();
    }
    return out;
}

std::string Utf16ToLmbcs(std::u16string_view utf16) {
    std::string out;
    if (!Utf16ToCodePage(utf16, kLmbcs, out)) {
        out.clear();
    }
    return out;
}

std::string LmbcsToUtf8(std::string_view lmbcs) {
    std::u16string u = LmbcsToUtf16(lmbcs);
    std::string out;
    if (!Utf16ToCodePage(u, "UTF-8", out)) {
        out.clear();
    }
    return out;
}

std::string Utf8ToLmbcs(std::string_view utf8) {
    std::u16string u;
    if (!CodePageToUtf16(utf8, "UTF-8", u)) {
        return std::string();
    }
    return Utf16ToLmbcs(u);
}

std::string NativeCodePage() {
    return "UTF-8";
}

std::size_t LmbcsCharLength(const unsigned char *p, std::size_t available) {
    std::size_t length = 1;
    unsigned char lead = p[0];
    if (lead == 0x0F) {
        length = 2;  // control character
    } else if (lead == 0x14) {
        length = 3;  // UTF-16 big-endian
    } else if (lead >= 0x10 && lead <= 0x13) {
        // A double-byte group: a lead byte of 0x80 and up takes two more bytes, else one.
        length = available > 1 && p[1] >= 0x80 ? 3 : 2;
    } else if ((lead >= 0x01 && lead <= 0x08) || lead == 0x0B) {
        length = 2;  // single-byte group and its character
    }
    return length < available ? length : available;
}

std::size_t LmbcsPreviousCharacter(std::string_view lmbcs, std::size_t position, std::size_t &length) {
    length = 0;
    if (position == 0 || position > lmbcs.size()) {
        return std::string::npos;
    }
    const auto *bytes = reinterpret_cast<const unsigned char *>(lmbcs.data());
    std::size_t start = 0;
    while (start < lmbcs.size()) {
        std::size_t n = LmbcsCharLength(bytes + start, lmbcs.size() - start);
        if (start + n >= position) {
            length = n;
            return start;
        }
        start += n;
    }
    return std::string::npos;
}

std::size_t LmbcsFitLength(std::string_view lmbcs, std::size_t max) {
    if (max >= lmbcs.size()) {
        return lmbcs.size();
    }
    std::size_t length = 0;
    std::size_t start = LmbcsPreviousCharacter(lmbcs, max + 1, length);
    return start == std::string::npos ? 0 : start;
}

}  // namespace standin
