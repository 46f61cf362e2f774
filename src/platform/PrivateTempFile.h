// A temporary file of this process's own: created exclusively, readable and writable by its owner
// only, under a random name in the temporary directory, and removed when the object goes.
#pragma once

#include <string>

namespace platform {

class PrivateTempFile {
public:
    PrivateTempFile() = default;
    ~PrivateTempFile();
    PrivateTempFile(const PrivateTempFile &) = delete;
    PrivateTempFile &operator=(const PrivateTempFile &) = delete;

    // Creates the empty file "<TempDirectory()>/<prefix>XXXXXX<suffix>" (mode 0600, never an existing
    // name or a link planted there); false with ErrorText when it cannot be made. A file already made
    // by this object is kept.
    [[nodiscard]] bool Create(const std::string &prefix, const std::string &suffix);
    // Empties the file, keeping its name (so no other process can take the name meanwhile).
    [[nodiscard]] bool Empty();

    bool Created() const { return !m_path.empty(); }
    const std::string &Path() const { return m_path; }
    const std::string &ErrorText() const { return m_errorText; }

private:
    std::string m_path;
    std::string m_errorText;
};

}  // namespace platform
