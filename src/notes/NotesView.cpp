// A view or folder opened as a collection and walked for the note IDs of its documents.
#include "NotesView.h"

#include <algorithm>
#include <string_view>

#include "NotesApi.h"
#include "NotesWrapperSupport.h"

namespace notes {

namespace {
const char kFatalViewNote[] = "Fatal error opening view note.";
constexpr DWORD kReadAll = 0xFFFFFFFF;
constexpr WORD kFlagsBufferSize = 130;
}  // namespace

NotesView::~NotesView() {
    Close();
}

void NotesView::Fail(STATUS status) {
    m_lastStatus = status;
    if (!m_lastError.empty()) {
        m_lastError += "\n";
    }
    m_lastError += wrapper::NotesMessage(status);
}

bool NotesView::FindDesignNote(DBHANDLE db, const std::string &name) {
    Close();
    m_name = name;
    m_lastError.clear();
    m_lastStatus = 0;
    m_viewNoteId = 0;
    m_db = db;
    const NotesApiTable &fn = Api().fn;
    if (fn.NIFFindDesignNote == nullptr) {
        Fail(wrapper::kMissingEntryPoint);
        return false;
    }
    const std::string lmbcsName = wrapper::ToLmbcs(name);
    NOTEID noteId = 0;
    const STATUS status = fn.NIFFindDesignNote(db, lmbcsName.c_str(), kNoteClassView, &noteId);
    if (status != 0) {
        Fail(status);
        return false;
    }
    m_viewNoteId = noteId;
    return true;
}

bool NotesView::FindOnly(DBHANDLE db, const std::string &name) {
    return FindDesignNote(db, name);
}

bool NotesView::Open(DBHANDLE db, const std::string &name) {
    if (!FindDesignNote(db, name)) {
        return false;
    }
    return OpenCollection();
}

bool NotesView::OpenById(DBHANDLE db, NOTEID viewNoteId, const std::string &name) {
    Close();
    m_name = name;
    m_lastError.clear();
    m_lastStatus = 0;
    m_viewNoteId = viewNoteId;
    m_db = db;
    return OpenCollection();
}

bool NotesView::EntryCount(DWORD &count) {
    count = 0;
    const NotesApiTable &fn = Api().fn;
    if (!m_open || fn.NIFReadEntries == nullptr) {
        Fail(wrapper::kMissingEntryPoint);
        return false;
    }
    // Skipping every entry from the start and reading none counts them.
    COLLECTIONPOSITION start{};
    DWORD skipped = 0;
    DWORD returned = 0;
    const STATUS status = fn.NIFReadEntries(m_collection, &start, kNavigateNext, kReadAll, kNavigateNext, 0,
                                            kReadMaskNoteId, nullptr, nullptr, &skipped, &returned, nullptr);
    if (status != 0) {
        Fail(status);
        return false;
    }
    count = skipped;
    return true;
}

bool NotesView::OpenCollection() {
    const NotesApiTable &fn = Api().fn;
    if (fn.NIFOpenCollection == nullptr) {
        Fail(wrapper::kMissingEntryPoint);
        return false;
    }
    HCOLLECTION collection = 0;
    const STATUS status = fn.NIFOpenCollection(m_db, m_db, m_viewNoteId, 0, kNullHandle, &collection, nullptr,
                                               nullptr, nullptr, nullptr);
    if (status != 0) {
        Fail(status);
        return false;
    }
    m_collection = collection;
    m_open = true;
    m_position = COLLECTIONPOSITION{};
    return true;
}

void NotesView::Close() {
    if (m_open) {
        if (Api().fn.NIFCloseCollection != nullptr) {
            m_lastStatus = Api().fn.NIFCloseCollection(m_collection);
        }
        m_open = false;
    }
    m_collection = 0;
    m_batch.clear();
    m_index = 0;
    m_entriesRead = 0;
    m_entriesPassed = 0;
    m_signalFlags = 0;
}

bool NotesView::ReadBatch() {
    m_batch.clear();
    m_index = 0;
    m_signalFlags = 0;
    const NotesApiTable &fn = Api().fn;
    if (fn.NIFReadEntries == nullptr || fn.OSLockObject == nullptr) {
        Fail(wrapper::kMissingEntryPoint);
        return false;
    }
    DHANDLE buffer = kNullHandle;
    WORD bufferLength = 0;
    DWORD skipped = 0;
    DWORD returned = 0;
    WORD signal = 0;
    const STATUS status =
        fn.NIFReadEntries(m_collection, &m_position, kNavigateNext, 1, kNavigateNext, kReadAll,
                          kReadMaskNoteId, &buffer, &bufferLength, &skipped, &returned, &signal);
    if (status != 0) {
        // A buffer handed back with a failure is still ours to free.
        if (buffer != kNullHandle && fn.OSMemFree != nullptr) {
            fn.OSMemFree(buffer);
        }
        Fail(status);
        return false;
    }
    m_signalFlags = signal;
    if (buffer == kNullHandle) {
        return true;
    }
    const char *data = static_cast<const char *>(fn.OSLockObject(buffer));
    if (data != nullptr) {
        // Never trust the count beyond what the buffer holds.
        const std::size_t count = std::min<std::size_t>(returned, bufferLength / sizeof(NOTEID));
        m_batch.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            m_batch.push_back(wrapper::ReadDword(data, i * sizeof(NOTEID)));
        }
        fn.OSUnlockObject(buffer);
    }
    if (fn.OSMemFree != nullptr) {
        fn.OSMemFree(buffer);
    }
    m_entriesRead += static_cast<DWORD>(m_batch.size());
    return true;
}

NOTEID NotesView::First() {
    if (!m_open) {
        return 0;
    }
    m_position = COLLECTIONPOSITION{};
    m_entriesRead = 0;
    m_entriesPassed = 0;
    if (!ReadBatch()) {
        return 0;
    }
    return Next();
}

NOTEID NotesView::Next() {
    if (!m_open) {
        return 0;
    }
    for (;;) {
        while (m_index < m_batch.size()) {
            const NOTEID id = m_batch[m_index++];
            ++m_entriesPassed;
            if ((id & kNoteIdCategory) == 0) {
                return id;
            }
        }
        // A batch that brought nothing cannot bring more: stop rather than read forever.
        const bool more = (m_signalFlags & kSignalMoreToDo) != 0 && !m_batch.empty();
        if (!more || !ReadBatch()) {
            return 0;
        }
    }
}

bool NotesView::IsFolder(bool &folder) {
    folder = false;
    const NotesApiTable &fn = Api().fn;
    NOTEHANDLE note = kNullHandle;
    const STATUS status = m_viewNoteId == 0 || fn.NSFNoteOpen == nullptr
                              ? wrapper::kMissingEntryPoint
                              : fn.NSFNoteOpen(m_db, m_viewNoteId, 0, &note);
    if (status != 0) {
        m_lastStatus = status;
        m_lastError = kFatalViewNote;
        return false;
    }
    char flags[kFlagsBufferSize] = {};
    const WORD length =
        fn.NSFItemGetText != nullptr ? fn.NSFItemGetText(note, "$Flags", flags, sizeof flags) : 0;
    const std::string_view flagText(flags, std::min<std::size_t>(length, sizeof flags - 1));
    folder = flagText.find('F') != std::string_view::npos;
    fn.NSFNoteClose(note);
    return true;
}

}  // namespace notes
