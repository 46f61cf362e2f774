// Profile and template files: writing and reading the export settings as key=value lines.
#include "config/DatabaseExportProfile.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "config/ProfileKeys.h"
#include "notes/LmbcsConvert.h"
#include "notes/NotesApi.h"
#include "platform/AsciiText.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"

namespace config {

namespace {

constexpr const char *kLineBreakToken = "~@NL@~";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Replaces every line break (a carriage-return/line-feed pair, or a line feed alone) with the token,
// so that no value can end its line early. A lone carriage return survives the file as it is.
std::string EscapeLineBreaks(const std::string &text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += kLineBreakToken;
            ++i;
            continue;
        }
        if (text[i] == '\n') {
            out += kLineBreakToken;
            continue;
        }
        out.push_back(text[i]);
    }
    return out;
}

std::string UnescapeLineBreaks(const std::string &text) {
    std::string out;
    out.reserve(text.size());
    const std::size_t tokenLength = std::char_traits<char>::length(kLineBreakToken);
    std::size_t start = 0;
    for (std::size_t at = text.find(kLineBreakToken); at != std::string::npos;
         at = text.find(kLineBreakToken, start)) {
        out.append(text, start, at - start);
        out += "\r\n";
        start = at + tokenLength;
    }
    out.append(text, start, std::string::npos);
    return out;
}

// A decimal conversion that skips leading blanks, takes an optional sign and stops at the first
// non-digit; no digits give 0 and values beyond 32 bits are held at the nearest limit.
std::int32_t ParseInt(const std::string &text) {
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    std::int64_t value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<std::int64_t>(INT32_MAX) + 1) {
            value = static_cast<std::int64_t>(INT32_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT32_MAX) {
        return INT32_MAX;
    }
    return static_cast<std::int32_t>(value);
}

std::string Quoted(const std::string &value) {
    return "\"" + value + "\"";
}

std::string Hex4(unsigned unit) {
    char group[8];
    std::snprintf(group, sizeof group, "%04X", unit);
    return group;
}

std::string DelimiterToHex(const std::string &delimiter) {
    std::string out;
    for (char16_t unit : platform::Utf8ToUtf16(delimiter)) {
        out += Hex4(unit);
    }
    return out;
}

bool IsHighSurrogate(unsigned unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(unsigned unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Unicode's noncharacters of the basic plane: never meant to be interchanged as text.
bool IsNoncharacter(unsigned unit) {
    return unit == 0xFFFE || unit == 0xFFFF || (unit >= 0xFDD0 && unit <= 0xFDEF);
}

// Four characters per UTF-16 unit, read as hexadecimal up to the first non-hexadecimal character; a
// trailing group of fewer than four characters is ignored, and a group that gives 0 (which no
// delimiter can hold) too. A group that is no character (half of a surrogate pair without its other
// half, a noncharacter) cannot be written as text: it is left out and named in notCharacters. An
// empty result gives the fallback.
std::string HexToDelimiter(const std::string &value, const char *fallback,
                           std::vector<std::string> &notCharacters) {
    std::u16string text = platform::Utf8ToUtf16(value);
    std::vector<unsigned> groups;
    for (std::size_t pos = 0; pos + 4 <= text.size(); pos += 4) {
        unsigned unit = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            int digit = platform::HexDigit(text[pos + i]);
            if (digit < 0) {
                break;
            }
            unit = unit * 16 + static_cast<unsigned>(digit);
        }
        if (unit != 0) {
            groups.push_back(unit);
        }
    }
    std::u16string units;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const unsigned unit = groups[i];
        if (IsHighSurrogate(unit) && i + 1 < groups.size() && IsLowSurrogate(groups[i + 1])) {
            units.push_back(static_cast<char16_t>(unit));
            units.push_back(static_cast<char16_t>(groups[++i]));
            continue;
        }
        if (IsHighSurrogate(unit) || IsLowSurrogate(unit) || IsNoncharacter(unit)) {
            notCharacters.push_back(Hex4(unit));
            continue;
        }
        units.push_back(static_cast<char16_t>(unit));
    }
    if (units.empty()) {
        return fallback;
    }
    return platform::Utf16ToUtf8(units);
}

std::string JoinList(const std::vector<std::string> &entries) {
    std::string out;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            out += ',';
        }
        out += entries[i];
    }
    return out;
}

// Splits at every ","; an empty value is an empty list.
std::vector<std::string> SplitList(const std::string &value) {
    std::vector<std::string> entries;
    if (value.empty()) {
        return entries;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = value.find(',', start);
        if (comma == std::string::npos) {
            entries.push_back(value.substr(start));
            return entries;
        }
        entries.push_back(value.substr(start, comma - start));
        start = comma + 1;
    }
}

