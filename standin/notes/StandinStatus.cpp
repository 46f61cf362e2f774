// The message table of OSLoadString.
#include "StandinStatus.h"

#include <map>
#include <mutex>

namespace standin {

namespace {

std::mutex &TableMutex() {
    static std::mutex m;
    return m;
}

std::map<STATUS, std::string> &Table() {
    static std::map<STATUS, std::string> table;
    return table;
}

const MessageEntry kCoreMessages[] = {
    {1, "Release 9.0.1FP10|November 11, 2017"},
    {notes::kErrItemNotFound, "Note item not found"},
    {notes::kErrNoteDeleted, "Document has been deleted"},
    {notes::kErrNoAccess, "You are not authorized to perform that operation"},
    {notes::kErrNoteNotSigned, "Document is not signed."},
    {notes::kErrEmContinue, "Extension Manager: continue processing"},
    {notes::kErrNotFound, "Entry not found in index"},
    {notes::kErrDataType, "Invalid data type for this operation"},
    {notes::kErrOdsTextTooBig, "Text is too big"},
    {notes::kErrOdsEnumComplete, "Enumeration complete"},
    {notes::kErrBsafeUserAbort, "Operation stopped at your request"},
    {notes::kErrBsafeExternalPassword, "Password supplied by an extension"},
    {notes::kErrBsafePasswordRequired, "A password is required for this ID file"},
    {kStsNotImplemented, "This function is not implemented by the stand-in Notes runtime"},
    {kStsNotInitialized, "The Notes runtime has not been initialized"},
    {kStsInvalidHandle, "Invalid handle"},
    {kStsIniUnreadable, "Unable to read the Notes configuration file"},
    {kStsIdFileMissing, "The ID file named in the Notes configuration file could not be found"},
    {kStsFormulaNotSupported, "Formula not supported by the stand-in Notes runtime"},
    {kStsBadArgument, "Invalid argument"},
    {kStsOutOfMemory, "Insufficient memory"},
    {kStsFaultInjected, "Simulated failure"},
};

const MessageRegistrar kCore(kCoreMessages, sizeof(kCoreMessages) / sizeof(kCoreMessages[0]));

}  // namespace

MessageRegistrar::MessageRegistrar(const MessageEntry *entries, std::size_t count) {
    std::lock_guard<std::mutex> lock(TableMutex());
    for (std::size_t i = 0; i < count; ++i) {
        Table()[notes::Err(entries[i].code)] = entries[i].text;
    }
}

std::string MessageText(STATUS code) {
    std::lock_guard<std::mutex> lock(TableMutex());
    auto it = Table().find(notes::Err(code));
    return it == Table().end() ? std::string() : it->second;
}

void SetReleaseText(const std::string &text) {
    std::lock_guard<std::mutex> lock(TableMutex());
    Table()[1] = text;
}

}  // namespace standin
