// Fuzz target of the rich-text reader and renderers: arbitrary bytes as a composite value, split into
// records by the stand-in runtime's record walk and rendered to HTML and to text with every option on.
// Neither may crash or read past a record, and the output stays within a fixed multiple of the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cd/Records.h"
#include "richtext/CompositeReader.h"
#include "richtext/HtmlRenderer.h"
#include "richtext/TextRenderer.h"

namespace {

// Output characters allowed per input byte (a tabbed table's script from a few records is the most),
// and a constant for the document head and tail.
constexpr std::size_t kOutputPerByte = 256;
constexpr std::size_t kOutputConstant = 4096;

class FuzzServices : public richtext::NoteServices {
public:
    std::string Text(std::string_view lmbcs) override { return std::string(lmbcs); }
    std::string TableFace(unsigned face) override { return face == 5 ? "Verdana" : std::string(); }
    bool Link(std::size_t index, richtext::NotesLink &link) override {
        link.replica[0] = static_cast<std::uint32_t>(index);
        return index < 4;
    }
    richtext::AttachmentLink Attachment(const std::string &internalName,
                                        const std::string &fileName) override {
        richtext::AttachmentLink link;
        link.internalName = internalName;
        link.fileName = fileName;
        link.known = !internalName.empty();
        return link;
    }
    std::string EvaluateFormula(std::string_view formula) override { return std::string(formula); }
    bool BitmapAvailable() override { return false; }
    void BitmapRead(std::uint32_t &, std::uint16_t, std::span<const std::uint8_t>) override {}
    bool BitmapWriteGif(std::uint32_t, std::FILE *) override { return false; }
    void BitmapFree(std::uint32_t &) override {}
};

std::size_t Render(std::string_view records, bool html) {
    richtext::NotesRtfAdvancedSettings options;
    options.RtfAdvancedOutputFormat = html ? richtext::kOutputFormatHtml : richtext::kOutputFormatText;
    options.RtfAdvancedExportNotesLinks = true;
    options.RtfAdvancedIncludeNotesLinks = true;
    options.RtfAdvancedIncludeTableMarks = true;
    options.RtfAdvancedIncludeAttMarkers = true;
    options.RtfAdvancedExportImages = true;  // no image directory: no files are written
    options.RtfAdvancedIncludeImageMarkers = true;
    options.RtfAdvancedEnableNotesLinks = true;
    options.RtfAdvancedEnableUrlLinks = true;
    options.RtfAdvancedEnableAttLinks = true;
    options.RtfAdvancedIncludeDocElements = true;
    richtext::RenderState state;
    FuzzServices services;
    richtext::HtmlRenderer htmlRenderer(options, state);
    richtext::TextRenderer textRenderer(options);
    richtext::RichTextSink &sink = html ? static_cast<richtext::RichTextSink &>(htmlRenderer) : textRenderer;
    richtext::CompositeReader reader(options, state, services, sink);
    sink.Begin();
    (void)standin::cd::WalkRecords(records, [&](const standin::cd::Record &r) {
        const std::string_view bytes = standin::cd::RecordBytes(records, r);
        return reader.Record(r.signature,
                             {reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()});
    });
    reader.Finish();
    sink.End();
    return html ? htmlRenderer.Text().size() : textRenderer.Text().size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view records(reinterpret_cast<const char *>(data), size);
    for (bool html : {true, false}) {
        if (Render(records, html) > kOutputPerByte * size + kOutputConstant) {
            std::abort();
        }
    }
    return 0;
}
