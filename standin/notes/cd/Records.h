// Composite-data records as bytes: the walk over a buffer of records (bounds-checked, stopping at a
// damaged record) and a writer that appends records with their headers and pad bytes.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "../../../src/notes/capi/CompositeRecords.h"

namespace standin::cd {

// One record of a walk: where it starts in the buffer, its signature as EnumCompositeBuffer reports it
// (0x00nn for byte and long records, 0xFFnn for word records) and its length with the header.
struct Record {
    std::size_t offset = 0;
    WORD signature = 0;
    DWORD length = 0;
};

enum class WalkEnd {
    Complete,   // every record was visited
    Stopped,    // the visitor returned false
    Truncated,  // a header or record runs past the end of the buffer
    Damaged,    // a record's length is shorter than its header
};

// Visits every record of the buffer in order. A record of odd length is followed by one pad byte
// (a missing pad byte after the last record is accepted). Never reads past the buffer.
WalkEnd WalkRecords(std::string_view records, const std::function<bool(const Record &)> &visit);

// The bytes of a record, header included.
inline std::string_view RecordBytes(std::string_view records, const Record &r) {
    return records.substr(r.offset, r.length);
}

// Bounds-checked little-endian reads: 0 when the field lies outside the bytes.
BYTE Byte(std::string_view bytes, std::size_t offset);
WORD Word(std::string_view bytes, std::size_t offset);
DWORD Dword(std::string_view bytes, std::size_t offset);

// Builds a buffer of records. Each Begin* appends a header (length filled in by End) for the
// signature as reported by the walk; the body is appended with the Put* calls.
class RecordWriter {
public:
    // A whole record of a signature whose header kind follows from its value: 0xFFnn word, else byte
    // records for the signatures kept short by Notes and long records for the rest.
    void Begin(WORD signature);
    void End();
    void PutByte(BYTE v) { m_out.push_back(static_cast<char>(v)); }
    void PutWord(WORD v);
    void PutDword(DWORD v);
    void PutBytes(std::string_view bytes) { m_out.append(bytes); }
    void PutZeros(std::size_t n) { m_out.append(n, '\0'); }
    // Writes a field at an offset from the start of the open record (the record must be that long).
    void SetWord(std::size_t offsetInRecord, WORD v);
    std::size_t RecordLength() const { return m_out.size() - m_start; }
    const std::string &Bytes() const { return m_out; }
    std::string Take() { return std::move(m_out); }
    void Append(std::string_view records) { m_out.append(records); }

private:
    std::string m_out;
    std::size_t m_start = 0;
    int m_kind = 0;  // 0 byte, 1 word, 2 long
};

// True when records of this signature carry a long (LSIG) header.
bool IsLongRecord(WORD signature);

}  // namespace standin::cd
