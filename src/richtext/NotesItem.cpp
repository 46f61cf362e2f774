// Rendering of all items of one name: the simple item types converted to text here; composite items
// (rich text) go to the record walk.
#include "richtext/NotesItem.h"

#include <cstdio>

#include "notes/LmbcsConvert.h"
#include "notes/NotesApi.h"
#include "notes/NotesNote.h"
#include "notes/ValueText.h"
#include "richtext/HtmlToText.h"

namespace richtext {

namespace {

// MIME part value: the body's byte count and where its text begins (offsets include the type word).
constexpr DWORD kMimeByteCountOffset = 10;
constexpr DWORD kMimeTextOffset = 22;
// Note reference list: the first UNID after the type word and the entry count.
constexpr DWORD kFirstReferenceOffset = 4;
constexpr DWORD kUnidSize = 16;

WORD ReadWord(const char *data, DWORD offset) {
    const auto *p = reinterpret_cast<const unsigned char *>(data) + offset;
    return static_cast<WORD>(p[0] | (p[1] << 8));
}

DWORD ReadDword(const char *data, DWORD offset) {
    const auto *p = reinterpret_cast<const unsigned char *>(data) + offset;
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}

std::string FromLmbcs(const char *data, std::size_t length) {
    if (data == nullptr || length == 0) {
        return std::string();
    }
    return notes::LmbcsToUnicode(data, static_cast<int>(length), false);
}

}  // namespace

NotesItem::NotesItem(const notes::NotesNote &note, const std::string &separator,
                     NotesRtfAdvancedSettings &options)
    : m_note(note), m_separator(separator), m_options(options) {}

RenderedItem NotesItem::Render(const notes::NotesNote &note, const std::string &itemName,
                               const std::string &separator, NotesRtfAdvancedSettings *options) {
    if (!note.IsOpen()) {
        return RenderedItem();
    }
    return RenderLmbcsName(note, notes::UnicodeToLmbcs(itemName), separator, options);
}

RenderedItem NotesItem::RenderLmbcsName(const notes::NotesNote &note, const std::string &name,
                                        const std::string &separator, NotesRtfAdvancedSettings *options) {
    RenderedItem result;
    auto &fn = notes::Api().fn;
    if (!note.IsOpen() || fn.NSFItemInfo == nullptr || fn.NSFItemInfoNext == nullptr ||
        fn.OSLockObject == nullptr || fn.OSUnlockObject == nullptr) {
        return result;
    }
    // Without options a record of defaults of this call's own (plain text, every flag off), so that
    // no state is shared between calls or threads.
    NotesRtfAdvancedSettings defaults;
    NotesRtfAdvancedSettings &settings = options != nullptr ? *options : defaults;
    settings.Note = &note;

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
        const BLOCKID after = item;
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
            notes::AppendSignatureText(m_note.Handle(), m_text);
            return;
        case notes::kTypeHtml:
            m_text +=
                HtmlToText::Convert(valueLength > 2 ? FromLmbcs(value + 2, valueLength - 2) : std::string());
            return;
        case notes::kTypeMimePart:
            AppendMimePart(value, valueLength);
            return;
        case notes::kTypeText:
            notes::AppendTextText(value, valueLength, m_text);
            return;
        case notes::kTypeTextList:
            notes::AppendTextListText(value, valueLength, m_separator, m_text);
            return;
        case notes::kTypeTime:
            AppendTime(value, valueLength);
            return;
        case notes::kTypeTimeRange:
            notes::AppendTimeListText(value, valueLength, m_separator, m_text);
            return;
        default:
            notes::AppendAnyValueText(type, valueBlock, valueLength, m_separator, m_text);
            return;
    }
}

// The first reference as a universal ID: the file part's high and low words, then the note part's.
void NotesItem::AppendNoteReference(const char *value, DWORD valueLength) {
    if (valueLength < kFirstReferenceOffset + kUnidSize || ReadWord(value, 2) == 0) {
        return;
    }
    const DWORD at = kFirstReferenceOffset;
    char text[40];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", ReadDword(value, at + 4), ReadDword(value, at),
                  ReadDword(value, at + 12), ReadDword(value, at + 8));
    m_text += text;
}

// The body's byte count comes from the part's header and is held to what the value has.
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

// This item's own time (not the first item of the name), "Invalid Date Time" when it cannot be read.
void NotesItem::AppendTime(const char *value, DWORD valueLength) {
    std::string text;
    TIMEDATE time{};
    if (valueLength >= 2 + 8) {
        time.Innards[0] = ReadDword(value, 2);
        time.Innards[1] = ReadDword(value, 6);
    }
    if (valueLength < 2 + 8 || !notes::TimeDateText(time, text)) {
        m_text += "Invalid Date Time";
        return;
    }
    m_text += text;
}

}  // namespace richtext
