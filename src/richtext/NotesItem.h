// Renders all items of one name of a note as one string: the value text of simple items, and rich
// text (composite items) as marked-up text or HTML.
#pragma once

#include <memory>
#include <string>

#include "notes/capi/NotesTypes.h"
#include "richtext/NotesRtfAdvancedSettings.h"
#include "richtext/RenderState.h"

namespace notes {
class NotesNote;
}

namespace richtext {

class RichTextSink;
class CompositeReader;
class NoteServicesImpl;

struct RenderedItem {
    std::string text;    // UTF-8
    bool found = false;  // at least one item of the name was rendered
    std::string error;   // a damaged rich-text item, named; empty when none
};

class NotesItem {
public:
    // Renders every item named itemName in the note, in item order, each appended to the one before.
    // separator joins the entries of multi-value items (may be empty). options selects text or HTML
    // and the markers of rich text; null means plain text with every flag off. state is the export
    // run's render state (images, section numbers); null means a state of this call's own.
    static RenderedItem Render(const notes::NotesNote &note, const std::string &itemName,
                               const std::string &separator, const NotesRtfAdvancedSettings *options,
                               RenderState *state = nullptr);
    // The same for a name already converted to LMBCS, so that a caller rendering one name for every
    // document converts it once.
    static RenderedItem RenderLmbcsName(const notes::NotesNote &note, const std::string &lmbcsName,
                                        const std::string &separator, const NotesRtfAdvancedSettings *options,
                                        RenderState *state = nullptr);

private:
    NotesItem(const notes::NotesNote &note, const std::string &separator, RichTextSink &sink,
              const NotesRtfAdvancedSettings &settings, RenderState &state);
    ~NotesItem();
    NotesItem(const NotesItem &) = delete;
    NotesItem &operator=(const NotesItem &) = delete;
    // The rich-text reader, made when the first composite item is met.
    CompositeReader &Reader();
    // Every item of the name through the sink, from its Begin to its End.
    void RenderItems(const std::string &name, RenderedItem &result);
    // What is damaged in a composite item; empty when nothing is. value is null for the types reached
    // by their block (composite, signature, and those the runtime turns into text).
    std::string AppendItem(WORD type, BLOCKID valueBlock, const char *value, DWORD valueLength);
    void AppendNoteReference(const char *value, DWORD valueLength);
    void AppendMimePart(const char *value, DWORD valueLength);
    void AppendTime(const char *value, DWORD valueLength);

    const notes::NotesNote &m_note;
    const std::string &m_separator;
    RichTextSink &m_sink;
    const NotesRtfAdvancedSettings &m_settings;
    RenderState &m_state;
    std::unique_ptr<NoteServicesImpl> m_services;
    std::unique_ptr<CompositeReader> m_reader;  // made from m_services, so destroyed before it
};

}  // namespace richtext
