// Collecting attachment hotspots and OLE object records: the composite reader walks each rich-text item
// into a sink that keeps only those events.
#include "richtext/AttachmentReferenceScan.h"

#include <algorithm>

#include "notes/NoteItemWalk.h"
#include "notes/NotesNote.h"
#include "notes/NotesWrapperSupport.h"
#include "richtext/CompositeReader.h"
#include "richtext/NoteServicesImpl.h"

namespace richtext {

namespace {

constexpr char kOleInfoItem[] = "$OLEOBJINFO";

class CollectingSink : public RichTextSink {
public:
    std::vector<notes::NotesAttachmentReference> references;
    std::vector<std::string> oleNames;

    void AttachmentBegin(const AttachmentLink &attachment) override {
        references.push_back({attachment.internalName, attachment.fileName});
    }
    void OleObject(const std::string &attachmentName) override { oleNames.push_back(attachmentName); }
    void PlainText(std::string_view) override {}
    void ParagraphStyle(const NotesParagraph &) override {}
    void ParagraphMark() override {}
    void TextRun(const NotesFont &, std::string_view) override {}
    void TableExtension(const richtext::TableExtension &) override {}
    void TableBegin(const TableBeginValues &) override {}
    void TableLabelFont(const NotesFont &) override {}
    void TableCell(const NotesTableCell &) override {}
    void TableLabel(const std::string &, std::uint16_t) override {}
    void TableEnd() override {}
    void SectionBar(const NotesSection &) override {}
    void SectionBodyBegin() override {}
    void SectionBodyEnd() override {}
    void UrlBegin(const std::string *) override {}
    void UrlEnd() override {}
    void AttachmentEnd() override {}
    void NotesLinkRef(const NotesLink &) override {}
    void GraphicBegin() override {}
    void Image(const NotesImage &) override {}
};

// The walk over the items of one name: plain text, every option off, so that it writes no image.
class ItemWalk {
public:
    explicit ItemWalk(const notes::NotesNote &note) : m_note(note), m_services(note) { m_state.Note = &note; }

    // Walks every item of the LMBCS name into the sink; false when an item of the name is not rich
    // text (the items before it are walked).
    bool Walk(const std::string &name, CollectingSink &sink) {
        bool allRichText = true;
        (void)notes::ForEachItemOfName(m_note, name, [&](const notes::ItemOfName &at) {
            if (at.type != notes::kTypeComposite) {
                allRichText = false;
                return false;
            }
            // A reader per item, so that a damaged item leaves no open hotspot behind.
            CompositeReader reader(m_options, m_state, m_services, sink);
            (void)WalkComposite(at.value, at.valueLength, reader);
            reader.Finish();
            return true;
        });
        return allRichText;
    }

private:
    const notes::NotesNote &m_note;
    const NotesRtfAdvancedSettings m_options;
    RenderState m_state;
    NoteServicesImpl m_services;
};

struct NameScan {
    std::vector<std::string> names;  // LMBCS names of the composite items, each once, in item order
};

// Called by NSFItemScan for each item; the value starts with its type word.
STATUS CollectCompositeName(WORD, WORD, char *name, WORD nameLength, void *value, DWORD valueLength,
                            void *param) {
    try {
        auto &scan = *static_cast<NameScan *>(param);
        if (name != nullptr && value != nullptr && valueLength >= 2 &&
            notes::wrapper::ReadWord(static_cast<const char *>(value), 0) == notes::kTypeComposite) {
            std::string text(name, nameLength);
            if (std::find(scan.names.begin(), scan.names.end(), text) == scan.names.end()) {
                scan.names.push_back(std::move(text));
            }
        }
    } catch (...) {
        // An allocation failure loses the rest of the names, nothing else.
    }
    return notes::kNoError;
}

}  // namespace

std::vector<notes::NotesAttachmentReference> ScanAttachmentReferences(const notes::NotesNote &note) {
    auto &fn = notes::Api().fn;
    if (!note.IsOpen() || fn.NSFItemScan == nullptr) {
        return {};
    }
    NameScan scan;
    (void)fn.NSFItemScan(note.Handle(), CollectCompositeName, &scan);
    CollectingSink sink;
    ItemWalk walk(note);
    for (const std::string &name : scan.names) {
        (void)walk.Walk(name, sink);
    }
    return std::move(sink.references);
}

OleObjectScan ScanOleObjects(const notes::NotesNote &note) {
    OleObjectScan scan;
    auto &fn = notes::Api().fn;
    BLOCKID item{};
    WORD type = 0;
    BLOCKID value{};
    DWORD valueLength = 0;
    if (!note.IsOpen() || fn.NSFItemInfo == nullptr ||
        fn.NSFItemInfo(note.Handle(), kOleInfoItem, sizeof kOleInfoItem - 1, &item, &type, &value,
                       &valueLength) != notes::kNoError) {
        return scan;
    }
    CollectingSink sink;
    ItemWalk walk(note);
    scan.result = walk.Walk(kOleInfoItem, sink) ? OleObjectScan::kFound : OleObjectScan::kNotRichText;
    scan.names = std::move(sink.oleNames);
    return scan;
}

}  // namespace richtext
