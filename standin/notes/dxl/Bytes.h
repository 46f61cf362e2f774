// Little-endian byte helpers and small text utilities of the DXL model.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "../../../src/notes/capi/NotesTypes.h"

namespace standin::dxl {

inline void AppendWord(std::string &out, WORD value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

inline void AppendDword(std::string &out, DWORD value) {
    AppendWord(out, static_cast<WORD>(value & 0xFFFF));
    AppendWord(out, static_cast<WORD>(value >> 16));
}

inline void AppendTimeDate(std::string &out, const TIMEDATE &t) {
    AppendDword(out, t.Innards[0]);
    AppendDword(out, t.Innards[1]);
}

void AppendDouble(std::string &out, double value);

// Bounds are the caller's: offset + 2 (4) must lie within the bytes.
inline WORD ReadWord(std::string_view bytes, std::size_t offset) {
    return static_cast<WORD>(static_cast<unsigned char>(bytes[offset]) |
                             (static_cast<unsigned char>(bytes[offset + 1]) << 8));
}

inline DWORD ReadDword(std::string_view bytes, std::size_t offset) {
    return static_cast<DWORD>(ReadWord(bytes, offset)) |
           (static_cast<DWORD>(ReadWord(bytes, offset + 2)) << 16);
}

double ReadDouble(std::string_view bytes, std::size_t offset);

// ASCII case-insensitive comparison (item names, design note names).
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string ToLowerAscii(std::string_view text);

// 32 upper-case hexadecimal digits of a UNID (File then Note, each high DWORD first), and back.
std::string UnidText(const UNID &unid);
bool ParseUnid(std::string_view text, UNID &unid);
// 16 hexadecimal digits of a replica ID (high DWORD first), and back.
std::string ReplicaText(const DBID &id);
bool ParseReplica(std::string_view text, DBID &id);

// A 64-bit FNV-1a hash, for identities assigned deterministically.
std::uint64_t Hash64(std::string_view text, std::uint64_t seed = 0xcbf29ce484222325ULL);

}  // namespace standin::dxl

namespace standin::dxl {
// Text escaped for XML content and single- or double-quoted attributes.
std::string EscapeXml(std::string_view text);
}  // namespace standin::dxl
