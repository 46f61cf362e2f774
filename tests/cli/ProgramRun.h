// Runs a copy of the vorlix executable in a program directory of the test's own (with libnotes.so and
// a settings file beside it) and collects its exit code and output.
#pragma once

#include <string>
#include <vector>

#include "support/TestSupport.h"

namespace clitest {

struct RunResult {
    int exitCode = -1;  // -1 when the process did not exit normally (signal, time-out)
    std::string out;
    std::string err;
};

class ProgramRun {
public:
    // Copies vorlix and libnotes.so into a fresh program directory and writes a notes.ini whose data
    // directory is Data() and the settings file vorlix.ini naming the directory and that notes.ini.
    ProgramRun();

    const std::string &Dir() const { return m_dir.Path(); }
    std::string Data() const { return m_dir.File("data"); }
    std::string File(const std::string &name) const { return m_dir.File(name); }
    std::string Executable() const { return m_dir.File("vorlix"); }

    // Rewrites the settings file vorlix.ini with these lines under [Notes].
    void WriteSettings(const std::vector<std::string> &notesLines);
    // The settings lines the constructor writes: ProgramPath and IniFilePath of this directory.
    std::vector<std::string> DefaultSettings() const;

    // Copies the stand-in RTF export filter (or the library given) into the program directory as
    // libnxrtf.so.
    void AddRtfFilter(const std::string &library = {});

    // Copies a file into the data directory.
    void AddDatabase(const std::string &source, const std::string &name);

    // Runs the executable with these arguments, standard input from /dev/null, LD_LIBRARY_PATH and
    // the display variables removed from the environment (so no window opens); gives up after
    // timeoutSeconds.
    RunResult Run(const std::vector<std::string> &arguments, int timeoutSeconds = 120) const;

    // Runs under this file-size limit in bytes (0: none), as a full disk would stop the run's writes.
    void SetFileSizeLimit(unsigned long bytes) { m_fileSizeLimit = bytes; }

private:
    testsupport::TempDir m_dir;
    unsigned long m_fileSizeLimit = 0;
};

}  // namespace clitest