std::string ColumnsToText(const OutputItems &items) {
    std::vector<std::string> pieces;
    for (std::size_t i = 0; i < items.Count(); ++i) {
        const OutputItem &item = items.Item(i);
        std::string piece = item.Kind() == kItemFormula ? "#" + item.Name() : item.Name();
        if (item.RichTextAdvanced() > 0) {
            piece += ':' + std::to_string(item.RichTextAdvanced());
        }
        pieces.push_back(std::move(piece));
    }
    return JoinList(pieces);
}

// Where the column that begins at start ends: at the next ",". A formula column ("#...") ends at the
// next "," outside its quoted strings ("...", where a backslash takes the next character as it is) and
// brace strings ({...}); a formula whose string never closes ends at the next "," after all.
std::size_t ColumnEnd(const std::string &value, std::size_t start) {
    const std::size_t plainEnd = std::min(value.find(',', start), value.size());
    if (start >= value.size() || value[start] != '#') {
        return plainEnd;
    }
    bool inQuotes = false;
    bool inBraces = false;
    for (std::size_t i = start + 1; i < value.size(); ++i) {
        const char c = value[i];
        if (inQuotes) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inQuotes = false;
            }
            continue;
        }
        if (inBraces) {
            inBraces = c != '}';
            continue;
        }
        if (c == '"') {
            inQuotes = true;
        } else if (c == '{') {
            inBraces = true;
        } else if (c == ',') {
            return i;
        }
    }
    return inQuotes || inBraces ? plainEnd : value.size();
}

// The pieces of an OutputItems value, one per column; an empty value is an empty list.
std::vector<std::string> SplitColumns(const std::string &value) {
    std::vector<std::string> pieces;
    if (value.empty()) {
        return pieces;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = ColumnEnd(value, start);
        pieces.push_back(value.substr(start, end - start));
        if (end >= value.size()) {
            return pieces;
        }
        start = end + 1;
    }
}

bool AllDigits(const std::string &text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// Each piece is a name, optionally followed by ":" and the decimal rich-text advanced value; "#" makes
// a formula and "%" a computed field. A piece without a name is skipped.
void TextToColumns(const std::string &value, OutputItems &items) {
    items.Clear();
    for (const std::string &piece : SplitColumns(value)) {
        std::string name = piece;
        int richTextAdvanced = 0;
        std::size_t colon = piece.rfind(':');
        if (colon != std::string::npos && AllDigits(piece.substr(colon + 1))) {
            name = piece.substr(0, colon);
            std::int32_t parsed = ParseInt(piece.substr(colon + 1));
            richTextAdvanced = parsed < 0 ? INT32_MAX : parsed;
        }
        if (name.empty()) {
            continue;
        }
        if (name[0] == '#') {
            items.Add(name.substr(1), kItemFormula, richTextAdvanced);
        } else if (name[0] == '%') {
            items.Add(name, kItemLookup, richTextAdvanced);
        } else {
            items.Add(name, kItemField, richTextAdvanced);
        }
    }
}

bool IsPlainAscii(const std::string &text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// An item name as Notes will see it: taken through the Notes character set and back to Unicode, so
// that a name is held as the characters Notes can store. Plain ASCII is the same in both. Without a
// loaded runtime, or when a conversion fails, the name stays as read.
std::string FieldNameThroughNotesCharset(const std::string &name) {
    if (IsPlainAscii(name) || notes::Api().fn.OSTranslate == nullptr) {
        return name;
    }
    const std::string lmbcs = notes::UnicodeToLmbcs(name);
    if (lmbcs.empty()) {
        return name;
    }
    notes::ErrorObjectArray errors;
    std::string back;
    if (!notes::ConvertLmbcsToUnicode(lmbcs.data(), static_cast<int>(lmbcs.size()), false, &errors, back)) {
        return name;
    }
    return back;
}

bool Included(ProfileGroup group, const ExportSettings &settings, bool asTemplate) {
    switch (group) {
        case ProfileGroup::Always:
            return true;
        case ProfileGroup::ProfileOnly:
            return !asTemplate;
        case ProfileGroup::SelectView:
            return settings.SelectMethod == kSelectView;
        case ProfileGroup::SelectViews:
            return settings.SelectMethod == kSelectViews;
        case ProfileGroup::SelectQuery:
            return settings.SelectMethod == kSelectQuery;
        case ProfileGroup::SelectFtSearch:
            return settings.SelectMethod == kSelectFtSearch;
        case ProfileGroup::WithColumns:
            return !settings.OutputItems.Empty();
        case ProfileGroup::WithRtf:
            return settings.CreateRTFs;
        case ProfileGroup::WithPdf:
            return settings.CreatePdfs;
        case ProfileGroup::OwnWhenSet:
            return !asTemplate && !settings.VorlixDatabaseList.empty();
    }
    return false;
}

std::string EncodeValue(const ProfileKey &key, const ExportSettings &settings) {
    switch (key.value) {
        case ProfileValue::Bool:
            return ProfileKeys::Field<bool>(key, settings) ? "1" : "0";
        case ProfileValue::Int:
            return std::to_string(ProfileKeys::Field<std::int32_t>(key, settings));
        case ProfileValue::Text:
        case ProfileValue::FieldName:
            return EscapeLineBreaks(ProfileKeys::Field<std::string>(key, settings));
        case ProfileValue::Delimiter:
            return DelimiterToHex(ProfileKeys::Field<std::string>(key, settings));
        case ProfileValue::ViewList:
            return EscapeLineBreaks(JoinList(ProfileKeys::Field<std::vector<std::string>>(key, settings)));
        case ProfileValue::Columns:
            return EscapeLineBreaks(ColumnsToText(ProfileKeys::Field<OutputItems>(key, settings)));
    }
    return std::string();
}

// "0, 1, 2 or 5": the values of an enumeration.
std::string AllowedValuesText(std::uint32_t allowed) {
    std::vector<std::string> values;
    for (int n = 0; n < 32; ++n) {
        if ((allowed >> n) & 1u) {
            values.push_back(std::to_string(n));
        }
    }
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) {
            out += i + 1 == values.size() ? " or " : ", ";
        }
        out += values[i];
    }
    return out;
}

