// INI text parsing and single-value edits that keep every other byte of the file.
#include "IniDocument.h"

#include <utility>

#include "AsciiText.h"

namespace platform {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr std::size_t kBomSize = 3;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string &text, std::size_t begin, std::size_t end) {
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string WithoutQuotes(std::string value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool HasLineBreakOrNul(const std::string &text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
}

}  // namespace

IniDocument::IniDocument(std::string bytes) : m_bytes(std::move(bytes)) {
    Index();
}

bool IniDocument::SameName(const std::string &a, const std::string &b) {
    return EqualsIgnoringAsciiCase(a, b);
}

void IniDocument::Index() {
    m_lines.clear();
    std::size_t pos = m_bytes.compare(0, kBomSize, kBom) == 0 ? kBomSize : 0;
    while (pos < m_bytes.size()) {
        Line line;
        line.begin = pos;
        const std::size_t lineBreak = m_bytes.find_first_of("\r\n", pos);
        line.end = lineBreak == std::string::npos ? m_bytes.size() : lineBreak;
        line.next = line.end;
        if (line.next < m_bytes.size()) {
            const bool crlf = m_bytes[line.next] == '\r' && line.next + 1 < m_bytes.size() &&
                              m_bytes[line.next + 1] == '\n';
            line.next += crlf ? 2 : 1;
        }
        std::size_t first = line.begin;
        while (first < line.end && IsBlank(m_bytes[first])) {
            ++first;
        }
        if (first < line.end && m_bytes[first] == '[') {
            const std::size_t close = m_bytes.find(']', first + 1);
            const std::size_t nameEnd = (close == std::string::npos || close > line.end) ? line.end : close;
            line.kind = LineKind::Section;
            line.name = Trimmed(m_bytes, first + 1, nameEnd);
        } else if (first < line.end && m_bytes[first] != ';') {
            const std::size_t equals = m_bytes.find('=', first);
            if (equals != std::string::npos && equals < line.end) {
                line.name = Trimmed(m_bytes, first, equals);
                line.valueBegin = equals + 1;
                line.kind = line.name.empty() ? LineKind::Other : LineKind::Key;
            }
        }
        m_lines.push_back(std::move(line));
        pos = m_lines.back().next;
    }
}

std::optional<std::size_t> IniDocument::FindSection(const std::string &section) const {
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        if (m_lines[i].kind == LineKind::Section && SameName(m_lines[i].name, section)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(std::size_t sectionLine, const std::string &key) const {
    for (std::size_t i = sectionLine + 1; i < m_lines.size() && m_lines[i].kind != LineKind::Section; ++i) {
        if (m_lines[i].kind == LineKind::Key && SameName(m_lines[i].name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniDocument::Value(const std::string &section, const std::string &key) const {
    const auto sectionLine = FindSection(Trimmed(section, 0, section.size()));
    if (!sectionLine) {
        return std::nullopt;
    }
    const auto keyLine = FindKey(*sectionLine, Trimmed(key, 0, key.size()));
    if (!keyLine) {
        return std::nullopt;
    }
    const Line &line = m_lines[*keyLine];
    return WithoutQuotes(Trimmed(m_bytes, line.valueBegin, line.end));
}

std::string IniDocument::LineEnding() const {
    for (const Line &line : m_lines) {
        if (line.next > line.end) {
            return m_bytes.substr(line.end, line.next - line.end);
        }
    }
    return "\n";
}

bool IniDocument::CheckSectionName(const std::string &section) {
    if (HasLineBreakOrNul(section) || Trimmed(section, 0, section.size()).find(']') != std::string::npos) {
        m_lastError = "The section name '" + section + "' cannot be written to an INI file";
        return false;
    }
    return true;
}

void IniDocument::AppendSection(const std::string &sectionName, const std::string &body) {
    const std::string eol = LineEnding();
    const bool onlyBom = m_bytes.size() == kBomSize && m_bytes.compare(0, kBomSize, kBom) == 0;
    if (!m_bytes.empty() && !onlyBom && m_bytes.back() != '\n' && m_bytes.back() != '\r') {
        m_bytes += eol;
    }
    m_bytes += "[" + sectionName + "]" + eol + body;
    Index();
}

bool IniDocument::AddSection(const std::string &section) {
    if (!CheckSectionName(section)) {
        return false;
    }
    m_lastError.clear();
    const std::string sectionName = Trimmed(section, 0, section.size());
    if (!FindSection(sectionName)) {
        AppendSection(sectionName, "");
    }
    return true;
}

bool IniDocument::SetValue(const std::string &section, const std::string &key, const std::string &value) {
    const std::string sectionName = Trimmed(section, 0, section.size());
    const std::string keyName = Trimmed(key, 0, key.size());
    if (!CheckSectionName(section)) {
        return false;
    }
    if (keyName.empty() || HasLineBreakOrNul(key) || keyName.find('=') != std::string::npos ||
        keyName.front() == '[' || keyName.front() == ';') {
        m_lastError = "The key name '" + key + "' cannot be written to an INI file";
        return false;
    }
    if (HasLineBreakOrNul(value)) {
        m_lastError = "The value of '" + key + "' holds a line break and cannot be written to an INI file";
        return false;
    }
    m_lastError.clear();
    const std::string eol = LineEnding();
    const auto sectionLine = FindSection(sectionName);
    if (!sectionLine) {
        AppendSection(sectionName, keyName + "=" + value + eol);
        return true;
    }
    if (const auto keyLine = FindKey(*sectionLine, keyName)) {
        const Line &line = m_lines[*keyLine];
        m_bytes.replace(line.valueBegin, line.end - line.valueBegin, value);
        Index();
        return true;
    }
    std::size_t after = *sectionLine;
    for (std::size_t i = *sectionLine + 1; i < m_lines.size() && m_lines[i].kind != LineKind::Section; ++i) {
        if (m_lines[i].kind == LineKind::Key) {
            after = i;
        }
    }
    const Line &line = m_lines[after];
    std::string insertion = keyName + "=" + value + eol;
    if (line.next == line.end) {
        insertion = eol + insertion;  // the last line of the file had no line ending
    }
    m_bytes.insert(line.next, insertion);
    Index();
    return true;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Line &line : m_lines) {
        if (line.kind != LineKind::Section) {
            continue;
        }
        bool seen = false;
        for (const std::string &name : names) {
            seen = seen || SameName(name, line.name);
        }
        if (!seen) {
            names.push_back(line.name);
        }
    }
    return names;
}

std::vector<std::string> IniDocument::KeyNames(const std::string &section) const {
    std::vector<std::string> names;
    const auto sectionLine = FindSection(Trimmed(section, 0, section.size()));
    if (!sectionLine) {
        return names;
    }
    for (std::size_t i = *sectionLine + 1; i < m_lines.size() && m_lines[i].kind != LineKind::Section; ++i) {
        if (m_lines[i].kind == LineKind::Key && FindKey(*sectionLine, m_lines[i].name) == i) {
            names.push_back(m_lines[i].name);
        }
    }
    return names;
}

}  // namespace platform
