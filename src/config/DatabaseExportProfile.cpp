// Profile and template files: writing and reading the export settings as key=value lines.
#include "config/DatabaseExportProfile.h"

#include <climits>
#include <cstdint>
#include <cstdio>

#include "config/ProfileKeys.h"
#include "notes/LmbcsConvert.h"
#include "notes/NotesApi.h"
#include "platform/CodePage.h"
#include "platform/Paths.h"

namespace config {

namespace {

constexpr const char *kLineBreakToken = "~@NL@~";

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

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

std::string DelimiterToHex(const std::string &delimiter) {
    std::string out;
    for (char16_t unit : platform::Utf8ToUtf16(delimiter)) {
        char group[8];
        std::snprintf(group, sizeof group, "%04X", static_cast<unsigned>(unit));
        out += group;
    }
    return out;
}

// Four characters per UTF-16 unit, read as hexadecimal up to the first non-hexadecimal character; a
// trailing group of fewer than four characters is ignored, and a group that gives 0 (which no
// delimiter can hold) too. An empty result gives the fallback.
std::string HexToDelimiter(const std::string &value, const char *fallback) {
    std::u16string text = platform::Utf8ToUtf16(value);
    std::u16string units;
    for (std::size_t pos = 0; pos + 4 <= text.size(); pos += 4) {
        unsigned unit = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            int digit = HexDigit(text[pos + i]);
            if (digit < 0) {
                break;
            }
            unit = unit * 16 + static_cast<unsigned>(digit);
        }
        if (unit != 0) {
            units.push_back(static_cast<char16_t>(unit));
        }
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
    for (const std::string &piece : SplitList(value)) {
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

void DecodeValue(const ProfileKey &key, const std::string &value, ExportSettings &settings) {
    switch (key.value) {
        case ProfileValue::Bool:
            ProfileKeys::Field<bool>(key, settings) = value == "1";
            return;
        case ProfileValue::Int:
            ProfileKeys::Field<std::int32_t>(key, settings) = ParseInt(value);
            return;
        case ProfileValue::Text:
            ProfileKeys::Field<std::string>(key, settings) = UnescapeLineBreaks(value);
            return;
        case ProfileValue::FieldName:
            ProfileKeys::Field<std::string>(key, settings) =
                FieldNameThroughNotesCharset(UnescapeLineBreaks(value));
            return;
        case ProfileValue::Delimiter:
            ProfileKeys::Field<std::string>(key, settings) =
                HexToDelimiter(value, std::string(key.key) == "Delimiter" ? "," : ";");
            return;
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
    if (Settings.CharacterEncoding == kEncodingUtf16) {
        return std::string("\xFF\xFE") + platform::Utf8ToUtf16LeBytes(text);
    }
    return platform::Utf8ToAnsi(text);
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
    } else {
        text = platform::AnsiToUtf8(bytes);
    }

    // Read into a copy, so that a file that fails leaves this record as it was.
    ExportSettings work = Settings;
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
        if (const ProfileKey *known = ProfileKeys::Find(key)) {
            DecodeValue(*known, value, work);
        }
    }
    if (!productChecked) {
        // No key=value line at all: not a profile of any product.
        m_lastError = "Invalid file format. Wrong product: ";
        return false;
    }
    Settings = std::move(work);
    return true;
}

}  // namespace config
