// Reading and writing single values of INI files on disk through IniDocument.
#include "IniFile.h"

#include <mutex>
#include <utility>

#include "IniDocument.h"
#include "Paths.h"

namespace platform {

namespace {

thread_local std::string t_lastIniError;

// Serialises read-modify-write cycles of this process so that two writers never lose a value.
std::mutex &WriteMutex() {
    static std::mutex mutex;
    return mutex;
}

// The first maxChars code points of UTF-8 text (a byte that is not a continuation byte starts one).
std::string CutToCharacters(const std::string &text, std::size_t maxChars) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (continuation) {
            continue;
        }
        if (count == maxChars) {
            return text.substr(0, i);
        }
        ++count;
    }
    return text;
}

}  // namespace

std::string ReadIniValue(const std::string &path, const std::string &section, const std::string &key,
                         std::size_t maxChars) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        return {};
    }
    const IniDocument document(std::move(bytes));
    const auto value = document.Value(section, key);
    return value ? CutToCharacters(*value, maxChars) : std::string();
}

bool WriteIniValue(const std::string &path, const std::string &section, const std::string &key,
                   const std::string &value, bool ownerOnly) {
    const std::lock_guard<std::mutex> lock(WriteMutex());
    std::string bytes;
    if (!ReadWholeFile(path, bytes) && FileExists(path)) {
        t_lastIniError = LastFileError();
        return false;
    }
    IniDocument document(std::move(bytes));
    if (!document.SetValue(section, key, value)) {
        t_lastIniError = document.LastError();
        return false;
    }
    if (!WriteFileAtomically(path, document.Bytes(), ownerOnly)) {
        t_lastIniError = LastFileError();
        return false;
    }
    t_lastIniError.clear();
    return true;
}

const std::string &LastIniError() {
    return t_lastIniError;
}

}  // namespace platform
