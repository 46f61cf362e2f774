// Notes C API types, structures and constants shared by the binding and the stand-in runtime.
//
// Written from the public C API reference. Host structures use the natural alignment of Linux x64;
// stored data (composite records, file objects, canonical item values) is never overlaid with these
// structures: it is decoded at explicit packed offsets.
#pragma once

#include <cstdarg>
#include <cstdint>

extern "C" {

typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned short USHORT;
typedef unsigned int DWORD;
typedef int LONG;
typedef int BOOL;
typedef WORD STATUS;
typedef DWORD DHANDLE;
typedef DHANDLE DBHANDLE;
typedef DHANDLE NOTEHANDLE;
typedef DHANDLE FORMULAHANDLE;
typedef DHANDLE ITEMDEFTABLEHANDLE;
typedef DHANDLE ITEMDEFTABLEEXTHANDLE;
typedef DWORD MEMHANDLE;
typedef WORD HCOLLECTION;
typedef DWORD NOTEID;
typedef DWORD FONTID;
typedef DWORD HEMREGISTRATION;
typedef WORD EID;
typedef WORD BLOCK;
typedef double NUMBER;
typedef DWORD HMODULE;
typedef void *HCOMPUTE;
typedef void *NLS_PINFO;

struct TIMEDATE {
    DWORD Innards[2];
};
typedef TIMEDATE DBID;

struct BLOCKID {
    DHANDLE pool;
    BLOCK block;  // byte offset into the locked pool
};

struct UNID {
    DBID File;
    TIMEDATE Note;
};

struct NOTELINK {
    TIMEDATE File;
    UNID View;
    UNID Note;
};

struct ORIGINATORID {
    DBID File;
    TIMEDATE Note;
    DWORD Sequence;
    TIMEDATE SequenceTime;
};

struct GLOBALINSTANCEID {
    DBID File;
    TIMEDATE Note;
    NOTEID NoteID;
};

struct SEARCH_MATCH {
    GLOBALINSTANCEID ID;        // @0
    ORIGINATORID OriginatorID;  // @20
    WORD NoteClass;             // @48
    BYTE SERetFlags;            // @50
    BYTE Privileges;            // @51
    WORD SummaryLength;         // @52
};

struct ITEM_TABLE {
    USHORT Length;
    USHORT Items;
};

struct ITEM {
    USHORT NameLength;
    USHORT ValueLength;
};

struct COLLECTIONPOSITION {
    WORD Level;
    BYTE MinLevel;
    BYTE MaxLevel;
    DWORD Tumbler[32];
};

struct TIME {
    int year;
    int month;
    int day;
    int weekday;  // 1 = Sunday
    int hour;
    int minute;
    int second;
    int hundredth;
    int dst;
    int zone;
    TIMEDATE GM;
};

struct TFMT {
    BYTE Date;
    BYTE Time;
    BYTE Zone;
    BYTE Structure;
};

struct NFMT {
    BYTE Digits;
    BYTE Format;
    BYTE Attributes;
    BYTE Unused;
};

struct ENCRYPTION_KEY {
    BYTE Opaque[20];
};

struct ITEM_DEFINITION_TABLE_EXT {
    DWORD Items;
    DWORD ItemDefArray;  // memory handle of the ITEM_DEFINITION_EXT array
    DWORD NumSegments;
    DHANDLE ItemNameSegs[25];
    DWORD ItemNameSegLengths[25];
};

struct ITEM_DEFINITION_EXT {
    DWORD ItemOffset;  // offset of the name in the concatenated name segments
    WORD ItemType;
    WORD ItemNameLength;
};

struct ITEM_DEFINITION_TABLE_LOCK {
    DWORD Items;
    void *pItemDefArray;
    char *ItemText[25];
    DWORD NumSegments;
    DWORD ItemNameSegLengths[25];
};

// The older single-block item definition table: ITEM_DEFINITION_TABLE, then Items ×
// ITEM_DEFINITION, then the names (not NUL-terminated) in the same order.
struct ITEM_DEFINITION_TABLE {
    DWORD Length;
    WORD Items;
};

struct ITEM_DEFINITION {
    WORD Spare;
    WORD ItemType;
    WORD NameLength;
};

struct EMRECORD {
    EID EId;                // @0
    WORD NotificationType;  // @2
    STATUS Status;          // @4
    va_list Ap;             // @8
};

typedef STATUS (*NSFSEARCHPROC)(void *param, SEARCH_MATCH *match, ITEM_TABLE *summary);
typedef STATUS (*NSFITEMSCANPROC)(WORD spare, WORD itemFlags, char *name, WORD nameLen, void *value,
                                  DWORD valueLen, void *param);
typedef STATUS (*ActionRoutinePtr)(char *record, WORD signature, DWORD recordLen, void *ctx);
typedef STATUS (*pConvertNBmpWriter)(void *ctx, BYTE *bytes, DWORD count, DWORD totalSize);
typedef STATUS (*EMHANDLER)(EMRECORD *record);

}  // extern "C"

