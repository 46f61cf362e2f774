// UTF-8 to LMBCS and back through OSTranslate, in pieces that keep each call within its 16-bit limits.
#include "LmbcsConvert.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "NotesApi.h"
#include "platform/CodePage.h"
#include "platform/UserInterface.h"

namespace notes {

namespace {

constexpr std::size_t kMaxWord = 0xFFFF;
constexpr std::size_t kMaxUnicodeOut = 0xFFFE;  // whole UTF-16 units within a 16-bit byte count
constexpr std::size_t kNativePiece = 0x7FFF;    // native bytes per call (two LMBCS bytes each at most)
constexpr std::size_t kKeptUnits = 0x10000;     // UTF-16 units of the per-thread buffer kept between calls
constexpr char kTitle[] = "LmbcsToUnicodeSpecific failed.";

// Before a session has started the release is unknown (0), so the configuration file path takes this
// route too.
bool NativePath() {
    return Api().version.major < 5;
}

std::string Translate(WORD mode, const char *in, std::size_t inLen, std::size_t outCapacity) {
    if (Api().fn.OSTranslate == nullptr || inLen == 0) {
        return std::string();
    }
    // Written in place and cut to what the runtime wrote: no separate buffer per call.
    std::string out(outCapacity > 0 ? outCapacity : 1, '\0');
    WORD n =
        Api().fn.OSTranslate(mode, in, static_cast<WORD>(inLen), out.data(), static_cast<WORD>(outCapacity));
    out.resize(std::min<std::size_t>(n, outCapacity));
    return out;
}

bool Fail(ErrorObjectArray *errors, int code, const std::string &message, const std::string &detail) {
    if (errors != nullptr) {
        errors->push_back(ErrorObject{code, kTitle, detail});
    } else {
        platform::ShowMessage(message, "Vorlix", platform::MessageIcon::Error);
    }
    return false;
}

// The byte offset, at most `limit` bytes after start, where a piece may end without splitting a
// character; 0 when Notes cannot find the boundary.
std::size_t PieceEnd(const char *start, std::size_t limit) {
    if (Api().fn.NLS_goto_prev == nullptr) {
        return 0;
    }
    auto *begin = reinterpret_cast<BYTE *>(const_cast<char *>(start));
    BYTE *cursor = begin + limit;
    if (Api().fn.NLS_goto_prev(&cursor, begin, Api().lmbcsInfo) == 0 || cursor <= begin) {
        return 0;
    }
    return static_cast<std::size_t>(cursor - begin);
}

// One piece through mode 20, written straight into the end of out. A piece of mostly single-byte
// characters can need more than the 16-bit output limit; an output that reaches the limit is
// therefore converted again in two halves, so that no character is lost.
bool ConvertPiece(const char *piece, std::size_t length, ErrorObjectArray *errors, std::u16string &out) {
    const std::size_t capacity = std::min(2 * length, kMaxUnicodeOut);
    const std::size_t at = out.size();
    std::size_t written = 0;
    if (Api().fn.OSTranslate != nullptr) {
        out.resize(at + capacity / 2);
        written = std::min<std::size_t>(
            Api().fn.OSTranslate(kTranslateLmbcsToUnicode, piece, static_cast<WORD>(length),
                                 reinterpret_cast<char *>(out.data() + at), static_cast<WORD>(capacity)),
            capacity);
    }
    out.resize(at + written / 2);
    if (written == 0) {
        return Fail(errors, 10, "LmbcsToUnicodeSpecific OSTranslate failed.", "OSTranslate failed.");
    }
    if (2 * length > capacity && written + 4 > capacity) {
        out.resize(at);
        std::size_t half = PieceEnd(piece, length / 2);
        if (half == 0) {
            return Fail(errors, 9, "LmbcsToUnicodeSpecific get previous character failed.",
                        "Get previous character failed.");
        }
        return ConvertPiece(piece, half, errors, out) &&
               ConvertPiece(piece + half, length - half, errors, out);
    }
    return true;
}

std::string Formatted(const char *format, std::size_t a, std::size_t b) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, static_cast<int>(a), static_cast<int>(b));
    return buffer;
}

