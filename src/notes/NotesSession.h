// A started Notes runtime: for the whole process (owned by the application object) or for one
// thread on top of it; version detection and the version check.
#pragma once

#include <array>
#include <string>

namespace platform {
class UserInterface;
}

namespace notes {

class NotesSession {
public:
    NotesSession() = default;
    // Starts at once when startNow is set (see Start).
    NotesSession(bool startNow, bool threadLevel, const std::string &programPath,
                 const std::string &configurationFilePath, platform::UserInterface *statusLine = nullptr);
    // Ends the session without unloading the library.
    virtual ~NotesSession();
    NotesSession(const NotesSession &) = delete;
    NotesSession &operator=(const NotesSession &) = delete;

    // Loads the library when needed and initialises the runtime (the thread only, with threadLevel);
    // an empty configuration file path starts Notes with its default notes.ini. Returns the active
    // flag; ErrorText() says why it failed. statusLine (optional): the seam whose status line shows
    // progress and the outcome.
    bool Start(bool threadLevel, const std::string &programPath, const std::string &configurationFilePath,
               platform::UserInterface *statusLine = nullptr);
    // Ends what this object started (nothing when it is not active).
    void End(bool unloadLibrary = false);
    // True when the detected Notes version is at least major.minor.tiny; else the error text says so.
    bool CheckVersion(int major, int minor, int tiny);
    // The Notes release text while the session is active, else "Not Initialized".
    std::string VersionText() const;

    bool IsActive() const { return m_active; }
    bool IsThreadLevel() const { return m_threadLevel; }
    const std::string &ErrorText() const { return m_errorText; }

    // The LMBCS face names of the six standard fonts of rich text (faces 0 to 4 and the fallback
    // face), computed at the process-level start.
    static const std::array<std::string, 6> &StandardFaceNamesLmbcs();

private:
    void DetectVersion();

    bool m_threadLevel = false;
    bool m_active = false;
    std::string m_errorText;
};

}  // namespace notes
