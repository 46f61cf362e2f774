// The export log writer and the texts of the lines an export run writes.
#include "LogManager.h"

#include <cstdio>
#include <ctime>

#include "platform/CodePage.h"

namespace logging {

namespace {

// The first maxChars code points of UTF-8 text (a broken sequence counts its bytes one by one).
std::string FirstCharacters(const std::string &text, std::size_t maxChars) {
    std::size_t chars = 0;
    std::size_t pos = 0;
    while (pos < text.size() && chars < maxChars) {
        ++pos;
        while (pos < text.size() && (static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) {
            ++pos;
        }
        ++chars;
    }
    return text.substr(0, pos);
}

// The bytes a text-mode file receives: every line feed becomes CR LF.
std::string WithCrLf(const std::string &bytes) {
    std::string out;
    out.reserve(bytes.size() + 8);
    for (const char c : bytes) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

}  // namespace

void LogManager::Configure(bool enabled, int level, int openMode, const std::string &fileName,
                           const std::string &fieldName) {
    m_enabled = enabled;
    m_level = level;
    m_openMode = openMode;
    m_fileName = fileName;
    m_fieldName = fieldName;
    m_lastError.clear();
}

bool LogManager::Open() {
    m_lastError.clear();
    if (!m_enabled) {
        return true;
    }
    if (!m_file.Open(m_fileName, m_openMode == kLogOpenNew ? platform::OutputMode::kTruncate
                                                           : platform::OutputMode::kAppend)) {
        m_lastError = OpenFailureText(m_fileName);
        if (m_file.Failure() != platform::OutputFailure::kOpen) {
            m_lastError += ": " + m_file.ErrorText();
        }
        return false;
    }
    return true;
}

bool LogManager::Close() {
    if (!m_file.IsOpen()) {
        return true;
    }
    if (m_file.Failure() != platform::OutputFailure::kNone) {
        m_file.Abandon();  // the write that failed has said so already
        return true;
    }
    if (!m_file.Commit()) {
        m_lastError = WriteFailureText(m_fileName, m_file.ErrorText());
        return false;
    }
    return true;
}

bool LogManager::Write(const std::string &line, int level, bool startNewFile) {
    m_lastError.clear();
    if (!Accepts(level)) {
        return false;
    }
    const std::string bytes = WithCrLf(platform::Utf8ToAnsi(line));
    if (m_file.IsOpen()) {
        if (!m_file.Write(bytes)) {
            m_lastError = WriteFailureText(m_fileName, m_file.ErrorText());
            return false;
        }
        return true;
    }
    platform::OutputFile file;
    if (!file.Open(m_fileName,
                   startNewFile ? platform::OutputMode::kTruncate : platform::OutputMode::kAppend)) {
        m_lastError = OpenFailureText(m_fileName);
        return false;
    }
    if (!file.Write(bytes) || !file.Commit()) {
        m_lastError = WriteFailureText(m_fileName, file.ErrorText());
        return false;
    }
    return true;
}

bool LogManager::WriteBegin(int hour, int minute, int second) {
    return Write(BeginExportLine(hour, minute, second), kLogLevelLow,
                 m_openMode == kLogOpenNew && !m_file.IsOpen());
}

bool LogManager::WriteBegin() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return WriteBegin(local.tm_hour, local.tm_min, local.tm_sec);
}

std::string LogManager::BeginExportLine(int hour, int minute, int second) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "Begin export at %2d:%2d:%2d\n", hour, minute, second);
    return buffer;
}

std::string LogManager::ExportingViewLine(const std::string &viewName) {
    return "..Exporting view/folder:" + viewName + "\n";
}

std::string LogManager::ScanningViewLine(const std::string &viewName) {
    return "Scanning Views. View: " + viewName + "\n";
}

std::string LogManager::ScanningFolderLine(const std::string &folderName) {
    return "Scanning Folders. Folder: " + folderName + "\n";
}

std::string LogManager::ProcessingDocumentLine(int count) {
    return "....Processing document: " + std::to_string(count) + "\n";
}

std::string LogManager::ProcessedDocumentLine(int count, const std::string &fieldValue) {
    std::string cleaned;
    cleaned.reserve(fieldValue.size());
    for (const char c : fieldValue) {
        if (c != '\n' && c != '\r' && c != '\f') {
            cleaned += c;
        }
    }
    return "....Processed document: " + std::to_string(count) + " [" +
           FirstCharacters(cleaned, kLogFieldValueMaxChars) + "]\n";
}

std::string LogManager::ProcessedDocumentLineWithoutField(int count) {
    return "....Processed document: " + std::to_string(count) + "\n";
}

bool LogManager::IsNoFieldName(const std::string &fieldName) {
    return !fieldName.empty() && fieldName[0] == '[';
}

std::string LogManager::OpenFailureText(const std::string &fileName) {
    return "Unable to create or open log file \"" + fileName + "\"";
}

std::string LogManager::WriteFailureText(const std::string &fileName, const std::string &reason) {
    return "Unable to write to log file \"" + fileName + "\": " + reason;
}

std::string LogManager::CancelledLine(const std::string &text) {
    return text + "\n";
}

}  // namespace logging
