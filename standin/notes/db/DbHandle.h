// What a database handle names: an open DXL database, or a directory opened for browsing.
#pragma once

#include <memory>
#include <string>

#include "../Runtime.h"
#include "DatabaseFile.h"

namespace standin {

class DbHandle : public HandleObject {
public:
    DbHandle() : HandleObject(HandleKind::Database) {}
    std::shared_ptr<DatabaseFile> file;  // null for a directory
    std::string directory;               // absolute, for a directory handle
    std::string server;                  // as given (LMBCS); empty for local
    std::string fileName;                // the path as given, relative to the server's directory
    std::string root;                    // the data directory it was resolved against
};

// The handle's object, or null.
inline DbHandle *FindDb(DBHANDLE handle) {
    return Handles::Get<DbHandle>(handle, HandleKind::Database);
}

}  // namespace standin
