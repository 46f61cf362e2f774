// The formula context of a note, and MakeNoteContext over open note handles.
#include "DxlNoteContext.h"

#include "DbHandle.h"
#include "NoteContext.h"
#include "NoteHandle.h"
#include "Security.h"
#include "dxl/Bytes.h"
#include "dxl/DxlText.h"
#include "dxl/ItemValues.h"

namespace standin {

bool DxlNoteContext::FindItem(const std::string &name, WORD &type, std::string &value) const {
    long i = m_note.FindItem(name);
    if (i < 0) {
        return false;
    }
    std::size_t index = static_cast<std::size_t>(i);
    if (!m_sealedReadable && m_note.IsItemEncrypted(index)) {
        return false;
    }
    std::string_view v = m_note.ItemValue(index);
    if (v.size() < 2) {
        return false;
    }
    type = dxl::ReadWord(v, 0);
    value.assign(v.substr(2));
    return true;
}

// Item names and values plus the attached files' bytes: what the note occupies, as Notes counts it
// without its own record overhead.
double DxlNoteContext::DocLength() const {
    double total = 0;
    for (std::size_t i = 0; i < m_note.items.size(); ++i) {
        total += static_cast<double>(m_note.items[i].nameLength + m_note.items[i].valueLength);
    }
    for (const std::string &file : m_note.Extra().files) {
        total += static_cast<double>(file.size());
    }
    return total;
}

void DxlNoteContext::Attachments(std::vector<std::string> &names, std::vector<double> &sizes) const {
    names.clear();
    sizes.clear();
    for (std::size_t i = 0; i < m_note.items.size(); ++i) {
        dxl::FileObjectInfo info;
        if (m_note.items[i].fileIndex >= 0 && !(m_note.IsItemEncrypted(i) && !m_sealedReadable) &&
            dxl::ParseFileObject(m_note.ItemValue(i), info)) {
            names.push_back(info.name);
            sizes.push_back(static_cast<double>(info.size));
        }
    }
}

bool DxlNoteContext::IsResponse() const {
    return m_note.FindItem("$REF") >= 0;
}

std::string DxlNoteContext::DbFileName() const {
    std::string utf8 = m_file.path;
    std::string lmbcs;
    return dxl::Utf8ToLmbcs(utf8, lmbcs) ? lmbcs : utf8;
}

std::string DxlNoteContext::UserName() const {
    std::string lmbcs;
    return dxl::Utf8ToLmbcs(CurrentUser(), lmbcs) ? lmbcs : CurrentUser();
}

namespace {

// Owns the context's note copy so the handle may close while the context lives.
class HandleNoteContext : public formula::FormulaContext {
public:
    HandleNoteContext(const NoteHandle &handle, const std::string &server, const std::string &docNumber)
        : m_file(handle.file),
          m_note(handle.note),
          m_inner(m_note, *m_file, server, docNumber, handle.decrypted || !handle.IsSealed()) {}
    bool FindItem(const std::string &name, WORD &type, std::string &value) const override {
        return m_inner.FindItem(name, type, value);
    }
    NOTEID NoteId() const override { return m_inner.NoteId(); }
    UNID Unid() const override { return m_inner.Unid(); }
    TIMEDATE Created() const override { return m_inner.Created(); }
    TIMEDATE Modified() const override { return m_inner.Modified(); }
    TIMEDATE Accessed() const override { return m_inner.Accessed(); }
    bool IsResponse() const override { return m_inner.IsResponse(); }
    std::string DbTitle() const override { return m_inner.DbTitle(); }
    std::string DbFileName() const override { return m_inner.DbFileName(); }
    std::string ServerName() const override { return m_inner.ServerName(); }
    std::string UserName() const override { return m_inner.UserName(); }
    std::string DocNumber() const override { return m_inner.DocNumber(); }
    double DocLength() const override { return m_inner.DocLength(); }
    void Attachments(std::vector<std::string> &names, std::vector<double> &sizes) const override {
        m_inner.Attachments(names, sizes);
    }

private:
    std::shared_ptr<DatabaseFile> m_file;
    dxl::Note m_note;
    DxlNoteContext m_inner;
};

}  // namespace

std::unique_ptr<formula::FormulaContext> MakeNoteContext(NOTEHANDLE note, STATUS &status,
                                                         const std::string &docNumber) {
    ApiLock lock(ApiMutex());
    NoteHandle *handle = FindNote(note);
    if (handle == nullptr || !handle->file) {
        status = kStsInvalidHandle;
        return nullptr;
    }
    status = 0;
    DbHandle *db = FindDb(handle->db);
    std::string server = db != nullptr ? db->server : std::string();
    return std::make_unique<HandleNoteContext>(*handle, server, docNumber);
}

}  // namespace standin
