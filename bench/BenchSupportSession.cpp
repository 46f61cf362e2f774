// The benchmarks' scratch data directory and Notes session.
#include "BenchSupportSession.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace bench {

ScratchNotes::ScratchNotes(const std::string &prefix) {
    const char *tmp = std::getenv("TMPDIR");
    m_dir = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + prefix +
            std::to_string(::getpid());
    std::filesystem::create_directories(m_dir + "/data");
    const std::string ini = m_dir + "/notes.ini";
    std::FILE *file = std::fopen(ini.c_str(), "w");
    if (file != nullptr) {
        std::fprintf(file, "[Notes]\nDirectory=%s/data\n", m_dir.c_str());
        std::fclose(file);
    }
    if (!m_session.Start(false, VORLIX_PROGRAM_DIR, ini, nullptr)) {
        std::fprintf(stderr, "cannot start the Notes session: %s\n", m_session.ErrorText().c_str());
        std::exit(1);
    }
}

ScratchNotes::~ScratchNotes() {
    m_session.End(false);
    std::error_code ec;
    std::filesystem::remove_all(m_dir, ec);
}

}  // namespace bench
