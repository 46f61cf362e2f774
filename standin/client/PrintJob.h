// Printing a document as the client prints it: the note rendered through its form into composite data
// by the runtime, handed to the default printer as a job.
#pragma once

#include <string>

#include "NotesFunctions.h"

namespace standin::client {

// Renders the note and spools it to the default printer. A printer that would not write a file for
// the job (see PrinterChoice) takes it and does nothing, as a job sent to a printer that shows a dialog
// nobody answers. False with error set when the note cannot be rendered or the printer not started.
[[nodiscard]] bool PrintDocument(const NotesFunctions &fns, const std::string &server,
                                 const std::string &path, NOTEID noteId, const std::string &unid,
                                 std::string &error);

}  // namespace standin::client
