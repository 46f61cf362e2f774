// Memory handles: OSLockObject, OSUnlockObject and OSMemFree over the handle registry.
#include "CoreStatus.h"
#include "Export.h"
#include "IdTable.h"
#include "Runtime.h"

using namespace standin;

namespace {

const MessageEntry kMemoryMessages[] = {
    {kStsMemoryLocked, "Memory is still locked; unlock it before freeing it"},
};
const MessageRegistrar kMemory(kMemoryMessages, sizeof(kMemoryMessages) / sizeof(kMemoryMessages[0]));

}  // namespace

extern "C" {

NOTES_EXPORT void *OSLockObject(DHANDLE handle) {
    ApiLock lock(ApiMutex());
    if (EnterCall("OSLockObject") != 0) {
        return nullptr;
    }
    MemoryBlock *block = Handles::Lockable(handle);
    if (block == nullptr) {
        Diagnostic("OSLockObject: handle " + std::to_string(handle) + " names no memory");
        return nullptr;
    }
    if (block->bytes.empty()) {
        // Even an empty block has an address of its own.
        block->bytes.reserve(1);
    }
    ++block->locks;
    return block->bytes.data();
}

NOTES_EXPORT BOOL OSUnlockObject(DHANDLE handle) {
    ApiLock lock(ApiMutex());
    if (EnterCall("OSUnlockObject") != 0) {
        return 0;
    }
    MemoryBlock *block = Handles::Lockable(handle);
    if (block == nullptr || block->locks == 0) {
        Diagnostic("OSUnlockObject: handle " + std::to_string(handle) + " is not locked");
        return 0;
    }
    --block->locks;
    return 1;
}

NOTES_EXPORT STATUS OSMemFree(DHANDLE handle) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("OSMemFree")) {
        return s;
    }
    if (FindIdTable(handle) != nullptr) {
        Handles::Remove(handle, HandleKind::IdTable);
        return notes::kNoError;
    }
    MemoryBlock *block = Handles::Lockable(handle);
    if (block == nullptr) {
        Diagnostic("OSMemFree: handle " + std::to_string(handle) + " names no memory");
        return kStsInvalidHandle;
    }
    if (block->locks > 0) {
        Diagnostic("OSMemFree: handle " + std::to_string(handle) + " is still locked");
        return kStsMemoryLocked;
    }
    Handles::Remove(handle, block->Kind());
    return notes::kNoError;
}

}  // extern "C"
