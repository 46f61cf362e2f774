// Rendering of composite records built in memory: a stand-in for the note's services and a helper
// that renders one record list to HTML, to text and to the debug trace.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "richtext/CompositeReader.h"
#include "support/CompositeBuilder.h"

namespace richtexttest {

// Note services without a runtime: text passes unchanged (the records hold ASCII), formulas come
// from a table of results.
class FakeServices : public richtext::NoteServices {
public:
    std::vector<std::string> fonts;
    std::vector<richtext::NotesLink> links;
    std::vector<std::string> attachments;          // internal names of the note's files
    std::map<std::string, std::string> extracted;  // internal name -> written path
    std::map<std::string, std::string> formulas;   // source -> result

    std::string Text(std::string_view lmbcs) override { return std::string(lmbcs); }
    std::string TableFace(unsigned face) override {
        return face - 5 < fonts.size() ? fonts[face - 5] : std::string();
    }
    bool Link(std::size_t index, richtext::NotesLink &link) override {
        if (index >= links.size()) {
            return false;
        }
        link = links[index];
        return true;
    }
    richtext::AttachmentLink Attachment(const std::string &internalName,
                                        const std::string &fileName) override;
    std::string EvaluateFormula(std::string_view formula) override {
        auto found = formulas.find(std::string(formula));
        return found == formulas.end() ? std::string() : found->second;
    }
    bool BitmapAvailable() override { return false; }
    void BitmapRead(std::uint32_t &, std::uint16_t, std::span<const std::uint8_t>) override {}
    bool BitmapWriteGif(std::uint32_t, std::FILE *) override { return false; }
    void BitmapFree(std::uint32_t &) override {}
};

struct Rendered {
    std::string html;
    std::string text;
    std::string trace;
    bool sound = true;  // no damaged record
};

// Renders the records with the options in both forms (the output format of options is overridden),
// each form from its own copy of state.
Rendered RenderBoth(const testsupport::CompositeBuilder &records, richtext::NotesRtfAdvancedSettings options,
                    const richtext::RenderState &state = {}, FakeServices services = {});

// Renders the records in one form into the given state.
std::string RenderOne(const testsupport::CompositeBuilder &records,
                      const richtext::NotesRtfAdvancedSettings &options, richtext::RenderState &state,
                      FakeServices &services, bool *sound = nullptr);

// The opening of a text run's span in Arial 10pt black (the builder's default font).
inline std::string Run(const std::string &text) {
    return "<span style=\"font-family: Arial; font-size: 10pt; color: #000000\">" + text + "</span>";
}

}  // namespace richtexttest
