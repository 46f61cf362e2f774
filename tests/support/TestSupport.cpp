// Shared test helpers.
#include "support/TestSupport.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir() {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vorlix-test-XXXXXX";
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    if (mkdtemp(buf.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    m_path = buf.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void WriteFile(const std::string &path, const std::string &bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ProgramDir() {
    return VORLIX_PROGRAM_DIR;
}
std::string StandinNotesPath() {
    return ProgramDir() + "/libnotes.so";
}
std::string SourcePath(const std::string &relative) {
    return std::string(VORLIX_SOURCE_DIR) + "/" + relative;
}
std::string RealDataPath(const std::string &relative) {
    return std::string(VORLIX_SOURCE_DIR) + "/tests/data/realdata/" + relative;
}

std::string WriteNotesIni(const std::string &dir, const std::vector<std::string> &lines) {
    std::string text = "[Notes]\n";
    for (const std::string &line : lines) {
        text += line + "\n";
    }
    std::string path = dir + "/notes.ini";
    WriteFile(path, text);
    return path;
}

Standin &Standin::Get() {
    static Standin standin;
    return standin;
}

Standin::Standin() {
    m_library = dlopen(StandinNotesPath().c_str(), RTLD_NOW | RTLD_GLOBAL);
    if (m_library == nullptr) {
        throw std::runtime_error(std::string("cannot load the stand-in runtime: ") + dlerror());
    }
}

void *Standin::Symbol(const char *name) const {
    return dlsym(m_library, name);
}

StandinCounters Standin::Counters() const {
    StandinCounters c{};
    Fn<StandinGetCountersFn>("StandinGetCounters")(&c);
    return c;
}

void Standin::SetFault(const char *entryPoint, DWORD nth, STATUS status, bool every) const {
    Fn<StandinSetFaultFn>("StandinSetFault")(entryPoint, nth, status, every ? 1 : 0);
}

void Standin::ClearFaults() const {
    Fn<StandinClearFaultsFn>("StandinClearFaults")();
}

DWORD Standin::CallCount(const char *entryPoint) const {
    return Fn<StandinCallCountFn>("StandinCallCount")(entryPoint);
}

std::string Standin::Diagnostics() const {
    auto fn = Fn<StandinDiagnosticsFn>("StandinDiagnostics");
    DWORD len = fn(nullptr, 0);
    std::string text(len + 1, '\0');
    fn(text.data(), len + 1);
    text.resize(len);
    return text;
}

void Standin::ClearDiagnostics() const {
    Fn<StandinClearDiagnosticsFn>("StandinClearDiagnostics")();
}

void ExpectNothingLeft() {
    StandinCounters c = Standin::Get().Counters();
    EXPECT_EQ(c.databases, 0u) << "open databases";
    EXPECT_EQ(c.notes, 0u) << "open notes";
    EXPECT_EQ(c.collections, 0u) << "open collections";
    EXPECT_EQ(c.memory, 0u) << "allocated memory handles";
    EXPECT_EQ(c.locks, 0u) << "locked memory";
    EXPECT_EQ(c.computes, 0u) << "started computations";
}

}  // namespace testsupport
