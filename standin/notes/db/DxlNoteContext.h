// The formula context of a note of an in-memory database (used for open note handles, searches and
// view columns).
#pragma once

#include <string>

#include "../formula/FormulaContext.h"
#include "DatabaseFile.h"

namespace standin {

class DxlNoteContext : public formula::FormulaContext {
public:
    DxlNoteContext(const dxl::Note &note, const DatabaseFile &file, std::string server, std::string docNumber,
                   bool sealedReadable)
        : m_note(note),
          m_file(file),
          m_server(std::move(server)),
          m_docNumber(std::move(docNumber)),
          m_sealedReadable(sealedReadable) {}

    bool FindItem(const std::string &name, WORD &type, std::string &value) const override;
    NOTEID NoteId() const override { return m_note.noteId; }
    UNID Unid() const override { return m_note.unid; }
    TIMEDATE Created() const override { return m_note.created; }
    TIMEDATE Modified() const override { return m_note.modified; }
    TIMEDATE Accessed() const override { return m_note.accessed; }
    bool IsResponse() const override;
    std::string DbTitle() const override { return m_file.db.title; }
    std::string DbFileName() const override;
    std::string ServerName() const override { return m_server; }
    std::string UserName() const override;
    std::string DocNumber() const override { return m_docNumber; }
    double DocLength() const override;
    void Attachments(std::vector<std::string> &names, std::vector<double> &sizes) const override;

private:
    const dxl::Note &m_note;
    const DatabaseFile &m_file;
    std::string m_server;
    std::string m_docNumber;
    bool m_sealedReadable;
};

}  // namespace standin
