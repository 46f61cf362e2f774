// What a formula may ask of the note it is evaluated on. The runtime gives one per evaluation; the
// formula language knows nothing of databases or handles.
#pragma once

#include <string>
#include <vector>

#include "../../../src/notes/capi/NotesTypes.h"

namespace formula {

class FormulaContext {
public:
    virtual ~FormulaContext() = default;
    // The first item of that name (any case, LMBCS): its type and its canonical value bytes without the
    // type word. False when the note has no such item.
    virtual bool FindItem(const std::string &name, WORD &type, std::string &value) const = 0;
    virtual NOTEID NoteId() const = 0;
    virtual UNID Unid() const = 0;
    virtual TIMEDATE Created() const = 0;
    virtual TIMEDATE Modified() const = 0;
    virtual TIMEDATE Accessed() const = 0;
    virtual bool IsResponse() const = 0;
    virtual std::string DbTitle() const = 0;     // LMBCS
    virtual std::string DbFileName() const = 0;  // LMBCS, as @DbName gives it
    virtual std::string ServerName() const = 0;  // LMBCS; empty for local
    virtual std::string UserName() const = 0;    // LMBCS, canonical form
    // The entry's position in the view being built ("1", "2.1"...); empty outside a view.
    virtual std::string DocNumber() const = 0;
    // The size of the note in bytes (@DocLength); a context without stored items has none.
    virtual double DocLength() const { return 0; }
    // The attached files: names (LMBCS) and sizes in bytes, in item order.
    virtual void Attachments(std::vector<std::string> &names, std::vector<double> &sizes) const {
        names.clear();
        sizes.clear();
    }
};

}  // namespace formula
