// Parsing and evaluating the file-name templates of per-document files.
#include "export/EvaluateString.h"

#include <cstdio>
#include <ctime>
#include <vector>

#include "notes/NotesApi.h"
#include "notes/NotesNote.h"
#include "notes/ValueText.h"
#include "platform/AsciiText.h"
#include "richtext/NotesItem.h"

namespace exporter {

namespace {

constexpr int kMaxDepth = 16;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$';
}

bool IsNameCharacter(char c) {
    return IsNameStart(c) || IsDigit(c);
}

// The note's modification time (the sequence time of its originator ID) in seconds since 1970.
bool NoteModifiedSeconds(const notes::NotesNote &note, std::int64_t &seconds) {
    auto &fn = notes::Api().fn;
    if (!note.IsOpen() || fn.NSFNoteGetInfo == nullptr) {
        return false;
    }
    ORIGINATORID oid{};
    fn.NSFNoteGetInfo(note.Handle(), notes::kNoteOid, &oid);
    return notes::TimeDateToUnixSeconds(oid.SequenceTime, seconds);
}

// One argument of a call: its value, and the name itself when it is a single bare name (Text(Subject)
// names the field Subject).
struct Argument {
    std::string value;
    std::string bareName;
};

class Parser {
public:
    Parser(const std::string &text, const notes::NotesNote &note) : m_text(text), m_note(note) {}

    EvaluateResult Run() {
        EvaluateResult result;
        std::string value;
        if (!Terms(false, value, nullptr)) {
            result.error = kInvalidEvaluateString + m_text.substr(0, std::min(m_failAt + 1, m_text.size()));
            return result;
        }
        result.text = std::move(value);
        return result;
    }

private:
    bool Fail(std::size_t at) {
        m_failAt = at;
        return false;
    }

    void SkipSeparators() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '+')) {
            ++m_pos;
        }
    }

    // Terms up to the end of the text, or inside an argument list up to its "," or ")".
    bool Terms(bool inArguments, std::string &value, std::string *bareName) {
        int terms = 0;
        bool lastBare = false;
        std::string lastName;
        for (SkipSeparators(); m_pos < m_text.size(); SkipSeparators()) {
            const char c = m_text[m_pos];
            if (c == ',' || c == ')') {
                if (!inArguments) {
                    return Fail(m_pos);
                }
                break;
            }
            ++terms;
            lastBare = false;
            if (c == '"') {
                const std::size_t close = m_text.find('"', m_pos + 1);
                if (close == std::string::npos) {
                    return Fail(m_text.size());
                }
                value += m_text.substr(m_pos + 1, close - m_pos - 1);
                m_pos = close + 1;
            } else if (IsDigit(c) || c == '.') {
                const std::size_t start = m_pos;
                while (m_pos < m_text.size() && (IsDigit(m_text[m_pos]) || m_text[m_pos] == '.')) {
                    ++m_pos;
                }
                value += m_text.substr(start, m_pos - start);
            } else if (IsNameStart(c)) {
                if (!Name(value, lastBare, lastName)) {
                    return false;
                }
            } else {
                return Fail(m_pos);
            }
        }
        if (inArguments && m_pos >= m_text.size()) {
            return Fail(m_text.size());  // the parenthesis is never closed
        }
        if (bareName != nullptr && terms == 1 && lastBare) {
            *bareName = lastName;
        }
        return true;
    }

    // A name and its arguments, if any.
    bool Name(std::string &value, bool &bare, std::string &name) {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && IsNameCharacter(m_text[m_pos])) {
            ++m_pos;
        }
        name = m_text.substr(start, m_pos - start);
        std::size_t after = m_pos;
        while (after < m_text.size() && m_text[after] == ' ') {
            ++after;
        }
        std::vector<Argument> arguments;
        bare = after >= m_text.size() || m_text[after] != '(';
        std::size_t closing = m_pos;
        if (!bare) {
            if (m_depth == kMaxDepth) {
                return Fail(after);  // nesting this deep is no file name, and would exhaust the stack
            }
            m_pos = after + 1;
            ++m_depth;
            const bool parsed = Arguments(arguments);
            --m_depth;
            if (!parsed) {
                return false;
            }
            closing = m_pos;  // at the ")"
            ++m_pos;
        }
        return Call(name, arguments, closing, value);
    }

    bool Arguments(std::vector<Argument> &arguments) {
        SkipSeparators();
        if (m_pos < m_text.size() && m_text[m_pos] == ')') {
            return true;  // "()": no argument
        }
        for (;;) {
            Argument argument;
            if (!Terms(true, argument.value, &argument.bareName)) {
                return false;
            }
            arguments.push_back(std::move(argument));
            if (m_text[m_pos] == ')') {
                return true;
            }
            ++m_pos;  // ","
        }
    }

    bool Call(const std::string &name, const std::vector<Argument> &arguments, std::size_t closing,
              std::string &value) {
        const std::size_t count = arguments.size();
        if (name == "MTime") {
            if (count > 1) {
                return Fail(closing);
            }
            std::int64_t seconds = 0;
            value += NoteModifiedSeconds(m_note, seconds)
                         ? FormatEvaluateTime(seconds, count == 1 ? arguments[0].value : kEvaluateTimeFormat)
                         : kFailedToGetTime;
        } else if (name == "UNID") {
            if (count != 0) {
                return Fail(closing);
            }
            value += m_note.UniversalId();
        } else if (name == "Text") {
            if (count != 1) {
                return Fail(closing);
            }
            const std::string &field =
                arguments[0].bareName.empty() ? arguments[0].value : arguments[0].bareName;
            if (m_note.IsOpen() && !field.empty()) {
                value += richtext::NotesItem::Render(m_note, field, ";", nullptr).text;
            }
        } else if (name == "Left") {
            int length = 0;
            if (count != 2 || !Number(arguments[1].value, length)) {
                return Fail(closing);
            }
            value += platform::FirstUtf8Characters(arguments[0].value, length);
        }
        return true;
    }

    // A whole number, optionally negative; larger values are capped.
    static bool Number(const std::string &text, int &number) {
        const std::string digits = platform::TrimBlanks(text);
        if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
            return false;
        }
        number = digits.size() > 9 ? 999999999 : std::stoi(digits);
        return true;
    }

    const std::string &m_text;
    const notes::NotesNote &m_note;
    std::size_t m_pos = 0;
    std::size_t m_failAt = 0;
    int m_depth = 0;  // argument lists open around the current term
};

}  // namespace

std::string FormatEvaluateTime(std::int64_t seconds, const std::string &format) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return kFailedToGetTime;
    }
    std::string text;
    char field[16];
    for (const char c : format) {
        int number = -1;
        switch (c) {
            case 'y':
                std::snprintf(field, sizeof field, "%04d", local.tm_year + 1900);
                text += field;
                continue;
            case 'm':
                number = local.tm_mon + 1;
                break;
            case 'd':
                number = local.tm_mday;
                break;
            case 'h':
                number = local.tm_hour;
                break;
            case 'n':
                number = local.tm_min;
                break;
            case 's':
                number = local.tm_sec;
                break;
            default:
                text += c;
                continue;
        }
        std::snprintf(field, sizeof field, "%02d", number);
        text += field;
    }
    return text;
}

EvaluateResult EvaluateFileNameString(const std::string &text, const notes::NotesNote &note) {
    return Parser(text, note).Run();
}

}  // namespace exporter
