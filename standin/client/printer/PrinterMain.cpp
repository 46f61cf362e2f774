// vorlix-standin-printer: the stand-in PDF printer. Started by the client for each print job with the
// job's composite data in a private file, it detaches at once (so printing runs while the client goes
// on, as a spooler does), lays the records out as pages and writes them with Qt's PDF writer to the
// output file (under a temporary name, renamed into place), then clears OutputFile in the registry
// store (only while it still names this job's file) to tell the program the file is written.
//
//   vorlix-standin-printer --job FILE --output PDF --registry STORE --key KEY
//                          [--delay MS] [--action N] [--title TEXT] [--silent] [--foreground]
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "CdDocument.h"
#include "spool/RegistryStore.h"

namespace {

struct Job {
    std::string job;
    std::string output;
    std::string registry;
    std::string key;
    std::string title;
    unsigned long delayMs = 0;
    bool silent = false;
    bool foreground = false;  // stay attached (for debugging)
};

bool ParseArguments(int argc, char **argv, Job &job) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        std::string *target = a == "--job"        ? &job.job
                              : a == "--output"   ? &job.output
                              : a == "--registry" ? &job.registry
                              : a == "--key"      ? &job.key
                              : a == "--title"    ? &job.title
                                                  : nullptr;
        if (a == "--silent" || a == "--foreground") {
            (a == "--silent" ? job.silent : job.foreground) = true;
        } else if ((target != nullptr || a == "--delay" || a == "--action") && i + 1 < argc) {
            std::string value = argv[++i];
            if (a == "--delay") {
                char *end = nullptr;
                job.delayMs = std::strtoul(value.c_str(), &end, 10);
                if (end == value.c_str() || *end != '\0') {
                    return false;
                }
            } else if (target != nullptr) {
                *target = value;
            }
        } else {
            return false;
        }
    }
    return !job.job.empty() && !job.output.empty() && !job.registry.empty() && !job.key.empty();
}

void Report(const std::string &text) {
    std::fprintf(stderr, "vorlix-standin-printer: %s\n", text.c_str());
}

// Writes the pages to a new file beside the output and renames it into place.
bool WritePdf(QTextDocument &document, const Job &job, std::string &error) {
    std::string temp = job.output + ".printing-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = "cannot create a file beside " + job.output + ": " + std::strerror(errno);
        return false;
    }
    (void)fchmod(
        fd, 0644 & ~[] {
            mode_t mask = umask(0);
            umask(mask);
            return mask;
        }());
    QFile file;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        close(fd);
        unlink(temp.c_str());
        error = "cannot write " + temp;
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(96);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setTitle(QString::fromStdString(job.title));
        writer.setCreator(QStringLiteral("Vorlix stand-in printer"));
        document.print(&writer);
    }
    bool ok = file.flush() && fsync(file.handle()) == 0;
    file.close();
    if (!ok || rename(temp.c_str(), job.output.c_str()) != 0) {
        error = "cannot write " + job.output + ": " + std::strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

int Print(int argc, char **argv, const Job &job) {
    std::string records;
    {
        std::ifstream in(job.job, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        records = s.str();
        if (!in) {
            Report("cannot read the job " + job.job);
            unlink(job.job.c_str());
            return 1;
        }
    }
    unlink(job.job.c_str());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextDocument document;
    standin::printer::CdDocument layout;
    std::string error;
    if (!layout.Build(records, document, error)) {
        Report("the job's composite data is damaged: " + error);
        return 1;
    }
    if (!WritePdf(document, job, error)) {
        Report(error);
        return 1;
    }
    if (job.silent) {
        return 0;  // a printer that never reports completion, for the program's time-out path
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(job.delayMs));
    if (!standin::spool::RegistryStore::ClearStringIf(job.registry, job.key, "OutputFile", job.output,
                                                      error)) {
        Report(error);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    Job job;
    if (!ParseArguments(argc, argv, job)) {
        Report(
            "usage: vorlix-standin-printer --job FILE --output PDF --registry STORE --key KEY [--delay MS] "
            "[--action N] [--title TEXT] [--silent] [--foreground]");
        return 2;
    }
    if (!job.foreground) {
        pid_t pid = fork();
        if (pid < 0) {
            Report(std::string("cannot start printing: ") + std::strerror(errno));
            return 1;
        }
        if (pid > 0) {
            return 0;  // the job is taken; the child prints it
        }
        setsid();
    }
    return Print(argc, argv, job);
}
