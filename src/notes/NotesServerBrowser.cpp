// Server directory browsing, the local address books and the servers saved in the user's locations.
#include "NotesServerBrowser.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "NotesApi.h"
#include "NotesDatabase.h"
#include "NotesNote.h"
#include "NotesView.h"
#include "NotesWrapperSupport.h"

namespace notes {

namespace {

// Search flags and file class of a directory listing: summaries and file types; databases of any
// kind and sub-directories, without the parent-directory entry.
constexpr WORD kBrowseFlags = kSearchSummary | kSearchFileType;
constexpr WORD kBrowseFileClass = kFileTypeDirs | kFileTypeNoUpDirs | kFileTypeDbAny;
const char kLocationsView[] = "($Locations)";
const char kSavedServersItem[] = "$SavedServers";

struct BrowseContext {
    std::vector<NotesDirectoryEntry> *directories;
    std::vector<NotesDirectoryEntry> *databases;
};

// The text value of a summary item (type word TEXT, then LMBCS); empty for other types.
std::string SummaryText(const char *value, std::size_t length) {
    if (length < 2 || wrapper::ReadWord(value, 0) != kTypeText) {
        return std::string();
    }
    return wrapper::FromLmbcs(value + 2, length - 2);
}

std::string LastComponent(const std::string &path) {
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Reads "$TITLE", "$Path" and "$Type" from a directory entry's summary. Never throws into the runtime.
STATUS BrowseEntry(void *param, SEARCH_MATCH *match, ITEM_TABLE *summary) noexcept {
    try {
        auto *context = static_cast<BrowseContext *>(param);
        SEARCH_MATCH copy;
        std::memcpy(&copy, match, sizeof copy);
        if ((copy.SERetFlags & kSeMatch) == 0 || summary == nullptr) {
            return 0;
        }
        const char *data = reinterpret_cast<const char *>(summary);
        // Trust the smaller of the two lengths the runtime reports for the summary.
        std::size_t size = wrapper::ReadWord(data, 0);
        if (copy.SummaryLength != 0) {
            size = std::min<std::size_t>(size, copy.SummaryLength);
        }
        if (size < 4) {
            return 0;
        }
        const std::size_t items = wrapper::ReadWord(data, 2);
        std::size_t offset = 4 + items * 4;
        std::string title;
        std::string path;
        std::string type;
        for (std::size_t i = 0; i < items && offset <= size; ++i) {
            const std::size_t nameLength = wrapper::ReadWord(data, 4 + i * 4);
            const std::size_t valueLength = wrapper::ReadWord(data, 6 + i * 4);
            if (offset + nameLength + valueLength > size) {
                break;
            }
            const std::string name(data + offset, nameLength);
            const char *value = data + offset + nameLength;
            offset += nameLength + valueLength;
            if (name == "$TITLE") {
                title = SummaryText(value, valueLength);
            }
            if (name == "$Path") {
                path = SummaryText(value, valueLength);
            }
            if (name == "$Type") {
                type = SummaryText(value, valueLength);
            }
        }
        if (path.empty()) {
            return 0;
        }
        NotesDirectoryEntry entry{LastComponent(path), path, std::string()};
        if (type == "$DIR") {
            context->directories->push_back(std::move(entry));
            return 0;
        }
        entry.title = std::move(title);
        context->databases->push_back(std::move(entry));
        return 0;
    } catch (...) {
        return wrapper::kMissingEntryPoint;
    }
}

std::string Format(const char *format, const std::string &first, const std::string &second = std::string()) {
    const int length = std::snprintf(nullptr, 0, format, first.c_str(), second.c_str());
    std::string text(static_cast<std::size_t>(std::max(length, 0)), '\0');
    std::snprintf(text.data(), text.size() + 1, format, first.c_str(), second.c_str());
    return text;
}

}  // namespace

void NotesServerBrowser::Fail(STATUS status, std::string text) {
    m_lastStatus = status;
    m_lastError = std::move(text);
}

bool NotesServerBrowser::BrowseServer(const std::string &server, const std::string &directory,
                                      std::vector<NotesDirectoryEntry> &directories,
                                      std::vector<NotesDirectoryEntry> &databases) {
    directories.clear();
    databases.clear();
    m_lastStatus = 0;
    m_lastError.clear();
    const NotesApiTable &fn = Api().fn;
    const std::string lmbcsServer = wrapper::ToLmbcs(server);
    const std::string lmbcsDirectory = wrapper::ToLmbcs(directory);
    char netPath[kMaxPath + 1] = {};
    STATUS status = wrapper::kMissingEntryPoint;
    if (fn.OSPathNetConstruct != nullptr && lmbcsServer.size() + lmbcsDirectory.size() + 3 <= kMaxPath) {
        status = fn.OSPathNetConstruct(nullptr, lmbcsServer.c_str(), lmbcsDirectory.c_str(), netPath);
    }
    if (status != 0) {
        Fail(status, Format("Unable to construct path from server \"%s, path \"%s", server, directory));
        return false;
    }
    DBHANDLE dir = kNullHandle;
    status = fn.NSFDbOpen != nullptr ? fn.NSFDbOpen(netPath, &dir) : wrapper::kMissingEntryPoint;
    if (status != 0) {
        Fail(status, Format("Unable to browse server %s", server));
        return false;
    }
    BrowseContext context{&directories, &databases};
    status = fn.NSFSearch != nullptr ? fn.NSFSearch(dir, kNullHandle, nullptr, kBrowseFlags, kBrowseFileClass,
                                                    nullptr, BrowseEntry, &context, nullptr)
                                     : wrapper::kMissingEntryPoint;
    const STATUS closeStatus = fn.NSFDbClose(dir);
    if (status != 0) {
        directories.clear();
        databases.clear();
        Fail(status, wrapper::NotesMessage(status));
        return false;
    }
    if (closeStatus != 0) {
        Fail(closeStatus, "NSFDbClose error");
        return false;
    }
    return true;
}

bool NotesServerBrowser::AddressBooks(std::vector<std::string> &files) {
    files.clear();
    m_lastStatus = 0;
    m_lastError.clear();
    const NotesApiTable &fn = Api().fn;
    if (fn.NAMEGetAddressBooks == nullptr || fn.OSPathNetParse == nullptr) {
        Fail(wrapper::kMissingEntryPoint, wrapper::NotesMessage(wrapper::kMissingEntryPoint));
        return false;
    }
    WORD count = 0;
    WORD length = 0;
    DHANDLE buffer = kNullHandle;
    const STATUS status = fn.NAMEGetAddressBooks("", 0, &count, &length, &buffer);
    if (status != 0) {
        if (buffer != kNullHandle) {
            fn.OSMemFree(buffer);
        }
        Fail(status, wrapper::NotesMessage(status));
        return false;
    }
    if (buffer == kNullHandle) {
        return true;
    }
    const char *data = static_cast<const char *>(fn.OSLockObject(buffer));
    std::size_t offset = 0;
    for (WORD i = 0; data != nullptr && i < count && offset < length; ++i) {
        const char *start = data + offset;
        const void *end = std::memchr(start, '\0', length - offset);
        const std::size_t pathLength =
            end != nullptr ? static_cast<const char *>(end) - start : length - offset;
        offset += pathLength + 1;
        // A path longer than the runtime's buffers cannot be parsed safely.
        if (pathLength == 0 || pathLength >= kMaxPath) {
            continue;
        }
        const std::string path(start, pathLength);
        char file[kMaxPath + 1] = {};
        if (fn.OSPathNetParse(path.c_str(), nullptr, nullptr, file) != 0) {
            continue;
        }
        file[kMaxPath] = '\0';
        files.push_back(wrapper::FromLmbcs(file, std::strlen(file)));
    }
    if (data != nullptr) {
        fn.OSUnlockObject(buffer);
    }
    fn.OSMemFree(buffer);
    return true;
}

bool NotesServerBrowser::SavedServers(std::vector<std::string> &servers) {
    servers.clear();
    std::vector<std::string> books;
    if (!AddressBooks(books)) {
        return false;
    }
    const NotesApiTable &fn = Api().fn;
    for (const std::string &book : books) {
        NotesDatabase database(std::string(), book);
        if (!database.IsOpen()) {
            continue;
        }
        std::unique_ptr<NotesView> locations = database.OpenView(kLocationsView);
        if (!locations) {
            continue;
        }
        for (NOTEID id = locations->First(); id != 0; id = locations->Next()) {
            NotesNote note;
            if (!note.Open(database.Handle(), id, false)) {
                continue;
            }
            const WORD entries = fn.NSFItemGetTextListEntries(note.Handle(), kSavedServersItem);
            for (WORD i = 0; i < entries; ++i) {
                char name[kMaxUserName + 1] = {};
                const WORD length =
                    fn.NSFItemGetTextListEntry(note.Handle(), kSavedServersItem, i, name, kMaxUserName);
                const std::string server =
                    wrapper::FromLmbcs(name, std::min<std::size_t>(length, kMaxUserName));
                if (server.empty() || std::find(servers.begin(), servers.end(), server) != servers.end()) {
                    continue;
                }
                servers.push_back(server);
            }
        }
    }
    return true;
}

}  // namespace notes
