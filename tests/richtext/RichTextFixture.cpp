// Rendering of in-memory composite records for the golden tests.
#include "RichTextFixture.h"

#include "richtext/DebugTrace.h"
#include "richtext/HtmlRenderer.h"
#include "richtext/TextRenderer.h"

namespace richtexttest {

richtext::AttachmentLink FakeServices::Attachment(const std::string &internalName,
                                                  const std::string &fileName) {
    richtext::AttachmentLink link;
    link.internalName = internalName;
    link.fileName = fileName;
    for (const std::string &name : attachments) {
        link.known = link.known || name == internalName;
    }
    if (auto found = extracted.find(internalName); found != extracted.end()) {
        link.extracted = true;
        link.extractedPath = found->second;
    }
    return link;
}

namespace {

bool Feed(const testsupport::CompositeBuilder &records, richtext::CompositeReader &reader) {
    for (const testsupport::CompositeRecord &record : records.Records()) {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(record.bytes.data());
        if (!reader.Record(record.signature, {bytes, record.bytes.size()})) {
            return false;
        }
    }
    reader.Finish();
    return true;
}

}  // namespace

std::string RenderOne(const testsupport::CompositeBuilder &records,
                      const richtext::NotesRtfAdvancedSettings &options, richtext::RenderState &state,
                      FakeServices &services, bool *sound) {
    richtext::HtmlRenderer html(options, state);
    richtext::TextRenderer text(options);
    const bool asHtml = options.RtfAdvancedOutputFormat == richtext::kOutputFormatHtml;
    richtext::RichTextSink &sink = asHtml ? static_cast<richtext::RichTextSink &>(html) : text;
    richtext::CompositeReader reader(options, state, services, sink);
    sink.Begin();
    const bool ok = Feed(records, reader);
    sink.End();
    if (sound != nullptr) {
        *sound = ok;
    }
    return asHtml ? html.TakeText() : text.TakeText();
}

Rendered RenderBoth(const testsupport::CompositeBuilder &records, richtext::NotesRtfAdvancedSettings options,
                    const richtext::RenderState &state, FakeServices services) {
    Rendered out;
    options.RtfAdvancedOutputFormat = richtext::kOutputFormatHtml;
    richtext::RenderState htmlState = state;
    out.html = RenderOne(records, options, htmlState, services, &out.sound);
    options.RtfAdvancedOutputFormat = richtext::kOutputFormatText;
    richtext::RenderState textState = state;
    out.text = RenderOne(records, options, textState, services);
    richtext::DebugTrace trace;
    richtext::RenderState traceState = state;
    richtext::CompositeReader reader(options, traceState, services, trace, &trace);
    for (const testsupport::CompositeRecord &record : records.Records()) {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(record.bytes.data());
        if (!reader.Record(record.signature, {bytes, record.bytes.size()})) {
            break;
        }
    }
    reader.Finish();
    out.trace = trace.Text();
    return out;
}

}  // namespace richtexttest
