// The API lock, fault injection, diagnostics, handle registry and the control entry points.
#include "Runtime.h"

#include <cstring>
#include <string_view>
#include <unordered_map>

namespace standin {

namespace {

struct Fault {
    DWORD nth = 0;  // fails when the call count reaches this
    STATUS status = 0;
    bool every = false;
};

// Call counts and faults by entry-point name. Every entry point passes through EnterCall once per
// call, so its counter is found by the address of the caller's name literal, and by name only on the
// first call from that place; the counters are never removed, so the addresses stay valid.
struct FaultState {
    std::map<std::string, DWORD, std::less<>> calls;
    std::unordered_map<const char *, DWORD *> counters;
    std::map<std::string, Fault, std::less<>> faults;
    std::string diagnostics;
};

FaultState &State() {
    static FaultState state;
    return state;
}

struct Registry {
    DHANDLE next = 1;
    std::map<DHANDLE, std::unique_ptr<HandleObject>> objects;
};

Registry &Reg() {
    static Registry reg;
    return reg;
}

}  // namespace

std::recursive_mutex &ApiMutex() {
    static std::recursive_mutex m;
    return m;
}

STATUS EnterCall(const char *entryPoint) {
    ApiLock lock(ApiMutex());
    FaultState &st = State();
    DWORD *&counter = st.counters[entryPoint];
    if (counter == nullptr) {
        counter = &st.calls.try_emplace(std::string(entryPoint), 0).first->second;
    }
    const DWORD count = ++*counter;
    if (st.faults.empty()) {
        return 0;
    }
    auto it = st.faults.find(std::string_view(entryPoint));
    if (it == st.faults.end()) {
        return 0;
    }
    const Fault &f = it->second;
    if (count == f.nth || (f.every && count > f.nth)) {
        return f.status;
    }
    return 0;
}

void Diagnostic(const std::string &line) {
    ApiLock lock(ApiMutex());
    State().diagnostics += line;
    State().diagnostics += '\n';
}

DHANDLE Handles::Add(std::unique_ptr<HandleObject> object) {
    ApiLock lock(ApiMutex());
    Registry &r = Reg();
    DHANDLE h = r.next++;
    if (r.next == 0) {
        r.next = 1;
    }
    r.objects[h] = std::move(object);
    return h;
}

HandleObject *Handles::Find(DHANDLE handle, HandleKind kind) {
    ApiLock lock(ApiMutex());
    auto it = Reg().objects.find(handle);
    if (it == Reg().objects.end() || it->second->Kind() != kind) {
        return nullptr;
    }
    return it->second.get();
}

bool Handles::Remove(DHANDLE handle, HandleKind kind) {
    ApiLock lock(ApiMutex());
    auto it = Reg().objects.find(handle);
    if (it == Reg().objects.end() || it->second->Kind() != kind) {
        return false;
    }
    Reg().objects.erase(it);
    return true;
}

HandleObject *Handles::FindAny(DHANDLE handle) {
    ApiLock lock(ApiMutex());
    auto it = Reg().objects.find(handle);
    return it == Reg().objects.end() ? nullptr : it->second.get();
}

MemoryBlock *Handles::Lockable(DHANDLE handle) {
    return dynamic_cast<MemoryBlock *>(FindAny(handle));
}

std::size_t Handles::Count(HandleKind kind) {
    ApiLock lock(ApiMutex());
    std::size_t n = 0;
    for (const auto &[h, obj] : Reg().objects) {
        n += obj->Kind() == kind ? 1 : 0;
    }
    return n;
}

std::size_t Handles::LockedCount() {
    ApiLock lock(ApiMutex());
    std::size_t n = 0;
    for (const auto &[h, obj] : Reg().objects) {
        if (const auto *block = dynamic_cast<const MemoryBlock *>(obj.get())) {
            n += static_cast<std::size_t>(block->locks);
        }
    }
    return n;
}

DHANDLE Handles::AllocMemory(std::size_t size) {
    return Add(std::make_unique<MemoryBlock>(size));
}

DHANDLE Handles::AllocMemory(const void *data, std::size_t size) {
    auto block = std::make_unique<MemoryBlock>(size);
    if (size > 0) {
        std::memcpy(block->bytes.data(), data, size);
    }
    return Add(std::move(block));
}

ExtraCounters &Extra() {
    static ExtraCounters extra;
    return extra;
}

}  // namespace standin

using namespace standin;

extern "C" {

NOTES_EXPORT void StandinSetFault(const char *entryPoint, DWORD nth, STATUS status, BOOL every) {
    ApiLock lock(ApiMutex());
    if (entryPoint == nullptr || *entryPoint == '\0') {
        State().faults.clear();
        return;
    }
    Fault f;
    f.nth = State().calls[entryPoint] + nth;
    f.status = status;
    f.every = every != 0;
    State().faults[entryPoint] = f;
}

NOTES_EXPORT void StandinClearFaults(void) {
    ApiLock lock(ApiMutex());
    State().faults.clear();
}

NOTES_EXPORT DWORD StandinCallCount(const char *entryPoint) {
    ApiLock lock(ApiMutex());
    auto it = State().calls.find(entryPoint ? entryPoint : "");
    return it == State().calls.end() ? 0 : it->second;
}

NOTES_EXPORT void StandinGetCounters(StandinCounters *counters) {
    if (counters == nullptr) {
        return;
    }
    ApiLock lock(ApiMutex());
    counters->databases = static_cast<DWORD>(Handles::Count(HandleKind::Database));
    counters->notes = static_cast<DWORD>(Handles::Count(HandleKind::Note));
    counters->collections = Extra().collections;
    counters->memory =
        static_cast<DWORD>(Handles::Count(HandleKind::Memory) + Handles::Count(HandleKind::Formula) +
                           Handles::Count(HandleKind::ItemDefTable) + Handles::Count(HandleKind::IdTable));
    counters->locks = static_cast<DWORD>(Handles::LockedCount());
    counters->computes = Extra().computes;
    counters->registrations = Extra().registrations;
}

NOTES_EXPORT DWORD StandinDiagnostics(char *buf, DWORD len) {
    ApiLock lock(ApiMutex());
    const std::string &d = State().diagnostics;
    if (buf != nullptr && len > 0) {
        std::size_t n = std::min<std::size_t>(d.size(), len - 1);
        std::memcpy(buf, d.data(), n);
        buf[n] = '\0';
    }
    return static_cast<DWORD>(d.size());
}

NOTES_EXPORT DHANDLE StandinAllocMemory(const void *data, DWORD size) {
    ApiLock lock(ApiMutex());
    if (data == nullptr && size != 0) {
        return 0;
    }
    return Handles::AllocMemory(data, size);
}

NOTES_EXPORT void StandinClearDiagnostics(void) {
    ApiLock lock(ApiMutex());
    State().diagnostics.clear();
}

}  // extern "C"
