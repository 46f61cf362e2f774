// The CSV summary file of an export run: the header row of column titles and one row per document,
// in the encoding CharacterEncoding chooses, every row ended by CR LF.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "config/ExportSettings.h"
#include "platform/OutputFile.h"

namespace exporter {

// CharacterEncoding values, as the settings define them.
using config::kEncodingAnsi;
using config::kEncodingUtf16;
using config::kEncodingUtf8;

// UTF-8 text in a CharacterEncoding: 0 the ANSI code page (unmappable characters become its
// substitute), 1 UTF-16 LE without a byte-order mark, 2 UTF-8 as it is; any other value ANSI.
std::string EncodeText(const std::string &utf8, int characterEncoding);

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

    // Starts the file, written as "<path>.partial" until Close renames it over path, and writes FF FE
    // for UTF-16. The partial file is locked for the run: a second run on the same path is refused.
    // On failure the error text is "Unable to create or open output file " followed by the path in
    // double quotes, and for a refused path the reason after ": ".
    [[nodiscard]] bool Open(const std::string &path);
    bool IsOpen() const { return m_file.IsOpen(); }
    // Writes what is left and renames the partial file over the final name; false (with the error
    // text) when that fails or an earlier write failed, and then the final name is left untouched.
    [[nodiscard]] bool Close();
    // The run's end: held rows written, then Close. A file whose writing failed earlier is abandoned
    // under its partial name (that failure has been reported). False when finishing fails.
    [[nodiscard]] bool Finish(int errorsColumn);
    // Closes without renaming: the partial file stays as the evidence of a cut run.
    void Abandon() { m_file.Abandon(); }
    // True once a write failed: the file is cut and must not be committed.
    bool WriteFailed() const { return m_file.Failure() == platform::OutputFailure::kWrite; }

    // The header row: each title with every double quote doubled (with or without doubleQuotes), then
    // enclosed in double quotes when doubleQuotes is set; titles separated by delimiter.
    [[nodiscard]] bool WriteHeader(const std::vector<std::string> &titles, const std::string &delimiter,
                                   bool doubleQuotes);
    // A data row: replacements on the cells that take them, then with doubleQuotes every double quote
    // doubled and the value enclosed in double quotes; without it values go out as they are.
    [[nodiscard]] bool WriteRow(const std::vector<CsvCell> &cells, const std::string &delimiter,
                                bool doubleQuotes);

    // While holding, WriteRow keeps its rows instead of writing them: a view whose documents are put
    // into a folder afterwards holds its rows so that a failure to do so still reaches their %Errors.
    void SetHolding(bool holding) { m_holding = holding; }
    // Writes the held rows, each with note appended (after "\n" when the cell holds text) to the cell
    // at errorsColumn when note is not empty and errorsColumn >= 0.
    [[nodiscard]] bool WriteHeldRows(int errorsColumn, const std::string &note);

    const std::string &LastError() const { return m_lastError; }

    // The text of a header or data row without its row end (UTF-8), and a text in the file's encoding.
    static std::string HeaderText(const std::vector<std::string> &titles, const std::string &delimiter,
                                  bool doubleQuotes);
    std::string RowText(const std::vector<CsvCell> &cells, const std::string &delimiter,
                        bool doubleQuotes) const;
    std::string Encode(const std::string &utf8) const;

private:
    void AppendRowText(std::string &line, const std::vector<CsvCell> &cells, const std::string &delimiter,
                       bool doubleQuotes) const;
    // Writes m_line (UTF-8, without its row end).
    bool WriteLine();

    int m_encoding;
    bool WriteFailure();

    struct HeldRow {
        std::vector<CsvCell> cells;
        std::string delimiter;
        bool doubleQuotes;
    };

    platform::OutputFile m_file;
    bool m_holding = false;
    std::vector<HeldRow> m_held;
    std::string m_path;
    std::vector<std::pair<std::string, std::string>> m_replacements;
    std::string m_lastError;
    std::string m_line;              // the row being written, reused from row to row
    mutable std::string m_replaced;  // a value with the replacements made, reused likewise
    std::string m_encoded;           // the row in the file's encoding, reused likewise
};

}  // namespace exporter
