// The export log: one line at a time appended to (or starting) a single-byte text file, opened and
// closed for every line so the file is complete after each one.
#pragma once

#include <cstddef>
#include <string>

#include "platform/OutputFile.h"

namespace logging {

// Log levels (LogLevel): a line of level n is written when n is at most the configured level.
constexpr int kLogLevelLow = 0;
constexpr int kLogLevelMedium = 1;
constexpr int kLogLevelHigh = 2;

// Open modes (LogOpenMode).
constexpr int kLogOpenNew = 0;
constexpr int kLogOpenAppend = 1;

// At most this many characters of the identifying field's value go into a processed line.
constexpr std::size_t kLogFieldValueMaxChars = 40;

class LogManager {
public:
    LogManager() = default;
    LogManager(const LogManager &) = delete;
    LogManager &operator=(const LogManager &) = delete;

    // Takes the profile's LogExport, LogLevel, LogOpenMode, LogFileName and LogFieldName.
    void Configure(bool enabled, int level, int openMode, const std::string &fileName,
                   const std::string &fieldName);

    bool Enabled() const { return m_enabled; }
    int Level() const { return m_level; }
    int OpenMode() const { return m_openMode; }
    const std::string &FileName() const { return m_fileName; }
    const std::string &FieldName() const { return m_fieldName; }

    // Opens the file for a run (when enabled) and holds it, locked against another run, until Close:
    // emptied first when OpenMode() is kLogOpenNew. Never follows a symbolic link at the name and
    // refuses anything but a regular file. On failure LastError() is OpenFailureText() and, for a
    // refused name, the reason after ": ".
    [[nodiscard]] bool Open();
    // Releases the file held by Open; false when closing it failed (LastError() says why).
    [[nodiscard]] bool Close();
    bool IsOpen() const { return m_file.IsOpen(); }

    // Writes line (UTF-8; the caller supplies its "\n") when enabled and level <= Level(), converted
    // to the ANSI code page with every line feed written as CR LF; each line is in the file when this
    // returns. Without Open the file is opened for the line (truncated when startNewFile is set,
    // appended to otherwise) and closed again. False when nothing was written: disabled, level too
    // high (LastError() empty), or the file could not be opened or written (LastError() says why).
    [[nodiscard]] bool Write(const std::string &line, int level, bool startNewFile = false);
    // True when Write would write a line of this level.
    bool Accepts(int level) const { return m_enabled && level <= m_level; }

    // The run's first line: written at level 0, starting a new file when OpenMode() is kLogOpenNew
    // (unless Open already did).
    // False when it could not be written (the run then fails with OpenFailureText()).
    [[nodiscard]] bool WriteBegin(int hour, int minute, int second);
    // The same with the local time of now.
    [[nodiscard]] bool WriteBegin();

    // Why the last Write failed ("" after a success or a filtered line).
    const std::string &LastError() const { return m_lastError; }

    // The lines of an export run, each ending in "\n": "Begin export at %2d:%2d:%2d\n",
    // "..Exporting view/folder:" + name, "Scanning Views. View: " + name, "Scanning Folders. Folder: " +
    // name and "....Processing document: %d\n".
    static std::string BeginExportLine(int hour, int minute, int second);
    static std::string ExportingViewLine(const std::string &viewName);
    static std::string ScanningViewLine(const std::string &viewName);
    static std::string ScanningFolderLine(const std::string &folderName);
    static std::string ProcessingDocumentLine(int count);
    // "....Processed document: %d [%s]\n" with fieldValue stripped of "\n", "\r" and form feeds and cut
    // to kLogFieldValueMaxChars characters.
    static std::string ProcessedDocumentLine(int count, const std::string &fieldValue);
    // "....Processed document: %d\n", for a LogFieldName that begins with "[" ("[none]").
    static std::string ProcessedDocumentLineWithoutField(int count);
    // True when the identifying field is the option "[none]" (any name beginning with "[").
    static bool IsNoFieldName(const std::string &fieldName);

    // "Unable to create or open log file " followed by the file name in double quotes.
    static std::string OpenFailureText(const std::string &fileName);
    // "Unable to write to log file " followed by the file name in double quotes, ": " and the reason.
    static std::string WriteFailureText(const std::string &fileName, const std::string &reason);
    // The line that records a cancel: the run's cancel text on a line of its own.
    static std::string CancelledLine(const std::string &text);

private:
    bool m_enabled = false;
    int m_level = kLogLevelLow;
    int m_openMode = kLogOpenNew;
    std::string m_fileName;
    std::string m_fieldName = "Subject";
    std::string m_lastError;
    platform::OutputFile m_file;
};

}  // namespace logging
