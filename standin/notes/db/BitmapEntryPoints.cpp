// Notes bitmap conversion: ConvertNotesBitmapRead collects the bitmap records in a context,
// ConvertNotesBitmap writes it as a GIF to the caller's writer in chunks, ConvertNotesBitmapFree ends it.
#include <string>

#include "../Export.h"
#include "../Runtime.h"
#include "cd/CdStatus.h"
#include "cd/Image.h"

using namespace standin;

namespace {

// A bitmap being collected; a memory handle so that the counters show one left behind.
class BitmapContext : public MemoryBlock {
public:
    BitmapContext() : MemoryBlock(0) {}
    cd::NotesBitmap bitmap;
};

BitmapContext *FindContext(MEMHANDLE handle) {
    return dynamic_cast<BitmapContext *>(Handles::Memory(handle));
}

}  // namespace

extern "C" {

NOTES_EXPORT STATUS ConvertNotesBitmapRead(MEMHANDLE *ctx, WORD signature, char *record, DWORD len) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("ConvertNotesBitmapRead")) {
        return s;
    }
    if (ctx == nullptr || record == nullptr) {
        return kStsBadArgument;
    }
    BitmapContext *context = nullptr;
    bool created = false;
    if (*ctx == 0) {
        auto fresh = std::make_unique<BitmapContext>();
        context = fresh.get();
        *ctx = Handles::Add(std::move(fresh));
        created = true;
    } else {
        context = FindContext(*ctx);
        if (context == nullptr) {
            return kStsInvalidHandle;
        }
    }
    std::string problem;
    if (!context->bitmap.Add(signature, std::string_view(record, len), problem)) {
        Diagnostic("ConvertNotesBitmapRead: " + problem);
        if (created) {
            // A context made by this call goes away with its failure: the caller holds nothing.
            Handles::Remove(*ctx, HandleKind::Memory);
            *ctx = 0;
        }
        return kStsBitmapInvalid;
    }
    return 0;
}

NOTES_EXPORT STATUS ConvertNotesBitmap(MEMHANDLE ctx, WORD to, DWORD maxChunk, pConvertNBmpWriter writer,
                                       void *writerCtx) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("ConvertNotesBitmap")) {
        return s;
    }
    BitmapContext *context = FindContext(ctx);
    if (context == nullptr) {
        return kStsInvalidHandle;
    }
    if (to != 0 || writer == nullptr) {
        return kStsBadArgument;  // GIF is the only target
    }
    cd::Image image;
    std::string problem;
    if (!context->bitmap.Decode(image, problem)) {
        Diagnostic("ConvertNotesBitmap: " + problem);
        return kStsBitmapIncomplete;
    }
    std::string gif;
    if (!cd::EncodeGif(image, gif)) {
        return kStsBitmapInvalid;
    }
    std::size_t chunk = maxChunk == 0 ? gif.size() : maxChunk;
    for (std::size_t at = 0; at < gif.size(); at += chunk) {
        std::size_t n = std::min(chunk, gif.size() - at);
        STATUS s = writer(writerCtx, reinterpret_cast<BYTE *>(gif.data() + at), static_cast<DWORD>(n),
                          static_cast<DWORD>(gif.size()));
        if (s != 0) {
            return s;
        }
    }
    return 0;
}

NOTES_EXPORT STATUS ConvertNotesBitmapFree(MEMHANDLE *ctx) {
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("ConvertNotesBitmapFree")) {
        return s;
    }
    if (ctx == nullptr || FindContext(*ctx) == nullptr) {
        return kStsInvalidHandle;
    }
    Handles::Remove(*ctx, HandleKind::Memory);
    *ctx = 0;
    return 0;
}

}  // extern "C"
