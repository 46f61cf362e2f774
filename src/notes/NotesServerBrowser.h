// Server directory browsing, the local address books and the servers saved in the user's locations.
#pragma once

#include <string>
#include <vector>

#include "NotesDirectoryEntry.h"
#include "capi/NotesTypes.h"

namespace notes {

class NotesServerBrowser {
public:
    // Lists one directory of a server (empty server: the local data directory; empty directory: its
    // top): the sub-directories and the databases, in the order Notes reports them.
    [[nodiscard]] bool BrowseServer(const std::string &server, const std::string &directory,
                                    std::vector<NotesDirectoryEntry> &directories,
                                    std::vector<NotesDirectoryEntry> &databases);
    // The file names of the local address books.
    [[nodiscard]] bool AddressBooks(std::vector<std::string> &files);
    // The server names in the "$SavedServers" lists of the local address books' locations, each once.
    [[nodiscard]] bool SavedServers(std::vector<std::string> &servers);

    STATUS LastStatus() const { return m_lastStatus; }
    const std::string &LastError() const { return m_lastError; }

private:
    void Fail(STATUS status, std::string text);

    STATUS m_lastStatus = 0;
    std::string m_lastError;
};

}  // namespace notes
