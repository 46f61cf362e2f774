// Writing the CSV summary file: header and data rows, quoting, replacements and the three encodings.
#include "CsvSummary.h"

#include "platform/CodePage.h"

namespace exporter {

namespace {

void ReplaceAll(std::string &text, const std::string &find, const std::string &replace) {
    if (find.empty()) {
        return;
    }
    std::size_t pos = 0;
    while ((pos = text.find(find, pos)) != std::string::npos) {
        text.replace(pos, find.size(), replace);
        pos += replace.size();
    }
}

std::string DoubledQuotes(std::string text) {
    ReplaceAll(text, "\"", "\"\"");
    return text;
}

// Appends value, enclosed in double quotes when quoted is set. (Appending piece by piece also keeps
// GCC 12's -Wrestrict false positive on concatenated temporaries out of optimised builds.)
void AppendValue(std::string &line, const std::string &value, bool quoted) {
    if (quoted) {
        line += '"';
    }
    line += value;
    if (quoted) {
        line += '"';
    }
}

}  // namespace

CsvSummary::CsvSummary(int characterEncoding) : m_encoding(characterEncoding) {}

// A file never closed by the run (a crash of the caller) keeps its partial name.
CsvSummary::~CsvSummary() = default;

bool CsvSummary::AddReplacement(const std::string &find, const std::string &replace) {
    if (find.empty()) {
        m_lastError = "Invalid Null Replace Value";
        return false;
    }
    m_replacements.emplace_back(find, replace);
    return true;
}

void CsvSummary::SetReplacements(std::vector<std::pair<std::string, std::string>> pairs) {
    m_replacements = std::move(pairs);
}

bool CsvSummary::Open(const std::string &path) {
    // A file still open is finished first, as a run would finish it.
    (void)Close();
    m_lastError.clear();
    m_path = path;
    if (!m_file.Open(path, platform::OutputMode::kReplace)) {
        m_lastError = "Unable to create or open output file \"" + path + "\"";
        if (m_file.Failure() != platform::OutputFailure::kOpen) {
            m_lastError += ": " + m_file.ErrorText();
        }
        return false;
    }
    if (m_encoding == kEncodingUtf16 && !m_file.Write("\xFF\xFE")) {
        return WriteFailure();
    }
    return true;
}

bool CsvSummary::Close() {
    if (!m_file.IsOpen()) {
        return true;
    }
    if (!m_file.Commit()) {
        return WriteFailure();
    }
    return true;
}

bool CsvSummary::Finish(int errorsColumn) {
    if (!m_file.IsOpen()) {
        return true;
    }
    if (WriteFailed()) {
        Abandon();
        return true;
    }
    if (!WriteHeldRows(errorsColumn, {})) {
        Abandon();
        return false;
    }
    return Close();
}

bool CsvSummary::WriteFailure() {
    m_lastError = "Unable to write to output file \"" + m_path + "\": " + m_file.ErrorText();
    return false;
}

bool CsvSummary::WriteHeader(const std::vector<std::string> &titles, const std::string &delimiter,
                             bool doubleQuotes) {
    return WriteLine(HeaderText(titles, delimiter, doubleQuotes));
}

bool CsvSummary::WriteRow(const std::vector<CsvCell> &cells, const std::string &delimiter,
                          bool doubleQuotes) {
    if (m_holding) {
        m_held.push_back({cells, delimiter, doubleQuotes});
        return true;
    }
    return WriteLine(RowText(cells, delimiter, doubleQuotes));
}

bool CsvSummary::WriteHeldRows(int errorsColumn, const std::string &note) {
    std::vector<HeldRow> held;
    held.swap(m_held);
    for (HeldRow &row : held) {
        if (!note.empty() && errorsColumn >= 0 && static_cast<std::size_t>(errorsColumn) < row.cells.size()) {
            std::string &errors = row.cells[static_cast<std::size_t>(errorsColumn)].value;
            errors += errors.empty() ? note : "\n" + note;
        }
        if (!WriteLine(RowText(row.cells, row.delimiter, row.doubleQuotes))) {
            return false;
        }
    }
    return true;
}

std::string CsvSummary::HeaderText(const std::vector<std::string> &titles, const std::string &delimiter,
                                   bool doubleQuotes) {
    std::string line;
    for (std::size_t i = 0; i < titles.size(); ++i) {
        if (i > 0) {
            line += delimiter;
        }
        AppendValue(line, DoubledQuotes(titles[i]), doubleQuotes);
    }
    return line;
}

std::string CsvSummary::RowText(const std::vector<CsvCell> &cells, const std::string &delimiter,
                                bool doubleQuotes) const {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            line += delimiter;
        }
        std::string value = cells[i].value;
        if (cells[i].applyReplacements) {
            for (const auto &[find, replace] : m_replacements) {
                ReplaceAll(value, find, replace);
            }
        }
        AppendValue(line, doubleQuotes ? DoubledQuotes(value) : value, doubleQuotes);
    }
    return line;
}

std::string EncodeText(const std::string &utf8, int characterEncoding) {
    if (characterEncoding == kEncodingUtf16) {
        return platform::Utf8ToUtf16LeBytes(utf8);
    }
    if (characterEncoding == kEncodingUtf8) {
        return utf8;
    }
    return platform::Utf8ToAnsi(utf8);
}

std::string CsvSummary::Encode(const std::string &utf8) const {
    return EncodeText(utf8, m_encoding);
}

bool CsvSummary::WriteLine(const std::string &utf8Line) {
    if (!m_file.IsOpen()) {
        m_lastError = "Unable to create or open output file \"" + m_path + "\"";
        return false;
    }
    if (!m_file.Write(Encode(utf8Line + "\r\n"))) {
        return WriteFailure();
    }
    return true;
}

}  // namespace exporter
