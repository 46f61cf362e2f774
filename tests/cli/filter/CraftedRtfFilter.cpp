// An RTF export filter of the tests' own: whatever the composite data, it writes one crafted RTF whose
// picture groups the program must repair; for a file named 0000002.rtf it fails without writing.
#include <cstdio>
#include <cstring>

#include "notes/capi/RtfExportFilter.h"

extern "C" __attribute__((visibility("default"))) STATUS ExportRTF(char *cdFile, WORD flags, HMODULE *module,
                                                                   char *altLibrary, char *rtfFile) {
    (void)cdFile;
    (void)flags;
    (void)module;
    (void)altLibrary;
    static const char kRtf[] =
        "{\\rtf1\\ansi\r\n"
        "kept {\\pict\\wbitmap0\\picw2 }0A before {\\pict\\wbitmap0 broken}zafter\r\n"
        "open {\\pict\\wbitmap0 unclosed\r\n"
        "}\r\n";
    constexpr STATUS kRtfWriteFailed = 0x3E67;  // the stand-in runtime's "Unable to write the RTF file"
    if (std::strstr(rtfFile, "0000002.rtf") != nullptr) {
        return kRtfWriteFailed;
    }
    std::FILE *file = std::fopen(rtfFile, "wb");
    if (file == nullptr) {
        return 1;
    }
    const bool written = std::fwrite(kRtf, 1, sizeof kRtf - 1, file) == sizeof kRtf - 1;
    return std::fclose(file) == 0 && written ? 0 : 1;
}
