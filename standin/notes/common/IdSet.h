// A set of note IDs kept compact: IDs grouped by their upper 16 bits, each group a sorted array of
// the lower halves or, once dense, a bitmap, so that a table of a million notes costs well under a
// byte per ID.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "../../../src/notes/capi/NotesTypes.h"

namespace standin {

class IdSet {
public:
    // True when the ID was not in the set yet.
    bool Insert(DWORD id);
    bool Contains(DWORD id) const;
    std::size_t Size() const { return m_size; }
    // The smallest ID of the set (first) or the smallest above `after`; false when there is none.
    [[nodiscard]] bool Next(bool first, DWORD after, DWORD &out) const;
    // Every ID in ascending order.
    template <typename F>
    void ForEach(F f) const {
        for (const Group &g : m_groups) {
            const DWORD base = static_cast<DWORD>(g.high) << 16;
            if (g.bits.empty()) {
                for (WORD low : g.lows) {
                    f(base | low);
                }
                continue;
            }
            for (std::size_t w = 0; w < g.bits.size(); ++w) {
                for (std::uint64_t word = g.bits[w]; word != 0; word &= word - 1) {
                    f(base | static_cast<DWORD>(w * 64 + static_cast<std::size_t>(__builtin_ctzll(word))));
                }
            }
        }
    }

private:
    struct Group {
        WORD high = 0;
        std::vector<WORD> lows;           // sorted, while the group is sparse
        std::vector<std::uint64_t> bits;  // 65,536 bits once dense (then lows is empty)
    };
    // The first ID of the group above `low` (or its first when from is -1); false when none.
    static bool NextInGroup(const Group &g, long from, DWORD &out);

    std::vector<Group> m_groups;  // sorted by high
    std::size_t m_size = 0;
};

}  // namespace standin