bool IsAllowed(std::uint32_t allowed, std::int32_t value) {
    return value >= 0 && value < 32 && ((allowed >> value) & 1u) != 0;
}

std::string KeyWarning(const ProfileKey &key, const std::string &value, const std::string &what) {
    return "Warning: profile key " + std::string(key.key) + " has the value " + Quoted(value) + ", " + what;
}

// Sets the key's field from its value. A value that the key does not expect keeps the meaning the
// format gives it, and a warning naming the key and the value is added.
void DecodeValue(const ProfileKey &key, const std::string &value, ExportSettings &settings,
                 std::vector<std::string> &warnings) {
    switch (key.value) {
        case ProfileValue::Bool:
            ProfileKeys::Field<bool>(key, settings) = value == "1";
            if (value != "1" && value != "0") {
                warnings.push_back(KeyWarning(key, value, "which is not 0 or 1; it is read as 0."));
            }
            return;
        case ProfileValue::Int: {
            const std::int32_t number = ParseInt(value);
            ProfileKeys::Field<std::int32_t>(key, settings) = number;
            if (key.allowed != 0 && !IsAllowed(key.allowed, number)) {
                warnings.push_back(
                    KeyWarning(key, value, "which is not one of " + AllowedValuesText(key.allowed) + "."));
            }
            return;
        }
        case ProfileValue::Text:
            ProfileKeys::Field<std::string>(key, settings) = UnescapeLineBreaks(value);
            return;
        case ProfileValue::FieldName:
            ProfileKeys::Field<std::string>(key, settings) =
                FieldNameThroughNotesCharset(UnescapeLineBreaks(value));
            return;
        case ProfileValue::Delimiter: {
            std::vector<std::string> notCharacters;
            std::string &delimiter = ProfileKeys::Field<std::string>(key, settings);
            delimiter = HexToDelimiter(value, std::string(key.key) == "Delimiter" ? "," : ";", notCharacters);
            for (const std::string &group : notCharacters) {
                warnings.push_back(KeyWarning(key, value,
                                              "in which " + group +
                                                  " is not a character and is left out; the delimiter is " +
                                                  Quoted(delimiter) + "."));
            }
            return;
        }
        case ProfileValue::ViewList:
            ProfileKeys::Field<std::vector<std::string>>(key, settings) =
                SplitList(UnescapeLineBreaks(value));
            return;
        case ProfileValue::Columns:
            TextToColumns(UnescapeLineBreaks(value), ProfileKeys::Field<OutputItems>(key, settings));
            return;
    }
}

}  // namespace

DatabaseExportProfile::DatabaseExportProfile() {
    ResetToDefaults();
}

void DatabaseExportProfile::ResetToDefaults() {
    Settings.ResetToDefaults();
}

