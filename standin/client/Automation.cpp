// The automation classes. The client's state (database, view and selection) is kept for the whole
// process, shared by every engine, as it lives in the client between scripts. No database handle is
// kept between calls: each call opens what it needs and closes it, so a runtime restarted meanwhile
// never sees a stale handle.
#include "Automation.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>

#include "PrintJob.h"

namespace standin::client {

using script::InvokeResult;
using script::SameName;
using script::ScriptObject;
using script::Value;

namespace {

struct ClientState {
    std::mutex mutex;
    bool viewOpen = false;
    std::string server;
    std::string path;
    std::string view;
    NOTEID selected = 0;
    std::string selectedUnid;
    std::map<std::string, std::map<std::string, NOTEID>> unids;  // by database: UNID text to note ID
};

ClientState &State() {
    static ClientState state;
    return state;
}

std::string DbKey(const std::string &server, const std::string &path) {
    std::string key = server + "!!" + path;
    for (char &c : key) {
        c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return key;
}

std::string UnidText(const DBID &file, const TIMEDATE &note) {
    char text[33];
    std::snprintf(text, sizeof text, "%08X%08X%08X%08X", file.Innards[1], file.Innards[0], note.Innards[1],
                  note.Innards[0]);
    return text;
}

bool TextArgument(const std::vector<Value> &args, std::size_t i, std::string &out) {
    if (i >= args.size()) {
        out.clear();
        return true;
    }
    const Value &v = args[i];
    if (v.type == Value::Type::Text) {
        out = v.text;
        return true;
    }
    return v.type == Value::Type::Empty;
}

InvokeResult Fail(std::string &error, std::string text) {
    error = std::move(text);
    return InvokeResult::Failed;
}

InvokeResult ArgumentError(std::string &error, std::string_view method) {
    return Fail(error,
                "Wrong number of arguments or invalid property assignment: '" + std::string(method) + "'");
}

class Document : public ScriptObject {
public:
    Document(std::string server, std::string path, NOTEID id, std::string unid)
        : server(std::move(server)), path(std::move(path)), noteId(id), unid(std::move(unid)) {}
    InvokeResult Invoke(std::string_view name, const std::vector<Value> &args, Value &result,
                        std::string &error) override {
        if (!args.empty()) {
            return ArgumentError(error, name);
        }
        if (SameName(name, "UniversalID")) {
            result = Value::Text(unid);
        } else if (SameName(name, "NoteID")) {
            char text[16];
            std::snprintf(text, sizeof text, "%X", noteId);
            result = Value::Text(text);
        } else {
            return InvokeResult::NoMember;
        }
        return InvokeResult::Done;
    }
    const std::string server;
    const std::string path;
    const NOTEID noteId;
    const std::string unid;
};

class Database : public ScriptObject {
public:
    Database(const NotesFunctions &fns, std::string server, std::string path, bool open)
        : m_fns(fns), m_server(std::move(server)), m_path(std::move(path)), m_open(open) {}
    InvokeResult Invoke(std::string_view name, const std::vector<Value> &args, Value &result,
                        std::string &error) override {
        if (SameName(name, "GetDocumentByUNID")) {
            std::string unid;
            if (args.size() != 1 || !TextArgument(args, 0, unid)) {
                return ArgumentError(error, name);
            }
            return DocumentByUnid(unid, result, error);
        }
        if (!args.empty()) {
            return SameName(name, "IsOpen") || SameName(name, "FilePath") || SameName(name, "Server")
                       ? ArgumentError(error, name)
                       : InvokeResult::NoMember;
        }
        if (SameName(name, "IsOpen")) {
            result = Value::Boolean(m_open);
        } else if (SameName(name, "FilePath")) {
            result = Value::Text(m_path);
        } else if (SameName(name, "Server")) {
            result = Value::Text(m_server);
        } else {
            return InvokeResult::NoMember;
        }
        return InvokeResult::Done;
    }

private:
    InvokeResult DocumentByUnid(std::string unid, Value &result, std::string &error) {
        if (!m_open) {
            return Fail(error, "Database " + m_path + " has not been opened yet");
        }
        if (unid.size() != 32 || unid.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            return Fail(error, "Invalid universal ID");
        }
        for (char &c : unid) {
            c = c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
        }
        ClientDatabase db(m_fns, m_server, m_path);
        if (db.Handle() == 0) {
            return Fail(error, db.Error());
        }
        ClientState &state = State();
        std::lock_guard<std::mutex> lock(state.mutex);
        std::map<std::string, NOTEID> &known = state.unids[DbKey(m_server, m_path)];
        auto found = known.find(unid);
        if (found == known.end()) {
            // Not looked up before (or created since): index the database's documents once more.
            known.clear();
            auto collect = [](void *param, SEARCH_MATCH *match, ITEM_TABLE *) -> STATUS {
                SEARCH_MATCH m;
                std::memcpy(&m, match, sizeof m);
                if ((m.SERetFlags & notes::kSeMatch) != 0) {
                    (*static_cast<std::map<std::string, NOTEID> *>(
                        param))[UnidText(m.OriginatorID.File, m.OriginatorID.Note)] = m.ID.NoteID;
                }
                return 0;
            };
            STATUS status = m_fns.NSFSearch(db.Handle(), 0, nullptr, 0, notes::kNoteClassDocument, nullptr,
                                            collect, &known, nullptr);
            if (status != 0) {
                known.clear();
                return Fail(error, "Unable to search database " + m_path + ": " + m_fns.Message(status));
            }
            found = known.find(unid);
        }
        if (found == known.end()) {
            result = Value::Nothing();
        } else {
            result = Value::Object(std::make_shared<Document>(m_server, m_path, found->second, unid));
        }
        return InvokeResult::Done;
    }

    const NotesFunctions &m_fns;
    std::string m_server;
    std::string m_path;
    bool m_open;
};

class Session : public ScriptObject {
public:
    explicit Session(const NotesFunctions &fns) : m_fns(fns) {}
    InvokeResult Invoke(std::string_view name, const std::vector<Value> &args, Value &result,
                        std::string &error) override {
        if (!SameName(name, "GetDatabase")) {
            return InvokeResult::NoMember;
        }
        std::string server;
        std::string path;
        if (args.size() < 2 || args.size() > 3 || !TextArgument(args, 0, server) ||
            !TextArgument(args, 1, path)) {
            return ArgumentError(error, name);
        }
        ClientDatabase db(m_fns, server, path);
        result = Value::Object(std::make_shared<Database>(m_fns, server, path, db.Handle() != 0));
        return InvokeResult::Done;
    }

private:
    const NotesFunctions &m_fns;
};

class UiView : public ScriptObject {
public:
    explicit UiView(const NotesFunctions &fns) : m_fns(fns) {}
    InvokeResult Invoke(std::string_view name, const std::vector<Value> &args, Value &result,
                        std::string &error) override {
        ClientState &state = State();
        if (SameName(name, "SelectDocument")) {
            auto *doc = args.size() == 1 ? dynamic_cast<Document *>(args[0].object.get()) : nullptr;
            if (doc == nullptr) {
                return args.size() == 1 ? Fail(error, "Type mismatch: 'SelectDocument'")
                                        : ArgumentError(error, name);
            }
            std::lock_guard<std::mutex> lock(state.mutex);
            if (!state.viewOpen || DbKey(doc->server, doc->path) != DbKey(state.server, state.path)) {
                return Fail(error, "The document is not in the database of the current view");
            }
            state.selected = doc->noteId;
            state.selectedUnid = doc->unid;
            return InvokeResult::Done;
        }
        if (SameName(name, "Print")) {
            std::string server;
            std::string path;
            NOTEID selected = 0;
            std::string unid;
            {
                std::lock_guard<std::mutex> lock(state.mutex);
                server = state.server;
                path = state.path;
                selected = state.selected;
                unid = state.selectedUnid;
            }
            if (selected == 0) {
                return InvokeResult::Done;  // nothing selected: nothing to print
            }
            return PrintDocument(m_fns, server, path, selected, unid, error) ? InvokeResult::Done
                                                                             : InvokeResult::Failed;
        }
        if (SameName(name, "ViewName") && args.empty()) {
            std::lock_guard<std::mutex> lock(state.mutex);
            result = Value::Text(state.view);
            return InvokeResult::Done;
        }
        return InvokeResult::NoMember;
    }

private:
    const NotesFunctions &m_fns;
};

class Workspace : public ScriptObject {
public:
    explicit Workspace(const NotesFunctions &fns) : m_fns(fns) {}
    InvokeResult Invoke(std::string_view name, const std::vector<Value> &args, Value &result,
                        std::string &error) override {
        if (SameName(name, "OpenDatabase")) {
            std::string server;
            std::string path;
            std::string view;
            if (args.size() < 2 || !TextArgument(args, 0, server) || !TextArgument(args, 1, path) ||
                !TextArgument(args, 2, view)) {
                return ArgumentError(error, name);
            }
            return OpenDatabase(server, path, view, error);
        }
        if (SameName(name, "CurrentView")) {
            if (!args.empty()) {
                return ArgumentError(error, name);
            }
            std::lock_guard<std::mutex> lock(State().mutex);
            result = State().viewOpen ? Value::Object(std::make_shared<UiView>(m_fns)) : Value::Nothing();
            return InvokeResult::Done;
        }
        return InvokeResult::NoMember;
    }

private:
    InvokeResult OpenDatabase(const std::string &server, const std::string &path, const std::string &view,
                              std::string &error) {
        ClientDatabase db(m_fns, server, path);
        if (db.Handle() == 0) {
            return Fail(error, db.Error());
        }
        if (!view.empty()) {
            NOTEID id = 0;
            std::string title = m_fns.Lmbcs(view);
            STATUS status = m_fns.NIFFindDesignNote(db.Handle(), title.c_str(), notes::kNoteClassView, &id);
            if (status != 0) {
                return Fail(error, "Unable to find view or folder '" + view + "' in " + path + ": " +
                                       m_fns.Message(status));
            }
        }
        ClientState &state = State();
        std::lock_guard<std::mutex> lock(state.mutex);
        state.viewOpen = true;  // without a view name the client shows the database's default view
        state.server = server;
        state.path = path;
        state.view = view;
        state.selected = 0;
        state.selectedUnid.clear();
        // Documents are looked up afresh in a database opened again: its file may have changed.
        state.unids.erase(DbKey(server, path));
        return InvokeResult::Done;
    }

    const NotesFunctions &m_fns;
};

}  // namespace

std::shared_ptr<ScriptObject> CreateAutomationObject(const NotesFunctions &fns, std::string_view progId) {
    if (SameName(progId, kWorkspaceClass)) {
        return std::make_shared<Workspace>(fns);
    }
    if (SameName(progId, kSessionClass)) {
        return std::make_shared<Session>(fns);
    }
    return nullptr;
}

}  // namespace standin::client
