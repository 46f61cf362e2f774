// Output files of an export run, opened safely: never through a symbolic link planted at their name,
// never a FIFO or device, locked for the run against a second writer, every write and close checked.
// A file replaced as a whole is written under a plainly partial name and renamed over its final name
// only when it is committed, so a killed run never leaves a cut file under the final name.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

enum class OutputMode {
    kReplace,   // written as "<path>.partial", renamed over path by Commit
    kTruncate,  // path itself, emptied once it is locked
    kAppend,    // path itself, every write appended
};

enum class OutputFailure {
    kNone,
    kOpen,        // cannot be created or opened (ErrorText says why)
    kNotRegular,  // the name is a symbolic link, directory, FIFO, device or socket
    kInUse,       // another process holds the file's lock
    kWrite,       // a write, flush or close failed (ErrorText says why)
};

class OutputFile {
public:
    OutputFile() = default;
    // Closes without committing: a kReplace file stays under its partial name.
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    [[nodiscard]] bool Open(const std::string &path, OutputMode mode);
    // Buffered for kReplace; written at once otherwise, so a log line is in the file when this returns.
    [[nodiscard]] bool Write(std::string_view bytes);
    // Writes what is buffered, syncs and closes; a kReplace file is then renamed over its final name.
    [[nodiscard]] bool Commit();
    // Closes without committing (nothing more is written; a kReplace file keeps its partial name).
    void Abandon();

    bool IsOpen() const { return m_fd >= 0; }
    const std::string &Path() const { return m_path; }
    OutputFailure Failure() const { return m_failure; }
    // The system's reason for the last failure ("No space left on device", ...).
    const std::string &ErrorText() const { return m_errorText; }

    static std::string PartialPath(const std::string &path) { return path + ".partial"; }

private:
    bool Fail(OutputFailure failure, int error);
    bool FlushBuffer();

    int m_fd = -1;
    OutputMode m_mode = OutputMode::kReplace;
    std::string m_path;
    std::string m_buffer;
    OutputFailure m_failure = OutputFailure::kNone;
    std::string m_errorText;
};

// True when both paths name one file: the same inode when both exist, else the same absolute path
// after the directories are resolved.
[[nodiscard]] bool SameFile(const std::string &a, const std::string &b);

}  // namespace platform