void DatabaseExportProfile::CopySettings(DatabaseExportProfile &target, bool templateOnly) const {
    ExportSettings copy = Settings;
    ExportSettings &keep = target.Settings;
    copy.NSFSever = std::move(keep.NSFSever);
    copy.NSFFilePath = std::move(keep.NSFFilePath);
    copy.ViewName = std::move(keep.ViewName);
    copy.IncludeViewFolderNames = std::move(keep.IncludeViewFolderNames);
    copy.ExcludeViewFolderNames = std::move(keep.ExcludeViewFolderNames);
    copy.Query = std::move(keep.Query);
    copy.FTSearch = std::move(keep.FTSearch);
    copy.OutputItems = std::move(keep.OutputItems);
    if (templateOnly) {
        copy.SummaryFilePath = std::move(keep.SummaryFilePath);
        copy.OutputPath = std::move(keep.OutputPath);
        copy.OutputFile = std::move(keep.OutputFile);
        copy.LaunchOnComplete = keep.LaunchOnComplete;
        copy.DialogOnComplete = keep.DialogOnComplete;
        copy.VorlixDatabaseList = std::move(keep.VorlixDatabaseList);
    }
    // The rich-text options' run-time state belongs to the target.
    richtext::NotesRtfAdvancedSettings options = std::move(keep.RtfAdvanced);
    options.CopyStoredFields(Settings.RtfAdvanced);
    copy.RtfAdvanced = std::move(options);
    keep = std::move(copy);
}

std::string DatabaseExportProfile::SaveToBytes(const std::string &productName,
                                               const std::string &productVersion, bool asTemplate) const {
    std::string text;
    auto line = [&text](const std::string &key, const std::string &value) {
        text += key;
        text += '=';
        text += value;
        text += "\r\n";
    };
    line("ProductName", productName);
    line("ProductVersion", productVersion);
    line("FileType", asTemplate ? "ExportTemplate" : "ExportProfile");
    for (const ProfileKey &key : ProfileKeys::Table()) {
        if (Included(key.group, Settings, asTemplate)) {
            line(key.key, EncodeValue(key, Settings));
        }
    }
    if (Settings.CharacterEncoding != kEncodingUtf16) {
        // A value the ANSI code page cannot hold would lose characters: such a profile is written as
        // UTF-16, which every reader of the format takes.
        std::string ansi = platform::Utf8ToAnsi(text);
        if (platform::AnsiToUtf8(ansi) == text) {
            return ansi;
        }
    }
    return std::string("\xFF\xFE") + platform::Utf8ToUtf16LeBytes(text);
}

bool DatabaseExportProfile::SaveToFile(const std::string &path, const std::string &productName,
                                       const std::string &productVersion, bool asTemplate) {
    if (!platform::WriteFileAtomically(path, SaveToBytes(productName, productVersion, asTemplate))) {
        m_lastError = "Unable to create or open output file \"" + path + "\"";
        return false;
    }
    return true;
}

bool DatabaseExportProfile::LoadFromFile(const std::string &path, const std::string &productName,
                                         const std::string &productVersion) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        m_lastError = "Unable to open input file \"" + path + "\"";
        return false;
    }
    return LoadFromBytes(bytes, path, productName, productVersion);
}

bool DatabaseExportProfile::LoadFromBytes(const std::string &bytes, const std::string &path,
                                          const std::string &productName, const std::string &) {
    if (bytes.size() < 2) {
        m_lastError = "Unable to check input file format for \"" + path + "\"";
        return false;
    }
    std::string text;
    if (static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
        text = platform::Utf16LeBytesToUtf8(bytes.substr(2));
    } else if (bytes.compare(0, kUtf8ByteOrderMark.size(), kUtf8ByteOrderMark) == 0) {
        // What common editors write for UTF-8; invalid sequences become U+FFFD.
        text = platform::Utf16ToUtf8(platform::Utf8ToUtf16(bytes.substr(kUtf8ByteOrderMark.size())));
    } else {
        text = platform::AnsiToUtf8(bytes);
    }

    // Read into a copy, so that a file that fails leaves this record as it was.
    ExportSettings work = Settings;
    std::vector<std::string> warnings;
    std::string lastColumnsValue;
    bool productChecked = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        if (end != std::string::npos && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, equals);
        std::string value = line.substr(equals + 1);
        if (!productChecked) {
            productChecked = true;
            std::string found = key == "ProductName" ? value : std::string();
            if (found != productName) {
                m_lastError = "Invalid file format. Wrong product: " + found;
                return false;
            }
            work.ResetToDefaults();
            continue;
        }
        if (key == "OutputItems") {
            lastColumnsValue = value;
        }
        if (const ProfileKey *known = ProfileKeys::Find(key)) {
            DecodeValue(*known, value, work, warnings);
        }
    }
    if (!productChecked) {
        // No key=value line at all: not a profile of any product.
        m_lastError = "Invalid file format. Wrong product: ";
        return false;
    }
    if (work.OutputItems.Empty()) {
        warnings.push_back("Warning: profile key OutputItems has the value " + Quoted(lastColumnsValue) +
                           ", so the export has no output columns.");
    }
    Settings = std::move(work);
    m_warnings = std::move(warnings);
    return true;
}

}  // namespace config
