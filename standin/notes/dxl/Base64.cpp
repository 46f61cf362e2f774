// Base64 decoding and encoding of DXL binary content.
#include "Base64.h"

namespace standin::dxl {

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int Sextet(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

bool DecodeBase64(std::string_view text, std::string &out) {
    out.clear();
    out.reserve(text.size() / 4 * 3);
    unsigned int accumulator = 0;
    int bits = 0;
    int symbols = 0;
    int padding = 0;
    for (char c : text) {
        if (IsSpace(c)) {
            continue;
        }
        if (c == '=') {
            ++padding;
            ++symbols;
            continue;
        }
        if (padding > 0) {
            return false;  // data after padding
        }
        int value = Sextet(c);
        if (value < 0) {
            return false;
        }
        ++symbols;
        accumulator = (accumulator << 6) | static_cast<unsigned int>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<char>((accumulator >> bits) & 0xFF));
        }
    }
    if (padding > 2 || symbols % 4 != 0) {
        return false;
    }
    return true;
}

std::string EncodeBase64(std::string_view bytes, std::size_t lineLength) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4 + bytes.size() / 50 + 2);
    std::size_t column = 0;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned int chunk = static_cast<unsigned char>(bytes[i]) << 16;
        std::size_t n = bytes.size() - i;
        if (n > 1) {
            chunk |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        }
        if (n > 2) {
            chunk |= static_cast<unsigned char>(bytes[i + 2]);
        }
        out.push_back(kAlphabet[(chunk >> 18) & 63]);
        out.push_back(kAlphabet[(chunk >> 12) & 63]);
        out.push_back(n > 1 ? kAlphabet[(chunk >> 6) & 63] : '=');
        out.push_back(n > 2 ? kAlphabet[chunk & 63] : '=');
        column += 4;
        if (lineLength > 0 && column >= lineLength && i + 3 < bytes.size()) {
            out.push_back('\n');
            column = 0;
        }
    }
    return out;
}

}  // namespace standin::dxl
