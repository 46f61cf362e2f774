// The CSV summary file of an export run: the header row of column titles and one row per document,
// in the encoding CharacterEncoding chooses, every row ended by CR LF.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "config/ExportSettings.h"

namespace exporter {

// CharacterEncoding values, as the settings define them.
using config::kEncodingAnsi;
using config::kEncodingUtf16;
using config::kEncodingUtf8;

// One value of a data row. Replacements (the control-character rules) apply to field and formula
// columns only, never to computed columns such as %Errors.
struct CsvCell {
    std::string value;  // UTF-8
    bool applyReplacements = false;
};

class CsvSummary {
public:
    explicit CsvSummary(int characterEncoding = kEncodingAnsi);
    ~CsvSummary();
    CsvSummary(const CsvSummary &) = delete;
    CsvSummary &operator=(const CsvSummary &) = delete;

    // 0 ANSI (the ANSI code page, unmappable characters become its substitute), 1 UTF-16 LE with a
    // byte-order mark, 2 UTF-8 without one. Any other value writes ANSI.
    void SetEncoding(int characterEncoding) { m_encoding = characterEncoding; }
    int Encoding() const { return m_encoding; }

    // Appends a (find, replace) pair; pairs apply in registration order, each to every occurrence.
    // An empty find text is refused with "Invalid Null Replace Value".
    [[nodiscard]] bool AddReplacement(const std::string &find, const std::string &replace);
    void SetReplacements(std::vector<std::pair<std::string, std::string>> pairs);
    const std::vector<std::pair<std::string, std::string>> &Replacements() const { return m_replacements; }

    // Creates the file, truncating an existing one, and writes FF FE for UTF-16. On failure the error
    // text is "Unable to create or open output file " followed by the path in double quotes.
    [[nodiscard]] bool Open(const std::string &path);
    bool IsOpen() const { return m_file != nullptr; }
    void Close();

    // The header row: each title with every double quote doubled (with or without doubleQuotes), then
    // enclosed in double quotes when doubleQuotes is set; titles separated by delimiter.
    [[nodiscard]] bool WriteHeader(const std::vector<std::string> &titles, const std::string &delimiter,
                                   bool doubleQuotes);
    // A data row: replacements on the cells that take them, then with doubleQuotes every double quote
    // doubled and the value enclosed in double quotes; without it values go out as they are.
    bool WriteRow(const std::vector<CsvCell> &cells, const std::string &delimiter, bool doubleQuotes);

    const std::string &LastError() const { return m_lastError; }

    // The text of a header or data row without its row end (UTF-8), and a text in the file's encoding.
    static std::string HeaderText(const std::vector<std::string> &titles, const std::string &delimiter,
                                  bool doubleQuotes);
    std::string RowText(const std::vector<CsvCell> &cells, const std::string &delimiter,
                        bool doubleQuotes) const;
    std::string Encode(const std::string &utf8) const;

private:
    bool WriteLine(const std::string &utf8Line);

    int m_encoding;
    std::FILE *m_file = nullptr;
    std::string m_path;
    std::vector<std::pair<std::string, std::string>> m_replacements;
    std::string m_lastError;
};

}  // namespace exporter