// Appends to out.
bool NativeToUnicode(const char *lmbcs, std::size_t length, ErrorObjectArray *errors, std::string &out) {
    if (length > kLmbcsPiece) {
        std::string detail =
            Formatted("Input string is %d characters long but must not be over %d characters long", length,
                      kLmbcsPiece);
        return Fail(errors, 8, "LmbcsToUnicodeSpecific failed. " + detail, detail);
    }
    // One LMBCS byte can become three UTF-8 bytes (a code page 850 line-drawing character).
    std::string native = Translate(kTranslateLmbcsToNative, lmbcs, length, std::min(3 * length, kMaxWord));
    if (native.empty()) {
        return Fail(errors, 10, "LmbcsToUnicodeSpecific OSTranslate failed.", "OSTranslate failed.");
    }
    // The native character set is UTF-8 on Linux; a sequence that is not UTF-8 becomes U+FFFD.
    platform::AppendUtf16AsUtf8(platform::Utf8ToUtf16(native), out);
    return true;
}

}  // namespace

std::string UnicodeToLmbcs(const std::string &text) {
    std::string out;
    if (text.empty()) {
        return out;
    }
    if (NativePath()) {
        // The runtime's native character set on Linux is UTF-8, the program's own text: a path with
        // characters of any script (a Cyrillic home directory) reaches it whole.
        const std::string &native = text;
        for (std::size_t at = 0; at < native.size();) {
            std::size_t n = std::min(kNativePiece, native.size() - at);
            // A piece never ends inside a character: not before a UTF-8 continuation byte.
            while (at + n < native.size() && n > 1 &&
                   (static_cast<unsigned char>(native[at + n]) & 0xC0) == 0x80) {
                --n;
            }
            out += Translate(kTranslateNativeToLmbcs, native.data() + at, n, std::min(2 * n, kMaxWord));
            at += n;
        }
        return out;
    }
    std::u16string units = platform::Utf8ToUtf16(text);
    for (std::size_t at = 0; at < units.size();) {
        std::size_t n = std::min(kUnicodePiece, units.size() - at);
        // A piece never ends between the two halves of a surrogate pair.
        if (at + n < units.size() && n > 1 && units[at + n - 1] >= 0xD800 && units[at + n - 1] <= 0xDBFF) {
            --n;
        }
        out += Translate(kTranslateUnicodeToLmbcs, reinterpret_cast<const char *>(units.data() + at), 2 * n,
                         std::min(3 * n, kMaxWord));
        at += n;
    }
    return out;
}

bool ConvertLmbcsToUnicode(const char *lmbcs, int lengthIn, bool nulToLineFeed, ErrorObjectArray *errors,
                           std::string &out) {
    out.clear();
    return AppendLmbcsAsUnicode(lmbcs, lengthIn, nulToLineFeed, errors, out);
}

bool AppendLmbcsAsUnicode(const char *lmbcs, int lengthIn, bool nulToLineFeed, ErrorObjectArray *errors,
                          std::string &out) {
    if (lmbcs == nullptr) {
        return true;
    }
    std::size_t length = lengthIn < 0 ? std::strlen(lmbcs) : static_cast<std::size_t>(lengthIn);
    if (length == 0) {
        return true;
    }
    const std::size_t start = out.size();
    bool ok = true;
    if (NativePath() || Api().lmbcsInfo == nullptr) {
        ok = NativeToUnicode(lmbcs, length, errors, out);
    } else {
        // The UTF-16 text of one call, kept per thread: no allocation for each value converted.
        thread_local std::u16string units;
        units.clear();
        for (std::size_t at = 0; at < length && ok;) {
            std::size_t n = length - at;
            if (n > kLmbcsPiece) {
                n = PieceEnd(lmbcs + at, kLmbcsPiece - 1);
                if (n == 0) {
                    ok = Fail(errors, 9, "LmbcsToUnicodeSpecific get previous character failed.",
                              "Get previous character failed.");
                    break;
                }
            }
            ok = ConvertPiece(lmbcs + at, n, errors, units);
            at += n;
        }
        platform::AppendUtf16AsUtf8(units, out);
        if (units.capacity() > kKeptUnits) {
            std::u16string().swap(units);  // a rare long text does not stay with the thread
        }
    }
    if (nulToLineFeed) {
        // Found by memchr first: most text has no line break at all.
        for (char *nul = static_cast<char *>(std::memchr(out.data() + start, '\0', out.size() - start));
             nul != nullptr;
             nul = static_cast<char *>(std::memchr(nul + 1, '\0', out.size() - (nul + 1 - out.data())))) {
            *nul = '\n';
        }
    }
    return ok;
}

std::string LmbcsToUnicode(const char *lmbcs, int length, bool nulToLineFeed, ErrorObjectArray *errors) {
    std::string out;
    // On failure the message has been shown or recorded; what was converted is all there is.
    static_cast<void>(ConvertLmbcsToUnicode(lmbcs, length, nulToLineFeed, errors, out));
    return out;
}

}  // namespace notes
