// Note records in memory or in a temporary file, and the table of notes built on them.
#include "NoteTable.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace standin::dxl {

namespace {

constexpr std::size_t kBlockRecords = 64;  // records read back at once (about 5.5 KB)
constexpr std::size_t kCachedBlocks = 32;
constexpr std::size_t kBlocksPerWrite = 16;  // records appended to the file about 90 KB at a time
constexpr std::size_t kHeaderRing = 16;
constexpr std::size_t kFenceRecords = kBlockRecords;  // records per entry of the note ID fences
std::size_t g_spillThreshold = 65536;                 // about 5.5 MB of records

// An unlinked file in the temporary directory, or -1.
int OpenTemporary() {
    const char *tmp = std::getenv("TMPDIR");
    std::string dir = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    int fd = ::open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        return fd;
    }
    std::string pattern = dir + "/vorlix-index-XXXXXX";
    fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd >= 0) {
        ::unlink(pattern.c_str());
    }
    return fd;
}

// Runs a pread or pwrite of `size` bytes until all are done; false when one fails or makes no progress.
template <typename Call>
bool Whole(std::size_t size, Call call) {
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = call(done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool FullPwrite(int fd, const void *data, std::size_t size, std::uint64_t offset) {
    const char *p = static_cast<const char *>(data);
    return Whole(size, [&](std::size_t done) {
        return ::pwrite(fd, p + done, size - done, static_cast<off_t>(offset + done));
    });
}

bool FullPread(int fd, void *data, std::size_t size, std::uint64_t offset) {
    char *p = static_cast<char *>(data);
    return Whole(size, [&](std::size_t done) {
        return ::pread(fd, p + done, size - done, static_cast<off_t>(offset + done));
    });
}

void FillHeader(const NoteRecord &r, Note &n) {
    n.noteId = r.noteId;
    n.unid = r.unid;
    n.noteClass = r.noteClass;
    n.sequence = r.sequence;
    n.sequenceTime = r.sequenceTime;
    n.created = r.created;
    n.modified = r.modified;
    n.accessed = r.accessed;
    n.addedToFile = r.addedToFile;
    n.deleted = false;
    n.resident = false;
    n.sourceIdentity = (r.flags & kRecordSourceIdentity) != 0;
    n.sourceOffset = r.sourceOffset;
    n.sourceLength = r.sourceLength;
    n.data.clear();
    n.items.clear();
    n.view.reset();
    n.isSigned = false;
    n.signedAt = TIMEDATE{};
    n.DropExtra();
}

NoteRecord RecordOf(const Note &n) {
    NoteRecord r;
    r.noteId = n.noteId;
    r.noteClass = n.noteClass;
    r.flags = n.sourceIdentity ? kRecordSourceIdentity : 0;
    r.sourceOffset = n.sourceOffset;
    r.sourceLength = n.sourceLength;
    r.unid = n.unid;
    r.sequence = n.sequence;
    r.sequenceTime = n.sequenceTime;
    r.created = n.created;
    r.modified = n.modified;
    r.accessed = n.accessed;
    r.addedToFile = n.addedToFile;
    return r;
}

}  // namespace

RecordStore::~RecordStore() {
    Close();
}

RecordStore::RecordStore(RecordStore &&other) noexcept {
    *this = std::move(other);
}

RecordStore &RecordStore::operator=(RecordStore &&other) noexcept {
    if (this != &other) {
        Close();
        m_tail = std::move(other.m_tail);
        m_spilled = other.m_spilled;
        m_fd = other.m_fd;
        m_cache = std::move(other.m_cache);
        m_clock = other.m_clock;
        m_last = other.m_last;
        other.m_tail.clear();
        other.m_spilled = 0;
        other.m_fd = -1;
        other.m_cache.clear();
    }
    return *this;
}

void RecordStore::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

void RecordStore::SetSpillThreshold(std::size_t records) {
    g_spillThreshold = std::max<std::size_t>(records, 1);
}

bool RecordStore::WriteRecords(std::size_t first, const NoteRecord *records, std::size_t count) {
    return FullPwrite(m_fd, records, count * sizeof(NoteRecord),
                      static_cast<std::uint64_t>(first) * sizeof(NoteRecord));
}

bool RecordStore::Spill() {
    m_fd = OpenTemporary();
    if (m_fd < 0) {
        return false;
    }
    if (!WriteRecords(0, m_tail.data(), m_tail.size())) {
        Close();
        return false;
    }
    m_spilled = m_tail.size();
    m_tail.clear();
    m_tail.shrink_to_fit();
    m_tail.reserve(kBlockRecords * kBlocksPerWrite);
    return true;
}

void RecordStore::Append(const NoteRecord &record) {
    m_tail.push_back(record);
    if (m_fd < 0) {
        // Kept in memory when no temporary file can be made.
        if (m_tail.size() >= g_spillThreshold && m_tail.size() % kBlockRecords == 0) {
            (void)Spill();
        }
        return;
    }
    if (m_tail.size() >= kBlockRecords * kBlocksPerWrite) {
        if (WriteRecords(m_spilled, m_tail.data(), m_tail.size())) {
            m_spilled += m_tail.size();
            m_tail.clear();
        }
    }
}

const NoteRecord *RecordStore::Cached(std::size_t index) const {
    const std::size_t number = index / kBlockRecords;
    if (m_last < m_cache.size() && m_cache[m_last].number == number) {
        return &m_cache[m_last].records[index % kBlockRecords];
    }
    Block *victim = nullptr;
    for (Block &b : m_cache) {
        if (b.number == number) {
            b.used = ++m_clock;
            m_last = static_cast<std::size_t>(&b - m_cache.data());
            return &b.records[index % kBlockRecords];
        }
        if (victim == nullptr || b.used < victim->used) {
            victim = &b;
        }
    }
    if (m_cache.size() < kCachedBlocks) {
        victim = &m_cache.emplace_back();
    }
    const std::size_t first = number * kBlockRecords;
    const std::size_t count = std::min(kBlockRecords, m_spilled - first);
    victim->records.resize(count);
    if (!FullPread(m_fd, victim->records.data(), count * sizeof(NoteRecord),
                   static_cast<std::uint64_t>(first) * sizeof(NoteRecord))) {
        victim->number = static_cast<std::size_t>(-1);
        return nullptr;
    }
    victim->number = number;
    victim->used = ++m_clock;
    m_last = static_cast<std::size_t>(victim - m_cache.data());
    return &victim->records[index % kBlockRecords];
}

NoteRecord RecordStore::Get(std::size_t index) const {
    if (index >= m_spilled) {
        return index - m_spilled < m_tail.size() ? m_tail[index - m_spilled] : NoteRecord{};
    }
    const NoteRecord *r = Cached(index);
    return r == nullptr ? NoteRecord{} : *r;
}

void RecordStore::Set(std::size_t index, const NoteRecord &record) {
    if (index >= m_spilled) {
        if (index - m_spilled < m_tail.size()) {
            m_tail[index - m_spilled] = record;
        }
        return;
    }
    for (Block &b : m_cache) {
        if (b.number == index / kBlockRecords) {
            b.records[index % kBlockRecords] = record;
        }
    }
    if (!WriteRecords(index, &record, 1)) {
        // The file no longer takes writes: the records go back to memory, with this one changed.
        std::vector<NoteRecord> all(m_spilled);
        if (!FullPread(m_fd, all.data(), all.size() * sizeof(NoteRecord), 0)) {
            return;  // neither written nor readable: the file is gone, and the change with it
        }
        all[index] = record;
        all.insert(all.end(), m_tail.begin(), m_tail.end());
        m_tail = std::move(all);
        m_spilled = 0;
        m_cache.clear();
        Close();
    }
}

const Note &NoteTable::HeaderInto(std::size_t index, Note &scratch) const {
    NoteRecord r = m_records.Get(index);
    if ((r.flags & kRecordHeld) != 0 && r.held < m_held.size()) {
        return m_held[r.held];
    }
    FillHeader(r, scratch);
    return scratch;
}

const Note &NoteTable::operator[](std::size_t index) const {
    if (m_headers.size() < kHeaderRing) {
        m_headers.resize(kHeaderRing);
    }
    Note &slot = m_headers[m_nextHeader];
    m_nextHeader = (m_nextHeader + 1) % kHeaderRing;
    return HeaderInto(index, slot);
}

void NoteTable::Append(Note note, bool hold) {
    NoteRecord r = RecordOf(note);
    if (hold) {
        r.flags |= kRecordHeld;
        r.held = static_cast<std::uint32_t>(m_held.size());
        m_held.push_back(std::move(note));
    }
    m_records.Append(r);
}

void NoteTable::SetRecord(std::size_t index, const NoteRecord &record) {
    NoteRecord r = m_records.Get(index);
    NoteRecord changed = record;
    changed.flags = r.flags;
    changed.held = r.held;
    if ((r.flags & kRecordHeld) != 0) {
        Note &n = m_held[r.held];
        n.noteId = changed.noteId;
        n.unid = changed.unid;
        n.sequence = changed.sequence;
        n.sequenceTime = changed.sequenceTime;
        n.created = changed.created;
        n.modified = changed.modified;
        n.accessed = changed.accessed;
        n.addedToFile = changed.addedToFile;
        n.sourceIdentity = (record.flags & kRecordSourceIdentity) != 0;
    }
    changed.flags =
        static_cast<std::uint16_t>((r.flags & kRecordHeld) | (record.flags & kRecordSourceIdentity));
    m_records.Set(index, changed);
}

Note &NoteTable::Held(std::size_t index) {
    return m_held[m_records.Get(index).held];
}

Note &NoteTable::Hold(std::size_t index, Note note) {
    NoteRecord r = m_records.Get(index);
    if ((r.flags & kRecordHeld) != 0) {
        m_held[r.held] = std::move(note);
        return m_held[r.held];
    }
    r.flags |= kRecordHeld;
    r.held = static_cast<std::uint32_t>(m_held.size());
    m_held.push_back(std::move(note));
    m_records.Set(index, r);
    return m_held.back();
}

void NoteTable::Reindex() {
    m_byId.clear();
    m_fences.clear();
    m_sorted = true;
    NOTEID last = 0;
    for (std::size_t i = 0; i < size(); ++i) {
        NOTEID id = m_records.Get(i).noteId;
        if (i > 0 && id <= last) {
            m_sorted = false;
            break;
        }
        if (i % kFenceRecords == 0) {
            m_fences.push_back(id);
        }
        last = id;
    }
    if (m_sorted) {
        m_byId.shrink_to_fit();
        return;
    }
    m_fences.clear();
    m_fences.shrink_to_fit();
    m_byId.reserve(size());
    for (std::size_t i = 0; i < size(); ++i) {
        m_byId.emplace_back(m_records.Get(i).noteId, static_cast<std::uint32_t>(i));
    }
    // The last note of an ID wins, as when the index was filled in file order.
    std::stable_sort(m_byId.begin(), m_byId.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    std::vector<std::pair<NOTEID, std::uint32_t>> unique;
    unique.reserve(m_byId.size());
    for (const auto &entry : m_byId) {
        if (!unique.empty() && unique.back().first == entry.first) {
            unique.back() = entry;
        } else {
            unique.push_back(entry);
        }
    }
    m_byId = std::move(unique);
}

void NoteTable::IndexLast() {
    const std::size_t index = size() - 1;
    const NOTEID id = m_records.Get(index).noteId;
    if (m_sorted && (index == 0 || m_records.Get(index - 1).noteId < id)) {
        if (index % kFenceRecords == 0) {
            m_fences.push_back(id);
        }
        return;
    }
    if (m_sorted) {
        Reindex();
        return;
    }
    auto it = std::lower_bound(m_byId.begin(), m_byId.end(), id,
                               [](const auto &entry, NOTEID wanted) { return entry.first < wanted; });
    if (it != m_byId.end() && it->first == id) {
        it->second = static_cast<std::uint32_t>(index);
    } else {
        m_byId.insert(it, {id, static_cast<std::uint32_t>(index)});
    }
}

std::size_t NoteTable::IndexOf(NOTEID noteId) const {
    if (!m_sorted) {
        auto it = std::lower_bound(m_byId.begin(), m_byId.end(), noteId,
                                   [](const auto &entry, NOTEID wanted) { return entry.first < wanted; });
        return it == m_byId.end() || it->first != noteId ? npos : it->second;
    }
    // The block of records whose first ID is the last not above the one wanted, then within it.
    auto fence = std::upper_bound(m_fences.begin(), m_fences.end(), noteId);
    if (fence == m_fences.begin()) {
        return npos;
    }
    std::size_t low = static_cast<std::size_t>(fence - m_fences.begin() - 1) * kFenceRecords;
    std::size_t high = std::min(size(), low + kFenceRecords);
    while (low < high) {
        std::size_t mid = low + (high - low) / 2;
        NOTEID id = m_records.Get(mid).noteId;
        if (id == noteId) {
            return mid;
        }
        if (id < noteId) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return npos;
}

std::size_t NoteTable::IndexOfUnid(const UNID &unid) const {
    for (std::size_t i = 0; i < size(); ++i) {
        NoteRecord r = m_records.Get(i);
        if ((r.flags & kRecordHeld) != 0) {
            const Note &n = m_held[r.held];
            if (!n.deleted && std::memcmp(&n.unid, &unid, sizeof(UNID)) == 0) {
                return i;
            }
        } else if (std::memcmp(&r.unid, &unid, sizeof(UNID)) == 0) {
            return i;
        }
    }
    return npos;
}

std::size_t NoteTable::IndexByRank(std::size_t rank) const {
    return m_sorted ? rank : m_byId[rank].second;
}

NOTEID NoteTable::HighestId() const {
    if (empty()) {
        return 0;
    }
    return m_sorted ? m_records.Get(size() - 1).noteId : m_byId.back().first;
}

}  // namespace standin::dxl
