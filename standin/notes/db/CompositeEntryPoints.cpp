// Composite-data entry points: the record walk of a composite value (EnumCompositeBuffer) and the
// packed-structure services ODSLength and ODSReadMemory.
#include <cstring>
#include <string>

#include "../Export.h"
#include "../Runtime.h"
#include "cd/CdStatus.h"
#include "cd/Ods.h"
#include "cd/Records.h"

using namespace standin;

namespace {

const MessageEntry kCompositeMessages[] = {
    {kStsCompositeTruncated, "The rich text is damaged: a record runs past the end of the item"},
    {kStsCompositeDamaged, "The rich text is damaged: a record is shorter than its header"},
    {kStsBitmapInvalid, "The bitmap records are not valid"},
    {kStsBitmapIncomplete, "The bitmap is incomplete: its header or segments are missing"},
    {kStsCompoundClosed, "The compound text is closed or was never created"},
    {kStsTempFileFailed, "Unable to create a temporary file"},
    {kStsCdFileUnreadable, "The composite-data file cannot be read"},
    {kStsRtfWriteFailed, "Unable to write the RTF file"},
    {kStsItemNotText, "The item is not a text item"},
};
const MessageRegistrar kComposite(kCompositeMessages,
                                  sizeof(kCompositeMessages) / sizeof(kCompositeMessages[0]));

}  // namespace

extern "C" {

NOTES_EXPORT STATUS EnumCompositeBuffer(BLOCKID value, DWORD valueLen, ActionRoutinePtr action, void *ctx) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("EnumCompositeBuffer")) {
        return s;
    }
    if (action == nullptr) {
        return kStsBadArgument;
    }
    MemoryBlock *block = Handles::Lockable(value.pool);
    if (block == nullptr) {
        return kStsInvalidHandle;
    }
    if (value.block > block->bytes.size() || valueLen > block->bytes.size() - value.block) {
        Diagnostic("EnumCompositeBuffer: the value runs past its memory block");
        return kStsCompositeTruncated;
    }
    if (valueLen < 2 ||
        cd::Word(std::string_view(block->bytes.data() + value.block, valueLen), 0) != notes::kTypeComposite) {
        return notes::kErrDataType;
    }
    // The action routine may call back into the runtime, even free the block: walk a copy.
    std::string records(block->bytes.data() + value.block + 2, valueLen - 2);
    STATUS result = 0;
    cd::WalkEnd end = cd::WalkRecords(records, [&](const cd::Record &r) {
        result = action(records.data() + r.offset, r.signature, r.length, ctx);
        return result == 0;
    });
    switch (end) {
        case cd::WalkEnd::Stopped:
            return result;
        case cd::WalkEnd::Truncated:
            return kStsCompositeTruncated;
        case cd::WalkEnd::Damaged:
            return kStsCompositeDamaged;
        default:
            return 0;
    }
}

NOTES_EXPORT WORD ODSLength(WORD odsType) {
    ApiLock lock(ApiMutex());
    if (EnterCall("ODSLength") != 0) {
        return 0;
    }
    WORD n = cd::OdsPackedLength(odsType);
    if (n == 0) {
        Diagnostic("ODSLength: ODS type " + std::to_string(odsType) + " is not served");
    }
    return n;
}

NOTES_EXPORT void ODSReadMemory(void *ppSrc, WORD odsType, void *dest, WORD count) {
    ApiLock lock(ApiMutex());
    if (EnterCall("ODSReadMemory") != 0 || ppSrc == nullptr || dest == nullptr) {
        return;
    }
    WORD packed = cd::OdsPackedLength(odsType);
    if (packed == 0) {
        Diagnostic("ODSReadMemory: ODS type " + std::to_string(odsType) + " is not served");
        return;
    }
    const unsigned char *src = *static_cast<const unsigned char **>(ppSrc);
    unsigned char *out = static_cast<unsigned char *>(dest);
    for (WORD i = 0; i < count; ++i) {
        (void)cd::OdsRead(src, odsType, out);
        src += packed;
        out += cd::OdsHostSize(odsType);
    }
    *static_cast<const unsigned char **>(ppSrc) = src;
}

}  // extern "C"
