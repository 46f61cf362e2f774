// Composite-data (rich text) record signatures, packed layouts and ODS type numbers, shared by the
// program's rich-text reader and the stand-in runtime that writes and walks the records.
//
// Records are stored packed little-endian. Each layout below gives the packed byte offset of a field
// from the start of the record (header included) and its size; decode with bounds-checked reads at
// these offsets, never by overlaying a structure. The host structures at the end are only for
// ODSReadMemory, which converts packed records to the natural alignment of the host.
#pragma once

#include <cstddef>

#include "NotesTypes.h"

namespace notes::cd {

// ---- Record headers -------------------------------------------------------------------------------
// BSIG {BYTE sig; BYTE len}, WSIG {BYTE sig; BYTE 0xFF; WORD len}, LSIG {BYTE sig; BYTE 0x00; DWORD len}.
// The second byte tells the kinds apart: 0xFF word, 0x00 long, anything else is a byte record's length.
// Lengths include the header; a record of odd length is followed by one pad byte.
// EnumCompositeBuffer reports byte and long records as 0x00nn and word records as 0xFFnn.
inline constexpr std::size_t kBsigSize = 2;  // BSIG header
inline constexpr std::size_t kWsigSize = 4;  // WSIG header
inline constexpr std::size_t kLsigSize = 6;  // LSIG header
inline constexpr BYTE kWordRecordMark = 0xFF;
inline constexpr BYTE kLongRecordMark = 0x00;
inline constexpr WORD kWordSignatureBits = 0xFF00;  // high byte of a word record's reported signature

// ---- Signatures as EnumCompositeBuffer reports them -----------------------------------------------
inline constexpr WORD kSigParagraph = 0x0081;           // CDPARAGRAPH (BSIG)
inline constexpr WORD kSigPabDefinition = 0xFF82;       // CDPABDEFINITION (WSIG)
inline constexpr WORD kSigPabReference = 0x0083;        // CDPABREFERENCE (BSIG)
inline constexpr WORD kSigText = 0xFF85;                // CDTEXT (WSIG)
inline constexpr WORD kSigDocument = 0x0086;            // CDDOCUMENT, old (BSIG)
inline constexpr WORD kSigField = 0xFF8A;               // CDFIELD, old (WSIG)
inline constexpr WORD kSigFontTable = 0xFF8B;           // CDFONTTABLE (WSIG)
inline constexpr WORD kSigHeader = 0xFF8E;              // CDHEADER (WSIG)
inline constexpr WORD kSigLink2 = 0xFF91;               // CDLINK2 (WSIG)
inline constexpr WORD kSigLinkExport2 = 0xFF92;         // CDLINKEXPORT2 (WSIG)
inline constexpr WORD kSigBitmapHeader = 0x0095;        // CDBITMAPHEADER (LSIG)
inline constexpr WORD kSigBitmapSegment = 0x0096;       // CDBITMAPSEGMENT (LSIG)
inline constexpr WORD kSigColorTable = 0x0097;          // CDCOLORTABLE (LSIG)
inline constexpr WORD kSigPatternTable = 0x0098;        // CDPATTERNTABLE (LSIG)
inline constexpr WORD kSigGraphic = 0x0099;             // CDGRAPHIC (LSIG)
inline constexpr WORD kSigTableBegin = 0x00A3;          // CDTABLEBEGIN (BSIG)
inline constexpr WORD kSigTableCell = 0x00A4;           // CDTABLECELL (BSIG)
inline constexpr WORD kSigTableEnd = 0x00A5;            // CDTABLEEND (BSIG)
inline constexpr WORD kSigOleBegin = 0xFFA7;            // CDOLEBEGIN (WSIG)
inline constexpr WORD kSigOleEnd = 0xFFA8;              // CDOLEEND (WSIG)
inline constexpr WORD kSigHotspotBegin = 0xFFA9;        // CDHOTSPOTBEGIN (WSIG)
inline constexpr WORD kSigHotspotEnd = 0x00AA;          // CDHOTSPOTEND (BSIG)
inline constexpr WORD kSigBar = 0xFFAC;                 // CDBAR, section bar (WSIG)
inline constexpr WORD kSigV4HotspotBegin = 0xFFAD;      // CDHOTSPOTBEGIN, V4 (WSIG)
inline constexpr WORD kSigV4HotspotEnd = 0x00AE;        // CDHOTSPOTEND, V4 (BSIG)
inline constexpr WORD kSigOleObjInfo = 0xFFC1;          // CDOLEOBJ_INFO (WSIG)
inline constexpr WORD kSigTextEffect = 0xFFC3;          // CDTEXTEFFECT (WSIG)
inline constexpr WORD kSigStorageLink = 0xFFC4;         // CDSTORAGELINK (WSIG)
inline constexpr WORD kSigTransparentTable = 0x00C5;    // CDTRANSPARENTTABLE (LSIG)
inline constexpr WORD kSigHorizontalRule = 0xFFC9;      // CDHRULE (WSIG)
inline constexpr WORD kSigAltText = 0xFFCA;             // CDALTTEXT (WSIG)
inline constexpr WORD kSigNestedTableBegin = 0x00CF;    // CDTABLEBEGIN of a nested table (BSIG)
inline constexpr WORD kSigNestedTableCell = 0x00D0;     // CDTABLECELL of a nested table (BSIG)
inline constexpr WORD kSigNestedTableEnd = 0x00D1;      // CDTABLEEND of a nested table (BSIG)
inline constexpr WORD kSigColor = 0x00D2;               // CDCOLOR (BSIG)
inline constexpr WORD kSigBegin = 0x00DD;               // CDBEGINRECORD (BSIG)
inline constexpr WORD kSigEnd = 0x00DE;                 // CDENDRECORD (BSIG)
inline constexpr WORD kSigTableLabel = 0xFFE3;          // CDTABLELABEL (WSIG)
inline constexpr WORD kSigHref = 0xFFF6;                // CDRESOURCE / HREF (WSIG)
inline constexpr WORD kSigPreTableBegin = 0xFFFB;       // CDPRETABLEBEGIN, table extension (WSIG)
inline constexpr WORD kSigBorderInfo = 0xFFFC;          // CDBORDERINFO (WSIG)
inline constexpr WORD kSigTableDataExtension = 0xFF5C;  // CDTABLEDATAEXTENSION, tab-label font (WSIG)
inline constexpr WORD kSigLargeParagraph = 0xFF68;      // CDLARGEPARAGRAPH (WSIG)
inline constexpr WORD kSigSpanEnd = 0x006E;             // CDSPANRECORD end (BSIG)
inline constexpr WORD kSigSpanBegin = 0x006F;           // CDSPANRECORD begin (BSIG)
inline constexpr WORD kSigV6HotspotBegin = 0xFF74;      // hotspot begin, newer form (WSIG)
inline constexpr WORD kSigCaption = 0xFF76;             // CDCAPTION (WSIG)
inline constexpr WORD kSigImageSegment = 0x007C;        // CDIMAGESEGMENT (LSIG)
inline constexpr WORD kSigImageHeader = 0x007D;         // CDIMAGEHEADER (LSIG)
inline constexpr WORD kSigV5HotspotBegin = 0xFF7E;      // hotspot begin, V5 (WSIG)
inline constexpr WORD kSigV5HotspotEnd = 0x007F;        // hotspot end, V5 (BSIG)

// ---- FONTID: 4 bytes, in this order in memory and on disk ----------------------------------------
inline constexpr std::size_t kFontFace = 0;    // BYTE face: 0-4 standard, 5 and up from $Fonts
inline constexpr std::size_t kFontAttrib = 1;  // BYTE attributes (kAttrib*)
inline constexpr std::size_t kFontColor = 2;   // BYTE colour number of the Notes palette
inline constexpr std::size_t kFontSize = 3;    // BYTE point size
inline constexpr BYTE kFaceRoman = 0;
inline constexpr BYTE kFaceSwiss = 1;
inline constexpr BYTE kFaceUnicode = 2;
inline constexpr BYTE kFaceUserInterface = 3;
inline constexpr BYTE kFaceTypewriter = 4;
inline constexpr BYTE kFirstTableFace = 5;  // face n >= 5 is entry n - 5 of the font table
inline constexpr BYTE kAttribBold = 0x01;
inline constexpr BYTE kAttribItalic = 0x02;
inline constexpr BYTE kAttribUnderline = 0x04;
inline constexpr BYTE kAttribStrike = 0x08;
inline constexpr BYTE kAttribSuper = 0x10;
inline constexpr BYTE kAttribSub = 0x20;

// ---- COLOR_VALUE: 6 bytes ------------------------------------------------------------------------
inline constexpr std::size_t kColorValueFlags = 0;  // WORD flags (kColorIsRgb, kColorNoColor)
inline constexpr std::size_t kColorValueRed = 2;    // BYTE component 1
inline constexpr std::size_t kColorValueGreen = 3;  // BYTE component 2
inline constexpr std::size_t kColorValueBlue = 4;   // BYTE component 3
inline constexpr std::size_t kColorValueSize = 6;   // with the unused component 4
inline constexpr WORD kColorIsRgb = 0x0001;
inline constexpr WORD kColorNoColor = 0x0004;

// ---- CDPARAGRAPH (BSIG) --------------------------------------------------------------------------
inline constexpr std::size_t kParagraphSize = 2;  // header only

// ---- CDPABDEFINITION (WSIG) ----------------------------------------------------------------------
inline constexpr std::size_t kPabId = 4;                // WORD paragraph style id
inline constexpr std::size_t kPabJustify = 6;           // WORD kJustify*
inline constexpr std::size_t kPabLineSpacing = 8;       // WORD 2 * (spacing - 1): 0 single, 1 one and a half
inline constexpr std::size_t kPabSpacingBefore = 10;    // WORD line-spacing units above
inline constexpr std::size_t kPabSpacingAfter = 12;     // WORD line-spacing units below
inline constexpr std::size_t kPabLeftMargin = 14;       // WORD twips from the left edge
inline constexpr std::size_t kPabRightMargin = 16;      // WORD twips from the right edge (0: 1 inch)
inline constexpr std::size_t kPabFirstLineMargin = 18;  // WORD twips, left margin of the first line
inline constexpr std::size_t kPabTabs = 20;             // WORD number of tab stops
inline constexpr std::size_t kPabTab = 22;  // SWORD[20] tab positions in twips (negative: decimal)
inline constexpr std::size_t kPabMaxTabs = 20;
inline constexpr std::size_t kPabFlags = 62;        // WORD kPabFlag*
inline constexpr std::size_t kPabTabTypes = 64;     // DWORD two bits per tab
inline constexpr std::size_t kPabFlags2 = 68;       // WORD kPabFlag2*
inline constexpr std::size_t kPabSize = 70;         // the fixed part
inline constexpr std::size_t kPabLeftOffset = 70;   // WORD left margin offset, twips (with kPabFlag2LmOffset)
inline constexpr std::size_t kPabLeftPercent = 72;  // WORD left margin percent (with kPabFlag2LmPercent)
inline constexpr std::size_t kPabFirstOffset = 74;  // WORD first-line offset, twips
inline constexpr std::size_t kPabFirstPercent = 76;  // WORD first-line percent
inline constexpr std::size_t kPabRightOffset = 78;   // WORD right margin offset, twips
inline constexpr std::size_t kPabRightPercent = 80;  // WORD right margin percent
inline constexpr std::size_t kPabFlags3 = 82;        // DWORD extended flags (with kPabFlag2MoreFlags)
inline constexpr std::size_t kPabExtendedSize = 90;  // what Domino writes: fixed part, margins, flags
inline constexpr WORD kJustifyLeft = 0;
inline constexpr WORD kJustifyRight = 1;
inline constexpr WORD kJustifyBlock = 2;
inline constexpr WORD kJustifyCenter = 3;
inline constexpr WORD kJustifyNone = 4;
inline constexpr WORD kPabFlagPaginateBefore = 0x0001;
inline constexpr WORD kPabFlagKeepWithNext = 0x0002;
inline constexpr WORD kPabFlagKeepTogether = 0x0004;
inline constexpr WORD kPabFlagPropagate = 0x0008;
inline constexpr WORD kPabFlagHideRead = 0x0010;
inline constexpr WORD kPabFlagHideEdit = 0x0020;
inline constexpr WORD kPabFlagHidePrint = 0x0040;
inline constexpr WORD kPabFlagDisplayRm = 0x0080;
inline constexpr WORD kPabFlagHideUnlink = 0x0100;
inline constexpr WORD kPabFlagHideCopy = 0x0200;
inline constexpr WORD kPabFlagBullet = 0x0400;
inline constexpr WORD kPabFlagHideIf = 0x0800;
inline constexpr WORD kPabFlagNumberedList = 0x1000;
inline constexpr WORD kPabFlagHidePreview = 0x2000;
inline constexpr WORD kPabFlagHidePreviewEdit = 0x4000;
inline constexpr WORD kPabFlagHideNotes = 0x8000;
inline constexpr WORD kPabFlag2HideWeb = 0x0001;
inline constexpr WORD kPabFlag2CheckedList = 0x0002;
inline constexpr WORD kPabFlag2LmOffset = 0x0004;
inline constexpr WORD kPabFlag2LmPercent = 0x0008;
inline constexpr WORD kPabFlag2FirstOffset = 0x0010;
inline constexpr WORD kPabFlag2FirstPercent = 0x0020;
inline constexpr WORD kPabFlag2RmOffset = 0x0040;
inline constexpr WORD kPabFlag2RmPercent = 0x0080;
inline constexpr WORD kPabFlag2LmDefault = 0x0100;
inline constexpr WORD kPabFlag2FirstDefault = 0x0200;
inline constexpr WORD kPabFlag2RmDefault = 0x0400;
inline constexpr WORD kPabFlag2CircleList = 0x0800;
inline constexpr WORD kPabFlag2SquareList = 0x1000;
inline constexpr WORD kPabFlag2UncheckedList = 0x2000;
inline constexpr WORD kPabFlag2RtlReading = 0x4000;
inline constexpr WORD kPabFlag2MoreFlags = 0x8000;

// ---- CDPABREFERENCE (BSIG) -----------------------------------------------------------------------
inline constexpr std::size_t kPabRefId = 2;  // WORD paragraph style id
inline constexpr std::size_t kPabRefSize = 4;

// ---- CDTEXT (WSIG) and CDTEXTEFFECT (WSIG) -------------------------------------------------------
inline constexpr std::size_t kTextFont = 4;        // FONTID
inline constexpr std::size_t kTextChars = 8;       // LMBCS text, to the end of the record
inline constexpr std::size_t kTextSize = 8;        // the fixed part
inline constexpr std::size_t kTextEffectFont = 4;  // FONTID of the effect
inline constexpr std::size_t kTextEffectSize = 8;

// ---- CDFONTTABLE (WSIG) with CDFACE entries ------------------------------------------------------
inline constexpr std::size_t kFontTableCount = 4;   // WORD number of CDFACE entries
inline constexpr std::size_t kFontTableFaces = 6;   // first CDFACE
inline constexpr std::size_t kFaceEntryId = 0;      // BYTE face number (5 and up)
inline constexpr std::size_t kFaceEntryFamily = 1;  // BYTE font family
inline constexpr std::size_t kFaceEntryName = 2;    // char[32] NUL-terminated LMBCS name
inline constexpr std::size_t kFaceNameSize = 32;
inline constexpr std::size_t kFaceEntrySize = 34;

// ---- CDTABLEBEGIN (BSIG), also the nested form ---------------------------------------------------
inline constexpr std::size_t kTableLeftMargin = 2;    // WORD twips
inline constexpr std::size_t kTableHorizSpace = 4;    // WORD twips between cells (V3)
inline constexpr std::size_t kTableVertSpace = 6;     // WORD twips between rows (V3)
inline constexpr std::size_t kTableV4HorizSpace = 8;  // WORD twips, cell padding left/right
inline constexpr std::size_t kTableV4VertSpace = 10;  // WORD twips, cell padding top/bottom
inline constexpr std::size_t kTableFlags = 12;        // WORD kTableFlag*
inline constexpr std::size_t kTableBeginSize = 14;
inline constexpr WORD kTableFlagAutoCellWidth = 0x0001;  // fit to window: cells use FractionalWidth
inline constexpr WORD kTableFlagV4Borders = 0x0002;
inline constexpr WORD kTableFlag3dEmboss = 0x0004;
inline constexpr WORD kTableFlag3dExtrude = 0x0008;
inline constexpr WORD kTableFlagRtl = 0x0010;
inline constexpr WORD kTableFlagAlignedRight = 0x0020;
inline constexpr WORD kTableFlagCollapsible = 0x0040;
inline constexpr WORD kTableFlagLeftTop = 0x0080;
inline constexpr WORD kTableFlagTop = 0x0100;
inline constexpr WORD kTableFlagLeft = 0x0200;
inline constexpr WORD kTableFlagAlternatingCols = 0x0400;
inline constexpr WORD kTableFlagAlternatingRows = 0x0800;
inline constexpr WORD kTableFlagAlignedCenter = 0x1000;
inline constexpr WORD kTableFlagTextFlows = 0x4000;

// ---- CDTABLECELL (BSIG), also the nested form ----------------------------------------------------
inline constexpr std::size_t kCellRow = 2;              // BYTE row, 0-based
inline constexpr std::size_t kCellColumn = 3;           // BYTE column, 0-based
inline constexpr std::size_t kCellLeftMargin = 4;       // WORD twips
inline constexpr std::size_t kCellRightMargin = 6;      // WORD twips (cell width = right - left)
inline constexpr std::size_t kCellFractionalWidth = 8;  // WORD 20 inches in twips * cell / table width
inline constexpr std::size_t kCellBorder = 10;          // BYTE four 2-bit widths: left, right, top, bottom
inline constexpr std::size_t kCellFlags = 11;           // BYTE kCellFlag*
inline constexpr std::size_t kCellV42Border = 12;       // WORD four 4-bit widths (with kCellFlagV42Borders)
inline constexpr std::size_t kCellRowSpan = 14;         // BYTE rows spanned
inline constexpr std::size_t kCellColumnSpan = 15;      // BYTE columns spanned
inline constexpr std::size_t kCellBackground = 16;      // WORD palette colour of the background
inline constexpr std::size_t kTableCellSize = 18;
inline constexpr BYTE kCellFlagUseBackground = 0x01;
inline constexpr BYTE kCellFlagV42Borders = 0x02;
inline constexpr BYTE kCellFlagInvisibleH = 0x04;
inline constexpr BYTE kCellFlagInvisibleV = 0x08;
inline constexpr BYTE kCellFlagUseGradient = 0x10;
inline constexpr BYTE kCellFlagVAlignCenter = 0x20;
inline constexpr BYTE kCellFlagGradientLtr = 0x40;
inline constexpr BYTE kCellFlagVAlignBottom = 0x80;

// ---- CDTABLEEND (BSIG) ---------------------------------------------------------------------------
inline constexpr std::size_t kTableEndSize = 6;  // header and a spare DWORD

// ---- CDPRETABLEBEGIN (WSIG), written before a table begin ----------------------------------------
inline constexpr std::size_t kPreTableFlags = 4;          // DWORD kPreTableFlag*
inline constexpr std::size_t kPreTableRows = 8;           // BYTE rows
inline constexpr std::size_t kPreTableColumns = 9;        // BYTE columns
inline constexpr std::size_t kPreTableSizing1 = 10;       // DWORD column sizing bits
inline constexpr std::size_t kPreTableSizing2 = 14;       // DWORD column sizing bits
inline constexpr std::size_t kPreTableViewerType = 18;    // BYTE kTableViewer*
inline constexpr std::size_t kPreTableMinRowHeight = 20;  // WORD twips
inline constexpr std::size_t kPreTableColor1 = 24;        // DWORD style colour 1: red, green, blue bytes
inline constexpr std::size_t kPreTableColor2 = 28;        // DWORD style colour 2: red, green, blue bytes
inline constexpr std::size_t kPreTableInnerBorder = 32;   // COLOR_VALUE inner border colour
inline constexpr std::size_t kPreTableNameLength = 38;    // WORD length of the table name that follows
inline constexpr std::size_t kPreTableImageLength = 40;   // WORD
inline constexpr std::size_t kPreTableLabelLength = 42;   // WORD
inline constexpr std::size_t kPreTableBeginSize = 44;
inline constexpr DWORD kPreTableFlagTabbed = 0x00000080;  // rows shown as tabs
inline constexpr BYTE kTableViewerTabs = 0x04;            // viewer type bit: tabbed rows
inline constexpr BYTE kTableViewerOnClick = 0x02;
inline constexpr BYTE kTableViewerTimer = 0x01;

// ---- CDTABLELABEL (WSIG): the tab label of the row that follows ----------------------------------
inline constexpr std::size_t kTableLabelText = 4;  // char[128] NUL-terminated LMBCS
inline constexpr std::size_t kTableLabelTextSize = 128;
inline constexpr std::size_t kTableLabelFlags = 138;  // WORD
inline constexpr std::size_t kTableLabelSize = 140;

// ---- CDTABLEDATAEXTENSION (WSIG): tab-label font --------------------------------------------------
inline constexpr std::size_t kTableExtLabelFontLength = 40;  // WORD length of the label font data
inline constexpr std::size_t kTableExtLabelFont = 48;        // FONTID, DWORD, COLOR_VALUE when long enough
inline constexpr std::size_t kTableExtSize = 48;             // the fixed part

// ---- CDBAR (WSIG): section title bar ---------------------------------------------------------------
inline constexpr std::size_t kBarFlags = 4;   // DWORD kBarFlag*
inline constexpr std::size_t kBarFont = 8;    // FONTID of the title
inline constexpr std::size_t kBarTitle = 12;  // title (LMBCS or formula), after the colour word when present
inline constexpr std::size_t kBarSize = 12;
inline constexpr DWORD kBarFlagExpanded = 0x00000002;
inline constexpr DWORD kBarFlagIsFormula = 0x00002000;
inline constexpr DWORD kBarFlagHasColor = 0x04000000;  // a WORD colour number at 12; the title at 14

// ---- CDHOTSPOTBEGIN (WSIG) and its V4/V5 forms; CDHOTSPOTEND (BSIG) --------------------------------
inline constexpr std::size_t kHotspotType = 4;         // WORD kHotspot*
inline constexpr std::size_t kHotspotFlags = 6;        // DWORD kHotspotFlag*
inline constexpr std::size_t kHotspotDataLength = 10;  // WORD length of the data
inline constexpr std::size_t kHotspotData = 12;        // data (file names, URL, ...)
inline constexpr std::size_t kHotspotBeginSize = 12;
inline constexpr std::size_t kHotspotEndSize = 2;
inline constexpr WORD kHotspotPopup = 1;
inline constexpr WORD kHotspotHotRegion = 2;
inline constexpr WORD kHotspotButton = 3;
inline constexpr WORD kHotspotFile = 4;
inline constexpr WORD kHotspotSection = 7;
inline constexpr WORD kHotspotAny = 8;
inline constexpr WORD kHotspotHotLink = 11;
inline constexpr WORD kHotspotBundle = 12;
inline constexpr WORD kHotspotV4Section = 13;
inline constexpr DWORD kHotspotFlagBegin = 0x00000001;
inline constexpr DWORD kHotspotFlagEnd = 0x00000002;
inline constexpr DWORD kHotspotFlagBox = 0x00000004;
inline constexpr DWORD kHotspotFlagNoBorder = 0x00000008;
inline constexpr DWORD kHotspotFlagFormula = 0x00000010;
inline constexpr DWORD kHotspotFlagInotes = 0x00001000;  // the data of a URL link is the URL text

// ---- CDLINK2 (WSIG) and CDLINKEXPORT2 (WSIG) -----------------------------------------------------
inline constexpr std::size_t kLink2Index = 4;          // WORD index into $Links
inline constexpr std::size_t kLink2Comment = 6;        // NUL-terminated comment, then the server hint
inline constexpr std::size_t kLinkExportLink = 4;      // NOTELINK, 40 bytes
inline constexpr std::size_t kLinkExportComment = 44;  // NUL-terminated comment, then the server hint
inline constexpr std::size_t kNoteLinkSize = 40;       // replica id (8), view UNID (16), note UNID (16)

// ---- CDGRAPHIC (LSIG) ----------------------------------------------------------------------------
inline constexpr std::size_t kGraphicDestWidth = 6;    // WORD twips
inline constexpr std::size_t kGraphicDestHeight = 8;   // WORD twips
inline constexpr std::size_t kGraphicCropSize = 10;    // RECTSIZE, reserved
inline constexpr std::size_t kGraphicCropOffset = 14;  // CROPRECT, reserved
inline constexpr std::size_t kGraphicResize = 22;      // WORD true when the user resized it
inline constexpr std::size_t kGraphicVersion = 24;     // BYTE kGraphicVersion*
inline constexpr std::size_t kGraphicFlags = 25;       // BYTE
inline constexpr std::size_t kGraphicSize = 28;
inline constexpr BYTE kGraphicVersion3 = 2;

// ---- CDIMAGEHEADER (LSIG) and CDIMAGESEGMENT (LSIG) ----------------------------------------------
inline constexpr std::size_t kImageType = 6;       // WORD kImage*
inline constexpr std::size_t kImageWidth = 8;      // WORD pixels
inline constexpr std::size_t kImageHeight = 10;    // WORD pixels
inline constexpr std::size_t kImageDataSize = 12;  // DWORD bytes of image data in all segments
inline constexpr std::size_t kImageSegCount = 16;  // DWORD number of segments that follow
inline constexpr std::size_t kImageHeaderSize = 28;
inline constexpr WORD kImageGif = 1;
inline constexpr WORD kImageJpeg = 2;
inline constexpr WORD kImageBmp = 3;
inline constexpr WORD kImagePng = 4;                // written by newer releases
inline constexpr std::size_t kSegmentDataSize = 6;  // WORD image bytes in this segment
inline constexpr std::size_t kSegmentSegSize = 8;   // WORD bytes including the pad byte
inline constexpr std::size_t kSegmentData = 10;     // image bytes
inline constexpr std::size_t kImageSegmentSize = 10;
inline constexpr std::size_t kImageSegmentMax = 10240;  // bytes of image data Domino puts in one segment

// ---- Notes bitmaps: CDBITMAPHEADER, CDBITMAPSEGMENT, tables (all LSIG) ---------------------------
inline constexpr std::size_t kBitmapDestWidth = 6;       // WORD pixels
inline constexpr std::size_t kBitmapDestHeight = 8;      // WORD pixels
inline constexpr std::size_t kBitmapFlags = 14;          // WORD
inline constexpr std::size_t kBitmapWidth = 22;          // WORD pixels
inline constexpr std::size_t kBitmapHeight = 24;         // WORD pixels
inline constexpr std::size_t kBitmapBitsPerPixel = 26;   // WORD 1, 8 or 16
inline constexpr std::size_t kBitmapSamples = 28;        // WORD samples per pixel (1, or 3 for 16 bits)
inline constexpr std::size_t kBitmapBitsPerSample = 30;  // WORD 1, 8 or 5
inline constexpr std::size_t kBitmapSegments = 32;       // WORD number of segments
inline constexpr std::size_t kBitmapColors = 34;         // WORD colour table entries, 0-256
inline constexpr std::size_t kBitmapPatterns = 36;       // WORD pattern table entries
inline constexpr std::size_t kBitmapHeaderSize = 38;
inline constexpr std::size_t kBitmapSegScanlines = 14;  // WORD scan lines in the segment
inline constexpr std::size_t kBitmapSegDataSize = 16;   // WORD bytes of compressed data
inline constexpr std::size_t kBitmapSegData = 18;       // compressed scan lines
inline constexpr std::size_t kBitmapSegmentSize = 18;
inline constexpr std::size_t kColorTableEntries = 6;  // 3-byte entries red, green, blue
inline constexpr std::size_t kColorEntrySize = 3;
inline constexpr std::size_t kPatternTableEntries = 6;  // 8 pixels of up to 3 bytes each per entry
inline constexpr std::size_t kPatternEntrySize = 24;
inline constexpr std::size_t kPixelsPerPattern = 8;
inline constexpr std::size_t kTransparentCount = 8;  // WORD entries, 0-256
inline constexpr std::size_t kTransparentEntries =
    10;  // 3-byte colours (as the colour table) that are transparent
inline constexpr std::size_t kTransparentTableSize = 10;

// ---- CDSTORAGELINK, CDALTTEXT, CDCAPTION, CDBORDERINFO (WSIG) --------------------------------------
inline constexpr std::size_t kStorageType = 4;         // WORD 4: a URL (linked image)
inline constexpr std::size_t kStorageDataLength = 10;  // WORD bytes of data at kStorageData
inline constexpr std::size_t kStorageData = 24;
inline constexpr WORD kStorageUrl = 4;
inline constexpr std::size_t kAltTextLength = 4;  // WORD bytes of text
inline constexpr std::size_t kAltTextText = 12;   // LMBCS text after two reserved fields
inline constexpr std::size_t kAltTextSize = 12;
inline constexpr std::size_t kCaptionLength = 4;    // WORD bytes of text
inline constexpr std::size_t kCaptionPosition = 6;  // BYTE 0 below the image, 1 in the middle
inline constexpr std::size_t kCaptionFont = 7;      // FONTID
inline constexpr std::size_t kCaptionColor = 11;    // COLOR_VALUE
inline constexpr std::size_t kCaptionText = 28;     // LMBCS text after 11 reserved bytes
inline constexpr std::size_t kCaptionSize = 28;
inline constexpr std::size_t kBorderStyle = 8;   // WORD border style of CDBORDERINFO
inline constexpr std::size_t kBorderColor = 42;  // COLOR_VALUE of CDBORDERINFO
inline constexpr std::size_t kBorderInfoSize = 58;

// ---- CDFIELD (WSIG): a field of a form ----------------------------------------------------------
inline constexpr std::size_t kFieldFlags = 4;        // WORD
inline constexpr std::size_t kFieldDataType = 6;     // WORD item type the field holds
inline constexpr std::size_t kFieldListDelim = 8;    // WORD list delimiters
inline constexpr std::size_t kFieldNumberFmt = 10;   // NFMT, 4 bytes
inline constexpr std::size_t kFieldTimeFmt = 14;     // TFMT, 4 bytes
inline constexpr std::size_t kFieldFont = 18;        // FONTID of the field's value
inline constexpr std::size_t kFieldDvLength = 22;    // WORD default-value formula length
inline constexpr std::size_t kFieldItLength = 24;    // WORD input-translation formula length
inline constexpr std::size_t kFieldTabOrder = 26;    // WORD
inline constexpr std::size_t kFieldIvLength = 28;    // WORD input-validation formula length
inline constexpr std::size_t kFieldNameLength = 30;  // WORD item name length
inline constexpr std::size_t kFieldDescLength = 32;  // WORD description length
inline constexpr std::size_t kFieldTextValues = 34;  // WORD length of the text-list values
inline constexpr std::size_t kFieldSize = 36;        // then the formulas, the name, description, values

// ---- CDCOLOR (BSIG), CDBEGINRECORD and CDENDRECORD (BSIG) ----------------------------------------
inline constexpr std::size_t kColorRecordColor = 2;  // COLOR_VALUE
inline constexpr std::size_t kColorRecordSize = 8;
inline constexpr std::size_t kBeginVersion = 2;    // WORD
inline constexpr std::size_t kBeginSignature = 4;  // WORD signature of the record it brackets
inline constexpr std::size_t kBeginEndSize = 6;

// ---- CDOLEBEGIN and CDOLEOBJ_INFO (WSIG) -----------------------------------------------------------
inline constexpr std::size_t kOleBeginVersion = 4;            // WORD
inline constexpr std::size_t kOleBeginFlags = 6;              // DWORD
inline constexpr std::size_t kOleBeginClipFormat = 10;        // WORD
inline constexpr std::size_t kOleBeginAttachNameLength = 12;  // WORD, the $FILE name follows at 18
inline constexpr std::size_t kOleBeginClassNameLength = 14;   // WORD
inline constexpr std::size_t kOleBeginTemplateLength = 16;    // WORD
inline constexpr std::size_t kOleBeginSize = 18;
inline constexpr std::size_t kOleInfoFileNameLength = 4;     // WORD, the $FILE name follows the fixed part
inline constexpr std::size_t kOleInfoDescriptionLength = 6;  // WORD
inline constexpr std::size_t kOleInfoFieldNameLength = 8;    // WORD
inline constexpr std::size_t kOleInfoTextIndexLength = 10;   // WORD
inline constexpr std::size_t kOleInfoClass = 12;             // OLE_GUID, 16 bytes
inline constexpr std::size_t kOleInfoStorageFormat = 28;     // WORD
inline constexpr std::size_t kOleInfoDisplayFormat = 30;     // WORD
inline constexpr std::size_t kOleInfoFlags = 32;             // DWORD
inline constexpr std::size_t kOleInfoAppearedIn = 36;        // WORD
inline constexpr std::size_t kOleInfoHtmlLength = 38;        // WORD
inline constexpr std::size_t kOleInfoAssociatedLength = 40;  // WORD
inline constexpr std::size_t kOleObjInfoSize = 48;

// ---- FILEOBJECT (the value of a $FILE item after its type word) ----------------------------------
inline constexpr std::size_t kFileObjectType = 0;    // WORD OBJECT_DESCRIPTOR.ObjectType
inline constexpr std::size_t kFileObjectRrv = 2;     // DWORD OBJECT_DESCRIPTOR.RRV
inline constexpr std::size_t kFileNameLength = 6;    // WORD
inline constexpr std::size_t kFileHostType = 8;      // WORD kHost* of NotesTypes.h
inline constexpr std::size_t kFileCompression = 10;  // WORD
inline constexpr std::size_t kFileAttributes = 12;   // WORD
inline constexpr std::size_t kFileFlags = 14;        // WORD
inline constexpr std::size_t kFileSize = 16;         // DWORD
inline constexpr std::size_t kFileCreated = 20;      // TIMEDATE
inline constexpr std::size_t kFileModified = 28;     // TIMEDATE
inline constexpr std::size_t kFileName = 36;         // LMBCS name, not NUL-terminated
inline constexpr std::size_t kFileObjectSize = 36;

// ---- ODS type numbers (ODSLength, ODSReadMemory) -------------------------------------------------
inline constexpr WORD kOdsWord = 0;
inline constexpr WORD kOdsDword = 1;
inline constexpr WORD kOdsNumber = 2;
inline constexpr WORD kOdsTimeDate = 10;
inline constexpr WORD kOdsList = 13;
inline constexpr WORD kOdsRange = 14;
inline constexpr WORD kOdsObjectDescriptor = 27;
inline constexpr WORD kOdsNoteLink = 33;
inline constexpr WORD kOdsFileObject = 58;
inline constexpr WORD kOdsCdLink2 = 72;
inline constexpr WORD kOdsCdLinkExport2 = 97;
inline constexpr WORD kOdsCdParagraph = 109;
inline constexpr WORD kOdsCdPabDefinition = 110;
inline constexpr WORD kOdsCdPabReference = 111;
inline constexpr WORD kOdsCdText = 113;
inline constexpr WORD kOdsCdHeader = 117;
inline constexpr WORD kOdsCdFontTable = 119;
inline constexpr WORD kOdsCdFace = 120;
inline constexpr WORD kOdsCdBitmapHeader = 162;
inline constexpr WORD kOdsCdBitmapSegment = 163;
inline constexpr WORD kOdsCdColorTable = 164;
inline constexpr WORD kOdsCdPatternTable = 165;
inline constexpr WORD kOdsCdGraphic = 166;
inline constexpr WORD kOdsCdTableBegin = 176;
inline constexpr WORD kOdsCdTableCell = 177;
inline constexpr WORD kOdsCdTableEnd = 178;
inline constexpr WORD kOdsCdOleBegin = 218;
inline constexpr WORD kOdsCdHotspotBegin = 230;
inline constexpr WORD kOdsCdHotspotEnd = 231;
inline constexpr WORD kOdsCdBar = 308;
inline constexpr WORD kOdsCdTextEffect = 508;
inline constexpr WORD kOdsCdStorageLink = 515;
inline constexpr WORD kOdsCdTransparentTable = 541;
inline constexpr WORD kOdsCdAltText = 561;
inline constexpr WORD kOdsCdBeginRecord = 577;
inline constexpr WORD kOdsCdTableLabel = 583;
inline constexpr WORD kOdsCdPreTableBegin = 640;
inline constexpr WORD kOdsCdColor = 645;
inline constexpr WORD kOdsCdBorderInfo = 646;
inline constexpr WORD kOdsColorValue = 690;
inline constexpr WORD kOdsCdImageHeader = 705;
inline constexpr WORD kOdsCdImageSegment = 706;
inline constexpr WORD kOdsCdCaption = 728;

}  // namespace notes::cd

