// The client's automation classes as script objects: the workspace of the user interface (the database
// and view open in the client, the selected document, printing) and the back-end session, databases
// and documents, all over the Notes C API of the loaded runtime.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "NotesFunctions.h"
#include "script/ScriptValue.h"

namespace standin::client {

inline constexpr char kWorkspaceClass[] = "Notes.NOTESUIWORKSPACE";
inline constexpr char kSessionClass[] = "Notes.NOTESSESSION";

// The object of a class name (without regard to case), or null.
std::shared_ptr<script::ScriptObject> CreateAutomationObject(const NotesFunctions &fns,
                                                             std::string_view progId);

}  // namespace standin::client
