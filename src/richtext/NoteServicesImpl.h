// The reader's view of an open note through the Notes C API: text conversion, the note's font table
// and $Links, its attachments, formulas and the Notes bitmap converter.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "notes/capi/NotesTypes.h"
#include "richtext/CompositeReader.h"

namespace notes {
class NotesNote;
}

namespace richtext {

struct WalkResult {
    bool damagedRecord = false;  // the reader found a record whose fields reach past its end
    STATUS status = 0;           // EnumCompositeBuffer's own failure (a damaged value), else 0
};

// Walks a composite value (starting with its type word) through EnumCompositeBuffer and hands each
// record to the reader. The walk ends at a damaged record or a failure of the walk; what was read
// before stays rendered.
[[nodiscard]] WalkResult WalkComposite(BLOCKID valueBlock, DWORD valueLength, CompositeReader &reader);

class NoteServicesImpl : public NoteServices {
public:
    explicit NoteServicesImpl(const notes::NotesNote &note) : m_note(note) {}

    std::string Text(std::string_view lmbcs) override;
    std::string TableFace(unsigned face) override;
    bool Link(std::size_t index, NotesLink &link) override;
    AttachmentLink Attachment(const std::string &internalName, const std::string &fileName) override;
    std::string EvaluateFormula(std::string_view lmbcsFormula) override;
    bool BitmapAvailable() override;
    void BitmapRead(std::uint32_t &context, std::uint16_t signature,
                    std::span<const std::uint8_t> record) override;
    bool BitmapWriteGif(std::uint32_t context, std::FILE *file) override;
    void BitmapFree(std::uint32_t &context) override;

private:
    void LoadFonts();
    void LoadFileNames();

    const notes::NotesNote &m_note;
    std::optional<std::vector<std::string>> m_fonts;
    std::optional<std::vector<std::string>> m_fileNames;  // names of the note's $FILE objects
};

}  // namespace richtext
