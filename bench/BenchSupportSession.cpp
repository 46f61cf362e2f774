// The benchmarks' scratch data directory and Notes session.
#include "BenchSupportSession.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "config/DatabaseExportProfile.h"
#include "export/ExportRun.h"

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

bool ExportOnce(notes::NotesSession &session, const std::string &profilePath, long documents,
                std::string &error) {
    config::DatabaseExportProfile profile;
    if (!profile.LoadFromFile(profilePath, "Vorlix", "6.0.15")) {
        error = profile.LastError();
        return false;
    }
    profile.ShowProgress = false;
    std::atomic<bool> cancel{false};
    exporter::ExportRun run(profile, false);
    if (!run.Run(session, cancel, false, true, false) || run.ExportedTotal() != documents) {
        error = run.LastError();
        return false;
    }
    return true;
}

}  // namespace bench
