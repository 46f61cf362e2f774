// One open Notes database and the operations the export needs on it.
#include "NotesDatabase.h"

#include <cstring>
#include <exception>

#include "NotesApi.h"
#include "NotesFormula.h"
#include "NotesNote.h"
#include "NotesWrapperSupport.h"

namespace notes {

namespace {

const char kNullFilename[] = "Unable to open database. Null filename";
const char kPathConstructError[] = "OSPathNetConstruct error";
const char kUnexpectedError[] = "Unable to open database. Unexpected Error";
const char kNotOpen[] = "Database is not open.";
const char kNoteNotOpen[] = "Document is not open.";
const char kFormulaError[] = "Formula Error: ";
const char kLockTableFailed[] = "Unable to pfnOSLockObject for table_handle";
const char kFieldListFailed[] = "Unable to get a list of fields: ";
constexpr WORD kTitleBufferSize = 130;

// A text item read whole (up to what one item can hold), sized from its value length; an item whose
// length cannot be had is read into a buffer of kTitleBufferSize.
std::string WholeText(NOTEHANDLE note, const char *name) {
    const NotesApiTable &fn = Api().fn;
    DWORD valueLength = 0;
    std::size_t size = kTitleBufferSize;
    if (fn.NSFItemInfo != nullptr && fn.NSFItemInfo(note, name, static_cast<WORD>(std::strlen(name)), nullptr,
                                                    nullptr, nullptr, &valueLength) == 0) {
        size = std::min<std::size_t>(std::max<std::size_t>(valueLength + 1, kTitleBufferSize), 0xFFFF);
    }
    std::string text(size, '\0');
    const WORD length = fn.NSFItemGetText(note, name, text.data(), static_cast<WORD>(size));
    text.resize(std::min<std::size_t>(length, size - 1));
    return text;
}
// The classic item-definition table: WORD length, WORD item count, then 6-byte records (spare word,
// item type, name length), then the names without terminators.
constexpr std::size_t kItemDefHeaderSize = 4;
constexpr std::size_t kItemDefRecordSize = 6;

// Collects every matching note of a search into the collection's ID table. Never throws into the
// runtime: a failed insert stops the search with its status.
STATUS SearchInsert(void *param, SEARCH_MATCH *match, ITEM_TABLE *) noexcept {
    auto *collection = static_cast<NotesNoteCollection *>(param);
    SEARCH_MATCH copy;
    std::memcpy(&copy, match, sizeof copy);
    if ((copy.SERetFlags & kSeMatch) == 0) {
        return 0;
    }
    if (collection->Insert(copy.ID.NoteID)) {
        return 0;
    }
    return collection->LastStatus() != 0 ? collection->LastStatus() : wrapper::kMissingEntryPoint;
}

bool KeepName(const std::string &name, bool includeSystemNames) {
    if (name.empty()) {
        return false;
    }
    return includeSystemNames || name[0] != '$';
}

}  // namespace

NotesDatabase::NotesDatabase(const std::string &server, const std::string &path) {
    (void)Open(server, path);
}

NotesDatabase::~NotesDatabase() {
    Close();
}

NotesDatabase::NotesDatabase(NotesDatabase &&other) noexcept {
    MoveFrom(other);
}

NotesDatabase &NotesDatabase::operator=(NotesDatabase &&other) noexcept {
    if (this == &other) {
        return *this;
    }
    Close();
    MoveFrom(other);
    return *this;
}

void NotesDatabase::MoveFrom(NotesDatabase &other) noexcept {
    m_open = other.m_open;
    m_db = other.m_db;
    m_server = std::move(other.m_server);
    m_path = std::move(other.m_path);
    m_lastError = std::move(other.m_lastError);
    m_lastStatus = other.m_lastStatus;
    m_borrowed = other.m_borrowed;
    other.m_open = false;
    other.m_db = kNullHandle;
    other.m_borrowed = false;
}

void NotesDatabase::Fail(STATUS status, std::string text) {
    m_lastStatus = status;
    m_lastError = std::move(text);
}

bool NotesDatabase::Open(const std::string &server, const std::string &path) {
    Close();
    m_lastStatus = 0;
    m_lastError.clear();
    if (path.empty()) {
        m_lastError = kNullFilename;
        return false;
    }
    try {
        const NotesApiTable &fn = Api().fn;
        if (fn.OSPathNetConstruct == nullptr || fn.NSFDbOpen == nullptr) {
            Fail(wrapper::kMissingEntryPoint, kUnexpectedError);
            return false;
        }
        const std::string lmbcsServer = wrapper::ToLmbcs(server);
        const std::string lmbcsPath = wrapper::ToLmbcs(path);
        // The network path must fit the runtime's MAXPATH buffer ("server!!path" and a NUL).
        if (lmbcsServer.size() + lmbcsPath.size() + 3 > kMaxPath) {
            m_lastError = kPathConstructError;
            return false;
        }
        char netPath[kMaxPath + 1] = {};
        STATUS status = fn.OSPathNetConstruct(nullptr, lmbcsServer.c_str(), lmbcsPath.c_str(), netPath);
        if (status != 0) {
            Fail(status, kPathConstructError);
            return false;
        }
        DBHANDLE db = kNullHandle;
        status = fn.NSFDbOpen(netPath, &db);
        if (status != 0) {
            Fail(status, wrapper::NotesMessage(status));
            return false;
        }
        m_db = db;
        m_open = true;
        m_borrowed = false;
        m_server = server;
        m_path = path;
        return true;
    } catch (const std::exception &) {
        m_open = false;
        m_lastError = kUnexpectedError;
        return false;
    }
}

void NotesDatabase::Close() {
    if (!m_open) {
        return;
    }
    if (!m_borrowed && Api().fn.NSFDbClose != nullptr) {
        m_lastStatus = Api().fn.NSFDbClose(m_db);
    }
    m_db = kNullHandle;
    m_open = false;
    m_borrowed = false;
}

bool NotesDatabase::CloseChecked() {
    if (!m_open || m_borrowed) {
        Close();
        return true;
    }
    m_lastStatus = 0;
    Close();
    if (m_lastStatus == 0)
        return true;
    m_lastError = wrapper::NotesMessage(m_lastStatus);
    return false;
}

void NotesDatabase::Adopt(DBHANDLE handle) {
    Close();
    m_db = handle;
    m_open = handle != kNullHandle;
    m_borrowed = true;
    m_lastStatus = 0;
    m_lastError.clear();
}

std::string NotesDatabase::Title() {
    const NotesApiTable &fn = Api().fn;
    if (!m_open || fn.NSFDbInfoGet == nullptr || fn.NSFDbInfoParse == nullptr) {
        return std::string();
    }
    char info[kNsfInfoSize + 1] = {};
    const STATUS status = fn.NSFDbInfoGet(m_db, info);
    if (status != 0) {
        m_lastStatus = status;
        return std::string();
    }
    info[kNsfInfoSize] = '\0';
    char title[kNsfInfoSize + 1] = {};
    fn.NSFDbInfoParse(info, kInfoParseTitle, title, kNsfInfoSize);
    title[kNsfInfoSize - 1] = '\0';
    return wrapper::FromLmbcs(title, std::strlen(title));
}

std::unique_ptr<NotesView> NotesDatabase::OpenView(const std::string &name) {
    auto view = std::make_unique<NotesView>();
    if (!OpenViewInto(*view, name)) {
        return nullptr;
    }
    return view;
}

bool NotesDatabase::OpenViewInto(NotesView &view, const std::string &name) {
    if (!m_open) {
        Fail(0, kNotOpen);
        return false;
    }
    if (view.Open(m_db, name)) {
        return true;
    }
    Fail(view.LastStatus(), view.LastError());
    return false;
}

bool NotesDatabase::CopyNote(const NotesNote &note) {
    if (!m_open) {
        Fail(0, kNotOpen);
        return false;
    }
    if (!note.IsOpen()) {
        Fail(0, kNoteNotOpen);
        return false;
    }
    const NotesApiTable &fn = Api().fn;
    const STATUS status = fn.NSFDbCopyNote != nullptr
                              ? fn.NSFDbCopyNote(note.DbHandle(), nullptr, nullptr, note.NoteId(), m_db,
                                                 nullptr, nullptr, nullptr, nullptr)
                              : wrapper::kMissingEntryPoint;
    if (status != 0) {
        Fail(status, wrapper::NotesMessage(status));
        return false;
    }
    m_lastStatus = 0;
    return true;
}

std::unique_ptr<NotesNoteCollection> NotesDatabase::SearchToCollection(const std::string &formulaText) {
    if (!m_open) {
        Fail(0, kNotOpen);
        return nullptr;
    }
    const NotesApiTable &fn = Api().fn;
    FORMULAHANDLE formula = kNullHandle;
    if (!formulaText.empty()) {
        NotesFormula compiler(formulaText);
        if (!compiler.Compile(&formula)) {
            Fail(compiler.CompileStatus(), kFormulaError + compiler.LastError());
            return nullptr;
        }
    }
    auto freeFormula = [&] {
        if (formula != kNullHandle && fn.OSMemFree != nullptr) {
            fn.OSMemFree(formula);
        }
        formula = kNullHandle;
    };

    auto collection = std::make_unique<NotesNoteCollection>(m_db);
    if (!collection->Create()) {
        freeFormula();
        Fail(collection->LastStatus(), collection->LastError());
        return nullptr;
    }
    const STATUS status = fn.NSFSearch != nullptr
                              ? fn.NSFSearch(m_db, formula, nullptr, 0, kNoteClassDocument, nullptr,
                                             SearchInsert, collection.get(), nullptr)
                              : wrapper::kMissingEntryPoint;
    freeFormula();
    if (status != 0) {
        // A failed insert stopped the search: its own words say what went wrong.
        Fail(status,
             collection->LastError().empty() ? wrapper::NotesMessage(status) : collection->LastError());
        return nullptr;
    }
    m_lastStatus = 0;
    return collection;
}

bool NotesDatabase::FieldNames(bool includeSystemNames, std::vector<NotesFieldName> &names) {
    names.clear();
    if (!m_open) {
        Fail(0, kNotOpen);
        return false;
    }
    m_lastStatus = 0;
    m_lastError.clear();
    if (Api().fn.NSFDbItemDefTableExt != nullptr) {
        return FieldNamesExt(includeSystemNames, names);
    }
    return FieldNamesClassic(includeSystemNames, names);
}

bool NotesDatabase::FieldNamesExt(bool includeSystemNames, std::vector<NotesFieldName> &names) {
    const NotesApiTable &fn = Api().fn;
    const std::pair<const void *, const char *> required[] = {
        {reinterpret_cast<const void *>(fn.NSFItemDefExtLock), "Unable to get NSFItemDefExtLock"},
        {reinterpret_cast<const void *>(fn.NSFItemDefExtUnlock), "Unable to get NSFItemDefExtUnlock"},
        {reinterpret_cast<const void *>(fn.NSFItemDefExtFree), "Unable to get NSFItemDefExtFree"},
        {reinterpret_cast<const void *>(fn.NSFItemDefExtEntries), "Unable to get NSFItemDefExtEntries"},
        {reinterpret_cast<const void *>(fn.NSFItemDefExtGetEntry), "Unable to get NSFItemDefExtGetEntry"},
    };
    for (const auto &[slot, message] : required) {
        if (slot == nullptr) {
            Fail(wrapper::kMissingEntryPoint, message);
            return false;
        }
    }

    ITEMDEFTABLEEXTHANDLE handle = kNullHandle;
    STATUS status = fn.NSFDbItemDefTableExt(m_db, &handle);
    if (status != 0) {
        Fail(status, wrapper::NotesMessage(status));
        return false;
    }
    auto *table = static_cast<ITEM_DEFINITION_TABLE_EXT *>(fn.OSLockObject(handle));
    if (table == nullptr) {
        fn.OSMemFree(handle);
        Fail(0, kLockTableFailed);
        return false;
    }
    ITEM_DEFINITION_TABLE_LOCK lock{};
    status = fn.NSFItemDefExtLock(table, &lock);
    if (status == 0) {
        DWORD count = 0;
        status = fn.NSFItemDefExtEntries(&lock, &count);
        std::vector<NotesFieldName> found;
        for (DWORD i = 0; status == 0 && i < count; ++i) {
            WORD type = 0;
            WORD length = 0;
            char *name = nullptr;
            status = fn.NSFItemDefExtGetEntry(&lock, i, &type, &length, &name);
            if (status != 0) {
                break;
            }
            NotesFieldName field{wrapper::FromLmbcs(name, name != nullptr ? length : 0), type};
            if (KeepName(field.name, includeSystemNames)) {
                found.push_back(std::move(field));
            }
        }
        const STATUS unlockStatus = fn.NSFItemDefExtUnlock(table, &lock);
        if (status == 0) {
            status = unlockStatus;
        }
        if (status == 0) {
            names = std::move(found);
        }
    }
    const STATUS freeStatus = fn.NSFItemDefExtFree(table);
    fn.OSUnlockObject(handle);
    fn.OSMemFree(handle);
    if (status == 0) {
        status = freeStatus;
    }
    if (status != 0) {
        names.clear();
        Fail(status, wrapper::NotesMessage(status));
        return false;
    }
    return true;
}

bool NotesDatabase::FieldNamesClassic(bool includeSystemNames, std::vector<NotesFieldName> &names) {
    const NotesApiTable &fn = Api().fn;
    if (fn.NSFDbItemDefTable == nullptr) {
        Fail(wrapper::kMissingEntryPoint,
             kFieldListFailed + wrapper::NotesMessage(wrapper::kMissingEntryPoint));
        return false;
    }
    ITEMDEFTABLEHANDLE handle = kNullHandle;
    const STATUS status = fn.NSFDbItemDefTable(m_db, &handle);
    if (status != 0) {
        Fail(status, kFieldListFailed + wrapper::NotesMessage(status));
        return false;
    }
    const char *table = static_cast<const char *>(fn.OSLockObject(handle));
    if (table == nullptr) {
        fn.OSMemFree(handle);
        Fail(0, kLockTableFailed);
        return false;
    }
    // Every offset is checked against the table's own length before it is read.
    const std::size_t length = wrapper::ReadWord(table, 0);
    const std::size_t count = length >= kItemDefHeaderSize ? wrapper::ReadWord(table, 2) : 0;
    std::size_t nameOffset = kItemDefHeaderSize + count * kItemDefRecordSize;
    for (std::size_t i = 0; i < count && nameOffset <= length; ++i) {
        const std::size_t record = kItemDefHeaderSize + i * kItemDefRecordSize;
        const WORD type = wrapper::ReadWord(table, record + 2);
        const std::size_t nameLength = wrapper::ReadWord(table, record + 4);
        if (nameOffset + nameLength > length) {
            break;
        }
        NotesFieldName field{wrapper::FromLmbcs(table + nameOffset, nameLength), type};
        nameOffset += nameLength;
        if (KeepName(field.name, includeSystemNames)) {
            names.push_back(std::move(field));
        }
    }
    fn.OSUnlockObject(handle);
    fn.OSMemFree(handle);
    return true;
}

bool NotesDatabase::DesignList(WORD noteClass, char flag, bool flagRequired, int scope,
                               NotesDesignColl &collection) {
    collection.Clear();
    if (!m_open) {
        collection.SetFailure(0, kNotOpen);
        return false;
    }
    const NotesApiTable &fn = Api().fn;
    const bool present = fn.TimeConstruct != nullptr && fn.NSFDbGetModifiedNoteTable != nullptr &&
                         fn.IDEntries != nullptr && fn.IDScan != nullptr && fn.IDDestroyTable != nullptr &&
                         fn.NSFNoteOpen != nullptr && fn.NSFNoteClose != nullptr &&
                         fn.NSFNoteGetInfo != nullptr && fn.NSFItemGetText != nullptr;
    if (!present) {
        collection.SetFailure(wrapper::kMissingEntryPoint,
                              wrapper::NotesMessage(wrapper::kMissingEntryPoint));
        return false;
    }
    // Day 2, tick 2: earlier than any note's modification, so the table holds every note of the class.
    TIMEDATE since{};
    fn.TimeConstruct(2, 2, &since);
    TIMEDATE until{};
    DHANDLE table = kNullHandle;
    const STATUS status = fn.NSFDbGetModifiedNoteTable(m_db, noteClass, since, &until, &table);
    if (status != 0) {
        collection.SetFailure(status, wrapper::NotesMessage(status));
        return false;
    }
    DWORD id = 0;
    const bool any = table != kNullHandle && fn.IDEntries(table) > 0;
    for (BOOL first = 1; any && fn.IDScan(table, first, &id); first = 0) {
        // Deleted notes are listed with the high bit set; they cannot be opened.
        if ((id & kNoteIdCategory) != 0) {
            continue;
        }
        NOTEHANDLE note = kNullHandle;
        if (fn.NSFNoteOpen(m_db, id, 0, &note) != 0) {
            continue;
        }
        const std::string title = WholeText(note, "$TITLE");
        char flags[kTitleBufferSize] = {};
        const WORD flagsLength = fn.NSFItemGetText(note, "$Flags", flags, sizeof flags);
        WORD actualClass = noteClass;
        fn.NSFNoteGetInfo(note, kNoteClass, &actualClass);
        fn.NSFNoteClose(note);

        const std::string flagText(flags, std::min<std::size_t>(flagsLength, sizeof flags - 1));
        if (flag != 0) {
            const bool hasFlag = flagText.find(flag) != std::string::npos;
            if (hasFlag != flagRequired) {
                continue;
            }
        }
        const bool isPrivate = flagText.find('V') != std::string::npos;
        if ((scope == 0 && isPrivate) || (scope == 1 && !isPrivate)) {
            continue;
        }
        collection.Add(
            NotesDesignElement(id, actualClass, wrapper::FromLmbcs(title.data(), title.size()), flagText));
    }
    if (table != kNullHandle) {
        fn.IDDestroyTable(table);
    }
    return true;
}

}  // namespace notes
