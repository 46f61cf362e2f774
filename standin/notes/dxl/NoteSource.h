// Where the notes of an indexed database lie: the database's UTF-8 bytes, read by byte range when a
// note is opened, from the file itself or, for a file that had to be converted, from memory.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace standin::dxl {

class NoteSource {
public:
    virtual ~NoteSource() = default;
    // The bytes [offset, offset + length); false when they cannot be read whole.
    [[nodiscard]] virtual bool Read(std::uint64_t offset, std::size_t length, std::string &out) const = 0;

    std::string fileName;                  // for messages and identities
    std::vector<std::string> ourPrefixes;  // prefixes the root binds to our namespace
};

// A source over bytes in memory (a converted file, tests, the fuzz target).
class MemorySource : public NoteSource {
public:
    explicit MemorySource(std::string bytes) : m_bytes(std::move(bytes)) {}
    bool Read(std::uint64_t offset, std::size_t length, std::string &out) const override;
    const std::string &Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// A source over an open file, read with pread; the descriptor stays open (and the file's contents
// reachable even after it is replaced by renaming) until the source is destroyed.
class FileSource : public NoteSource {
public:
    explicit FileSource(int fd) : m_fd(fd) {}
    ~FileSource() override;
    FileSource(const FileSource &) = delete;
    FileSource &operator=(const FileSource &) = delete;
    bool Read(std::uint64_t offset, std::size_t length, std::string &out) const override;

private:
    int m_fd;
};

}  // namespace standin::dxl
