// The scrambling buffer of the saved Notes password, shared by the program and the password add-in.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace password {

// The fixed key both sides scramble the saved password with (27 characters).
inline constexpr char16_t kPasswordScrambleKey[] = u"#QmRt7WpxZ^4NaHUKE2(B)LCYfd";
inline constexpr std::uint32_t kPasswordScrambleKeyLength = 27;

// A password as UTF-16 code units. The stored form is the units after the keystream, each written
// as two upper-case hexadecimal digits. Scrambling XORs only a unit's low byte, so a unit at or above
// U+0100 cannot be stored in two digits: Representable() tells callers to refuse such a password.
class CKey {
public:
    // Copies the units of a clear (or scrambled) password.
    explicit CKey(std::u16string_view units);
    // Parses stored text two characters at a time, each pair a base-16 number, so n characters give
    // n / 2 units (an odd last character is ignored). Parsing stops at the first character of a pair
    // that is not a hexadecimal digit, as a base-16 number reader does ("1z" is 0x01, "zz" is 0);
    // WellFormed() is false for such text and for an odd length.
    static CKey FromHexText(std::string_view text);

    CKey(const CKey &other);
    CKey &operator=(const CKey &other);
    CKey(CKey &&other) noexcept;
    CKey &operator=(CKey &&other) noexcept;
    virtual ~CKey();

    std::uint32_t Count() const { return m_count; }

    // Applies the RC4 keystream of key to the units in place: the keystream byte is XORed into each
    // unit's low byte. Each key unit contributes its low 8 bits to the key schedule. Applying the same
    // key twice restores the units. A null key or a key length of 0 leaves the units unchanged.
    void ApplyKeystream(const char16_t *key, std::uint32_t keyLength);

    // Each unit as "%02X", in order, nothing between; empty when the buffer is not Representable().
    std::string HexText() const;
    // The units as a string.
    std::u16string Units() const;

    // True when every unit fits two hexadecimal digits (below U+0100).
    bool Representable() const;
    // False when the text it was parsed from was not an even number of hexadecimal digits.
    bool WellFormed() const { return m_wellFormed; }

private:
    CKey() = default;

    std::uint32_t m_count = 0;
    std::unique_ptr<char16_t[]> m_units;
    bool m_wellFormed = true;
};

}  // namespace password
