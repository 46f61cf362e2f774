// The large-database generator of the benchmarks: deterministic text, numbers and lists.
#include "BenchSupportDxl.h"

#include <cstdio>
#include <memory>

namespace bench {

namespace {

struct FileCloser {
    void operator()(std::FILE *file) const { std::fclose(file); }
};

const char *const kWords[] = {"alpha",  "Bravo", "charlie", "Delta", "echo",
                              "Müller", "Größe", "東京",    "Αθήνα", "zulu"};

// The database element and the view "All" (every document, one column showing the item).
void WriteDatabaseStart(std::FILE *out, const char *title, const char *replicaId, const char *columnItem) {
    std::fprintf(out,
                 "<?xml version='1.0' encoding='utf-8'?>\n<database xmlns='http://www.lotus.com/dxl' "
                 "title='%s' replicaid='%s'>\n"
                 "<view name='All'><noteinfo noteid='11e' unid='%s000000000000011E' sequence='1'/>"
                 "<code event='selection'><formula>SELECT @All</formula></code>"
                 "<column><columnheader title='%s'/><code event='value'><formula>%s</formula></code>"
                 "</column></view>\n",
                 title, replicaId, replicaId, columnItem, columnItem);
}

// Base64 of bytes, as DXL holds file data.
std::string Base64(const std::string &bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
        unsigned long group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            text += k <= n ? kDigits[(group >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return text;
}

}  // namespace

bool WriteAttachmentDatabase(const std::string &path, long documents, const std::vector<std::size_t> &sizes,
                             std::size_t &attachmentBytes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    std::FILE *out = file.get();
    WriteDatabaseStart(out, "Attachments", "85257A0B00BE0C12", "Subject");
    attachmentBytes = 0;
    unsigned long seed = 12345;
    for (long i = 0; i < documents; ++i) {
        const unsigned long noteId = 0x8F6 + 4 * static_cast<unsigned long>(i);
        std::fprintf(
            out,
            "<document form='Memo'><noteinfo noteid='%lx' unid='85257A0B00BE0C12%016lX' sequence='1'/>"
            "<item name='Subject'><text>Document %ld</text></item><item name='Body'><richtext>"
            "<pardef id='1'/>",
            noteId, noteId, i);
        for (std::size_t a = 0; a < sizes.size(); ++a) {
            std::fprintf(out,
                         "<par><attachmentref name='file%zu.bin' displayname='Report %ld-%zu.bin'/></par>",
                         a + 1, i, a + 1);
        }
        std::fputs("</richtext></item>", out);
        for (std::size_t a = 0; a < sizes.size(); ++a) {
            std::string bytes(sizes[a], '\0');
            for (char &c : bytes) {
                seed = seed * 1103515245UL + 12345UL;
                c = static_cast<char>(seed >> 16);
            }
            attachmentBytes += bytes.size();
            std::fprintf(out,
                         "<item name='$FILE'><object><file hosttype='msdos' name='file%zu.bin'><filedata>%s"
                         "</filedata></file></object></item>",
                         a + 1, Base64(bytes).c_str());
        }
        std::fputs("</document>\n", out);
    }
    std::fputs("</database>\n", out);
    return std::ferror(out) == 0;
}

bool WriteLargeDatabase(const std::string &path, long documents, int fieldCount) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        return false;
    }
    std::FILE *out = file.get();
    WriteDatabaseStart(out, "Benchmark", "85257A0B00BE0C11", "Field1");
    for (long i = 0; i < documents; ++i) {
        const unsigned long noteId = 0x8F6 + 4 * static_cast<unsigned long>(i);
        std::fprintf(out,
                     "<document form='Row'><noteinfo noteid='%lx' unid='85257A0B00BE0C11%016lX' sequence='1'>"
                     "<created><datetime>20240105T093000,00+01</datetime></created>"
                     "<modified><datetime>20240106T101500,00+01</datetime></modified></noteinfo>",
                     noteId, noteId);
        for (int f = 1; f <= fieldCount; ++f) {
            const char *word = kWords[(i + f) % 10];
            if (f == 3) {
                std::fprintf(
                    out,
                    "<item name='Field%d'><textlist><text>%s %ld</text><text>%s</text></textlist></item>", f,
                    word, i, kWords[(i * 7 + f) % 10]);
            } else if (f % 2 == 0) {
                std::fprintf(out, "<item name='Field%d'><number>%ld.%02ld</number></item>", f, i * f,
                             i % 100);
            } else {
                std::fprintf(out, "<item name='Field%d'><text>%s document %ld, field %d</text></item>", f,
                             word, i, f);
            }
        }
        std::fputs("</document>\n", out);
    }
    std::fputs("</database>\n", out);
    return std::ferror(out) == 0;
}

}  // namespace bench
