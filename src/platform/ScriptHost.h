// The script host: runs a script text in a script engine and invokes one of its Subs by name. On Linux
// the engine is the library libvxscript.so in the program's runtime directory, which drives the Notes
// client automation classes over the Notes runtime the program has loaded.
#pragma once

#include <string>

namespace platform {

// The engine library's file name on this platform.
inline constexpr char kScriptEngineLibraryFile[] = "libvxscript.so";

class ScriptHost {
public:
    // notesLibrary: full path of the Notes runtime library the process has loaded; the engine works in
    // that same runtime and session. engineDirectory: where the engine library is; empty for the
    // program's runtime directory.
    explicit ScriptHost(std::string notesLibrary, std::string engineDirectory = {});
    ~ScriptHost();
    ScriptHost(const ScriptHost &) = delete;
    ScriptHost &operator=(const ScriptHost &) = delete;

    // Makes a new engine for language and parses text as its persistent code (the previous script is
    // dropped). False when the engine library cannot be loaded (shown once per host, with the loader's
    // reason), the language has no engine, or the text has a script error (shown as a message titled
    // "Error").
    [[nodiscard]] bool RunScript(const std::string &language, const std::string &text);
    // Runs the Sub of that name of the last parsed script, without arguments. False when there is no
    // script, no Sub of that name, or the Sub fails (a script error is shown as in RunScript).
    [[nodiscard]] bool InvokeSub(const std::string &name);

    // Why the last call failed.
    const std::string &LastError() const { return m_lastError; }

    // The engine library's entry points.
    struct Engine;

private:
    bool LoadEngineLibrary();
    void DestroyScript();

    std::string m_notesLibrary;
    std::string m_engineDirectory;
    const Engine *m_engine = nullptr;
    void *m_script = nullptr;
    bool m_loadFailureShown = false;
    std::string m_lastError;
};

// The text of a script-error message: "%s\n[Line: %d] %s\n%s" with the error's source, line,
// description and failing source line.
std::string ScriptErrorText(const std::string &source, int line, const std::string &description,
                            const std::string &sourceLine);

}  // namespace platform
