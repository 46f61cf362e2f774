// Password scrambling with an RC4 keystream over the low bytes of UTF-16 units, and its hex text.
#include "CKey.h"

#include <algorithm>
#include <array>
#include <utility>

#include "platform/AsciiText.h"

namespace password {

CKey::CKey(std::u16string_view units)
    : m_count(static_cast<std::uint32_t>(units.size())), m_units(new char16_t[units.size()]) {
    std::copy(units.begin(), units.end(), m_units.get());
}

CKey CKey::FromHexText(std::string_view text) {
    CKey key;
    key.m_count = static_cast<std::uint32_t>(text.size() / 2);
    key.m_units.reset(new char16_t[key.m_count]);
    key.m_wellFormed = text.size() % 2 == 0;
    for (std::uint32_t i = 0; i < key.m_count; ++i) {
        unsigned value = 0;
        for (std::size_t k = 0; k < 2; ++k) {
            const int digit = platform::HexDigit(text[2 * i + k]);
            if (digit < 0) {
                key.m_wellFormed = false;
                break;
            }
            value = value * 16 + static_cast<unsigned>(digit);
        }
        key.m_units[i] = static_cast<char16_t>(value);
    }
    return key;
}

CKey::CKey(const CKey &other)
    : m_count(other.m_count), m_units(new char16_t[other.m_count]), m_wellFormed(other.m_wellFormed) {
    std::copy(other.m_units.get(), other.m_units.get() + other.m_count, m_units.get());
}

CKey &CKey::operator=(const CKey &other) {
    if (this != &other) {
        CKey copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CKey::CKey(CKey &&other) noexcept
    : m_count(std::exchange(other.m_count, 0)),
      m_units(std::move(other.m_units)),
      m_wellFormed(other.m_wellFormed) {}

CKey &CKey::operator=(CKey &&other) noexcept {
    m_count = std::exchange(other.m_count, 0);
    m_units = std::move(other.m_units);
    m_wellFormed = other.m_wellFormed;
    return *this;
}

CKey::~CKey() = default;

void CKey::ApplyKeystream(const char16_t *key, std::uint32_t keyLength) {
    if (key == nullptr || keyLength == 0) {
        return;
    }
    std::array<std::uint8_t, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i) {
        state[i] = static_cast<std::uint8_t>(i);
    }
    std::size_t j = 0;
    for (std::size_t i = 0; i < state.size(); ++i) {
        const auto keyByte = static_cast<std::uint8_t>(key[i % keyLength] & 0xFF);
        j = (j + state[i] + keyByte) % 256;
        std::swap(state[i], state[j]);
    }
    std::size_t i = 0;
    j = 0;
    for (std::uint32_t n = 0; n < m_count; ++n) {
        i = (i + 1) % 256;
        j = (j + state[i]) % 256;
        std::swap(state[i], state[j]);
        const std::uint8_t keystream = state[(state[i] + state[j]) % 256];
        m_units[n] = static_cast<char16_t>(m_units[n] ^ keystream);
    }
}

std::string CKey::HexText() const {
    if (!Representable()) {
        return {};
    }
    std::string text;
    text.reserve(static_cast<std::size_t>(m_count) * 2);
    for (std::uint32_t n = 0; n < m_count; ++n) {
        // "%02X" of a unit below 0x100
        static constexpr char kHex[] = "0123456789ABCDEF";
        text += kHex[(m_units[n] >> 4) & 0x0F];
        text += kHex[m_units[n] & 0x0F];
    }
    return text;
}

std::u16string CKey::Units() const {
    return std::u16string(m_units.get(), m_count);
}

bool CKey::Representable() const {
    return std::all_of(m_units.get(), m_units.get() + m_count, [](char16_t unit) { return unit < 0x100; });
}

}  // namespace password
