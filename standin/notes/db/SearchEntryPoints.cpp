// NSFSearch: the notes of a database in ascending note ID order (by class, time and formula), or the
// entries of a directory opened for browsing.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "../Export.h"
#include "../Runtime.h"
#include "../common/TimeDate.h"
#include "DbHandle.h"
#include "DbStatus.h"
#include "Security.h"
#include "ViewIndex.h"
#include "dxl/Bytes.h"
#include "dxl/DxlText.h"
#include "dxl/ItemValues.h"

using namespace standin;

namespace {

// An ITEM_TABLE summary buffer from (name, value) pairs; values start with their type word.
std::string SummaryBuffer(const std::vector<std::pair<std::string, std::string>> &items) {
    std::string heads;
    std::string body;
    WORD count = 0;
    for (const auto &[name, value] : items) {
        if (4 + heads.size() + body.size() + 4 + name.size() + value.size() > 0xFFFF) {
            break;
        }
        dxl::AppendWord(heads, static_cast<WORD>(name.size()));
        dxl::AppendWord(heads, static_cast<WORD>(value.size()));
        body += name + value;
        ++count;
    }
    std::string out;
    dxl::AppendWord(out, static_cast<WORD>(4 + heads.size() + body.size()));
    dxl::AppendWord(out, count);
    return out + heads + body;
}

STATUS Deliver(NSFSEARCHPROC callback, void *param, SEARCH_MATCH match, std::string *summary) {
    if (summary != nullptr) {
        match.SummaryLength = static_cast<WORD>(summary->size());
        // The callback gets an aligned copy it may read as an ITEM_TABLE.
        std::vector<ITEM_TABLE> aligned(summary->size() / sizeof(ITEM_TABLE) + 1);
        std::memcpy(aligned.data(), summary->data(), summary->size());
        return callback(param, &match, aligned.data());
    }
    return callback(param, &match, nullptr);
}

bool IsDatabaseName(const std::string &name, WORD type) {
    std::string lower = dxl::ToLowerAscii(name);
    auto ends = [&](const char *ext) {
        std::size_t n = std::strlen(ext);
        return lower.size() > n && lower.compare(lower.size() - n, n, ext) == 0;
    };
    switch (type) {
        case notes::kFileTypeAny:
            return true;
        case notes::kFileTypeDbRepl:
            return ends(".nsf") || ends(".dxl");
        case notes::kFileTypeDbDesign:
            return ends(".ntf");
        case notes::kFileTypeMailbox:
            return ends(".box");
        case notes::kFileTypeDirsOnly:
            return false;
        default:
            return ends(".nsf") || ends(".ntf") || ends(".box") || ends(".dxl");
    }
}

STATUS SearchDirectory(const DbHandle &dir, WORD flags, WORD fileType, NSFSEARCHPROC callback, void *param) {
    WORD type = static_cast<WORD>(fileType & 0x00FF);
    bool dirs = (fileType & notes::kFileTypeDirs) != 0 || type == notes::kFileTypeDirsOnly;
    bool recurse = (fileType & notes::kFileTypeRecurse) != 0;
    struct Found {
        std::string relative;
        std::string absolute;
        bool isDir;
    };
    std::vector<Found> found;
    std::vector<std::string> pending{dir.directory};
    std::string base = dir.root.empty() || dir.root.back() == '/' ? dir.root : dir.root + "/";
    while (!pending.empty()) {
        std::string current = pending.back();
        pending.pop_back();
        DIR *d = opendir(current.c_str());
        if (d == nullptr) {
            continue;
        }
        while (dirent *e = readdir(d)) {
            std::string name = e->d_name;
            if (name == "." || name == "..") {
                continue;
            }
            std::string full = current + "/" + name;
            struct stat st {};
            if (stat(full.c_str(), &st) != 0) {
                continue;
            }
            std::string relative = full.compare(0, base.size(), base) == 0 ? full.substr(base.size()) : full;
            bool isDir = S_ISDIR(st.st_mode);
            if (isDir && recurse) {
                pending.push_back(full);
            }
            found.push_back({relative, full, isDir});
        }
        closedir(d);
    }
    std::sort(found.begin(), found.end(),
              [](const Found &a, const Found &b) { return a.relative < b.relative; });
    NOTEID id = 0;
    for (const Found &f : found) {
        std::string name =
            f.relative.substr(f.relative.rfind('/') == std::string::npos ? 0 : f.relative.rfind('/') + 1);
        if (f.isDir ? !dirs : !IsDatabaseName(name, type)) {
            continue;
        }
        struct stat st {};
        stat(f.absolute.c_str(), &st);
        std::string title = name;
        if (!f.isDir) {
            STATUS status = 0;
            std::shared_ptr<DatabaseFile> file = DatabaseFile::Acquire(f.absolute, status);
            if (file) {
                if (!file->db.title.empty()) {
                    title = dxl::LmbcsToUtf8(file->db.title);
                }
                STATUS ignored = DatabaseFile::Release(file);
                (void)ignored;
            }
        }
        std::string titleLmbcs;
        std::string pathLmbcs;
        if (!dxl::Utf8ToLmbcs(title, titleLmbcs) || !dxl::Utf8ToLmbcs(f.relative, pathLmbcs)) {
            continue;
        }
        SEARCH_MATCH match{};
        id += 4;
        match.ID.NoteID = id;
        match.NoteClass = notes::kNoteClassDocument;
        match.SERetFlags = notes::kSeMatch;
        std::vector<std::pair<std::string, std::string>> items;
        items.emplace_back("$TITLE", dxl::TextValue(titleLmbcs));
        items.emplace_back("$Path", dxl::TextValue(pathLmbcs));
        items.emplace_back("$Type", dxl::TextValue(f.isDir ? "$DIR" : "$NOTEFILE"));
        items.emplace_back("$Modified",
                           dxl::TimeValue(FromUnixSeconds(static_cast<std::int64_t>(st.st_mtime))));
        items.emplace_back("$Length", dxl::NumberValue(static_cast<double>(st.st_size)));
        items.emplace_back("$Info", dxl::TextValue(titleLmbcs + "\n\n#1\n#2"));
        std::string summary = SummaryBuffer(items);
        STATUS s = Deliver(callback, param, match, (flags & notes::kSearchSummary) != 0 ? &summary : nullptr);
        if (s != 0) {
            return s;
        }
    }
    return 0;
}

}  // namespace

