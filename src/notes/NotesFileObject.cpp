// Reading file-object headers and walking a note's "$FILE" items.
#include "NotesFileObject.h"

#include "NoteItemWalk.h"
#include "NotesNote.h"
#include "NotesWrapperSupport.h"
#include "capi/CompositeRecords.h"

namespace notes {

namespace {

constexpr char kFileItem[] = "$FILE";
constexpr std::size_t kTypeWord = 2;  // the value's type word before the object

}  // namespace

bool IsNonFileHost(WORD hostType) {
    return hostType == kHostOle || hostType == kHostOleLib || hostType == kHostByteArrayExt ||
           hostType == kHostByteArrayPage;
}

bool FileObjectHeader::IsFile() const {
    return !IsNonFileHost(hostType);
}

bool ReadFileObjectHeader(const char *value, DWORD valueLength, FileObjectHeader &header) {
    if (value == nullptr || valueLength < kTypeWord + cd::kFileObjectSize ||
        wrapper::ReadWord(value, 0) != kTypeObject ||
        wrapper::ReadWord(value, kTypeWord + cd::kFileObjectType) != kObjectFile) {
        return false;
    }
    const char *object = value + kTypeWord;
    const WORD nameLength = wrapper::ReadWord(object, cd::kFileNameLength);
    if (kTypeWord + cd::kFileName + nameLength > valueLength) {
        return false;
    }
    header.hostType = wrapper::ReadWord(object, cd::kFileHostType);
    header.compression = wrapper::ReadWord(object, cd::kFileCompression);
    header.attributes = wrapper::ReadWord(object, cd::kFileAttributes);
    header.flags = wrapper::ReadWord(object, cd::kFileFlags);
    header.size = wrapper::ReadDword(object, cd::kFileSize);
    header.created = {
        {wrapper::ReadDword(object, cd::kFileCreated), wrapper::ReadDword(object, cd::kFileCreated + 4)}};
    header.modified = {
        {wrapper::ReadDword(object, cd::kFileModified), wrapper::ReadDword(object, cd::kFileModified + 4)}};
    header.storedName = wrapper::FromLmbcs(object + cd::kFileName, nameLength);
    return true;
}

void ForEachFileObject(const NotesNote &note,
                       const std::function<bool(BLOCKID item, const FileObjectHeader &header)> &visit) {
    (void)ForEachLockedItemOfName(note, kFileItem, [&](const ItemOfName &at, const char *value) {
        FileObjectHeader header;
        return !ReadFileObjectHeader(value, at.valueLength, header) || visit(at.item, header);
    });
}

}  // namespace notes
