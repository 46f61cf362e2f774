// The files one export run has written, so that a second document never silently replaces the file
// of a first one that happened to get the same name.
#pragma once

#include <string>
#include <unordered_set>

namespace exporter {

// A file name (or path) with n inserted before the first "." of its last component, or appended when
// that has none: "dir/a.b.txt" with 2 gives "dir/a2.b.txt", "readme" gives "readme2".
std::string NumberedFileName(const std::string &path, int n);

class OutputNameRegistry {
public:
    // The path to write for a file the run is about to create: path itself when no earlier document
    // of this run wrote it; otherwise the name numbered like equal attachment names (2, 3, ... before
    // the first "." of the file name, or appended when it has none), the first number not yet taken.
    // Names are compared without regard to ASCII letter case, so that the tree stays whole when copied
    // to a file system that ignores case. The returned path is recorded as taken.
    // A file left by an earlier run is not known here and is replaced as before.
    std::string Claim(const std::string &path);
    // True when the last Claim numbered the name.
    bool LastClaimRenamed() const { return m_renamed; }
    // Records a path as taken without numbering it (a file written under a name the caller chose).
    void Record(const std::string &path);
    void Clear() { m_taken.clear(); }

private:
    std::unordered_set<std::string> m_taken;  // folded to lower case
    bool m_renamed = false;
};

}  // namespace exporter