extern "C" {

NOTES_EXPORT STATUS NSFSearch(DBHANDLE db, FORMULAHANDLE formula, char *viewTitle, WORD flags, WORD classMask,
                              TIMEDATE *since, NSFSEARCHPROC callback, void *param, TIMEDATE *retUntil) {
    (void)viewTitle;
    ApiLock lock(ApiMutex());
    if (STATUS s = EnterCall("NSFSearch")) {
        return s;
    }
    DbHandle *handle = FindDb(db);
    if (handle == nullptr || callback == nullptr) {
        return handle == nullptr ? kStsInvalidHandle : kStsBadArgument;
    }
    if (retUntil != nullptr) {
        *retUntil = FromUnixSeconds(static_cast<std::int64_t>(std::time(nullptr)));
    }
    if (!handle->file) {
        if ((flags & notes::kSearchFileType) == 0) {
            return kStsIsDirectory;
        }
        return SearchDirectory(*handle, flags, classMask, callback, param);
    }
    std::string compiled;
    if (formula != 0) {
        MemoryBlock *block = Handles::Lockable(formula);
        if (block == nullptr) {
            return kStsInvalidHandle;
        }
        compiled.assign(block->bytes.data(), block->bytes.size());
    }
    std::shared_ptr<DatabaseFile> file = handle->file;
    std::string server = handle->server;
    bool useSince = since != nullptr && !dxl::IsWildcardTime(*since) &&
                    (since->Innards[0] != 0 || since->Innards[1] != 0);
    const dxl::NoteTable &notes = file->db.notes;
    dxl::Note header;
    for (std::size_t rank = 0; rank < notes.IdCount(); ++rank) {
        const dxl::Note *n = &notes.HeaderAt(notes.IndexByRank(rank), header);
        if ((n->noteClass & classMask) == 0) {
            continue;
        }
        if (useSince && DifferenceHundredths(n->modified, *since) <= 0) {
            continue;
        }
        SEARCH_MATCH match{};
        match.ID.File = file->db.replicaId;
        match.ID.Note = n->unid.Note;
        match.ID.NoteID = n->noteId;
        match.OriginatorID.File = n->unid.File;
        match.OriginatorID.Note = n->unid.Note;
        match.OriginatorID.Sequence = n->sequence;
        match.OriginatorID.SequenceTime = n->sequenceTime;
        match.NoteClass = n->noteClass;
        if (n->deleted) {
            if ((flags & notes::kSearchNotifyDeletions) == 0 || !useSince) {
                continue;
            }
            match.NoteClass = static_cast<WORD>(n->noteClass | 0x8000);
            STATUS s = Deliver(callback, param, match, nullptr);
            if (s != 0) {
                return s;
            }
            continue;
        }
        if (!CanRead(*n)) {
            continue;
        }
        // A note the index holds only in part is read in full when the formula or the summary needs it.
        dxl::Note loaded;
        if (!compiled.empty() || (flags & notes::kSearchSummary) != 0) {
            std::string loadError;
            n = file->db.Load(*n, loaded, loadError);
            if (n == nullptr) {
                return FailWith(kStsDxlInvalid, loadError);
            }
        }
        bool selected = true;
        STATUS status = 0;
        if (!ViewIndex::Selects(compiled, *file, *n, server, selected, status)) {
            return status;
        }
        if (!selected) {
            continue;
        }
        match.SERetFlags = notes::kSeMatch;
        std::string summary;
        if ((flags & notes::kSearchSummary) != 0) {
            std::vector<std::pair<std::string, std::string>> items;
            for (std::size_t i = 0; i < n->items.size(); ++i) {
                WORD f = n->items[i].flags;
                if ((f & notes::kItemSummary) != 0 && !n->IsItemEncrypted(i)) {
                    items.emplace_back(std::string(n->ItemName(i)), std::string(n->ItemValue(i)));
                }
            }
            summary = SummaryBuffer(items);
        }
        STATUS s = Deliver(callback, param, match, (flags & notes::kSearchSummary) != 0 ? &summary : nullptr);
        if (s != 0) {
            return s;
        }
    }
    return 0;
}

}  // extern "C"
