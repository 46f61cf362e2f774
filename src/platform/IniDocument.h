// The text of an INI file in memory, read and changed with Windows profile-file semantics.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Holds the file's bytes and an index of its lines. Lookups match section and key names without regard
// to ASCII case and take the first matching section and key. A line "[name]" opens a section (blanks
// around the name are ignored); "key=value" sets a key (blanks around key and value are ignored and a
// value enclosed in a matching pair of single or double quotes loses them); lines starting with ";"
// and lines without "=" are kept but mean nothing. Lines end with "\r\n", "\n" or "\r"; a UTF-8 byte
// order mark at the start is skipped. A change rewrites only the bytes it must: every other byte of
// the file stays as it was.
class IniDocument {
public:
    IniDocument() = default;
    explicit IniDocument(std::string bytes);

    const std::string &Bytes() const { return m_bytes; }

    // The value of [section] key; nullopt when the section or key is absent.
    std::optional<std::string> Value(const std::string &section, const std::string &key) const;

    // Sets [section] key to value. An existing key keeps its line (only the text after its "=" changes,
    // the line ending stays); a new key is added after the last key of its section, a new section at the
    // end of the file. New lines end the way the file's first line does ("\n" in an empty file). False,
    // with nothing changed, when the names or the value cannot be written as one line: a section name
    // holding "]", a key that is empty, holds "=" or starts with "[" or ";", a line break or NUL anywhere.
    [[nodiscard]] bool SetValue(const std::string &section, const std::string &key, const std::string &value);

    // Adds an empty section at the end unless one of that name exists; false under the rules above.
    [[nodiscard]] bool AddSection(const std::string &section);

    // Section names in file order, each once (the first spelling met).
    std::vector<std::string> SectionNames() const;
    // The keys of the first section of that name, in file order, each once.
    std::vector<std::string> KeyNames(const std::string &section) const;

    // Why the last SetValue failed.
    const std::string &LastError() const { return m_lastError; }

    // True when a and b are equal without regard to ASCII case.
    static bool SameName(const std::string &a, const std::string &b);

private:
    enum class LineKind { Other, Section, Key };
    struct Line {
        std::size_t begin = 0;  // first byte of the line's content
        std::size_t end = 0;    // one past the content, before the line ending
        std::size_t next = 0;   // one past the line ending
        LineKind kind = LineKind::Other;
        std::string name;            // section or key name, trimmed
        std::size_t valueBegin = 0;  // for a key: the first byte after "="
    };

    void Index();
    std::optional<std::size_t> FindSection(const std::string &section) const;
    std::optional<std::size_t> FindKey(std::size_t sectionLine, const std::string &key) const;
    std::string LineEnding() const;
    bool CheckSectionName(const std::string &section);
    void AppendSection(const std::string &sectionName, const std::string &body);

    std::string m_bytes;
    std::vector<Line> m_lines;
    std::string m_lastError;
};

}  // namespace platform
