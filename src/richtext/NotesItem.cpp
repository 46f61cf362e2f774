// Rendering of all items of one name: the simple item types converted to text here; composite items
// (rich text) go to the record walk.
#include "richtext/NotesItem.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "notes/LmbcsConvert.h"
#include "notes/NotesApi.h"
#include "notes/NotesNote.h"
#include "richtext/HtmlToText.h"

namespace richtext {

namespace {

// Size of the NSFItemConvertValueToText buffer and of a converted time.
constexpr WORD kConvertBufferSize = 0xFFFF;
constexpr WORD kTimeTextSize = 80;
// MIME part value: the body's byte count and where its text begins (offsets include the type word).
constexpr DWORD kMimeByteCountOffset = 10;
constexpr DWORD kMimeTextOffset = 22;

WORD ReadWord(const char *data, DWORD offset) {
    const auto *p = reinterpret_cast<const unsigned char *>(data) + offset;
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD ReadDword(const char *data, DWORD offset) {
    const auto *p = reinterpret_cast<const unsigned char *>(data) + offset;
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

TIMEDATE ReadTime(const char *data, DWORD offset) {
    TIMEDATE time{};
    time.Innards[0] = ReadDword(data, offset);
    time.Innards[1] = ReadDword(data, offset + 4);
    return time;
}

std::string FromLmbcs(const char *data, std::size_t length) {
    if (data == nullptr || length == 0) {
        return std::string();
    }
    return notes::LmbcsToUnicode(data, static_cast<int>(length), false);
}

std::string ReplaceAll(const std::string &text, char find, const std::string &replace) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == find) {
            out += replace;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

NotesItem::NotesItem(const notes::NotesNote &note, const std::string &separator,
                     NotesRtfAdvancedSettings &options)
    : m_note(note), m_separator(separator), m_options(options) {}

bool NotesItem::TimeText(const TIMEDATE &time, std::string &text) {
    auto &fn = notes::Api().fn;
    if (fn.ConvertTIMEDATEToText == nullptr) {
        return false;
    }
    char buffer[kTimeTextSize + 1] = {};
    WORD length = 0;
    if (fn.ConvertTIMEDATEToText(nullptr, nullptr, &time, buffer, kTimeTextSize, &length) !=
        notes::kNoError) {
        return false;
    }
    if (length > kTimeTextSize) {
        length = kTimeTextSize;
    }
    text = FromLmbcs(buffer, length);
    return true;
}

RenderedItem NotesItem::Render(const notes::NotesNote &note, const std::string &itemName,
                               const std::string &separator, NotesRtfAdvancedSettings *options) {
    RenderedItem result;
    auto &fn = notes::Api().fn;
    if (!note.IsOpen() || fn.NSFItemInfo == nullptr || fn.NSFItemInfoNext == nullptr ||
        fn.OSLockObject == nullptr || fn.OSUnlockObject == nullptr) {
        return result;
    }
    // Without options a record of defaults of this call's own (plain text, every flag off).
    NotesRtfAdvancedSettings defaults;
    NotesRtfAdvancedSettings &settings = options != nullptr ? *options : defaults;
    settings.Note = &note;

    const std::string name = notes::UnicodeToLmbcs(itemName);
    if (name.size() > 0xFFFF) {
        return result;
    }
    const WORD nameLength = static_cast<WORD>(name.size());
    NotesItem renderer(note, separator, settings);
    BLOCKID item{};
    WORD type = 0;
    BLOCKID value{};
    DWORD valueLength = 0;
    STATUS status =
        fn.NSFItemInfo(note.Handle(), name.c_str(), nameLength, &item, &type, &value, &valueLength);
    while (status == notes::kNoError) {
        result.found = true;
        const char *pool = static_cast<const char *>(fn.OSLockObject(value.pool));
        if (pool != nullptr) {
            renderer.AppendItem(type, value, pool + value.block, valueLength);
            fn.OSUnlockObject(value.pool);
        }
        BLOCKID after = item;
        status = fn.NSFItemInfoNext(note.Handle(), after, name.c_str(), nameLength, &item, &type, &value,
                                    &valueLength);
    }
    result.text = std::move(renderer.m_text);
    return result;
}

void NotesItem::AppendItem(WORD type, BLOCKID valueBlock, const char *value, DWORD valueLength) {
    switch (type) {
        case notes::kTypeComposite:
            // Rich text is rendered by the composite record walk.
            return;
        case notes::kTypeNoteRefList:
            AppendNoteReference(value, valueLength);
            return;
        case notes::kTypeSignature:
            AppendSignature();
            return;
        case notes::kTypeHtml: {
            std::string html = valueLength > 2 ? FromLmbcs(value + 2, valueLength - 2) : std::string();
            m_text += HtmlToText::Convert(html);
            return;
        }
        case notes::kTypeMimePart:
            AppendMimePart(value, valueLength);
            return;
        case notes::kTypeText:
            AppendText(value, valueLength);
            return;
        case notes::kTypeTextList:
            AppendTextList(value, valueLength);
            return;
        case notes::kTypeTime:
            AppendTime(value, valueLength);
            return;
        case notes::kTypeTimeRange:
            AppendTimeList(value, valueLength);
            return;
        default:
            AppendConverted(type, valueBlock, valueLength);
            return;
    }
}

// The first reference as a universal ID: the file part's high and low words, then the note part's.
void NotesItem::AppendNoteReference(const char *value, DWORD valueLength) {
    constexpr DWORD kFirstUnid = 4;  // after the type word and the list's entry count
    if (valueLength < kFirstUnid + 16 || ReadWord(value, 2) == 0) {
        return;
    }
    char text[40];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", ReadDword(value, kFirstUnid + 4),
                  ReadDword(value, kFirstUnid), ReadDword(value, kFirstUnid + 12),
                  ReadDword(value, kFirstUnid + 8));
    m_text += text;
}

void NotesItem::AppendSignature() {
    auto &fn = notes::Api().fn;
    if (fn.NSFNoteVerifySignature == nullptr) {
        return;
    }
    TIMEDATE when{};
    char signer[notes::kMaxUserName + 1] = {};
    char certifier[notes::kMaxUserName + 1] = {};
    if (fn.NSFNoteVerifySignature(m_note.Handle(), nullptr, &when, signer, certifier) != notes::kNoError) {
        return;
    }
    signer[notes::kMaxUserName] = '\0';
    std::string name = FromLmbcs(signer, std::strlen(signer));
    std::string time;
    if (TimeText(when, time)) {
        m_text += "Signed by " + name + " on " + time;
        return;
    }
    m_text += "Signed by " + name;
}

void NotesItem::AppendMimePart(const char *value, DWORD valueLength) {
    if (valueLength < kMimeTextOffset) {
        return;
    }
    DWORD length = ReadWord(value, kMimeByteCountOffset);
    if (length > valueLength - kMimeTextOffset) {
        length = valueLength - kMimeTextOffset;
    }
    m_text += FromLmbcs(value + kMimeTextOffset, length);
}

void NotesItem::AppendText(const char *value, DWORD valueLength) {
    if (valueLength <= 2) {
        return;
    }
    m_text += FromLmbcs(value + 2, valueLength - 2);
}

// The type word, the entry count, one length per entry, then the entries' texts.
void NotesItem::AppendTextList(const char *value, DWORD valueLength) {
    if (valueLength < 4) {
        return;
    }
    const DWORD count = ReadWord(value, 2);
    DWORD lengthsAt = 4;
    DWORD textAt = lengthsAt + 2 * count;
    if (textAt > valueLength) {
        return;
    }
    for (DWORD i = 0; i < count; ++i) {
        DWORD length = ReadWord(value, lengthsAt + 2 * i);
        if (length > valueLength - textAt) {
            length = valueLength - textAt;
        }
        if (i > 0) {
            m_text += m_separator;
        }
        m_text += FromLmbcs(value + textAt, length);
        textAt += length;
    }
}

void NotesItem::AppendTime(const char *value, DWORD valueLength) {
    std::string text;
    if (valueLength < 2 + 8 || !TimeText(ReadTime(value, 2), text)) {
        m_text += "Invalid Date Time";
        return;
    }
    m_text += text;
}

// The type word, the list and range counts, the times, then the ranges' pairs of times. A time that
// does not convert is left out; the separator goes before every converted entry but the first.
void NotesItem::AppendTimeList(const char *value, DWORD valueLength) {
    if (valueLength < 6) {
        return;
    }
    const DWORD times = ReadWord(value, 2) + 2 * static_cast<DWORD>(ReadWord(value, 4));
    for (DWORD i = 0; i < times; ++i) {
        DWORD at = 6 + 8 * i;
        if (at + 8 > valueLength) {
            return;
        }
        std::string text;
        if (!TimeText(ReadTime(value, at), text)) {
            continue;
        }
        if (i > 0) {
            m_text += m_separator;
        }
        m_text += text;
    }
}

// Any other type: Notes' own text of the value with ";" between entries, then each ";" of this item's
// text replaced by the separator.
void NotesItem::AppendConverted(WORD type, BLOCKID valueBlock, DWORD valueLength) {
    auto &fn = notes::Api().fn;
    if (fn.NSFItemConvertValueToText == nullptr) {
        return;
    }
    std::vector<char> buffer(kConvertBufferSize + 1, '\0');
    WORD length =
        fn.NSFItemConvertValueToText(type, valueBlock, valueLength, buffer.data(), kConvertBufferSize, ';');
    if (length > kConvertBufferSize) {
        length = kConvertBufferSize;
    }
    m_text += ReplaceAll(FromLmbcs(buffer.data(), length), ';', m_separator);
}

}  // namespace richtext
