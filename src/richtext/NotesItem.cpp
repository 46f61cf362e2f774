// Rendering of all items of one name: the simple item types converted to text here; composite items
// (rich text) go to the record walk.
#include "richtext/NotesItem.h"

#include <cstdio>

#include "notes/ByteReader.h"
#include "notes/LmbcsConvert.h"
#include "notes/NoteItemWalk.h"
#include "notes/NotesApi.h"
#include "notes/NotesErrorText.h"
#include "notes/NotesNote.h"
#include "notes/ValueText.h"
#include "richtext/CompositeReader.h"
#include "richtext/HtmlRenderer.h"
#include "richtext/HtmlToText.h"
#include "richtext/NoteServicesImpl.h"
#include "richtext/TextRenderer.h"

namespace richtext {

namespace {

// MIME part value: the body's byte count and where its text begins (offsets include the type word).
constexpr DWORD kMimeByteCountOffset = 10;
constexpr DWORD kMimeTextOffset = 22;
// Note reference list: the first UNID after the type word and the entry count.
constexpr DWORD kFirstReferenceOffset = 4;
constexpr DWORD kUnidSize = 16;

std::string FromLmbcs(const char *data, std::size_t length) {
    if (data == nullptr || length == 0) {
        return std::string();
    }
    return notes::LmbcsToUnicode(data, static_cast<int>(length), false);
}

// The types AppendItem reads from the value's bytes; composite values, signatures and the types
// the runtime turns into text are reached by their block.
bool ReadsValueBytes(WORD type) {
    switch (type) {
        case notes::kTypeNoteRefList:
        case notes::kTypeHtml:
        case notes::kTypeMimePart:
        case notes::kTypeText:
        case notes::kTypeTextList:
        case notes::kTypeTime:
        case notes::kTypeTimeRange:
            return true;
        default:
            return false;
    }
}

}  // namespace

NotesItem::NotesItem(const notes::NotesNote &note, const std::string &separator, RichTextSink &sink,
                     const NotesRtfAdvancedSettings &settings, RenderState &state)
    : m_note(note), m_separator(separator), m_sink(sink), m_settings(settings), m_state(state) {}

NotesItem::~NotesItem() = default;

CompositeReader &NotesItem::Reader() {
    if (!m_reader) {
        m_services = std::make_unique<NoteServicesImpl>(m_note);
        m_reader = std::make_unique<CompositeReader>(m_settings, m_state, *m_services, m_sink);
    }
    return *m_reader;
}

RenderedItem NotesItem::Render(const notes::NotesNote &note, const std::string &itemName,
                               const std::string &separator, const NotesRtfAdvancedSettings *options,
                               RenderState *state) {
    if (!note.IsOpen()) {
        return RenderedItem();
    }
    return RenderLmbcsName(note, notes::UnicodeToLmbcs(itemName), separator, options, state);
}

RenderedItem NotesItem::RenderLmbcsName(const notes::NotesNote &note, const std::string &name,
                                        const std::string &separator, const NotesRtfAdvancedSettings *options,
                                        RenderState *state) {
    auto &fn = notes::Api().fn;
    if (!note.IsOpen() || fn.NSFItemInfo == nullptr || fn.NSFItemInfoNext == nullptr ||
        fn.OSLockObject == nullptr || fn.OSUnlockObject == nullptr || name.size() > 0xFFFF) {
        return RenderedItem();
    }
    // Without options the defaults (plain text, every flag off; read only, so one for every call and
    // thread); without a state one of this call's own, so that no state is shared between calls.
    static const NotesRtfAdvancedSettings kDefaults;
    const NotesRtfAdvancedSettings &settings = options != nullptr ? *options : kDefaults;
    if (state == nullptr) {
        RenderState ownState;
        return RenderLmbcsName(note, name, separator, &settings, &ownState);
    }
    state->Note = &note;
    state->ImagesInItem = 0;

    // Only the renderer of the chosen form is built, and the rich-text reader only for a composite
    // item: this runs once for every value exported.
    RenderedItem result;
    if (settings.RtfAdvancedOutputFormat == kOutputFormatHtml) {
        HtmlRenderer html(settings, *state);
        NotesItem(note, separator, html, settings, *state).RenderItems(name, result);
        result.text = html.TakeText();
    } else {
        TextRenderer text(settings);
        NotesItem(note, separator, text, settings, *state).RenderItems(name, result);
        result.text = text.TakeText();
    }
    return result;
}

void NotesItem::RenderItems(const std::string &name, RenderedItem &result) {
    m_sink.Begin();
    (void)notes::ForEachItemOfName(m_note, name, [&](const notes::ItemOfName &at) {
        result.found = true;
        // The pool is locked (once for the open note) only for the types read from their bytes here;
        // the others are read through the runtime by their block.
        const bool readsBytes = ReadsValueBytes(at.type);
        const char *pool = readsBytes ? m_note.LockedPool(at.value.pool) : nullptr;
        if (!readsBytes || pool != nullptr) {
            std::string error =
                AppendItem(at.type, at.value, readsBytes ? pool + at.value.block : nullptr, at.valueLength);
            if (!error.empty() && result.error.empty()) {
                // The name back in program text, only for this rare message.
                const std::string itemName =
                    notes::LmbcsToUnicode(name.data(), static_cast<int>(name.size()));
                result.error = "Rich text item " + itemName + " is damaged: " + error;
            }
        }
        return true;
    });
    if (m_reader) {
        m_reader->Finish();
    }
    m_sink.End();
}

std::string NotesItem::AppendItem(WORD type, BLOCKID valueBlock, const char *value, DWORD valueLength) {
    // The text of a simple value on its way to the sink, kept per thread: no allocation per value.
    thread_local std::string plain;
    plain.clear();
    switch (type) {
        case notes::kTypeComposite: {
            const WalkResult walk = WalkComposite(valueBlock, valueLength, Reader());
            if (walk.damagedRecord) {
                return "a record reaches past its end";
            }
            return walk.status == notes::kNoError ? std::string() : notes::NotesErrorText(walk.status);
        }
        case notes::kTypeNoteRefList:
            AppendNoteReference(value, valueLength);
            return {};
        case notes::kTypeSignature:
            notes::AppendSignatureText(m_note.Handle(), plain);
            break;
        case notes::kTypeHtml:
            plain =
                HtmlToText::Convert(valueLength > 2 ? FromLmbcs(value + 2, valueLength - 2) : std::string());
            break;
        case notes::kTypeMimePart:
            AppendMimePart(value, valueLength);
            return {};
        case notes::kTypeText:
            notes::AppendTextText(value, valueLength, plain);
            break;
        case notes::kTypeTextList:
            notes::AppendTextListText(value, valueLength, m_separator, plain);
            break;
        case notes::kTypeTime:
            AppendTime(value, valueLength);
            return {};
        case notes::kTypeTimeRange:
            notes::AppendTimeListText(value, valueLength, m_separator, plain);
            break;
        default:
            notes::AppendAnyValueText(type, valueBlock, valueLength, m_separator, plain);
            break;
    }
    m_sink.PlainText(plain);
    return {};
}

// The first reference as a universal ID: the file part's high and low words, then the note part's.
void NotesItem::AppendNoteReference(const char *value, DWORD valueLength) {
    const notes::ByteReader r(value, valueLength);
    if (!r.Has(kFirstReferenceOffset, kUnidSize) || r.Word(2) == 0) {
        return;
    }
    const DWORD at = kFirstReferenceOffset;
    char text[40];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", r.Dword(at + 4), r.Dword(at), r.Dword(at + 12),
                  r.Dword(at + 8));
    m_sink.PlainText(text);
}

// The body's byte count comes from the part's header and is held to what the value has.
void NotesItem::AppendMimePart(const char *value, DWORD valueLength) {
    const notes::ByteReader r(value, valueLength);
    if (!r.Has(kMimeTextOffset, 0)) {
        return;
    }
    DWORD length = r.Word(kMimeByteCountOffset);
    if (length > valueLength - kMimeTextOffset) {
        length = valueLength - kMimeTextOffset;
    }
    m_sink.PlainText(FromLmbcs(value + kMimeTextOffset, length));
}

// This item's own time (not the first item of the name), "Invalid Date Time" when it cannot be read.
void NotesItem::AppendTime(const char *value, DWORD valueLength) {
    std::string text;
    const notes::ByteReader r(value, valueLength);
    const TIMEDATE time{{r.Dword(2), r.Dword(6)}};
    if (r.Overrun() || !notes::TimeDateText(time, text)) {
        m_sink.PlainText("Invalid Date Time");
        return;
    }
    m_sink.PlainText(text);
}

}  // namespace richtext
