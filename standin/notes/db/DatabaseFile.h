// A DXL database file loaded into memory, shared by every handle open on it; written back
// atomically when its last handle closes after a change.
#pragma once

#include <memory>
#include <string>

#include "../Export.h"
#include "dxl/Database.h"

namespace standin {

class DatabaseFile {
public:
    std::string path;  // absolute
    dxl::Database db;
    bool modified = false;
    int handles = 0;

    // The shared in-memory database of that file, loaded on first use; null (status set) when the
    // file cannot be read or is not DXL.
    static std::shared_ptr<DatabaseFile> Acquire(const std::string &path, STATUS &status);
    // Drops a handle's share; the last one writes a modified database back. Returns the status of
    // writing (0 when nothing had to be written).
    static STATUS Release(const std::shared_ptr<DatabaseFile> &file);

    void MarkModified() { modified = true; }

private:
    STATUS Save();
    long long m_stampTime = 0;  // modification time (ns) and size when loaded, to detect other writers
    long long m_stampSize = 0;
};

}  // namespace standin
