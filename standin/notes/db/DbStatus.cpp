// Messages of the database entry points.
#include "DbStatus.h"

#include "../Runtime.h"

namespace standin {

namespace {

const MessageEntry kDbMessages[] = {
    {kStsDbNotFound, "File does not exist"},
    {kStsDxlInvalid, "The database file is not valid DXL"},
    {kStsServerUnreachable, "Unable to find path to server"},
    {kStsDbChangedOnDisk,
     "The database file was changed by another program while it was open; changes were not saved"},
    {kStsDbWriteFailed, "Unable to write the database file"},
    {kStsNoteNotFound, "Invalid or nonexistent document"},
    {kStsCannotDecrypt,
     "You cannot decrypt this document: your ID does not hold the encryption key it was sealed with"},
    {kStsFileCreateFailed, "Unable to create the file"},
    {kStsNotAFileItem, "The item is not a file attachment"},
    {kStsOleObjectNotFound, "OLE object not found in the document"},
    {kStsIsDirectory, "The path names a directory, not a database"},
    {kStsPathTooLong, "The path is too long"},
    {kStsNotAViewNote, "The note is not a view or folder"},
    {kStsInvalidCollection, "Invalid collection handle"},
    {kStsNotAFolder, "The note is not a folder"},
};
const MessageRegistrar kDb(kDbMessages, sizeof(kDbMessages) / sizeof(kDbMessages[0]));

}  // namespace

STATUS FailWith(STATUS code, const std::string &text) {
    MessageEntry entry{code, text.c_str()};
    MessageRegistrar update(&entry, 1);
    Diagnostic(text);
    return code;
}

}  // namespace standin
