// Decoding RFC822 text items: RFC822ITEMDESC {WORD wVersion; DWORD dwFlags; WORD wNotesNativeLen;
// WORD w822NameLen; WORD w822DelimLen; WORD w822BodyLen} (14 bytes, packed), then the native value,
// the header name, the delimiter and the body.
#include "Rfc822Text.h"

#include "Lmbcs.h"

namespace standin {

namespace {

constexpr std::size_t kDescriptorSize = 14;
constexpr DWORD kFormatMask = 0x0007;
constexpr DWORD kFormatDate = 0x0002;
constexpr DWORD kTextList = 0x0010;

WORD Word(std::string_view b, std::size_t at) {
    return static_cast<WORD>(static_cast<unsigned char>(b[at]) |
                             (static_cast<unsigned char>(b[at + 1]) << 8));
}

// A LIST {WORD count} with a WORD length per entry, then the texts; false when it does not fit exactly.
bool TextList(std::string_view native, std::vector<std::string> &texts) {
    if (native.size() < 2) {
        return false;
    }
    std::size_t count = Word(native, 0);
    std::size_t at = 2 + 2 * count;
    if (at > native.size()) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t length = Word(native, 2 + 2 * i);
        if (length > native.size() - at) {
            return false;
        }
        texts.emplace_back(native.substr(at, length));
        at += length;
    }
    return at == native.size();
}

}  // namespace

bool DecodeRfc822Text(std::string_view body, Rfc822Value &out) {
    out = Rfc822Value();
    if (body.size() < kDescriptorSize) {
        return false;
    }
    DWORD flags = static_cast<DWORD>(Word(body, 2)) | (static_cast<DWORD>(Word(body, 4)) << 16);
    std::size_t nativeLength = Word(body, 6);
    std::size_t nameLength = Word(body, 8);
    std::size_t delimLength = Word(body, 10);
    std::size_t bodyLength = Word(body, 12);
    if (kDescriptorSize + nativeLength + nameLength + delimLength + bodyLength > body.size()) {
        return false;
    }
    std::string_view native = body.substr(kDescriptorSize, nativeLength);
    if ((flags & kFormatMask) == kFormatDate && native.size() == 8) {
        out.isTime = true;
        for (int i = 0; i < 2; ++i) {
            out.time.Innards[i] =
                static_cast<DWORD>(Word(native, 4 * static_cast<std::size_t>(i))) |
                (static_cast<DWORD>(Word(native, 4 * static_cast<std::size_t>(i) + 2)) << 16);
        }
        return true;
    }
    if (nativeLength > 0) {
        if ((flags & kTextList) == 0 || !TextList(native, out.texts)) {
            out.texts.assign(1, std::string(native));
        }
        return true;
    }
    std::string_view original = body.substr(kDescriptorSize + nameLength + delimLength, bodyLength);
    std::u16string latin1;
    if (!CodePageToUtf16(original, "ISO-8859-1", latin1)) {
        return false;
    }
    out.texts.assign(1, Utf16ToLmbcs(latin1));
    return true;
}

}  // namespace standin