// ---- Host structures filled by ODSReadMemory (natural alignment of the host) ---------------------
extern "C" {

struct BSIG {
    BYTE Signature;
    BYTE Length;
};
struct WSIG {
    WORD Signature;  // high byte 0xFF
    WORD Length;
};
struct LSIG {
    WORD Signature;  // high byte 0x00
    DWORD Length;
};
struct OBJECT_DESCRIPTOR {
    WORD ObjectType;
    DWORD RRV;
};
struct FILEOBJECT {
    OBJECT_DESCRIPTOR Header;
    WORD FileNameLength;
    WORD HostType;
    WORD CompressionType;
    WORD FileAttributes;
    WORD Flags;
    DWORD FileSize;
    TIMEDATE FileCreated;
    TIMEDATE FileModified;
};
struct CDPARAGRAPH {
    BSIG Header;
};
struct CDPABREFERENCE {
    BSIG Header;
    WORD PABID;
};
struct CDPABDEFINITION {
    WSIG Header;
    WORD PABID;
    WORD JustifyMode;
    WORD LineSpacing;
    WORD ParagraphSpacingBefore;
    WORD ParagraphSpacingAfter;
    WORD LeftMargin;
    WORD RightMargin;
    WORD FirstLineLeftMargin;
    WORD Tabs;
    short Tab[20];
    WORD Flags;
    DWORD TabTypes;
    WORD Flags2;
};
struct CDTEXT {
    WSIG Header;
    FONTID FontID;
};
struct CDFONTTABLE {
    WSIG Header;
    WORD Fonts;
};
struct CDFACE {
    BYTE Face;
    BYTE Family;
    char Name[32];
};
struct CDTABLEBEGIN {
    BSIG Header;
    WORD LeftMargin;
    WORD HorizInterCellSpace;
    WORD VertInterCellSpace;
    WORD V4HorizInterCellSpace;
    WORD V4VertInterCellSpace;
    WORD Flags;
};
struct CDTABLECELL {
    BSIG Header;
    BYTE Row;
    BYTE Column;
    WORD LeftMargin;
    WORD RightMargin;
    WORD FractionalWidth;
    BYTE Border;
    BYTE Flags;
    WORD v42Border;
    BYTE RowSpan;
    BYTE ColumnSpan;
    WORD BackgroundColor;
};
struct CDTABLEEND {
    BSIG Header;
    DWORD Spare;
};
struct CDBAR {
    WSIG Header;
    DWORD Flags;
    FONTID FontID;
};
struct CDHOTSPOTBEGIN {
    WSIG Header;
    WORD Type;
    DWORD Flags;
    WORD DataLength;
};
struct CDLINK2 {
    WSIG Header;
    WORD LinkID;
};
struct CDLINKEXPORT2 {
    WSIG Header;
    NOTELINK NoteLink;
};
struct CDGRAPHIC {
    LSIG Header;
    WORD DestWidth;
    WORD DestHeight;
    WORD CropWidth;
    WORD CropHeight;
    WORD CropLeft;
    WORD CropTop;
    WORD CropRight;
    WORD CropBottom;
    WORD fResize;
    BYTE Version;
    BYTE bFlags;
    WORD wReserved;
};
struct CDIMAGEHEADER {
    LSIG Header;
    WORD ImageType;
    WORD Width;
    WORD Height;
    DWORD ImageDataSize;
    DWORD SegCount;
    DWORD Flags;
    DWORD Reserved;
};
struct CDIMAGESEGMENT {
    LSIG Header;
    WORD DataSize;
    WORD SegSize;
};
struct CDBITMAPHEADER {
    LSIG Header;
    WORD DestWidth;
    WORD DestHeight;
    WORD CropWidth;
    WORD CropHeight;
    WORD Flags;
    WORD wReserved;
    DWORD lReserved;
    WORD Width;
    WORD Height;
    WORD BitsPerPixel;
    WORD SamplesPerPixel;
    WORD BitsPerSample;
    WORD SegmentCount;
    WORD ColorCount;
    WORD PatternCount;
};
struct CDBITMAPSEGMENT {
    LSIG Header;
    DWORD Reserved[2];
    WORD ScanlineCount;
    WORD DataSize;
};
struct CDALTTEXT {
    WSIG Header;
    WORD wLength;
    WORD Reserved1;
    DWORD Reserved2;
};
struct CDTEXTEFFECT {
    WSIG Header;
    FONTID FontEffectID;
};

}  // extern "C"
