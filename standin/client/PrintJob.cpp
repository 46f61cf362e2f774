// Rendering a note to composite data through the compound-text entry points and starting the printer
// program with it: a private temporary file (created exclusively, mode 0600) that the printer reads and
// removes. The printer program detaches at once, so printing goes on while the script returns.
#include "PrintJob.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "spool/PrinterChoice.h"

extern char **environ;

namespace standin::client {

namespace {

constexpr char kPrinterProgram[] = "vorlix-standin-printer";

// The directory of this library: the printer program is installed beside it.
std::string LibraryDirectory() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&PrintDocument), &info) == 0 || info.dli_fname == nullptr) {
        return ".";
    }
    std::string path = info.dli_fname;
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

bool Render(const NotesFunctions &fns, DBHANDLE db, NOTEID noteId, std::string &records, std::string &error) {
    NOTEHANDLE note = 0;
    STATUS status = fns.NSFNoteOpen(db, noteId, 0, &note);
    if (status != 0) {
        error = "Unable to open the selected document: " + fns.Message(status);
        return false;
    }
    DHANDLE compound = 0;
    status = fns.CompoundTextCreate(0, nullptr, &compound);
    if (status == 0) {
        status = fns.CompoundTextAddRenderedNote(compound, note, 0, 0);
        if (status != 0) {
            fns.CompoundTextDiscard(compound);
        }
    }
    DHANDLE buffer = 0;
    DWORD size = 0;
    char file[notes::kMaxPath + 1] = {};
    if (status == 0) {
        status = fns.CompoundTextClose(compound, &buffer, &size, file, sizeof file - 1);
    }
    (void)fns.NSFNoteClose(note);
    if (status != 0) {
        error = "Unable to render the selected document: " + fns.Message(status);
        return false;
    }
    if (buffer != 0) {
        const char *bytes = static_cast<const char *>(fns.OSLockObject(buffer));
        if (bytes != nullptr) {
            records.assign(bytes, size);
        }
        fns.OSUnlockObject(buffer);
        (void)fns.OSMemFree(buffer);
        return true;
    }
    // A large rendering comes back in a temporary file of the runtime's, which is ours to remove.
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    records = s.str();
    std::remove(file);
    if (!in || records.size() != size) {
        error = "Unable to read the rendered document from " + std::string(file);
        return false;
    }
    return true;
}

bool WriteJob(const std::string &records, std::string &path, std::string &error) {
    const char *tmp = std::getenv("TMPDIR");
    path = std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/vorlix-printjob-XXXXXX";
    int fd = mkstemp(path.data());
    if (fd < 0) {
        error = "Unable to create the print job file: " + std::string(std::strerror(errno));
        return false;
    }
    std::size_t done = 0;
    while (done < records.size()) {
        ssize_t n = write(fd, records.data() + done, records.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    bool ok = close(fd) == 0 && done == records.size();
    if (!ok) {
        error = "Unable to write the print job file " + path;
        unlink(path.c_str());
    }
    return ok;
}

bool StartPrinter(const std::vector<std::string> &arguments, std::string &error) {
    std::vector<char *> argv;
    for (const std::string &a : arguments) {
        argv.push_back(const_cast<char *>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    int rc = posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        error = "Unable to start the printer " + arguments[0] + ": " + std::strerror(rc);
        return false;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "The printer " + arguments[0] + " did not take the job";
        return false;
    }
    return true;
}

}  // namespace

bool PrintDocument(const NotesFunctions &fns, const std::string &server, const std::string &path,
                   NOTEID noteId, const std::string &unid, std::string &error) {
    std::string records;
    {
        ClientDatabase db(fns, server, path);
        if (db.Handle() == 0) {
            error = db.Error();
            return false;
        }
        if (!Render(fns, db.Handle(), noteId, records, error)) {
            return false;
        }
    }
    spool::RegistryStore store;
    std::string storePath = spool::RegistryStore::DefaultPath();
    if (!store.Load(storePath)) {
        error = "Unable to read the registry store " + storePath;
        return false;
    }
    spool::PrinterChoice choice = spool::ChoosePrinter(store);
    if (!choice.prints) {
        std::fprintf(stderr, "%s: the job for document %s writes no file: %s\n", kPrinterProgram,
                     unid.c_str(), choice.reason.c_str());
        return true;
    }
    std::string job;
    if (!WriteJob(records, job, error)) {
        return false;
    }
    std::vector<std::string> arguments = {LibraryDirectory() + "/" + kPrinterProgram,
                                          "--job",
                                          job,
                                          "--output",
                                          choice.outputFile,
                                          "--registry",
                                          storePath,
                                          "--key",
                                          choice.versionKey,
                                          "--delay",
                                          std::to_string(choice.delayMs),
                                          "--action",
                                          std::to_string(choice.pdfAction),
                                          "--title",
                                          unid};
    if (choice.silent) {
        arguments.push_back("--silent");
    }
    if (!StartPrinter(arguments, error)) {
        unlink(job.c_str());
        return false;
    }
    return true;
}

}  // namespace standin::client
