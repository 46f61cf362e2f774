// The record-walk trace.
#include "WalkPrinter.h"

#include <cstdio>

#include "Records.h"

namespace standin::cd {

namespace nc = notes::cd;

namespace {

struct SignatureName {
    WORD signature;
    const char *name;
};

const SignatureName kNames[] = {
    {nc::kSigParagraph, "PARAGRAPH"},
    {nc::kSigPabDefinition, "PABDEFINITION"},
    {nc::kSigPabReference, "PABREFERENCE"},
    {nc::kSigText, "TEXT"},
    {nc::kSigFontTable, "FONTTABLE"},
    {nc::kSigHeader, "HEADER"},
    {nc::kSigLink2, "LINK2"},
    {nc::kSigLinkExport2, "LINKEXPORT2"},
    {nc::kSigBitmapHeader, "BITMAPHEADER"},
    {nc::kSigBitmapSegment, "BITMAPSEGMENT"},
    {nc::kSigColorTable, "COLORTABLE"},
    {nc::kSigPatternTable, "PATTERNTABLE"},
    {nc::kSigGraphic, "GRAPHIC"},
    {nc::kSigTableBegin, "TABLEBEGIN"},
    {nc::kSigTableCell, "TABLECELL"},
    {nc::kSigTableEnd, "TABLEEND"},
    {nc::kSigOleBegin, "OLEBEGIN"},
    {nc::kSigOleEnd, "OLEEND"},
    {nc::kSigHotspotBegin, "HOTSPOTBEGIN"},
    {nc::kSigHotspotEnd, "HOTSPOTEND"},
    {nc::kSigBar, "BAR"},
    {nc::kSigV4HotspotBegin, "V4HOTSPOTBEGIN"},
    {nc::kSigV4HotspotEnd, "V4HOTSPOTEND"},
    {nc::kSigOleObjInfo, "OLEOBJINFO"},
    {nc::kSigTextEffect, "TEXTEFFECT"},
    {nc::kSigStorageLink, "STORAGELINK"},
    {nc::kSigTransparentTable, "TRANSPARENTTABLE"},
    {nc::kSigHorizontalRule, "HRULE"},
    {nc::kSigAltText, "ALTTEXT"},
    {nc::kSigNestedTableBegin, "NESTEDTABLEBEGIN"},
    {nc::kSigNestedTableCell, "NESTEDTABLECELL"},
    {nc::kSigNestedTableEnd, "NESTEDTABLEEND"},
    {nc::kSigColor, "COLOR"},
    {nc::kSigBegin, "BEGIN"},
    {nc::kSigEnd, "END"},
    {nc::kSigTableLabel, "TABLELABEL"},
    {nc::kSigHref, "HREF"},
    {nc::kSigPreTableBegin, "PRETABLEBEGIN"},
    {nc::kSigBorderInfo, "BORDERINFO"},
    {nc::kSigTableDataExtension, "TABLEDATAEXTENSION"},
    {nc::kSigLargeParagraph, "LARGEPARAGRAPH"},
    {nc::kSigSpanBegin, "SPANBEGIN"},
    {nc::kSigSpanEnd, "SPANEND"},
    {nc::kSigCaption, "CAPTION"},
    {nc::kSigImageSegment, "IMAGESEGMENT"},
    {nc::kSigImageHeader, "IMAGEHEADER"},
    {nc::kSigV5HotspotBegin, "V5HOTSPOTBEGIN"},
    {nc::kSigV5HotspotEnd, "V5HOTSPOTEND"},
    {nc::kSigField, "FIELD"},
    {nc::kSigDocument, "DOCUMENT"},
};

bool Opens(WORD s) {
    return s == nc::kSigTableBegin || s == nc::kSigNestedTableBegin || s == nc::kSigHotspotBegin ||
           s == nc::kSigV4HotspotBegin || s == nc::kSigV5HotspotBegin || s == nc::kSigBegin;
}

bool Closes(WORD s) {
    return s == nc::kSigTableEnd || s == nc::kSigNestedTableEnd || s == nc::kSigHotspotEnd ||
           s == nc::kSigV4HotspotEnd || s == nc::kSigV5HotspotEnd || s == nc::kSigEnd;
}

}  // namespace

const char *RecordName(WORD signature) {
    for (const SignatureName &n : kNames) {
        if (n.signature == signature) {
            return n.name;
        }
    }
    return "?";
}

std::string PrintWalk(std::string_view records) {
    std::string out;
    int depth = 0;
    WalkEnd end = WalkRecords(records, [&](const Record &r) {
        if (Closes(r.signature) && depth > 0) {
            --depth;
        }
        char line[96];
        std::snprintf(line, sizeof line, "%*s%04X %s %u\n", depth * 2, "", r.signature,
                      RecordName(r.signature), r.length);
        out += line;
        if (Opens(r.signature)) {
            ++depth;
        }
        return true;
    });
    if (end == WalkEnd::Truncated) {
        out += "(truncated)\n";
    } else if (end == WalkEnd::Damaged) {
        out += "(damaged)\n";
    }
    return out;
}

}  // namespace standin::cd
