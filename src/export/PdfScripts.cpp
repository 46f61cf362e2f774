// The PDF scripts' texts. The arguments are inserted as they are: a double quote inside one ends the
// script's string there, as it does in the client's own scripting.
#include "PdfScripts.h"

namespace exporter {

namespace {

constexpr char kLineEnd[] = "\r\n";

std::string Quoted(const std::string &text) {
    return "\"" + text + "\"";
}

}  // namespace

std::string OpenViewScript(const std::string &server, const std::string &databasePath,
                           const std::string &viewName) {
    std::string text;
    text += std::string("Sub ") + kOpenViewSub + kLineEnd;
    text += std::string("Set ws = CreateObject(\"Notes.NOTESUIWORKSPACE\")") + kLineEnd;
    text += "Call ws.OpenDatabase(" + Quoted(server) + ", " + Quoted(databasePath) + ", " + Quoted(viewName) +
            ")" + kLineEnd;
    text += std::string("End Sub") + kLineEnd;
    return text;
}

std::string ViewSelectDocScript(const std::string &server, const std::string &databasePath,
                                const std::string &universalId) {
    std::string text;
    text += std::string("Sub ") + kViewSelectDocSub + kLineEnd;
    text += std::string("Set ws = CreateObject(\"Notes.NOTESUIWORKSPACE\")") + kLineEnd;
    text += std::string("Set Sess = CreateObject(\"Notes.NOTESSESSION\")") + kLineEnd;
    text += "Set ThisDb = Sess.GetDatabase(" + Quoted(server) + ", " + Quoted(databasePath) + ")" + kLineEnd;
    text += "Set doc = ThisDb.GetDocumentByUNID(" + Quoted(universalId) + ")" + kLineEnd;
    text += std::string("if Not doc Is Nothing then") + kLineEnd;
    text += std::string("ThisCount = ThisCount + 1") + kLineEnd;
    text += std::string("rv = ws.CurrentView.SelectDocument(doc)") + kLineEnd;
    text += std::string("End If") + kLineEnd;
    text += std::string("End Sub") + kLineEnd;
    return text;
}

std::string PrintSelectedScript() {
    std::string text;
    text += std::string("Sub ") + kPrintSelectedSub + kLineEnd;
    text += std::string("Set ws = CreateObject(\"Notes.NOTESUIWORKSPACE\")") + kLineEnd;
    text += std::string("rc = ws.CurrentView.Print(1)") + kLineEnd;
    text += std::string("End Sub") + kLineEnd;
    return text;
}

}  // namespace exporter
