// ID tables: sets of note IDs behind a handle of their own kind, counted with the memory handles.
#pragma once

#include "Runtime.h"
#include "common/IdSet.h"

namespace standin {

class IdTableObject : public HandleObject {
public:
    IdTableObject() : HandleObject(HandleKind::IdTable) {}
    IdSet ids;  // ascending, as IDScan walks them
};

// The table behind a handle, or null when the handle names no ID table.
inline IdTableObject *FindIdTable(DHANDLE handle) {
    return Handles::Get<IdTableObject>(handle, HandleKind::IdTable);
}

// A new table holding ids (for entry points that return one, such as the modified-note table).
inline DHANDLE NewIdTable(IdSet ids = {}) {
    auto table = std::make_unique<IdTableObject>();
    table->ids = std::move(ids);
    return Handles::Add(std::move(table));
}

}  // namespace standin
