// Canonical item values as the C API hands them out (type word first, packed little-endian), and
// DXL datetimes.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "../../../src/notes/capi/NotesTypes.h"

namespace standin::dxl {

std::string TextValue(std::string_view lmbcs);
// False when the list does not fit the 16-bit counts and lengths.
[[nodiscard]] bool TextListValue(const std::vector<std::string> &lmbcs, std::string &value);
std::string NumberValue(double number);
std::string NumberRangeValue(const std::vector<double> &numbers);
std::string TimeValue(const TIMEDATE &t);
std::string TimeRangeValue(const std::vector<TIMEDATE> &times,
                           const std::vector<std::pair<TIMEDATE, TIMEDATE>> &pairs);

// The stored FILEOBJECT of a $FILE item.
struct FileObjectInfo {
    std::string name;  // LMBCS
    WORD hostType = 0;
    WORD compression = notes::kCompressNone;
    WORD attributes = 0;
    WORD flags = 0;
    DWORD size = 0;
    TIMEDATE created{};
    TIMEDATE modified{};
};
inline constexpr std::size_t kFileObjectFixedSize = 36;
std::string FileObjectValue(const FileObjectInfo &info);
// Decodes the value (type word first) of a $FILE item; false when it is not a file object.
[[nodiscard]] bool ParseFileObject(std::string_view value, FileObjectInfo &info);

// False (problem set) when raw bytes of a type whose layout is known do not have a possible length.
[[nodiscard]] bool CheckRawLength(WORD type, std::string_view bytes, std::string &problem);

// A DXL datetime ("20200728T122240,71-04", "20200728", "T122240,71"); an empty text is the
// wildcard time (ANYDAY, ALLDAY). False when the text is not a datetime.
[[nodiscard]] bool ParseDxlDateTime(std::string_view text, TIMEDATE &t);
[[nodiscard]] bool ParseDxlDateTime(std::string_view text, bool dst, TIMEDATE &t);
bool IsWildcardTime(const TIMEDATE &t);
// The DXL text of a TIMEDATE, with the dst flag it records.
std::string FormatDxlDateTime(const TIMEDATE &t, bool &dst);

}  // namespace standin::dxl
