// Shared test helpers: temporary directories, files, and the stand-in runtime loaded with dlopen.
#pragma once

#include <string>
#include <vector>

#include "StandinControl.h"

namespace testsupport {

// A fresh directory under TMPDIR, removed with everything in it at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &Path() const { return m_path; }
    std::string File(const std::string &name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

void WriteFile(const std::string &path, const std::string &bytes);
std::string ReadFile(const std::string &path);

// The program directory of the build (vorlix, libnotes.so and the other stand-ins).
std::string ProgramDir();
std::string StandinNotesPath();
// A file of the repository, by path relative to its root.
std::string SourcePath(const std::string &relative);
// A real DXL file written by another project, kept under tests/data/realdata.
std::string RealDataPath(const std::string &relative);

// Writes a notes.ini holding the given lines (each "Key=Value") into dir and returns its path.
std::string WriteNotesIni(const std::string &dir, const std::vector<std::string> &lines);

// The stand-in libnotes.so opened with dlopen (the same instance the binding loads from the
// program directory) and its control entry points.
class Standin {
public:
    static Standin &Get();
    void *Symbol(const char *name) const;
    template <typename F>
    F Fn(const char *name) const {
        return reinterpret_cast<F>(Symbol(name));
    }
    StandinCounters Counters() const;
    void SetFault(const char *entryPoint, DWORD nth, STATUS status, bool every = false) const;
    void ClearFaults() const;
    DWORD CallCount(const char *entryPoint) const;
    std::string Diagnostics() const;
    void ClearDiagnostics() const;

private:
    Standin();
    void *m_library = nullptr;
};

// Expects every counter of the stand-in to be zero: nothing left open, allocated or locked.
void ExpectNothingLeft();

}  // namespace testsupport
