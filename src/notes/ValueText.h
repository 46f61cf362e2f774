// Display text of item values: any value through Notes, time lists, a single time item, a note's
// signature, text lists and text. Each operation appends to the caller's text.
#pragma once

#include <cstdint>
#include <string>

#include "capi/NotesTypes.h"

namespace notes {

// Any value through NSFItemConvertValueToText; the entries of a multi-value item are joined with
// separator. value/valueLen as NSFItemInfo gives them (the block starts with the type word).
void AppendAnyValueText(WORD type, BLOCKID value, DWORD valueLen, const std::string &separator,
                        std::string &text);

// The text of one TIMEDATE with the default formats; false when Notes cannot convert it.
[[nodiscard]] bool TimeDateText(const TIMEDATE &time, std::string &text);

// A TIMEDATE (its Julian day and hundredths since midnight GMT; the zone bits only say where it was
// written) as seconds since 1970 UTC; false for a date-only or time-only value or a day out of range.
[[nodiscard]] bool TimeDateToUnixSeconds(const TIMEDATE &time, std::int64_t &seconds);

// A time list or range value (type word, RANGE, entries, range pairs): each TIMEDATE converted,
// those that fail left out, separator before each converted entry but the list's first.
void AppendTimeListText(const char *value, std::size_t valueLen, const std::string &separator,
                        std::string &text);

// The time item of a note by name; "Invalid Date Time" when it cannot be read or converted.
void AppendTimeItemText(NOTEHANDLE note, const std::string &itemName, std::string &text);

// "Signed by %s on %s" (signer, time), or "Signed by %s" when the time cannot be converted; nothing
// when the note's signature cannot be verified.
void AppendSignatureText(NOTEHANDLE note, std::string &text);

// Notes stores a line break inside text as a NUL byte: the two text operations below give it as a
// line feed, so that the control-character rules see it and no NUL reaches an output file.

// A text list value (type word, LIST, lengths, texts): the entries joined with separator.
void AppendTextListText(const char *value, std::size_t valueLen, const std::string &separator,
                        std::string &text);

// A text value (type word, then LMBCS text).
void AppendTextText(const char *value, std::size_t valueLen, std::string &text);

}  // namespace notes
