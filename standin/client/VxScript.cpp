// The script engine library's entry points: an engine per script for the language "VBScript", whose
// CreateObject makes the client's automation objects over the Notes runtime the program loaded.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "Automation.h"
#include "script/ScriptEngine.h"

#define VX_EXPORT extern "C" __attribute__((visibility("default")))

struct VxScriptError {
    int line;
    char source[128];
    char description[512];
    char sourceLine[512];
};

namespace {

using standin::client::NotesFunctions;
using standin::script::ScriptEngine;
using standin::script::ScriptError;

struct Engine {
    const NotesFunctions *notes = nullptr;  // null when the runtime could not be loaded
    std::string loadError;
    ScriptEngine script;
    Engine()
        : script([this](std::string_view progId, std::string &error) { return Create(progId, error); }) {}

    std::shared_ptr<standin::script::ScriptObject> Create(std::string_view progId, std::string &error) {
        if (notes == nullptr) {
            error =
                "ActiveX component can't create object: '" + std::string(progId) + "' (" + loadError + ")";
            return nullptr;
        }
        return standin::client::CreateAutomationObject(*notes, progId);
    }
};

// Copies UTF-8 text into a fixed field, cut at a character boundary and NUL-terminated.
void Copy(char *field, std::size_t size, const std::string &text) {
    std::size_t n = std::min(text.size(), size - 1);
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
        --n;
    }
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

void Fill(VxScriptError *out, const ScriptError &error) {
    if (out == nullptr) {
        return;
    }
    out->line = error.line;
    Copy(out->source, sizeof out->source, error.source);
    Copy(out->description, sizeof out->description, error.description);
    Copy(out->sourceLine, sizeof out->sourceLine, error.sourceLine);
}

}  // namespace

VX_EXPORT void *VxScriptCreate(const char *language, const char *notesLibrary) {
    if (language == nullptr || !standin::script::SameName(language, "VBScript")) {
        return nullptr;
    }
    Engine *engine = new (std::nothrow) Engine;
    if (engine == nullptr) {
        return nullptr;
    }
    if (notesLibrary == nullptr || notesLibrary[0] == '\0') {
        engine->loadError = "no Notes runtime was given";
    } else {
        engine->notes = NotesFunctions::Load(notesLibrary, engine->loadError);
    }
    return engine;
}

VX_EXPORT int VxScriptParse(void *engine, const char *text, VxScriptError *error) {
    ScriptError e;
    if (engine == nullptr || text == nullptr) {
        e.source = standin::script::kCompilationError;
        e.description = "No engine or no script text";
        Fill(error, e);
        return 1;
    }
    if (!static_cast<Engine *>(engine)->script.Parse(text, e)) {
        Fill(error, e);
        return 1;
    }
    return 0;
}

VX_EXPORT int VxScriptInvoke(void *engine, const char *subName, VxScriptError *error) {
    if (engine == nullptr || subName == nullptr) {
        return 2;
    }
    ScriptError e;
    switch (static_cast<Engine *>(engine)->script.Invoke(subName, e)) {
        case ScriptEngine::RunResult::Done:
            return 0;
        case ScriptEngine::RunResult::NoSuchSub:
            return 2;
        case ScriptEngine::RunResult::Failed:
            break;
    }
    Fill(error, e);
    return 1;
}

VX_EXPORT void VxScriptDestroy(void *engine) {
    delete static_cast<Engine *>(engine);
}
