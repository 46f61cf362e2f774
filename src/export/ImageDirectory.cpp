// Per-document image directory, file prefix and counter of rich-text rendering.
#include "export/ImageDirectory.h"

#include <cstdio>

#include "notes/NotesNote.h"
#include "platform/AsciiText.h"
#include "platform/Paths.h"
#include "platform/UserInterface.h"
#include "richtext/NotesItem.h"

namespace exporter {

namespace {

std::string Trim(const std::string &text) {
    const char *blanks = " \t\r\n\f\v";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string Count7(long count) {
    char text[24];
    std::snprintf(text, sizeof text, "%07ld", count);
    return text;
}

}  // namespace

std::string ImageDirectoryName(const std::string &fieldValue, int maxLength) {
    std::string name = Trim(platform::FirstUtf8Characters(fieldValue, maxLength));
    for (char &c : name) {
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) {
            c = '~';
        }
    }
    name = Trim(name);
    // "." and ".." would name the output directory itself or its parent.
    if (name.find_first_not_of('.') == std::string::npos) {
        name.assign(name.size(), '~');
    }
    return name;
}

bool PrepareImageDirectory(const config::ExportSettings &settings, const std::string &basePath, long count,
                           const notes::NotesNote &note, richtext::RenderState &state) {
    state.CharsetMark = settings.CharacterEncoding == config::kEncodingUtf16  ? richtext::kCharsetMarkUtf16
                        : settings.CharacterEncoding == config::kEncodingUtf8 ? richtext::kCharsetMarkUtf8
                                                                              : richtext::kCharsetMarkNone;
    const richtext::NotesRtfAdvancedSettings &options = settings.RtfAdvanced;
    if (!options.RtfAdvancedExportImages) {
        return true;
    }
    bool resetCounter = true;
    switch (options.RtfAdvancedExtractMethod) {
        case richtext::kImageDirCount:
            state.ImageDirectory = platform::JoinPath(basePath, Count7(count));
            break;
        case richtext::kImageDirUniversalId:
            state.ImageDirectory = platform::JoinPath(basePath, note.UniversalId());
            break;
        case richtext::kImageDirBase:
            state.ImageDirectory = basePath;
            resetCounter = false;
            break;
        case richtext::kImageDirFieldValue: {
            const std::string separator =
                settings.MVDelimiter.empty() ? std::string() : settings.MVDelimiter.substr(0, 1);
            const std::string value =
                richtext::NotesItem::Render(note, options.RtfAdvancedValueFieldName, separator, nullptr).text;
            state.ImageDirectory = platform::JoinPath(
                basePath, ImageDirectoryName(value, options.RtfAdvancedFieldValueMaxLength));
            break;
        }
        case richtext::kImageDirFormula:
            state.ImageCounter = 0;
            platform::ShowMessage(kImageFormulaNotSupported);
            return false;
        case richtext::kImageDirSpecificPath:
            // The folder chosen on the options page is the image directory of every document.
            state.ImageDirectory = options.RtfAdvancedExtractPath;
            resetCounter = false;
            break;
        default:
            break;
    }
    if (resetCounter) {
        state.ImageCounter = 0;
    }
    switch (options.RtfAdvancedImageFilePrefixMethod) {
        case richtext::kImagePrefixCount:
            state.ImagePrefix = Count7(count) + "_";
            break;
        case richtext::kImagePrefixUniversalId:
            state.ImagePrefix = note.UniversalId() + "_";
            break;
        default:
            state.ImagePrefix.clear();
    }
    return true;
}

}  // namespace exporter
