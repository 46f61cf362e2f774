// Model helpers: font identifiers, standard faces, the Notes colour palette, Notes link addresses.
#include "richtext/RichTextModel.h"

#include <cstdio>

namespace richtext {

namespace {

const char *const kStandardFaces[kStandardFaceCount] = {"Times Roman", "Arial", "Monotype Sans WT", "Arial",
                                                        "Courier"};

// The 256 colours of a Notes colour number, as RRGGBB.
const char *const kPalette[256] = {
    "000000", "FFFFFF", "FF0000", "00FF00", "0000FF", "FF00FF", "FFFF00", "00FFFF", "800000", "008000",
    "000080", "800080", "808000", "008080", "808080", "C0C0C0", "FFFFFF", "FFEFCE", "FFFFC2", "FFFFD0",
    "E0FFBF", "E0FFDF", "E0FFFF", "C2EFFF", "E0F1FF", "E0E0FF", "E8E0FF", "F1E0FF", "FFE0FF", "FFE0F5",
    "FFE0E6", "FFFFFF", "FFE1DC", "FFE1B0", "FFFF7F", "F1F1B4", "C2FF91", "C1FFD5", "A4FFFF", "A1E2FF",
    "C0E1FF", "BFBFFF", "D2BFFF", "E1BFFF", "FFC1FD", "FFC0E4", "FFC0CE", "F7F7F7", "FFC0B6", "FFC281",
    "FFFF35", "F1F180", "7FFF7F", "82FFCA", "7FFFFF", "82E0FF", "82C0FF", "9F9FFF", "C29FFF", "E29FFF",
    "FF9FFF", "FF9FCF", "FF9FA9", "EFEFEF", "FF9F9F", "FF9F71", "FFFF00", "E0E074", "41FF32", "42FFC7",
    "42FFFF", "00BFFF", "5291EF", "8080FF", "C082FF", "E081FF", "FF7FFF", "FF82C2", "FF82A0", "E1E1E1",
    "FF8080", "FF8141", "FFE118", "E1E140", "00FF00", "00FFB2", "00FFFF", "00A1E0", "2181FF", "6181FF",
    "A160FF", "C062FF", "FF5FFF", "FF60AF", "FF6088", "D2D2D2", "FF4040", "FF421E", "FFBF18", "E1E100",
    "00E100", "00E1AD", "00E0E0", "0082BF", "0080FF", "4181FF", "8242FF", "C140FF", "FF42F9", "FF40A0",
    "FF4070", "C0C0C0", "FF1F35", "FF1F10", "FF8100", "BFBF00", "00C200", "00C196", "00C1C2", "4181C0",
    "0062E1", "4141FF", "4200FF", "C200FF", "FF22FF", "F52B97", "FF2259", "B2B2B2", "E01F25", "E12000",
    "E26200", "A1A100", "00A000", "009F82", "3F8080", "0060A0", "0041C2", "0021BF", "4100C2", "8100FF",
    "FF00FF", "FF0080", "FF0041", "A2A2A2", "C20000", "FF0000", "BF4100", "80803F", "3F803F", "008250",
    "006062", "004080", "001FE2", "4040C2", "4000A2", "6000A1", "E000E0", "DF007F", "C20041", "8F8F8F",
    "A00000", "E10000", "A13F00", "626200", "006000", "00603C", "004041", "002F80", "0000FF", "2020A0",
    "2200A1", "400080", "A1009F", "C0007F", "9F000F", "808080", "600000", "C21212", "824200", "424200",
    "004200", "004023", "00323F", "002060", "0020C2", "2222C0", "000080", "1F007F", "800080", "820040",
    "800000", "5F5F5F", "400000", "A11F12", "604200", "212100", "002100", "00201F", "002041", "00204F",
    "0000E0", "0000A1", "000061", "1F0062", "40005F", "620042", "620012", "4F4F4F", "D0B1A1", "E0A175",
    "D2B06A", "C0C27C", "82C168", "81C097", "7FC2BC", "71B2CF", "B1B1D2", "9F9FE0", "C0A1E0", "E29FDE",
    "EF91EB", "E29FC8", "F18FBC", "2F2F2F", "7F604F", "A16252", "806210", "82823F", "3F621F", "3C613E",
    "37605E", "104160", "424282", "6260A1", "624181", "603181", "602162", "622152", "813F62", "000000",
    "000000", "000000", "000000", "000000", "000000", "000000", "000000", "000000", "000000", "000000",
    "000000", "000000", "000000", "000000", "000000", "000000",
};

}  // namespace

FontId FontId::FromStored(std::uint32_t value) {
    FontId id;
    id.face = static_cast<std::uint8_t>(value & 0xFF);
    id.attributes = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    id.color = static_cast<std::uint8_t>((value >> 16) & 0xFF);
    id.size = static_cast<std::uint8_t>((value >> 24) & 0xFF);
    return id;
}

const char *StandardFaceName(unsigned face) {
    return face < kStandardFaceCount ? kStandardFaces[face] : kFallbackFace;
}

const char *PaletteColor(unsigned number) {
    return number < 256 ? kPalette[number] : "000000";
}

std::string RgbColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", red, green, blue);
    return text;
}

const NotesParagraph &NotesParagraph::Default() {
    static const NotesParagraph style = [] {
        NotesParagraph p;
        p.leftMargin = 96;
        p.leftKind = kMarginOffset;
        p.leftDefault = true;
        p.rightDefault = true;
        return p;
    }();
    return style;
}

std::string NotesLink::Address() const {
    char text[96];
    std::snprintf(text, sizeof text, "/%08X%08X/%08X%08X%08X%08X/%08X%08X%08X%08X", replica[1], replica[0],
                  view[1], view[0], view[3], view[2], note[1], note[0], note[3], note[2]);
    return text;
}

std::string NotesLink::Url() const {
    return "NOTES://" + server + Address();
}

}  // namespace richtext
