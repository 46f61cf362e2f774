// Shared machinery of the stand-in runtime: the API lock, fault injection, diagnostics and the
// handle registry with its memory blocks.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "StandinStatus.h"

namespace standin {

// Every entry point holds this lock for its whole call. It is recursive because callbacks (search,
// item scan, Extension Manager) call back into the runtime on the same thread.
std::recursive_mutex &ApiMutex();
using ApiLock = std::lock_guard<std::recursive_mutex>;

// Counts the call and returns the injected failure status for it, or 0. Every entry point that can
// fail starts with: if (STATUS s = EnterCall("Name")) return s; the name must be a string that lives
// as long as the library (a literal): its address finds the counter.
STATUS EnterCall(const char *entryPoint);

// Records a diagnostic line (bad input that was skipped, and the like).
void Diagnostic(const std::string &line);

// The kinds of object a handle can name. Counters report open objects by kind.
enum class HandleKind { Memory, Database, Note, Formula, ItemDefTable, IdTable, Other };

// An object reachable through a DHANDLE.
class HandleObject {
public:
    explicit HandleObject(HandleKind kind) : m_kind(kind) {}
    virtual ~HandleObject() = default;
    HandleKind Kind() const { return m_kind; }

private:
    HandleKind m_kind;
};

// A memory block: OSLockObject gives its bytes; lock calls are counted. Blocks of another kind
// (a compiled formula, an item definition table) are lockable and freed by OSMemFree all the same.
class MemoryBlock : public HandleObject {
public:
    explicit MemoryBlock(std::size_t size, HandleKind kind = HandleKind::Memory)
        : HandleObject(kind), bytes(size) {}
    std::vector<char> bytes;
    int locks = 0;
};

// The registry of DHANDLE objects. Handles are never 0 and are not reused while the process lives,
// so a stale handle is detected instead of naming a new object.
class Handles {
public:
    static DHANDLE Add(std::unique_ptr<HandleObject> object);
    // The object, or null when the handle is unknown or of another kind.
    static HandleObject *Find(DHANDLE handle, HandleKind kind);
    template <typename T>
    static T *Get(DHANDLE handle, HandleKind kind) {
        return static_cast<T *>(Find(handle, kind));
    }
    static bool Remove(DHANDLE handle, HandleKind kind);
    // The object of any kind, or null.
    static HandleObject *FindAny(DHANDLE handle);
    // The memory block of any kind (what OSLockObject and OSMemFree accept), or null.
    static MemoryBlock *Lockable(DHANDLE handle);
    static std::size_t Count(HandleKind kind);
    static std::size_t LockedCount();

    // Memory helpers.
    static DHANDLE AllocMemory(std::size_t size);
    static DHANDLE AllocMemory(const void *data, std::size_t size);
    static MemoryBlock *Memory(DHANDLE handle) { return Get<MemoryBlock>(handle, HandleKind::Memory); }
};

// Extra counters kept by the modules that own such objects (collections use 16-bit handles of their
// own; computations and registrations are pointers and handles of their own).
struct ExtraCounters {
    DWORD collections = 0;
    DWORD computes = 0;
    DWORD registrations = 0;
};
ExtraCounters &Extra();

}  // namespace standin
