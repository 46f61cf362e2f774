// The multiple-database queue and its CSV list file.
#include "config/NotesDatabaseList.h"

#include <algorithm>

#include "platform/Paths.h"

namespace config {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool EqualNoCase(const std::string &a, const std::string &b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::string QuoteField(const std::string &value) {
    if (value.find_first_of(",\"\r\n") == std::string::npos) {
        return value;
    }
    std::string quoted = "\"";
    for (char c : value) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

// Splits CSV text into records of fields. False when a quoted field is not closed or a quote is
// followed by something other than a separator; line then holds the 1-based line of the fault.
bool ParseCsv(std::string_view text, std::vector<std::vector<std::string>> &records, std::size_t &line) {
    line = 1;
    std::vector<std::string> record;
    std::string field;
    bool fieldStarted = false;
    std::size_t i = 0;
    auto endRecord = [&]() {
        if (fieldStarted || !record.empty()) {
            record.push_back(std::move(field));
            records.push_back(std::move(record));
        }
        record.clear();
        field.clear();
        fieldStarted = false;
    };
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"' && field.empty() && !fieldStarted) {
            const std::size_t quoteLine = line;
            ++i;
            for (;;) {
                if (i >= text.size()) {
                    line = quoteLine;
                    return false;
                }
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (text[i] == '\n') {
                    ++line;
                }
                field += text[i++];
            }
            fieldStarted = true;
            if (i < text.size() && text[i] != ',' && text[i] != '\r' && text[i] != '\n') {
                return false;
            }
            continue;
        }
        if (c == ',') {
            record.push_back(std::move(field));
            field.clear();
            fieldStarted = false;
            ++i;
            continue;
        }
        if (c == '\r' || c == '\n') {
            endRecord();
            i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
            ++line;
            continue;
        }
        field += c;
        fieldStarted = true;
        ++i;
    }
    endRecord();
    return true;
}

}  // namespace

bool NotesDatabaseList::Add(const NotesExportDatabase &entry) {
    if (Find(entry.server, entry.path) != nullptr) {
        return false;
    }
    m_entries.push_back(entry);
    m_entries.back().row = static_cast<int>(m_entries.size() - 1);
    return true;
}

const NotesExportDatabase *NotesDatabaseList::Find(const std::string &server, const std::string &path) const {
    for (const NotesExportDatabase &entry : m_entries) {
        if (EqualNoCase(entry.server, server) && EqualNoCase(entry.path, path)) {
            return &entry;
        }
    }
    return nullptr;
}

void NotesDatabaseList::Remove(std::vector<std::size_t> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    for (auto it = positions.rbegin(); it != positions.rend(); ++it) {
        if (*it < m_entries.size()) {
            m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*it));
        }
    }
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        m_entries[i].row = static_cast<int>(i);
    }
}

void NotesDatabaseList::ResetFlags() {
    for (NotesExportDatabase &entry : m_entries) {
        entry.processed = false;
        entry.exported = 0;
        entry.total = 0;
        entry.returnCode = 0;
        entry.status.clear();
        entry.image = kQueueImagePending;
    }
}

std::size_t NotesDatabaseList::ProcessedCount() const {
    return static_cast<std::size_t>(std::count_if(m_entries.begin(), m_entries.end(),
                                                  [](const NotesExportDatabase &e) { return e.processed; }));
}

std::string NotesDatabaseList::ToCsv() const {
    std::string text(kByteOrderMark);
    for (const NotesExportDatabase &entry : m_entries) {
        text +=
            QuoteField(entry.title) + "," + QuoteField(entry.server) + "," + QuoteField(entry.path) + "\r\n";
    }
    return text;
}

std::string NotesDatabaseList::StatusCsv() const {
    std::string text(kByteOrderMark);
    text += "Title,Server,Path,Exp,Tot,Status,RC\r\n";
    for (const NotesExportDatabase &entry : m_entries) {
        text += QuoteField(entry.title) + "," + QuoteField(entry.server) + "," + QuoteField(entry.path) +
                "," + std::to_string(entry.exported) + "," + std::to_string(entry.total) + "," +
                QuoteField(entry.status) + "," + std::to_string(entry.returnCode) + "\r\n";
    }
    return text;
}

bool NotesDatabaseList::FromCsv(const std::string &bytes) {
    std::string_view text(bytes);
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    std::vector<std::vector<std::string>> records;
    std::size_t line = 0;
    if (!ParseCsv(text, records, line)) {
        m_lastError = "Malformed quoted field in line " + std::to_string(line) + " of the database list";
        return false;
    }
    NotesDatabaseList read;
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::vector<std::string> &fields = records[i];
        if (fields.size() == 1 && fields[0].empty()) {
            continue;
        }
        fields.resize(std::max<std::size_t>(fields.size(), 3));
        NotesExportDatabase entry;
        entry.title = std::move(fields[0]);
        entry.server = std::move(fields[1]);
        entry.path = std::move(fields[2]);
        if (entry.path.empty()) {
            m_lastError = "No database path in entry " + std::to_string(i + 1) + " of the database list";
            return false;
        }
        if (!read.Add(entry)) {
            ++read.m_droppedDuplicates;
        }
    }
    m_entries = std::move(read.m_entries);
    m_droppedDuplicates = read.m_droppedDuplicates;
    m_lastError.clear();
    return true;
}

bool NotesDatabaseList::SaveToFile(const std::string &path) const {
    if (!platform::WriteFileAtomically(path, ToCsv())) {
        m_lastError = platform::LastFileError();
        return false;
    }
    return true;
}

bool NotesDatabaseList::LoadFromFile(const std::string &path) {
    std::string bytes;
    if (!platform::ReadWholeFile(path, bytes)) {
        m_lastError = platform::LastFileError();
        return false;
    }
    return FromCsv(bytes);
}

}  // namespace config
