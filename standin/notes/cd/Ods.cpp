// Field lists of the served ODS types: each field's packed size follows from its code, its host
// place from natural alignment, so one list gives both forms.
#include "Ods.h"

#include <cstring>

namespace standin::cd {

namespace {

namespace nc = notes::cd;

// Field codes: b BYTE, w WORD, d DWORD (also FONTID), q 8-byte double, s 32 chars, g 16-byte GUID.
struct OdsType {
    WORD type;
    const char *fields;
    std::size_t hostSize;
};

// Header fields: B = BSIG "bb", W = WSIG "ww", L = LSIG "wd"; TIMEDATE "dd"; NOTELINK ten DWORDs.
const OdsType kTypes[] = {
    {nc::kOdsWord, "w", sizeof(WORD)},
    {nc::kOdsDword, "d", sizeof(DWORD)},
    {nc::kOdsNumber, "q", sizeof(double)},
    {nc::kOdsTimeDate, "dd", sizeof(TIMEDATE)},
    {nc::kOdsNoteLink, "dddddddddd", sizeof(NOTELINK)},
    {nc::kOdsObjectDescriptor, "wd", sizeof(OBJECT_DESCRIPTOR)},
    {nc::kOdsFileObject, "wdwwwwwddddd", sizeof(FILEOBJECT)},
    {nc::kOdsCdParagraph, "bb", sizeof(CDPARAGRAPH)},
    {nc::kOdsCdPabReference, "bbw", sizeof(CDPABREFERENCE)},
    {nc::kOdsCdPabDefinition, "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwdw", sizeof(CDPABDEFINITION)},
    {nc::kOdsCdText, "wwd", sizeof(CDTEXT)},
    {nc::kOdsCdTextEffect, "wwd", sizeof(CDTEXTEFFECT)},
    {nc::kOdsCdFontTable, "www", sizeof(CDFONTTABLE)},
    {nc::kOdsCdFace, "bbs", sizeof(CDFACE)},
    {nc::kOdsCdTableBegin, "bbwwwwww", sizeof(CDTABLEBEGIN)},
    {nc::kOdsCdTableCell, "bbbbwwwbbwbbw", sizeof(CDTABLECELL)},
    {nc::kOdsCdTableEnd, "bbd", sizeof(CDTABLEEND)},
    {nc::kOdsCdBar, "wwdd", sizeof(CDBAR)},
    {nc::kOdsCdHotspotBegin, "wwwdw", sizeof(CDHOTSPOTBEGIN)},
    {nc::kOdsCdLink2, "www", sizeof(CDLINK2)},
    {nc::kOdsCdLinkExport2, "wwdddddddddd", sizeof(CDLINKEXPORT2)},
    {nc::kOdsCdGraphic, "wdwwwwwwwwwbbw", sizeof(CDGRAPHIC)},
    {nc::kOdsCdImageHeader, "wdwwwdddd", sizeof(CDIMAGEHEADER)},
    {nc::kOdsCdImageSegment, "wdww", sizeof(CDIMAGESEGMENT)},
    {nc::kOdsCdBitmapHeader, "wdwwwwwwdwwwwwwww", sizeof(CDBITMAPHEADER)},
    {nc::kOdsCdBitmapSegment, "wdddww", sizeof(CDBITMAPSEGMENT)},
    {nc::kOdsCdAltText, "wwwwd", sizeof(CDALTTEXT)},
};

const OdsType *Find(WORD type) {
    for (const OdsType &t : kTypes) {
        if (t.type == type) {
            return &t;
        }
    }
    return nullptr;
}

std::size_t FieldSize(char code) {
    switch (code) {
        case 'b':
            return 1;
        case 'w':
            return 2;
        case 'd':
            return 4;
        case 'q':
            return 8;
        case 's':
            return nc::kFaceNameSize;
        default:
            return 16;
    }
}

std::size_t FieldAlign(char code) {
    return code == 's' || code == 'g' ? 1 : FieldSize(code);
}

}  // namespace

WORD OdsPackedLength(WORD odsType) {
    const OdsType *t = Find(odsType);
    if (t == nullptr) {
        return 0;
    }
    std::size_t n = 0;
    for (const char *f = t->fields; *f != '\0'; ++f) {
        n += FieldSize(*f);
    }
    return static_cast<WORD>(n);
}

std::size_t OdsHostSize(WORD odsType) {
    const OdsType *t = Find(odsType);
    return t == nullptr ? 0 : t->hostSize;
}

bool OdsRead(const unsigned char *src, WORD odsType, void *dest) {
    const OdsType *t = Find(odsType);
    if (t == nullptr) {
        return false;
    }
    unsigned char *out = static_cast<unsigned char *>(dest);
    std::memset(out, 0, t->hostSize);
    std::size_t hostAt = 0;
    for (const char *f = t->fields; *f != '\0'; ++f) {
        std::size_t size = FieldSize(*f);
        std::size_t align = FieldAlign(*f);
        hostAt = (hostAt + align - 1) / align * align;
        // Packed data is little-endian, as is every host this runtime builds for.
        std::memcpy(out + hostAt, src, size);
        src += size;
        hostAt += size;
    }
    return true;
}

}  // namespace standin::cd
