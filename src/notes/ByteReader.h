// Bounds-checked little-endian reads over a span of stored Notes data (item values, composite records).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace notes {

// Reads packed little-endian fields at offsets into a byte span. A read that does not fit yields 0
// (or an empty view) and marks the reader as overrun, so a decoder can read a whole record and check
// once whether the record was long enough for everything it took from it.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    ByteReader(const void *data, std::size_t size)
        : m_bytes(static_cast<const std::uint8_t *>(data), data == nullptr ? 0 : size) {}

    std::size_t Size() const { return m_bytes.size(); }
    const std::uint8_t *Data() const { return m_bytes.data(); }
    // True when count bytes from offset lie inside the span.
    bool Has(std::size_t offset, std::size_t count) const {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }
    // True when a read did not fit since the reader was made.
    bool Overrun() const { return m_overrun; }

    std::uint8_t Byte(std::size_t offset) const {
        if (!Has(offset, 1)) {
            m_overrun = true;
            return 0;
        }
        return m_bytes[offset];
    }
    std::uint16_t Word(std::size_t offset) const {
        if (!Has(offset, 2)) {
            m_overrun = true;
            return 0;
        }
        return static_cast<std::uint16_t>(m_bytes[offset] | (m_bytes[offset + 1] << 8));
    }
    std::uint32_t Dword(std::size_t offset) const {
        if (!Has(offset, 4)) {
            m_overrun = true;
            return 0;
        }
        return static_cast<std::uint32_t>(m_bytes[offset]) |
               (static_cast<std::uint32_t>(m_bytes[offset + 1]) << 8) |
               (static_cast<std::uint32_t>(m_bytes[offset + 2]) << 16) |
               (static_cast<std::uint32_t>(m_bytes[offset + 3]) << 24);
    }
    // count bytes from offset; empty and overrun when they do not fit.
    std::string_view Bytes(std::size_t offset, std::size_t count) const {
        if (!Has(offset, count)) {
            m_overrun = true;
            return {};
        }
        return {reinterpret_cast<const char *>(m_bytes.data() + offset), count};
    }
    // The bytes from offset up to the first NUL, at most limit bytes and never past the span's end
    // (a text without its NUL ends with the span). An offset past the end is an overrun.
    std::string_view CString(std::size_t offset, std::size_t limit = SIZE_MAX) const {
        if (offset > m_bytes.size()) {
            m_overrun = true;
            return {};
        }
        std::size_t end = offset;
        while (end < m_bytes.size() && end - offset < limit && m_bytes[end] != 0) {
            ++end;
        }
        return {reinterpret_cast<const char *>(m_bytes.data() + offset), end - offset};
    }

private:
    std::span<const std::uint8_t> m_bytes;
    mutable bool m_overrun = false;
};

}  // namespace notes
