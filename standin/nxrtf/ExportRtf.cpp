// The exported entry point ExportRTF of libnxrtf.so: reads the composite-data file, converts it and
// writes the RTF under a temporary name that is renamed into place only when it is complete.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "../../src/notes/capi/RtfExportFilter.h"
#include "RtfConverter.h"
#include "cd/CdStatus.h"
#include "common/Lmbcs.h"

namespace {

constexpr std::size_t kMaxCdFile = 256u * 1024u * 1024u;
constexpr STATUS kStsBadArgument = 0x3E07;

bool ReadAll(const std::string &path, std::string &out) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    char buf[65536];
    bool ok = true;
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        out.append(buf, static_cast<std::size_t>(n));
        if (out.size() > kMaxCdFile) {
            ok = false;
            break;
        }
    }
    close(fd);
    return ok;
}

bool WriteAll(int fd, const std::string &bytes) {
    std::size_t at = 0;
    while (at < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + at, bytes.size() - at);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        at += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) STATUS ExportRTF(char *cdFile, WORD flags, HMODULE *module,
                                                                   char *altLibrary, char *rtfFile) {
    (void)flags;
    (void)module;
    (void)altLibrary;
    if (cdFile == nullptr || rtfFile == nullptr || *cdFile == '\0' || *rtfFile == '\0') {
        return kStsBadArgument;
    }
    std::string records;
    if (!ReadAll(standin::LmbcsToUtf8(cdFile), records)) {
        return standin::kStsCdFileUnreadable;
    }
    std::string rtf;
    std::string problem;
    standin::rtf::RtfConverter converter;
    if (!converter.Convert(records, rtf, problem)) {
        return standin::kStsCompositeTruncated;
    }
    std::string target = standin::LmbcsToUtf8(rtfFile);
    std::string temp = target + ".partXXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        return standin::kStsRtfWriteFailed;
    }
    // mkstemp makes the file private; the finished RTF is an ordinary document file.
    bool ok = WriteAll(fd, rtf) && fchmod(fd, 0644) == 0;
    ok = close(fd) == 0 && ok;
    if (ok && std::rename(temp.c_str(), target.c_str()) == 0) {
        return 0;
    }
    unlink(temp.c_str());
    return standin::kStsRtfWriteFailed;
}
