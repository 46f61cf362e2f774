// RTF export of a note through composite data and the Notes RTF export filter.
#include "export/RtfExport.h"

#include <cstdio>
#include <mutex>

#include "notes/LmbcsConvert.h"
#include "notes/NotesApi.h"
#include "notes/NotesErrorText.h"
#include "notes/NotesNote.h"
#include "notes/capi/CompositeRecords.h"
#include "notes/capi/RtfExportFilter.h"
#include "platform/AsciiText.h"
#include "platform/DynamicLibrary.h"
#include "platform/OutputFile.h"
#include "platform/Paths.h"
#include "platform/PrivateTempFile.h"

namespace exporter {

namespace {

constexpr const char kPictureGroup[] = "{\\pict\\wbitmap";
constexpr WORD kParagraphPerLine = 0x0008;  // PARADELIM_ANYLINE: a new paragraph on each line
constexpr WORD kRtfExportFlags = 2;
constexpr WORD kFileNameBuffer = 255;

// Face 1 (Swiss), no attributes, colour 0, 10 points.
constexpr FONTID kTextFont = static_cast<FONTID>(notes::cd::kFaceSwiss) | (static_cast<FONTID>(10) << 24);

// What one process shares between its RTF exports: the private CD file and the loaded filter, which
// stays loaded once found.
struct RtfProcessState {
    std::mutex mutex;
    platform::PrivateTempFile cdFile;
    void *library = nullptr;
    ExportRtfFn exportRtf = nullptr;
};

RtfProcessState &ProcessState() {
    static RtfProcessState state;
    return state;
}

void Record(notes::NotesNote &note, int code, const char *title, std::string detail) {
    note.ErrorRecords().push_back({code, title, std::move(detail)});
}

// The filter from the Notes program directory, else by name through the system's library search.
bool LoadFilter(RtfProcessState &state) {
    if (state.exportRtf != nullptr) {
        return true;
    }
    std::string error;
    const std::string &directory = notes::Api().programDirectory;
    const std::string beside =
        directory.empty() ? std::string() : platform::JoinPath(directory, kRtfFilterLibrary);
    state.library = !beside.empty() && platform::FileExists(beside)
                        ? platform::LoadLibraryFile(beside, error)
                        : platform::LoadLibraryFile(kRtfFilterLibrary, error);
    return state.library != nullptr;
}

// Replaces the CD file's content with bytes.
bool WriteCdFile(const std::string &path, const char *bytes, std::size_t size, std::string &error) {
    platform::OutputFile file;
    if (!file.Open(path, platform::OutputMode::kTruncate) || !file.Write(std::string_view(bytes, size)) ||
        !file.Commit()) {
        error = "Unable to write the temporary CD file \"" + path + "\": " + file.ErrorText();
        file.Abandon();
        return false;
    }
    return true;
}

// A memory handle the runtime gave: written to the CD file, then unlocked and freed on every path.
bool WriteBufferToCdFile(DHANDLE buffer, DWORD size, const std::string &cdPath, std::string &error) {
    auto &fn = notes::Api().fn;
    const auto *bytes = static_cast<const char *>(fn.OSLockObject(buffer));
    bool written = false;
    if (bytes == nullptr) {
        error = "Unable to lock the composite data of the note";
    } else {
        written = WriteCdFile(cdPath, bytes, size, error);
        fn.OSUnlockObject(buffer);
    }
    fn.OSMemFree(buffer);
    return written;
}

// A temporary file the runtime wrote: copied over the CD file (replacing what the previous document
// left there), then removed.
bool CopyFileToCdFile(const std::string &from, const std::string &cdPath, std::string &error) {
    std::string bytes;
    const bool read = platform::ReadWholeFile(from, bytes);
    if (!read) {
        error = platform::LastFileError();
    }
    const bool written = read && WriteCdFile(cdPath, bytes.data(), bytes.size(), error);
    std::remove(from.c_str());
    return written;
}

// The whole note rendered through its form, as composite data in the CD file.
bool RenderNoteToCdFile(notes::NotesNote &note, const std::string &cdPath) {
    auto &fn = notes::Api().fn;
    DHANDLE compound = notes::kNullHandle;
    STATUS status = fn.CompoundTextCreate(notes::kNullHandle, nullptr, &compound);
    if (status != notes::kNoError) {
        note.AppendError("Error Creating Compound Text: " + notes::NotesErrorText(status));
        return false;
    }
    status = fn.CompoundTextAddRenderedNote(compound, note.Handle(), notes::kNullHandle, 0);
    if (status != notes::kNoError) {
        fn.CompoundTextDiscard(compound);
        note.AppendError("Error Rendering Note: " + notes::NotesErrorText(status));
        return false;
    }
    DHANDLE buffer = notes::kNullHandle;
    DWORD size = 0;
    char fileName[kFileNameBuffer + 1] = {};
    status = fn.CompoundTextClose(compound, &buffer, &size, fileName, kFileNameBuffer);
    if (status != notes::kNoError) {
        fn.CompoundTextDiscard(compound);
        note.AppendError("Error with CompoundTextClose: " + notes::NotesErrorText(status));
        return false;
    }
    std::string error;
    bool written = false;
    if (buffer != notes::kNullHandle) {
        written = WriteBufferToCdFile(buffer, size, cdPath, error);
    } else if (fileName[0] != '\0') {
        written = CopyFileToCdFile(notes::LmbcsToUnicode(fileName, -1), cdPath, error);
    } else {
        error = "Error with CompoundTextClose: no composite data was returned";
    }
    if (!written) {
        note.AppendError(error);
    }
    return written;
}

STATUS ConvertTextItem(BLOCKID value, DWORD valueLength, DHANDLE &buffer, DWORD &size) {
    auto &fn = notes::Api().fn;
    char delimiter[] = "\r\n";
    if (fn.ConvertItemToComposite != nullptr) {
        return fn.ConvertItemToComposite(value, valueLength, kTextFont, delimiter, kParagraphPerLine, &buffer,
                                         &size);
    }
    return fn.ConvertItemToCompositeExt(value, valueLength, kTextFont, delimiter, kParagraphPerLine, &buffer,
                                        &size, nullptr, 0, 0);
}

// One field of the note as composite data in the CD file.
bool FieldToCdFile(notes::NotesNote &note, const std::string &fieldName, const std::string &cdPath) {
    auto &fn = notes::Api().fn;
    std::string lmbcsName = notes::UnicodeToLmbcs(fieldName);
    std::string lmbcsCd = notes::UnicodeToLmbcs(cdPath);
    BLOCKID item{};
    BLOCKID value{};
    WORD type = 0;
    DWORD valueLength = 0;
    STATUS status = fn.NSFItemInfo(note.Handle(), lmbcsName.c_str(), static_cast<WORD>(lmbcsName.size()),
                                   &item, &type, &value, &valueLength);
    if (status != notes::kNoError) {
        Record(note, 4, kRtfTitleItem, notes::NotesErrorText(status));
        return false;
    }
    if (type == notes::kTypeText) {
        DHANDLE buffer = notes::kNullHandle;
        DWORD size = 0;
        status = ConvertTextItem(value, valueLength, buffer, size);
        if (status != notes::kNoError) {
            Record(note, 5, kRtfTitleConvert, notes::NotesErrorText(status));
            return false;
        }
        std::string error;
        if (WriteBufferToCdFile(buffer, size, cdPath, error)) {
            return true;
        }
        // The CD file could not be written: the runtime writes the field's data itself below.
    }
    DWORD size = 0;
    status = fn.MailGetMessageBodyComposite(note.Handle(), lmbcsName.data(), lmbcsCd.data(), &size);
    if (status != notes::kNoError) {
        // Without this the filter would convert whatever the CD file holds.
        Record(note, 5, kRtfTitleConvert, notes::NotesErrorText(status));
        return false;
    }
    return true;
}

bool IsHexDigit(char c) {
    return platform::HexDigit(static_cast<unsigned char>(c)) >= 0;
}

// One line without its line break.
bool RepairLine(const std::string &line, std::string &kept) {
    std::size_t group = line.find(kPictureGroup);
    if (group == std::string::npos) {
        kept += line;
        return false;
    }
    bool dropped = false;
    kept += line.substr(0, group);
    while (group != std::string::npos) {
        const std::size_t close = line.find('}', group);
        if (close == std::string::npos) {
            kept += line.substr(group);  // the group does not end on this line: keep the rest as it is
            return dropped;
        }
        if (close + 1 < line.size() && IsHexDigit(line[close + 1])) {
            kept += line.substr(group, close + 1 - group);
        } else {
            dropped = true;
        }
        const std::size_t next = line.find(kPictureGroup, close + 1);
        kept += line.substr(close + 1, next == std::string::npos ? std::string::npos : next - close - 1);
        group = next;
    }
    return dropped;
}

}  // namespace

bool RepairPictureGroups(const std::string &rtf, std::string &repaired) {
    std::string kept;
    kept.reserve(rtf.size());
    bool dropped = false;
    std::size_t start = 0;
    while (start < rtf.size()) {
        std::size_t end = rtf.find('\n', start);
        std::size_t next = end == std::string::npos ? rtf.size() : end + 1;
        if (end == std::string::npos) {
            end = rtf.size();
        }
        if (end > start && rtf[end - 1] == '\r') {
            --end;
        }
        dropped = RepairLine(rtf.substr(start, end - start), kept) || dropped;
        kept += rtf.substr(end, next - end);  // the line's own break
        start = next;
    }
    if (dropped) {
        repaired = std::move(kept);
    }
    return dropped;
}

bool RepairPictureFile(const std::string &path, notes::ErrorObject &error) {
    std::string rtf;
    if (!platform::ReadWholeFile(path, rtf)) {
        error = {0, kRtfTitleRepair, "Unable to open temp RTF file '" + path + "'"};
        return false;
    }
    std::string repaired;
    if (!RepairPictureGroups(rtf, repaired)) {
        return true;
    }
    platform::OutputFile file;
    if (!file.Open(path, platform::OutputMode::kReplace) || !file.Write(repaired) || !file.Commit()) {
        file.Abandon();
        error = {0, kRtfTitleRepair, "Unable to open temp RTF file '" + path + "' for writing."};
        return false;
    }
    return true;
}

bool ExportNoteToRtf(notes::NotesNote &note, const std::string &fieldName, const std::string &target) {
    RtfProcessState &state = ProcessState();
    const std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.cdFile.Create("vorlix-", ".cd")) {
        note.AppendError(state.cdFile.ErrorText());
        return false;
    }
    const std::string &cdPath = state.cdFile.Path();
    if (!LoadFilter(state)) {
        Record(note, 3, kRtfTitle, "Unable to load rtf export dll.");
        return false;
    }
    if (state.exportRtf == nullptr) {
        state.exportRtf =
            reinterpret_cast<ExportRtfFn>(platform::LibrarySymbol(state.library, notes::kExportRtfName));
        if (state.exportRtf == nullptr) {
            (void)platform::FreeLibraryHandle(state.library);
            state.library = nullptr;
            Record(note, 2, kRtfTitleNoDot, "Unable to load export to rtf function");
            return false;
        }
    }
    // Nothing of the previous document may reach this one's file.
    if (!state.cdFile.Empty()) {
        note.AppendError(state.cdFile.ErrorText());
        return false;
    }
    const bool haveCd =
        fieldName.empty() ? RenderNoteToCdFile(note, cdPath) : FieldToCdFile(note, fieldName, cdPath);
    if (!haveCd) {
        return false;
    }
    std::string lmbcsCd = notes::UnicodeToLmbcs(cdPath);
    std::string lmbcsTarget = notes::UnicodeToLmbcs(target);
    char noAlternative[] = "";
    const STATUS status =
        state.exportRtf(lmbcsCd.data(), kRtfExportFlags, nullptr, noAlternative, lmbcsTarget.data());
    (void)state.cdFile.Empty();  // the document's content does not stay in the temporary directory
    if (status != notes::kNoError) {
        Record(note, 6, kRtfTitleExport, notes::NotesErrorText(status));
        return false;
    }
    notes::ErrorObject error;
    if (!RepairPictureFile(target, error)) {
        note.ErrorRecords().push_back(std::move(error));
        return false;
    }
    return true;
}

}  // namespace exporter
