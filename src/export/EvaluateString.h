// Evaluate strings: the small template language that names per-document files ("Subject" + MTime and
// the like), parsed and evaluated against one note.
#pragma once

#include <cstdint>
#include <string>

namespace notes {
class NotesNote;
}

namespace exporter {

// The default format of MTime: year, month and day, an underscore, hour and minute, an underscore and
// the second ("2011-06-30_1405_09").
inline constexpr const char *kEvaluateTimeFormat = "y-m-d_hn_s";
inline constexpr const char *kFailedToGetTime = "(Failed to Get Time)";
inline constexpr const char *kInvalidEvaluateString = "Invalid Evaluate String Error: ";

// seconds since 1970 UTC in the local time zone, through format: "y" the four-digit year, "m" month,
// "d" day, "h" hour, "n" minute, "s" second, each of two digits with a leading zero; every other
// character is copied.
std::string FormatEvaluateTime(std::int64_t seconds, const std::string &format);

struct EvaluateResult {
    std::string text;   // the concatenated values of the terms; empty when the string is invalid
    std::string error;  // "Invalid Evaluate String Error: " and the string up to the failing position
};

// Terms separated by "+" or blanks, each a literal in double quotes (no escape), a number (copied as
// written), or a name with optional arguments in parentheses: MTime or MTime(format) (the note's
// modification time), UNID, Text(name) (the field's values joined with ";"), Left(text, n). Names are
// case-sensitive; another name contributes nothing. A string that cannot be parsed is invalid as a
// whole: the failing position is the character at which parsing stopped (an unterminated quote or an
// unclosed parenthesis: the end of the string), and the error quotes the string up to and including it.
[[nodiscard]] EvaluateResult EvaluateFileNameString(const std::string &text, const notes::NotesNote &note);

}  // namespace exporter
