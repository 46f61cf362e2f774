// The composite-data reader: decodes rich-text records one at a time into model values and drives a
// renderer with them. It owns the paragraph styles of the item, the open hotspots, the pending font
// and the pending graphic with its image file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "richtext/NotesRtfAdvancedSettings.h"
#include "richtext/RenderState.h"
#include "richtext/RichTextModel.h"
#include "richtext/RichTextSink.h"

namespace richtext {

// What the reader needs from the note being rendered and from the Notes runtime.
class NoteServices {
public:
    virtual ~NoteServices() = default;
    // LMBCS bytes to program text.
    virtual std::string Text(std::string_view lmbcs) = 0;
    // Face name of a face number of the note's font table (5 and up); empty when the table has none.
    virtual std::string TableFace(unsigned face) = 0;
    // Entry index of the note's $Links item; false when the note has none or the index is not below
    // the entry count.
    virtual bool Link(std::size_t index, NotesLink &link) = 0;
    // The attachment a hotspot names, looked up among the note's attachments.
    virtual AttachmentLink Attachment(const std::string &internalName, const std::string &fileName) = 0;
    // The result text of a formula (LMBCS source) evaluated on the note.
    virtual std::string EvaluateFormula(std::string_view lmbcsFormula) = 0;
    // Notes bitmap conversion: false from BitmapAvailable when the runtime cannot convert.
    virtual bool BitmapAvailable() = 0;
    virtual void BitmapRead(std::uint32_t &context, std::uint16_t signature,
                            std::span<const std::uint8_t> record) = 0;
    // Converts the collected bitmap to GIF into the file; false when it could not.
    virtual bool BitmapWriteGif(std::uint32_t context, std::FILE *file) = 0;
    virtual void BitmapFree(std::uint32_t &context) = 0;
};

class CompositeReader {
public:
    CompositeReader(const NotesRtfAdvancedSettings &options, RenderState &state, NoteServices &services,
                    RichTextSink &sink, RecordObserver *observer = nullptr);
    ~CompositeReader();
    CompositeReader(const CompositeReader &) = delete;
    CompositeReader &operator=(const CompositeReader &) = delete;

    // One record as the walk passes it (signature as 0x00nn or 0xFFnn, bytes from its header to its
    // length). False when the record is damaged: a field or a length inside it reaches past its end.
    [[nodiscard]] bool Record(std::uint16_t signature, std::span<const std::uint8_t> record);
    // After the last record of the last item: finishes a pending graphic.
    void Finish();

    // The face name of a font identifier's face: standard faces, the note's table, the fallback.
    std::string FaceName(unsigned face);

private:
    struct Graphic;

    bool ParagraphDefinition(std::span<const std::uint8_t> record);
    bool ParagraphReference(std::span<const std::uint8_t> record);
    bool TextRecord(std::span<const std::uint8_t> record);
    bool TableExtensionRecord(std::span<const std::uint8_t> record);
    bool TableBeginRecord(std::span<const std::uint8_t> record);
    bool TableLabelFontRecord(std::span<const std::uint8_t> record);
    bool TableCellRecord(std::span<const std::uint8_t> record);
    bool TableLabelRecord(std::span<const std::uint8_t> record);
    bool SectionBarRecord(std::span<const std::uint8_t> record);
    bool HotspotBegin(std::span<const std::uint8_t> record);
    void HotspotEnd();
    bool LinkRecord(std::span<const std::uint8_t> record);
    bool LinkExportRecord(std::span<const std::uint8_t> record);
    bool GraphicRecord(std::span<const std::uint8_t> record);
    bool ImageHeaderRecord(std::span<const std::uint8_t> record);
    bool ImageSegmentRecord(std::span<const std::uint8_t> record);
    bool BitmapHeaderRecord(std::span<const std::uint8_t> record);
    void BitmapRecord(std::uint16_t signature, std::span<const std::uint8_t> record);
    bool StorageLinkRecord(std::span<const std::uint8_t> record);
    bool AltTextRecord(std::span<const std::uint8_t> record);
    bool BorderRecord(std::span<const std::uint8_t> record);

    NotesFont Font(FontId id);
    void EmitLink(NotesLink link, std::string_view tail);
    std::string ImagePath(bool jpeg);
    void FinishGraphic();
    void Ignore(std::string_view what);

    const NotesRtfAdvancedSettings &m_options;
    RenderState &m_state;
    NoteServices &m_services;
    RichTextSink &m_sink;
    RecordObserver *m_observer;
    bool m_html;
    // Paragraph styles in definition order; the first of an id wins.
    std::vector<std::unique_ptr<NotesParagraph>> m_styles;
    bool m_hasPendingFont = false;
    FontId m_pendingFont;
    // Kinds of the open hotspots, innermost last (0 for kinds without an end action).
    std::vector<int> m_hotspots;
    std::unique_ptr<Graphic> m_graphic;
};

// Reads the face names of a font-table record (0xFF8B) into faces, in table order. False when the
// record is damaged.
[[nodiscard]] bool ReadFontTable(std::span<const std::uint8_t> record, NoteServices &services,
                                 std::vector<std::string> &faces);

}  // namespace richtext
