// Text conversions of the DXL reader through ICU.
#include "DxlText.h"

#include <unicode/ucnv.h>

#include <memory>

namespace standin::dxl {

namespace {

struct ConverterCloser {
    void operator()(UConverter *c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter Open(const char *name) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *c = ucnv_open(name, &status);
    if (U_FAILURE(status)) {
        return nullptr;
    }
    return Converter(c);
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

bool Convert(const char *to, const char *from, std::string_view in, std::string &out, bool stopOnError) {
    out.clear();
    if (in.empty()) {
        return true;
    }
    Converter source = Open(from);
    Converter target = Open(to);
    if (!source || !target) {
        return false;
    }
    UErrorCode status = U_ZERO_ERROR;
    if (stopOnError) {
        ucnv_setToUCallBack(source.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
        ucnv_setFromUCallBack(target.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    }
    std::u16string units(in.size() + 1, u'\0');
    status = U_ZERO_ERROR;
    int32_t unitCount = ucnv_toUChars(source.get(), units.data(), static_cast<int32_t>(units.size()),
                                      in.data(), static_cast<int32_t>(in.size()), &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return false;
    }
    out.resize(static_cast<std::size_t>(unitCount) * 4 + 4);
    status = U_ZERO_ERROR;
    int32_t length = ucnv_fromUChars(target.get(), out.data(), static_cast<int32_t>(out.size()), units.data(),
                                     unitCount, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
        return false;
    }
    out.resize(static_cast<std::size_t>(length));
    return true;
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

bool CharsetToUtf8(std::string_view bytes, const std::string &charset, std::string &out, std::string &error) {
    Converter probe = Open(charset.c_str());
    if (!probe) {
        error = "unknown encoding '" + charset + "'";
        return false;
    }
    if (!Convert("UTF-8", charset.c_str(), bytes, out, true)) {
        error = "the bytes are not valid " + charset;
        return false;
    }
    return true;
}

}  // namespace standin::dxl
