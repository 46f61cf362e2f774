// Memory layout of an open note's items.
#include "NoteHandle.h"

#include <cstring>

#include "dxl/Bytes.h"

namespace standin {

namespace {

// A pool's item offsets must fit a BLOCK (16 bits); a new pool starts before they would not.
constexpr std::size_t kPoolLimit = 0xFFF0;
constexpr std::size_t kItemHeader = 4;

}  // namespace

NoteHandle::~NoteHandle() {
    for (DHANDLE pool : pools) {
        Handles::Remove(pool, HandleKind::Other);
    }
}

bool NoteHandle::IsSealed() const {
    return note.IsEncrypted();
}

std::string_view NoteHandle::Served(std::size_t index) const {
    const ItemSlot &s = slots[index];
    MemoryBlock *block = Handles::Lockable(s.pool);
    if (block == nullptr) {
        return std::string_view();
    }
    return std::string_view(block->bytes.data() + s.valueBlock, s.valueLength);
}

void NoteHandle::Layout() {
    for (DHANDLE pool : pools) {
        Handles::Remove(pool, HandleKind::Other);
    }
    pools.clear();
    slots.assign(note.items.size(), ItemSlot{});
    std::size_t i = 0;
    while (i < note.items.size()) {
        // Gather the items of one pool: offsets stay below the BLOCK limit.
        std::size_t first = i;
        std::size_t size = 0;
        while (i < note.items.size() && (i == first || size < kPoolLimit)) {
            size += kItemHeader + note.items[i].valueLength + (note.items[i].valueLength & 1);
            ++i;
        }
        auto block = std::make_unique<MemoryBlock>(size, HandleKind::Other);
        char *bytes = block->bytes.data();
        std::size_t at = 0;
        std::vector<std::pair<std::size_t, std::size_t>> placed;
        for (std::size_t k = first; k < i; ++k) {
            DWORD index = static_cast<DWORD>(k);
            std::memcpy(bytes + at, &index, sizeof index);
            std::string_view value = note.ItemValue(k);
            std::string hidden;
            if (!decrypted && note.IsItemEncrypted(k)) {
                // Sealed data: served as seal data, its bytes scrambled, until NSFNoteDecrypt.
                hidden.assign(value);
                if (hidden.size() >= 2) {
                    hidden[0] = static_cast<char>(notes::kTypeSealData & 0xFF);
                    hidden[1] = static_cast<char>(notes::kTypeSealData >> 8);
                }
                for (std::size_t b = 2; b < hidden.size(); ++b) {
                    hidden[b] = static_cast<char>(hidden[b] ^ 0x5A);
                }
                value = hidden;
            }
            std::memcpy(bytes + at + kItemHeader, value.data(), value.size());
            placed.emplace_back(k, at);
            at += kItemHeader + value.size() + (value.size() & 1);
        }
        DHANDLE pool = Handles::Add(std::move(block));
        pools.push_back(pool);
        for (auto [k, offset] : placed) {
            slots[k].pool = pool;
            slots[k].itemBlock = static_cast<BLOCK>(offset);
            slots[k].valueBlock = static_cast<BLOCK>(offset + kItemHeader);
            slots[k].valueLength = note.items[k].valueLength;
        }
    }
}

long NoteHandle::IndexOfItemBlock(const BLOCKID &item) const {
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].pool == item.pool && slots[i].itemBlock == item.block) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

long NoteHandle::IndexOfValueBlock(const BLOCKID &value) const {
    for (std::size_t i = 0; i < slots.size(); ++i) {
        if (slots[i].pool == value.pool && slots[i].valueBlock == value.block) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

}  // namespace standin
