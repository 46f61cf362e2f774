// The compact note ID set.
#include "IdSet.h"

#include <algorithm>

namespace standin {

namespace {

constexpr std::size_t kDenseAt = 4096;  // a group's array is as large as its bitmap from here on
constexpr std::size_t kBitmapWords = 65536 / 64;

}  // namespace

bool IdSet::Insert(DWORD id) {
    const WORD high = static_cast<WORD>(id >> 16);
    const WORD low = static_cast<WORD>(id & 0xFFFF);
    auto g = std::lower_bound(m_groups.begin(), m_groups.end(), high,
                              [](const Group &group, WORD h) { return group.high < h; });
    if (g == m_groups.end() || g->high != high) {
        g = m_groups.insert(g, Group{high, {}, {}});
    }
    if (!g->bits.empty()) {
        std::uint64_t &word = g->bits[low / 64];
        const std::uint64_t bit = std::uint64_t{1} << (low % 64);
        if ((word & bit) != 0) {
            return false;
        }
        word |= bit;
        ++m_size;
        return true;
    }
    auto at = g->lows.empty() || g->lows.back() < low ? g->lows.end()
                                                      : std::lower_bound(g->lows.begin(), g->lows.end(), low);
    if (at != g->lows.end() && *at == low) {
        return false;
    }
    g->lows.insert(at, low);
    ++m_size;
    if (g->lows.size() >= kDenseAt) {
        g->bits.assign(kBitmapWords, 0);
        for (WORD l : g->lows) {
            g->bits[l / 64] |= std::uint64_t{1} << (l % 64);
        }
        g->lows.clear();
        g->lows.shrink_to_fit();
    }
    return true;
}

bool IdSet::Contains(DWORD id) const {
    const WORD high = static_cast<WORD>(id >> 16);
    const WORD low = static_cast<WORD>(id & 0xFFFF);
    auto g = std::lower_bound(m_groups.begin(), m_groups.end(), high,
                              [](const Group &group, WORD h) { return group.high < h; });
    if (g == m_groups.end() || g->high != high) {
        return false;
    }
    if (!g->bits.empty()) {
        return (g->bits[low / 64] >> (low % 64) & 1) != 0;
    }
    return std::binary_search(g->lows.begin(), g->lows.end(), low);
}

bool IdSet::NextInGroup(const Group &g, long from, DWORD &out) {
    const DWORD base = static_cast<DWORD>(g.high) << 16;
    const long start = from + 1;
    if (start > 0xFFFF) {
        return false;
    }
    if (g.bits.empty()) {
        auto at = std::lower_bound(g.lows.begin(), g.lows.end(), static_cast<WORD>(start));
        if (at == g.lows.end()) {
            return false;
        }
        out = base | *at;
        return true;
    }
    std::size_t w = static_cast<std::size_t>(start) / 64;
    std::uint64_t word = g.bits[w] & (~std::uint64_t{0} << (static_cast<std::size_t>(start) % 64));
    while (word == 0) {
        if (++w == kBitmapWords) {
            return false;
        }
        word = g.bits[w];
    }
    out = base | static_cast<DWORD>(w * 64 + static_cast<std::size_t>(__builtin_ctzll(word)));
    return true;
}

bool IdSet::Next(bool first, DWORD after, DWORD &out) const {
    if (first) {
        for (const Group &g : m_groups) {
            if (NextInGroup(g, -1, out)) {
                return true;
            }
        }
        return false;
    }
    const WORD high = static_cast<WORD>(after >> 16);
    auto g = std::lower_bound(m_groups.begin(), m_groups.end(), high,
                              [](const Group &group, WORD h) { return group.high < h; });
    for (; g != m_groups.end(); ++g) {
        const long from = g->high == high ? static_cast<long>(after & 0xFFFF) : -1;
        if (NextInGroup(*g, from, out)) {
            return true;
        }
    }
    return false;
}

}  // namespace standin