static_assert(sizeof(BLOCKID) == 8);
static_assert(sizeof(SEARCH_MATCH) == 56);
static_assert(sizeof(COLLECTIONPOSITION) == 132);
static_assert(sizeof(TIME) == 48);
static_assert(sizeof(ITEM_DEFINITION_TABLE_EXT) == 212);
static_assert(sizeof(ITEM_DEFINITION_TABLE_LOCK) == 320);
static_assert(sizeof(EMRECORD) == 32);

namespace notes {

constexpr DHANDLE kNullHandle = 0;
constexpr WORD kMaxPath = 256;
constexpr WORD kMaxUserName = 256;
constexpr WORD kNsfInfoSize = 128;

constexpr STATUS Err(STATUS s) {
    return static_cast<STATUS>(s & 0x3FFF);
}

// Item types.
constexpr WORD kTypeError = 0x0100;
constexpr WORD kTypeUnavailable = 0x0200;
constexpr WORD kTypeText = 0x0500;
constexpr WORD kTypeTextList = 0x0501;
constexpr WORD kTypeRfc822Text = 0x0502;
constexpr WORD kTypeNumber = 0x0300;
constexpr WORD kTypeNumberRange = 0x0301;
constexpr WORD kTypeTime = 0x0400;
constexpr WORD kTypeTimeRange = 0x0401;
constexpr WORD kTypeUserId = 0x0700;
constexpr WORD kTypeNoteRefList = 0x0004;
constexpr WORD kTypeNoteLinkList = 0x0007;
constexpr WORD kTypeFormula = 0x0600;
constexpr WORD kTypeComposite = 0x0001;
constexpr WORD kTypeCollation = 0x0002;
constexpr WORD kTypeObject = 0x0003;
constexpr WORD kTypeViewFormat = 0x0005;
constexpr WORD kTypeIcon = 0x0006;
constexpr WORD kTypeSignature = 0x0008;
constexpr WORD kTypeSeal = 0x0009;
constexpr WORD kTypeSealData = 0x000A;
constexpr WORD kTypeSealList = 0x000B;
constexpr WORD kTypeHighlights = 0x000C;
constexpr WORD kTypeUserData = 0x000E;
constexpr WORD kTypeQuery = 0x000F;
constexpr WORD kTypeAction = 0x0010;
constexpr WORD kTypeLsObject = 0x0014;
constexpr WORD kTypeHtml = 0x0015;
constexpr WORD kTypeMimePart = 0x0019;

// Item flags.
constexpr WORD kItemSign = 0x0001;
constexpr WORD kItemSeal = 0x0002;
constexpr WORD kItemSummary = 0x0004;
constexpr WORD kItemReadWriters = 0x0020;
constexpr WORD kItemNames = 0x0040;
constexpr WORD kItemProtected = 0x0200;
constexpr WORD kItemReaders = 0x0400;

// Note classes.
constexpr WORD kNoteClassDocument = 0x0001;
constexpr WORD kNoteClassInfo = 0x0002;
constexpr WORD kNoteClassForm = 0x0004;
constexpr WORD kNoteClassView = 0x0008;
constexpr WORD kNoteClassIcon = 0x0010;
constexpr WORD kNoteClassDesign = 0x0020;
constexpr WORD kNoteClassAcl = 0x0040;
constexpr WORD kNoteClassHelpIndex = 0x0080;
constexpr WORD kNoteClassHelp = 0x0100;
constexpr WORD kNoteClassFilter = 0x0200;
constexpr WORD kNoteClassField = 0x0400;
constexpr WORD kNoteClassReplFormula = 0x0800;
constexpr WORD kNoteClassPrivate = 0x1000;
constexpr WORD kNoteClassAll = 0x7FFF;

// NSFNoteGetInfo selectors.
constexpr WORD kNoteDb = 0;
constexpr WORD kNoteId = 1;
constexpr WORD kNoteOid = 2;
constexpr WORD kNoteClass = 3;
constexpr WORD kNoteModified = 4;
constexpr WORD kNoteFlags = 7;
constexpr WORD kNoteAccessed = 8;
constexpr WORD kNoteParentNoteId = 10;
constexpr WORD kNoteResponseCount = 11;
constexpr WORD kNoteAddedToFile = 13;

// Note open and update flags.
constexpr WORD kOpenSummary = 0x0001;
constexpr WORD kOpenExpand = 0x0004;
constexpr WORD kOpenNoObjects = 0x0008;
constexpr WORD kOpenShare = 0x0020;
constexpr WORD kOpenCanonical = 0x0040;
constexpr DWORD kOpenRawMime = 0x2000000;
constexpr WORD kUpdateForce = 0x0001;
constexpr WORD kUpdateNoCommit = 0x0004;
constexpr WORD kUpdateNoStub = 0x0200;

// NSFDbInfoParse selectors.
constexpr WORD kInfoParseTitle = 0;
constexpr WORD kInfoParseCategories = 1;
constexpr WORD kInfoParseClass = 2;
constexpr WORD kInfoParseDesignClass = 3;

// NSFSearch flags and directory file types.
constexpr WORD kSearchAllVersions = 0x0001;
constexpr WORD kSearchSummary = 0x0002;
constexpr WORD kSearchFileType = 0x0004;
constexpr WORD kSearchNotifyDeletions = 0x0010;
constexpr WORD kFileTypeAny = 0;
constexpr WORD kFileTypeDbRepl = 1;
constexpr WORD kFileTypeDbDesign = 2;
constexpr WORD kFileTypeMailbox = 3;
constexpr WORD kFileTypeDbAny = 4;
constexpr WORD kFileTypeFtAny = 5;
constexpr WORD kFileTypeDirsOnly = 7;
constexpr WORD kFileTypeAnyNoteFile = 10;
constexpr WORD kFileTypeDirs = 0x8000;
constexpr WORD kFileTypeNoUpDirs = 0x4000;
constexpr WORD kFileTypeRecurse = 0x2000;
constexpr BYTE kSeMatch = 0x01;
constexpr BYTE kSeTruncated = 0x02;
constexpr BYTE kSeSoftDeleted = 0x10;

// NIFReadEntries return mask.
constexpr DWORD kReadMaskNoteId = 0x00000001;
constexpr DWORD kReadMaskNoteUnid = 0x00000002;
constexpr DWORD kReadMaskNoteClass = 0x00000004;
constexpr DWORD kReadMaskIndexSiblings = 0x00000008;
constexpr DWORD kReadMaskIndexChildren = 0x00000010;
constexpr DWORD kReadMaskIndexDescendants = 0x00000020;
constexpr DWORD kReadMaskIndexAnyUnread = 0x00000040;
constexpr DWORD kReadMaskIndentLevels = 0x00000080;
constexpr DWORD kReadMaskCollectionStats = 0x00000100;
constexpr DWORD kReadMaskScore = 0x00000200;
constexpr DWORD kReadMaskIndexUnread = 0x00000400;
constexpr DWORD kReadMaskSummaryValues = 0x00002000;
constexpr DWORD kReadMaskIndexPosition = 0x00004000;
constexpr DWORD kReadMaskSummary = 0x00008000;
constexpr NOTEID kNoteIdCategory = 0x80000000;

// Collection navigators, their flags, signal flags and open flags.
constexpr WORD kNavigateCurrent = 0;
constexpr WORD kNavigateNext = 1;
constexpr WORD kNavigateParent = 3;
constexpr WORD kNavigateChild = 4;
constexpr WORD kNavigateNextPeer = 5;
constexpr WORD kNavigatePrevPeer = 6;
constexpr WORD kNavigateFirstPeer = 7;
constexpr WORD kNavigateLastPeer = 8;
constexpr WORD kNavigatePrev = 9;
constexpr WORD kNavigateNextUnread = 10;
constexpr WORD kNavigateNextMain = 12;
constexpr WORD kNavigateNextSelected = 14;
constexpr WORD kNavigateAllDescendants = 17;
constexpr WORD kNavigateNextCategory = 41;
constexpr WORD kNavigateNextNonCategory = 43;
constexpr WORD kNavigateMinLevel = 0x0100;
constexpr WORD kNavigateMaxLevel = 0x0200;
constexpr WORD kNavigateContinue = 0x8000;
constexpr WORD kSignalDefnItemModified = 0x0001;
constexpr WORD kSignalViewItemModified = 0x0002;
constexpr WORD kSignalIndexModified = 0x0004;
constexpr WORD kSignalDatabaseModified = 0x0010;
constexpr WORD kSignalMoreToDo = 0x0020;
constexpr WORD kOpenRebuildIndex = 0x0001;
constexpr WORD kOpenNoUpdate = 0x0002;
constexpr WORD kOpenDoNotCreate = 0x0004;
constexpr WORD kOpenSharedViewNote = 0x0010;
constexpr WORD kOpenReopen = 0x0020;

// OSTranslate modes.
constexpr WORD kTranslateNativeToLmbcs = 0;
constexpr WORD kTranslateLmbcsToNative = 1;
constexpr WORD kTranslateLowerToUpper = 3;
constexpr WORD kTranslateUpperToLower = 4;
constexpr WORD kTranslateUnaccent = 5;
constexpr WORD kTranslateLmbcsToUnicode = 20;
constexpr WORD kTranslateLmbcsToUtf8 = 22;
constexpr WORD kTranslateUnicodeToLmbcs = 23;
constexpr WORD kTranslateUtf8ToLmbcs = 24;

// File objects.
constexpr WORD kObjectFile = 0;
constexpr WORD kFileFlagSign = 1;
constexpr WORD kFileFlagInDoc = 2;
constexpr WORD kFileFlagMime = 4;
constexpr WORD kCompressNone = 0;
constexpr WORD kCompressHuff = 1;
constexpr WORD kCompressLz1 = 2;
constexpr WORD kHostOle = 0x0100;
constexpr WORD kHostOleLib = 0x0500;
constexpr WORD kHostByteArrayExt = 0x0600;
constexpr WORD kHostByteArrayPage = 0x0700;

// Time formats.
constexpr BYTE kTimeDateFull = 0;
constexpr BYTE kTimeDateCPartial = 1;
constexpr BYTE kTimeDatePartial = 2;
constexpr BYTE kTimeDateDPartial = 3;
constexpr BYTE kTimeDateFull4 = 4;
constexpr BYTE kTimeTimeFull = 0;
constexpr BYTE kTimeTimePartial = 1;
constexpr BYTE kTimeTimeHour = 2;
constexpr BYTE kTimeZoneNever = 0;
constexpr BYTE kTimeZoneSometimes = 1;
constexpr BYTE kTimeZoneAlways = 2;
constexpr BYTE kTimeStructDate = 0;
constexpr BYTE kTimeStructTime = 1;
constexpr BYTE kTimeStructDateTime = 2;
constexpr BYTE kTimeStructCDateTime = 3;
constexpr DWORD kAllDay = 0xFFFFFFFF;
constexpr DWORD kAnyDay = 0xFFFFFF;
constexpr DWORD kTicksPerDay = 8640000;

// Number formats.
constexpr BYTE kNumberGeneral = 0;
constexpr BYTE kNumberFixed = 1;
constexpr BYTE kNumberScientific = 2;
constexpr BYTE kNumberCurrency = 3;
constexpr BYTE kNumberBytes = 4;
constexpr BYTE kNumberPunctuated = 1;
constexpr BYTE kNumberParens = 2;
constexpr BYTE kNumberPercent = 4;

// Extension Manager.
constexpr WORD kEmBefore = 0;
constexpr WORD kEmAfter = 1;
constexpr DWORD kEmRegBefore = 0x0001;
constexpr DWORD kEmRegAfter = 0x0002;
constexpr EID kEmGetPassword = 73;

// Status values.
constexpr STATUS kNoError = 0;
constexpr STATUS kStsDisplayed = 0x8000;
constexpr STATUS kStsRemote = 0x4000;
constexpr STATUS kErrItemNotFound = 0x0222;
constexpr STATUS kErrNoteDeleted = 0x0225;
constexpr STATUS kErrNoAccess = 0x0246;
constexpr STATUS kErrNoteNotSigned = 0x0259;
constexpr STATUS kErrEmContinue = 0x02D5;
constexpr STATUS kErrNotFound = 0x0404;
constexpr STATUS kErrDataType = 0x0602;
constexpr STATUS kErrOdsTextTooBig = 0x0603;
constexpr STATUS kErrOdsEnumComplete = 0x0604;
constexpr STATUS kErrBsafeUserAbort = 0x1728;
constexpr STATUS kErrBsafeExternalPassword = 0x1761;
constexpr STATUS kErrBsafePasswordRequired = 0x1777;

}  // namespace notes
