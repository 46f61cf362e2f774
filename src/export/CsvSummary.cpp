// Writing the CSV summary file: header and data rows, quoting, replacements and the three encodings.
#include "CsvSummary.h"

#include <algorithm>
#include <string_view>

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

// Appends value with every double quote doubled.
void AppendDoubledQuotes(std::string &line, std::string_view value) {
    for (std::size_t quote = value.find('"'); quote != std::string_view::npos; quote = value.find('"')) {
        line.append(value.substr(0, quote + 1));
        line += '"';
        value.remove_prefix(quote + 1);
    }
    line.append(value);
}

// Appends value, with doubled quotes and enclosed in double quotes when quoted is set. Titles always
// have their quotes doubled.
void AppendValue(std::string &line, std::string_view value, bool quoted, bool doubleQuotes) {
    if (quoted) {
        line += '"';
    }
    if (doubleQuotes) {
        AppendDoubledQuotes(line, value);
    } else {
        line.append(value);
    }
    if (quoted) {
        line += '"';
    }
}

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
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
    m_line = HeaderText(titles, delimiter, doubleQuotes);
    return WriteLine();
}

bool CsvSummary::WriteRow(const std::vector<CsvCell> &cells, const std::string &delimiter,
                          bool doubleQuotes) {
    if (m_holding) {
        m_held.push_back({cells, delimiter, doubleQuotes});
        return true;
    }
    m_line.clear();
    AppendRowText(m_line, cells, delimiter, doubleQuotes);
    return WriteLine();
}

bool CsvSummary::WriteHeldRows(int errorsColumn, const std::string &note) {
    std::vector<HeldRow> held;
    held.swap(m_held);
    for (HeldRow &row : held) {
        if (!note.empty() && errorsColumn >= 0 && static_cast<std::size_t>(errorsColumn) < row.cells.size()) {
            std::string &errors = row.cells[static_cast<std::size_t>(errorsColumn)].value;
            errors += errors.empty() ? note : "\n" + note;
        }
        m_line.clear();
        AppendRowText(m_line, row.cells, row.delimiter, row.doubleQuotes);
        if (!WriteLine()) {
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
        AppendValue(line, titles[i], doubleQuotes, true);
    }
    return line;
}

std::string CsvSummary::RowText(const std::vector<CsvCell> &cells, const std::string &delimiter,
                                bool doubleQuotes) const {
    std::string line;
    AppendRowText(line, cells, delimiter, doubleQuotes);
    return line;
}

// A value is copied only when a replacement finds something in it: replacements that find nothing
// before the first that does leave the text as it is.
void CsvSummary::AppendRowText(std::string &line, const std::vector<CsvCell> &cells,
                               const std::string &delimiter, bool doubleQuotes) const {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            line += delimiter;
        }
        const std::string &value = cells[i].value;
        auto pair = m_replacements.begin();
        if (cells[i].applyReplacements) {
            while (pair != m_replacements.end() &&
                   (pair->first.empty() || value.find(pair->first) == std::string::npos)) {
                ++pair;
            }
        } else {
            pair = m_replacements.end();
        }
        if (pair == m_replacements.end()) {
            AppendValue(line, value, doubleQuotes, doubleQuotes);
            continue;
        }
        m_replaced = value;
        for (; pair != m_replacements.end(); ++pair) {
            ReplaceAll(m_replaced, pair->first, pair->second);
        }
        AppendValue(line, m_replaced, doubleQuotes, doubleQuotes);
    }
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

// m_line with the row end, in the file's encoding. UTF-8, and ANSI text that is all ASCII (the same
// bytes in every ANSI code page), go out as they are.
bool CsvSummary::WriteLine() {
    if (!m_file.IsOpen()) {
        m_lastError = "Unable to create or open output file \"" + m_path + "\"";
        return false;
    }
    m_line += "\r\n";
    const bool asIs = m_encoding == kEncodingUtf8 || (m_encoding != kEncodingUtf16 && IsAscii(m_line));
    const std::string *bytes = &m_line;
    if (!asIs && m_encoding == kEncodingUtf16) {
        m_encoded = Encode(m_line);
        bytes = &m_encoded;
    } else if (!asIs) {
        // Converted into a buffer kept from row to row.
        m_encoded.clear();
        if (!platform::AppendUtf8AsAnsi(m_line, m_encoded)) {
            m_encoded.clear();
        }
        bytes = &m_encoded;
    }
    if (!m_file.Write(*bytes)) {
        return WriteFailure();
    }
    return true;
}

}  // namespace exporter
