// Little-endian byte helpers and small text utilities of the DXL model.
#include "Bytes.h"

#include <cstdio>
#include <cstring>

namespace standin::dxl {

void AppendDouble(std::string &out, double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    AppendDword(out, static_cast<DWORD>(bits & 0xFFFFFFFFu));
    AppendDword(out, static_cast<DWORD>(bits >> 32));
}

double ReadDouble(std::string_view bytes, std::size_t offset) {
    std::uint64_t bits =
        ReadDword(bytes, offset) | (static_cast<std::uint64_t>(ReadDword(bytes, offset + 4)) << 32);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

namespace {

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool ParseHexDword(std::string_view text, DWORD &value) {
    value = 0;
    for (char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            return false;
        }
        value = (value << 4) | static_cast<DWORD>(digit);
    }
    return true;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (char &c : out) {
        c = LowerAscii(c);
    }
    return out;
}

std::string UnidText(const UNID &unid) {
    char buf[33];
    std::snprintf(buf, sizeof buf, "%08X%08X%08X%08X", unid.File.Innards[1], unid.File.Innards[0],
                  unid.Note.Innards[1], unid.Note.Innards[0]);
    return buf;
}

bool ParseUnid(std::string_view text, UNID &unid) {
    if (text.size() != 32) {
        return false;
    }
    return ParseHexDword(text.substr(0, 8), unid.File.Innards[1]) &&
           ParseHexDword(text.substr(8, 8), unid.File.Innards[0]) &&
           ParseHexDword(text.substr(16, 8), unid.Note.Innards[1]) &&
           ParseHexDword(text.substr(24, 8), unid.Note.Innards[0]);
}

std::string ReplicaText(const DBID &id) {
    char buf[17];
    std::snprintf(buf, sizeof buf, "%08X%08X", id.Innards[1], id.Innards[0]);
    return buf;
}

bool ParseReplica(std::string_view text, DBID &id) {
    if (text.size() != 16) {
        return false;
    }
    return ParseHexDword(text.substr(0, 8), id.Innards[1]) && ParseHexDword(text.substr(8, 8), id.Innards[0]);
}

std::uint64_t Hash64(std::string_view text, std::uint64_t seed) {
    std::uint64_t h = seed;
    for (char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ULL;
    }
    return h;
}

}  // namespace standin::dxl

namespace standin::dxl {

std::string EscapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '\'':
                out += "&apos;";
                break;
            case '"':
                out += "&quot;";
                break;
            // Character references keep line ends and tabs exactly: a parser folds a raw CR LF to LF
            // in text and turns both into spaces in attributes.
            case '\r':
                out += "&#13;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\t':
                out += "&#9;";
                break;
            default:
                out.push_back(c);
        }
    }
    return out;
}

}  // namespace standin::dxl
