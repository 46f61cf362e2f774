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

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
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

constexpr int kDotsPerInch = 96;     // the unit of the page layout: the pixels of the client's screen
constexpr double kMarginMm = 19.05;  // three quarters of an inch on every side

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
        writer.setResolution(kDotsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                         QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                         QPageLayout::Millimeter));
        writer.setTitle(QString::fromStdString(job.title));
        writer.setCreator(QStringLiteral("Vorlix stand-in printer"));
        // Pages of the printable area, laid out for the writer, drawn one below the other without
        // headers or footers (the client prints none unless the form asks for them).
        document.documentLayout()->setPaintDevice(&writer);
        document.setDocumentMargin(0);
        const QRect area = writer.pageLayout().paintRectPixels(kDotsPerInch);
        document.setPageSize(QSizeF(area.width(), area.height()));
        QPainter painter(&writer);
        for (int page = 0; page < document.pageCount(); ++page) {
            if (page > 0 && !writer.newPage()) {
                break;
            }
            painter.save();
            painter.translate(0, -static_cast<double>(page) * area.height());
            document.drawContents(
                &painter, QRectF(0, static_cast<double>(page) * area.height(), area.width(), area.height()));
            painter.restore();
        }
        if (!painter.end()) {
            error = "cannot write the pages of " + job.output;
            file.close();
            unlink(temp.c_str());
            return false;
        }
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
    // The program's files and pipes are not the printer's: a printer that outlives the script must not
    // hold them open (a reader of the program's output would wait for it).
    (void)close_range(3, ~0U, 0);
    int null = open("/dev/null", O_RDWR);
    if (null >= 0) {
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        if (null > STDERR_FILENO) {
            close(null);
        }
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
